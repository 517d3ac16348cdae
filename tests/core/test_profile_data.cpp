// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "key_confidence.h"
#include "profile_data.h"
#include "profile_statistics.h"

#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

using Speeds = QList<double>;
using KeyStats = QMap<QString, KeyStat>;
using Levels = QMap<QString, double>;
using Days = QList<std::pair<int, qint64>>; // (days before now, characters)

namespace ps = ProfileStatistics;

namespace {

// Records on consecutive days from 1 January 2026 with these best speeds.
ProfileData withSpeeds(const Speeds &speeds)
{
    ProfileData p;
    for (qsizetype i = 0; i < speeds.size(); ++i) {
        const QString date = dayKeyForDate(QDate(2026, 1, 1).addDays(i));
        p.days.append(DayStat{date, 100, 2, 60.5, speeds[i]});
    }
    return p;
}

} // namespace

// The per-key statistics the profile keeps, and the figures derived from it.
class TestProfileData : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void recordKeyFoldsIntoTheCanonicalLowerCaseEntry()
    {
        constexpr qint64 max = std::numeric_limits<qint64>::max();
        ProfileData p;
        p.keyStats.insert(u"ф"_s, KeyStat{max, max, 0.5, 0.3});
        p.recordKey(u"Ж", true, std::nullopt);
        p.recordKey(u"ж", false, 0.3, u"2026-12-05"_s); // the first latency is taken as is
        p.recordKey(u"Ж", false, 0.2);
        p.recordKey(u"е\u0308", false, 0.05); // latencies at the bounds are ignored
        p.recordKey(u"Ё", false, 5.0);
        p.recordKey(u"ф", true, std::nullopt); // counts stop at the limit instead of wrapping
        QCOMPARE(p.keyStats.keys(), (QStringList{u"ж"_s, u"ф"_s, u"ё"_s}));
        QCOMPARE(p.keyStats[u"ж"_s],
                 (KeyStat{3, 1, 0.15 * 0.85 * 0.85, 0.2 * 0.15 + 0.3 * 0.85, {}, u"100"_s,
                          u"2026-12-05"_s})); // the day stays till another is given
        QCOMPARE(p.keyStats[u"ё"_s], (KeyStat{2, 0, 0.0, 0.0, {}, u"00"_s}));
        QCOMPARE(p.keyStats[u"ф"_s], (KeyStat{max, max, 0.5 * 0.85 + 0.15, 0.3, {}, u"1"_s}));
        for (int i = 0; i < 45; ++i) // the outcomes keep only the newest 40
            p.recordKey(u"ж", i % 5 == 0, std::nullopt);
        QCOMPARE(p.keyStats[u"ж"_s].recent, u"10000"_s.repeated(8));
        // a count a damaged file holds near the lower limit has no older events to weigh
        const KeyStat damaged{std::numeric_limits<qint64>::min() + 1, 0, 0.0, 0.0, {}, u"01"_s};
        QCOMPARE(KeyConfidence::of(damaged).evidence, 2.0);
    }

    void streak_data()
    {
        QTest::addColumn<Days>("records");
        QTest::addColumn<int>("streak");

        QTest::newRow("yesterday and the day before") << Days{{2, 50}, {1, 50}} << 2;
        QTest::newRow("the day before yesterday only") << Days{{2, 50}} << 0;
        QTest::newRow("a gap stops the count") << Days{{4, 50}, {3, 50}, {1, 50}, {0, 50}} << 2;
        QTest::newRow("empty today, practice yesterday") << Days{{2, 50}, {1, 50}, {0, 0}} << 2;
    }

    void streak()
    {
        QFETCH(Days, records);
        const QDateTime now(QDate(2026, 3, 1), QTime(0, 30)); // "yesterday" crosses a month
        ProfileData p;
        for (const auto &[daysAgo, chars] : records)
            p.days.append(DayStat{dayKeyForDate(now.date().addDays(-daysAgo)), chars, 0, 60.0, 0});
        QTEST(ps::streak(p, now), "streak");
    }

    void figuresOfTheRecords()
    {
        QCOMPARE(ps::recentSpeed(withSpeeds({300, 100, 120, 90, 110, 100, 130, 105})), 130.0);
        ProfileData p = withSpeeds({100, 100});
        p.days[0].errors = 300; // more errors than characters
        QCOMPARE(ps::overallAccuracy(p), 0.0);
        p.days[0].seconds = 3539.9; // summed, then truncated
        QCOMPARE(ps::totalSeconds(p), 3600);
        p.days = {DayStat{u"2026-01-01"_s, 0, 5, 0.9, 0.0}, DayStat{{}, 0, 0, -1e300, 0.0}};
        QCOMPARE(std::pair(ps::overallAccuracy(p), ps::totalSeconds(p)), std::pair(1.0, 0LL));

        // the chart: the last 14 records with a speed and a valid date
        p = withSpeeds({1, 2, 103, 104, 105, 0, 107, 108, 109, 110, 111, 112, 113, 114, 115, 116});
        p.days[8].date = u"2026-02-30"_s;
        QStringList days;
        for (const SpeedPoint &point : ps::speedPoints(p))
            days.append(point.id.right(2));
        QCOMPARE(days.join(u' '), u"03 04 05 07 08 10 11 12 13 14 15 16"_s);
    }

    void keyErrorLevels_data()
    {
        QTest::addColumn<KeyStats>("keyStats");
        QTest::addColumn<Levels>("levels");

        QTest::newRow("relative to the worst key")
            << KeyStats{{u"а"_s, {20, 5, 0.4, 0.3}}, {u"о"_s, {20, 1, 0.1, 0.3}}}
            << Levels{{u"а"_s, 1.0}, {u"о"_s, 0.25}};
        QTest::newRow("four attempts are too few")
            << KeyStats{{u"а"_s, {5, 1, 0.2, 0.3}}, {u"ж"_s, {4, 4, 0.9, 0.3}}}
            << Levels{{u"а"_s, 1.0}};
        QTest::newRow("comma counts as full stop, the larger wins")
            << KeyStats{{u","_s, {9, 2, 0.3, 0.3}}, {u"."_s, {9, 1, 0.15, 0.3}},
                        {u"а"_s, {9, 3, 0.6, 0.3}}}
            << Levels{{u"."_s, 0.5}, {u"а"_s, 1.0}};
        QTest::newRow("too few errors to show")
            << KeyStats{{u"а"_s, {50, 0, 0.001, 0.3}}, {u"о"_s, {50, 0, 0.0, 0.3}}} << Levels();
    }

    void keyErrorLevels()
    {
        ProfileData p;
        QFETCH(KeyStats, keyStats);
        p.keyStats = keyStats;
        QTEST(ps::keyErrorLevels(p), "levels");
    }

    void speedTrend_data()
    {
        QTest::addColumn<Speeds>("speeds");
        QTest::addColumn<QString>("gain");

        QTest::newRow("one record") << Speeds{150} << u"none"_s;
        QTest::newRow("half rounds up") << Speeds{100, 100.5} << u"1"_s;
        QTest::newRow("just under half") << Speeds{100, 100.49} << u"0"_s;
        QTest::newRow("slower") << Speeds{200, 99.5, 89.5, 80, 80, 80, 80, 80, 80} << u"-111"_s;
        // up to 8 records, the first alone is the earlier figure
        QTest::newRow("eight records") << Speeds{90, 200, 95, 95, 95, 95, 95, 100} << u"110"_s;
        // twenty records: recent 14-20, earlier 7-13, records 1-6 ignored
        QTest::newRow("twenty records") << Speeds{500, 500, 500, 500, 500, 500, 90, 100, 95, 90,
                                                  90, 90, 90, 105, 112, 100, 100, 100, 100, 100}
                                        << u"12"_s;
    }

    void speedTrend()
    {
        QFETCH(Speeds, speeds);
        const std::optional<double> gain = ps::speedTrend(withSpeeds(speeds));
        QTEST(gain ? QString::number(*gain) : u"none"_s, "gain");
    }
};

QTEST_GUILESS_MAIN(TestProfileData)
#include "test_profile_data.moc"
