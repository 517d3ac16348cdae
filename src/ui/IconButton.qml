// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Templates as T
import Olvi

// A flat button that shows a pictogram; its text is its name for a screen
// reader and its tooltip.
T.Button {
    id: control

    property string iconName
    property real iconSize: 16
    // Off while what the button opens is open.
    property bool toolTipShown: true

    implicitWidth: 22
    implicitHeight: 22
    focusPolicy: Qt.TabFocus
    // The tooltip needs it where the platform does not hover by default.
    hoverEnabled: true
    ReturnKey.clicks: true
    Accessible.role: Accessible.Button
    Accessible.name: text

    contentItem: Icon {
        name: control.iconName
        size: control.iconSize
        color: Theme.inkFaint
    }
    background: FocusRing {
        control: control
        anchors.margins: -2
        cornerRadius: 3
    }
    // Made while the pointer is on the button: a tooltip made for every
    // control at start would hold up the window's first frame.
    Loader {
        active: control.hovered
        sourceComponent: ToolTip {
            parent: control
            text: control.text
            visible: control.hovered && !control.down && control.toolTipShown
        }
    }
}
