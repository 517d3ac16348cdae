// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile_statistics.h"

#include <QTest>

using namespace Qt::StringLiterals;

using Levels = QMap<QString, double>;
using Speeds = QList<double>;
using KeyStats = QMap<QString, KeyStat>;
using PracticeDays = QList<std::pair<int, qint64>>; // (days before now, characters)
using CharsAndErrors = QList<std::pair<qint64, qint64>>;

Q_DECLARE_METATYPE(KeyStat)

namespace ps = ProfileStatistics;

namespace {

// Now is half past midnight on 1 March 2026, so "yesterday" crosses a month.
const QDateTime now(QDate(2026, 3, 1), QTime(0, 30));

// Records on consecutive days from 1 January 2026 with the given best speeds.
ProfileData withSpeeds(const Speeds &speeds)
{
    ProfileData p;
    for (qsizetype i = 0; i < speeds.size(); ++i)
        p.days.append(DayStat{dayKeyForDate(QDate(2026, 1, 1).addDays(i)), 100, 2, 60.0, speeds[i]});
    return p;
}

ProfileData withSeconds(const QList<double> &seconds)
{
    ProfileData p;
    for (qsizetype i = 0; i < seconds.size(); ++i)
        p.days.append(DayStat{dayKeyForDate(QDate(2026, 1, 1).addDays(i)), 100, 2, seconds[i], 150.0});
    return p;
}

} // namespace

class TestProfileStatistics : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void streak_data();
    void streak();
    void recentSpeedLooksAtTheLastSevenRecords();
    void overallAccuracy_data();
    void overallAccuracy();
    void speedPointsOfTheLastFourteenRecords();
    void keyErrorLevels_data();
    void keyErrorLevels();
    void speedTrendNote_data();
    void speedTrendNote();
    void totalTimeText_data();
    void totalTimeText();
    void firstDayNote();
    void readableDate_data();
    void readableDate();
};

void TestProfileStatistics::streak_data()
{
    QTest::addColumn<PracticeDays>("records");
    QTest::addColumn<int>("streak");

    using R = PracticeDays;
    QTest::newRow("yesterday and the day before") << R{{2, 50}, {1, 50}} << 2;
    QTest::newRow("today only") << R{{0, 50}} << 1;
    QTest::newRow("the day before yesterday only") << R{{2, 50}} << 0;
    QTest::newRow("a gap stops the count") << R{{4, 50}, {3, 50}, {1, 50}, {0, 50}} << 2;
    QTest::newRow("an empty record is no practice") << R{{2, 50}, {1, 0}, {0, 50}} << 1;
    QTest::newRow("empty today, practice yesterday") << R{{2, 50}, {1, 50}, {0, 0}} << 2;
    QTest::newRow("long ago") << R{{62, 50}, {61, 50}, {60, 50}} << 0;
}

void TestProfileStatistics::streak()
{
    QFETCH(PracticeDays, records);
    QFETCH(int, streak);

    ProfileData p;
    for (const auto &[daysAgo, chars] : records)
        p.days.append(DayStat{dayKeyForDate(now.date().addDays(-daysAgo)), chars, 0, 60.0, 150.0});

    QCOMPARE(ps::streak(p, now), streak);
}

void TestProfileStatistics::recentSpeedLooksAtTheLastSevenRecords()
{
    QCOMPARE(ps::recentSpeed(withSpeeds({300, 100, 120, 90, 110, 100, 130, 105})), 130.0);
    QCOMPARE(ps::recentSpeed(withSpeeds({80, 95})), 95.0);
}

void TestProfileStatistics::overallAccuracy_data()
{
    QTest::addColumn<CharsAndErrors>("charsAndErrors");
    QTest::addColumn<double>("accuracy");

    using R = CharsAndErrors;
    QTest::newRow("over all records") << R{{60, 1}, {40, 3}} << 0.96;
    QTest::newRow("more errors than characters") << R{{10, 30}, {5, 0}} << 0.0;
    QTest::newRow("nothing typed") << R{{0, 5}} << 1.0;
}

void TestProfileStatistics::overallAccuracy()
{
    QFETCH(CharsAndErrors, charsAndErrors);
    QFETCH(double, accuracy);

    ProfileData p;
    for (const auto &[chars, errors] : charsAndErrors)
        p.days.append(DayStat{u"2026-01-01"_s, chars, errors, 60.0, 150.0});

    QCOMPARE(ps::overallAccuracy(p), accuracy);
}

void TestProfileStatistics::speedPointsOfTheLastFourteenRecords()
{
    // given 16 records, one without speed and one with a broken date among
    // the last 14
    ProfileData p = withSpeeds({1, 2, 103, 104, 105, 0, 107, 108, 109, 110, 111, 112, 113, 114,
                                115, 116});
    p.days[8].date = u"2026-02-30"_s;

    const QList<SpeedPoint> points = ps::speedPoints(p);

    // then records 3 to 16 give points, less those two
    QStringList ids;
    for (const SpeedPoint &point : points)
        ids.append(point.id);
    QCOMPARE(ids, (QStringList{u"2026-01-03"_s, u"2026-01-04"_s, u"2026-01-05"_s, u"2026-01-07"_s,
                               u"2026-01-08"_s, u"2026-01-10"_s, u"2026-01-11"_s, u"2026-01-12"_s,
                               u"2026-01-13"_s, u"2026-01-14"_s, u"2026-01-15"_s, u"2026-01-16"_s}));
    QCOMPARE(points.first(),
             (SpeedPoint{u"2026-01-03"_s, QDateTime(QDate(2026, 1, 3), QTime(0, 0)), 103.0}));
    QCOMPARE(points.last().speed, 116.0);
}

