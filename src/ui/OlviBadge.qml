// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi

// The product badge: the caps О, Л, В, И with the zone bars of the four
// fingers, pinky to index.
Row {
    spacing: 7

    Repeater {
        model: ["О", "Л", "В", "И"]
        delegate: Item {
            id: cap
            required property int index
            required property string modelData

            width: 44
            height: 44

            // A faint shadow one pixel down.
            Rectangle {
                anchors.fill: parent
                anchors.topMargin: 1
                anchors.bottomMargin: -1
                radius: 9
                color: Theme.inkShade
            }
            Rectangle {
                anchors.fill: parent
                radius: 9
                color: Theme.keyBase
                border.width: 1
                border.color: Theme.inkFrame
            }
            Text {
                anchors.centerIn: parent
                text: cap.modelData
                textFormat: Text.PlainText
                font.family: Theme.monoFamily
                font.pixelSize: Theme.typeBadge
                font.weight: Font.Medium
                color: Theme.inkLabel
            }
            Rectangle {
                x: 5
                y: parent.height - 4 - height
                width: parent.width - 10
                height: 4
                radius: 2
                color: Theme.zoneBar(cap.index)
            }
        }
    }
}
