// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Templates as T
import Olvi

// The header's menu behind the half-filled circle: the colour schemes (one
// ticked), typing by the keys' places and reading aloud, each an item of its
// own that a screen reader hears with its state.
IconButton {
    id: button

    required property RootViewModel header
    required property Narrator reader
    readonly property bool open: menu.item ? menu.item.visible : false

    text: "Тема, раскладка и озвучивание"
    iconName: "circle.lefthalf.filled"
    toolTipShown: !open
    Accessible.role: Accessible.ButtonMenu
    onClicked: {
        menu.active = true
        menu.item.visible ? menu.item.close() : menu.item.open()
    }

    // Made on the first click: the menu and its items at start would hold up
    // the window's first frame.
    Loader {
        id: menu
        active: false
        sourceComponent: Menu {
            parent: button
            objectName: "headerMenu"
            title: button.text
            x: button.width - width
            y: button.height + 6
            // A press on the button closes it by the button's own click.
            closePolicy: T.Popup.CloseOnEscape | T.Popup.CloseOnPressOutsideParent
            // The list opens on the scheme in use.
            onOpened: currentIndex = button.header.appearanceIndex

            Repeater {
                model: button.header.appearanceTitles
                MenuItem {
                    required property int index
                    required property string modelData
                    objectName: "schemeItem" + index
                    text: modelData
                    Accessible.description: "Тема оформления"
                    checkable: true
                    T.ButtonGroup.group: schemes
                    on: index === button.header.appearanceIndex
                    onTriggered: button.header.chooseAppearance(index)
                }
            }
            MenuSeparator {}
            MenuItem {
                objectName: "physicalKeysItem"
                text: "Печатать по ЙЦУКЕН без русской раскладки"
                checkable: true
                on: button.header.physicalKeys
                onTriggered: button.header.togglePhysicalKeys()
            }
            MenuItem {
                objectName: "speechItem"
                text: button.reader.speechTitle
                checkable: true
                on: button.reader.speechOn
                onTriggered: button.reader.toggleSpeech()
            }
        }
    }
    T.ButtonGroup {
        id: schemes
    }
}
