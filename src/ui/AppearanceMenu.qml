// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi

// The colour-scheme menu: a pictogram that opens a list with a tick on the
// current choice.
Item {
    id: menu

    property var titles: []
    property int currentIndex: 0
    property bool open: false
    signal chosen(int index)

    implicitWidth: 22
    implicitHeight: 22

    // The list hangs below the pictogram, right-aligned with it.
    onOpenChanged: {
        if (!open)
            return
        const p = menu.mapToItem(list.parent, 0, 0)
        list.x = p.x + menu.width - list.width
        list.y = p.y + menu.height + 6
    }

    Icon {
        anchors.centerIn: parent
        name: "circle.lefthalf.filled"
        color: Theme.inkFaint
        size: 16
    }
    MouseArea {
        anchors.fill: parent
        onClicked: menu.open = !menu.open
    }
    HoverTip {
        anchors.fill: parent
        text: menu.open ? "" : "Тема оформления"
    }

    // Clicking anywhere outside closes the list.
    MouseArea {
        parent: menu.Window.contentItem
        anchors.fill: parent
        visible: menu.open
        z: 999
        onClicked: menu.open = false
    }

    Rectangle {
        id: list
        visible: menu.open
        parent: menu.Window.contentItem
        z: 1000
        width: 170
        height: column.implicitHeight + 8
        radius: 8
        color: Theme.card
        border.color: Theme.hairline

        Column {
            id: column
            anchors.fill: parent
            anchors.margins: 4
            Repeater {
                model: menu.titles
                delegate: Rectangle {
                    required property int index
                    required property string modelData
                    objectName: "appearanceItem" + index
                    width: column.width
                    height: 28
                    radius: 5
                    color: itemArea.containsMouse ? Theme.accent : "transparent"
                    Icon {
                        id: tick
                        x: 8
                        anchors.verticalCenter: parent.verticalCenter
                        visible: index === menu.currentIndex
                        name: "checkmark"
                        size: 13
                        color: itemArea.containsMouse ? Theme.onAccent : Theme.ink
                    }
                    Text {
                        x: 28
                        anchors.verticalCenter: parent.verticalCenter
                        text: modelData
                        font.pixelSize: 13
                        color: itemArea.containsMouse ? Theme.onAccent : Theme.ink
                    }
                    MouseArea {
                        id: itemArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: {
                            menu.open = false
                            menu.chosen(index)
                        }
                    }
                }
            }
        }
    }
}
