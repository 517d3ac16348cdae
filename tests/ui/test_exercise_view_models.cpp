// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_rig.h"
#include "characters.h"
#include "course.h"
#include "exercise_figures.h"
#include "exercise_text.h"
#include "next_key.h"
#include "result_card.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

ProfileData withManuscript(const QString &text, qint64 chunk = 0)
{
    ProfileData p;
    p.manuscript = text;
    p.manuscriptChunk = chunk;
    return p;
}

QString words9(int count)
{
    return QStringList(count, u"абвгдежзи"_s).join(u' ');
}

// The training screen's models over a running manuscript exercise.
struct ScreenRig
{
    AppRig rig;
    ExerciseText text;
    ExerciseFigures figures;
    ResultCard card;
    explicit ScreenRig(const std::optional<ProfileData> &profile) : rig(profile)
    {
        text.setApp(rig.app.get());
        figures.setApp(rig.app.get());
        card.setApp(rig.app.get());
    }
};

} // namespace

class TestExerciseViewModels : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wrapping_data();
    void wrapping();
    void typedLinesScrollAway();
    void nextKey_data();
    void nextKey();
    void keystrokeRestylesOnlyTheCaretLine();
    void captionsAndFigures();
    void resultCard_data();
    void resultCard();
    void completedLessonCardSpeaksOfTheNextLesson();
};

void TestExerciseViewModels::wrapping_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("ends");

    QTest::newRow("short") << "привет мир" << QList<int>{10};
    QTest::newRow("50 without spaces") << QString(u"ж"_s.repeated(50)) << QList<int>{44, 50};
    QTest::newRow("empty") << QString() << QList<int>{};
    // the fifth 9-letter word would cross 44: a line ends after the fourth's space
    QTest::newRow("nine-letter words") << words9(10) << QList<int>{40, 80, 99};
    QTest::newRow("space at the limit") << u"ж"_s.repeated(44) + u" ж"_s << QList<int>{45, 46};
}

void TestExerciseViewModels::wrapping()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, ends);
    QList<int> actual;
    int start = 0;
    for (const LineRange &l : ExerciseText::wrap(Characters::split(text))) {
        QCOMPARE(l.start, start);
        actual << l.end;
        start = l.end;
    }
    QCOMPARE(actual, ends);
}

void TestExerciseViewModels::typedLinesScrollAway()
{
    const QList<LineRange> lines = ExerciseText::wrap(Characters::split(words9(10).left(100)));
    QCOMPARE(ExerciseText::visibleFrom(lines, 0).first(), lines.at(0));
    // when the caret enters the second line, the first goes away
    const QList<LineRange> second = ExerciseText::visibleFrom(lines, lines.at(0).end);
    QCOMPARE(second.first(), lines.at(1));
    QCOMPARE(second.size(), std::min<qsizetype>(3, lines.size() - 1));
    // past the end the last line stays
    QCOMPARE(ExerciseText::visibleFrom(lines, 100), QList<LineRange>{lines.last()});
}

void TestExerciseViewModels::nextKey_data()
{
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<int>("left"); // finger lit on each hand, -1 for none
    QTest::addColumn<int>("right");
    QTest::addColumn<bool>("thumbs");
    const int pinky = int(Finger::pinky);
    const int index = int(Finger::index);

    QTest::newRow("о") << "о" << "О — правый указательный" << -1 << index << false;
    QTest::newRow("Н: Shift on the left")
        << "Н" << "Н — правый указательный, шифт другой рукой" << pinky << index << false;
    QTest::newRow("comma") << "," << ". — правый мизинец, шифт другой рукой" << pinky << pinky
                           << false;
    QTest::newRow("! has no key") << "!" << "наберите: !" << -1 << -1 << false;
    QTest::newRow("Ё") << "Ё" << "Ё — левый мизинец, шифт другой рукой" << pinky << pinky
                       << false;
    QTest::newRow("em dash") << "—" << "наберите: —" << -1 << -1 << false;
    QTest::newRow("space") << " " << "пробел — большим пальцем" << -1 << -1 << true;
    QTest::newRow("nothing") << "" << " " << -1 << -1 << false;
}

void TestExerciseViewModels::nextKey()
{
    QFETCH(QString, expected);
    QFETCH(QString, hint);
    QFETCH(int, left);
    QFETCH(int, right);
    QFETCH(bool, thumbs);
    const NextKey next = NextKey::of(expected);
    const auto raw = [](std::optional<Finger> f) { return f ? int(*f) : -1; };
    QCOMPARE(next.hint(), hint);
    QCOMPARE(raw(next.finger(Hand::left)), left);
    QCOMPARE(raw(next.finger(Hand::right)), right);
    QCOMPARE(next.stroke().thumbs, thumbs);
}

