// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "characters.h"

#include <QChar>
#include <QTextBoundaryFinder>

namespace {

// UTF-16 units that always form a character of their own: most of Latin-1,
// Cyrillic without its combining marks, and the dashes, quotes and ellipsis of
// U+2010…U+2027. Texts made only of these (nearly every Russian text) are cut
// unit by unit, which is many times faster than the full boundary rules.
bool standsAlone(char16_t u)
{
    if (u < 0x300)
        return u != u'\r'; // CR LF is one character
    if (u >= 0x400 && u <= 0x4FF)
        return u < 0x483 || u > 0x489;
    return u >= 0x2010 && u <= 0x2027;
}

bool allStandAlone(QStringView text)
{
    for (QChar c : text) {
        if (!standsAlone(c.unicode()))
            return false;
    }
    return true;
}

// Calls f(start, length) for every character, in order, until f returns false.
template <typename F>
void forEachCharacter(QStringView text, F &&f)
{
    if (text.isEmpty())
        return;
    if (allStandAlone(text)) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (!f(i, qsizetype(1)))
                return;
        }
        return;
    }
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    for (qsizetype end = finder.toNextBoundary(); end > 0; end = finder.toNextBoundary()) {
        if (!f(start, end - start))
            return;
        start = end;
    }
}

char32_t firstScalar(QStringView ch)
{
    if (ch.isEmpty())
        return 0;
    if (ch.size() > 1 && ch[0].isHighSurrogate() && ch[1].isLowSurrogate())
        return QChar::surrogateToUcs4(ch[0], ch[1]);
    return ch[0].unicode();
}

template <typename Pred>
bool everyScalarOfCanonical(QStringView ch, Pred &&pred)
{
    if (ch.isEmpty())
        return false;
    const auto test = [&pred](QStringView s) {
        for (qsizetype i = 0; i < s.size(); ++i) {
            char32_t u = s[i].unicode();
            if (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
                u = QChar::surrogateToUcs4(s[i], s[i + 1]);
                ++i;
            }
            if (!pred(u))
                return false;
        }
        return true;
    };
    // Most characters are already canonical and need no normalisation.
    return test(ch) || test(Characters::canonical(ch));
}

} // namespace

namespace Characters {

QStringList split(QStringView text)
{
    QStringList result;
    if (allStandAlone(text)) {
        result.reserve(text.size());
        for (QChar c : text)
            result.append(QString(c));
        return result;
    }
    forEachCharacter(text, [&](qsizetype start, qsizetype length) {
        result.append(text.sliced(start, length).toString());
        return true;
    });
    return result;
}

qsizetype count(QStringView text)
{
    if (allStandAlone(text))
        return text.size();
    qsizetype n = 0;
    forEachCharacter(text, [&](qsizetype, qsizetype) {
        ++n;
        return true;
    });
    return n;
}

qsizetype prefixLength(QStringView text, qsizetype n)
{
    if (n <= 0)
        return 0;
    qsizetype seen = 0;
    qsizetype end = 0;
    forEachCharacter(text, [&](qsizetype start, qsizetype length) {
        end = start + length;
        return ++seen < n;
    });
    return end;
}

QString first(QStringView text)
{
    return text.first(prefixLength(text, 1)).toString();
}

QString canonical(QStringView text)
{
    return text.toString().normalized(QString::NormalizationForm_C);
}

bool same(QStringView a, QStringView b)
{
    if (a == b)
        return true;
    return canonical(a) == canonical(b);
}

QString lower(QStringView text)
{
    return text.toString().toLower();
}

QString upper(QStringView text)
{
    return text.toString().toUpper();
}

QString capitalized(QStringView text)
{
    const qsizetype head = prefixLength(text, 1);
    return upper(text.first(head)).append(text.sliced(head));
}

bool isLetter(QStringView ch)
{
    return !ch.isEmpty() && QChar::isLetter(firstScalar(ch));
}

bool isUpper(QStringView ch)
{
    return !ch.isEmpty() && QChar::isUpper(firstScalar(ch));
}

bool isAscii(QStringView ch)
{
    return everyScalarOfCanonical(ch, [](char32_t u) { return u < 0x80; });
}

bool isCyrillic(QStringView ch)
{
    return everyScalarOfCanonical(ch, [](char32_t u) { return u >= 0x400 && u <= 0x4FF; });
}

bool isAsciiLetter(QStringView ch)
{
    return isLetter(ch) && isAscii(ch);
}

} // namespace Characters
