// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_rig.h"
#include "characters.h"
#include "course_view_model.h"
#include "manuscript.h"
#include "manuscript_view_model.h"
#include "root_view_model.h"
#include "stats_view_model.h"

#include <QTest>

using namespace Qt::StringLiterals;

using Passes = QMap<qint64, qint64>;

Q_DECLARE_METATYPE(std::optional<qint64>)

namespace {

ProfileData course(const Passes &passed, qint64 current)
{
    ProfileData p;
    p.exercisesPassed = passed;
    p.currentLessonID = current;
    return p;
}

// Every lesson from `first` to `last` passed three times.
Passes allPassed(qint64 first, qint64 last)
{
    Passes passed;
    for (qint64 id = first; id <= last; ++id)
        passed.insert(id, 3);
    return passed;
}

DayStat day(const QString &date, double bestSpeed, qint64 chars = 100, qint64 errors = 0)
{
    return DayStat{date, chars, errors, 60.0, bestSpeed};
}

ProfileData withManuscript(const QString &text, std::optional<qint64> chunk = std::nullopt)
{
    ProfileData p;
    p.manuscript = text;
    p.manuscriptChunk = chunk;
    return p;
}

// About 300 characters of ordinary words: two fragments.
QString text300()
{
    return u"жила была собака и кот "_s.repeated(13).trimmed();
}

} // namespace

class TestScreenViewModels : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stageRows_data();
    void stageRows();

    void newProfileTiles();
    void speedValue_data();
    void speedValue();
    void accuracyTile();
    void chartNeedsTwoPoints();
    void speedAxis_data();
    void speedAxis();
    void heatLevelsSkipRareKeys();

    void draftFeedback_data();
    void draftFeedback();
    void summary_data();
    void summary();
    void trainingStoresTheCleanedText();
    void largeDraftIsCountedAfterAPause();
    void storageNoteSaysWhyNothingIsSaved();
};

void TestScreenViewModels::stageRows_data()
{
    QTest::addColumn<Passes>("passed");
    QTest::addColumn<qint64>("currentLesson");
    QTest::addColumn<int>("stage");
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("current");
    QTest::addColumn<bool>("done");
    QTest::addColumn<StageIcon::Kind>("icon");
    QTest::addColumn<qint64>("startsLesson");

    const auto idle = StageIcon::Idle;
    const auto cur = StageIcon::Current;
    const auto done = StageIcon::Done;
    QTest::newRow("fresh: first stage") << Passes{} << 1LL << 0 << "урок 1 из 6" << true << false << cur << 1LL;
    QTest::newRow("fresh: other stage") << Passes{} << 1LL << 1 << "7 уроков" << false << false << idle << 7LL;
    QTest::newRow("passed twice is not done") << Passes{{1, 2}} << 1LL << 0 << "урок 1 из 6" << true << false << cur << 1LL;
    QTest::newRow("passed three times is done") << Passes{{1, 3}} << 2LL << 0 << "урок 2 из 6" << true << false << cur << 2LL;
    QTest::newRow("third of seven") << Passes{} << 9LL << 1 << "урок 3 из 7" << true << false << cur << 7LL;
    QTest::newRow("stage done") << allPassed(1, 6) << 7LL << 0 << "пройден" << false << true << done << 1LL;
    QTest::newRow("done and current") << allPassed(1, 6) << 6LL << 0 << "пройден" << true << true << done << 1LL;
    QTest::newRow("prose passed often") << Passes{{28, 9}} << 1LL << 5 << "без предела" << false << false << idle << 28LL;
    QTest::newRow("prose current") << allPassed(1, 28) << 28LL << 5 << "без предела" << true << false << cur << 28LL;
    QTest::newRow("unknown lesson id") << Passes{} << 999LL << 0 << "урок 1 из 6" << true << false << cur << 1LL;
}

void TestScreenViewModels::stageRows()
{
    QFETCH(Passes, passed);
    QFETCH(qint64, currentLesson);
    QFETCH(int, stage);

    AppRig rig(course(passed, currentLesson));
    CourseViewModel model;
    model.setApp(rig.app.get());

    const StageRow row = CourseViewModel::rows(rig.profile()).at(stage);
    QTEST(row.label, "label");
    QTEST(row.current, "current");
    QTEST(row.done, "done");
    QTEST(row.icon, "icon");

    // and a click on it starts this lesson on the training tab
    model.openStage(stage);
    QTEST(rig.app->activeLesson().id, "startsLesson");
    QCOMPARE(rig.app->tab(), AppState::Tab::Training);
}

void TestScreenViewModels::newProfileTiles()
{
    const QList<StatsTile> expected{
        {u"Скорость"_s, u"—"_s, {}, u"первые замеры впереди"_s},
        {u"Точность"_s, u"100,0 %"_s, {}, u"цель — не ниже 97 %"_s},
        {u"Дней подряд"_s, u"0"_s, {}, u"не прерывайте серию"_s},
        {u"За клавиатурой"_s, u"0 м"_s, {}, u"начните сегодня"_s},
    };
    QCOMPARE(StatsViewModel::tilesFor(ProfileData{}, QDateTime::currentDateTime()), expected);
}

