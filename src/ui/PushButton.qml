// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Templates as T
import Olvi

// The app's text button: primary (filled with the accent), secondary (a
// hairline frame) or flat (its text alone). The template works it: a click,
// Space, Return or keypad Enter; Tab reaches it, a click never takes the
// focus; a screen reader knows it by its text.
T.Button {
    id: control

    property bool primary: false
    property int fontSize: Theme.typeButton
    property int fontWeight: primary ? Font.DemiBold : Font.Normal
    property color textColor: primary ? (enabled ? Theme.onAccent : Theme.inkFaint) : Theme.ink
    // A text longer than the width it is given goes on to further lines.
    property bool wraps: false

    implicitWidth: implicitContentWidth + leftPadding + rightPadding
    implicitHeight: implicitContentHeight + topPadding + bottomPadding
    horizontalPadding: primary ? 22 : 18
    verticalPadding: 10
    focusPolicy: Qt.TabFocus
    ReturnKey.clicks: true
    Accessible.role: Accessible.Button
    Accessible.name: text

    contentItem: Text {
        text: control.text
        textFormat: Text.PlainText
        wrapMode: control.wraps ? Text.WordWrap : Text.NoWrap
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        font.pixelSize: control.fontSize
        font.weight: control.fontWeight
        color: control.textColor
    }
    background: Rectangle {
        radius: 9
        color: control.primary ? (control.enabled ? Theme.accent : Theme.inkDisabled) : "transparent"
        border.width: control.primary || control.flat ? 0 : 1
        border.color: Theme.hairline
        FocusRing {
            control: control
            cornerRadius: 9
        }
    }
    HoverHandler {
        enabled: control.enabled
        cursorShape: Qt.PointingHandCursor
    }
}
