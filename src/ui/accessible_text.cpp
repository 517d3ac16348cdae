// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessible_text.h"

#include <algorithm>

AccessibleText::AccessibleText(const QList<QStringList> &lines, int caret)
{
    m_starts.append(0);
    int characters = 0;
    for (const QStringList &line : lines) {
        for (const QString &ch : line) {
            m_text += ch;
            const QList<uint> scalars = ch.toUcs4();
            m_scalars += scalars;
            m_starts.append(m_starts.last() + int(scalars.size()));
            m_spaces.append(ch == u" ");
        }
        characters += int(line.size());
        if (!line.isEmpty())
            m_lineEnds.append(characters);
    }
    m_caret = m_starts.at(std::clamp(caret, 0, characters));
}

QString AccessibleText::slice(int from, int to) const
{
    if (to < 0 || to > length())
        to = length();
    from = std::clamp(from, 0, to);
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(m_scalars.constData()) + from, to - from);
}

int AccessibleText::characterAt(int offset) const
{
    // The last character starting at or before the offset.
    const auto it = std::upper_bound(m_starts.cbegin(), m_starts.cend() - 1, offset);
    return int(it - m_starts.cbegin()) - 1;
}

std::pair<int, int> AccessibleText::unitAt(int offset, Unit unit) const
{
    const int count = int(m_starts.size()) - 1;
    if (offset == -1)
        offset = length();
    if (offset < 0 || offset > length() || count == 0)
        return {-1, -1};
    if (unit == Unit::all)
        return {0, length()};
    // At the very end a reader asks for the last unit (a line, a word), but
    // there is no character there.
    if (offset == length() && unit == Unit::character)
        return {length(), length()};
    const int i = std::min(characterAt(offset), count - 1);
    int first = i;
    int last = i + 1;
    if (unit == Unit::line) {
        const auto end = std::upper_bound(m_lineEnds.cbegin(), m_lineEnds.cend(), i);
        last = *end;
        first = end == m_lineEnds.cbegin() ? 0 : *(end - 1);
    } else if (unit == Unit::word) {
        // A word runs from its first letter to the next word's: the spaces
        // after it belong to it, as AT-SPI's word-start boundaries have it.
        while (first > 0 && !(m_spaces.at(first - 1) && !m_spaces.at(first)))
            --first;
        while (last < count && !(m_spaces.at(last - 1) && !m_spaces.at(last)))
            ++last;
    }
    return {m_starts.at(first), m_starts.at(last)};
}

std::pair<int, int> AccessibleText::unitBefore(int offset, Unit unit) const
{
    const auto [start, end] = unitAt(offset, unit);
    return start > 0 ? unitAt(start - 1, unit) : std::pair(-1, -1);
}

std::pair<int, int> AccessibleText::unitAfter(int offset, Unit unit) const
{
    const auto [start, end] = unitAt(offset, unit);
    return start >= 0 && end < length() ? unitAt(end, unit) : std::pair(-1, -1);
}
