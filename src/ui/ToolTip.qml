// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Templates as T
import Olvi

// A tooltip for its parent, shown after the pointer rests on it, in the
// window's top layer above every screen: below the parent when there is
// room, else above it, and always inside the window.
T.ToolTip {
    id: control

    // Wider texts wrap at this width.
    property real maximumWidth: 360

    x: parent ? (parent.width - width) / 2 : 0
    y: parent ? parent.height + 6 : 0
    margins: 6
    delay: 600
    horizontalPadding: 7
    verticalPadding: 4
    implicitWidth: Math.min(implicitContentWidth, maximumWidth) + leftPadding + rightPadding
    implicitHeight: implicitContentHeight + topPadding + bottomPadding

    contentItem: Text {
        text: control.text
        textFormat: Text.PlainText
        wrapMode: Text.Wrap
        font.pixelSize: Theme.typeSmall
        color: Theme.paper
    }
    // Named for finding: a popup is no item of the window's tree, its bubble is.
    background: Rectangle {
        objectName: "toolTip"
        radius: 5
        color: Theme.ink
    }
}
