// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// The stored integers of these enumerations are part of the model; they
// never change.
enum class Hand : int { left = 0, right = 1 };
enum class Finger : int { pinky = 0, ring = 1, middle = 2, index = 3 };

[[nodiscard]] std::optional<Finger> fingerFromRaw(int raw);
// Pinky to index, the order in which hands and keyboards list them.
inline constexpr std::array<Finger, 4> allFingers{Finger::pinky, Finger::ring, Finger::middle,
                                                  Finger::index};

// One key of the letter rows: the character it types without Shift and the
// finger that strikes it. Its identity is its character.
struct KeyDef
{
    QString character;
    Hand hand = Hand::left;
    Finger finger = Finger::pinky;

    friend bool operator==(const KeyDef &, const KeyDef &) = default;
};


// How a character is struck: the key that types it (when the letter rows
// have one), the hand whose pinky holds Shift for it, and whether it is the
// space bar, struck by either thumb.
struct Stroke
{
    std::optional<KeyDef> key;
    std::optional<Hand> shiftHand;
    bool thumbs = false;

    friend bool operator==(const Stroke &, const Stroke &) = default;
};

// The Russian ЙЦУКЕН letter keys as the course teaches them. Built once on
// first use (thread-safe) and never changed.
namespace RussianLayout {

// Top, home and bottom letter rows, left to right: 12, 11 and 10 keys.
[[nodiscard]] const QList<QList<KeyDef>> &rows();
// The row above them, left to right: "ё", the digits, "-" and "=" (13 keys),
// each by the character it types without Shift.
[[nodiscard]] const QList<KeyDef> &digitRow();
// What Shift types on the key of `key` (a letter's capital, "," on the full
// stop's key, the digit row's marks).
[[nodiscard]] QString shifted(const KeyDef &key);
// The home keys of the two index fingers, "а" and "о".
[[nodiscard]] const QSet<QString> &homeChars();
// The ten Russian vowels, "ё" included.
[[nodiscard]] const QSet<QString> &vowels();
// Whether `ch` is typed with Shift: a capital letter, what Shift types on the
// full stop's key and the digit row (",", "!", ":", …), and « » (typed by the
// quote on Shift and 2).
[[nodiscard]] bool needsShift(QStringView ch);
// The character a key of the layout types in place of `ch`, which no key
// types: "-" for "—", the quote for « and ». None for any other character.
[[nodiscard]] std::optional<QString> standIn(QStringView ch);
// The character whose key types `ch`. Dictionaries and textbooks mark stress
// with a combining acute (U+0301) or grave (U+0300) over a vowel; such a vowel
// is typed as the plain one ("а́" as "а", "ё́" as "ё"), since no key types the
// mark. Every other character, a stressed Latin letter or a vowel with any
// other mark included, is typed as itself.
[[nodiscard]] QString typedAs(QStringView ch);
// The key that types `ch` (as typedAs() tells), whatever its case, or its
// stand-in: "," is typed with Shift on the "." key, ":" with Shift on "6",
// "—" by "-", « and » by the quote on "2"; "ё" and the digits have keys in
// the digit row.
[[nodiscard]] std::optional<KeyDef> key(QStringView ch);
// How `ch` is struck. Shift is held by the other hand than the key's.
[[nodiscard]] Stroke stroke(QStringView ch);
// Whether a key of the Russian layout types `ch`, with or without Shift, or
// types what an exercise accepts for it (" for « and », - for —). Everything
// else — Latin letters, „, typographic apostrophes, U+202F, control
// characters, a Latin letter with a stress mark — cannot be typed in Russian.
[[nodiscard]] bool canType(QStringView ch);
// What the Russian ЙЦУКЕН layout types on a physical key, with or without
// Shift and Caps Lock (which capitalises letters only), whatever layout the
// system has selected: the letter rows, "ё", the digit row, the key beside
// Enter, the key left of Z (ISO keyboards) and the space bar. `scanCode` is
// the native scan code the toolkit reports on X11 and Wayland alike, the X key
// code (Linux evdev code + 8). Nothing for any other key.
[[nodiscard]] std::optional<QString> typedByKey(quint32 scanCode, bool shift, bool capsLock);

} // namespace RussianLayout
