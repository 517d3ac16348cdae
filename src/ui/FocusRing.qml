// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi

// The ring around the control that has the keyboard's focus. The kit's
// controls take the focus only from Tab (or the arrows of a group), never
// from a click, so a pointer user never sees it.
Rectangle {
    required property Item control
    property real cornerRadius: 6

    anchors.fill: parent
    anchors.margins: -3
    color: "transparent"
    border.width: 2
    border.color: Theme.accent
    radius: cornerRadius + 3
    visible: control.activeFocus
}