void TestProfileStatistics::keyErrorLevels_data()
{
    QTest::addColumn<KeyStats>("keyStats");
    QTest::addColumn<Levels>("levels");

    using K = KeyStats;
    QTest::newRow("relative to the worst key")
            << K{{u"а"_s, {20, 5, 0.4, 0.3}}, {u"о"_s, {20, 1, 0.1, 0.3}}, {u"в"_s, {20, 0, 0.0, 0.3}}}
            << Levels{{u"а"_s, 1.0}, {u"о"_s, 0.25}, {u"в"_s, 0.0}};
    QTest::newRow("four attempts are too few")
            << K{{u"а"_s, {5, 1, 0.2, 0.3}}, {u"ж"_s, {4, 4, 0.9, 0.3}}}
            << Levels{{u"а"_s, 1.0}};
    QTest::newRow("comma counts as full stop, the larger wins")
            << K{{u","_s, {9, 2, 0.3, 0.3}}, {u"."_s, {9, 1, 0.15, 0.3}}, {u"а"_s, {9, 3, 0.6, 0.3}}}
            << Levels{{u"."_s, 0.5}, {u"а"_s, 1.0}};
    QTest::newRow("too few errors to show")
            << K{{u"а"_s, {50, 0, 0.001, 0.3}}, {u"о"_s, {50, 0, 0.0, 0.3}}} << Levels();
    QTest::newRow("no key with enough attempts") << K{{u"а"_s, {3, 3, 0.5, 0.3}}} << Levels();
    QTest::newRow("empty key is skipped")
            << K{{QString(), {9, 9, 0.9, 0.3}}, {u"а"_s, {9, 1, 0.45, 0.3}}}
            << Levels{{u"а"_s, 0.5}};
    QTest::newRow("first character of the key")
            << K{{u"е\u0308x"_s, {9, 1, 0.2, 0.3}}} << Levels{{u"е\u0308"_s, 1.0}};
}

void TestProfileStatistics::keyErrorLevels()
{
    QFETCH(KeyStats, keyStats);
    QFETCH(Levels, levels);

    ProfileData p;
    p.keyStats = keyStats;

    QCOMPARE(ps::keyErrorLevels(p), levels);
}

void TestProfileStatistics::speedTrendNote_data()
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
    QTest::newRow("twenty records")
            << Speeds{500, 500, 500, 500, 500, 500, 90, 100, 95, 90, 90, 90, 90,
                      105, 112, 100, 100, 100, 100, 100}
            << u"+12 за неделю"_s;
}

void TestProfileStatistics::speedTrendNote()
{
    QFETCH(Speeds, speeds);
    QFETCH(QString, note);

    QCOMPARE(ps::speedTrendNote(withSpeeds(speeds)), note);
}

void TestProfileStatistics::totalTimeText_data()
{
    QTest::addColumn<QList<double>>("seconds");
    QTest::addColumn<QString>("text");

    QTest::newRow("under a minute") << QList<double>{59.9} << u"0 м"_s;
    QTest::newRow("45 minutes") << QList<double>{1200.0, 1500.0} << u"45 м"_s;
    QTest::newRow("3600 s") << QList<double>{3600.0} << u"1 ч 0 м"_s;
    QTest::newRow("summed, then truncated") << QList<double>{1800.6, 1799.6} << u"1 ч 0 м"_s;
    QTest::newRow("2 h 5 min") << QList<double>{7500.0} << u"2 ч 5 м"_s;
}

void TestProfileStatistics::totalTimeText()
{
    QFETCH(QList<double>, seconds);
    QFETCH(QString, text);

    QCOMPARE(ps::totalTimeText(withSeconds(seconds)), text);
}

void TestProfileStatistics::firstDayNote()
{
    ProfileData p = withSpeeds({100, 120});
    p.days[0].date = u"2025-12-06"_s;
    QCOMPARE(ps::firstDayNote(p), u"с 6 декабря"_s);
}

void TestProfileStatistics::readableDate_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");

    const QStringList months{u"января"_s, u"февраля"_s, u"марта"_s,    u"апреля"_s,
                             u"мая"_s,    u"июня"_s,    u"июля"_s,     u"августа"_s,
                             u"сентября"_s, u"октября"_s, u"ноября"_s, u"декабря"_s};
    for (int m = 1; m <= 12; ++m) {
        QTest::addRow("month %d", m) << dayKeyForDate(QDate(2026, m, 7))
                                     << u"7 "_s + months[m - 1];
    }
    QTest::newRow("no such day") << u"2026-02-30"_s << u"2026-02-30"_s;
    QTest::newRow("not a date") << u"вчера"_s << u"вчера"_s;
}

void TestProfileStatistics::readableDate()
{
    QFETCH(QString, key);
    QFETCH(QString, text);

    QCOMPARE(ps::readableDate(key), text);
}

QTEST_GUILESS_MAIN(TestProfileStatistics)
#include "test_profile_statistics.moc"
