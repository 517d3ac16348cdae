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
        // 300 days here, the 300 after them there: 300 come, this computer's oldest 200 go
        const ProfileData here = withDays(0, 300, 10);
        QCOMPARE(effect(here, merge(here, withDays(300, 300, 10))),
                 (Effect{300, 0, 0, 0, false, false, 200}));

        // what the learner is told: day 3, lessons 2 and 3, ж and о, the course and the text;
        // the other way round: day 1, the fuller day 2, lesson 1, а
        QCOMPARE(effect(laptop(), m), (Effect{1, 0, 2, 2, true, true}));
        QCOMPARE(effect(desktop(), merge(desktop(), laptop())), (Effect{1, 1, 1, 1, false, false}));
    }

    // Only what an Olvi writes is taken in: merged, it stays in the profile for good.
    void importCheck_data()
    {
        QTest::addColumn<ProfileData>("profile");
        QTest::addColumn<Refusal>("refusal");
        const auto row = [](const char *name, Refusal refusal, auto change) {
            ProfileData p = desktop();
            change(p);
            QTest::newRow(name) << p << refusal;
        };
        using enum Refusal;
        row("as written, with a space, « and ё", none, [](ProfileData &p) {
            for (const QString &key : {u" "_s, u"«"_s, u"ё"_s, u"!"_s})
                p.keyStats.insert(key, KeyStat{5, 1, 0.1, 0.2});
        });
        row("lesson 0", outOfRange, [](ProfileData &p) { p.currentLessonID = 0; });
        row("lesson 29", outOfRange, [](ProfileData &p) { p.currentLessonID = 29; });
        row("passes of no lesson", outOfRange, [](ProfileData &p) { p.exercisesPassed[99] = 3; });
        row("negative passes", outOfRange, [](ProfileData &p) { p.exercisesPassed[1] = -5; });
        row("more errors than attempts", outOfRange,
            [](ProfileData &p) { p.keyStats[u"ж"_s].errors = 81; });
        row("average above 1", outOfRange, [](ProfileData &p) { p.keyStats[u"ж"_s].errEMA = 1.5; });
        row("markup for a date", outOfRange, [](ProfileData &p) { p.days[0].date = u"<b>"_s; });
        row("negative characters", outOfRange, [](ProfileData &p) { p.days[0].chars = -1; });
        row("errors on a day without characters", outOfRange,
            [](ProfileData &p) { p.days[0] = {p.days[0].date, 0, 1, 0.0, 0.0}; });
        // every wrong key counts: a struggling learner's day may hold more than its characters
        row("more errors than characters", none,
            [](ProfileData &p) { p.days[0].errors = p.days[0].chars + 1; });
        row("negative fragment", outOfRange, [](ProfileData &p) { p.manuscriptChunk = -1; });
        row("fragment past the text", outOfRange, [](ProfileData &p) { p.manuscriptChunk = 1; });
        for (const QString &key : {u""_s, u"abc"_s, u"😀"_s, u"<b>"_s, u"Ж"_s, u"а́"_s, u"	"_s}) {
            row(qPrintable(u"the key "_s + key), unknownKey,
                [&key](ProfileData &p) { p.keyStats.insert(key, KeyStat{5, 1, 0.1, 0.2}); });
        }
        row("Shift's own statistics", none,
            [](ProfileData &p) { p.keyStats.insert(u"⇧"_s, KeyStat{5, 1, 0.1, 0.2}); });
        row("over a megabyte of unknown members", tooMuch, [](ProfileData &p) {
            p.days[0].extraMembers.insert(u"x"_s, '"' + QByteArray(maxUnknownBytes, 'x') + '"');
        });
        row("a text over the editor's limit", tooMuch,
            [](ProfileData &p) { p.manuscript = u"ж"_s.repeated(120001); });
        // "today" is 6 January 2026 here
        row("tomorrow", none, [](ProfileData &p) { p.days.append(day(6, 10)); });
        row("the day after tomorrow", futureDay, [](ProfileData &p) { p.days.append(day(7, 10)); });
    }

    void importCheck()
    {
        QFETCH(ProfileData, profile);
        QTEST(check(profile, QDate(2026, 1, 6)), "refusal");
    }
};

QTEST_GUILESS_MAIN(TestProfileMerge)
#include "test_profile_merge.moc"
