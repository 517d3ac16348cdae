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
        property bool lit
        opacity: lit ? 1 : 0
        visible: opacity > 0
        Behavior on opacity { NumberAnimation { duration: 120; easing.type: Easing.OutCubic } }
    }

    Painting {
        part: HandPainting.Base
    }
    LitPart {
        part: HandPainting.Thumb
        lit: hand.thumbActive
    }
    LitPart {
        part: HandPainting.Index
        lit: hand.active === HandsViewModel.Index
    }
    LitPart {
        part: HandPainting.Middle
        lit: hand.active === HandsViewModel.Middle
    }
    LitPart {
        part: HandPainting.Ring
        lit: hand.active === HandsViewModel.Ring
    }
    LitPart {
        part: HandPainting.Pinky
        lit: hand.active === HandsViewModel.Pinky
    }
    Painting {
        part: HandPainting.Palm
    }
}
