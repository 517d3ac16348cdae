// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_rig.h"
#include "course.h"
#include "manuscript.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

ProfileData profileAtLesson(qint64 lesson, qint64 passesSoFar = 0)
{
    ProfileData p;
    p.currentLessonID = lesson;
    if (passesSoFar > 0)
        p.exercisesPassed.insert(lesson, passesSoFar);
    return p;
}

ProfileData profileWithManuscript(const QString &text)
{
    ProfileData p;
    p.manuscript = text;
    p.manuscriptChunk = 0;
    return p;
}

QString words(int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << u"слово%1"_s.arg(QChar(u'а' + i % 30));
    return list.join(u' ');
}

} // namespace

class TestAppState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startsOnTheCourseTabWithTheStoredLesson();
    void tabTitles();
    void startTrainingEnforcesRussianAndShowsTheExercise();
    void finishedExerciseFigures_data();
    void finishedExerciseFigures();
    void thirdPassOfTheCurrentLessonAdvancesTheCourse();
    void passingAnEarlierLessonNeverMovesTheCourse();
    void proseAndManuscriptNeverCount();
    void manuscriptFragmentsAreClampedAndEnd();
    void negativeStoredFragmentCountsAsTheFirst();
    void fragmentsWithUntypeableCharactersCanBeFinished();
    void noManuscriptShowsTheManuscriptTab();
    void latinLetterSwitchesLayoutAndWarningClears();
    void wrongKeyBeepsOnlyWithSoundOn();
    void layoutChangesAreAnsweredOnlyWhileTyping();
    void restartTypesTheSameTextAfresh();
    void storeChangesAreForwarded();
};

void TestAppState::startsOnTheCourseTabWithTheStoredLesson()
{
    AppRig rig(profileAtLesson(5));

    QCOMPARE(rig.app->tab(), AppState::Tab::Course);
    QCOMPARE(rig.app->activeLesson().id, 5);
    QVERIFY(!rig.app->lastResult().has_value());
    QVERIFY(!rig.app->manuscriptMode());
    QVERIFY(rig.engine().text().isEmpty());

    AppRig unknown(profileAtLesson(99));
    QCOMPARE(unknown.app->activeLesson().id, 1);
}

void TestAppState::tabTitles()
{
    QStringList titles;
    for (AppState::Tab t : AppState::allTabs())
        titles << AppState::tabTitle(t);
    QCOMPARE(titles, (QStringList{u"Курс"_s, u"Тренировка"_s, u"Рукопись"_s, u"Прогресс"_s}));
}

void TestAppState::startTrainingEnforcesRussianAndShowsTheExercise()
{
    AppRig rig(profileAtLesson(3));

    rig.app->startTraining();

    QCOMPARE(rig.sources.selected, QList<qsizetype>{1});
    QCOMPARE(rig.app->tab(), AppState::Tab::Training);
    QCOMPARE(rig.app->activeLesson().id, 3);
    QVERIFY(rig.engine().text().size() >= 149);

    // a chosen lesson wins over the stored one
    rig.app->startTraining(Course::lesson(21));
    QCOMPARE(rig.app->activeLesson().id, 21);
    QCOMPARE(rig.profile().currentLessonID, 3);
}

void TestAppState::finishedExerciseFigures_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("wrongKeys");
    QTest::addColumn<double>("activeSeconds");
    QTest::addColumn<double>("speed");
    QTest::addColumn<double>("accuracy");
    QTest::addColumn<bool>("passed");

    QTest::newRow("4 wrong in 40 s") << 100 << 4 << 40.0 << 150.0 << 100.0 / 104.0 << true;
    QTest::newRow("5 wrong in 40 s") << 100 << 5 << 40.0 << 150.0 << 100.0 / 105.0 << false;
    QTest::newRow("exactly 96 %") << 96 << 4 << 40.0 << 144.0 << 0.96 << true;
    QTest::newRow("one active second") << 100 << 0 << 1.0 << 0.0 << 1.0 << true;
}

