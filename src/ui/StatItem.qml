// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi

// A running figure of the status bar: the value, then its unit on the same baseline.
Item {
    property alias value: valueText.text
    property alias unit: unitText.text

    Accessible.role: Accessible.StaticText
    Accessible.name: valueText.text + " " + unitText.text
    implicitWidth: valueText.implicitWidth + 7 + unitText.implicitWidth
    implicitHeight: valueText.implicitHeight

    Text {
        id: valueText
        textFormat: Text.PlainText
        font.family: Theme.serifFamily
        font.pixelSize: Theme.typeFigure
        font.bold: true
        color: Theme.ink
    }
    Text {
        id: unitText
        textFormat: Text.PlainText
        x: valueText.implicitWidth + 7
        anchors.baseline: valueText.baseline
        font.pixelSize: Theme.typeBody
        color: Theme.inkSoft
    }
}
