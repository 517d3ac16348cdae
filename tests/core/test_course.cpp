// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "course.h"
#include "prose.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(LessonKind)

class TestCourse : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stagesHoldTheirLessonsInOrder();
    void stageTexts_data();
    void stageTexts();
    void proseStageNamesThreeOfTheLibrarysWriters();
    void catalogue_data();
    void catalogue();
    void lessonIdsRunWithoutGaps();
    void lessonLookup_data();
    void lessonLookup();
    void unlockedLetters_data();
    void unlockedLetters();
    void kindRawValuesRoundTrip();
    void lessonEqualityAndHashCoverEveryField();
};

void TestCourse::stagesHoldTheirLessonsInOrder()
{
    const QList<Stage> &stages = Course::stages();
    QCOMPARE(stages.size(), 6);
    const QList<qsizetype> perStage{6, 7, 6, 3, 5, 1};
    QList<Lesson> concatenated;
    for (qsizetype i = 0; i < stages.size(); ++i) {
        QCOMPARE(stages[i].id, i);
        QCOMPARE(stages[i].lessons.size(), perStage[i]);
        for (const Lesson &lesson : stages[i].lessons)
            QCOMPARE(lesson.stageIndex, stages[i].id);
        concatenated += stages[i].lessons;
    }
    QCOMPARE(Course::lessons(), concatenated);
}

void TestCourse::stageTexts_data()
{
    QTest::addColumn<int>("stage");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("subtitle");

    QTest::newRow("0") << 0 << u"Домашний ряд"_s << u"ФЫВА — ОЛДЖ: пальцы дома"_s;
    QTest::newRow("1") << 1 << u"Верхний ряд"_s << u"ЙЦУКЕН — самые частые буквы"_s;
    QTest::newRow("2") << 2 << u"Нижний ряд"_s << u"ЯЧСМИТЬ — достаём вниз"_s;
    QTest::newRow("3") << 3 << u"Заглавные и Ё"_s << u"Шифт противоположной рукой"_s;
    QTest::newRow("4") << 4 << u"Знаки писателя"_s << u"Точка, запятая, тире, «ёлочки»"_s;
    QTest::newRow("5") << 5 << u"Проза"_s << QString(); // checked against the library below
}

void TestCourse::stageTexts()
{
    QFETCH(int, stage);
    QFETCH(QString, title);
    QFETCH(QString, subtitle);

    const Stage &s = Course::stages().at(stage);
    QCOMPARE(s.title, title);
    if (!subtitle.isNull())
        QCOMPARE(s.subtitle, subtitle);
}

void TestCourse::proseStageNamesThreeOfTheLibrarysWriters()
{
    // given the surnames of the prose library's writers
    QSet<QString> surnames;
    for (const Excerpt &e : Prose::excerpts())
        surnames.insert(e.author.section(u' ', -1));

    // then the prose stage names three different ones of them
    static const QRegularExpression shape(u"^(\\S+), (\\S+), (\\S+) — целыми абзацами$"_s);
    const QRegularExpressionMatch m = shape.match(Course::stages().at(5).subtitle);
    QVERIFY2(m.hasMatch(), qPrintable(Course::stages().at(5).subtitle));
    const QSet<QString> named{m.captured(1), m.captured(2), m.captured(3)};
    QCOMPARE(named.size(), 3);
    QVERIFY(surnames.contains(named));
}

void TestCourse::catalogue_data()
{
    QTest::addColumn<qint64>("id");
    QTest::addColumn<qint64>("stage");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("newKeys");
    QTest::addColumn<LessonKind>("kind");
    QTest::addColumn<QStringList>("marks");

    using K = LessonKind;
    const auto row = [](qint64 id, qint64 stage, const QString &title, const QStringList &keys,
                        K kind = K::letters, const QStringList &marks = {}) {
        QTest::addRow("%lld", id) << id << stage << title << keys << kind << marks;
    };
    row(1, 0, u"А и О — указательные"_s, {"а", "о"});
    row(2, 0, u"В и Л — средние"_s, {"в", "л"});
    row(3, 0, u"Ы и Д — безымянные"_s, {"ы", "д"});
    row(4, 0, u"Ф и Ж — мизинцы"_s, {"ф", "ж"});
    row(5, 0, u"П и Р — растяжка указательных"_s, {"п", "р"});
    row(6, 0, u"Э и повторение ряда"_s, {"э"});
    row(7, 1, u"Е и Н"_s, {"е", "н"});
    row(8, 1, u"К и Г"_s, {"к", "г"});
    row(9, 1, u"У и Ш"_s, {"у", "ш"});
    row(10, 1, u"Ц и Щ"_s, {"ц", "щ"});
    row(11, 1, u"Й и З"_s, {"й", "з"});
    row(12, 1, u"Х и Ъ"_s, {"х", "ъ"});
    row(13, 1, u"Два ряда вместе"_s, {});
    row(14, 2, u"И и Т"_s, {"и", "т"});
    row(15, 2, u"М и Ь"_s, {"м", "ь"});
    row(16, 2, u"С и Б"_s, {"с", "б"});
    row(17, 2, u"Ч и Ю"_s, {"ч", "ю"});
    row(18, 2, u"Я — вся азбука без Ё"_s, {"я"});
    row(19, 2, u"Все три ряда"_s, {});
    row(20, 3, u"Буква Ё"_s, {"ё"}, K::yo);
    row(21, 3, u"Заглавные буквы"_s, {}, K::capitals);
    row(22, 3, u"Заглавные и Ё вместе"_s, {}, K::capitals);
    row(23, 4, u"Точка и запятая"_s, {".", ","}, K::punctuation, {".", ","});
    row(24, 4, u"Вопрос и восклицание"_s, {}, K::punctuation, {"?", "!"});
    row(25, 4, u"Тире и двоеточие"_s, {}, K::punctuation, {u"\u2014"_s, ":"});
    row(26, 4, u"Кавычки-ёлочки"_s, {}, K::punctuation, {"«", "»"});
    row(27, 4, u"Все знаки вместе"_s, {}, K::punctuation,
        {".", ",", "?", "!", u"\u2014"_s, ":", "«", "»"});
    row(28, 5, u"Классика без предела"_s, {}, K::prose);
}

