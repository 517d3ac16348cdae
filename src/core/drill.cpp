// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "drill.h"

#include "characters.h"
#include "generator.h"
#include "key_confidence.h"
#include "profile_statistics.h"
#include "russian_layout.h"
#include "words.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <numeric>

namespace {

constexpr qsizetype targetLength = 150;
// A word comes at most this many times in one drill.
constexpr int maxUses = 2;

// How often the course shows each character, lower-cased, and Shift: its
// share of the characters of a few exercises of every lesson, made with a
// fixed seed for a learner without statistics. Made once, on first use.
const QHash<QString, double> &courseShares()
{
    static const QHash<QString, double> shares = [] {
        QHash<QString, double> counts;
        double all = 0.0;
        for (const Lesson &lesson : Course::lessons()) {
            for (quint32 seed = 1; seed <= 4; ++seed) {
                QRandomGenerator rng(seed);
                for (const QString &c : Characters::split(Generator::exercise(lesson, {}, rng))) {
                    if (c == u" ")
                        continue;
                    counts[Characters::lower(c)] += 1.0;
                    if (RussianLayout::needsShift(c))
                        counts[Drill::shiftKey.toString()] += 1.0;
                    all += 1.0;
                }
            }
        }
        for (double &n : counts)
            n /= all;
        return counts;
    }();
    return shares;
}

// The rarity weight's reference: a target the course shows at least this
// often weighs 1; one it never shows, the most.
constexpr double commonShare = 0.02;
constexpr double maxRarityWeight = 4.0;
// Marks and Shift come with words of at most this many letters, so that they
// come often.
constexpr qsizetype markWordLength = 4;
// The share of a mark's or Shift's words that hold one of the weakest letters.
constexpr double carrierShare = 0.9;

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
    QStringList marks; // in the order the course teaches them
};

Taught taughtUpTo(qint64 lesson)
{
    Taught t;
    for (const Lesson &l : Course::lessons()) {
        if (l.id > lesson)
            break;
        t.capitals = t.capitals || l.kind == LessonKind::capitals;
        for (const QString &mark : l.marks) {
            if (!t.marks.contains(mark))
                t.marks.append(mark);
        }
    }
    return t;
}

bool isLetter(const QString &target)
{
    return target.size() == 1 && target.front().isLetter();
}

// ---- Russian spelling habits, for the pseudo-words
//
// Which letter may follow which: what the school rules say (жи-ши, ча-ща,
// чу-щу, no ы after к г х), where the signs go, that э opens a word or
// follows a vowel and й follows a vowel. Loans break a few of these
// (парашют, мэр); made-up words never do.

const QString vowelLetters = QStringLiteral("аоуыэеиюяё");
const QString iotated = QStringLiteral("еёюя");
const QString hushing = QStringLiteral("жшчщ");
const QString velar = QStringLiteral("кгх");
// The prefixes a hard sign ends, written with the letters they need.
const QStringList hardSignPrefixes{
    QStringLiteral("в"),   QStringLiteral("вз"),  QStringLiteral("из"), QStringLiteral("об"),
    QStringLiteral("от"),  QStringLiteral("под"), QStringLiteral("над"), QStringLiteral("раз"),
    QStringLiteral("с"),   QStringLiteral("без"), QStringLiteral("пред")};

bool isVowel(QStringView c)
{
    return c.size() == 1 && vowelLetters.contains(c.front());
}
bool isSign(QStringView c)
{
    return c == u"ь" || c == u"ъ";
}
bool isConsonant(QStringView c)
{
    return !isVowel(c) && !isSign(c) && c != u"й";
}

