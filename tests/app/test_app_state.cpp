// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_rig.h"
#include "course.h"
#include "drill.h"
#include "manuscript.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

const QString threeFragments = u"жила была собака и кот "_s.repeated(20).trimmed();

} // namespace

// The controller; what the screens show of it is checked in test_view_models and test_screens.
class TestAppState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void finishedExerciseFigures()
    {
        AppRig rig(withManuscript(u"Жж"_s.repeated(48)));
        rig.app->startManuscript();
        QSignalSpy struck(rig.app.get(), &AppState::wrongKeyStruck);
        // 4 wrong keys first, then 96 right ones, 40 s apart in all
        for (int i = 0; i < 100; ++i) {
            rig.clock += i > 0 && i <= 40 ? 1.0 : 0.0;
            rig.app->handleKey(i < 4 ? u"1"_s : rig.engine().expected());
        }
        // 96 % passes exactly; speed in characters a minute
        const ExerciseResult r = rig.app->lastResult().value_or(ExerciseResult{});
        QCOMPARE(std::tuple(r.speed, r.accuracy, r.passed), std::tuple(144.0, 0.96, true));
        // the day and the key are recorded
        const ProfileData onDisk = rig.profileOnDisk().value_or(ProfileData());
        QCOMPARE(onDisk.days, (QList<DayStat>{{u"2026-12-06"_s, 96, 4, 40.0, 144.0}}));
        const KeyStat k = onDisk.keyStats.value(u"ж"_s);
        QCOMPARE(std::tuple(k.attempts, k.errors, k.lastDay), std::tuple(100LL, 4LL, u"2026-12-06"_s));
        // and Shift, held for every capital, wrong ones included; each wrong key is announced
        const KeyStat shift = onDisk.keyStats.value(Drill::shiftKey.toString());
        QCOMPARE(std::pair(shift.attempts, shift.errors), std::pair(52LL, 4LL));
        QCOMPARE(struck, (QList<QVariantList>(4, {u"1"_s})));
    }

    // Every passed exercise of a lesson counts; the third pass of the current lesson
    // moves the course on, and nothing else does.
    void passes_data()
    {
        QTest::addColumn<qint64>("current");
        QTest::addColumn<qint64>("started"); // a lesson, or 0 for the manuscript
        QTest::addColumn<qint64>("before");  // passes of the lesson typed (or current)
        QTest::addColumn<qint64>("after");
        QTest::addColumn<qint64>("moved"); // the course's lesson afterwards
        constexpr qint64 max = std::numeric_limits<qint64>::max();
        QTest::newRow("third of the current") << 5LL << 5LL << 2LL << 3LL << 6LL;
        QTest::newRow("second of the current") << 5LL << 5LL << 1LL << 2LL << 5LL;
        QTest::newRow("an earlier one, count at the limit") << 9LL << 4LL << max << max << 9LL;
        QTest::newRow("prose, the current") << 28LL << 28LL << 5LL << 5LL << 28LL;
        QTest::newRow("manuscript") << 5LL << 0LL << 2LL << 2LL << 5LL;
    }

    void passes()
    {
        QFETCH(qint64, current);
        QFETCH(qint64, started);
        QFETCH(qint64, before);
        QFETCH(qint64, moved);
        const qint64 lesson = started ? started : current;
        ProfileData p = withManuscript(threeFragments);
        p.currentLessonID = current;
        p.exercisesPassed.insert(lesson, before);
        AppRig rig(p);
        started ? rig.app->startTraining(Course::lesson(started)) : rig.app->startManuscript();
        rig.typeRest();
        QCOMPARE(rig.app->lastResult()->lessonCompleted, moved != current);
        const ProfileData onDisk = rig.profileOnDisk().value_or(ProfileData());
        QTEST(onDisk.exercisesPassed.value(lesson), "after");
        QCOMPARE(onDisk.currentLessonID, moved);
    }

    void manuscriptFragments_data()
    {
        QTest::addColumn<qint64>("stored");
        QTest::addColumn<int>("from");  // the fragment asked for, -1 for the stored one
        QTest::addColumn<int>("typed"); // the fragment typed first
        QTest::addColumn<int>("next");  // the one after it, -1 for the manuscript tab
        QTest::newRow("stored past the last") << 7LL << -1 << 2 << -1;
        QTest::newRow("chosen over the stored") << 2LL << 0 << 0 << 1;
        // a hand-edited negative index is the first, also when edited while typing
        QTest::newRow("stored negative") << -3LL << -1 << 0 << 1;
    }

    void manuscriptFragments()
    {
        QFETCH(qint64, stored);
        QFETCH(int, from);
        QFETCH(int, typed);
        QFETCH(int, next);
        const QStringList chunks = Manuscript::chunks(threeFragments);
        QCOMPARE(chunks.size(), 3);
        AppRig rig(withManuscript(threeFragments, stored));
        from < 0 ? rig.app->startManuscript() : rig.app->startManuscript(from);
        QCOMPARE(rig.engine().text().join(QString()), chunks.at(typed));
        QCOMPARE(rig.profileOnDisk()->manuscriptChunk, std::optional<qint64>(typed));
        if (stored < 0)
            rig.app->store()->update([stored](ProfileData &d) { d.manuscriptChunk = stored; });

        rig.typeRest();
        rig.app->nextExercise();
        QCOMPARE(rig.app->manuscriptMode(), next >= 0);
        if (next < 0) // the manuscript tab, the last fragment still stored
            QCOMPARE(std::pair(rig.app->tab(), rig.profile().manuscriptChunk),
                     std::pair(AppState::Tab::Manuscript, std::optional<qint64>(typed)));
        else
            QCOMPARE(rig.engine().text().join(QString()), chunks.at(next));
    }

    void aFragmentOfNothingTypeableIsDoneAtOnce()
    {
        AppRig rig(withManuscript(QString(171, u'„') + u" Он сказал: „Hello“ — и ушёл’."_s));
        rig.app->startManuscript(0);
        QVERIFY(rig.app->lastResult());
        QCOMPARE(rig.app->tab(), AppState::Tab::Training);
    }

    void typingAnExercise()
    {
        AppRig rig; // switches answered while typing: test_app_state_x11
        const auto userSwitchesToLatin = [&rig] {
            rig.sources.selected.clear();
            rig.sources.switchByUser(0);
            return rig.sources.selected;
        };
        rig.app->startTraining();
        rig.app->setTab(AppState::Tab::Course); // but not while away on another tab
        QVERIFY(userSwitchesToLatin().isEmpty());
        rig.app->setTab(AppState::Tab::Training);

        // a Latin letter selects Russian, counts nothing, does not beep, and warns for 1.5 s
        QElapsedTimer elapsed;
        elapsed.start();
        rig.app->handleKey(u"f"_s);
        QCOMPARE(rig.sources.current, std::optional<qsizetype>(1));
        QVERIFY(rig.engine().wrongLayoutWarning() && !rig.app->physicalKeysOffered());
        QTRY_VERIFY_WITH_TIMEOUT(!rig.engine().wrongLayoutWarning(), 5000);
        QVERIFY2(elapsed.elapsed() >= 1400, qPrintable(QString::number(elapsed.elapsed())));

        // a wrong key beeps; a right one does not, nor a wrong one with the sound off
        const QStringList text = rig.engine().text();
        rig.app->handleKey(u"1"_s);
        QCOMPARE(rig.sound.beeps, 1);
        rig.app->handleKey(rig.engine().expected());
        rig.app->store()->update([](ProfileData &d) { d.soundOn = false; });
        rig.app->handleKey(u"1"_s);
        QCOMPARE(std::pair(rig.sound.beeps, rig.engine().errorCount()), std::pair(1, 2));

        // with the result shown no layout change is answered; a restart types the text afresh
        rig.typeRest();
        QVERIFY(userSwitchesToLatin().isEmpty());
        rig.app->restartExercise();
        QVERIFY(!rig.app->lastResult());
        const SessionEngine &e = rig.engine();
        QCOMPARE(std::tuple(e.text(), e.position(), e.errorCount()), std::tuple(text, 0, 0));
    }
};

QTEST_GUILESS_MAIN(TestAppState)
#include "test_app_state.moc"