void TestScreenViewModels::speedValue_data()
{
    QTest::addColumn<double>("speed");
    QTest::addColumn<QString>("value");

    QTest::newRow("142.5") << 142.5 << "143";
    QTest::newRow("142.49") << 142.49 << "142";
    QTest::newRow("none") << 0.0 << "—";
}

void TestScreenViewModels::speedValue()
{
    QFETCH(double, speed);

    ProfileData p;
    p.days = {day(u"2026-12-06"_s, speed)};
    const StatsTile tile = StatsViewModel::tilesFor(p, QDateTime(QDate(2026, 12, 6), QTime(9, 0))).first();

    QTEST(tile.value, "value");
    QCOMPARE(tile.unit, speed > 0 ? u"зн/мин"_s : QString());
}

void TestScreenViewModels::accuracyTile()
{
    ProfileData p;
    p.days = {day(u"2026-12-05"_s, 100, 10, 1), day(u"2026-12-06"_s, 100, 20, 0)};
    const QList<StatsTile> tiles = StatsViewModel::tilesFor(p, QDateTime(QDate(2026, 12, 6), QTime(9, 0)));
    QCOMPARE(tiles.at(1).value, u"96,7 %"_s);
    QCOMPARE(tiles.at(2).value, u"2"_s);
    QCOMPARE(tiles.at(3).note, u"с 5 декабря"_s);
}

void TestScreenViewModels::chartNeedsTwoPoints()
{
    ProfileData p;
    p.days = {day(u"2026-12-01"_s, 120.4)};
    AppRig rig(p);
    StatsViewModel model;
    model.setApp(rig.app.get());
    QVERIFY(!model.chartShown());

    // when a second day with a speed is recorded
    rig.app->store()->update([](ProfileData &d) {
        d.days.append(day(u"2026-12-02"_s, 0.0));
        d.days.append(day(u"2026-12-04"_s, 150.5));
    });

    // then the chart spans both days, its last point labelled
    QVERIFY(model.chartShown());
    QCOMPARE(model.chartPoints().size(), 2);
    QCOMPARE(model.chartFrom(), QDate(2026, 12, 1).startOfDay());
    QCOMPARE(model.chartTo(), QDate(2026, 12, 4).startOfDay().addSecs(3 * 86400 * 3 / 100));
    QCOMPARE(model.dateTickCount(), 4);
    QCOMPARE(model.lastSpeedText(), u"151"_s);
}

void TestScreenViewModels::speedAxis_data()
{
    QTest::addColumn<QList<double>>("speeds");
    QTest::addColumn<double>("max");
    QTest::addColumn<int>("ticks");

    QTest::newRow("143") << QList<double>{90, 143} << 200.0 << 5;
    QTest::newRow("100") << QList<double>{100} << 150.0 << 4;
    QTest::newRow("nothing") << QList<double>{} << 10.0 << 2;
}

void TestScreenViewModels::speedAxis()
{
    QFETCH(QList<double>, speeds);
    QList<SpeedPoint> points;
    for (double s : speeds)
        points.append(SpeedPoint{{}, {}, s});
    const SpeedAxis axis = StatsViewModel::speedAxis(points);
    QTEST(axis.max, "max");
    QTEST(axis.tickCount, "ticks");
    if (!speeds.isEmpty())
        QVERIFY(axis.max >= *std::max_element(speeds.cbegin(), speeds.cend()) * 1.1);
}

void TestScreenViewModels::heatLevelsSkipRareKeys()
{
    ProfileData p;
    p.keyStats = {{u"а"_s, KeyStat{10, 3, 0.2, 0.3}}, {u"о"_s, KeyStat{4, 4, 0.9, 0.3}}};
    AppRig rig(p);
    StatsViewModel model;
    model.setApp(rig.app.get());

    QVERIFY(model.heatMapShown());
    QCOMPARE(model.heatLevels().levels, (QMap<QString, double>{{u"а"_s, 1.0}}));
}

void TestScreenViewModels::draftFeedback_data()
{
    QTest::addColumn<QString>("draft");
    QTest::addColumn<QString>("counter");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<bool>("canTrain");

    const QString letters39 = u"абвгд "_s.repeated(6) + u"жзи"_s; // 39 characters
    QTest::newRow("empty") << "" << "Пусто — вставьте текст" << "" << false;
    QTest::newRow("39 cleaned") << u"\n  "_s + letters39 + u"  \n"_s << "39 знаков · 1 фрагментов" << ""
                                << false;
    QTest::newRow("40 cleaned") << u"\n  "_s + letters39 + u"к  \n"_s << "40 знаков · 1 фрагментов"
                                << "" << true;
    QTest::newRow("Hello World") << "Привет, Hello World!" << "20 знаков · 1 фрагментов"
                                 << "В тексте есть латиница (HWdelo…) — её курс не тренирует"
                                 << false;
    QTest::newRow("more than six") << "zyx wvu tsr" << "11 знаков · 1 фрагментов"
                                   << "В тексте есть латиница (rstuvw…) — её курс не тренирует"
                                   << false;
}

