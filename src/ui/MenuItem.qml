// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Templates as T
import Olvi

// One item of a Menu: its text, with a tick while it is checked. A checkable
// item shows what the application holds (`on`): choosing it asks for the
// change through triggered(), and the tick follows the answer.
T.MenuItem {
    id: control

    property bool on: false

    implicitWidth: implicitContentWidth + leftPadding + rightPadding
    implicitHeight: 28
    leftPadding: 28
    rightPadding: 16
    Accessible.role: Accessible.MenuItem
    Accessible.name: text
    Accessible.checkable: checkable
    Accessible.checked: checked
    checked: on
    onToggled: checked = Qt.binding(() => control.on)

    contentItem: Text {
        text: control.text
        textFormat: Text.PlainText
        verticalAlignment: Text.AlignVCenter
        font.pixelSize: Theme.typeNote
        color: !control.enabled ? Theme.inkFaint : control.highlighted ? Theme.onAccent : Theme.ink
    }
    indicator: Icon {
        x: 8
        anchors.verticalCenter: parent.verticalCenter
        visible: control.checked
        name: "checkmark"
        size: 13
        color: control.highlighted ? Theme.onAccent : Theme.ink
    }
    background: Rectangle {
        radius: 5
        color: control.highlighted ? Theme.accent : "transparent"
    }
}