// Whether `b` may follow `a` inside a word; `a` empty: `b` opens the word.
// The hard sign is placed only after a prefix, never by this rule.
bool mayFollow(QStringView a, QStringView b)
{
    if (b == u"ъ")
        return false;
    if (a.isEmpty())
        return !isSign(b) && b != u"ы" && b != u"й";
    if (a == u"ъ")
        return iotated.contains(b.front());
    if (a == u"ь")
        return iotated.contains(b.front()) || b == u"и" || isConsonant(b);
    if (b == u"ь")
        return isConsonant(a) && !velar.contains(a.front()) && a != u"ц";
    if (a == u"й")
        return isConsonant(b);
    if (b == u"й")
        return isVowel(a);
    if (a == u"э")
        return !isVowel(b);
    if (b == u"э")
        return isVowel(a) && a != u"ы";
    if (b == u"ы")
        return isConsonant(a) && !hushing.contains(a.front()) && !velar.contains(a.front());
    if (b == u"я" || b == u"ю")
        return !(isConsonant(a)
                 && (hushing.contains(a.front()) || velar.contains(a.front()) || a == u"ц"));
    if (isVowel(a) && isVowel(b))
        return a != b && a != u"ы";
    return true;
}

// The whole word: each pair as mayFollow says (a hard sign only at a prefix's
// end), no three vowels or three consonants in a row, one ё at most.
bool keepsSpelling(const QStringList &letters)
{
    int vowelsInRow = 0;
    int consonantsInRow = 0;
    for (qsizetype i = 0; i < letters.size(); ++i) {
        const QString &c = letters.at(i);
        if (c == u"ъ") {
            if (!hardSignPrefixes.contains(letters.mid(0, i).join(QString()))
                || i + 1 >= letters.size() || !iotated.contains(letters.at(i + 1).front()))
                return false;
        } else if (!mayFollow(i > 0 ? QStringView(letters.at(i - 1)) : QStringView(), c)) {
            return false;
        }
        vowelsInRow = isVowel(c) ? vowelsInRow + 1 : 0;
        consonantsInRow = isConsonant(c) ? consonantsInRow + 1 : 0;
        if (vowelsInRow > 2 || consonantsInRow > 2)
            return false;
    }
    return letters.count(QStringLiteral("ё")) <= 1;
}

// Whether a word says a syllable twice running ("фофо"): a stammer, not a word.
bool stutters(const QStringList &letters)
{
    for (qsizetype i = 0; i + 3 < letters.size(); ++i) {
        if (letters.at(i) == letters.at(i + 2) && letters.at(i + 1) == letters.at(i + 3))
            return true;
    }
    return false;
}

// A pronounceable non-word with `key` at its heart, built from the unlocked
// letters by their weights, keeping to Russian spelling.
class AroundKey
{
public:
    AroundKey(const LetterWeights &weights, const QSet<QString> &usable) : m_usable(usable)
    {
        for (const auto &entry : weights) {
            if (isVowel(entry.first))
                m_vowels.append(entry);
            else if (isConsonant(entry.first))
                m_consonants.append(entry);
        }
    }

    // Empty when the letters allow no such word.
    QString make(const QString &key, QRandomGenerator &rng) const
    {
        // Vowels alone (the first lesson) make strings of them, as the course does.
        if (m_consonants.isEmpty()) {
            for (int attempt = 0; attempt < 40; ++attempt) {
                const QString word = Generator::pseudoWord(m_vowels, rng);
                if (word.contains(key))
                    return word;
            }
            return {};
        }
        for (int attempt = 0; attempt < 40; ++attempt) {
            const QStringList word = attempt < 30 ? build(key, rng) : plain(key, rng);
            if (word.size() >= 2 && word.contains(key) && word.count(key) <= 2
                && !stutters(word) && keepsSpelling(word))
                return word.join(QString());
        }
        return {};
    }

private:
    // Prefix, core around the key, suffix.
    QStringList build(const QString &key, QRandomGenerator &rng) const
    {
        QStringList w;
        if (key == u"ъ") {
            QStringList prefixes;
            for (const QString &p : hardSignPrefixes) {
                if (typeable(p))
                    prefixes << p;
            }
            if (prefixes.isEmpty())
                return {};
            w = Characters::split(pick(prefixes, rng));
            w << key;
            append(w, vowel(key, rng, iotated));
            append(w, consonant(w.last(), rng));
            if (chance(rng, 0.6))
                append(w, vowel(w.last(), rng));
            return w;
        }
        // э mostly opens a word; any other key may have a syllable before it.
        if (!(key == u"э" ? chance(rng, 0.75) : chance(rng, 0.5)))
            syllable(w, rng);
        if (key == u"ы" || (isVowel(key) && key != u"э" && chance(rng, 0.85)))
            append(w, fitting(m_consonants, last(w), key, {}, rng));
        else if (key == u"й" && (w.isEmpty() || !isVowel(w.last())))
            append(w, vowel(last(w), rng));
        else if (key == u"ь")
            append(w, fitting(m_consonants, last(w), key, {}, rng));
        w << key;
        if (isConsonant(key) || (key == u"ь" && chance(rng, 0.4)))
            append(w, vowel(key, rng, key == u"ь" ? QStringLiteral("еёюяи") : QString()));
        // Often the key once more, a syllable on: more strokes of it per word.
        if (chance(rng, 0.4) && (isConsonant(key) || (isVowel(key) && key != u"э"))) {
            if (isConsonant(key)) {
                w << key;
                append(w, vowel(key, rng));
            } else {
                append(w, fitting(m_consonants, last(w), key, {}, rng));
                w << key;
            }
        }
        if (chance(rng, 0.5))
            syllable(w, rng);
        else if (chance(rng, 0.3))
            append(w, consonant(w.last(), rng));
        return w;
    }

