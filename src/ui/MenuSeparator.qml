// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Templates as T
import Olvi

// A hairline between two groups of a Menu's items.
T.MenuSeparator {
    implicitHeight: 9
    horizontalPadding: 8
    verticalPadding: 4

    contentItem: Rectangle {
        implicitHeight: 1
        color: Theme.hairline
    }
}
