// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_rig.h"
#include "characters.h"
#include "course.h"
#include "theme.h"
#include "training_view_model.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList chars(const QString &s)
{
    return Characters::split(s);
}

ProfileData withManuscript(const QString &text, qint64 chunk = 0)
{
    ProfileData p;
    p.manuscript = text;
    p.manuscriptChunk = chunk;
    return p;
}

QString words9(int count)
{
    QStringList w;
    for (int i = 0; i < count; ++i)
        w << u"абвгдежзи"_s;
    return w.join(u' ');
}

// A training screen's model over a running manuscript exercise.
struct ModelRig
{
    AppRig rig;
    TrainingViewModel model;
    explicit ModelRig(const QString &manuscript, qint64 chunk = 0)
        : rig(withManuscript(manuscript, chunk))
    {
        rig.app->startManuscript();
        model.setApp(rig.app.get());
    }
};

} // namespace

class TestTrainingViewModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wrapping_data();
    void wrapping();
    void typedLinesScrollAway();
    void characterStyles();
    void fingerHints_data();
    void fingerHints();
    void captions();
    void liveFigures();
    void resultCard_data();
    void resultCard();
    void completedLessonCardSpeaksOfTheNextLesson();
    void keystrokeTouchesOnlyTheCurrentLine();
    void soundSwitchIsSaved();
};

void TestTrainingViewModel::wrapping_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("ends");

    QTest::newRow("short") << "привет мир" << QList<int>{10};
    QTest::newRow("50 without spaces") << QString(u"ж"_s.repeated(50)) << QList<int>{44, 50};
    QTest::newRow("empty") << QString() << QList<int>{};
    // 9-letter words: the fifth word would cross 44, so a line ends after the
    // fourth word's space
    QTest::newRow("nine-letter words") << words9(10) << QList<int>{40, 80, 99};
}

void TestTrainingViewModel::wrapping()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, ends);

    const QList<LineRange> lines = TrainingViewModel::wrap(chars(text));
    QList<int> actual;
    int start = 0;
    for (const LineRange &l : lines) {
        QCOMPARE(l.start, start);
        QVERIFY(l.end - l.start <= 45);
        actual << l.end;
        start = l.end;
    }
    QCOMPARE(actual, ends);
}

void TestTrainingViewModel::typedLinesScrollAway()
{
    // 100 characters of 9-letter words: every line ends after a space
    const QStringList text = chars(words9(10).left(100));
    const QList<LineRange> lines = TrainingViewModel::wrap(text);
    for (const LineRange &l : lines.first(lines.size() - 1))
        QCOMPARE(text.at(l.end - 1), u" "_s);

    QCOMPARE(TrainingViewModel::visibleFrom(lines, 0).first(), lines.at(0));
    // when the caret enters the second line, the first goes away
    const QList<LineRange> second = TrainingViewModel::visibleFrom(lines, lines.at(0).end);
    QCOMPARE(second.first(), lines.at(1));
    QCOMPARE(second.size(), std::min<qsizetype>(3, lines.size() - 1));
    // past the end the last line stays
    QCOMPARE(TrainingViewModel::visibleFrom(lines, 100), QList<LineRange>{lines.last()});
}

void TestTrainingViewModel::characterStyles()
{
    ModelRig m(u"привет мир"_s);
    AppRig &rig = m.rig;
    TrainingViewModel &model = m.model;
    rig.app->handleKey(u"1"_s);
    for (int i = 0; i < 3; ++i)
        rig.app->handleKey(rig.engine().expected());

    // then typed, mistyped, caret and coming characters are apart
    const QList<CharStyle> styles{CharStyle::mistyped, CharStyle::typed, CharStyle::typed,
                                  CharStyle::caret, CharStyle::coming, CharStyle::coming};
    for (int i = 0; i < styles.size(); ++i)
        QCOMPARE(model.styleAt(i), styles[i]);

    // a wrong key at the caret keeps it a caret
    rig.app->handleKey(u"1"_s);
    QCOMPARE(model.styleAt(3), CharStyle::caret);

    // and the line is drawn from its text and one style per character
    using enum CharStyle;
    QCOMPARE(model.line0(), u"привет мир"_s);
    QCOMPARE(model.lineStyles(0), (QList<CharStyle>{mistyped, typed, typed, caret, coming, coming,
                                                    coming, coming, coming, coming}));
    QVERIFY(model.lineStyles(1).isEmpty());
}

void TestTrainingViewModel::fingerHints_data()
{
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("hint");

    QTest::newRow("о") << "о" << "О — правый указательный";
    QTest::newRow("Н") << "Н" << "Н — правый указательный, шифт другой рукой";
    QTest::newRow("comma") << "," << ". — правый мизинец, шифт другой рукой";
    QTest::newRow("!") << "!" << "наберите: !";
    QTest::newRow("ё") << "ё" << "Ё — левый мизинец";
    QTest::newRow("Ё") << "Ё" << "Ё — левый мизинец, шифт другой рукой";
    QTest::newRow("em dash") << "—" << "наберите: —";
    QTest::newRow("space") << " " << "пробел — большим пальцем";
    QTest::newRow("nothing") << "" << " ";
}

void TestTrainingViewModel::fingerHints()
{
    QFETCH(QString, expected);
    QFETCH(QString, hint);
    QCOMPARE(TrainingViewModel::fingerHintFor(expected), hint);
}

