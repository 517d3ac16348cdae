// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi

// Both hands with the finger to strike next. (Its drawing comes with the
// hands work; until then it keeps its place in the layout.)
Item {
    property string expected

    implicitWidth: 132 * 2 + 26
    implicitHeight: 146
}
