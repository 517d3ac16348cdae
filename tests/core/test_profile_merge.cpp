// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile_json.h"
#include "profile_merge.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace ProfileMerge;

namespace {

DayStat day(int dayOfYear, qint64 chars)
{
    return DayStat{dayKeyForDate(QDate(2026, 1, 1).addDays(dayOfYear)), chars, chars / 50,
                   chars * 0.4, 100.0 + dayOfYear};
}

// A laptop and a desktop: overlapping days, keys and lessons, each fuller in
// some of them, with preferences and unknown members of their own.
ProfileData laptop()
{
    return {.keyStats = {{u"а"_s, KeyStat{120, 4, 0.05, 0.3}},
                         {u"ж"_s, KeyStat{30, 9, 0.3, 0.5, {{u"future"_s, "[1,0,1]"}}}}},
            .days = {day(1, 300), day(2, 500), day(5, 100)},
            .exercisesPassed = {{1, 3}, {2, 1}},
            .currentLessonID = 2,
            .appearance = Appearance::dark,
            .manuscript = {}, // no text of its own
            .manuscriptChunk = {},
            .extraMembers = {{u"theme"_s, "\"laptop\""}, {u"window"_s, "[900,740]"}}};
}

ProfileData desktop()
{
    return {.keyStats = {{u"ж"_s, KeyStat{80, 12, 0.1, 0.4, {}, u"0100"_s}},
                         {u"о"_s, KeyStat{60, 1, 0.01, 0.2}}},
            .days = {day(2, 200), day(3, 700), day(5, 100)},
            .exercisesPassed = {{1, 2}, {2, 3}, {3, 3}},
            .currentLessonID = 4,
            .soundOn = false,
            .appearance = {},
            .manuscript = u"Мой текст"_s,
            .manuscriptChunk = 0,
            .extraMembers = {{u"theme"_s, "\"desktop\""}, {u"font"_s, "12"}}};
}

ProfileData withDays(int first, int count, qint64 chars, qint64 errors = 0)
{
    ProfileData p;
    for (int i = first; i < first + count; ++i)
        p.days.append(DayStat{day(i, chars).date, chars, errors, chars * 0.4, 100.0 + i});
    return p;
}

// b with a's preferences and a's way with clashes, so merge(a, b) and
// merge(b, a) must agree on everything else.
ProfileData asIfHere(ProfileData p, const ProfileData &here)
{
    p.soundOn = here.soundOn;
    p.appearance = here.appearance;
    p.manuscriptChunk = here.manuscript ? here.manuscriptChunk : p.manuscriptChunk;
    p.manuscript = here.manuscript ? here.manuscript : p.manuscript;
    p.extraMembers.insert(here.extraMembers);
    return p;
}

} // namespace

class TestProfileMerge : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mergingNeverInflates_data()
    {
        QTest::addColumn<ProfileData>("a");
        QTest::addColumn<ProfileData>("b");
        QTest::newRow("laptop and desktop") << laptop() << desktop();
        QTest::newRow("into a new profile") << ProfileData() << desktop();
        QTest::newRow("over 400 days together") << withDays(0, 300, 10) << withDays(200, 300, 20);
        // ties on characters are still decided the same both ways
        QTest::newRow("same dates, equal chars") << withDays(0, 3, 10) << withDays(0, 3, 10, 7);
        ProfileData later = withDays(0, 3, 10); // a day as a later version wrote it
        later.days[1].extraMembers = {{u"weekday"_s, "\"пт\""}, {u"a"_s, "{}"}};
        QTest::newRow("same day, one with unknown members") << withDays(0, 3, 10) << later;
    }

    void mergingNeverInflates()
    {
        QFETCH(ProfileData, a);
        QFETCH(ProfileData, b);
        const ProfileData ab = merge(a, b);
        QCOMPARE(merge(a, a), a);
        QCOMPARE(merge(ab, b), ab); // importing twice
        QCOMPARE(merge(ab, a), ab); // importing what this computer exported
        QCOMPARE(asIfHere(merge(b, a), a), ab);
        for (qsizetype i = 1; i < ab.days.size(); ++i)
            QVERIFY(ab.days.at(i - 1).date < ab.days.at(i).date);
        QCOMPARE(ProfileJson::decode(ProfileJson::encode(ab)), ab);
    }

    void fullerRecordsWinWholeAndTheirEffectIsTold()
    {
        // this computer's preferences and members on a clash; days and keys the union, the
        // record with more practice winning whole (ж with the members this version does not know)
        ProfileData expected = laptop();
        expected.days = {day(1, 300), day(2, 500), day(3, 700), day(5, 100)};
        expected.keyStats.insert(desktop().keyStats);
        expected.exercisesPassed = {{1, 3}, {2, 3}, {3, 3}}; // the larger pass count
        expected.currentLessonID = 4;                         // the later lesson
        expected.manuscript = desktop().manuscript; // the text, as it had none
        expected.manuscriptChunk = 0;
        expected.extraMembers.insert(u"font"_s, "12");
        const ProfileData m = merge(laptop(), desktop());
        QCOMPARE(m, expected);
        // the store's bound of 400 days: the oldest go first
        const ProfileData many = merge(withDays(0, 300, 10), withDays(250, 300, 5));
        QCOMPARE(std::pair(many.days.first().date, many.days.last().date),
                 std::pair(day(150, 0).date, day(549, 0).date));
        QCOMPARE(many.days.at(100).chars, 10); // day 250: present in both, the fuller

        // what the learner is told: day 3, lessons 2 and 3, ж and о, the course and the text;
        // the other way round: day 1, the fuller day 2, lesson 1, а
        QCOMPARE(effect(laptop(), m), (Effect{1, 0, 2, 2, true, true}));
        QCOMPARE(effect(desktop(), merge(desktop(), laptop())), (Effect{1, 1, 1, 1, false, false}));
    }

    void implausibleNumbersAreRefused_data()
    {
        QTest::addColumn<ProfileData>("profile");
        QTest::addColumn<Refusal>("refusal");
        const auto row = [](const char *name, auto change, Refusal refusal = Refusal::outOfRange) {
            ProfileData p = desktop();
            change(p);
            QTest::newRow(name) << p << refusal;
        };
        row("lesson 0", [](ProfileData &p) { p.currentLessonID = 0; });
        row("lesson 29", [](ProfileData &p) { p.currentLessonID = 29; });
        row("passes of no lesson", [](ProfileData &p) { p.exercisesPassed[99] = 3; });
        row("negative passes", [](ProfileData &p) { p.exercisesPassed[1] = -5; });
        row("more errors than attempts", [](ProfileData &p) { p.keyStats[u"ж"_s].errors = 81; });
        row("average above 1", [](ProfileData &p) { p.keyStats[u"ж"_s].errEMA = 1.5; });
        row("markup for a date", [](ProfileData &p) { p.days[0].date = u"<img src=x>"_s; });
        row("negative characters", [](ProfileData &p) { p.days[0].chars = -1; });
        row("negative fragment", [](ProfileData &p) { p.manuscriptChunk = -1; });
    }

    void implausibleNumbersAreRefused()
    {
        QFETCH(ProfileData, profile);
        QTEST(check(profile), "refusal");
    }
};

QTEST_GUILESS_MAIN(TestProfileMerge)
#include "test_profile_merge.moc"
