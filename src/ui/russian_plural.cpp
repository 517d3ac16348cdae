// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "russian_plural.h"

namespace RussianPlural {

QString form(qint64 n, const Noun &noun)
{
    // The magnitude's last two digits decide; unsigned so that the most
    // negative number has one too.
    const quint64 magnitude = n < 0 ? 0 - quint64(n) : quint64(n);
    const quint64 tens = magnitude % 100;
    const quint64 units = magnitude % 10;
    const char16_t *text = noun.many;
    if (tens < 11 || tens > 14) {
        if (units == 1)
            text = noun.one;
        else if (units >= 2 && units <= 4)
            text = noun.few;
    }
    return QString::fromUtf16(text);
}

QString counted(qint64 n, const Noun &noun)
{
    return QString::number(n) + u' ' + form(n, noun);
}

} // namespace RussianPlural
