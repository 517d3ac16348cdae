// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi

// The mark a wrong stroke leaves on the key it struck: the key lights in the
// error colour at once and fades back in one short fade, so that the learner
// sees where the finger went even with the sound off. It lasts as long as the
// keys' own fade and eases in, so that it holds its colour for the first half
// of it rather than vanishing at once; a key struck before it ends cuts it
// short, as every fade of the clock.
Rectangle {
    id: root
    objectName: "strikeFlash"

    property FadeClock fades

    // Over `rect`, in the keyboard's coordinates.
    function start(rect) {
        x = rect.x
        y = rect.y
        width = rect.width
        height = rect.height
        if (fades)
            fades.flash(root, 0.85)
        else
            opacity = 0
    }

    radius: 8
    color: Theme.error
    opacity: 0
    visible: opacity > 0
}
