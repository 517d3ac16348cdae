// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi

// A tooltip for whatever it fills: shown after the pointer rests on it.
MouseArea {
    id: area

    property string text

    hoverEnabled: true
    acceptedButtons: Qt.NoButton

    Timer {
        id: delay
        interval: 600
        running: area.containsMouse && area.text !== ""
    }

    Rectangle {
        visible: area.containsMouse && !delay.running && area.text !== ""
        z: 1000
        x: (area.width - width) / 2
        y: area.height + 6
        width: tip.implicitWidth + 14
        height: tip.implicitHeight + 8
        radius: 5
        color: Theme.ink
        Text {
            id: tip
            anchors.centerIn: parent
            text: area.text
            color: Theme.paper
            font.pixelSize: 11
        }
    }
}
