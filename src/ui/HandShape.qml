// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi
import QtQuick.Shapes

// One hand: a right hand, or its mirror image for the left. A 5 px outline
// of every part lies under the fills of the same parts, so the fills hide
// the inner half of each outline and every outline inside another part: one
// contour runs around the whole hand.
Shape {
    id: hand

    required property HandsViewModel outlines
    property bool mirrored: false
    // The lit finger (HandsViewModel.Pinky … Index), or -1.
    property int active: -1
    property bool thumbActive: false

    width: 132
    height: 146
    transform: Scale {
        xScale: hand.mirrored ? -1 : 1
        origin.x: hand.width / 2
    }

    // One filled part, fading between its plain and lit colours.
    component Part: ShapePath {
        property bool lit
        property color plainColor
        property color litColor: Theme.accent
        property alias path: svg.path

        strokeWidth: -1
        strokeColor: "transparent"
        fillColor: lit ? litColor : plainColor
        Behavior on fillColor { ColorAnimation { duration: 120; easing.type: Easing.OutCubic } }

        PathSvg { id: svg }
    }

    ShapePath {
        strokeWidth: 5
        strokeColor: Theme.inkAt(0.88)
        fillColor: "transparent"
        capStyle: ShapePath.FlatCap
        joinStyle: ShapePath.MiterJoin
        miterLimit: 10
        PathSvg { path: hand.outlines.outlinePath }
    }

    Part {
        lit: hand.thumbActive
        plainColor: Theme.thumbSoft
        litColor: Theme.thumbAccent
        path: hand.outlines.thumbPath
    }
    Part {
        lit: hand.active === HandsViewModel.Index
        plainColor: Theme.zoneBar(HandsViewModel.Index)
        path: hand.outlines.fingerPaths[0]
    }
    Part {
        lit: hand.active === HandsViewModel.Middle
        plainColor: Theme.zoneBar(HandsViewModel.Middle)
        path: hand.outlines.fingerPaths[1]
    }
    Part {
        lit: hand.active === HandsViewModel.Ring
        plainColor: Theme.zoneBar(HandsViewModel.Ring)
        path: hand.outlines.fingerPaths[2]
    }
    Part {
        lit: hand.active === HandsViewModel.Pinky
        plainColor: Theme.zoneBar(HandsViewModel.Pinky)
        path: hand.outlines.fingerPaths[3]
    }
    Part {
        plainColor: Theme.card
        path: hand.outlines.palmPath
    }
}
