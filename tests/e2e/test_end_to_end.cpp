// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "olvi_session.h"
#include "profile_json.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int russianGroup = OlviSession::russianGroup;
constexpr int latinGroup = OlviSession::latinGroup;
const QString fragment = u"жук жаба ёж мёд лёд. лось и ель, вол у дома."_s;

QByteArray seeded(const std::optional<QString> &manuscript = fragment)
{
    ProfileData p;
    p.appearance = Appearance::light; // the colours the session looks for
    p.manuscript = manuscript;
    return ProfileJson::encode(p);
}

// Types lesson 1 without knowing its text: strikes the keys where ЙЦУКЕН has
// its letters а and о (F and J of a Latin keyboard) and the space bar in turn
// until the exercise is recorded.
bool typeLessonOneByPlace(OlviSession &s)
{
    const auto chars = [&s] { return s.profile().value_or(ProfileData()).days.value(0).chars; };
    const qint64 before = chars();
    for (int round = 0; round < 500 && chars() == before; ++round) {
        for (const unsigned keycode : {41, 44, 65})
            s.user->strike({keycode, false});
    }
    return OlviSession::waitFor([&] { return chars() > before; }, 10000);
}

// Starts the X server and the app on this profile file.
bool launch(OlviSession &s, const QByteArray &profile)
{
    if (!s.start())
        return false;
    s.writeProfile(profile);
    return s.launchAndWait();
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void typingAManuscriptFragmentIsRecorded()
    {
        OlviSession s;
        QVERIFY2(launch(s, seeded()), qPrintable(s.error()));
        QVERIFY(s.continueManuscript());
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

        // the day holds the fragment with exactly the two errors after the restart
        QTRY_VERIFY_WITH_TIMEOUT(s.profile() && s.profile()->days.size() == 1, 10000);
        const ProfileData p = *s.profile();
        QCOMPARE(p.days[0].chars, qint64(chars.size()));
        QCOMPARE(p.days[0].errors, 2);
        for (const QString &ch : chars)
            QVERIFY2(p.keyStats.contains(ch), qPrintable(ch));
        QCOMPARE(p.keyStats.value(u"ж"_s).attempts, 3); // ж is typed three times in the fragment
        QCOMPARE(p.manuscriptChunk, std::optional<qint64>(0));
        QVERIFY(p.exercisesPassed.isEmpty());
        QCOMPARE(s.closeAndWait(), 0);
    }

    void latinLetterSwitchesTheLayoutBack()
    {
        OlviSession s;
        QVERIFY2(launch(s, seeded()), qPrintable(s.error()));
        QVERIFY(s.continueManuscript());
        // the user switched to Latin while away on the course tab
        s.user->click(OlviSession::tab(0));
        QTRY_VERIFY_WITH_TIMEOUT(s.courseShown(), 10000);
        s.user->lockGroup(latinGroup);
        QCOMPARE(s.user->lockedGroup(), std::optional(latinGroup));
        s.user->click(OlviSession::tab(1));

        // a Latin letter brings the Russian layout back, and nothing is counted
        QVERIFY(s.user->type(u"f"_s));
        QTRY_COMPARE_WITH_TIMEOUT(s.user->lockedGroup(), std::optional(russianGroup), 10000);
        QVERIFY(s.typeText(fragment));
        QTRY_VERIFY_WITH_TIMEOUT(s.profile() && s.profile()->days.size() == 1, 10000);
        QCOMPARE(s.profile()->days[0].errors, 0);
        QCOMPARE(s.closeAndWait(), 0);
    }

    void unreadableProfileIsKeptAside()
    {
        OlviSession s;
        const QByteArray garbage = "{ \"soundOn\": tru";
        QVERIFY2(launch(s, garbage), qPrintable(s.error()));

        // a text pasted on the manuscript tab in the Russian layout, and typed
        s.user->click(OlviSession::tab(2));
        QTRY_VERIFY_WITH_TIMEOUT(s.editorShown(), 10000);
        s.user->click({500, 300}); // into the editor
        s.user->lockGroup(russianGroup);
        QVERIFY(s.typeText(fragment));
        QTRY_VERIFY_WITH_TIMEOUT(!s.accentControl().isEmpty(), 10000); // the train button
        s.user->click(s.accentControl().center());
        QTRY_COMPARE_WITH_TIMEOUT(s.user->lockedGroup(), std::optional(russianGroup), 10000);
        QVERIFY(s.typeText(fragment));

        // a new profile holds the exercise and the old file is kept beside it
        QTRY_VERIFY_WITH_TIMEOUT(s.profile() && s.profile()->days.size() == 1, 10000);
        QCOMPARE(s.profile()->manuscript, std::optional(fragment));
        const QStringList aside = QDir(s.data.filePath(u"Olvi"_s))
                                      .entryList({u"profile.json.unreadable-*"_s}, QDir::Files);
        QCOMPARE(aside.size(), 1);
        QFile kept(s.data.filePath(u"Olvi/"_s + aside.first()));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), garbage);
        QCOMPARE(s.closeAndWait(), 0);
    }

    void closingWritesNothing()
    {
        OlviSession s;
        QVERIFY2(s.start(), qPrintable(s.error()));
        s.writeProfile(seeded());
        const QByteArray before = s.profileBytes();
        const QStringList filesBefore = QDir(s.data.filePath(u"Olvi"_s)).entryList(QDir::Files);

        // started, looked around in and closed, twice: it ends cleanly and writes nothing
        for (int run = 0; run < 2; ++run) {
            QVERIFY(s.launchAndWait());
            s.user->click(OlviSession::tab(3));
            QTRY_VERIFY_WITH_TIMEOUT(s.progressShown(), 10000);
            s.user->click(OlviSession::tab(0));
            QTRY_VERIFY_WITH_TIMEOUT(s.courseShown(), 10000);
            QCOMPARE(s.closeAndWait(), 0);
            QCOMPARE(s.profileBytes(), before);
            QCOMPARE(QDir(s.data.filePath(u"Olvi"_s)).entryList(QDir::Files), filesBefore);
        }
    }

    void aLessonStartsFromTheKeyboardAlone()
    {
        // a new learner on the course screen, in the Latin layout
        OlviSession s;
        QVERIFY2(launch(s, seeded(std::nullopt)), qPrintable(s.error()));
        QTRY_VERIFY_WITH_TIMEOUT(s.courseShown(), 10000);
        s.user->lockGroup(latinGroup);

        // Tab past the four tabs and the colour-scheme menu, and Return: lesson 1 is on
        // screen, in the Russian layout
        for (int i = 0; i < 6; ++i)
            QVERIFY(s.user->press("Tab"));
        QVERIFY(s.user->press("Return"));
        QTRY_VERIFY_WITH_TIMEOUT(s.trainingShown(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(s.user->lockedGroup(), std::optional(russianGroup), 10000);
        // Ctrl+4 shows the progress from the exercise, without typing anything
        QVERIFY(s.user->pressChord("Control_L", "4"));
        QTRY_VERIFY_WITH_TIMEOUT(s.progressShown(), 10000);
        QCOMPARE(s.closeAndWait(), 0);
        QVERIFY(!s.profile() || s.profile()->days.isEmpty());
    }

    void typingByKeyPlaceWithoutARussianLayout()
    {
        // a desktop with no Russian layout at all, a lesson on screen
        OlviSession s;
        s.layouts = u"us"_s;
        QVERIFY2(launch(s, seeded(std::nullopt)), qPrintable(s.error()));
        s.user->click(OlviSession::tab(1));
        QTRY_VERIFY_WITH_TIMEOUT(s.trainingShown(), 10000);

        // a Latin letter's warning offers the way out; Shift+Tab twice reaches its button
        QVERIFY(s.user->type(u"f"_s));
        QVERIFY(s.user->pressChord("Shift_L", "Tab") && s.user->pressChord("Shift_L", "Tab"));
        QVERIFY(s.user->press("Return"));
        QTRY_VERIFY_WITH_TIMEOUT(s.profile() && s.profile()->physicalKeys, 10000);

        // the Latin keyboard's keys type the lesson to its end, and again after a restart
        QVERIFY(typeLessonOneByPlace(s));
        QCOMPARE(s.closeAndWait(), 0);
        QVERIFY(s.launchAndWait());
        s.user->click(OlviSession::tab(1));
        QTRY_VERIFY_WITH_TIMEOUT(s.trainingShown(), 10000);
        QVERIFY(typeLessonOneByPlace(s));
        QCOMPARE(s.closeAndWait(), 0);
    }
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "test_end_to_end.moc"
