// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Templates as T
import Olvi

// The header's strip of tabs: TabButtons side by side on a soft wash. A
// screen reader knows it as a list of page tabs, the current one selected.
T.TabBar {
    id: control

    implicitWidth: contentWidth + leftPadding + rightPadding
    implicitHeight: contentHeight + topPadding + bottomPadding
    padding: 3
    spacing: 2
    Accessible.role: Accessible.PageTabList

    // A list over the tabs, as a positioner here would take their clicks.
    contentItem: ListView {
        model: control.contentModel
        currentIndex: control.currentIndex
        orientation: ListView.Horizontal
        spacing: control.spacing
        interactive: false
    }
    background: Rectangle {
        radius: 8
        color: Theme.inkWash
    }
}