void TestExerciseViewModels::keystrokeRestylesOnlyTheCaretLine()
{
    // given an exercise of many different words
    QStringList words;
    for (int i = 0; i < 20; ++i)
        words << u"слово"_s + QChar(u'а' + i);
    ScreenRig m(withManuscript(words.join(u' ')));
    m.rig.app->startManuscript();
    ExerciseText &text = m.text;
    QSignalSpy l0(&text, &ExerciseText::text0Changed);
    QSignalSpy l1(&text, &ExerciseText::text1Changed);
    QSignalSpy caption(&text, &ExerciseText::captionChanged);
    QSignalSpy styles(&text, &ExerciseText::styles0Changed);

    // when one key is typed, wrong then right
    m.rig.app->handleKey(u"1"_s);
    m.rig.app->handleKey(m.rig.engine().expected());

    // then the caret's line is restyled once (the wrong key left the caret as
    // it was) and nothing is laid out again
    using enum CharStyle;
    QCOMPARE(text.styles0().styles.first(3), (QList<CharStyle>{mistyped, caret, coming}));
    QCOMPARE(styles.size(), 1);
    QCOMPARE(l0.size() + l1.size() + caption.size(), 0);

    // and when the caret moves to the next line, the lines scroll
    const QString second = text.text1();
    while (text.text0() != second)
        m.rig.app->handleKey(m.rig.engine().expected());
    QCOMPARE(l0.size(), 1);
    QCOMPARE(l1.size(), 1);
    QCOMPARE(text.styles0().styles.first(), caret);
}

void TestExerciseViewModels::captionsAndFigures()
{
    AppRig lesson;
    lesson.app->startTraining(Course::lesson(1));
    ExerciseText text;
    text.setApp(lesson.app.get());
    QCOMPARE(text.caption(), u"Урок 1 · Домашний ряд · А и О — указательные"_s);

    // fragment index 1 of a five-fragment text
    QString five;
    for (int i = 0; i < 5; ++i)
        five += u"ж"_s.repeated(160) + u' ';
    ScreenRig m(withManuscript(five.trimmed(), 1));
    m.rig.app->startManuscript();
    QCOMPARE(m.text.caption(), u"Своя рукопись · фрагмент 2 из 5"_s);

    // keys within the first active second show no speed yet
    for (int i = 0; i < 5; ++i) {
        m.rig.clock += 0.2;
        m.rig.app->handleKey(u"ж"_s);
    }
    QCOMPARE(m.figures.speed(), u"0"_s);
    m.rig.clock += 0.25;
    m.rig.app->handleKey(u"ж"_s); // 6 characters in 1.05 active seconds
    QCOMPARE(m.figures.speed(), u"343"_s);
    m.rig.app->handleKey(u"1"_s);
    QCOMPARE(m.figures.accuracy(), u"85,7 %"_s); // 6 of 7
    QCOMPARE(m.figures.progressText(), u"урок на 4 %"_s); // 6 of 160
}

void TestExerciseViewModels::resultCard_data()
{
    QTest::addColumn<int>("wrongKeys");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("accuracy");
    QTest::addColumn<bool>("reminder");

    QTest::newRow("100 of 104") << 4 << "Упражнение зачтено" << "96,2 %" << false;
    QTest::newRow("100 of 105") << 5 << "Почти получилось" << "95,2 %" << true;
}

void TestExerciseViewModels::resultCard()
{
    QFETCH(int, wrongKeys);
    QFETCH(QString, title);
    QFETCH(QString, accuracy);
    QFETCH(bool, reminder);
    ScreenRig m(withManuscript(u"ж"_s.repeated(100)));
    m.rig.app->startManuscript();
    for (int i = 0; i < wrongKeys; ++i)
        m.rig.app->handleKey(u"1"_s);
    m.rig.typeRest(0.4);

    QVERIFY(m.card.shown());
    QCOMPARE(m.figures.accuracy(), accuracy); // the status bar agrees with the card
    QCOMPARE(m.card.title(), title);
    QCOMPARE(m.card.accuracy(), accuracy);
    QCOMPARE(m.card.reminderShown(), reminder);
    QCOMPARE(m.card.primaryText(), u"Дальше (⏎)"_s);
}

void TestExerciseViewModels::completedLessonCardSpeaksOfTheNextLesson()
{
    ProfileData p;
    p.currentLessonID = 4;
    p.exercisesPassed.insert(4, 2);
    p.exercisesPassed.insert(5, 1);
    ScreenRig m(p);
    m.rig.app->startTraining();

    m.rig.typeRest();

    // then the application has moved on, and the card counts for lesson 5
    QCOMPARE(m.card.title(), u"Урок пройден!"_s);
    QCOMPARE(m.card.primaryText(), u"К следующему уроку"_s);
    QCOMPARE(m.rig.app->activeLesson().id, 5);
    QCOMPARE(m.card.lessonCount(), u"1 из 3"_s);
    m.rig.app->nextExercise();
    QCOMPARE(m.text.caption(), u"Урок 5 · Домашний ряд · П и Р — растяжка указательных"_s);
}

QTEST_MAIN(TestExerciseViewModels)
#include "test_exercise_view_models.moc"
