// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// How figures are written on every screen.
namespace FigureText {

// Rounded half away from zero, as people round: 142.5 is "143"; held at the
// 64-bit limits, and "—" for no number at all.
[[nodiscard]] QString whole(double value);
// A fraction as a percentage with one decimal and a decimal comma: "96,2 %".
[[nodiscard]] QString percent(double fraction);

} // namespace FigureText
