// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "olvi_session.h"
#include "profile_json.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestEndToEndWayland : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void anExerciseIsTypedOnWaylandFromTheKeyboardAlone()
    {
        // a learner with a text of their own, on a Wayland desktop without X
        OlviSession s;
        if (!s.startSway())
            QSKIP(qPrintable(u"no Wayland compositor could start: "_s + s.error()));
        QVERIFY2(s.error().isEmpty(), qPrintable(s.error()));
        const QString fragment = u"жужжит оса, ванна полна."_s; // two doubled letters
        ProfileData seeded;
        seeded.appearance = Appearance::light; // the colours the session looks for
        seeded.manuscript = fragment;
        s.writeProfile(ProfileJson::encode(seeded));
        QVERIFY(s.launchAndWait());
        QTRY_VERIFY_WITH_TIMEOUT(s.courseShown(), 10000);
        QVERIFY(s.desk->namesApp(u"Олви"_s, u"org.olvi.Olvi"_s)); // its launcher entry's name
        // Tab past the four tabs and the colour-scheme menu, and Return on the button there
        const auto startFromTheKeyboard = [&s] {
            bool pressed = true;
            for (int i = 0; i < 6; ++i)
                pressed = pressed && s.desk->press("Tab");
            return pressed && s.desk->press("Return")
                   && OlviSession::waitFor([&s] { return s.trainingShown(); }, 10000);
        };
        QVERIFY(startFromTheKeyboard()); // lesson 1, typed to its end in the Russian group
        s.desk->lockGroup(OlviSession::russianGroup);
        QVERIFY(s.typeLessonOneByPlace());
        const DayStat lesson = s.profile()->days.value(0);
        // Ctrl+3 and the manuscript's continue button: its fragment
        QVERIFY(s.desk->pressChord("Control_L", "3"));
        QTRY_VERIFY_WITH_TIMEOUT(s.summaryShown(), 10000);
        QVERIFY(startFromTheKeyboard());

        // a Latin letter counts nothing (no layout is switched here); then the
        // fragment in Russian, with a wrong key and a key held long enough to
        // repeat many times, and doubled letters struck quickly
        s.desk->lockGroup(OlviSession::latinGroup);
        QVERIFY(s.desk->type(u"f"_s));
        s.desk->lockGroup(OlviSession::russianGroup);
        const QStringList chars = fragment.split(QString(), Qt::SkipEmptyParts);
        for (int i = 0; i < chars.size(); ++i) {
            if (i == 4)
                QVERIFY(s.desk->type(u"щ"_s));
            QVERIFY(i == 8 ? s.desk->hold(chars[i], 400) : s.desk->type(chars[i]));
        }

        // the day adds the fragment with exactly the one wrong key, and ж thrice
        // (lesson 1 has none)
        QTRY_VERIFY_WITH_TIMEOUT(s.profile()->days.value(0).chars > lesson.chars, 10000);
        const ProfileData p = *s.profile();
        QCOMPARE(std::tuple(p.days[0].chars, p.days[0].errors, p.keyStats.value(u"ж"_s).attempts),
                 std::tuple(lesson.chars + chars.size(), lesson.errors + 1, 3));
        QCOMPARE(s.closeAndWait(), 0);
    }
};

QTEST_GUILESS_MAIN(TestEndToEndWayland)
#include "test_end_to_end_wayland.moc"