void TestAppState::finishedExerciseFigures()
{
    QFETCH(int, length);
    QFETCH(int, wrongKeys);
    QFETCH(double, activeSeconds);
    QFETCH(double, speed);
    QFETCH(double, accuracy);
    QFETCH(bool, passed);

    // given a manuscript fragment of `length` characters
    const QString text = u"ж"_s.repeated(50) + u"а"_s.repeated(length - 50);
    AppRig rig(profileWithManuscript(text));
    rig.app->startManuscript();
    QCOMPARE(rig.engine().text().size(), length);

    // when it is typed with some wrong keys, one second between the first
    // keys and no time between the rest (so the sum is exact)
    const int keystrokes = length + wrongKeys;
    for (int i = 0; i < keystrokes; ++i) {
        if (i > 0 && i <= activeSeconds)
            rig.clock += 1.0;
        rig.app->handleKey(i < wrongKeys ? u"1"_s : rig.engine().expected());
    }
    QCOMPARE(rig.engine().activeSeconds(), activeSeconds);

    // then the result holds the figures and the day is recorded
    QVERIFY(rig.app->lastResult().has_value());
    const ExerciseResult r = *rig.app->lastResult();
    QVERIFY2(qAbs(r.speed - speed) < 1e-6, qPrintable(QString::number(r.speed)));
    QCOMPARE(r.accuracy, accuracy);
    QCOMPARE(r.passed, passed);
    QVERIFY(!r.lessonCompleted);
    QCOMPARE(rig.app->lastResultValue().value<ExerciseResult>(), r);

    const auto onDisk = rig.profileOnDisk();
    QVERIFY(onDisk.has_value());
    QCOMPARE(onDisk->days.size(), 1);
    QCOMPARE(onDisk->days[0].date, u"2026-12-06"_s);
    QCOMPARE(onDisk->days[0].chars, length);
    QCOMPARE(onDisk->days[0].errors, wrongKeys);
    QCOMPARE(onDisk->keyStats.value(u"ж"_s).attempts, 50 + wrongKeys);
    QCOMPARE(onDisk->keyStats.value(u"ж"_s).errors, wrongKeys);
    QCOMPARE(onDisk->keyStats.value(u"а"_s).attempts, length - 50);
    QVERIFY(onDisk->exercisesPassed.isEmpty());
}

void TestAppState::thirdPassOfTheCurrentLessonAdvancesTheCourse()
{
    AppRig rig(profileAtLesson(5, 2));
    rig.app->startTraining();

    rig.typeRest();

    // then the lesson counts as completed and the course moves to lesson 6
    QVERIFY(rig.app->lastResult()->passed);
    QVERIFY(rig.app->lastResult()->lessonCompleted);
    QCOMPARE(rig.profile().exercisesPassed.value(5), 3);
    QCOMPARE(rig.profile().currentLessonID, 6);
    QCOMPARE(rig.profileOnDisk()->currentLessonID, 6);

    // the next exercise is of lesson 6, while a fourth pass of lesson 5 counts
    // but moves nothing
    QCOMPARE(rig.app->activeLesson().id, 6);
    rig.app->startTraining(Course::lesson(5));
    rig.typeRest();
    QVERIFY(!rig.app->lastResult()->lessonCompleted);
    QCOMPARE(rig.profile().exercisesPassed.value(5), 4);
    QCOMPARE(rig.profile().currentLessonID, 6);
}

void TestAppState::passingAnEarlierLessonNeverMovesTheCourse()
{
    ProfileData p = profileAtLesson(9);
    p.exercisesPassed.insert(4, 7);
    AppRig rig(p);

    rig.app->startTraining(Course::lesson(4));
    rig.typeRest();

    QCOMPARE(rig.profile().exercisesPassed.value(4), 8);
    QCOMPARE(rig.profile().currentLessonID, 9);
    QVERIFY(!rig.app->lastResult()->lessonCompleted);

    // a count already at the limit stays there, and the lesson stays completed
    constexpr qint64 limit = std::numeric_limits<qint64>::max();
    ProfileData full = profileAtLesson(9);
    full.exercisesPassed.insert(4, limit);
    AppRig worn(full);
    worn.app->startTraining(Course::lesson(4));
    worn.typeRest();
    QCOMPARE(worn.profileOnDisk()->exercisesPassed.value(4), limit);
    QVERIFY(worn.profileOnDisk()->completedLessons().contains(4));
}

