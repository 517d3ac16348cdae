// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_rig.h"
#include "characters.h"
#include "course.h"
#include "course_view_model.h"
#include "exercise_figures.h"
#include "exercise_text.h"
#include "keyboard_view_model.h"
#include "manuscript.h"
#include "manuscript_view_model.h"
#include "next_key.h"
#include "result_card.h"
#include "root_view_model.h"
#include "stats_view_model.h"
#include "theme.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

using Passes = QMap<qint64, qint64>;
Q_DECLARE_METATYPE(std::optional<qint64>)

namespace {

ProfileData withManuscript(const QString &text, std::optional<qint64> chunk = 0)
{
    ProfileData p;
    p.manuscript = text;
    p.manuscriptChunk = chunk;
    return p;
}

DayStat day(const QString &date, double bestSpeed, qint64 chars = 100, qint64 errors = 0)
{
    return DayStat{date, chars, errors, 60.0, bestSpeed};
}

// About 300 characters of ordinary words: two fragments.
const QString text300 = u"жила была собака и кот "_s.repeated(13).trimmed();

QString words9(int count)
{
    return QStringList(count, u"абвгдежзи"_s).join(u' ');
}

QColor withOpacity(QColor c, double opacity)
{
    c.setAlphaF(float(opacity));
    return c;
}

QList<KeyCap *> allCaps(const KeyboardViewModel &keyboard)
{
    QList<KeyCap *> caps;
    for (const QList<KeyDef> &row : RussianLayout::rows()) {
        for (const KeyDef &key : row)
            caps.append(keyboard.cap(key.character));
    }
    return caps;
}

// The training screen's models over a running app.
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

// The texts and states the screens show, at the level of their view models;
// test_screens and test_screen_pixels check what the window draws and does.
class TestViewModels : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { Theme::instance()->setAppearance(Appearance::light); }
    void cleanup() { Theme::instance()->setAppearance(std::nullopt); }

    void stageRows_data()
    {
        QTest::addColumn<Passes>("passed");
        QTest::addColumn<qint64>("currentLesson");
        QTest::addColumn<int>("stage");
        QTest::addColumn<QString>("label");
        QTest::addColumn<StageIcon::Kind>("icon");
        QTest::addColumn<bool>("done");
        QTest::addColumn<qint64>("startsLesson");
        const auto passedUpTo = [](qint64 last) {
            Passes passed;
            for (qint64 id = 1; id <= last; ++id)
                passed.insert(id, 3);
            return passed;
        };
        const Passes firstStage = passedUpTo(6);
        using enum StageIcon::Kind;

        // a new profile's labels are checked by name in test_screens
        QTest::newRow("passed twice is not done") << Passes{{1, 2}} << 1LL << 0 << "урок 1 из 6"
                                                  << Current << false << 1LL;
        QTest::newRow("passed three times is done") << Passes{{1, 3}} << 2LL << 0
                                                    << "урок 2 из 6" << Current << false << 2LL;
        QTest::newRow("third of seven") << Passes{} << 9LL << 1 << "урок 3 из 7" << Current
                                        << false << 7LL;
        QTest::newRow("stage done") << firstStage << 7LL << 0 << "пройден" << Done << true << 1LL;
        QTest::newRow("done and current") << firstStage << 6LL << 0 << "пройден" << Done << true
                                          << 1LL;
        QTest::newRow("prose passed often") << Passes{{28, 9}} << 1LL << 5 << "без предела"
                                            << Idle << false << 28LL;
        QTest::newRow("prose current") << passedUpTo(28) << 28LL << 5 << "без предела" << Current
                                       << false << 28LL;
        QTest::newRow("unknown lesson id") << Passes{} << 999LL << 0 << "урок 1 из 6" << Current
                                           << false << 1LL;
    }

