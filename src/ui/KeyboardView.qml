// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi

// The on-screen keyboard. (Its drawing comes with the keyboard work; until
// then it keeps its place in the layout.)
Item {
    property bool training: true
    property string next
    property var errors: ({})
    property real keySize: 52

    implicitWidth: keySize * 12 + 6 * 11
    implicitHeight: keySize * 3 + 6 * 2 + (training ? 6 + keySize * 0.72 : 0)
}
