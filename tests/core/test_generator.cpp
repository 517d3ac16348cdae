// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "characters.h"
#include "course.h"
#include "generator.h"
#include "russian_layout.h"
#include "words.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ProfileData)

namespace {

constexpr int seeds = 300;

// The exercise the application would make for this lesson.
QString exerciseFor(const Lesson &lesson, const ProfileData &profile, QRandomGenerator &rng)
{
    switch (lesson.kind) {
    case LessonKind::letters: return Generator::lettersExercise(lesson, profile, rng);
    case LessonKind::capitals: return Generator::capitalsExercise(rng);
    case LessonKind::yo: return Generator::yoExercise(rng);
    case LessonKind::punctuation: return Generator::punctuationExercise(lesson.marks, rng);
    case LessonKind::prose: break;
    }
    return {};
}

// How often `letter` occurs in the items of lesson texts that are not real
// words, over many seeded exercises.
int inPseudoWords(const Lesson &lesson, const ProfileData &profile, const QString &letter)
{
    const QSet<QString> real(Words::common().cbegin(), Words::common().cend());
    int n = 0;
    for (int seed = 1; seed <= seeds; ++seed) {
        QRandomGenerator rng(seed);
        for (const QString &item : Generator::lettersExercise(lesson, profile, rng).split(u' ')) {
            if (!real.contains(item))
                n += int(item.count(letter));
        }
    }
    return n;
}

ProfileData profileWithKey(const QString &key, qint64 attempts, double errEMA)
{
    ProfileData profile;
    profile.keyStats[key] = KeyStat{attempts, attempts / 2, errEMA, 0.3};
    return profile;
}

} // namespace

class TestGenerator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyExerciseFillsOneLine_data();
    void everyExerciseFillsOneLine();
    void letterExercisesUseOnlyUnlockedLetters();
    void firstLessonIsVowelPseudoWords();
    void secondLessonPool();
    void hardSignNeverTyped();

    void letterWeights_data();
    void letterWeights();
    void newKeysAreDrawnMoreOften();
    void errorRateSteersTheMix();
    void weightedPickEdgeCases();
    void weightedPickFollowsTheWeights();
    void pseudoWordShapes_data();
    void pseudoWordShapes();

    void sentenceShapes_data();
    void sentenceShapes();
    void wordShares_data();
    void wordShares();
};

void TestGenerator::everyExerciseFillsOneLine_data()
{
    QTest::addColumn<qint64>("lessonId");
    for (const Lesson &lesson : Course::lessons()) {
        if (lesson.kind != LessonKind::prose)
            QTest::addRow("lesson %lld", lesson.id) << lesson.id;
    }
}

void TestGenerator::everyExerciseFillsOneLine()
{
    QFETCH(qint64, lessonId);
    const Lesson lesson = Course::lesson(lessonId);
    const ProfileData profile = profileWithKey(u"а"_s, 40, 0.5);

    for (int seed = 1; seed <= 60; ++seed) {
        QRandomGenerator rng(seed);
        const QString text = exerciseFor(lesson, profile, rng);
        QVERIFY2(Characters::count(text) >= 149, qPrintable(text));
        QVERIFY2(!text.contains(u"  "_s), qPrintable(text));
        QVERIFY2(!text.startsWith(u' ') && !text.endsWith(u' '), qPrintable(text));
        // the last item is what took the text past 150; without it the text was short
        static const QRegularExpression itemGap(u"(?<=[.?!]) "_s);
        const qsizetype lastSpace = lesson.kind == LessonKind::punctuation
            ? text.lastIndexOf(itemGap)
            : text.lastIndexOf(u' ');
        QVERIFY2(lastSpace < 0 || Characters::count(text.first(lastSpace)) < 149, qPrintable(text));
    }
}

