// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// The exercise lines as a screen reader reads them. AT-SPI counts offsets in
// Unicode scalars of the text it is given, and Qt 6.4 hands our offsets to it
// unchanged, while the exercise counts user-perceived characters: "а́" is one
// character and two scalars, an emoji one character and one scalar (two UTF-16
// units). Every offset here is in scalars; every unit handed out (a character,
// a word, a line) is whole, so a reader never gets half a character.
class AccessibleText
{
public:
    enum class Unit { character, word, line, all };

    AccessibleText() = default;
    // The characters of each line shown, and the caret's character counted
    // over all of them (their count when nothing is left to type).
    AccessibleText(const QList<QStringList> &lines, int caret);

    [[nodiscard]] const QString &text() const { return m_text; }
    [[nodiscard]] int length() const { return m_starts.isEmpty() ? 0 : m_starts.last(); }
    [[nodiscard]] int caretOffset() const { return m_caret; }
    // The text between two scalar offsets (clamped; -1 for the end).
    [[nodiscard]] QString slice(int from, int to) const;
    // The unit holding `offset` as [start, end) in scalars; (-1, -1) outside.
    [[nodiscard]] std::pair<int, int> unitAt(int offset, Unit unit) const;
    // The whole unit before the one holding `offset`, and the one after it.
    [[nodiscard]] std::pair<int, int> unitBefore(int offset, Unit unit) const;
    [[nodiscard]] std::pair<int, int> unitAfter(int offset, Unit unit) const;
    // Scalar offset of a character index, and the character holding an offset.
    [[nodiscard]] int offsetOf(int character) const { return m_starts.at(character); }
    [[nodiscard]] int characterAt(int offset) const;

    friend bool operator==(const AccessibleText &, const AccessibleText &) = default;

private:
    QString m_text;
    QList<uint> m_scalars;  // m_text as scalars, for slicing
    QList<int> m_starts;    // scalar offset of each character, then the length
    QList<int> m_lineEnds;  // character index where each line ends
    QList<bool> m_spaces;   // whether each character is a space
    int m_caret = 0;        // scalar offset
};
