// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "russian_layout.h"

#include <QColor>

// The sixteen colour roles of the interface, for one scheme.
struct ThemePalette
{
    QColor desk, paper, bar, card, ink, inkSoft, inkFaint, hairline, accent, accentDeep, error,
        keyBase, ghost, onAccent, thumbSoft, thumbAccent;

    [[nodiscard]] static const ThemePalette &light();
    [[nodiscard]] static const ThemePalette &dark();

    friend bool operator==(const ThemePalette &, const ThemePalette &) = default;
};

// A finger's zone colour, the same in both schemes.
[[nodiscard]] QColor zoneBarColor(Finger finger);
// A finger's key tint: its zone colour, weaker on the dark background.
[[nodiscard]] QColor zoneTintColor(Finger finger, bool dark);