void TestGenerator::letterExercisesUseOnlyUnlockedLetters()
{
    for (const Lesson &lesson : Course::lessons()) {
        if (lesson.kind != LessonKind::letters)
            continue;
        const QStringList unlocked = Course::unlockedLetters(lesson.id);
        const QSet<QString> allowed = QSet<QString>(unlocked.cbegin(), unlocked.cend()) << u" "_s;
        for (int seed = 1; seed <= 20; ++seed) {
            QRandomGenerator rng(seed);
            const QString text = Generator::lettersExercise(lesson, ProfileData{}, rng);
            for (const QString &c : Characters::split(text))
                QVERIFY2(allowed.contains(c), qPrintable(u"%1 in lesson %2"_s.arg(c).arg(lesson.id)));
        }
    }
}

void TestGenerator::firstLessonIsVowelPseudoWords()
{
    // given lesson 1, where no common word is typeable
    const Lesson lesson = Course::lesson(1);
    QVERIFY(Generator::lessonWords(lesson).isEmpty());

    // then every item is two to four of а and о
    static const QRegularExpression shape(u"^[ао]{2,4}$"_s);
    QSet<QString> seen;
    for (int seed = 1; seed <= seeds; ++seed) {
        QRandomGenerator rng(seed);
        for (const QString &item : Generator::lettersExercise(lesson, {}, rng).split(u' ')) {
            QVERIFY2(shape.match(item).hasMatch(), qPrintable(item));
            seen.insert(item);
        }
    }
    QVERIFY(seen.contains(u"аа"_s) && seen.contains(u"оооо"_s));
}

void TestGenerator::secondLessonPool()
{
    const Lesson lesson = Course::lesson(2);
    const QStringList pool{"вал", "лов", "вол", "овал", "олово"};
    QCOMPARE(Generator::lessonWords(lesson), pool);

    // too few words to drill on their own: about 35 % fresh words, the rest
    // pseudo-words of а, о, в, л
    static const QRegularExpression letters(u"^[аовл]+$"_s);
    int items = 0;
    int words = 0;
    for (int seed = 1; seed <= seeds; ++seed) {
        QRandomGenerator rng(seed);
        for (const QString &item : Generator::lettersExercise(lesson, {}, rng).split(u' ')) {
            QVERIFY2(letters.match(item).hasMatch(), qPrintable(item));
            items += 1;
            words += pool.contains(item) ? 1 : 0;
        }
    }
    const double share = double(words) / items;
    QVERIFY2(share > 0.33 && share < 0.45, qPrintable(QString::number(share)));
}

void TestGenerator::hardSignNeverTyped()
{
    // given a learner who keeps missing both signs, so their weights are high
    ProfileData profile = profileWithKey(u"ъ"_s, 50, 1.0);
    profile.keyStats[u"ь"_s] = KeyStat{50, 40, 1.0, 0.3};
    const LetterWeights weights =
        Generator::letterWeights(Course::unlockedLetters(19), {u"ь"_s, u"ъ"_s}, profile);

    QRandomGenerator rng(7);
    for (int i = 0; i < 3000; ++i) {
        const QString word = Generator::pseudoWord(weights, rng);
        QVERIFY2(!word.contains(u"ь"_s) && !word.contains(u"ъ"_s), qPrintable(word));
    }
    for (qint64 id : {12, 15, 19}) {
        for (int seed = 1; seed <= 100; ++seed) {
            QRandomGenerator r(seed);
            QVERIFY(!Generator::lettersExercise(Course::lesson(id), profile, r).contains(u"ъ"_s));
        }
    }
}

void TestGenerator::letterWeights_data()
{
    QTest::addColumn<ProfileData>("profile");
    QTest::addColumn<QStringList>("newKeys");
    QTest::addColumn<double>("weightOfV");

    const double v = 0.0454;
    QTest::newRow("frequency") << ProfileData{} << QStringList{} << v;
    QTest::newRow("new key") << ProfileData{} << QStringList{"в"} << v * 4;
    QTest::newRow("10 attempts, errEMA 0.2") << profileWithKey(u"в"_s, 10, 0.2) << QStringList{}
                                             << v * 2;
    QTest::newRow("9 attempts keep the weight") << profileWithKey(u"в"_s, 9, 0.2) << QStringList{}
                                                << v;
    QTest::newRow("new and missed") << profileWithKey(u"в"_s, 30, 0.4) << QStringList{"в"}
                                    << v * 4 * 3;
    QTest::newRow("another key's errors") << profileWithKey(u"а"_s, 30, 0.9) << QStringList{} << v;
}

