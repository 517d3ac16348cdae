// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "drill.h"

#include "characters.h"
#include "course.h"
#include "generator.h"
#include "key_confidence.h"
#include "russian_layout.h"
#include "words.h"

#include <QSet>

#include <algorithm>
#include <numeric>

namespace {

constexpr qsizetype targetLength = 150;
// The marks a drill may add once taught; the dash and the quotes stay with
// the sentences of their own lessons.
const QStringList drillMarks{QStringLiteral(","), QStringLiteral("."), QStringLiteral("?"),
                             QStringLiteral("!"), QStringLiteral(":")};

qint64 reachedLesson(const ProfileData &profile)
{
    return Course::lesson(profile.currentLessonID).id;
}

bool chance(QRandomGenerator &rng, double p)
{
    return rng.generateDouble() < p;
}

const QString &pick(const QStringList &list, QRandomGenerator &rng)
{
    return list.at(qsizetype(rng.bounded(quint32(list.size()))));
}

// What the course has taught besides the letters, by the lesson reached.
struct Taught
{
    bool capitals = false;
    QStringList marks;
};

Taught taughtUpTo(qint64 lesson)
{
    Taught t;
    for (const Lesson &l : Course::lessons()) {
        if (l.id > lesson)
            break;
        t.capitals = t.capitals || l.kind == LessonKind::capitals;
        for (const QString &mark : l.marks) {
            if (drillMarks.contains(mark) && !t.marks.contains(mark))
                t.marks.append(mark);
        }
    }
    return t;
}

// Words of two letters or more typeable with `usable` that hold `key`, each once.
QStringList wordsHolding(const QString &key, const QSet<QString> &usable)
{
    QStringList found;
    for (const QStringList *list :
         {&Words::common(), &Words::yoWords(), &Drill::rareLetterWords()}) {
        for (const QString &word : *list) {
            const QStringList letters = Characters::split(word);
            if (letters.size() >= 2 && letters.contains(key) && !found.contains(word)
                && std::all_of(letters.cbegin(), letters.cend(),
                               [&usable](const QString &c) { return usable.contains(c); }))
                found.append(word);
        }
    }
    return found;
}

// A pronounceable non-word with `key` at its heart: a vowel after a
// consonant, a consonant before a vowel, a sign between a consonant and a
// vowel (for "ъ" one of the vowels it stands before in real words).
class AroundKey
{
public:
    explicit AroundKey(const LetterWeights &weights)
    {
        for (const auto &entry : weights) {
            if (RussianLayout::vowels().contains(entry.first))
                m_vowels.append(entry);
            else if (!isSign(entry.first))
                m_consonants.append(entry);
            if (QStringLiteral("еёюя").contains(entry.first))
                m_iotated.append(entry);
        }
    }

    QString make(const QString &key, QRandomGenerator &rng) const
    {
        QString core;
        if (RussianLayout::vowels().contains(key))
            core = (chance(rng, 0.85) ? consonant(rng) : QString()) + key;
        else if (isSign(key))
            core = consonant(rng) + key
                   + (key == u"ъ" && !m_iotated.isEmpty() ? Generator::weightedPick(m_iotated, rng)
                                                          : vowel(rng));
        else
            core = key + vowel(rng);
        const QString before = chance(rng, 0.5) ? syllable(rng) : QString();
        const QString after = chance(rng, 0.5)   ? syllable(rng)
                              : chance(rng, 0.3) ? consonant(rng)
                                                 : QString();
        return before + core + after;
    }

private:
    static bool isSign(const QString &c) { return c == u"ь" || c == u"ъ"; }

    QString consonant(QRandomGenerator &rng) const
    {
        return m_consonants.isEmpty() ? QString() : Generator::weightedPick(m_consonants, rng);
    }
    QString vowel(QRandomGenerator &rng) const
    {
        return m_vowels.isEmpty() ? QString() : Generator::weightedPick(m_vowels, rng);
    }
    QString syllable(QRandomGenerator &rng) const
    {
        return (chance(rng, 0.85) ? consonant(rng) : QString()) + vowel(rng);
    }

