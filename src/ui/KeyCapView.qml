// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi

// One letter key. Every colour and flag comes from its KeyCap; a change of
// the next key fades its fill, label, border and shadow together.
Item {
    id: root

    required property KeyCap cap
    property real size: 52
    // The home bump's ink, the same for every key.
    property color bumpColor

    width: size
    height: size

    // A soft accent glow 2 px below the key: widening translucent layers
    // stand in for a blur of about 5 px.
    Item {
        id: shadow
        anchors.fill: parent
        anchors.topMargin: 2
        anchors.bottomMargin: -2
        opacity: root.cap.shadowOpacity
        visible: opacity > 0
        Behavior on opacity { NumberAnimation { duration: 120; easing.type: Easing.OutCubic } }

        Rectangle {
            anchors.fill: parent
            anchors.margins: -5
            radius: 13
            opacity: 0.3
            color: Theme.accent
        }
        Rectangle {
            anchors.fill: parent
            anchors.margins: -3
            radius: 11
            opacity: 0.4
            color: Theme.accent
        }
        Rectangle {
            anchors.fill: parent
            anchors.margins: -1
            radius: 9
            opacity: 0.5
            color: Theme.accent
        }
    }

    Rectangle {
        objectName: "fill"
        anchors.fill: parent
        radius: 8
        color: root.cap.fill
        Behavior on color { ColorAnimation { duration: 120; easing.type: Easing.OutCubic } }
    }

    // The finger's zone, as a strip near the bottom edge.
    Rectangle {
        x: 5
        y: root.size - 8
        width: root.size - 10
        height: 4
        radius: 2
        color: root.cap.zoneBarColor
        opacity: root.cap.zoneBarShown ? 1 : 0
        visible: opacity > 0
        Behavior on opacity { NumberAnimation { duration: 120; easing.type: Easing.OutCubic } }
    }

    // The tactile bump of a home key.
    Rectangle {
        anchors.horizontalCenter: parent.horizontalCenter
        y: root.size - 14
        width: 14
        height: 3
        radius: 1.5
        color: root.bumpColor
        visible: root.cap.homeBumpShown
    }

    // A separate frame, so a translucent border lies over the fill rather
    // than beside it.
    Rectangle {
        anchors.fill: parent
        radius: 8
        color: "transparent"
        border.width: 1
        border.color: root.cap.borderColor
        Behavior on border.color { ColorAnimation { duration: 120; easing.type: Easing.OutCubic } }
    }

    Text {
        anchors.centerIn: parent
        text: root.cap.label
        textFormat: Text.PlainText
        font.family: Theme.monoFamily
        font.pixelSize: root.size * 0.3
        font.weight: root.cap.next ? Font.DemiBold : Font.Normal
        color: root.cap.labelColor
        Behavior on color { ColorAnimation { duration: 120; easing.type: Easing.OutCubic } }
    }
}