    // The key with one vowel or consonant beside it: the shortest word.
    QStringList plain(const QString &key, QRandomGenerator &rng) const
    {
        if (key == u"ы")
            return {fitting(m_consonants, {}, key, {}, rng), key};
        if (isVowel(key))
            return {key, consonant(key, rng)};
        if (key == u"й")
            return {vowel({}, rng), key};
        if (key == u"ь")
            return {vowel({}, rng), consonant({}, rng), key};
        return {key, vowel(key, rng)};
    }

    bool typeable(const QString &word) const
    {
        const QStringList letters = Characters::split(word);
        return std::all_of(letters.cbegin(), letters.cend(),
                           [this](const QString &c) { return m_usable.contains(c); });
    }

    static QString last(const QStringList &w) { return w.isEmpty() ? QString() : w.last(); }

    static void append(QStringList &w, const QString &letter)
    {
        if (!letter.isEmpty())
            w << letter;
    }

    // Consonant + vowel, fitting what is before it.
    void syllable(QStringList &w, QRandomGenerator &rng) const
    {
        if (chance(rng, 0.85))
            append(w, consonant(last(w), rng));
        append(w, vowel(last(w), rng));
    }

    // A letter of `from` that may follow `after` (and, for a consonant, may
    // stand before `before`); "" when none may.
    static QString fitting(const LetterWeights &from, const QString &after, const QString &before,
                           const QString &among, QRandomGenerator &rng)
    {
        LetterWeights fits;
        for (const auto &entry : from) {
            if (mayFollow(after, entry.first) && (before.isEmpty() || mayFollow(entry.first, before))
                && (among.isEmpty() || among.contains(entry.first)))
                fits.append(entry);
        }
        return fits.isEmpty() ? QString() : Generator::weightedPick(fits, rng);
    }
    QString vowel(const QString &after, QRandomGenerator &rng, const QString &among = {}) const
    {
        return fitting(m_vowels, after, {}, among, rng);
    }
    QString consonant(const QString &after, QRandomGenerator &rng) const
    {
        return fitting(m_consonants, after, {}, {}, rng);
    }

    QSet<QString> m_usable;
    LetterWeights m_vowels;
    LetterWeights m_consonants;
};

// Words of two letters or more typeable with `usable` that hold `key` (any
// word when `key` is empty), each once, at most `longest` letters.
QStringList wordsHolding(const QString &key, const QSet<QString> &usable, qsizetype longest = 99)
{
    QStringList found;
    QSet<QString> seen;
    for (const QStringList *list : {&Words::common(), &Words::yoWords(), &Drill::words()}) {
        for (const QString &word : *list) {
            const QStringList letters = Characters::split(word);
            if (letters.size() >= 2 && letters.size() <= longest
                && (key.isEmpty() || letters.contains(key)) && !seen.contains(word)
                && std::all_of(letters.cbegin(), letters.cend(),
                               [&usable](const QString &c) { return usable.contains(c); })) {
                found.append(word);
                seen.insert(word);
            }
        }
    }
    return found;
}

