// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi

// A card: the card colour inside a hairline frame.
Rectangle {
    radius: 10
    color: Theme.card
    border.width: 1
    border.color: Theme.hairline
}
