// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "olvi_session.h"
#include "profile_json.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;

// The real binary on a private X server, driven by key strokes and clicks.
class TestEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aLessonAndAManuscriptOverAnUnreadableProfile()
    {
        // a learner whose profile cannot be read, on the course screen in the Latin layout
        OlviSession s;
        QVERIFY2(s.start(), qPrintable(s.error()));
        const QByteArray garbage = "{ \"soundOn\": tru";
        s.writeProfile(garbage);
        QVERIFY(s.launchAndWait());
        QTRY_VERIFY_WITH_TIMEOUT(s.courseShown(), 10000);
        QVERIFY(s.user->namesApp(u"Олви"_s, u"org.olvi.Olvi"_s)); // its launcher entry's name
        s.user->lockGroup(OlviSession::latinGroup);

        // Tab past the four tabs, the colour-scheme menu and the button of the note that the
        // file was kept aside, and Return: lesson 1 is on screen, in the Russian layout
        for (int i = 0; i < 7; ++i)
            QVERIFY(s.user->press("Tab"));
        QVERIFY(s.user->press("Return"));
        QTRY_VERIFY_WITH_TIMEOUT(s.trainingShown(), 10000);
        const std::optional<int> russian = OlviSession::russianGroup;
        QTRY_COMPARE_WITH_TIMEOUT(s.user->lockedGroup(), russian, 10000);

        // Ctrl+3 opens the manuscript editor from the exercise; a text typed into it
        // is trained with its button
        const QString fragment = u"жук жаба ёж мёд лёд. лось и ель, вол у дома."_s;
        QVERIFY(s.user->pressChord("Control_L", "3"));
        QTRY_VERIFY_WITH_TIMEOUT(s.editorShown(), 10000);
        s.user->click({500, 300}); // into the editor
        QVERIFY(s.typeText(fragment));
        QTRY_VERIFY_WITH_TIMEOUT(!s.accentControl().isEmpty(), 10000);
        s.user->click(s.accentControl().center());
        QTRY_VERIFY_WITH_TIMEOUT(s.trainingShown(), 10000);
        // a start with a mistake is thrown away with Escape
        QVERIFY(s.typeText(fragment.left(3)));
        QVERIFY(s.user->type(u"ы"_s));
        QVERIFY(s.user->press("Escape"));

        // the fragment typed with two wrong keys, a Backspace and a held key
        const QStringList chars = fragment.split(QString(), Qt::SkipEmptyParts);
        for (int i = 0; i < chars.size(); ++i) {
            if (i == 2 || i == 9)
                QVERIFY(s.user->type(chars[i] == u"щ" ? u"ш"_s : u"щ"_s));
            if (i == 5)
                QVERIFY(s.user->press("BackSpace"));
            if (i == 7)
                QVERIFY(s.user->hold(chars[i], 400));
            else
                QVERIFY(s.user->type(chars[i]));
        }

        // a new profile holds the day with exactly the two errors, the old file beside it
        QTRY_VERIFY_WITH_TIMEOUT(s.profile() && s.profile()->days.size() == 1, 10000);
        const ProfileData p = *s.profile();
        QCOMPARE(std::pair(p.days[0].chars, p.days[0].errors),
                 std::pair(qint64(chars.size()), 2LL));
        QCOMPARE(p.keyStats.value(u"ж"_s).attempts, 3); // ж is typed three times in the fragment
        QCOMPARE(std::pair(p.manuscript, p.manuscriptChunk),
                 std::pair(std::optional(fragment), std::optional<qint64>(0)));
        const QDir folder(s.data.filePath(u"Olvi"_s));
        const QStringList aside = folder.entryList({u"profile.json.unreadable-*"_s}, QDir::Files);
        QFile kept(folder.filePath(aside.value(0)));
        QVERIFY(aside.size() == 1 && kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), garbage);
        QCOMPARE(s.closeAndWait(), 0);
    }

    void typingByKeyPlaceWithoutARussianLayout()
    {
        // a desktop with no Russian layout at all, a lesson on screen
        OlviSession s;
        s.layouts = u"us"_s;
        QVERIFY2(s.start(), qPrintable(s.error()));
        ProfileData seeded;
        seeded.appearance = Appearance::light; // the colours the session looks for
        s.writeProfile(ProfileJson::encode(seeded));
        QVERIFY(s.launchAndWait());
        s.user->click(OlviSession::tab(1));
        QTRY_VERIFY_WITH_TIMEOUT(s.trainingShown(), 10000);

        // a Latin letter's warning offers the way out; from the exercise text,
        // which holds the focus, Tab reaches its button
        QVERIFY(s.user->type(u"f"_s));
        QVERIFY(s.user->press("Tab"));
        QVERIFY(s.user->press("Return"));
        QTRY_VERIFY_WITH_TIMEOUT(s.profile() && s.profile()->physicalKeys, 10000);

        // the Latin keyboard's keys type the lesson to its end; closing writes nothing
        // more and leaves nothing behind
        QVERIFY(s.typeLessonOneByPlace());
        const QByteArray saved = s.profileBytes();
        QCOMPARE(s.closeAndWait(), 0);
        QCOMPARE(s.profileBytes(), saved);
        const QDir folder(s.data.filePath(u"Olvi"_s));
        QCOMPARE(folder.entryList(QDir::Files), QStringList{u"profile.json"_s});
        // and after a restart they type it again
        QVERIFY(s.launchAndWait());
        s.user->click(OlviSession::tab(1));
        QTRY_VERIFY_WITH_TIMEOUT(s.trainingShown(), 10000);
        QVERIFY(s.typeLessonOneByPlace());
        QCOMPARE(s.closeAndWait(), 0);
    }

    void theLearnersLayoutComesBackWhenOlviEnds_data()
    {
        QTest::addColumn<int>("signal"); // 0: the window is closed
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGHUP") << int(SIGHUP);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("window closed") << 0;
    }

    void theLearnersLayoutComesBackWhenOlviEnds()
    {
        // a learner in the third of three layouts starts an exercise: Olvi selects Russian
        QFETCH(int, signal);
        OlviSession s;
        s.layouts = u"us,ru,de"_s;
        QVERIFY2(s.start(), qPrintable(s.error()));
        ProfileData seeded;
        seeded.appearance = Appearance::light;
        s.writeProfile(ProfileJson::encode(seeded));
        s.user->lockGroup(2);
        QVERIFY(s.launchAndWait());
        s.user->click(OlviSession::tab(1));
        QTRY_VERIFY_WITH_TIMEOUT(s.trainingShown(), 10000);
        const std::optional<int> russian = OlviSession::russianGroup;
        QTRY_COMPARE_WITH_TIMEOUT(s.user->lockedGroup(), russian, 10000);
        QVERIFY(s.user->type(u"а"_s));

        // ended mid-exercise, it quits as from its window and gives the layout back
        if (signal == 0) {
            QCOMPARE(s.closeAndWait(), 0);
        } else {
            QVERIFY(::kill(pid_t(s.pid()), signal) == 0);
            QVERIFY(s.olvi.waitForFinished(10000));
            QCOMPARE(std::pair(s.olvi.exitStatus(), s.olvi.exitCode()),
                     std::pair(QProcess::NormalExit, 0));
        }
        QCOMPARE(s.user->lockedGroup(), std::optional<int>(2));
    }

    void capsLockLockedBeforeStartCapitalisesByPlace()
    {
        // Caps Lock locked before Olvi starts, typing by key place, a text of
        // capitals whose keys type no Latin letter
        OlviSession s;
        s.layouts = u"us"_s;
        QVERIFY2(s.start(), qPrintable(s.error()));
        ProfileData seeded;
        seeded.appearance = Appearance::light;
        seeded.physicalKeys = true;
        seeded.manuscript = u"ЖЭХЪ ЁБЮ"_s;
        s.writeProfile(ProfileJson::encode(seeded));
        QVERIFY(s.user->press("Caps_Lock"));
        QVERIFY(s.launchAndWait());
        QVERIFY(s.user->pressChord("Control_L", "3"));
        QTRY_VERIFY_WITH_TIMEOUT(s.summaryShown(), 10000);
        s.user->click(s.accentControl().center());
        QTRY_VERIFY_WITH_TIMEOUT(s.trainingShown(), 10000);

        // their keys, without Shift, type the text without a mistake from the first
        for (const QString &key : {u";"_s, u"'"_s, u"["_s, u"]"_s, u" "_s, u"`"_s, u","_s, u"."_s})
            QVERIFY(s.user->type(key));
        QTRY_VERIFY_WITH_TIMEOUT(s.profile() && s.profile()->days.size() == 1, 10000);
        QCOMPARE(s.profile()->days[0].errors, 0);
        QCOMPARE(s.closeAndWait(), 0);
    }
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "test_end_to_end.moc"
