// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi

// The app's button: primary (filled with the accent) or secondary (a hairline
// frame). Clicked, or reached with Tab and worked with Space or Return; a
// screen reader knows it by its text.
Rectangle {
    id: button

    property string text
    property bool primary: false
    property int fontSize: Theme.typeButton
    property int fontWeight: primary ? Font.DemiBold : Font.Normal
    property color textColor: primary ? (enabled ? Theme.onAccent : Theme.inkFaint) : Theme.ink
    property real horizontalPadding: primary ? 22 : 18
    property real verticalPadding: 10
    // A text longer than the width it is given goes on to further lines.
    property bool wraps: false
    signal clicked()

    implicitWidth: label.implicitWidth + 2 * horizontalPadding
    implicitHeight: (wraps ? label.contentHeight : label.implicitHeight) + 2 * verticalPadding
    radius: 9
    color: primary ? (enabled ? Theme.accent : Theme.inkDisabled) : "transparent"
    border.width: primary ? 0 : 1
    border.color: Theme.hairline
    activeFocusOnTab: enabled

    Accessible.role: Accessible.Button
    Accessible.name: text
    Accessible.onPressAction: if (enabled) clicked()
    Keys.onPressed: event => {
        if (event.key === Qt.Key_Space || event.key === Qt.Key_Return
                || event.key === Qt.Key_Enter) {
            if (button.enabled)
                button.clicked()
            event.accepted = true
        }
    }

    Text {
        id: label
        anchors.centerIn: parent
        width: button.wraps ? button.width - 2 * button.horizontalPadding : implicitWidth
        wrapMode: button.wraps ? Text.WordWrap : Text.NoWrap
        horizontalAlignment: Text.AlignHCenter
        text: button.text
        textFormat: Text.PlainText
        font.pixelSize: button.fontSize
        font.weight: button.fontWeight
        color: button.textColor
    }
    MouseArea {
        anchors.fill: parent
        enabled: button.enabled
        cursorShape: Qt.PointingHandCursor
        onClicked: button.clicked()
    }
    FocusRing {
        control: button
        cornerRadius: button.radius
    }
}
