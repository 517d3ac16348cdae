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

namespace {

ProfileData profileWithKey(const QString &key, qint64 attempts, double errEMA)
{
    ProfileData profile;
    profile.keyStats[key] = KeyStat{attempts, attempts / 2, errEMA, 0.3};
    return profile;
}

// How often `letter` occurs in the items of 300 seeded exercises of `lesson`
// that are not real words.
qsizetype inPseudoWords(const Lesson &lesson, const ProfileData &profile, const QString &letter)
{
    const QSet<QString> real(Words::common().cbegin(), Words::common().cend());
    qsizetype n = 0;
    for (int seed = 1; seed <= 300; ++seed) {
        QRandomGenerator rng(seed);
        for (const QString &item : Generator::exercise(lesson, profile, rng).split(u' '))
            n += real.contains(item) ? 0 : item.count(letter);
    }
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
        static const QRegularExpression capital(u"[А-ЯЁ]"_s);

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
            // what the lesson drills is there; no made-up word starts with a sign
            QVERIFY2(lesson.kind != LessonKind::yo || text.contains(u'ё'), qPrintable(text));
            QVERIFY2(lesson.kind != LessonKind::capitals || text.contains(capital),
                     qPrintable(text));
            QVERIFY2(!text.startsWith(u'ь') && !text.startsWith(u'ъ') && !text.contains(u" ь"_s)
                         && !text.contains(u" ъ"_s),
                     qPrintable(text));
        }
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

        // a key's errors count from its tenth attempt on
        const qsizetype base = inPseudoWords(lesson, {}, u"ф"_s);
        const qsizetype missed = inPseudoWords(lesson, profileWithKey(u"ф"_s, 10, 1.0), u"ф"_s);
        QVERIFY2(missed > 3 * base, qPrintable(u"%1 vs %2"_s.arg(missed).arg(base)));
        QCOMPARE(inPseudoWords(lesson, profileWithKey(u"ф"_s, 9, 1.0), u"ф"_s), base);
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
        QTest::newRow("— :") << QStringList{u"\u2014"_s, ":"}
                             << re(u"^(C — W W|C W — W W|C W — W W W|C: W W|C W: W W|C W: W W W"
                                   u"|C( W){2,4})\\.$"_s);
        QTest::newRow("all eight") << Course::lesson(27).marks << re(u"^C «W W( W){0,2}»[.?!]$"_s);
    }

    void sentenceShapes()
    {
        QFETCH(QStringList, marks);
        QFETCH(QString, pattern);
        const QRegularExpression shape(pattern);
        QRandomGenerator rng(5);
        QSet<QChar> ends;
        for (int i = 0; i < 2000; ++i) {
            const QString sentence = Generator::makeSentence(marks, rng);
            QVERIFY2(shape.match(sentence).hasMatch(), qPrintable(sentence));
            ends.insert(sentence.back());
        }
        QCOMPARE(ends.size(), marks.contains(u"?"_s) ? 3 : 1); // every end mark given is used
    }
};

QTEST_APPLESS_MAIN(TestGenerator)
#include "test_generator.moc"
