// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "generator.h"

#include "characters.h"
#include "prose.h"
#include "russian_layout.h"
#include "words.h"

#include <QSet>

#include <algorithm>
#include <functional>

namespace {

// Exercises stop growing once the text reaches this many characters plus one
// (the separating spaces are counted as if every item had one).
constexpr qsizetype targetLength = 150;
// Base weight of an unlocked letter missing from the frequency table.
constexpr double unknownLetterWeight = 0.005;

bool chance(QRandomGenerator &rng, double p)
{
    return rng.generateDouble() < p;
}

bool coin(QRandomGenerator &rng)
{
    return chance(rng, 0.5);
}

// A uniform integer in [low, high].
int between(QRandomGenerator &rng, int low, int high)
{
    return low + int(rng.bounded(quint32(high - low + 1)));
}

const QString &pick(const QStringList &list, QRandomGenerator &rng)
{
    return list.at(qsizetype(rng.bounded(quint32(list.size()))));
}

QString fillTo150(const std::function<QString()> &makeItem)
{
    QStringList items;
    qsizetype total = 0;
    do {
        items.append(makeItem());
        total += Characters::count(items.last()) + 1;
    } while (total < targetLength);
    return items.join(u' ');
}

bool isVowel(const QString &letter)
{
    return RussianLayout::vowels().contains(letter);
}

bool isSign(const QString &letter)
{
    return letter == QStringLiteral("ь") || letter == QStringLiteral("ъ");
}

} // namespace

