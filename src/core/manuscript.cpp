// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "manuscript.h"

#include "characters.h"

#include <array>

namespace {

// A unit below U+0300 can neither extend the character before it nor be a
// prepended mark, so it always starts a character of its own (CR LF aside).
bool latin1(QChar c)
{
    return c.unicode() < 0x300;
}

bool asciiLetter(char16_t u)
{
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}

// The UTF-16 length of the first n characters. Pastes run to megabytes, and
// finding character boundaries costs time in proportion to the text given, so
// only a window that surely holds the cut is examined, doubled until it does.
qsizetype cutAfter(QStringView text, qsizetype n)
{
    if (text.size() <= n) // n units never hold more than n characters
        return text.size();
    for (qsizetype window = 2 * n;; window *= 2) {
        if (window >= text.size())
            return Characters::prefixLength(text, n);
        // Boundaries before the window's end are those of the whole text, so
        // once character n + 1 ends inside the window the cut after n is final.
        const QStringView part = text.first(window);
        if (Characters::prefixLength(part, n + 1) < part.size())
            return Characters::prefixLength(part, n);
    }
}

} // namespace

namespace Manuscript {

QString normalize(QStringView text)
{
    // One pass does the replacements and the collapsing of blanks: none of
    // the replacements produces a blank, so doing them first changes nothing.
    QString out;
    out.reserve(text.size());
    bool pendingSpace = false;
    const auto put = [&](auto piece) {
        if (pendingSpace && !out.isEmpty())
            out += u' ';
        pendingSpace = false;
        out += piece;
    };
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t u = text[i].unicode();
        switch (u) {
        case u'\r':
            if (i + 1 < size && text[i + 1] == u'\n') {
                ++i;
                pendingSpace = true;
            } else {
                put(QChar(u)); // a lone CR is kept
            }
            break;
        case u' ':
        case u'\n':
        case u'\t':
        case u'\u00A0': // no-break space
        case u'\u2009': // thin space
            pendingSpace = true;
            break;
        case u'\u2026': put(QLatin1StringView("...")); break;
        case u'\u2013': put(QChar(u'\u2014')); break; // en dash to em dash
        case u'\u201C': put(QChar(u'«')); break;
        case u'\u201D': put(QChar(u'»')); break;
        default: put(QChar(u)); break;
        }
    }
    out.truncate(cutAfter(out, maxLength));
    // A cut just after a blank would leave it trailing, where fragments could
    // not give it back.
    if (out.endsWith(u' '))
        out.chop(1);
    return out;
}

QStringList chunks(QStringView text)
{
    QStringList fragments;
    QString current;
    qsizetype currentLength = 0;
    for (QStringView word : text.tokenize(u' ', Qt::SkipEmptyParts)) {
        const qsizetype length = Characters::count(word);
        if (current.isEmpty()) {
            current = word.toString();
            currentLength = length;
        } else if (currentLength + 1 + length <= fragmentLength) {
            current += u' ';
            current += word;
            currentLength += 1 + length;
        } else {
            fragments.append(current);
            current = word.toString();
            currentLength = length;
        }
    }
    if (!current.isEmpty())
        fragments.append(current);
    return fragments;
}

QStringList foreignCharacters(QStringView text)
{
    std::array<bool, 128> seen{};
    bool needCharacters = false;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t u = text[i].unicode();
        // The Kelvin sign is the one character outside ASCII whose canonical
        // form is a Latin letter: the learner sees a K that the layout cannot
        // type, so it is reported as one.
        if (u == u'\u212A') {
            needCharacters = true;
            break;
        }
        if (!asciiLetter(u))
            continue;
        // An ASCII letter between Latin-1 neighbours is a character of its
        // own; next to anything else (an accent, a prepended sign) it may be
        // part of a larger one, which is not a Latin letter.
        if ((i == 0 || latin1(text[i - 1])) && (i + 1 == size || latin1(text[i + 1]))) {
            seen[u] = true;
        } else {
            needCharacters = true;
            break;
        }
    }
    if (needCharacters) {
        seen.fill(false);
        for (const QString &ch : Characters::split(text)) {
            // Characters are told apart by their canonical form, so that is
            // the letter to record, never the first unit as pasted.
            const QString letter = Characters::canonical(ch);
            if (letter.size() == 1 && asciiLetter(letter.front().unicode()))
                seen[letter.front().unicode()] = true;
        }
    }
    QStringList letters;
    for (char16_t u = 0; u < 128; ++u) {
        if (seen[u])
            letters.append(QString(QChar(u)));
    }
    return letters;
}

} // namespace Manuscript
