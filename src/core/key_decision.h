// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <Qt>

// One key press as the training screen sees it.
struct KeyPress
{
    Qt::KeyboardModifiers modifiers;
    bool autoRepeat = false;
    int key = 0; // Qt::Key
    QString text; // what the key types under the active layout and Shift
};

// What the training screen does with a key press.
enum class KeyAction {
    pass,    // leave it to the rest of the interface
    swallow, // consume it and do nothing
    restart, // consume it and type the exercise again from the start
    type,    // consume it and type its first character
};

// The decision for one key press while the training screen is shown.
[[nodiscard]] KeyAction decideKey(const KeyPress &press, bool resultShown, bool finished);