    void stageRows()
    {
        QFETCH(Passes, passed);
        QFETCH(qint64, currentLesson);
        QFETCH(int, stage);
        ProfileData p;
        p.exercisesPassed = passed;
        p.currentLessonID = currentLesson;
        const StageRow row = CourseViewModel::rows(p).at(stage);
        QTEST(row.label, "label");
        QTEST(row.icon, "icon");
        QTEST(row.done, "done");
        QCOMPARE(row.current, Course::lesson(currentLesson).stageIndex == stage);
        const auto lesson = CourseViewModel::lessonToStart(Course::stages().at(stage),
                                                           p.completedLessons());
        QTEST(lesson.value_or(Lesson{}).id, "startsLesson");
    }

    void statsTiles()
    {
        const QDateTime morning(QDate(2026, 12, 6), QTime(9, 0));
        const auto speedTile = [&morning](double speed) {
            ProfileData p;
            p.days = {day(u"2026-12-06"_s, speed)};
            const StatsTile tile = StatsViewModel::tilesFor(p, morning).first();
            return tile.value + u'|' + tile.unit;
        };
        QCOMPARE(speedTile(142.5), u"143|зн/мин"_s);
        QCOMPARE(speedTile(142.49), u"142|зн/мин"_s);
        QCOMPARE(speedTile(0.0), u"—|"_s);

        ProfileData p;
        p.days = {day(u"2026-12-05"_s, 100, 10, 1), day(u"2026-12-06"_s, 100, 20, 0)};
        const QList<StatsTile> tiles = StatsViewModel::tilesFor(p, morning);
        QCOMPARE(tiles.at(1).value, u"96,7 %"_s);
    }

    void chartNeedsTwoPoints()
    {
        ProfileData p;
        p.days = {day(u"2026-12-01"_s, 120.4)};
        AppRig rig(p);
        StatsViewModel model;
        model.setApp(rig.app.get());
        QVERIFY(!model.chartShown());

        rig.app->store()->update([](ProfileData &d) {
            d.days.append(day(u"2026-12-02"_s, 0.0));
            d.days.append(day(u"2026-12-04"_s, 150.5));
        });
        QVERIFY(model.chartShown());
        QCOMPARE(model.chartPoints().size(), 2);
        QCOMPARE(model.chartFrom(), QDate(2026, 12, 1).startOfDay());
        QCOMPARE(model.chartTo(), QDate(2026, 12, 4).startOfDay().addSecs(3 * 86400 * 3 / 100));
        QCOMPARE(model.dateTickCount(), 4);
        QCOMPARE(model.lastSpeedText(), u"151"_s);
    }

    void speedAxis_data()
    {
        QTest::addColumn<QList<double>>("speeds");
        QTest::addColumn<double>("max");
        QTest::addColumn<int>("ticks");
        QTest::newRow("143") << QList<double>{90, 143} << 200.0 << 5;
        QTest::newRow("100") << QList<double>{100} << 150.0 << 4;
        QTest::newRow("nothing") << QList<double>{} << 10.0 << 2;
    }

    void speedAxis()
    {
        QFETCH(QList<double>, speeds);
        QList<SpeedPoint> points;
        for (double s : speeds)
            points.append(SpeedPoint{{}, {}, s});
        const SpeedAxis axis = StatsViewModel::speedAxis(points);
        QTEST(axis.max, "max");
        QTEST(axis.tickCount, "ticks");
    }

    void draftFeedback_data()
    {
        QTest::addColumn<QString>("draft");
        QTest::addColumn<QString>("counter");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<bool>("canTrain");
        const QString letters39 = u"абвгд "_s.repeated(6) + u"жзи"_s;
        const QString latin = u"В тексте есть латиница (%1…) — её курс не тренирует"_s;

        QTest::newRow("empty") << "" << "Пусто — вставьте текст" << "" << false;
        QTest::newRow("39 cleaned") << u"\n  "_s + letters39 + u"  \n"_s
                                    << "39 знаков · 1 фрагментов" << "" << false;
        QTest::newRow("40 cleaned") << u"\n  "_s + letters39 + u"к  \n"_s
                                    << "40 знаков · 1 фрагментов" << "" << true;
        QTest::newRow("Hello World") << "Привет, Hello World!" << "20 знаков · 1 фрагментов"
                                     << latin.arg(u"HWdelo"_s) << false;
        QTest::newRow("more than six") << "zyx wvu tsr" << "11 знаков · 1 фрагментов"
                                       << latin.arg(u"rstuvw"_s) << false;
    }

