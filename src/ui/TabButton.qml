// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Templates as T
import Olvi

// One tab of the header: its title, raised on a card while it is the
// current one.
T.TabButton {
    id: control

    implicitWidth: 96
    implicitHeight: implicitContentHeight + topPadding + bottomPadding
    verticalPadding: 5
    focusPolicy: Qt.TabFocus
    ReturnKey.clicks: true
    Accessible.role: Accessible.PageTab
    Accessible.name: text
    Accessible.selected: checked

    contentItem: Text {
        text: control.text
        textFormat: Text.PlainText
        horizontalAlignment: Text.AlignHCenter
        font.pixelSize: Theme.typeBody
        font.weight: control.checked ? Font.DemiBold : Font.Normal
        color: control.checked ? Theme.ink : Theme.inkSoft
    }
    background: Item {
        // The raised look of the current tab: a soft shadow under a card.
        Rectangle {
            anchors.fill: parent
            anchors.topMargin: 1
            anchors.bottomMargin: -1
            radius: 6
            visible: control.checked
            color: Theme.inkShadow
        }
        Rectangle {
            anchors.fill: parent
            radius: 6
            color: control.checked ? Theme.keyBase : "transparent"
        }
        FocusRing {
            control: control
        }
    }
}