// The first letter of an item in capitals ("— Слово", "«Слово»").
QString withCapital(const QString &item)
{
    const QStringList chars = Characters::split(item);
    QString out;
    bool done = false;
    for (const QString &c : chars) {
        out += !done && Characters::isLetter(c) ? Characters::upper(c) : c;
        done = done || Characters::isLetter(c);
    }
    return out;
}

// A word with `mark` where Russian writes it.
QString aroundMark(const QString &mark, const QString &word)
{
    if (mark == u"—")
        return QStringLiteral("— ") + word;
    if (mark == u"«" || mark == u"»")
        return QStringLiteral("«") + word + QStringLiteral("»");
    return word + mark;
}

struct Ranked
{
    QString key;
    KeyConfidence confidence;
    double score = 0.0;
};

// The targets with their estimates, the most in need of practice first; on
// a tie the later-taught target first.
QList<Ranked> ranked(const QStringList &keys, const ProfileData &profile, QDate today)
{
    QList<Ranked> list;
    for (auto it = keys.crbegin(); it != keys.crend(); ++it) {
        const KeyConfidence c = KeyConfidence::of(profile.keyStats.value(*it), today);
        list.append({*it, c, c.plausibleRate() * Drill::rarityWeight(*it)});
    }
    std::stable_sort(list.begin(), list.end(),
                     [](const Ranked &a, const Ranked &b) { return a.score > b.score; });
    return list;
}

// The learner's own average: the mean estimate of the sure targets; NaN
// before five of them are sure.
double averageError(const QList<Ranked> &list)
{
    double sum = 0.0;
    int sure = 0;
    for (const Ranked &r : list) {
        if (r.confidence.sure) {
            sum += r.confidence.errorRate;
            ++sure;
        }
    }
    return sure >= 5 ? sum / sure : std::nan("");
}

// The first `n` keys of a ranking, the last place kept for the key that has
// most likely got worse, if one is not among the others (the ranking weighs
// rare keys up, and a common key that slips would wait behind them), else
// for `instead`, else the next in rank.
QStringList firstOf(const QList<Ranked> &list, qsizetype n, const QString &instead = {})
{
    QStringList keys;
    for (const Ranked &r : list) {
        if (keys.size() < n - 1)
            keys.append(r.key);
    }
    const Ranked *worse = nullptr;
    for (const Ranked &r : list) {
        if (r.confidence.regressionChance < KeyConfidence::suspectedBelow && !keys.contains(r.key)
            && (!worse || r.confidence.regressionChance < worse->confidence.regressionChance))
            worse = &r;
    }
    if (worse)
        keys.append(worse->key);
    else if (!instead.isEmpty() && !keys.contains(instead) && keys.size() < n)
        keys.append(instead);
    for (const Ranked &r : list) {
        if (keys.size() < n && !keys.contains(r.key))
            keys.append(r.key);
    }
    return keys;
}

} // namespace