void TestScreenViewModels::draftFeedback()
{
    AppRig rig;
    ManuscriptViewModel model;
    model.setApp(rig.app.get());
    QVERIFY(!model.summaryShown());
    QVERIFY(!model.cancelShown());

    QFETCH(QString, draft);
    model.setDraft(draft);

    QTEST(model.counterText(), "counter");
    QTEST(model.latinWarning(), "warning");
    QTEST(model.canTrain(), "canTrain");
}

void TestScreenViewModels::summary_data()
{
    QTest::addColumn<std::optional<qint64>>("stored");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("continueText");

    QTest::newRow("no index") << std::optional<qint64>() << "298 знаков · фрагмент 1 из 2"
                              << "Продолжить с фрагмента 1";
    QTest::newRow("second") << std::optional<qint64>(1) << "298 знаков · фрагмент 2 из 2"
                            << "Продолжить с фрагмента 2";
    QTest::newRow("past the end") << std::optional<qint64>(7) << "298 знаков · фрагмент 2 из 2"
                                  << "Продолжить с фрагмента 2";
    QTest::newRow("negative") << std::optional<qint64>(-3) << "298 знаков · фрагмент 1 из 2"
                              << "Продолжить с фрагмента 1";
}

void TestScreenViewModels::summary()
{
    QFETCH(std::optional<qint64>, stored);
    AppRig rig(withManuscript(text300(), stored));
    ManuscriptViewModel model;
    model.setApp(rig.app.get());

    QVERIFY(model.summaryShown());
    QTEST(model.summaryText(), "summary");
    QTEST(model.continueText(), "continueText");

    // the preview: the current fragment's first 160 characters in quotes
    const QString fragment = Manuscript::chunks(text300()).at(model.currentIndex());
    QCOMPARE(model.preview(), u"«"_s + fragment.left(160) + u"…»"_s);

    // continuing resumes at the shown fragment
    model.continueTyping();
    QCOMPARE(rig.engine().text().join(QString()), fragment);
}

void TestScreenViewModels::trainingStoresTheCleanedText()
{
    AppRig rig(withManuscript(text300(), 1));
    ManuscriptViewModel model;
    model.setApp(rig.app.get());
    model.replace();

    // too short: nothing happens
    model.setDraft(u"  коротко  "_s);
    model.train();
    QCOMPARE(rig.app->tab(), AppState::Tab::Course);

    // long enough: stored cleaned, typed from the first fragment
    const QString raw = u"  Первая строка…\n\nвторая   строка – и третья строка текста  "_s;
    model.setDraft(raw);
    model.train();
    const QString cleaned = u"Первая строка... вторая строка — и третья строка текста"_s;
    QCOMPARE(rig.profileOnDisk()->manuscript, cleaned);
    QVERIFY(!model.editing());
    QCOMPARE(model.draft(), raw);
}

void TestScreenViewModels::largeDraftIsCountedAfterAPause()
{
    // given an editor holding a pasted chapter, handing it over when asked
    AppRig rig;
    ManuscriptViewModel model;
    model.setApp(rig.app.get());
    QString editor = u"слово "_s.repeated(6000);
    QObject::connect(&model, &ManuscriptViewModel::draftWanted, &model,
                     [&] { model.setDraft(editor); });

    // when it reports the edit, the counter waits for the pause
    model.edited(int(editor.size()));
    QVERIFY(model.recountPending());
    QCOMPARE(model.counterText(), u"Пусто — вставьте текст"_s);
    QTRY_COMPARE(model.counterText(), u"35999 знаков · 215 фрагментов"_s);

    // a short text is counted at once
    editor = u"кот"_s;
    model.edited(3);
    QVERIFY(!model.recountPending());
    QCOMPARE(model.counterText(), u"3 знаков · 1 фрагментов"_s);
}

void TestScreenViewModels::storageNoteSaysWhyNothingIsSaved()
{
    // given a running Olvi, and a second one started on the same folder
    AppRig first;
    AppServices services;
    services.dataFolder = first.folder.path();
    AppState second(services);

    // then only the second says that its progress is not saved
    RootViewModel header;
    header.setApp(&second);
    QCOMPARE(header.storageNote(), u"Олви открыт в другом окне — здесь прогресс не сохраняется"_s);
    header.setApp(first.app.get());
    QVERIFY(header.storageNote().isEmpty());
}

QTEST_GUILESS_MAIN(TestScreenViewModels)
#include "test_screen_view_models.moc"