    void draftFeedback()
    {
        AppRig rig;
        ManuscriptViewModel model;
        model.setApp(rig.app.get());
        QVERIFY(!model.summaryShown() && !model.cancelShown());
        QFETCH(QString, draft);
        QFETCH(bool, canTrain);
        model.setDraft(draft);
        QTEST(model.counterText(), "counter");
        QTEST(model.latinWarning(), "warning");
        QCOMPARE(model.canTrain(), canTrain);
        model.train(); // refused unless it can
        QCOMPARE(rig.app->tab() == AppState::Tab::Training, canTrain);
    }

    void summary_data()
    {
        QTest::addColumn<std::optional<qint64>>("stored");
        QTest::addColumn<int>("shown");
        QTest::newRow("no index") << std::optional<qint64>() << 1;
        QTest::newRow("second") << std::optional<qint64>(1) << 2;
        QTest::newRow("past the end") << std::optional<qint64>(7) << 2;
        QTest::newRow("negative") << std::optional<qint64>(-3) << 1;
    }

    void summary()
    {
        QFETCH(std::optional<qint64>, stored);
        QFETCH(int, shown);
        AppRig rig(withManuscript(text300, stored));
        ManuscriptViewModel model;
        model.setApp(rig.app.get());
        QVERIFY(model.summaryShown());
        QCOMPARE(model.summaryText(), u"298 знаков · фрагмент %1 из 2"_s.arg(shown));
        QCOMPARE(model.continueText(), u"Продолжить с фрагмента %1"_s.arg(shown));
        // the preview: the fragment's first 160 characters in quotes
        const QString fragment = Manuscript::chunks(text300).at(shown - 1);
        QCOMPARE(model.preview(), u"«"_s + fragment.left(160) + u"…»"_s);
        model.continueTyping();
        QCOMPARE(rig.engine().text().join(QString()), fragment);
    }

    void largeDraftIsCountedAfterAPause()
    {
        // an editor holding a pasted chapter, handing it over when asked
        AppRig rig;
        ManuscriptViewModel model;
        model.setApp(rig.app.get());
        QString editor = u"слово "_s.repeated(6000);
        connect(&model, &ManuscriptViewModel::draftWanted, &model, [&] { model.setDraft(editor); });
        model.edited(int(editor.size()));
        QVERIFY(model.recountPending());
        QCOMPARE(model.counterText(), u"Пусто — вставьте текст"_s);
        QTRY_COMPARE(model.counterText(), u"35999 знаков · 215 фрагментов"_s);

        editor = u"кот"_s; // a short text is counted at once
        model.edited(3);
        QVERIFY(!model.recountPending());
        QCOMPARE(model.counterText(), u"3 знаков · 1 фрагментов"_s);
    }

    void storageNoteSaysWhyNothingIsSaved()
    {
        AppRig first; // and a second Olvi started on the same folder
        AppServices services;
        services.dataFolder = first.folder.path();
        AppState second(services);
        RootViewModel header;
        header.setApp(&second);
        QCOMPARE(header.storageNote(),
                 u"Олви открыт в другом окне — здесь прогресс не сохраняется"_s);
        header.setApp(first.app.get());
        QVERIFY(header.storageNote().isEmpty());
    }