namespace Drill {

QStringList drillable(const ProfileData &profile)
{
    return Course::unlockedLetters(reachedLesson(profile));
}

QStringList targets(const ProfileData &profile)
{
    const Taught taught = taughtUpTo(reachedLesson(profile));
    QStringList all = drillable(profile) + taught.marks;
    if (taught.capitals)
        all.append(shiftKey.toString());
    return all;
}

double rarityWeight(const QString &target)
{
    const double share = courseShares().value(target);
    return share > 0.0 ? std::clamp(std::sqrt(commonShare / share), 1.0, maxRarityWeight)
                       : maxRarityWeight;
}

QStringList focusKeys(const ProfileData &profile, QDate today)
{
    const QList<Ranked> list = ranked(targets(profile), profile, today);
    // The darkest letter of the error map, beside which the drill is offered,
    // takes the last place unless its errors were a passing slip: the
    // learner sees it and expects it drilled.
    const QMap<QString, double> levels = ProfileStatistics::keyErrorLevels(profile);
    QString darkest;
    for (const QString &letter : drillable(profile)) {
        if (levels.value(letter) > levels.value(darkest, 0.0))
            darkest = letter;
    }
    const auto it = std::find_if(list.cbegin(), list.cend(),
                                 [&darkest](const Ranked &r) { return r.key == darkest; });
    const bool slip = it == list.cend() || !(it->confidence.errorRate > averageError(list));
    return firstOf(list, maxFocusKeys, slip ? QString() : darkest);
}

QStringList keysFor(const QStringList &wanted, const ProfileData &profile, QDate today)
{
    const QStringList all = targets(profile);
    QStringList keys;
    for (const QString &key : wanted) {
        if (all.contains(key) && !keys.contains(key))
            keys.append(key);
    }
    return keys.isEmpty() ? focusKeys(profile, today) : keys;
}

bool offered(const ProfileData &profile)
{
    qint64 events = 0;
    for (const KeyStat &stat : profile.keyStats)
        events = saturatingAdd(events, stat.attempts);
    return events >= offerEvents;
}

QStringList needed(const ProfileData &profile, QDate today)
{
    const QList<Ranked> all = ranked(targets(profile), profile, today);
    const double average = averageError(all);
    if (!(average >= 0.0))
        return {};
    QList<Ranked> above;
    for (const Ranked &r : all) {
        const double rate = r.confidence.errorRate;
        if (r.confidence.regressed
            || (r.confidence.sure && rate >= 2.0 * average && rate >= average + 0.04))
            above.append(r);
    }
    return firstOf(above, maxFocusKeys);
}

QStringList consolidation(const Lesson &lesson, const ProfileData &profile, QDate today)
{
    QStringList taught = lesson.newKeys;
    for (const QString &mark : lesson.marks) {
        if (!taught.contains(mark))
            taught.append(mark);
    }
    if (lesson.kind == LessonKind::capitals)
        taught.append(shiftKey.toString());
    const QStringList all = targets(profile);
    QList<Ranked> unsure;
    for (const Ranked &r : ranked(taught, profile, today)) {
        if (all.contains(r.key) && (!r.confidence.sure || r.confidence.errorRate >= consolidateFrom))
            unsure.append(r);
    }
    return firstOf(unsure, maxFocusKeys);
}

QString exercise(const QStringList &wanted, const ProfileData &profile, QDate today,
                 QRandomGenerator &rng)
{
    const QStringList unlocked = drillable(profile);
    const QSet<QString> usable(unlocked.cbegin(), unlocked.cend());
    const QStringList keys = keysFor(wanted, profile, today);
    const Taught taught = taughtUpTo(reachedLesson(profile));

    QStringList letterKeys;
    for (const QString &key : keys) {
        if (isLetter(key))
            letterKeys.append(key);
    }
    // The focus letters weigh four times their frequency in the letters
    // around them too, as a lesson's new keys do.
    const AroundKey around(Generator::letterWeights(unlocked, letterKeys, profile), usable);
    const QStringList shortWords = wordsHolding({}, usable, markWordLength);
    // Marks and Shift ride on short words; mostly on words holding the
    // weakest letters (the drill's own, else the ranking's first), so that
    // those strokes practise them as well: a drill of marks late in the
    // course is then a drill of the letters still weak too.
    QStringList weakest = letterKeys;
    for (const Ranked &r : ranked(unlocked, profile, today)) {
        if (weakest.size() < maxFocusKeys && !weakest.contains(r.key))
            weakest.append(r.key);
    }
    QStringList carriers;
    for (const QString &letter : weakest)
        carriers += wordsHolding(letter, usable, markWordLength + 1);
    QList<QStringList> words;
    QList<double> shares;
    for (const QString &key : keys) {
        words.append(isLetter(key) ? wordsHolding(key, usable) : shortWords);
        // Each key gets items in proportion to how often it may plausibly go
        // wrong, weighed as the ranking weighs it, so a key with little
        // evidence gets its share as well, and a rare one more.
        shares.append(KeyConfidence::of(profile.keyStats.value(key), today).plausibleRate()
                      * rarityWeight(key));
    }
    const double allShares = std::accumulate(shares.cbegin(), shares.cend(), 0.0);

    QHash<QString, int> uses;
    // A word of `list` not yet used up; "" when all are.
    const auto fresh = [&](const QStringList &list) {
        QStringList left;
        for (const QString &w : list) {
            if (uses.value(w) < maxUses)
                left.append(w);
        }
        return left.isEmpty() ? QString() : pick(left, rng);
    };
    // A pseudo-word around `key`, not yet used up; "" when none can be made.
    const auto madeUp = [&](const QString &key) {
        for (int attempt = 0; attempt < 8; ++attempt) {
            const QString w = around.make(key, rng);
            if (!w.isEmpty() && uses.value(w) < maxUses)
                return w;
        }
        return QString();
    };

    QStringList items;
    qsizetype total = 0;
    bool sentenceStart = taught.capitals;
    // Smooth weighted turns: every item credits each key with its share and
    // goes to the key with the most credit, so the shares hold in every
    // stretch of the text, not just on average.
    QList<double> credit(keys.size(), 0.0);
    credit[qsizetype(rng.bounded(quint32(keys.size())))] = allShares;
    int idle = 0;
    while (total < targetLength && idle < 50) {
        for (qsizetype i = 0; i < keys.size(); ++i)
            credit[i] += shares.at(i);
        const qsizetype k = std::max_element(credit.cbegin(), credit.cend()) - credit.cbegin();
        credit[k] -= allShares;
        const QString &key = keys.at(k);

        QString word;
        if (isLetter(key)) {
            // A key with a mere handful of words would have them typed from
            // memory, not from the fingers.
            if (chance(rng, words.at(k).size() >= 4 ? 0.5 : 0.2))
                word = fresh(words.at(k));
            if (word.isEmpty())
                word = madeUp(key);
            if (word.isEmpty())
                word = fresh(words.at(k));
        } else {
            if (chance(rng, carrierShare))
                word = fresh(carriers);
            if (word.isEmpty())
                word = fresh(words.at(k));
            if (word.isEmpty() && !unlocked.isEmpty())
                word = madeUp(pick(unlocked, rng));
        }
        if (word.isEmpty()) {
            ++idle;
            continue;
        }
        ++uses[word];

        QString item = isLetter(key) || key == shiftKey ? word : aroundMark(key, word);
        if (taught.capitals && (sentenceStart || key == shiftKey))
            item = withCapital(item);
        // Now and then a taught mark after a word, as text has them.
        if (isLetter(key) || key == shiftKey) {
            QStringList trailing;
            for (const QString &m : taught.marks) {
                if (m != u"—" && m != u"«" && m != u"»")
                    trailing.append(m);
            }
            if (!trailing.isEmpty() && chance(rng, 0.12))
                item += pick(trailing, rng);
        }
        const QString last = Characters::split(item).constLast();
        sentenceStart = last == u"." || last == u"?" || last == u"!";
        items.append(item);
        total += Characters::count(item) + 1;
    }
    return items.join(u' ');
}

QList<KeyOutcome> outcomes(const QStringList &keys, const ProfileData &before,
                           const QList<KeyEvent> &events)
{
    QList<KeyOutcome> list;
    for (const QString &key : keys) {
        KeyOutcome o{key};
        const KeyStat stat = before.keyStats.value(key);
        if (!stat.recent.isEmpty()) {
            o.strokesBefore = stat.recent.size();
            o.rightBefore = stat.recent.count(u'0');
        } else {
            o.strokesBefore = std::max<qint64>(stat.attempts, 0);
            o.rightBefore = std::clamp<qint64>(stat.attempts - std::max<qint64>(stat.errors, 0), 0,
                                               o.strokesBefore);
        }
        for (const KeyEvent &e : events) {
            const bool counts = key == shiftKey ? RussianLayout::needsShift(e.character)
                                                : Characters::lower(e.character) == key;
            o.strokes += counts ? 1 : 0;
            o.right += counts && !e.error ? 1 : 0;
        }
        list.append(o);
    }
    return list;
}

} // namespace Drill
