// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Templates as T
import Olvi

// A question on a card over the whole window: nothing under it takes the
// pointer or the keyboard while it is open, Tab goes round its own
// controls, and Escape closes it. A screen reader knows it as a dialog
// named by its title.
T.Popup {
    id: control

    property string title
    // What the question is about, for a screen reader.
    property string description

    parent: T.Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(560, parent ? parent.width - 48 : 560)
    implicitHeight: implicitContentHeight + topPadding + bottomPadding
    padding: 20
    modal: true
    focus: true
    closePolicy: T.Popup.CloseOnEscape
    // The popup's own item is what a screen reader reads.
    Component.onCompleted: {
        const card = contentItem.parent
        card.Accessible.name = Qt.binding(() => control.title)
        card.Accessible.description = Qt.binding(() => control.description)
    }

    // The popup is no item of the window's tree; its card carries its name.
    background: Card {
        objectName: control.objectName
    }
    T.Overlay.modal: Rectangle {
        color: Theme.inkScrim
    }
}
