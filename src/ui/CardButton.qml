// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Templates as T
import Olvi

// A row of a list that is worked as one button: its content on a rounded
// card, filled when `filled`, framed in the accent when `marked`. Its text
// is its name for a screen reader; the content is the view's.
T.AbstractButton {
    id: control

    property bool filled: false
    property bool marked: false

    implicitWidth: implicitContentWidth + leftPadding + rightPadding
    implicitHeight: implicitContentHeight + topPadding + bottomPadding
    horizontalPadding: 18
    verticalPadding: 14
    focusPolicy: Qt.TabFocus
    ReturnKey.clicks: true
    Accessible.role: Accessible.Button
    Accessible.name: text

    background: Rectangle {
        radius: 10
        color: control.filled ? Theme.card : "transparent"
        border.width: control.marked ? 1.5 : 1
        border.color: control.marked ? Theme.accent : Theme.hairline
        FocusRing {
            control: control
            cornerRadius: 10
        }
    }
    HoverHandler {
        cursorShape: Qt.PointingHandCursor
    }
}
