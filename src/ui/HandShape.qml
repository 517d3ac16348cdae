// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi
import QtQuick.Shapes

// One hand: a right hand, or its mirror image for the left. A 5 px outline
// of every part lies under the fills of the same parts, so the fills hide
// the inner half of each outline and every outline inside another part: one
// contour runs around the whole hand.
//
// The drawing itself never changes. A lit finger is a copy of the finger in
// its lit colour, rendered once into a layer and faded in and out above the
// plain one: an animation frame only blends a small image, where animating
// the path's colour would rasterise the paths again on every frame.
Item {
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

    // A part of the drawing rendered once into a layer. The layer reaches as
    // far past the hand's frame as the thumb and its outline do (to the left
    // of a right hand), and no further: a frame of the fade blends its pixels.
    component Cached: Item {
        default property alias content: frame.data
        readonly property real margin: 16

        x: -margin
        width: hand.width + margin
        height: hand.height
        layer.enabled: true

        Item {
            id: frame
            x: parent.margin
            width: hand.width
            height: hand.height
        }
    }

    component Fill: ShapePath {
        property alias path: svg.path
        strokeWidth: -1
        strokeColor: "transparent"
        PathSvg { id: svg }
    }

    // A part in its lit colour, faded in over the plain part.
    component LitPart: Cached {
        property bool lit
        property alias color: fill.fillColor
        property alias path: fill.path

        opacity: lit ? 1 : 0
        visible: opacity > 0
        Behavior on opacity { NumberAnimation { duration: 120; easing.type: Easing.OutCubic } }

        Shape {
            anchors.fill: parent
            Fill { id: fill }
        }
    }

    Cached {
        Shape {
            anchors.fill: parent
            ShapePath {
                strokeWidth: 5
                strokeColor: Theme.inkOutline
                fillColor: "transparent"
                capStyle: ShapePath.FlatCap
                joinStyle: ShapePath.MiterJoin
                miterLimit: 10
                PathSvg { path: hand.outlines.outlinePath }
            }
            Fill {
                fillColor: Theme.thumbSoft
                path: hand.outlines.thumbPath
            }
        }
    }
    LitPart {
        lit: hand.thumbActive
        color: Theme.thumbAccent
        path: hand.outlines.thumbPath
    }

    Cached {
        Shape {
            anchors.fill: parent
            Fill {
                fillColor: Theme.zoneBar(HandsViewModel.Index)
                path: hand.outlines.fingerPaths[0]
            }
            Fill {
                fillColor: Theme.zoneBar(HandsViewModel.Middle)
                path: hand.outlines.fingerPaths[1]
            }
            Fill {
                fillColor: Theme.zoneBar(HandsViewModel.Ring)
                path: hand.outlines.fingerPaths[2]
            }
            Fill {
                fillColor: Theme.zoneBar(HandsViewModel.Pinky)
                path: hand.outlines.fingerPaths[3]
            }
        }
    }
    Repeater {
        model: [HandsViewModel.Index, HandsViewModel.Middle, HandsViewModel.Ring,
                HandsViewModel.Pinky]
        LitPart {
            required property int index
            required property int modelData
            lit: hand.active === modelData
            color: Theme.accent
            path: hand.outlines.fingerPaths[index]
        }
    }

    Cached {
        Shape {
            anchors.fill: parent
            Fill {
                fillColor: Theme.card
                path: hand.outlines.palmPath
            }
        }
    }
}
