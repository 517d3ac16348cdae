// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Cleaning and cutting the learner's own text. Pure functions; lengths count
// characters (user-perceived), never UTF-16 units.
namespace Manuscript {

// The cleaned text never holds more characters than this.
inline constexpr qsizetype maxLength = 120000;
// A fragment holds at most this many characters, unless one word is longer.
inline constexpr qsizetype fragmentLength = 170;

// One long line of words: typographic spaces, dashes, quotes and ellipses
// replaced by what the keyboard types, every run of spaces and line breaks
// made one space, then cut to maxLength characters (one fewer when the cut
// would leave a space at the end).
[[nodiscard]] QString normalize(QStringView text);
// The text's words packed greedily into fragments of at most fragmentLength
// characters; joined with single spaces they give the text back.
[[nodiscard]] QStringList chunks(QStringView text);
// The distinct Latin letters A–Z, a–z of the text, by code point. Characters
// count by their canonical form: a Kelvin sign is a K.
[[nodiscard]] QStringList foreignCharacters(QStringView text);

} // namespace Manuscript