void TestAppState::proseAndManuscriptNeverCount()
{
    // the last lesson, prose, passed as the current lesson
    AppRig prose(profileAtLesson(28, 5));
    prose.app->startTraining();
    QCOMPARE(prose.app->activeLesson().kind, LessonKind::prose);
    prose.typeRest();
    QVERIFY(prose.app->lastResult()->passed);
    QVERIFY(!prose.app->lastResult()->lessonCompleted);
    QCOMPARE(prose.profile().exercisesPassed.value(28), 5);
    QCOMPARE(prose.profile().currentLessonID, 28);

    // a manuscript fragment, typed while lesson 5 is active
    ProfileData p = profileWithManuscript(words(10));
    p.currentLessonID = 5;
    p.exercisesPassed.insert(5, 2);
    AppRig manuscript(p);
    manuscript.app->startManuscript();
    manuscript.typeRest();
    QVERIFY(manuscript.app->lastResult()->passed);
    QVERIFY(!manuscript.app->lastResult()->lessonCompleted);
    QCOMPARE(manuscript.profile().exercisesPassed.value(5), 2);
    QCOMPARE(manuscript.app->activeLesson().id, 5);
}

void TestAppState::manuscriptFragmentsAreClampedAndEnd()
{
    // given a manuscript of three fragments
    const QString text = words(60);
    QCOMPARE(Manuscript::chunks(text).size(), 3);
    AppRig rig(profileWithManuscript(text));

    // when typing starts beyond the last fragment
    rig.app->startManuscript(7);

    // then the last fragment is typed and stored
    QVERIFY(rig.app->manuscriptMode());
    QCOMPARE(rig.app->tab(), AppState::Tab::Training);
    QCOMPARE(rig.engine().text().join(QString()), Manuscript::chunks(text).at(2));
    QCOMPARE(rig.profileOnDisk()->manuscriptChunk, std::optional<qint64>(2));

    // and after it the manuscript tab returns, the fragment stays stored
    rig.typeRest();
    rig.app->nextExercise();
    QVERIFY(!rig.app->manuscriptMode());
    QCOMPARE(rig.app->tab(), AppState::Tab::Manuscript);
    QCOMPARE(rig.profile().manuscriptChunk, std::optional<qint64>(2));

    // while from the first fragment, the next one follows
    AppRig first(profileWithManuscript(text));
    first.app->startManuscript(0);
    first.typeRest();
    first.app->nextExercise();
    QVERIFY(first.app->manuscriptMode());
    QCOMPARE(first.engine().text().join(QString()), Manuscript::chunks(text).at(1));
    QCOMPARE(first.profileOnDisk()->manuscriptChunk, std::optional<qint64>(1));
}

void TestAppState::negativeStoredFragmentCountsAsTheFirst()
{
    const QString text = words(60);
    ProfileData p = profileWithManuscript(text);
    p.manuscriptChunk = -3;

    AppRig start(p);
    start.app->startManuscript();
    QCOMPARE(start.engine().text().join(QString()), Manuscript::chunks(text).at(0));
    QCOMPARE(start.profile().manuscriptChunk, std::optional<qint64>(0));

    // a fragment in progress when the stored index is negative moves on to the second
    AppRig next(p);
    next.app->startManuscript(0);
    next.app->store()->update([](ProfileData &d) { d.manuscriptChunk = -3; });
    next.typeRest();
    next.app->nextExercise();
    QCOMPARE(next.engine().text().join(QString()), Manuscript::chunks(text).at(1));
}

void TestAppState::fragmentsWithUntypeableCharactersCanBeFinished()
{
    // given a fragment of nothing but „ and one with Latin words and ’
    const QString text = QString(171, u'„') + u" Он сказал: „Hello, world“ — и ушёл’."_s;
    AppRig rig(profileWithManuscript(text));

    // when the first is started, it is done at once, with nothing recorded of its characters
    rig.app->startManuscript(0);
    QVERIFY(rig.app->lastResult().has_value());
    QCOMPARE(rig.app->tab(), AppState::Tab::Training);

    // and the second is finished by typing only what a Russian key types
    rig.app->nextExercise();
    rig.typeRest();
    QVERIFY(rig.app->lastResult().has_value());
    QCOMPARE(rig.engine().errorCount(), 0);
    const auto keys = rig.profileOnDisk()->keyStats.keys();
    for (const QString &absent : {u"„"_s, u"H"_s, u"w"_s, u"’"_s})
        QVERIFY2(!keys.contains(absent), qPrintable(absent));
    QVERIFY(keys.contains(u"ш"_s));
}