    LetterWeights m_vowels;
    LetterWeights m_consonants;
    LetterWeights m_iotated;
};

} // namespace

namespace Drill {

QStringList drillable(const ProfileData &profile)
{
    return Course::unlockedLetters(reachedLesson(profile));
}

QStringList focusKeys(const ProfileData &profile)
{
    QStringList keys = drillable(profile);
    std::reverse(keys.begin(), keys.end()); // later-taught first on a tie
    QList<std::pair<QString, KeyConfidence>> ranked;
    for (const QString &key : keys)
        ranked.append({key, KeyConfidence::of(profile.keyStats.value(key))});
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto &a, const auto &b) { return a.second.lessSureThan(b.second); });
    QStringList focus;
    for (qsizetype i = 0; i < std::min(maxFocusKeys, ranked.size()); ++i)
        focus.append(ranked.at(i).first);
    return focus;
}

QStringList keysFor(const QStringList &wanted, const ProfileData &profile)
{
    const QStringList unlocked = drillable(profile);
    QStringList keys;
    for (const QString &key : wanted) {
        if (unlocked.contains(key) && !keys.contains(key))
            keys.append(key);
    }
    return keys.isEmpty() ? focusKeys(profile) : keys;
}

bool offered(const ProfileData &profile)
{
    qint64 events = 0;
    for (const KeyStat &stat : profile.keyStats)
        events = saturatingAdd(events, stat.attempts);
    return events >= offerEvents;
}

QString title(const QStringList &keys)
{
    return QStringLiteral("Работа над ошибками: ") + keys.join(QStringLiteral(", "));
}

QString exercise(const QStringList &focusKeys, const ProfileData &profile, QRandomGenerator &rng)
{
    const QStringList unlocked = drillable(profile);
    const QSet<QString> usable(unlocked.cbegin(), unlocked.cend());
    const QStringList keys = keysFor(focusKeys, profile);

    const Taught taught = taughtUpTo(reachedLesson(profile));
    // The focus keys weigh four times their frequency in the letters around
    // them too, as a lesson's new keys do.
    const AroundKey around(Generator::letterWeights(unlocked, keys, profile));
    QList<QStringList> words;
    QList<double> shares;
    for (const QString &key : keys) {
        words.append(wordsHolding(key, usable));
        // Each key gets words in proportion to how often it may plausibly go
        // wrong, so a key with little evidence gets its share as well.
        const KeyConfidence c = KeyConfidence::of(profile.keyStats.value(key));
        shares.append(c.errorRate + c.spread);
    }
    const double allShares = std::accumulate(shares.cbegin(), shares.cend(), 0.0);

    QStringList items;
    qsizetype total = 0;
    bool sentenceStart = taught.capitals;
    // Smooth weighted turns: every item credits each key with its share and
    // goes to the key with the most credit, so the shares hold in every
    // stretch of the text, not just on average.
    QList<double> credit(keys.size(), 0.0);
    credit[qsizetype(rng.bounded(quint32(keys.size())))] = allShares;
    do {
        for (qsizetype i = 0; i < keys.size(); ++i)
            credit[i] += shares.at(i);
        const qsizetype k = std::max_element(credit.cbegin(), credit.cend()) - credit.cbegin();
        credit[k] -= allShares;
        // A key with a mere handful of words would have them repeated until
        // they are typed from memory, not from the fingers.
        const double wordShare = words.at(k).size() >= 4 ? 0.5 : 0.2;
        QString item = !words.at(k).isEmpty() && chance(rng, wordShare)
                           ? pick(words.at(k), rng)
                           : around.make(keys.at(k), rng);
        if (taught.capitals && (sentenceStart || chance(rng, 0.1)))
            item = Characters::capitalized(item);
        sentenceStart = false;
        if (!taught.marks.isEmpty() && chance(rng, 0.12)) {
            const QString mark = pick(taught.marks, rng);
            item += mark;
            sentenceStart = mark != u"," && mark != u":";
        }
        items.append(item);
        total += Characters::count(item) + 1;
    } while (total < targetLength);
    return items.join(u' ');
}

} // namespace Drill
