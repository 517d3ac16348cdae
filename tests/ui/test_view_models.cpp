// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_rig.h"
#include "characters.h"
#include "course.h"
#include "course_view_model.h"
#include "exercise_figures.h"
#include "exercise_text.h"
#include "figure_text.h"
#include "keyboard_view_model.h"
#include "manuscript.h"
#include "manuscript_view_model.h"
#include "next_key.h"
#include "prose.h"
#include "result_card.h"
#include "root_view_model.h"
#include "russian_plural.h"
#include "speed_chart.h"
#include "stats_view_model.h"
#include "theme.h"
#include "transfer_view_model.h"
#include "words.h"

#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QString words9 = QStringList(10, u"абвгдежзи"_s).join(u' ');

// A profile of the days given as "date speed, date speed".
ProfileData withDays(const QString &days)
{
    ProfileData p;
    for (const QString &day : days.split(u", "_s))
        p.days << DayStat{day.section(u' ', 0, 0), 100, 0, 60.0, day.section(u' ', 1).toDouble()};
    return p;
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
    void stageRows()
    {
        // the first stage passed; in the second, one lesson passed three times, one twice,
        // and the third is the current one; the prose passed often
        ProfileData p;
        p.exercisesPassed = {{7, 3}, {8, 2}, {28, 9}};
        for (qint64 id = 1; id <= 6; ++id)
            p.exercisesPassed.insert(id, 3);
        p.currentLessonID = 9;
        const auto rows = [&p] { // label/icon, * when current
            QStringList shown;
            const QMetaEnum icon = QMetaEnum::fromType<StageIcon::Kind>();
            for (const StageRow &row : CourseViewModel::rows(p))
                shown << row.label + u'/' + icon.valueToKey(row.icon)
                             + (row.current ? u"*"_s : QString());
            return shown;
        };
        QCOMPARE(rows(), (QStringList{u"пройден/Done"_s, u"урок 3 из 7/Current*"_s,
                                      u"6 уроков/Idle"_s, u"3 урока/Idle"_s, u"5 уроков/Idle"_s,
                                      u"без предела/Idle"_s}));
        const auto starts = [&p](int stage) {
            return CourseViewModel::lessonToStart(Course::stages().at(stage), p.completedLessons())
                ->id;
        };
        QCOMPARE(std::tuple(starts(0), starts(1), starts(5)), std::tuple(1LL, 8LL, 28LL));
        p.currentLessonID = 6; // a passed stage stays passed when it is the current one
        QCOMPARE(rows().first(), u"пройден/Done*"_s);
    }

    void plurals_data()
    {
        QTest::addColumn<int>("noun");
        QTest::addColumn<QString>("forms"); // for 1, for 2, for 5, as a grammar gives them
        const QStringList forms{u"урок урока уроков"_s, u"фрагмент фрагмента фрагментов"_s,
                                u"знак знака знаков"_s, u"день дня дней"_s,
                                u"клавиша клавиши клавиш"_s, u"упражнение упражнения упражнений"_s,
                                u"минута минуты минут"_s, u"час часа часов"_s};
        for (int i = 0; i < forms.size(); ++i)
            QTest::addRow("%d", i) << i << forms.at(i);
    }

    void plurals()
    {
        QFETCH(const int, noun);
        QFETCH(const QString, forms);
        const RussianPlural::Noun nouns[] = {
                RussianPlural::lesson, RussianPlural::fragment, RussianPlural::sign,
                RussianPlural::day,    RussianPlural::key,      RussianPlural::exercise,
                RussianPlural::minute, RussianPlural::hour};
        // 1, 21, 101, 1001 take the first form; 2–4, 22, 104 the second; 0,
        // 5–20, 25, 111–114 the third.
        const QList<QList<qint64>> counts{{1, 21, 101, 1001, -21},
                                          {2, 4, 22, 104, 1002},
                                          {0, 5, 11, 12, 14, 25, 111, 112, 1011}};
        for (int form = 0; form < 3; ++form) {
            for (const qint64 n : counts.at(form))
                QCOMPARE(RussianPlural::counted(n, nouns[noun]),
                         QString::number(n) + u' ' + forms.split(u' ').at(form));
        }
    }

    void statsFollowTheProfile()
    {
        // one day without a speed: a dash without a unit, and no chart
        ProfileData p;
        p.days = {DayStat{u"2026-12-01"_s, 30, 1, 60.0, 0.0}};
        AppRig rig(p);
        StatsViewModel model;
        model.setApp(rig.app.get());
        const auto tile = [&rig](int i) {
            const StatsTile t = StatsFigures::tiles(rig.profile(), rig.now).at(i);
            return t.value + u'|' + t.unit;
        };
        QCOMPARE(tile(0) + tile(1), u"—|96,7 %|"_s);
        const auto heard = [&rig] { // what a screen reader hears of the tiles
            QStringList said;
            for (const StatsTile &t : StatsFigures::tiles(rig.profile(), rig.now))
                said << t.label + u": "_s + t.description;
            return said;
        };
        QCOMPARE(heard(), (QStringList{u"Скорость: ещё не измерена, первые замеры впереди"_s,
                                       u"Точность: 96,7 %, цель — не ниже 97 %"_s,
                                       u"Дней подряд: 0 дней, не прерывайте серию"_s,
                                       u"За клавиатурой: 1 минута, с 1 декабря"_s}));
        QVERIFY(!model.chartShown());
        QCOMPARE(std::pair(model.speedAxisMax(), model.speedTickCount()), std::pair(10.0, 2));

        // two days with speeds: a chart of them, figures rounded half up, the axis to a round top
        rig.app->store()->update([](ProfileData &d) {
            d.days << DayStat{u"2026-12-02"_s, 100, 0, 7200.0, 120.4}
                   << DayStat{u"2026-12-05"_s, 100, 0, 120.0, 142.5};
        });
        QCOMPARE(tile(0), u"143|зн/мин"_s);
        QCOMPARE(heard().at(0), u"Скорость: 143 зн/мин, +143 за неделю"_s);
        QCOMPARE(heard().at(3), u"За клавиатурой: 2 часа 3 минуты, с 1 декабря"_s);
        QCOMPARE(model.chartFrom(), QDate(2026, 12, 2).startOfDay());
        QCOMPARE(model.dateTickCount(), 4);
        QCOMPARE(model.lastSpeedText(), u"143"_s);
        QCOMPARE(std::pair(model.speedAxisMax(), model.speedTickCount()), std::pair(200.0, 5));
    }

    // The chart in one sentence: its days (those without a speed are not on it), the range
    // and the last speed.
    void chartSummary_data()
    {
        QTest::addColumn<QString>("days"); // "date speed" each
        QTest::addColumn<QString>("summary");
        QTest::newRow("none") << "2026-12-01 0" << "Скорость ещё не измерялась";
        QTest::newRow("one day") << "2026-12-01 0, 2026-12-06 142.5"
                                 << "Скорость за 1 день занятий, 6 декабря: 143 зн/мин";
        QTest::newRow("two days, one month")
            << "2026-12-04 243, 2026-12-06 160"
            << "Скорость за 2 дня занятий, с 4 по 6 декабря: от 160 до 243 зн/мин, последняя 160";
        QTest::newRow("five days, two months")
            << "2026-11-28 170, 2026-11-30 150, 2026-12-01 0, 2026-12-02 210, 2026-12-03 200, "
               "2026-12-05 205"
            << "Скорость за 5 дней занятий, с 28 ноября по 5 декабря: от 150 до 210 зн/мин, "
               "последняя 205";
        QTest::newRow("the same each day")
            << "2025-12-31 120.2, 2026-01-01 119.8"
            << "Скорость за 2 дня занятий, с 31 декабря по 1 января: каждый день 120 зн/мин";
    }

    void chartSummary()
    {
        QFETCH(QString, days);
        AppRig rig(withDays(days));
        StatsViewModel model;
        model.setApp(rig.app.get());
        QTEST(model.chartSummary(), "summary");
    }

    // Any double the learner's own file holds is written, and charted, without an
    // out-of-range cast: the largest as the 64-bit limit, the chart on a finite axis.
    void figuresOfDamagedRecords_data()
    {
        QTest::addColumn<double>("speed");
        QTest::addColumn<QString>("text");
        QTest::newRow("largest double") << 1.7976931348623157e308 << u"9223372036854775807"_s;
        QTest::newRow("2^63") << 9223372036854775808.0 << u"9223372036854775807"_s;
        QTest::newRow("most negative") << -1.7976931348623157e308 << u"-9223372036854775808"_s;
        QTest::newRow("smallest above 0") << 5e-324 << u"0"_s;
    }

    void figuresOfDamagedRecords()
    {
        QFETCH(double, speed);
        QTEST(FigureText::whole(speed), "text"); // the chart's axis: speedChartLayout
    }

    // Wherever the chart is drawn, the whole of it shows: the plot inside the item, the
    // grid from 0 up and the days left to right, the curve inside the plot in the order
    // of its speeds, and no label cut off by the edge or drawn over another.
    void speedChartLayout_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("fontSize");
        QTest::addColumn<QString>("days"); // "date speed" each
        const QString two = u"2026-11-22 243, 2026-11-24 160"_s;
        QStringList days;
        for (int i = 0; i < 14; ++i)
            days << u"%1 %2"_s.arg(dayKeyForDate(QDate(2026, 11, 22).addDays(i))).arg(150 + i * 37 % 90);
        const QString fourteen = days.join(u", ");
        QTest::newRow("two days") << QSize(640, 170) << 11 << two;
        QTest::newRow("two weeks, large type") << QSize(640, 170) << 22 << fourteen;
        QTest::newRow("two weeks, narrow") << QSize(170, 170) << 11 << fourteen;
        QTest::newRow("damaged speeds") << QSize(640, 170) << 11
                                        << u"2026-11-22 1e300, 2026-11-23 1e-9, 2026-11-24 5e11"_s;
        QTest::newRow("too small") << QSize(40, 30) << 11 << two;
    }

    void speedChartLayout()
    {
        QFETCH(QSize, size);
        QFETCH(int, fontSize);
        QFETCH(QString, days);
        AppRig rig(withDays(days));
        StatsViewModel model;
        model.setApp(rig.app.get());
        QFont font;
        font.setPixelSize(fontSize);
        QLocale::setDefault(QLocale::c()); // the dates are Russian whatever the locale
        const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::system()); });
        const SpeedChartData data = SpeedChart::dataOf(&model);
        const SpeedChartLayout l = SpeedChartLayout::make(size, data, font, font);
        const QRectF item(QPointF(), size);
        if (size.width() < 100) { // no room for a chart: nothing is drawn
            QVERIFY(l.plot.isEmpty() && l.curve.isEmpty() && l.speedTicks.isEmpty());
            return;
        }
        QVERIFY(item.contains(l.plot) && l.plot.width() > size.width() / 2);
        QList<QRectF> labels{l.lastFigure};
        QCOMPARE(l.speedTicks.size(), model.speedTickCount());
        for (qsizetype i = 0; i < l.speedTicks.size(); ++i) {
            const ChartTick &t = l.speedTicks[i];
            QVERIFY(t.at >= l.plot.top() && t.at < l.plot.bottom());
            QVERIFY(i == 0 || (t.at < l.speedTicks[i - 1].at
                               && t.label.toLongLong() > l.speedTicks[i - 1].label.toLongLong()));
            QVERIFY(t.labelRect.right() <= l.plot.left());
            QVERIFY(std::abs(t.labelRect.center().y() - t.at - 0.5) < 1); // beside its line
            labels << t.labelRect;
        }
        QCOMPARE(l.speedTicks.first().label, u"0"_s);
        QCOMPARE(l.speedTicks.last().label.toDouble(), std::round(model.speedAxisMax()));
        QCOMPARE(l.dateTicks.first().at, l.plot.left()); // the first day at the left edge
        QCOMPARE(l.dateTicks.first().label, u"22 нояб."_s);
        QVERIFY(l.dateTicks.size() >= (size.width() > 400 ? 2 : 1));
        for (qsizetype i = 0; i < l.dateTicks.size(); ++i) {
            const ChartTick &t = l.dateTicks[i];
            QVERIFY(t.at <= l.plot.right() && (i == 0 || t.at > l.dateTicks[i - 1].at));
            QVERIFY(t.labelRect.top() >= l.plot.bottom());
            labels << t.labelRect;
        }
        for (qsizetype i = 0; i < labels.size(); ++i) {
            QVERIFY2(item.contains(labels[i]) && !labels[i].isEmpty(), QTest::toString(labels[i]));
            for (qsizetype j = 0; j < i; ++j)
                QVERIFY2(!labels[i].intersects(labels[j]), QTest::toString(labels[i]));
        }
        QCOMPARE(l.curve.size(), data.points.size());
        const double r = SpeedChartLayout::dotDiameter / 2;
        QVERIFY(item.contains(QRectF(l.curve.last() - QPointF(r, r), QSizeF(2 * r, 2 * r))));
        // the last speed above its point and to its left
        QVERIFY(l.lastFigure.bottom() <= l.curve.last().y()
                && l.lastFigure.right() <= l.curve.last().x() + r);
        for (qsizetype i = 0; i < l.curve.size(); ++i) {
            QVERIFY(l.plot.contains(l.curve[i]));
            QVERIFY(i == 0 || l.curve[i].x() > l.curve[i - 1].x());
            for (qsizetype j = 0; j < i; ++j) // the faster day higher up
                QCOMPARE(data.points[i].y() > data.points[j].y(), l.curve[i].y() < l.curve[j].y());
        }
    }

    void transferSentences()
    {
        using ProfileMerge::Effect;
        // a count of 1 (21), 2–4 (22) or the rest (5, and 112 as 11–14) takes its form
        QCOMPARE(TransferViewModel::effectSentence({5, 112, 22, 21, true, true, 21}, 7),
                 u"Добавится 5 дней, уйдёт 21 самый старый день, обновятся данные за 112 дней, "
                 "22 урока станут пройденными, обновится статистика 21 клавиши, курс продвинется "
                 "до урока 7, появится текст рукописи."_s);
        // 300 days here and the 300 after them there: the 400-day bound drops the oldest here
        ProfileData here, there;
        for (int i = 0; i < 600; ++i)
            (i < 300 ? here : there).days.append({dayKeyForDate(QDate(2025, 1, 1).addDays(i)),
                                                  100, 1, 30.0, 150.0});
        const ProfileData merged = ProfileMerge::merge(here, there);
        QCOMPARE(TransferViewModel::effectSentence(ProfileMerge::effect(here, merged), 1),
                 u"Добавится 300 дней, уйдут 200 самых старых дней."_s);
        QCOMPARE(TransferViewModel::sentence(ProgressTransfer::Outcome::MergeNotSaved, u"a.json"_s,
                                             u"profile.json.before-import-1"_s),
                 u"Не удалось записать объединённый прогресс — ничего не изменено. Копия прежнего "
                 "прогресса лежит рядом с профилем как «profile.json.before-import-1»."_s);
    }

    // The editor hands its text over when asked: at once, or once a large one is left alone.
    void draftFeedback_data()
    {
        QTest::addColumn<QString>("draft");
        QTest::addColumn<QString>("counter");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<bool>("canTrain");
        const QString letters39 = u"\n  "_s + u"абвгд "_s.repeated(6) + u"жзи"_s;
        QTest::newRow("39 cleaned") << letters39 + u"  \n"_s << "39 знаков · 1 фрагмент" << ""
                                    << false;
        QTest::newRow("40 cleaned") << letters39 + u"к  \n"_s << "40 знаков · 1 фрагмент" << ""
                                    << true;
        QTest::newRow("six Latin letters, sorted") << "zyx wvu tsr" << "11 знаков · 1 фрагмент"
            << "В тексте есть латиница (rstuvw…) — её курс не тренирует" << false;
        QTest::newRow("a pasted chapter") << u"слово "_s.repeated(6000)
                                          << "35999 знаков · 215 фрагментов" << "" << true;
    }

    void draftFeedback()
    {
        AppRig rig;
        ManuscriptViewModel model;
        model.setApp(rig.app.get());
        QFETCH(QString, draft);
        QFETCH(QString, counter);
        connect(&model, &ManuscriptViewModel::draftWanted, &model, [&] { model.setDraft(draft); });
        model.edited(int(draft.size()));
        if (draft.size() > 10000) { // a long text: not yet, only once left alone
            QCOMPARE(model.counterText(), u"Пусто — вставьте текст"_s);
            QTRY_COMPARE(model.counterText(), counter);
        }
        QCOMPARE(model.counterText(), counter);
        QTEST(model.latinWarning(), "warning");
        QTEST(model.canTrain(), "canTrain");
    }

    void summary()
    {
        // a stored index past the end shows the last fragment, and Continue starts it
        const QString text300 = u"жила была собака и кот "_s.repeated(13).trimmed();
        AppRig rig(withManuscript(text300, 7));
        ManuscriptViewModel model;
        model.setApp(rig.app.get());
        const QString last = Manuscript::chunks(text300).last();
        QCOMPARE(model.summaryText(), u"298 знаков · фрагмент 2 из 2"_s);
        QCOMPARE(model.continueText(), u"Продолжить с фрагмента 2"_s);
        QCOMPARE(model.preview(), u"«"_s + last.left(160) + u"…»"_s); // its first 160 characters
        model.continueTyping();
        QCOMPARE(rig.engine().text().join(QString()), last);
        rig.app->store()->update([](ProfileData &d) { d.manuscriptChunk = -3; });
        QCOMPARE(model.continueText(), u"Продолжить с фрагмента 1"_s); // and a negative the first
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

    void recoveryNoteSaysWhereTheUnreadableFileWent()
    {
        QTemporaryDir dir; // the profile file damaged
        QVERIFY(QDir(dir.path()).mkpath(u"Olvi/profile.json/x"_s));
        AppServices services;
        services.dataFolder = dir.path();
        services.now = [] { return QDateTime(QDate(2026, 12, 6), QTime(9, 5, 7)); };
        AppState app(services);
        RootViewModel header;
        QSignalSpy changed(&header, &RootViewModel::recoveryNoteChanged);
        header.setApp(&app);
        QCOMPARE(header.recoveryNote(),
                 u"Файл прогресса не удалось прочитать. Он сохранён как "
                 "«profile.json.unreadable-20261206-090507» в папке %1/Olvi; чтобы вернуть его, "
                 "закройте Олви и дайте файлу прежнее имя profile.json."_s.arg(dir.path()));
        header.dismissRecoveryNote();
        QVERIFY(header.recoveryNote().isEmpty());
        QCOMPARE(changed.size(), 2);
    }

    void wrapping_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("ends");
        QTest::newRow("50 without spaces") << u"ж"_s.repeated(50) << QList<int>{44, 50};
        QTest::newRow("empty") << QString() << QList<int>{};
        // the fifth 9-letter word would cross 44: a line ends after the fourth's space
        QTest::newRow("nine-letter words") << words9 << QList<int>{40, 80, 99};
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

    // The hint under the exercise, and what the keyboard marks for the same character.
    void nextKey_data()
    {
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<int>("left"); // finger lit on each hand, -1 for none
        QTest::addColumn<int>("right");
        QTest::addColumn<QString>("marked"); // the key shown as next
        QTest::addColumn<QString>("lit");    // "L", "R" for a Shift, "S" for the space bar
        const int pinky = int(Finger::pinky);
        const int index = int(Finger::index);
        const QString shift = u", шифт другой рукой"_s;

        QTest::newRow("о") << "о" << "О — правый указательный" << -1 << index << "о" << "";
        QTest::newRow("Н: Shift on the left") << "Н" << "Н — правый указательный" + shift
                                              << pinky << index << "н" << "L";
        QTest::newRow("comma: the full stop key") << "," << ". — правый мизинец" + shift << pinky
                                                  << pinky << "." << "L";
        QTest::newRow("Ё: its key and the right Shift") << "Ё" << "Ё — левый мизинец" + shift
                                                        << pinky << pinky << "ё" << "R";
        QTest::newRow("stressed А: the А key") << u"А\u0301"_s << "А — левый указательный" + shift
                                               << index << pinky << "а" << "R";
        QTest::newRow(": on the 6") << ":" << "6 — правый указательный" + shift << pinky << index
                                << "6" << "L";
        QTest::newRow("— by the minus") << u"\u2014"_s << "Тире — клавиша минус, правый мизинец"
                                        << -1 << pinky << "-" << "";
        QTest::newRow("« by the quote") << "«" << "Кавычка — клавиша 2, левый безымянный" + shift
                                        << int(Finger::ring) << pinky << "2" << "R";
        QTest::newRow("/ has no key drawn") << "/" << "наберите: /" << -1 << -1 << "" << "";
        QTest::newRow("space") << " " << "пробел — большим пальцем" << -1 << -1 << "" << "S";
        QTest::newRow("nothing") << "" << " " << -1 << -1 << "" << "";
    }

    void nextKey()
    {
        QFETCH(QString, expected);
        const NextKey key = NextKey::of(expected);
        const auto raw = [](std::optional<Finger> f) { return f ? int(*f) : -1; };
        QTEST(key.hint(), "hint");
        QTEST(raw(key.finger(Hand::left)), "left");
        QTEST(raw(key.finger(Hand::right)), "right");

        KeyboardViewModel keyboard;
        keyboard.setNext(key);
        QString next, bumps;
        for (const KeyCap *cap : keyboard.findChildren<KeyCap *>()) {
            next += cap->isNext() ? cap->character() : QString();
            bumps += cap->homeBumpShown() ? cap->character() : QString();
        }
        QTEST(next, "marked");
        QCOMPARE(bumps, u"ао"_s);
        const QString lit = (keyboard.leftShiftLit() ? u"L"_s : QString())
                            + (keyboard.rightShiftLit() ? u"R"_s : QString())
                            + (keyboard.spaceLit() ? u"S"_s : QString());
        QTEST(lit, "lit");
    }

    // Whatever a lesson's text holds, the hint names a key and the keyboard
    // lights it: struck with the Shift lit, in the Russian layout (as
    // test_course holds it to xkb's), it types the character or its stand-in.
    void everyCharacterOfTheCourseHasItsKey_data()
    {
        QTest::addColumn<QString>("ch");
        QSet<QString> all;
        const auto add = [&all](const QString &text) {
            for (const QString &c : Characters::split(text))
                all.insert(c);
        };
        for (const Lesson &lesson : Course::lessons()) {
            for (const QString &letter : Course::unlockedLetters(lesson.id))
                add(lesson.kind == LessonKind::letters ? letter : letter + Characters::upper(letter));
            add(lesson.marks.join(u' '));
        }
        add((Words::common() + Words::properNames() + Words::yoWords()).join(u' '));
        for (const Excerpt &e : Prose::excerpts())
            add(e.text);
        for (const QString &c : std::as_const(all))
            QTest::newRow(qPrintable(c)) << c;
    }

    void everyCharacterOfTheCourseHasItsKey()
    {
        QFETCH(QString, ch);
        const NextKey next = NextKey::of(ch);
        KeyboardViewModel keyboard;
        keyboard.setNext(next);
        const QList<KeyCap *> caps = keyboard.findChildren<KeyCap *>();
        QList<KeyCap *> lit;
        std::copy_if(caps.cbegin(), caps.cend(), std::back_inserter(lit),
                     [](const KeyCap *c) { return c->isNext(); });
        if (ch == u" ") {
            QVERIFY(lit.isEmpty() && keyboard.spaceLit());
            return;
        }
        QCOMPARE(lit.size(), 1);
        const KeyDef &key = lit.first()->key();
        QVERIFY2(next.hint().contains(NextKey::fingerName(key))
                     && (next.hint().contains(lit.first()->label()) || key.character == u"-"),
                 qPrintable(next.hint()));
        const bool shift = keyboard.leftShiftLit() || keyboard.rightShiftLit();
        std::optional<QString> typed;
        for (quint32 code = 9; code < 256 && !typed; ++code) {
            if (RussianLayout::typedByKey(code, false, false) == key.character)
                typed = RussianLayout::typedByKey(code, shift, false);
        }
        QVERIFY2(typed && SessionEngine::matches(*typed, RussianLayout::typedAs(ch)),
                 qPrintable(typed.value_or(u"no key"_s)));
    }

    void keystrokeRestylesOnlyTheCaretLine()
    {
        QStringList words;
        for (int i = 0; i < 60; ++i)
            words << u"слово"_s + QChar(u'а' + i % 30);
        ScreenRig m(withManuscript(words.join(u' '), 1)); // three fragments, the second stored
        m.rig.app->startManuscript();
        ExerciseText &text = m.text;
        QCOMPARE(text.caption(), u"Своя рукопись · фрагмент 2 из 3"_s);
        const ExerciseLineModel &lines = text.lineModel();
        QList<std::pair<int, int>> changes; // (row, role) of each change the lines announce
        connect(text.lines(), &QAbstractItemModel::dataChanged, &text,
                [&changes](const QModelIndex &row, const QModelIndex &, const QList<int> &roles) {
                    changes.append({row.row(), roles.value(0)});
                });
        QSignalSpy caption(&text, &ExerciseText::captionChanged);

        // a wrong key leaves the caret; the right one, 1.5 s on, restyles its line once and
        // lays out nothing; the figures: 1 character in 1.5 s, 1 key of 2 right, 1 % done
        m.rig.app->handleKey(u"1"_s);
        m.rig.clock += 1.5;
        m.rig.app->handleKey(m.rig.engine().expected());
        using enum CharStyle;
        QCOMPARE(lines.styles(0).styles.first(3), (QList<CharStyle>{mistyped, caret, coming}));
        const std::pair<int, int> restyled{0, ExerciseLineModel::StylesRole};
        QCOMPARE(changes, QList{restyled});
        QCOMPARE(caption.size(), 0);
        QCOMPARE(m.figures.speed() + u'|' + m.figures.accuracy() + u'|' + m.figures.progressText(),
                 u"40|50,0 %|урок на 1 %"_s);

        // the lines move on when the caret reaches the next one
        const QString second = lines.text(1);
        while (lines.text(0) != second)
            m.rig.app->handleKey(m.rig.engine().expected());
        QCOMPARE(changes.count({0, ExerciseLineModel::LineRole}), 1);
        QCOMPARE(changes.count({1, ExerciseLineModel::LineRole}), 1);
        QCOMPARE(lines.styles(0).styles.first(), caret);
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
        QCOMPARE(m.figures.accuracy(), accuracy); // the status bar agrees with the card
        QCOMPARE(m.card.accuracy(), accuracy);
        QTEST(m.card.title(), "title");
        QTEST(m.card.reminderShown(), "reminder");
        QCOMPARE(m.card.primaryText(), u"Дальше (⏎)"_s);
        QCOMPARE(m.card.primaryName(), u"Дальше"_s);
    }

    void completedLessonCardSpeaksOfTheNextLesson()
    {
        ProfileData p;
        p.currentLessonID = 4;
        p.exercisesPassed = {{4, 2}, {5, 1}};
        ScreenRig m(p);
        m.rig.app->startTraining();
        QCOMPARE(m.text.caption(), u"Урок 4 · Домашний ряд · Ф и Ж — мизинцы"_s);
        m.rig.typeRest();
        QCOMPARE(m.card.title(), u"Урок пройден!"_s);
        QCOMPARE(m.card.primaryText(), u"К следующему уроку"_s);
        QCOMPARE(m.card.lessonCount(), u"1 из 3"_s); // the passes of lesson 5
    }

    void heatLevels()
    {
        KeyboardViewModel keyboard;
        keyboard.setNext(NextKey::of(u"Ж"_s));
        keyboard.setTraining(false);
        keyboard.setErrors(KeyLevels{{{u"ф"_s, 1.0}, {u"ж"_s, 3.0}, {u"о"_s, 0.5},
                                      {u"а"_s, 0.001}, {u"в"_s, 0.35}, {u"ы"_s, 0.7}}});
        const auto look = [&keyboard](const char16_t *key) {
            return std::pair(keyboard.cap(key)->fill(), keyboard.cap(key)->labelColor());
        };
        // a key without errors is plain card, and so is a trace of them; more than 1 is drawn
        // as 1, with a light label; a half is fainter, with the plain key's label
        QCOMPARE(look(u"к").first, Theme::instance()->card());
        QCOMPARE(look(u"а"), look(u"к"));
        QCOMPARE(look(u"ж"), look(u"ф"));
        QVERIFY(look(u"ф").second != look(u"к").second);
        QVERIFY(look(u"о").first.alphaF() < look(u"ф").first.alphaF());
        QCOMPARE(look(u"о").second, look(u"к").second);
        // in words, in the steps the colours take: none, pale, deeper, the light label
        QStringList words;
        for (const char16_t *key : {u"к", u"а", u"в", u"о", u"ы", u"ф", u"ж"})
            words << keyboard.cap(key)->errorWords();
        QCOMPARE(words, (QStringList{u"ошибок не замечено"_s, u"ошибок не замечено"_s,
                                     u"ошибки редко"_s, u"ошибки иногда"_s, u"ошибки иногда"_s,
                                     u"ошибки часто"_s, u"ошибки часто"_s}));
        QCOMPARE(look(u"ы").second, look(u"к").second);
        QCOMPARE(keyboard.cap(u".")->spokenName(), u"точка"_s);
        // nothing is next, no zone bar, bump or Shift
        QVERIFY(!keyboard.cap(u"ж")->isNext() && !keyboard.cap(u"ж")->zoneBarShown());
        QVERIFY(!keyboard.leftShiftLit() && !keyboard.cap(u"а")->homeBumpShown());
    }

    // Where the arrows take the error map's focus among its unlocked keys.
    void focusMoves_data()
    {
        QTest::addColumn<QString>("unlocked"); // the focused key first
        QTest::addColumn<KeyboardViewModel::Move>("move");
        QTest::addColumn<QString>("to");
        using enum KeyboardViewModel::Move;
        QTest::newRow("Right over a locked key") << "фвапйц" << Right << "в";
        QTest::newRow("Home over a locked key") << "пфвайц" << Home << "ф";
        QTest::newRow("Down halfway: the right key") << "цфыу" << Down << "ы";
        QTest::newRow("Up halfway: the left key") << "ыфцу" << Up << "ц";
        QTest::newRow("Down to the nearest unlocked") << "цвж" << Down << "в";
        QTest::newRow("Up over a locked row") << "яй" << Up << "й";
    }

    void focusMoves()
    {
        QFETCH(QString, unlocked);
        QFETCH(KeyboardViewModel::Move, move);
        KeyboardViewModel keyboard;
        keyboard.setPickable(Characters::split(unlocked));
        keyboard.setFocusKey(unlocked.left(1));
        QTEST(keyboard.neighbour(move), "to");
    }

    void keystrokeTouchesOnlyTheOldAndNewKey()
    {
        KeyboardViewModel keyboard;
        keyboard.setNext(NextKey::of(u"Ж"_s));
        QStringList touched;
        for (KeyCap *cap : keyboard.findChildren<KeyCap *>())
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
