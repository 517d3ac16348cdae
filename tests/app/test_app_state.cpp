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

ProfileData withManuscript(const QString &text)
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
    void startTrainingEnforcesRussianAndShowsTheExercise()
    {
        AppRig rig(profileAtLesson(3));
        QCOMPARE(rig.app->tab(), AppState::Tab::Course);
        QVERIFY(!rig.app->lastResult() && !rig.app->manuscriptMode());
        QVERIFY(rig.engine().text().isEmpty());
        QCOMPARE(AppRig(profileAtLesson(99)).app->activeLesson().id, 1);

        rig.app->startTraining();
        QCOMPARE(rig.sources.selected, QList<qsizetype>{1});
        QCOMPARE(rig.app->tab(), AppState::Tab::Training);
        QCOMPARE(rig.app->activeLesson().id, 3);
        QVERIFY(rig.engine().text().size() >= 149);
        // a chosen lesson wins over the stored one, which stays
        rig.app->startTraining(Course::lesson(21));
        QCOMPARE(rig.app->activeLesson().id, 21);
        QCOMPARE(rig.profile().currentLessonID, 3);
    }

    void finishedExerciseFigures_data()
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

    void finishedExerciseFigures()
    {
        QFETCH(int, length);
        QFETCH(int, wrongKeys);
        QFETCH(double, activeSeconds);
        QFETCH(double, speed);
        const QString text = u"ж"_s.repeated(50) + u"а"_s.repeated(length - 50);
        AppRig rig(withManuscript(text));
        rig.app->startManuscript();
        QCOMPARE(rig.engine().text().size(), length);

        // wrong keys first, one second between the first keys and no time after (an exact sum)
        for (int i = 0; i < length + wrongKeys; ++i) {
            if (i > 0 && i <= activeSeconds)
                rig.clock += 1.0;
            rig.app->handleKey(i < wrongKeys ? u"1"_s : rig.engine().expected());
        }
        QCOMPARE(rig.engine().activeSeconds(), activeSeconds);
        QVERIFY(rig.app->lastResult());
        const ExerciseResult r = *rig.app->lastResult();
        QVERIFY2(qAbs(r.speed - speed) < 1e-6, qPrintable(QString::number(r.speed)));
        QTEST(r.accuracy, "accuracy");
        QTEST(r.passed, "passed");
        QVERIFY(!r.lessonCompleted);
        QCOMPARE(rig.app->lastResultValue().value<ExerciseResult>(), r);

        // the day and the keys are recorded, and no lesson pass
        const auto onDisk = rig.profileOnDisk();
        QVERIFY(onDisk && onDisk->days.size() == 1 && onDisk->exercisesPassed.isEmpty());
        const DayStat &d = onDisk->days[0];
        QCOMPARE(std::tuple(d.date, d.chars, d.errors),
                 std::tuple(u"2026-12-06"_s, qint64(length), qint64(wrongKeys)));
        const auto counts = [&](const QString &key) {
            const KeyStat k = onDisk->keyStats.value(key);
            return std::pair(k.attempts, k.errors);
        };
        QCOMPARE(counts(u"ж"_s), std::pair(qint64(50 + wrongKeys), qint64(wrongKeys)));
        QCOMPARE(counts(u"а"_s), std::pair(qint64(length - 50), qint64(0)));
    }

    void thirdPassOfTheCurrentLessonAdvancesTheCourse()
    {
        AppRig rig(profileAtLesson(5, 2));
        rig.app->startTraining();
        rig.typeRest();
        QVERIFY(rig.app->lastResult()->passed && rig.app->lastResult()->lessonCompleted);
        QCOMPARE(rig.profile().exercisesPassed.value(5), 3);
        QCOMPARE(rig.profileOnDisk()->currentLessonID, 6);
        QCOMPARE(rig.app->activeLesson().id, 6);

        // a fourth pass of lesson 5 counts but moves nothing
        rig.app->startTraining(Course::lesson(5));
        rig.typeRest();
        QVERIFY(!rig.app->lastResult()->lessonCompleted);
        QCOMPARE(rig.profile().exercisesPassed.value(5), 4);
        QCOMPARE(rig.profile().currentLessonID, 6);
    }

    void passingAnEarlierLessonNeverMovesTheCourse_data()
    {
        QTest::addColumn<qint64>("passes");
        QTest::addColumn<qint64>("after");
        constexpr qint64 limit = std::numeric_limits<qint64>::max();
        QTest::newRow("seventh pass") << qint64(7) << qint64(8);
        QTest::newRow("count at the limit stays there") << limit << limit;
    }

    void passingAnEarlierLessonNeverMovesTheCourse()
    {
        QFETCH(qint64, passes);
        ProfileData p = profileAtLesson(9);
        p.exercisesPassed.insert(4, passes);
        AppRig rig(p);
        rig.app->startTraining(Course::lesson(4));
        rig.typeRest();
        QVERIFY(!rig.app->lastResult()->lessonCompleted);
        const ProfileData onDisk = rig.profileOnDisk().value_or(ProfileData());
        QTEST(onDisk.exercisesPassed.value(4), "after");
        QCOMPARE(onDisk.currentLessonID, 9);
        QVERIFY(onDisk.completedLessons().contains(4));
    }

    void proseAndManuscriptNeverCount()
    {
        AppRig prose(profileAtLesson(28, 5)); // the last lesson, prose, passed as the current one
        prose.app->startTraining();
        QCOMPARE(prose.app->activeLesson().kind, LessonKind::prose);
        prose.typeRest();
        QVERIFY(prose.app->lastResult()->passed);
        QVERIFY(!prose.app->lastResult()->lessonCompleted);
        QCOMPARE(prose.profile().exercisesPassed.value(28), 5);

        ProfileData p = withManuscript(words(10)); // typed while lesson 5 is active
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

    void manuscriptFragments_data()
    {
        QTest::addColumn<qint64>("stored");
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("storedGoesNegative");
        QTest::addColumn<int>("typed"); // the fragment typed first
        QTest::addColumn<int>("next");  // what follows it: a fragment, or -1 for the tab

        QTest::newRow("beyond the last") << qint64(0) << 7 << false << 2 << -1;
        QTest::newRow("from the first") << qint64(0) << 0 << false << 0 << 1;
        QTest::newRow("stored negative") << qint64(-3) << -1 << false << 0 << 1;
        QTest::newRow("negative while typing") << qint64(0) << 0 << true << 0 << 1;
    }

    void manuscriptFragments()
    {
        QFETCH(qint64, stored);
        QFETCH(int, start);
        QFETCH(bool, storedGoesNegative);
        QFETCH(int, typed);
        QFETCH(int, next);
        const QStringList chunks = Manuscript::chunks(words(60));
        QCOMPARE(chunks.size(), 3);
        ProfileData p = withManuscript(words(60));
        p.manuscriptChunk = stored;
        AppRig rig(p);
        start < 0 ? rig.app->startManuscript() : rig.app->startManuscript(start);
        QVERIFY(rig.app->manuscriptMode());
        QCOMPARE(rig.engine().text().join(QString()), chunks.at(typed));
        QCOMPARE(rig.profileOnDisk()->manuscriptChunk, std::optional<qint64>(typed));
        if (storedGoesNegative)
            rig.app->store()->update([](ProfileData &d) { d.manuscriptChunk = -3; });

        rig.typeRest();
        rig.app->nextExercise();
        QCOMPARE(rig.app->manuscriptMode(), next >= 0);
        if (next < 0) {
            QCOMPARE(rig.app->tab(), AppState::Tab::Manuscript);
            QCOMPARE(rig.profile().manuscriptChunk, std::optional<qint64>(typed));
        } else {
            QCOMPARE(rig.engine().text().join(QString()), chunks.at(next));
        }
    }

    void fragmentsWithUntypeableCharactersCanBeFinished()
    {
        // a fragment of nothing but „, then one with Latin words and ’
        const QString text = QString(171, u'„') + u" Он сказал: „Hello, world“ — и ушёл’."_s;
        AppRig rig(withManuscript(text));
        rig.app->startManuscript(0);
        QVERIFY(rig.app->lastResult()); // done at once
        QCOMPARE(rig.app->tab(), AppState::Tab::Training);

        rig.app->nextExercise();
        rig.typeRest();
        QVERIFY(rig.app->lastResult());
        QCOMPARE(rig.engine().errorCount(), 0);
        const auto keys = rig.profileOnDisk()->keyStats.keys();
        for (const QString &absent : {u"„"_s, u"H"_s, u"w"_s, u"’"_s})
            QVERIFY2(!keys.contains(absent), qPrintable(absent));
        QVERIFY(keys.contains(u"ш"_s));
    }

    void noManuscriptShowsTheManuscriptTab()
    {
        AppRig rig;
        rig.app->startManuscript();
        QCOMPARE(rig.app->tab(), AppState::Tab::Manuscript);
        QVERIFY(!rig.app->manuscriptMode());
        QVERIFY(rig.engine().text().isEmpty());
        QVERIFY(rig.sources.selected.isEmpty());
        QVERIFY(!rig.profileOnDisk()); // nothing was written
    }

    // Switching back is also checked on a real X server (test_app_state_x11) and end to end.
    void latinLetterSwitchesLayoutAndWarningClears()
    {
        AppRig rig(profileAtLesson(1)); // Latin chosen while away on another tab
        rig.app->startTraining();
        rig.app->setTab(AppState::Tab::Course);
        rig.sources.switchByUser(0);
        rig.app->setTab(AppState::Tab::Training);
        QCOMPARE(rig.sources.current, std::optional<qsizetype>(0));
        QSignalSpy warning(&rig.engine(), &SessionEngine::wrongLayoutWarningChanged);
        QElapsedTimer elapsed;
        elapsed.start();
        rig.app->handleKey(u"f"_s);

        // Russian is selected again, nothing counts, no beep, a warning shows for 1.5 s
        QCOMPARE(rig.sources.current, std::optional<qsizetype>(1));
        QVERIFY(rig.engine().wrongLayoutWarning());
        QCOMPARE(rig.engine().errorCount(), 0);
        QCOMPARE(rig.sound.beeps, 0);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.engine().wrongLayoutWarning(), 5000);
        QVERIFY2(elapsed.elapsed() >= 1400, qPrintable(QString::number(elapsed.elapsed())));
        QCOMPARE(warning.size(), 2);
    }

    void wrongKeyBeepsOnlyWithSoundOn()
    {
        AppRig rig(withManuscript(words(3)));
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

    void layoutChangesAreAnsweredOnlyWhileTyping()
    {
        AppRig rig(profileAtLesson(1));
        const auto userSwitchesToLatin = [&rig] {
            rig.sources.selected.clear();
            rig.sources.switchByUser(0);
            return rig.sources.selected;
        };
        QVERIFY(userSwitchesToLatin().isEmpty()); // on the course tab
        rig.app->startTraining();
        QCOMPARE(userSwitchesToLatin(), QList<qsizetype>{1});
        rig.typeRest();
        QVERIFY(userSwitchesToLatin().isEmpty()); // with the result shown
    }

    void restartTypesTheSameTextAfresh()
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

        rig.typeRest(); // after a result, restarting clears it
        QVERIFY(rig.app->lastResult());
        rig.app->restartExercise();
        QVERIFY(!rig.app->lastResult());
        QCOMPARE(rig.engine().text(), text);
    }
};

QTEST_GUILESS_MAIN(TestAppState)
#include "test_app_state.moc"
