// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Templates as T
import Olvi

// A drop-down list of MenuItems on a card, as wide as its widest item. The
// template works it: the arrows move, Space, Return or keypad Enter
// chooses, Escape or a click outside closes it, and the focus goes back to
// where it was. A screen reader hears its title, then each item.
T.Menu {
    id: control

    implicitWidth: {
        let widest = 170
        for (let i = 0; i < contentChildren.length; ++i)
            widest = Math.max(widest, contentChildren[i].implicitWidth)
        return widest + leftPadding + rightPadding
    }
    implicitHeight: contentHeight + topPadding + bottomPadding
    padding: 4
    margins: 6
    // Qt 6.4's menu does not name its own item, which a screen reader reads,
    // after its title.
    Component.onCompleted: contentItem.parent.Accessible.name = Qt.binding(() => control.title)

    // A list over the items, as a positioner here would take their clicks.
    contentItem: ListView {
        implicitHeight: contentHeight
        model: control.contentModel
        currentIndex: control.currentIndex
        interactive: false
    }
    background: Rectangle {
        radius: 8
        color: Theme.card
        border.color: Theme.hairline
    }
}
