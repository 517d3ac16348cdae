// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi

// A figure of the result card: the value over its caption.
Column {
    property alias value: valueText.text
    property alias caption: captionText.text

    spacing: 2
    Accessible.role: Accessible.StaticText
    Accessible.name: valueText.text + " " + captionText.text

    Text {
        id: valueText
        textFormat: Text.PlainText
        anchors.horizontalCenter: parent.horizontalCenter
        font.family: Theme.serifFamily
        font.pixelSize: Theme.typeHeading
        font.bold: true
        color: Theme.ink
    }
    Text {
        id: captionText
        textFormat: Text.PlainText
        anchors.horizontalCenter: parent.horizontalCenter
        font.pixelSize: Theme.typeBody
        color: Theme.inkFaint
    }
}
