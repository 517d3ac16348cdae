// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi
import QtQuick.Shapes

// One of the app's pictograms, drawn from SVG path data on a 24-unit grid
// and tinted with any colour.
Item {
    id: icon

    property string name
    property color color: "black"
    property real size: 16

    // Per pictogram: a filled path and a stroked path (either may be empty).
    readonly property var paths: ({
        "checkmark": { fill: "", stroke: "M4.5 12.5 L9.5 17.5 L19.5 6.5" },
        "circle.lefthalf.filled": {
            fill: "M12 3 A9 9 0 0 0 12 21 Z",
            stroke: "M12 3 A9 9 0 1 1 12 21 A9 9 0 1 1 12 3 Z"
        },
        "globe": {
            fill: "",
            stroke: "M12 3 A9 9 0 1 1 12 21 A9 9 0 1 1 12 3 Z M12 3 C7.5 7.5 7.5 16.5 12 21 "
                    + "M12 3 C16.5 7.5 16.5 16.5 12 21 M3.5 9 H20.5 M3.5 15 H20.5 M12 3 V21"
        },
        "speaker.wave.2": {
            fill: "M3 9 H7 L12 4.5 V19.5 L7 15 H3 Z",
            stroke: "M15.5 9 A4.2 4.2 0 0 1 15.5 15 M18.5 6 A8 8 0 0 1 18.5 18"
        },
        "speaker.slash": {
            fill: "M3 9 H7 L12 4.5 V19.5 L7 15 H3 Z",
            stroke: "M3 3 L21 21"
        },
        "exclamationmark.triangle": {
            fill: "M11 16.5 H13 V18.5 H11 Z",
            stroke: "M12 3.5 L21.5 20 H2.5 Z M12 9 V14.5"
        }
    })
    readonly property var current: paths[name] || { fill: "", stroke: "" }

    implicitWidth: size
    implicitHeight: size

    Shape {
        width: 24
        height: 24
        scale: icon.size / 24
        transformOrigin: Item.TopLeft

        ShapePath {
            fillColor: icon.current.fill === "" ? "transparent" : icon.color
            strokeColor: "transparent"
            strokeWidth: 0
            PathSvg { path: icon.current.fill === "" ? "M0 0" : icon.current.fill }
        }
        ShapePath {
            fillColor: "transparent"
            strokeColor: icon.current.stroke === "" ? "transparent" : icon.color
            strokeWidth: 1.9
            capStyle: ShapePath.RoundCap
            joinStyle: ShapePath.RoundJoin
            PathSvg { path: icon.current.stroke === "" ? "M0 0" : icon.current.stroke }
        }
    }
}
