// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile_data.h"
#include "profile_statistics.h"

#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

using Latency = std::optional<double>;
using Speeds = QList<double>;
using KeyStats = QMap<QString, KeyStat>;
using Levels = QMap<QString, double>;
using Days = QList<std::pair<int, qint64>>; // (days before now, characters)
Q_DECLARE_METATYPE(Latency)

namespace ps = ProfileStatistics;

namespace {

// Half past midnight on 1 March 2026, so "yesterday" crosses a month.
const QDateTime now(QDate(2026, 3, 1), QTime(0, 30));

// Records on consecutive days from 1 January 2026 with these best speeds.
ProfileData withSpeeds(const Speeds &speeds)
{
    ProfileData p;
    for (qsizetype i = 0; i < speeds.size(); ++i) {
        const QString date = dayKeyForDate(QDate(2026, 1, 1).addDays(i));
        p.days.append(DayStat{date, 100, 2, 60.0, speeds[i]});
    }
    return p;
}

} // namespace

// The per-key statistics the profile keeps, and the figures derived from it.
class TestProfileData : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void errorThenCorrectOnAFreshKey()
    {
        ProfileData profile;
        profile.recordKey(u"о", true, std::nullopt);
        profile.recordKey(u"о", false, 0.3);
        const KeyStat stat = profile.keyStats.value(u"о"_s);
        QCOMPARE(std::pair(stat.attempts, stat.errors), std::pair(2LL, 1LL));
        QCOMPARE(stat.errEMA, 0.15 * 0.85); // decayed once
        QCOMPARE(stat.latencyEMA, 0.3);     // the first latency is taken as is
        profile.recordKey(u"о", false, 0.2);
        QCOMPARE(profile.keyStats[u"о"_s].latencyEMA, 0.2 * 0.15 + 0.3 * 0.85);
    }

    void latencyOutsideTheUsableRangeIsIgnored_data()
    {
        QTest::addColumn<Latency>("latency");
        QTest::newRow("none") << Latency();
        QTest::newRow("lower bound") << Latency(0.05);
        QTest::newRow("upper bound") << Latency(5.0);
        QTest::newRow("above") << Latency(12.0);
    }

    void latencyOutsideTheUsableRangeIsIgnored()
    {
        QFETCH(Latency, latency);
        ProfileData profile;
        profile.recordKey(u"а", false, latency);
        profile.recordKey(u"б", false, 0.4);
        profile.recordKey(u"б", false, latency);
        // neither average moves, though both attempts count
        QCOMPARE(profile.keyStats[u"а"_s], (KeyStat{1, 0, 0.0, 0.0}));
        QCOMPARE(profile.keyStats[u"б"_s], (KeyStat{2, 0, 0.0, 0.4}));
    }

    void caseAndCompositionShareOneEntry()
    {
        ProfileData profile;
        for (const QString &key : {u"Ж"_s, u"ж"_s, u"Ё"_s, u"е\u0308"_s, u" "_s, u","_s})
            profile.recordKey(key, key == u"ж", std::nullopt);
        QCOMPARE(profile.keyStats.keys(), (QStringList{u" "_s, u","_s, u"ж"_s, u"ё"_s}));
        QCOMPARE(profile.keyStats[u"ж"_s].attempts, 2);
        QCOMPARE(profile.keyStats[u"ж"_s].errors, 1);
        QCOMPARE(profile.keyStats[u"ё"_s].attempts, 2);
    }

    void countsStopAtTheLimitInsteadOfWrapping()
    {
        constexpr qint64 max = std::numeric_limits<qint64>::max();
        ProfileData profile;
        profile.keyStats.insert(u"а"_s, KeyStat{max, max, 0.5, 0.3});
        profile.recordKey(u"а", true, std::nullopt);
        const KeyStat &stat = profile.keyStats[u"а"_s];
        QCOMPARE(std::pair(stat.attempts, stat.errors), std::pair(max, max));
    }

    void completedLessonsNeedThreePasses()
    {
        ProfileData profile;
        profile.exercisesPassed = {{1, 3}, {2, 2}, {3, 0}, {4, 10}, {5, -7}};
        QCOMPARE(profile.completedLessons(), (QSet<qint64>{1, 4}));
    }

    void dayKeys_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QDate>("date"); // invalid: the key names no date
        QTest::addColumn<QString>("readable");

        QTest::newRow("ordinary") << u"2026-03-07"_s << QDate(2026, 3, 7) << u"7 марта"_s;
        QTest::newRow("leap day") << u"2024-02-29"_s << QDate(2024, 2, 29) << u"29 февраля"_s;
        QTest::newRow("no such day") << u"2026-02-30"_s << QDate() << u"2026-02-30"_s;
        QTest::newRow("other order") << u"07.03.2026"_s << QDate() << u"07.03.2026"_s;
        QTest::newRow("not a date") << u"вчера"_s << QDate() << u"вчера"_s;
    }

    void dayKeys()
    {
        QFETCH(QString, key);
        QFETCH(QDate, date);
        QCOMPARE(dateForDayKey(key).value_or(QDate()), date);
        if (date.isValid())
            QCOMPARE(dayKeyForDate(date), key);
        QTEST(ps::readableDate(key), "readable");
    }

    void streak_data()
    {
        QTest::addColumn<Days>("records");
        QTest::addColumn<int>("streak");

        QTest::newRow("yesterday and the day before") << Days{{2, 50}, {1, 50}} << 2;
        QTest::newRow("today only") << Days{{0, 50}} << 1;
        QTest::newRow("the day before yesterday only") << Days{{2, 50}} << 0;
        QTest::newRow("a gap stops the count") << Days{{4, 50}, {3, 50}, {1, 50}, {0, 50}} << 2;
        QTest::newRow("an empty record is no practice") << Days{{2, 50}, {1, 0}, {0, 50}} << 1;
        QTest::newRow("empty today, practice yesterday") << Days{{2, 50}, {1, 50}, {0, 0}} << 2;
        QTest::newRow("long ago") << Days{{62, 50}, {61, 50}, {60, 50}} << 0;
    }

    void streak()
    {
        QFETCH(Days, records);
        ProfileData p;
        for (const auto &[daysAgo, chars] : records)
            p.days.append(DayStat{dayKeyForDate(now.date().addDays(-daysAgo)), chars, 0, 60.0, 0});
        QTEST(ps::streak(p, now), "streak");
    }

    void speedAndAccuracyFigures()
    {
        QCOMPARE(ps::recentSpeed(withSpeeds({300, 100, 120, 90, 110, 100, 130, 105})), 130.0);
        QCOMPARE(ps::recentSpeed(withSpeeds({80, 95})), 95.0);
        const auto accuracy = [](QList<std::pair<qint64, qint64>> charsAndErrors) {
            ProfileData p;
            for (const auto &[chars, errors] : charsAndErrors)
                p.days.append(DayStat{u"2026-01-01"_s, chars, errors, 60.0, 150.0});
            return ps::overallAccuracy(p);
        };
        QCOMPARE(accuracy({{60, 1}, {40, 3}}), 0.96);
        QCOMPARE(accuracy({{10, 30}, {5, 0}}), 0.0); // more errors than characters
        QCOMPARE(accuracy({{0, 5}}), 1.0);           // nothing typed
        ProfileData p = withSpeeds({100, 120});
        p.days[0].date = u"2025-12-06"_s;
        QCOMPARE(ps::firstDayNote(p), u"с 6 декабря"_s);
    }

    void speedPointsOfTheLastFourteenRecords()
    {
        // 16 records, one without speed and one with a broken date among the last 14
        ProfileData p = withSpeeds({1, 2, 103, 104, 105, 0, 107, 108, 109, 110, 111, 112, 113,
                                    114, 115, 116});
        p.days[8].date = u"2026-02-30"_s;
        const QList<SpeedPoint> points = ps::speedPoints(p);
        QStringList days;
        for (const SpeedPoint &point : points)
            days.append(point.id.right(2));
        QCOMPARE(days.join(u' '), u"03 04 05 07 08 10 11 12 13 14 15 16"_s);
        QCOMPARE(points.first(),
                 (SpeedPoint{u"2026-01-03"_s, QDateTime(QDate(2026, 1, 3), QTime(0, 0)), 103.0}));
        QCOMPARE(points.last().speed, 116.0);
    }

    void keyErrorLevels_data()
    {
        QTest::addColumn<KeyStats>("keyStats");
        QTest::addColumn<Levels>("levels");

        QTest::newRow("relative to the worst key")
            << KeyStats{{u"а"_s, {20, 5, 0.4, 0.3}}, {u"о"_s, {20, 1, 0.1, 0.3}},
                        {u"в"_s, {20, 0, 0.0, 0.3}}}
            << Levels{{u"а"_s, 1.0}, {u"о"_s, 0.25}, {u"в"_s, 0.0}};
        QTest::newRow("four attempts are too few")
            << KeyStats{{u"а"_s, {5, 1, 0.2, 0.3}}, {u"ж"_s, {4, 4, 0.9, 0.3}}}
            << Levels{{u"а"_s, 1.0}};
        QTest::newRow("comma counts as full stop, the larger wins")
            << KeyStats{{u","_s, {9, 2, 0.3, 0.3}}, {u"."_s, {9, 1, 0.15, 0.3}},
                        {u"а"_s, {9, 3, 0.6, 0.3}}}
            << Levels{{u"."_s, 0.5}, {u"а"_s, 1.0}};
        QTest::newRow("too few errors to show")
            << KeyStats{{u"а"_s, {50, 0, 0.001, 0.3}}, {u"о"_s, {50, 0, 0.0, 0.3}}} << Levels();
        QTest::newRow("empty key is skipped")
            << KeyStats{{QString(), {9, 9, 0.9, 0.3}}, {u"а"_s, {9, 1, 0.45, 0.3}}}
            << Levels{{u"а"_s, 0.5}};
        QTest::newRow("first character of the key")
            << KeyStats{{u"е\u0308x"_s, {9, 1, 0.2, 0.3}}} << Levels{{u"е\u0308"_s, 1.0}};
    }

    void keyErrorLevels()
    {
        ProfileData p;
        QFETCH(KeyStats, keyStats);
        p.keyStats = keyStats;
        QTEST(ps::keyErrorLevels(p), "levels");
    }

    void speedTrendNote_data()
    {
        QTest::addColumn<Speeds>("speeds");
        QTest::addColumn<QString>("note");

        QTest::newRow("one record") << Speeds{150} << u"первые замеры впереди"_s;
        QTest::newRow("100 then 130") << Speeds{100, 130} << u"+30 за неделю"_s;
        QTest::newRow("a drop") << Speeds{130, 100} << u"держим уровень"_s;
        QTest::newRow("half rounds up") << Speeds{100, 100.5} << u"+1 за неделю"_s;
        QTest::newRow("just under half") << Speeds{100, 100.49} << u"держим уровень"_s;
        // up to 8 records, the first alone is the earlier figure
        QTest::newRow("eight records") << Speeds{90, 200, 95, 95, 95, 95, 95, 100}
                                       << u"+110 за неделю"_s;
        // twenty records: recent 14-20, earlier 7-13, records 1-6 ignored
        QTest::newRow("twenty records") << Speeds{500, 500, 500, 500, 500, 500, 90, 100, 95, 90,
                                                  90, 90, 90, 105, 112, 100, 100, 100, 100, 100}
                                        << u"+12 за неделю"_s;
    }

    void speedTrendNote()
    {
        QFETCH(Speeds, speeds);
        QTEST(ps::speedTrendNote(withSpeeds(speeds)), "note");
    }

    void totalTimeText_data()
    {
        QTest::addColumn<QList<double>>("seconds");
        QTest::addColumn<QString>("text");

        QTest::newRow("under a minute") << QList<double>{59.9} << u"0 м"_s;
        QTest::newRow("45 minutes") << QList<double>{1200.0, 1500.0} << u"45 м"_s;
        QTest::newRow("summed, then truncated") << QList<double>{1800.6, 1799.6} << u"1 ч 0 м"_s;
        QTest::newRow("2 h 5 min") << QList<double>{7500.0} << u"2 ч 5 м"_s;
    }

    void totalTimeText()
    {
        QFETCH(QList<double>, seconds);
        ProfileData p;
        for (double s : seconds)
            p.days.append(DayStat{u"2026-01-01"_s, 100, 2, s, 150.0});
        QTEST(ps::totalTimeText(p), "text");
    }
};

QTEST_GUILESS_MAIN(TestProfileData)
#include "test_profile_data.moc"