void TestTrainingViewModel::captions()
{
    AppRig lesson;
    lesson.app->startTraining(Course::lesson(1));
    TrainingViewModel model;
    model.setApp(lesson.app.get());
    QCOMPARE(model.lessonCaption(), u"Урок 1 · Домашний ряд · А и О — указательные"_s);

    // fragment index 1 of a five-fragment text
    QString text;
    for (int i = 0; i < 5; ++i)
        text += u"ж"_s.repeated(160) + u' ';
    ModelRig fragment(text.trimmed(), 1);
    QCOMPARE(fragment.model.lessonCaption(), u"Своя рукопись · фрагмент 2 из 5"_s);
}

void TestTrainingViewModel::liveFigures()
{
    ModelRig m(u"жжжжжжжжжж жжжжжжжжжж"_s);
    AppRig &rig = m.rig;
    TrainingViewModel &model = m.model;
    QCOMPARE(model.speedText(), u"0"_s);
    QCOMPARE(model.accuracyText(), u"100,0 %"_s);
    QCOMPARE(model.progressText(), u"урок на 0 %"_s);

    // keys within the first active second show no speed yet
    for (int i = 0; i < 5; ++i) {
        rig.clock += 0.2;
        rig.app->handleKey(u"ж"_s);
    }
    QCOMPARE(model.speedText(), u"0"_s);
    rig.clock += 0.25;
    rig.app->handleKey(u"ж"_s); // 6 characters in 1.05 active seconds
    QCOMPARE(model.speedText(), u"343"_s);
    rig.app->handleKey(u"1"_s);
    QCOMPARE(model.accuracyText(), u"85,7 %"_s); // 6 of 7
    QCOMPARE(model.progressText(), u"урок на 29 %"_s); // 6 of 21
}

void TestTrainingViewModel::resultCard_data()
{
    QTest::addColumn<int>("wrongKeys");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("accuracy");
    QTest::addColumn<bool>("reminder");

    QTest::newRow("100 of 104") << 4 << "Упражнение зачтено" << "96,2 %" << false;
    QTest::newRow("100 of 105") << 5 << "Почти получилось" << "95,2 %" << true;
}

void TestTrainingViewModel::resultCard()
{
    QFETCH(int, wrongKeys);
    QFETCH(QString, title);
    QFETCH(QString, accuracy);
    QFETCH(bool, reminder);

    ModelRig m(u"ж"_s.repeated(100));
    AppRig &rig = m.rig;
    TrainingViewModel &model = m.model;
    for (int i = 0; i < wrongKeys; ++i)
        rig.app->handleKey(u"1"_s);
    rig.typeRest(0.4); // 100 keys, 0.4 s apart after the first

    QVERIFY(model.resultShown());
    QCOMPARE(model.accuracyText(), accuracy); // the status bar agrees with the card
    QCOMPARE(model.resultTitle(), title);
    QCOMPARE(model.resultAccuracy(), accuracy);
    QCOMPARE(model.reminderShown(), reminder);
    QCOMPARE(model.primaryButtonText(), u"Дальше (⏎)"_s);
    QCOMPARE(model.resultLessonCount(), u"0 из 3"_s);
}

void TestTrainingViewModel::completedLessonCardSpeaksOfTheNextLesson()
{
    ProfileData p;
    p.currentLessonID = 4;
    p.exercisesPassed.insert(4, 2);
    p.exercisesPassed.insert(5, 1);
    AppRig rig(p);
    rig.app->startTraining();
    TrainingViewModel model;
    model.setApp(rig.app.get());

    rig.typeRest();

    // then the card moves the active lesson on and counts for lesson 5
    QCOMPARE(model.resultTitle(), u"Урок пройден!"_s);
    QCOMPARE(model.primaryButtonText(), u"К следующему уроку"_s);
    QCOMPARE(rig.app->activeLesson().id, 5);
    QCOMPARE(model.resultLessonCount(), u"1 из 3"_s);
    model.nextExercise();
    QCOMPARE(model.lessonCaption(), u"Урок 5 · Домашний ряд · П и Р — растяжка указательных"_s);
}

void TestTrainingViewModel::keystrokeTouchesOnlyTheCurrentLine()
{
    QStringList words; // all different, so every line reads differently
    for (int i = 0; i < 20; ++i)
        words << u"слово"_s + QChar(u'а' + i);
    ModelRig m(words.join(u' '));
    AppRig &rig = m.rig;
    TrainingViewModel &model = m.model;
    QSignalSpy l0(&model, &TrainingViewModel::line0Changed);
    QSignalSpy l1(&model, &TrainingViewModel::line1Changed);
    QSignalSpy l2(&model, &TrainingViewModel::line2Changed);
    QSignalSpy caption(&model, &TrainingViewModel::lessonCaptionChanged);
    QSignalSpy styles(&model, &TrainingViewModel::stylesChanged);

    // a key restyles the caret's line and lays nothing out again
    rig.app->handleKey(rig.engine().expected());
    QCOMPARE(styles.size(), 1);
    QCOMPARE(l0.size() + l1.size() + l2.size() + caption.size(), 0);

    // when the caret moves to the next line, the lines scroll
    const QString second = model.line1();
    while (model.line0() != second)
        rig.app->handleKey(rig.engine().expected());
    QCOMPARE(model.line0(), second);
    QCOMPARE(l0.size(), 1);
    QCOMPARE(l1.size(), 1);
}

void TestTrainingViewModel::soundSwitchIsSaved()
{
    AppRig rig;
    TrainingViewModel model;
    model.setApp(rig.app.get());
    QVERIFY(model.soundOn());

    model.toggleSound();

    QVERIFY(!model.soundOn());
    QCOMPARE(rig.profileOnDisk()->soundOn, false);
}

QTEST_MAIN(TestTrainingViewModel)
#include "test_training_view_model.moc"
