// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Templates as T
import Olvi

// A key of the on-screen keyboard worked as a button, laid over the key's
// own drawing. Its keyboard is one Tab stop: the key takes the focus when
// the keyboard's view model moves it there (`focus` bound), not from Tab.
T.AbstractButton {
    id: control

    focusPolicy: Qt.NoFocus
    ReturnKey.clicks: true
    Accessible.role: Accessible.Button
    Accessible.name: text

    background: FocusRing {
        control: control
        cornerRadius: 8
    }
    HoverHandler {
        cursorShape: Qt.PointingHandCursor
    }
}
