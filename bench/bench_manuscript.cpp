// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Times the manuscript pipeline (clean, cut into fragments, list Latin letters)
// on a text at the length limit and on a multi-megabyte paste.
#include "characters.h"
#include "manuscript.h"
#include "prose.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QStringList>

#include <algorithm>
#include <cstdio>

namespace {

// Prose-like text: the library's paragraphs and a few lines of dialogue with
// «ёлочки», curly quotes, ellipses, en dashes, a few Latin words, no-break
// spaces and Windows line breaks, shuffled into paragraphs.
QString makeText(qsizetype units, quint32 seed)
{
    QStringList sentences;
    for (const Excerpt &e : Prose::excerpts())
        sentences.append(e.text);
    sentences.append(QStringLiteral("«Ну что же, — сказал он, — пойдём?» Она кивнула."));
    sentences.append(QStringLiteral("На вывеске было написано Café de Paris, а ниже — Hotel."));
    sentences.append(QStringLiteral("\u201CДа\u2026\u201D \u2013 ответил\u00A0Иван Petrovich."));
    sentences.append(QStringLiteral("Было 5\u00A0часов, и\tчай остыл."));

    QRandomGenerator rng(seed);
    QString text;
    text.reserve(units + 400);
    while (text.size() < units) {
        const int inParagraph = 2 + int(rng.bounded(5u));
        for (int i = 0; i < inParagraph; ++i) {
            text += sentences.at(qsizetype(rng.bounded(quint32(sentences.size()))));
            text += u' ';
        }
        text += rng.bounded(2u) ? QStringLiteral("\r\n\r\n") : QStringLiteral("\n");
    }
    return text;
}

struct Figures
{
    double min = 0;
    double median = 0;
    qsizetype fragments = 0;
    qsizetype foreign = 0;
};

Figures measure(const QString &text, int runs)
{
    QList<double> times;
    Figures f;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        const QString cleaned = Manuscript::normalize(text);
        const QStringList fragments = Manuscript::chunks(cleaned);
        const QStringList foreign = Manuscript::foreignCharacters(cleaned);
        times.append(double(timer.nsecsElapsed()) / 1e6);
        f.fragments = fragments.size();
        f.foreign = foreign.size();
    }
    std::sort(times.begin(), times.end());
    f.min = times.first();
    f.median = times.at(times.size() / 2);
    return f;
}

void report(const char *name, const QString &text, int runs)
{
    const Figures f = measure(text, runs);
    std::printf("%-28s %9lld chars  min %8.2f ms  median %8.2f ms  (%lld fragments, %lld Latin "
                "letters, %d runs)\n",
                name, static_cast<long long>(Characters::count(text)), f.min, f.median,
                static_cast<long long>(f.fragments), static_cast<long long>(f.foreign), runs);
}

} // namespace

int main()
{
    QString limit = makeText(Manuscript::maxLength, 1);
    limit.truncate(Characters::prefixLength(limit, Manuscript::maxLength));
    report("text at the limit", limit, 21);

    const QString paste = makeText(5 * 1024 * 1024 / 2, 2); // 5 MB of UTF-16
    report("5 MB paste", paste, 9);

    // One emoji takes the whole text off the fast path of character counting.
    report("5 MB paste, one emoji", paste + QStringLiteral(" 👍🏽"), 9);
    return 0;
}