void TestGenerator::letterWeights()
{
    QFETCH(ProfileData, profile);
    QFETCH(QStringList, newKeys);
    QFETCH(double, weightOfV);

    const LetterWeights weights =
        Generator::letterWeights({u"а"_s, u"в"_s, u"ќ"_s}, newKeys, profile);
    QCOMPARE(weights.size(), 3);
    QCOMPARE(weights[1].first, u"в"_s);
    QCOMPARE(weights[1].second, weightOfV);
    QCOMPARE(weights[2].second, 0.005); // not in the frequency table
    QVERIFY(Generator::letterWeights({}, newKeys, profile).isEmpty());
}

void TestGenerator::newKeysAreDrawnMoreOften()
{
    // given lesson 6 as it is, and the same letters without "э" being new
    const Lesson lesson = Course::lesson(6);
    Lesson plain = lesson;
    plain.newKeys.clear();

    const int asNew = inPseudoWords(lesson, {}, u"э"_s);
    const int asOld = inPseudoWords(plain, {}, u"э"_s);

    // then the new key turns up about four times as often
    QVERIFY2(asNew > 2.5 * asOld, qPrintable(u"%1 vs %2"_s.arg(asNew).arg(asOld)));
    QVERIFY(asOld > 0);
}

void TestGenerator::errorRateSteersTheMix()
{
    const Lesson lesson = Course::lesson(6);
    const int base = inPseudoWords(lesson, {}, u"ф"_s);
    const int missed = inPseudoWords(lesson, profileWithKey(u"ф"_s, 10, 1.0), u"ф"_s);

    QVERIFY2(missed > 3 * base, qPrintable(u"%1 vs %2"_s.arg(missed).arg(base)));
}

void TestGenerator::weightedPickEdgeCases()
{
    QRandomGenerator rng(1);
    QCOMPARE(Generator::weightedPick({}, rng), u"а"_s);
    const LetterWeights zero{{u"ж"_s, 0.0}, {u"ф"_s, 0.0}};
    const LetterWeights negative{{u"ж"_s, -1.0}, {u"ф"_s, 0.5}};
    for (int i = 0; i < 50; ++i) {
        QCOMPARE(Generator::weightedPick(zero, rng), u"ж"_s);
        QCOMPARE(Generator::weightedPick(negative, rng), u"ж"_s);
    }
    // an empty list still yields a word of two to four "а"
    static const QRegularExpression shape(u"^а{2,4}$"_s);
    for (int i = 0; i < 50; ++i)
        QVERIFY(shape.match(Generator::pseudoWord({}, rng)).hasMatch());
}

void TestGenerator::weightedPickFollowsTheWeights()
{
    const LetterWeights weights{{u"а"_s, 1.0}, {u"б"_s, 0.0}, {u"в"_s, 3.0}};
    QRandomGenerator rng(11);
    QMap<QString, int> counts;
    const int draws = 20000;
    for (int i = 0; i < draws; ++i)
        counts[Generator::weightedPick(weights, rng)] += 1;
    QCOMPARE(counts.value(u"б"_s), 0);
    const double a = double(counts.value(u"а"_s)) / draws;
    QVERIFY2(qAbs(a - 0.25) < 0.015, qPrintable(QString::number(a)));
}

void TestGenerator::pseudoWordShapes_data()
{
    QTest::addColumn<QStringList>("letters");
    QTest::addColumn<QString>("pattern");

    QTest::newRow("vowels only") << QStringList{"а", "о"} << u"^[ао]{2,4}$"_s;
    QTest::newRow("consonants only") << QStringList{"в", "л", "ь"} << u"^[вл]{2,3}$"_s;
    QTest::newRow("syllables") << QStringList{"а", "в", "л", "ь", "ъ", "ё"}
                               << u"^(?:[вл]?[аё]){1,3}[вл]?$"_s;
}

