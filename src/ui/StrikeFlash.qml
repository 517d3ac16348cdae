// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi

// The mark a wrong stroke leaves on the key it struck: the key lights in the
// error colour at once and fades back in one short animation, so that the
// learner sees where the finger went even with the sound off. It lasts as
// long as the keys' own fade; it eases in, so that it holds its colour for
// the first half of it rather than vanishing at once.
Rectangle {
    id: root
    objectName: "strikeFlash"

    function start() { fade.restart() }

    radius: 8
    color: Theme.error
    opacity: 0
    visible: opacity > 0

    NumberAnimation {
        id: fade
        target: root
        property: "opacity"
        from: 0.85
        to: 0
        duration: 120
        easing.type: Easing.InQuad
    }
}
