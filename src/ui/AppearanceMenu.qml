// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi

// The colour-scheme menu: a pictogram that opens a list with a tick on the
// current choice, and below a rule one more item, an action of its own.
// Worked by the pointer or by the keyboard: Space or Return opens it, the
// arrows move, Return chooses, Escape closes.
Item {
    id: menu

    property var titles: []
    property int currentIndex: 0
    // The items below the rule, actions of their own.
    property var actionTitles: []
    property bool open: false
    // The item the arrows have reached (or the pointer rests on).
    property int highlighted: -1
    signal chosen(int index)
    signal action(int index)
    // The titles, then the actions: the arrows walk them all.
    readonly property int count: titles.length + actionTitles.length

    implicitWidth: 22
    implicitHeight: 22
    activeFocusOnTab: true
    Accessible.role: Accessible.ButtonMenu
    Accessible.name: "Тема оформления"
    Accessible.onPressAction: open = !open

    // The list hangs below the pictogram, right-aligned with it, and takes
    // the keyboard while it is open.
    onOpenChanged: {
        if (open) {
            const p = menu.mapToItem(list.parent, 0, 0)
            list.x = p.x + menu.width - list.width
            list.y = p.y + menu.height + 6
            highlighted = currentIndex
            list.forceActiveFocus()
        } else if (list.activeFocus) {
            menu.forceActiveFocus()
        }
    }

    function choose(index) {
        open = false
        if (index >= titles.length)
            action(index - titles.length)
        else
            chosen(index)
    }

    Keys.onPressed: event => {
        if (event.key === Qt.Key_Space || event.key === Qt.Key_Return
                || event.key === Qt.Key_Enter || event.key === Qt.Key_Down) {
            open = true
            event.accepted = true
        }
    }

    Rectangle {
        anchors.fill: parent
        anchors.margins: -2
        radius: 5
        color: "transparent"
        border.width: 2
        border.color: Theme.accent
        visible: menu.activeFocus
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
        objectName: "appearanceTip"
        anchors.fill: parent
        text: menu.open ? "" : "Тема оформления"
    }

    // Clicking anywhere outside closes the list.
    MouseArea {
        parent: menu.Window.contentItem
        anchors.fill: parent
        visible: menu.open
        z: 999
        Accessible.role: Accessible.Button
        Accessible.name: "Закрыть меню"
        Accessible.onPressAction: menu.open = false
        onClicked: menu.open = false
    }

    Rectangle {
        id: list
        objectName: "appearanceList"
        visible: menu.open
        parent: menu.Window.contentItem
        z: 1000
        width: Math.max(170, column.widest + 44)
        height: column.implicitHeight + 8
        radius: 8
        color: Theme.card
        border.color: Theme.hairline

        Keys.onPressed: event => {
            const count = menu.count
            switch (event.key) {
            case Qt.Key_Down:
                menu.highlighted = (menu.highlighted + 1) % count
                break
            case Qt.Key_Up:
                menu.highlighted = (menu.highlighted + count - 1) % count
                break
            case Qt.Key_Home:
                menu.highlighted = 0
                break
            case Qt.Key_End:
                menu.highlighted = count - 1
                break
            case Qt.Key_Return:
            case Qt.Key_Enter:
            case Qt.Key_Space:
                if (menu.highlighted >= 0)
                    menu.choose(menu.highlighted)
                break
            case Qt.Key_Escape:
            case Qt.Key_Tab:
            case Qt.Key_Backtab:
                menu.open = false
                break
            }
            // Nothing typed while the list is open reaches anything else.
            event.accepted = true
        }

        Column {
            id: column
            // The widest action's text: the list is as wide as it needs.
            property real widest: 0
            anchors.fill: parent
            anchors.margins: 4
            Repeater {
                model: menu.titles
                delegate: Rectangle {
                    id: item
                    required property int index
                    required property string modelData
                    readonly property bool lit: index === menu.highlighted
                    objectName: "appearanceItem" + index
                    Accessible.role: Accessible.MenuItem
                    Accessible.name: modelData
                    Accessible.checkable: true
                    Accessible.checked: index === menu.currentIndex
                    Accessible.onPressAction: menu.choose(index)
                    width: column.width
                    height: 28
                    radius: 5
                    color: lit ? Theme.accent : "transparent"
                    Icon {
                        x: 8
                        anchors.verticalCenter: parent.verticalCenter
                        visible: item.index === menu.currentIndex
                        name: "checkmark"
                        size: 13
                        color: item.lit ? Theme.onAccent : Theme.ink
                    }
                    Text {
                        x: 28
                        anchors.verticalCenter: parent.verticalCenter
                        text: item.modelData
                        textFormat: Text.PlainText
                        font.pixelSize: Theme.typeNote
                        color: item.lit ? Theme.onAccent : Theme.ink
                    }
                    MouseArea {
                        anchors.fill: parent
                        hoverEnabled: true
                        onContainsMouseChanged: if (containsMouse) menu.highlighted = item.index
                        onClicked: menu.choose(item.index)
                    }
                }
            }
            Rectangle {
                visible: menu.actionTitles.length > 0
                x: 8
                width: column.width - 16
                height: visible ? 9 : 0
                color: "transparent"
                Rectangle {
                    anchors.verticalCenter: parent.verticalCenter
                    width: parent.width
                    height: 1
                    color: Theme.hairline
                }
            }
            Repeater {
                model: menu.actionTitles
                delegate: Rectangle {
                    id: actionItem
                    required property int index
                    required property string modelData
                    readonly property int entry: menu.titles.length + index
                    readonly property bool lit: entry === menu.highlighted
                    objectName: "appearanceAction" + index
                    Accessible.role: Accessible.MenuItem
                    Accessible.name: modelData
                    Accessible.onPressAction: menu.choose(entry)
                    width: column.width
                    height: 28
                    radius: 5
                    color: lit ? Theme.accent : "transparent"
                    Text {
                        x: 28
                        anchors.verticalCenter: parent.verticalCenter
                        text: actionItem.modelData
                        textFormat: Text.PlainText
                        font.pixelSize: Theme.typeNote
                        color: actionItem.lit ? Theme.onAccent : Theme.ink
                        onImplicitWidthChanged: column.widest = Math.max(column.widest, implicitWidth)
                    }
                    MouseArea {
                        anchors.fill: parent
                        hoverEnabled: true
                        onContainsMouseChanged: if (containsMouse) menu.highlighted = actionItem.entry
                        onClicked: menu.choose(actionItem.entry)
                    }
                }
            }
        }
    }
}
