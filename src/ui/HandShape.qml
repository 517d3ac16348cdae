// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi

// One hand: a right hand, or its mirror image for the left. The plain hand,
// each part in its lit colour and the palm are painted once as images; a lit
// part fades in and out over the plain one, under the palm.
Item {
    id: hand

    property bool mirrored: false
    // The lit finger (HandsViewModel.Pinky … Index), or -1.
    property int active: -1
    property bool thumbActive: false
    // The clock the lit parts fade on (none: they change at once).
    property FadeClock fades

    transform: Scale {
        xScale: hand.mirrored ? -1 : 1
        origin.x: hand.width / 2
    }

    component Painting: HandPainting {
        x: -margin
        width: implicitWidth
        height: implicitHeight
    }

    component LitPart: Painting {
        id: part
        property bool lit
        property FadeClock fades
        opacity: 0
        visible: opacity > 0
        Component.onCompleted: opacity = lit ? 1 : 0
        onLitChanged: fades ? fades.fade(part, lit ? 1 : 0) : opacity = lit ? 1 : 0
    }

    Painting {
        part: HandPainting.Base
    }
    LitPart {
        part: HandPainting.Thumb
        lit: hand.thumbActive
        fades: hand.fades
    }
    LitPart {
        part: HandPainting.Index
        lit: hand.active === HandsViewModel.Index
        fades: hand.fades
    }
    LitPart {
        part: HandPainting.Middle
        lit: hand.active === HandsViewModel.Middle
        fades: hand.fades
    }
    LitPart {
        part: HandPainting.Ring
        lit: hand.active === HandsViewModel.Ring
        fades: hand.fades
    }
    LitPart {
        part: HandPainting.Pinky
        lit: hand.active === HandsViewModel.Pinky
        fades: hand.fades
    }
    Painting {
        part: HandPainting.Palm
    }
}
