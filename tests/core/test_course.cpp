// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "course.h"
#include "prose.h"

#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

class TestCourse : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shape();
    void spotChecks();
    void proseStageNamesThreeOfTheLibrarysWriters();
    void lessonLookupFallsBackToTheFirst();
    void unlockedLetters_data();
    void unlockedLetters();
};

void TestCourse::shape()
{
    // six stages of 6, 7, 6, 3, 5, 1 lessons, ids 1…28 consecutive
    const QList<Stage> &stages = Course::stages();
    const QList<qsizetype> perStage{6, 7, 6, 3, 5, 1};
    QCOMPARE(stages.size(), perStage.size());
    QList<Lesson> concatenated;
    for (qsizetype i = 0; i < stages.size(); ++i) {
        QCOMPARE(stages[i].id, i);
        QCOMPARE(stages[i].lessons.size(), perStage[i]);
        for (const Lesson &lesson : stages[i].lessons)
            QCOMPARE(lesson.stageIndex, i);
        concatenated += stages[i].lessons;
    }
    QCOMPARE(Course::lessons(), concatenated);
    QMap<LessonKind, int> kinds;
    for (qsizetype k = 0; k < concatenated.size(); ++k) {
        QCOMPARE(concatenated[k].id, k + 1);
        kinds[concatenated[k].kind] += 1;
    }
    QCOMPARE(kinds, (QMap<LessonKind, int>{{LessonKind::letters, 19}, {LessonKind::yo, 1},
                                          {LessonKind::capitals, 2}, {LessonKind::punctuation, 5},
                                          {LessonKind::prose, 1}}));
}

void TestCourse::spotChecks()
{
    QCOMPARE(Course::stages().at(0).subtitle, u"ФЫВА — ОЛДЖ: пальцы дома"_s);
    QCOMPARE(Course::stages().at(4).title, u"Знаки писателя"_s);
    QCOMPARE(Course::lesson(1).title, u"А и О — указательные"_s);
    QCOMPARE(Course::lesson(18).title, u"Я — вся азбука без Ё"_s);
    QCOMPARE(Course::lesson(28).title, u"Классика без предела"_s);
    QCOMPARE(Course::lesson(23).newKeys, (QStringList{".", ","}));
    QCOMPARE(Course::lesson(25).marks, (QStringList{u"\u2014"_s, ":"}));
    QCOMPARE(Course::lesson(27).marks,
             (QStringList{".", ",", "?", "!", u"\u2014"_s, ":", "«", "»"}));
}

void TestCourse::proseStageNamesThreeOfTheLibrarysWriters()
{
    QSet<QString> surnames;
    for (const Excerpt &e : Prose::excerpts())
        surnames.insert(e.author.section(u' ', -1));

    static const QRegularExpression shape(u"^(\\S+), (\\S+), (\\S+) — целыми абзацами$"_s);
    const QRegularExpressionMatch m = shape.match(Course::stages().at(5).subtitle);
    QVERIFY2(m.hasMatch(), qPrintable(Course::stages().at(5).subtitle));
    const QSet<QString> named{m.captured(1), m.captured(2), m.captured(3)};
    QCOMPARE(named.size(), 3);
    QVERIFY(surnames.contains(named));
}

void TestCourse::lessonLookupFallsBackToTheFirst()
{
    QCOMPARE(Course::lesson(13).id, 13);
    QCOMPARE(Course::lesson(28).id, 28);
    for (qint64 stale : {0LL, -5LL, 29LL})
        QCOMPARE(Course::lesson(stale), Course::lessons().first());
}

void TestCourse::unlockedLetters_data()
{
    QTest::addColumn<qint64>("upTo");
    QTest::addColumn<QStringList>("letters");

    const QStringList homeRow{"а", "о", "в", "л", "ы", "д", "ф", "ж", "п", "р", "э"};
    const QStringList noYo = homeRow
        + QStringList{"е", "н", "к", "г", "у", "ш", "ц", "щ", "й", "з", "х", "ъ",
                      "и", "т", "м", "ь", "с", "б", "ч", "ю", "я"};
    QTest::newRow("before the course") << 0LL << QStringList();
    QTest::newRow("home row") << 6LL << homeRow;
    QTest::newRow("review adds nothing") << 19LL << noYo;
    QTest::newRow("marks are not letters") << 28LL << noYo + QStringList{"ё"};
}

void TestCourse::unlockedLetters()
{
    QFETCH(qint64, upTo);
    QFETCH(QStringList, letters);
    QCOMPARE(Course::unlockedLetters(upTo), letters);
}

QTEST_APPLESS_MAIN(TestCourse)
#include "test_course.moc"