namespace Generator {

LetterWeights letterWeights(const QStringList &unlocked, const QStringList &newKeys,
                            const ProfileData &profile)
{
    LetterWeights weights;
    weights.reserve(unlocked.size());
    for (const QString &c : unlocked) {
        double w = Words::frequency(c).value_or(unknownLetterWeight);
        if (newKeys.contains(c))
            w *= 4.0;
        // Ten attempts before the error rate says anything about the learner.
        const auto stat = profile.keyStats.constFind(c);
        if (stat != profile.keyStats.cend() && stat->attempts > 9)
            w *= 1.0 + 5.0 * stat->errEMA;
        weights.append({c, w});
    }
    return weights;
}

QString weightedPick(const LetterWeights &weights, QRandomGenerator &rng)
{
    if (weights.isEmpty())
        return QStringLiteral("а");
    double total = 0.0;
    for (const auto &entry : weights)
        total += entry.second;
    if (!(total > 0.0))
        return weights.first().first;
    double r = rng.generateDouble() * total;
    for (const auto &[letter, weight] : weights) {
        r -= weight;
        if (r <= 0.0)
            return letter;
    }
    return weights.last().first; // rounding left a sliver of r
}

QString pseudoWord(const LetterWeights &weights, QRandomGenerator &rng)
{
    LetterWeights vowels;
    LetterWeights consonants;
    for (const auto &entry : weights) {
        if (isVowel(entry.first))
            vowels.append(entry);
        else if (!isSign(entry.first))
            consonants.append(entry);
    }

    QString word;
    if (consonants.isEmpty()) {
        for (int n = between(rng, 2, 4); n > 0; --n)
            word += weightedPick(vowels, rng);
    } else if (vowels.isEmpty()) {
        for (int n = between(rng, 2, 3); n > 0; --n)
            word += weightedPick(consonants, rng);
    } else {
        for (int k = between(rng, 1, 3); k > 0; --k) {
            if (chance(rng, 0.85))
                word += weightedPick(consonants, rng);
            word += weightedPick(vowels, rng);
        }
        if (chance(rng, 0.3))
            word += weightedPick(consonants, rng);
    }
    return word;
}

QStringList lessonWords(const Lesson &lesson)
{
    const QStringList unlocked = Course::unlockedLetters(lesson.id);
    const QSet<QString> usable(unlocked.cbegin(), unlocked.cend());
    QStringList pool;
    for (const QString &word : Words::common()) {
        const QStringList letters = Characters::split(word);
        if (letters.size() < 2)
            continue;
        if (std::all_of(letters.cbegin(), letters.cend(),
                        [&usable](const QString &c) { return usable.contains(c); }))
            pool.append(word);
    }
    return pool;
}

QString lettersExercise(const Lesson &lesson, const ProfileData &profile, QRandomGenerator &rng)
{
    const LetterWeights weights =
        letterWeights(Course::unlockedLetters(lesson.id), lesson.newKeys, profile);
    const QStringList pool = lessonWords(lesson);
    QStringList fresh;
    if (lesson.newKeys.isEmpty()) {
        fresh = pool;
    } else {
        for (const QString &word : pool) {
            const QStringList letters = Characters::split(word);
            if (std::any_of(letters.cbegin(), letters.cend(),
                            [&lesson](const QString &c) { return lesson.newKeys.contains(c); }))
                fresh.append(word);
        }
    }

    return fillTo150([&] {
        const double r = rng.generateDouble();
        if (!fresh.isEmpty() && r < 0.35)
            return pick(fresh, rng);
        // A handful of words repeated over and over teaches less than
        // pseudo-words do.
        if (r < 0.65 && pool.size() >= 12)
            return pick(pool, rng);
        return pseudoWord(weights, rng);
    });
}

QString capitalsExercise(QRandomGenerator &rng)
{
    return fillTo150([&rng] {
        const double r = rng.generateDouble();
        if (r < 0.4)
            return pick(Words::properNames(), rng);
        if (r < 0.7)
            return Characters::capitalized(pick(Words::common(), rng));
        return pick(Words::common(), rng);
    });
}

QString yoExercise(QRandomGenerator &rng)
{
    return fillTo150([&rng] {
        return chance(rng, 0.6) ? pick(Words::yoWords(), rng) : pick(Words::common(), rng);
    });
}

QString makeSentence(const QStringList &marks, QRandomGenerator &rng)
{
    const int n = between(rng, 3, 5);
    QStringList words;
    for (int i = 0; i < n; ++i)
        words.append(pick(Words::common(), rng));
    words.first() = Characters::capitalized(words.first());
    const qsizetype h = n / 2;
    const auto joined = [&words](qsizetype from, qsizetype to) {
        return words.mid(from, to - from).join(u' ');
    };

    QString body;
    if (marks.contains(QStringLiteral("«"))) {
        body = words.first() + QStringLiteral(" «") + joined(1, n) + QStringLiteral("»");
    } else if (marks.contains(QStringLiteral("—")) && coin(rng)) {
        body = joined(0, h) + QStringLiteral(" — ") + joined(h, n);
    } else if (marks.contains(QStringLiteral(":")) && coin(rng)) {
        body = joined(0, h) + QStringLiteral(": ") + joined(h, n);
    } else if (marks.contains(QStringLiteral(","))) {
        body = joined(0, h) + QStringLiteral(", ") + joined(h, n);
    } else {
        body = joined(0, n);
    }

    QStringList ends;
    for (const QString &mark : marks) {
        if (mark == QStringLiteral("?") || mark == QStringLiteral("!") || mark == QStringLiteral("."))
            ends.append(mark);
    }
    return body + (ends.isEmpty() ? QStringLiteral(".") : pick(ends, rng));
}

QString punctuationExercise(const QStringList &marks, QRandomGenerator &rng)
{
    return fillTo150([&] { return makeSentence(marks, rng); });
}

QString exercise(const Lesson &lesson, const ProfileData &profile, QRandomGenerator &rng)
{
    switch (lesson.kind) {
    case LessonKind::letters: return lettersExercise(lesson, profile, rng);
    case LessonKind::capitals: return capitalsExercise(rng);
    case LessonKind::yo: return yoExercise(rng);
    case LessonKind::punctuation: return punctuationExercise(lesson.marks, rng);
    case LessonKind::prose: {
        const auto &excerpts = Prose::excerpts();
        return excerpts.at(qsizetype(rng.bounded(quint32(excerpts.size())))).text;
    }
    }
    return {};
}

} // namespace Generator
