// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi

// A tooltip for whatever it fills, shown after the pointer rests on it. The
// bubble lives in the window's top layer, above every screen, and is kept
// inside the window: below the control when there is room, else above it.
MouseArea {
    id: area

    property string text
    // Wider texts wrap at this width.
    property real maximumWidth: 360
    readonly property bool shown: containsMouse && !delay.running && text !== ""

    hoverEnabled: true
    acceptedButtons: Qt.NoButton

    onShownChanged: if (shown) place()

    function place() {
        const layer = bubble.parent
        if (!layer)
            return
        const margin = 6
        const p = area.mapToItem(layer, 0, 0)
        const x = p.x + (area.width - bubble.width) / 2
        bubble.x = Math.max(margin, Math.min(x, layer.width - bubble.width - margin))
        const below = p.y + area.height + margin
        bubble.y = below + bubble.height <= layer.height - margin
            ? below : Math.max(margin, p.y - margin - bubble.height)
    }

    Timer {
        id: delay
        interval: 600
        running: area.containsMouse && area.text !== ""
    }

    Rectangle {
        id: bubble
        objectName: "toolTip"
        parent: area.Window.contentItem
        visible: area.shown
        z: 10000
        width: tip.width + 14
        height: tip.height + 8
        radius: 5
        color: Theme.ink
        Text {
            id: tip
            anchors.centerIn: parent
            width: Math.min(implicitWidth, area.maximumWidth)
            wrapMode: Text.Wrap
            text: area.text
            textFormat: Text.PlainText
            color: Theme.paper
            font.pixelSize: Theme.typeSmall
        }
    }
}
