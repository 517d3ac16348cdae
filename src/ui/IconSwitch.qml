// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Templates as T
import Olvi

// A setting that is on or off, drawn as one of two pictograms; its text is
// its name for a screen reader and its tooltip. It shows what the
// application holds (`on`): a click asks for the change through toggled(),
// and the pictogram follows the answer.
T.Switch {
    id: control

    property bool on: false
    property string iconOn
    property string iconOff

    implicitWidth: 24
    implicitHeight: 24
    focusPolicy: Qt.TabFocus
    // The tooltip needs it where the platform does not hover by default.
    hoverEnabled: true
    ReturnKey.clicks: true
    Accessible.role: Accessible.CheckBox
    Accessible.name: text
    Accessible.checkable: true
    Accessible.checked: checked
    checked: on
    onToggled: checked = Qt.binding(() => control.on)

    indicator: Icon {
        anchors.centerIn: parent
        name: control.on ? control.iconOn : control.iconOff
        size: 17
        color: Theme.inkFaint
    }
    background: FocusRing {
        control: control
    }
    // Made while the pointer is on the switch, as IconButton's.
    Loader {
        active: control.hovered
        sourceComponent: ToolTip {
            parent: control
            text: control.text
            visible: control.hovered && !control.down
        }
    }
}
