// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi

// Both hands seen from above, with the finger (or the thumbs) that strikes
// next character lit.
Item {
    id: root

    property nextKey next
    // The clock the lit fingers fade on.
    property FadeClock fades

    implicitWidth: row.implicitWidth
    implicitHeight: row.implicitHeight

    HandsViewModel {
        id: hands
        next: root.next
    }

    Row {
        id: row
        anchors.centerIn: parent
        spacing: 26

        HandShape {
            objectName: "leftHand"
            width: hands.frameSize.width
            height: hands.frameSize.height
            mirrored: true
            active: hands.leftActive
            thumbActive: hands.thumbsActive
            fades: root.fades
        }
        HandShape {
            objectName: "rightHand"
            width: hands.frameSize.width
            height: hands.frameSize.height
            active: hands.rightActive
            thumbActive: hands.thumbsActive
            fades: root.fades
        }
    }
}