    void wrapping_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("ends");
        QTest::newRow("short") << "привет мир" << QList<int>{10};
        QTest::newRow("50 without spaces") << u"ж"_s.repeated(50) << QList<int>{44, 50};
        QTest::newRow("empty") << QString() << QList<int>{};
        // the fifth 9-letter word would cross 44: a line ends after the fourth's space
        QTest::newRow("nine-letter words") << words9(10) << QList<int>{40, 80, 99};
        QTest::newRow("space at the limit") << u"ж"_s.repeated(44) + u" ж"_s << QList<int>{45, 46};
    }

    void wrapping()
    {
        QFETCH(QString, text);
        QList<int> ends;
        int start = 0;
        for (const LineRange &l : ExerciseText::wrap(Characters::split(text))) {
            QCOMPARE(l.start, start);
            ends << l.end;
            start = l.end;
        }
        QTEST(ends, "ends");
    }

    void typedLinesScrollAway()
    {
        const QList<LineRange> lines = ExerciseText::wrap(Characters::split(words9(10)));
        QCOMPARE(ExerciseText::visibleFrom(lines, 0), lines.first(3));
        QCOMPARE(ExerciseText::visibleFrom(lines, lines.at(0).end), lines.sliced(1));
        QCOMPARE(ExerciseText::visibleFrom(lines, 100), QList<LineRange>{lines.last()});
    }

    void nextKey_data()
    {
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<int>("left"); // finger lit on each hand, -1 for none
        QTest::addColumn<int>("right");
        QTest::addColumn<bool>("thumbs");
        const int pinky = int(Finger::pinky);
        const int index = int(Finger::index);

        QTest::newRow("о") << "о" << "О — правый указательный" << -1 << index << false;
        QTest::newRow("Н: Shift on the left") << "Н" << "Н — правый указательный, шифт другой рукой"
                                              << pinky << index << false;
        QTest::newRow("comma") << "," << ". — правый мизинец, шифт другой рукой" << pinky << pinky
                               << false;
        QTest::newRow("Ё") << "Ё" << "Ё — левый мизинец, шифт другой рукой" << pinky << pinky
                           << false;
        QTest::newRow("! has no key") << "!" << "наберите: !" << -1 << -1 << false;
        QTest::newRow("space") << " " << "пробел — большим пальцем" << -1 << -1 << true;
        QTest::newRow("nothing") << "" << " " << -1 << -1 << false;
    }

    void nextKey()
    {
        QFETCH(QString, expected);
        const NextKey next = NextKey::of(expected);
        const auto raw = [](std::optional<Finger> f) { return f ? int(*f) : -1; };
        QTEST(next.hint(), "hint");
        QTEST(raw(next.finger(Hand::left)), "left");
        QTEST(raw(next.finger(Hand::right)), "right");
        QTEST(next.stroke().thumbs, "thumbs");
    }

    void keystrokeRestylesOnlyTheCaretLine()
    {
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

        // a wrong key leaves the caret; the right one restyles its line once, lays out nothing
        m.rig.app->handleKey(u"1"_s);
        m.rig.app->handleKey(m.rig.engine().expected());
        using enum CharStyle;
        QCOMPARE(text.styles0().styles.first(3), (QList<CharStyle>{mistyped, caret, coming}));
        QCOMPARE(styles.size(), 1);
        QCOMPARE(l0.size() + l1.size() + caption.size(), 0);

        // the lines scroll when the caret reaches the next one
        const QString second = text.text1();
        while (text.text0() != second)
            m.rig.app->handleKey(m.rig.engine().expected());
        QCOMPARE(std::pair(l0.size(), l1.size()), (std::pair<qsizetype, qsizetype>(1, 1)));
        QCOMPARE(text.styles0().styles.first(), caret);
    }

    void captionsAndFigures()
    {
        ScreenRig lesson(std::nullopt);
        lesson.rig.app->startTraining(Course::lesson(1));
        QCOMPARE(lesson.text.caption(), u"Урок 1 · Домашний ряд · А и О — указательные"_s);

        const QString five = QStringList(5, u"ж"_s.repeated(160)).join(u' ');
        ScreenRig m(withManuscript(five, 1));
        m.rig.app->startManuscript();
        QCOMPARE(m.text.caption(), u"Своя рукопись · фрагмент 2 из 5"_s);
        for (int i = 0; i < 5; ++i) {
            m.rig.clock += 0.2;
            m.rig.app->handleKey(u"ж"_s);
        }
        QCOMPARE(m.figures.speed(), u"0"_s); // no speed within the first active second
        m.rig.clock += 0.25;
        m.rig.app->handleKey(u"ж"_s); // 6 characters in 1.05 active seconds
        QCOMPARE(m.figures.speed(), u"343"_s);
        m.rig.app->handleKey(u"1"_s);
        QCOMPARE(m.figures.accuracy(), u"85,7 %"_s);         // 6 of 7
        QCOMPARE(m.figures.progressText(), u"урок на 4 %"_s); // 6 of 160
    }

    void resultCard_data()
    {
        QTest::addColumn<int>("wrongKeys");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("accuracy");
        QTest::addColumn<bool>("reminder");
        QTest::newRow("100 of 104") << 4 << "Упражнение зачтено" << "96,2 %" << false;
        QTest::newRow("100 of 105") << 5 << "Почти получилось" << "95,2 %" << true;
    }

    void resultCard()
    {
        QFETCH(int, wrongKeys);
        QFETCH(QString, accuracy);
        ScreenRig m(withManuscript(u"ж"_s.repeated(100)));
        m.rig.app->startManuscript();
        for (int i = 0; i < wrongKeys; ++i)
            m.rig.app->handleKey(u"1"_s);
        m.rig.typeRest(0.4);
        QVERIFY(m.card.shown());
        QCOMPARE(m.figures.accuracy(), accuracy); // the status bar agrees with the card
        QCOMPARE(m.card.accuracy(), accuracy);
        QTEST(m.card.title(), "title");
        QTEST(m.card.reminderShown(), "reminder");
        QCOMPARE(m.card.primaryText(), u"Дальше (⏎)"_s);
    }

    void completedLessonCardSpeaksOfTheNextLesson()
    {
        ProfileData p;
        p.currentLessonID = 4;
        p.exercisesPassed = {{4, 2}, {5, 1}};
        ScreenRig m(p);
        m.rig.app->startTraining();
        m.rig.typeRest();
        QCOMPARE(m.card.title(), u"Урок пройден!"_s);
        QCOMPARE(m.card.primaryText(), u"К следующему уроку"_s);
        QCOMPARE(m.rig.app->activeLesson().id, 5);
        QCOMPARE(m.card.lessonCount(), u"1 из 3"_s); // counts for lesson 5
        m.rig.app->nextExercise();
        QCOMPARE(m.text.caption(), u"Урок 5 · Домашний ряд · П и Р — растяжка указательных"_s);
    }

    void keyboardMarks_data()
    {
        QTest::addColumn<QString>("next");
        QTest::addColumn<QString>("marked"); // the key shown as next, "" for none
        QTest::addColumn<QString>("lit");    // "L", "R" for a Shift, "S" for the space bar

        QTest::newRow("capital of a right-hand key") << u"Ж"_s << u"ж"_s << u"L"_s;
        QTest::newRow("capital of a left-hand key") << u"Я"_s << u"я"_s << u"R"_s;
        QTest::newRow("comma: the full stop key") << u","_s << u"."_s << u"L"_s;
        QTest::newRow("full stop") << u"."_s << u"."_s << QString();
        QTest::newRow("home key") << u"а"_s << u"а"_s << QString();
        QTest::newRow("space") << u" "_s << QString() << u"S"_s;
        QTest::newRow("mark without a key") << u"!"_s << QString() << QString();
        QTest::newRow("ё is not drawn") << u"ё"_s << QString() << QString();
        QTest::newRow("Ё lights the right Shift") << u"Ё"_s << QString() << u"R"_s;
        QTest::newRow("finished") << QString() << QString() << QString();
    }

    void keyboardMarks()
    {
        QFETCH(QString, next);
        QFETCH(QString, marked);
        const ThemePalette &light = ThemePalette::light();
        KeyboardViewModel keyboard;
        keyboard.setNext(NextKey::of(next));
        // Only the marked key wears the next key's look, laid over its own.
        for (KeyCap *cap : allCaps(keyboard)) {
            QCOMPARE(cap->isNext(), cap->character() == marked);
            QCOMPARE(cap->homeBumpShown(), cap->character() == u"а" || cap->character() == u"о");
            QCOMPARE(cap->fill(), zoneTintColor(cap->key().finger, false));
            QCOMPARE(cap->labelColor(), withOpacity(light.ink, 0.75));
        }
        const QString lit = (keyboard.leftShiftLit() ? u"L"_s : QString())
                            + (keyboard.rightShiftLit() ? u"R"_s : QString())
                            + (keyboard.spaceLit() ? u"S"_s : QString());
        QTEST(lit, "lit");
    }

    void heatLevels_data()
    {
        QTest::addColumn<double>("level"); // below 0: no entry
        QTest::addColumn<QColor>("fill");
        QTest::addColumn<QColor>("label");
        const ThemePalette &light = ThemePalette::light();
        const QColor darkLabel = withOpacity(light.ink, 0.75);
        QTest::newRow("no entry") << -1.0 << light.card << darkLabel;
        QTest::newRow("0.001 counts as none") << 0.001 << light.card << darkLabel;
        QTest::newRow("0.5") << 0.5 << withOpacity(light.accent, 0.495) << darkLabel;
        QTest::newRow("0.8: light label") << 0.8 << withOpacity(light.accent, 0.72)
                                          << light.onAccent;
        QTest::newRow("3.0 drawn as 1") << 3.0 << withOpacity(light.accent, 0.87)
                                        << light.onAccent;
    }

    void heatLevels()
    {
        QFETCH(double, level);
        QMap<QString, double> levels{{u"ф"_s, 1.0}}; // the only other entry is on another key
        if (level >= 0)
            levels.insert(u"ж"_s, level);
        KeyboardViewModel keyboard;
        keyboard.setNext(NextKey::of(u"Ж"_s));
        keyboard.setTraining(false);
        keyboard.setErrors(KeyLevels{levels});

        // the key shows its level; nothing is next, no zone bar, bump or Shift
        const KeyCap *cap = keyboard.cap(u"ж");
        QTEST(cap->fill(), "fill");
        QTEST(cap->labelColor(), "label");
        QCOMPARE(cap->label(), u"Ж"_s);
        QVERIFY(!cap->isNext() && !cap->zoneBarShown() && !keyboard.leftShiftLit());
        QVERIFY(!keyboard.cap(u"а")->homeBumpShown());
    }

    void keystrokeTouchesOnlyTheOldAndNewKey()
    {
        KeyboardViewModel keyboard;
        keyboard.setNext(NextKey::of(u"Ж"_s));
        QStringList touched;
        for (KeyCap *cap : allCaps(keyboard))
            connect(cap, &KeyCap::changed, this, [&touched, cap] { touched << cap->character(); });
        QSignalSpy shift(&keyboard, &KeyboardViewModel::shiftChanged);

        keyboard.setNext(NextKey::of(u"у"_s));
        QCOMPARE(touched, (QStringList{u"ж"_s, u"у"_s})); // the old key, then the new
        QCOMPARE(shift.count(), 1);                      // the left Shift goes dark
        keyboard.setNext(NextKey::of(u"У"_s));           // its capital changes only the Shift
        QCOMPARE(touched.size(), 2);
        QCOMPARE(shift.count(), 2);
    }
};

QTEST_MAIN(TestViewModels)
#include "test_view_models.moc"
