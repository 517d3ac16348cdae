// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Olvi counts, compares and indexes texts by user-perceived characters
// (extended grapheme clusters), never by UTF-16 units: a pasted "е" + U+0308
// is one character, and it is the same character as the typed "ё".
// One character is held as a QString. Everything else builds on these.
namespace Characters {

// The text cut into characters, in order.
[[nodiscard]] QStringList split(QStringView text);

// How many characters the text holds.
[[nodiscard]] qsizetype count(QStringView text);

// The UTF-16 length of the text's first `n` characters (the whole text when it
// has fewer), so a text can be cut after n characters without splitting one.
[[nodiscard]] qsizetype prefixLength(QStringView text, qsizetype n);

// The text's first character, or an empty string for an empty text.
[[nodiscard]] QString first(QStringView text);

// The canonical (NFC) form: canonically equivalent characters have equal forms,
// so it is the key to use when characters index a map.
[[nodiscard]] QString canonical(QStringView text);

// Canonical equivalence of two characters (or texts).
[[nodiscard]] bool same(QStringView a, QStringView b);

// Full Unicode case mapping (a mapping may change the length).
[[nodiscard]] QString lower(QStringView text);
[[nodiscard]] QString upper(QStringView text);

// The first character upper-cased, the rest unchanged.
[[nodiscard]] QString capitalized(QStringView text);

// Class tests of one character. Letter and upper-case look at its first scalar
// (a letter with combining marks is still a letter); ASCII and Cyrillic require
// every scalar of the canonical form to lie in the range (U+0000…U+007F,
// U+0400…U+04FF), so "ё" is Cyrillic whether typed or pasted decomposed.
[[nodiscard]] bool isLetter(QStringView ch);
[[nodiscard]] bool isUpper(QStringView ch);
[[nodiscard]] bool isAscii(QStringView ch);
[[nodiscard]] bool isCyrillic(QStringView ch);
// A Latin letter A–Z or a–z.
[[nodiscard]] bool isAsciiLetter(QStringView ch);

} // namespace Characters
