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

ProfileData profileWithKey(const QString &key, qint64 attempts, double errEMA)
{
    ProfileData profile;
    profile.keyStats[key] = KeyStat{attempts, attempts / 2, errEMA, 0.3};
    return profile;
}

// The space-separated items of 300 seeded exercises of `lesson`.
QStringList items(const Lesson &lesson, const ProfileData &profile = {})
{
    QStringList all;
    for (int seed = 1; seed <= 300; ++seed) {
        QRandomGenerator rng(seed);
        all += Generator::exercise(lesson, profile, rng).split(u' ');
    }
    return all;
}

// How often `letter` occurs in the items of letter exercises that are not real words.
qsizetype inPseudoWords(const Lesson &lesson, const ProfileData &profile, const QString &letter)
{
    const QSet<QString> real(Words::common().cbegin(), Words::common().cend());
    qsizetype n = 0;
    for (const QString &item : items(lesson, profile))
        n += real.contains(item) ? 0 : item.count(letter);
    return n;
}

} // namespace

class TestGenerator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyExerciseIsOneTypeableLine_data()
    {
        QTest::addColumn<qint64>("lessonId");
        for (const Lesson &lesson : Course::lessons()) {
            if (lesson.kind != LessonKind::prose)
                QTest::addRow("lesson %lld", lesson.id) << lesson.id;
        }
    }

    void everyExerciseIsOneTypeableLine()
    {
        QFETCH(qint64, lessonId);
        const Lesson lesson = Course::lesson(lessonId);
        const QStringList unlocked = Course::unlockedLetters(lessonId);
        const QSet<QString> letters = QSet<QString>(unlocked.cbegin(), unlocked.cend()) << u" "_s;
        const ProfileData profile = profileWithKey(u"а"_s, 40, 0.5);
        static const QRegularExpression itemGap(u"(?<=[.?!]) "_s);

        for (int seed = 1; seed <= 60; ++seed) {
            QRandomGenerator rng(seed);
            QRandomGenerator sameSeed(seed);
            const QString text = Generator::exercise(lesson, profile, rng);
            QCOMPARE(Generator::exercise(lesson, profile, sameSeed), text);
            QVERIFY2(Characters::count(text) >= 149, qPrintable(text));
            QVERIFY2(!text.contains(u"  "_s) && text.trimmed() == text, qPrintable(text));
            // the last item took the text past 150; without it the text was short
            const qsizetype lastGap = lesson.kind == LessonKind::punctuation
                ? text.lastIndexOf(itemGap)
                : text.lastIndexOf(u' ');
            QVERIFY2(lastGap < 0 || Characters::count(text.first(lastGap)) < 149, qPrintable(text));
            for (const QString &c : Characters::split(text)) {
                QVERIFY2(RussianLayout::canType(c), qPrintable(text));
                if (lesson.kind == LessonKind::letters)
                    QVERIFY2(letters.contains(c), qPrintable(c + u" in "_s + text));
            }
        }
    }

    void letterWeights_data()
    {
        QTest::addColumn<ProfileData>("profile");
        QTest::addColumn<QStringList>("newKeys");
        QTest::addColumn<double>("factor"); // of "в"'s frequency

        QTest::newRow("new key") << ProfileData{} << QStringList{"в"} << 4.0;
        QTest::newRow("10 attempts") << profileWithKey(u"в"_s, 10, 0.2) << QStringList() << 2.0;
        QTest::newRow("9 attempts are too few") << profileWithKey(u"в"_s, 9, 0.2) << QStringList()
                                                << 1.0;
        QTest::newRow("another key's errors") << profileWithKey(u"а"_s, 30, 0.9) << QStringList()
                                              << 1.0;
    }

    void letterWeights()
    {
        QFETCH(ProfileData, profile);
        QFETCH(QStringList, newKeys);
        QFETCH(double, factor);
        const LetterWeights weights =
            Generator::letterWeights({u"а"_s, u"в"_s, u"ќ"_s}, newKeys, profile);
        QCOMPARE(weights[1], (QPair<QString, double>(u"в"_s, factor * *Words::frequency(u"в"))));
        QVERIFY(weights[2].second > 0.0); // not in the frequency table, still drawn
    }

    // Lesson 6 introduces "э"; weights reach the exercise text.
    void newAndMissedKeysAreDrawnMoreOften()
    {
        const Lesson lesson = Course::lesson(6);
        Lesson plain = lesson;
        plain.newKeys.clear();
        const qsizetype asNew = inPseudoWords(lesson, {}, u"э"_s);
        const qsizetype asOld = inPseudoWords(plain, {}, u"э"_s);
        QVERIFY2(asOld > 0 && asNew > 2.5 * asOld, qPrintable(u"%1 vs %2"_s.arg(asNew).arg(asOld)));

        const qsizetype base = inPseudoWords(lesson, {}, u"ф"_s);
        const qsizetype missed = inPseudoWords(lesson, profileWithKey(u"ф"_s, 10, 1.0), u"ф"_s);
        QVERIFY2(missed > 3 * base, qPrintable(u"%1 vs %2"_s.arg(missed).arg(base)));
    }

    void weightedPick()
    {
        QRandomGenerator rng(11);
        QCOMPARE(Generator::weightedPick({}, rng), u"а"_s);
        QCOMPARE(Generator::weightedPick({{u"ж"_s, 0.0}, {u"ф"_s, 0.0}}, rng), u"ж"_s);
        QMap<QString, int> counts;
        for (int i = 0; i < 20000; ++i)
            counts[Generator::weightedPick({{u"а"_s, 1.0}, {u"б"_s, 0.0}, {u"в"_s, 3.0}}, rng)] += 1;
        QCOMPARE(counts.value(u"б"_s), 0);
        QVERIFY2(qAbs(counts.value(u"а"_s) - 5000) < 300, qPrintable(QString::number(counts[u"а"_s])));
    }

    void pseudoWordShapes_data()
    {
        QTest::addColumn<QStringList>("letters");
        QTest::addColumn<QString>("pattern");

        QTest::newRow("vowels only") << QStringList{"а", "о"} << u"^[ао]{2,4}$"_s;
        QTest::newRow("consonants only") << QStringList{"в", "л", "ь"} << u"^[вл]{2,3}$"_s;
        QTest::newRow("syllables, never a sign") << QStringList{"а", "в", "л", "ь", "ъ", "ё"}
                                                 << u"^(?:[вл]?[аё]){1,3}[вл]?$"_s;
    }

    void pseudoWordShapes()
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
        const auto [shortest, longest] = std::minmax_element(lengths.cbegin(), lengths.cend());
        QCOMPARE(lengths.size(), *longest - *shortest + 1);
    }

    void sentenceShapes_data()
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
                             << re(u"^(C — W W|C W — W W|C W — W W W|C: W W|C W: W W|C W: W W W"
                                   u"|C( W){2,4})\\.$"_s);
        QTest::newRow("all eight") << Course::lesson(27).marks << re(u"^C «W W( W){0,2}»[.?!]$"_s);
        QTest::newRow("no marks") << QStringList{} << re(u"^C( W){2,4}\\.$"_s);
    }

    void sentenceShapes()
    {
        QFETCH(QStringList, marks);
        QFETCH(QString, pattern);
        const QRegularExpression shape(pattern);
        QRandomGenerator rng(5);
        for (int i = 0; i < 2000; ++i) {
            const QString sentence = Generator::makeSentence(marks, rng);
            QVERIFY2(shape.match(sentence).hasMatch(), qPrintable(sentence));
        }
    }

    void wordShares_data()
    {
        QTest::addColumn<qint64>("lessonId");
        QTest::addColumn<QStringList>("counted"); // the items whose share is measured
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");

        // lesson 2 has too few words to drill on their own: fresh words, then pseudo-words
        QTest::newRow("few words") << 2LL << Generator::lessonWords(Course::lesson(2)) << 0.33
                                   << 0.45;
        QTest::newRow("review: real words") << 13LL << Generator::lessonWords(Course::lesson(13))
                                            << 0.62 << 0.70;
        QTest::newRow("yo: yo words") << 20LL << Words::yoWords() << 0.56 << 0.64;
        QStringList capitalised = Words::properNames();
        for (const QString &w : Words::common())
            capitalised << Characters::capitalized(w);
        QTest::newRow("capitals") << 21LL << capitalised << 0.66 << 0.74;
    }

    void wordShares()
    {
        QFETCH(qint64, lessonId);
        QFETCH(QStringList, counted);
        const QSet<QString> set(counted.cbegin(), counted.cend());
        const QStringList all = items(Course::lesson(lessonId));
        const double share = double(std::count_if(all.cbegin(), all.cend(),
                                                  [&set](const QString &i) { return set.contains(i); }))
                             / double(all.size());
        QFETCH(double, low);
        QFETCH(double, high);
        QVERIFY2(share > low && share < high, qPrintable(QString::number(share)));
    }
};

QTEST_APPLESS_MAIN(TestGenerator)
#include "test_generator.moc"
