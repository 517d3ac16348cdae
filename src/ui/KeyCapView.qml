// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi

// One key of the error map, in the look its KeyCap gives it. (The training
// keyboard paints its keys as one picture: KeyboardPainting.)
Item {
    id: root

    required property KeyCap cap
    required property KeyboardViewModel board
    property real size: 52
    // A click, Space, Return or Enter on a key that has a pick name.
    signal picked()

    width: size
    height: size
    // A key of the heat map is read with its error level; one that drills is
    // read as its button.
    Accessible.role: Accessible.StaticText
    Accessible.name: cap.spokenName
    Accessible.description: cap.errorWords
    Accessible.ignored: board.training || pickable

    // The key's label, and what Shift types on it where that is not its
    // capital. (Inline components do not see this file's ids, hence the
    // properties.)
    component CapLabel: Row {
        property real size
        property string label
        property string shiftLabel
        property color color
        property int weight: Font.Normal

        anchors.centerIn: parent
        spacing: size * 0.12
        Text {
            visible: parent.shiftLabel !== ""
            anchors.verticalCenter: parent.verticalCenter
            text: parent.shiftLabel
            textFormat: Text.PlainText
            font.family: Theme.monoFamily
            font.pixelSize: parent.size * 0.26
            font.weight: parent.weight
            color: parent.color
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: parent.label
            textFormat: Text.PlainText
            font.family: Theme.monoFamily
            font.pixelSize: parent.size * 0.3
            font.weight: parent.weight
            color: parent.color
        }
    }

    Item {
        objectName: "plain"
        anchors.fill: parent

        Rectangle {
            objectName: "fill"
            anchors.fill: parent
            radius: 8
            color: root.cap.fill
        }

        // The finger's zone, as a strip near the bottom edge.
        Rectangle {
            x: 5
            y: root.height - 8
            width: root.size - 10
            height: 4
            radius: 2
            color: root.cap.zoneBarColor
            visible: root.cap.zoneBarShown
        }

        // The tactile bump of a home key.
        Rectangle {
            anchors.horizontalCenter: parent.horizontalCenter
            y: root.height - 14
            width: 14
            height: 3
            radius: 1.5
            color: root.board.bumpColor
            visible: root.cap.homeBumpShown
        }

        // A separate frame, so a translucent border lies over the fill
        // rather than beside it.
        Rectangle {
            anchors.fill: parent
            radius: 8
            color: "transparent"
            border.width: 1
            border.color: root.cap.borderColor
        }

        CapLabel {
            size: root.size
            label: root.cap.label
            shiftLabel: root.cap.shiftLabel
            color: root.cap.labelColor
        }
    }

    // ---- a key of the error map drills its letter when clicked
    readonly property bool pickable: cap.pickName !== ""
    Loader {
        anchors.fill: parent
        active: root.pickable
        // Of the map's keys the one its view model's focus rests on.
        focus: root.board.focusKey === root.cap.character
        sourceComponent: KeyButton {
            objectName: "keyButton"
            focus: true
            text: root.cap.pickName
            Accessible.description: root.cap.errorWords
            onClicked: root.picked()
        }
    }
}
