// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Feeds arbitrary UTF-16, lone surrogates included, to the manuscript
// functions and aborts when a promise of manuscript.h does not hold.
#include "characters.h"
#include "manuscript.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void fail(const char *what)
{
    std::fprintf(stderr, "manuscript: %s\n", what);
    std::abort();
}

// Fragments are whole words packed up to the length limit; only a single word
// may exceed it.
void checkFragments(const QStringList &fragments)
{
    for (const QString &fragment : fragments) {
        if (fragment.isEmpty() || fragment.startsWith(u' ') || fragment.endsWith(u' '))
            fail("a fragment is empty or has a space at an end");
        if (Characters::count(fragment) > Manuscript::fragmentLength && fragment.contains(u' '))
            fail("a fragment of several words is over the limit");
    }
}

void checkForeign(const QStringList &letters)
{
    for (qsizetype i = 0; i < letters.size(); ++i) {
        const QString &l = letters[i];
        const char16_t u = l.size() == 1 ? l.front().unicode() : 0;
        if (!((u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z')))
            fail("a foreign character is not one ASCII letter");
        if (i > 0 && !(letters[i - 1] < l))
            fail("foreign characters are not sorted and distinct");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QString text(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(text.data(), data, size / 2 * 2);

    const QString cleaned = Manuscript::normalize(text);
    if (Characters::count(cleaned) > Manuscript::maxLength)
        fail("the cleaned text is over the length limit");

    const QStringList fragments = Manuscript::chunks(cleaned);
    checkFragments(fragments);
    if (fragments.join(u' ') != cleaned)
        fail("the fragments do not join back to the cleaned text");
    checkFragments(Manuscript::chunks(text));

    checkForeign(Manuscript::foreignCharacters(text));
    checkForeign(Manuscript::foreignCharacters(cleaned));
    return 0;
}
