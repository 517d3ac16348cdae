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

// The scalar value starting at unit i; a lone surrogate stands for itself.
char32_t scalarAt(QStringView text, qsizetype i)
{
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(text[i], text[i + 1]);
    return text[i].unicode();
}

// Qt refines character boundaries by syllables for the scripts it shapes that
// way, and applies the refinement to the whole stretch of text it assigns to
// such a script: spaces, emoji and line breaks beside it included, where it
// cuts after every UTF-16 unit, even inside a surrogate pair. Text in these
// scripts therefore goes to the boundary finder apart from everything else.
bool syllabic(char32_t u)
{
    switch (QChar::script(u)) {
    case QChar::Script_Devanagari:
    case QChar::Script_Bengali:
    case QChar::Script_Gurmukhi:
    case QChar::Script_Gujarati:
    case QChar::Script_Oriya:
    case QChar::Script_Tamil:
    case QChar::Script_Telugu:
    case QChar::Script_Kannada:
    case QChar::Script_Malayalam:
    case QChar::Script_Sinhala:
    case QChar::Script_Thai:
    case QChar::Script_Tibetan:
    case QChar::Script_Myanmar:
    case QChar::Script_Khmer:
        return true;
    default:
        return false;
    }
}

// Joiners stay with the text they join, whichever script it is in.
bool joiner(char32_t u)
{
    return u == 0x200C || u == 0x200D;
}

// What never begins a character: combining marks, joiners and emoji skin
// tones belong to the character before them, if it is no control.
bool extendsPrevious(char32_t u)
{
    switch (QChar::category(u)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return true;
    default:
        return joiner(u) || (u >= 0x1F3FB && u <= 0x1F3FF);
    }
}

bool control(char32_t u)
{
    switch (QChar::category(u)) {
    case QChar::Other_Control:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
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

    // A character is passed on once the next one begins, since the first
    // character of a stretch may still belong to the last one of the stretch
    // before.
    qsizetype pendingStart = 0;
    qsizetype pendingLength = 0;
    bool stopped = false;
    const auto found = [&](qsizetype start, qsizetype length, bool extends) {
        if (extends && pendingLength > 0
            && !control(scalarAt(text, pendingStart + pendingLength - 1))) {
            pendingLength += length;
            return;
        }
        if (pendingLength > 0 && !f(pendingStart, pendingLength))
            stopped = true;
        pendingStart = start;
        pendingLength = length;
    };
    const auto stretch = [&](qsizetype from, qsizetype to) {
        const QStringView part = text.sliced(from, to - from);
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, part);
        qsizetype start = 0;
        for (qsizetype end = finder.toNextBoundary(); end > 0 && !stopped;
             end = finder.toNextBoundary()) {
            found(from + start, end - start, start == 0 && extendsPrevious(scalarAt(part, 0)));
            start = end;
        }
    };

    qsizetype from = 0;
    bool inSyllabic = false;
    for (qsizetype i = 0; i < text.size() && !stopped;) {
        const char32_t u = scalarAt(text, i);
        if (!joiner(u) && syllabic(u) != inSyllabic) {
            if (i > from)
                stretch(from, i);
            from = i;
            inSyllabic = !inSyllabic;
        }
        i += QChar::requiresSurrogates(u) ? 2 : 1;
    }
    if (!stopped)
        stretch(from, text.size());
    if (!stopped && pendingLength > 0)
        f(pendingStart, pendingLength);
}

char32_t firstScalar(QStringView ch)
{
    return ch.isEmpty() ? 0 : scalarAt(ch, 0);
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