void TestAppState::noManuscriptShowsTheManuscriptTab()
{
    AppRig rig;
    rig.app->startManuscript();

    QCOMPARE(rig.app->tab(), AppState::Tab::Manuscript);
    QVERIFY(!rig.app->manuscriptMode());
    QVERIFY(rig.engine().text().isEmpty());
    QVERIFY(rig.sources.selected.isEmpty());
    QVERIFY(!rig.profileOnDisk().has_value()); // nothing was written
}

void TestAppState::latinLetterSwitchesLayoutAndWarningClears()
{
    // given an exercise typed while the user switched back to Latin on another tab
    AppRig rig(profileAtLesson(1));
    rig.app->startTraining();
    rig.app->setTab(AppState::Tab::Course);
    rig.sources.switchByUser(0);
    rig.app->setTab(AppState::Tab::Training);
    const int beeps = rig.sound.beeps;
    QSignalSpy warning(&rig.engine(), &SessionEngine::wrongLayoutWarningChanged);

    // when a Latin letter arrives where Cyrillic is expected
    QElapsedTimer elapsed;
    elapsed.start();
    rig.app->handleKey(u"f"_s);

    // then Russian is selected again, nothing counts, no beep, a warning shows
    QCOMPARE(rig.sources.current, std::optional<qsizetype>(1));
    QVERIFY(rig.engine().wrongLayoutWarning());
    QCOMPARE(rig.engine().errorCount(), 0);
    QCOMPARE(rig.sound.beeps, beeps);

    // and the warning goes by itself 1.5 s later
    QTRY_VERIFY_WITH_TIMEOUT(!rig.engine().wrongLayoutWarning(), 5000);
    QVERIFY2(elapsed.elapsed() >= 1400, qPrintable(QString::number(elapsed.elapsed())));
    QCOMPARE(warning.size(), 2);
}

void TestAppState::wrongKeyBeepsOnlyWithSoundOn()
{
    AppRig rig(profileWithManuscript(words(3)));
    rig.app->startManuscript();
    rig.app->handleKey(u"1"_s);
    QCOMPARE(rig.sound.beeps, 1);
    rig.app->handleKey(rig.engine().expected()); // a right key is silent
    QCOMPARE(rig.sound.beeps, 1);

    rig.app->store()->update([](ProfileData &d) { d.soundOn = false; });
    rig.app->handleKey(u"1"_s);
    QCOMPARE(rig.sound.beeps, 1);
    QCOMPARE(rig.engine().errorCount(), 2);
}

void TestAppState::layoutChangesAreAnsweredOnlyWhileTyping()
{
    AppRig rig(profileAtLesson(1));

    // on the course tab a switch to Latin is left alone
    rig.sources.switchByUser(0);
    QVERIFY(rig.sources.selected.isEmpty());

    // while typing, it is switched back at once
    rig.app->startTraining();
    rig.sources.selected.clear();
    rig.sources.switchByUser(0);
    QCOMPARE(rig.sources.selected, QList<qsizetype>{1});

    // with the result shown, it is left alone again
    rig.typeRest();
    rig.sources.selected.clear();
    rig.sources.switchByUser(0);
    QVERIFY(rig.sources.selected.isEmpty());
}

void TestAppState::restartTypesTheSameTextAfresh()
{
    AppRig rig(profileAtLesson(2));
    rig.app->startTraining();
    const QStringList text = rig.engine().text();
    rig.app->handleKey(rig.engine().expected());
    rig.app->handleKey(u"1"_s);

    rig.app->restartExercise();

    QCOMPARE(rig.engine().text(), text);
    QCOMPARE(rig.engine().position(), 0);
    QCOMPARE(rig.engine().errorCount(), 0);

    // after a result, restarting clears it
    rig.typeRest();
    QVERIFY(rig.app->lastResult().has_value());
    rig.app->restartExercise();
    QVERIFY(!rig.app->lastResult().has_value());
    QCOMPARE(rig.engine().text(), text);
}

void TestAppState::storeChangesAreForwarded()
{
    AppRig rig;
    QSignalSpy changed(rig.app.get(), &AppState::profileChanged);
    rig.app->store()->update([](ProfileData &d) { d.soundOn = false; });
    QCOMPARE(changed.size(), 1);
}

QTEST_GUILESS_MAIN(TestAppState)
#include "test_app_state.moc"
