// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi

// A running figure of the status bar: the value, then its unit on the same
// baseline. The value is right-aligned in the room `widest` takes, so that a
// figure growing by a digit neither moves the unit nor reflows the bar (which
// would cost that keystroke a frame more).
Item {
    property alias value: valueText.text
    property alias unit: unitText.text
    property alias widest: widestMetrics.text
    readonly property real valueRoom: Math.max(valueText.implicitWidth, widestMetrics.advanceWidth)

    Accessible.role: Accessible.StaticText
    Accessible.name: valueText.text + " " + unitText.text
    implicitWidth: valueRoom + 7 + unitText.implicitWidth
    implicitHeight: valueText.implicitHeight

    TextMetrics {
        id: widestMetrics
        font: valueText.font
    }
    Text {
        id: valueText
        textFormat: Text.PlainText
        x: parent.valueRoom - implicitWidth
        font.family: Theme.serifFamily
        font.pixelSize: Theme.typeFigure
        font.bold: true
        color: Theme.ink
    }
    Text {
        id: unitText
        textFormat: Text.PlainText
        x: parent.valueRoom + 7
        anchors.baseline: valueText.baseline
        font.pixelSize: Theme.typeBody
        color: Theme.inkSoft
    }
}