void TestGenerator::pseudoWordShapes()
{
    QFETCH(QStringList, letters);
    QFETCH(QString, pattern);

    const QRegularExpression shape(pattern);
    const LetterWeights weights = Generator::letterWeights(letters, {}, {});
    QRandomGenerator rng(3);
    QSet<qsizetype> lengths;
    for (int i = 0; i < 2000; ++i) {
        const QString word = Generator::pseudoWord(weights, rng);
        QVERIFY2(shape.match(word).hasMatch(), qPrintable(word));
        lengths.insert(word.size());
    }
    // every length the shape allows occurs
    const qsizetype shortest = *std::min_element(lengths.cbegin(), lengths.cend());
    const qsizetype longest = *std::max_element(lengths.cbegin(), lengths.cend());
    QCOMPARE(lengths.size(), longest - shortest + 1);
    if (letters.size() == 6)
        QCOMPARE(QPair(shortest, longest), QPair(qsizetype(1), qsizetype(7)));
}

void TestGenerator::sentenceShapes_data()
{
    QTest::addColumn<QStringList>("marks");
    QTest::addColumn<QString>("pattern");

    // C: the capitalised first word; W: any further word
    const auto re = [](QString p) {
        return p.replace(u"C"_s, u"[А-ЯЁ][а-яё]*"_s).replace(u"W"_s, u"[а-яё]+"_s);
    };
    QTest::newRow(". ,") << QStringList{".", ","} << re(u"^(C, W W|C W, W W|C W, W W W)\\.$"_s);
    QTest::newRow("? !") << QStringList{"?", "!"} << re(u"^C( W){2,4}[?!]$"_s);
    QTest::newRow("— :") << QStringList{u"\u2014"_s, ":"}
                         << re(u"^(C — W W|C W — W W|C W — W W W|C: W W|C W: W W|C W: W W W|C( W){2,4})\\.$"_s);
    QTest::newRow("« »") << QStringList{"«", "»"} << re(u"^C «W W( W){0,2}»\\.$"_s);
    QTest::newRow("all eight") << Course::lesson(27).marks << re(u"^C «W W( W){0,2}»[.?!]$"_s);
    QTest::newRow("no marks") << QStringList{} << re(u"^C( W){2,4}\\.$"_s);
}

void TestGenerator::sentenceShapes()
{
    QFETCH(QStringList, marks);
    QFETCH(QString, pattern);

    const QRegularExpression shape(pattern);
    QVERIFY(shape.isValid());
    QRandomGenerator rng(5);
    for (int i = 0; i < 2000; ++i) {
        const QString sentence = Generator::makeSentence(marks, rng);
        QVERIFY2(shape.match(sentence).hasMatch(), qPrintable(sentence));
    }
}

void TestGenerator::wordShares_data()
{
    QTest::addColumn<qint64>("lessonId");
    QTest::addColumn<QStringList>("counted"); // the items whose share is measured
    QTest::addColumn<double>("share");

    QTest::newRow("review: real words") << 13LL << Generator::lessonWords(Course::lesson(13)) << 0.66;
    QTest::newRow("yo: yo words") << 20LL << Words::yoWords() << 0.6;
    QStringList capitalised = Words::properNames();
    for (const QString &w : Words::common())
        capitalised << Characters::capitalized(w);
    QTest::newRow("capitals: names and capitalised words") << 21LL << capitalised << 0.7;
}

void TestGenerator::wordShares()
{
    QFETCH(qint64, lessonId);
    QFETCH(QStringList, counted);
    QFETCH(double, share);

    const QSet<QString> set(counted.cbegin(), counted.cend());
    int items = 0;
    int hits = 0;
    for (int seed = 1; seed <= seeds; ++seed) {
        QRandomGenerator rng(seed);
        for (const QString &item : exerciseFor(Course::lesson(lessonId), {}, rng).split(u' ')) {
            items += 1;
            hits += set.contains(item) ? 1 : 0;
        }
    }
    const double measured = double(hits) / items;
    QVERIFY2(qAbs(measured - share) < 0.04, qPrintable(QString::number(measured)));
}

QTEST_APPLESS_MAIN(TestGenerator)
#include "test_generator.moc"