void TestCourse::catalogue()
{
    QFETCH(qint64, id);
    QFETCH(qint64, stage);
    QFETCH(QString, title);
    QFETCH(QStringList, newKeys);
    QFETCH(LessonKind, kind);
    QFETCH(QStringList, marks);

    const Lesson expected{id, stage, title, newKeys, kind, marks};
    QCOMPARE(Course::lessons().at(id - 1), expected);
}

void TestCourse::lessonIdsRunWithoutGaps()
{
    const QList<Lesson> &lessons = Course::lessons();
    QCOMPARE(lessons.size(), 28);
    for (qsizetype k = 0; k < lessons.size(); ++k) {
        QCOMPARE(lessons[k].id, k + 1);
        QVERIFY(lessons[k].stageIndex >= 0 && lessons[k].stageIndex < Course::stages().size());
    }
}

void TestCourse::lessonLookup_data()
{
    QTest::addColumn<qint64>("asked");
    QTest::addColumn<qint64>("found");

    QTest::newRow("first") << 1LL << 1LL;
    QTest::newRow("middle") << 13LL << 13LL;
    QTest::newRow("last") << 28LL << 28LL;
    QTest::newRow("zero falls back") << 0LL << 1LL;
    QTest::newRow("negative falls back") << -5LL << 1LL;
    QTest::newRow("past the end falls back") << 99LL << 1LL;
}

void TestCourse::lessonLookup()
{
    QFETCH(qint64, asked);
    QFETCH(qint64, found);

    QCOMPARE(Course::lesson(asked), Course::lessons().at(found - 1));
}

void TestCourse::unlockedLetters_data()
{
    QTest::addColumn<qint64>("upTo");
    QTest::addColumn<QStringList>("letters");

    const QStringList homeRow{"а", "о", "в", "л", "ы", "д", "ф", "ж", "п", "р", "э"};
    const QStringList twoRows =
        homeRow + QStringList{"е", "н", "к", "г", "у", "ш", "ц", "щ", "й", "з", "х", "ъ"};
    const QStringList noYo =
        twoRows + QStringList{"и", "т", "м", "ь", "с", "б", "ч", "ю", "я"};
    const QStringList all = noYo + QStringList{"ё"};

    QTest::newRow("before the course") << 0LL << QStringList();
    QTest::newRow("lesson 1") << 1LL << QStringList{"а", "о"};
    QTest::newRow("home row") << 6LL << homeRow;
    QTest::newRow("two rows") << 13LL << twoRows;
    QTest::newRow("lesson 18") << 18LL << noYo;
    QTest::newRow("lesson 19 adds nothing") << 19LL << noYo;
    QTest::newRow("yo comes last") << 20LL << all;
    QTest::newRow("marks are not letters") << 23LL << all;
    QTest::newRow("whole course") << 28LL << all;
}

void TestCourse::unlockedLetters()
{
    QFETCH(qint64, upTo);
    QFETCH(QStringList, letters);

    QCOMPARE(Course::unlockedLetters(upTo), letters);
}

void TestCourse::kindRawValuesRoundTrip()
{
    const QStringList raws{"letters", "capitals", "yo", "punctuation", "prose"};
    QCOMPARE(allLessonKinds().size(), raws.size());
    for (qsizetype i = 0; i < raws.size(); ++i) {
        QCOMPARE(lessonKindRawValue(allLessonKinds()[i]), raws[i]);
        QVERIFY(lessonKindFromRaw(raws[i]) == allLessonKinds()[i]);
    }
    QVERIFY(!lessonKindFromRaw(u"Letters"));
    QVERIFY(!lessonKindFromRaw(u""));
    QVERIFY(!lessonKindFromRaw(u"ё"));
}

void TestCourse::lessonEqualityAndHashCoverEveryField()
{
    const Lesson base = Course::lesson(27);
    QCOMPARE(qHash(base), qHash(Course::lesson(27)));

    Lesson reordered = base;
    std::swap(reordered.marks[0], reordered.marks[1]);
    QVERIFY(reordered != base);

    Lesson otherKind = base;
    otherKind.kind = LessonKind::prose;
    QVERIFY(otherKind != base);
    QVERIFY(qHash(otherKind) != qHash(base));

    QSet<Lesson> all(Course::lessons().cbegin(), Course::lessons().cend());
    QCOMPARE(all.size(), 28);
}

QTEST_APPLESS_MAIN(TestCourse)
#include "test_course.moc"
