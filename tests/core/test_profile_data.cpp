// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile_data.h"

#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

using Latency = std::optional<double>;
Q_DECLARE_METATYPE(Latency)

class TestProfileData : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void errorThenCorrectOnAFreshKey();
    void latencyOutsideTheUsableRangeIsIgnored_data();
    void latencyOutsideTheUsableRangeIsIgnored();
    void caseAndCompositionShareOneEntry();
    void countsStopAtTheLimitInsteadOfWrapping();
    void completedLessonsNeedThreePasses();
    void dayKeys_data();
    void dayKeys();
};

void TestProfileData::errorThenCorrectOnAFreshKey()
{
    // given a fresh key, when an error and then a correct key are recorded
    ProfileData profile;
    profile.recordKey(u"о", true, std::nullopt);
    profile.recordKey(u"о", false, 0.3);

    // then the error average has decayed once
    const KeyStat stat = profile.keyStats.value(u"о"_s);
    QCOMPARE(stat.attempts, 2);
    QCOMPARE(stat.errors, 1);
    QCOMPARE(stat.errEMA, 0.15 * 0.85);
    QCOMPARE(stat.latencyEMA, 0.3); // the first latency is taken as is

    profile.recordKey(u"о", false, 0.2);
    QCOMPARE(profile.keyStats[u"о"_s].latencyEMA, 0.2 * 0.15 + 0.3 * 0.85);
}

void TestProfileData::latencyOutsideTheUsableRangeIsIgnored_data()
{
    QTest::addColumn<Latency>("latency");
    QTest::newRow("none") << Latency();
    QTest::newRow("lower bound") << Latency(0.05);
    QTest::newRow("upper bound") << Latency(5.0);
    QTest::newRow("above") << Latency(12.0);
}

void TestProfileData::latencyOutsideTheUsableRangeIsIgnored()
{
    QFETCH(Latency, latency);

    // given a key without a latency yet and one with 0.4 s
    ProfileData profile;
    profile.recordKey(u"а", false, latency);
    profile.recordKey(u"б", false, 0.4);
    profile.recordKey(u"б", false, latency);

    // then neither average moves, though both attempts count
    QCOMPARE(profile.keyStats[u"а"_s].latencyEMA, 0.0);
    QCOMPARE(profile.keyStats[u"а"_s].attempts, 1);
    QCOMPARE(profile.keyStats[u"б"_s].latencyEMA, 0.4);
    QCOMPARE(profile.keyStats[u"б"_s].attempts, 2);
}

void TestProfileData::caseAndCompositionShareOneEntry()
{
    ProfileData profile;
    profile.recordKey(u"Ж", false, std::nullopt);
    profile.recordKey(u"ж", true, std::nullopt);
    profile.recordKey(u"Ё", false, std::nullopt);
    profile.recordKey(u"е\u0308", false, std::nullopt); // decomposed ё
    profile.recordKey(u" ", false, std::nullopt);
    profile.recordKey(u",", false, std::nullopt);

    QCOMPARE(profile.keyStats.keys(), (QStringList{u" "_s, u","_s, u"ж"_s, u"ё"_s}));
    QCOMPARE(profile.keyStats[u"ж"_s].attempts, 2);
    QCOMPARE(profile.keyStats[u"ж"_s].errors, 1);
    QCOMPARE(profile.keyStats[u"ё"_s].attempts, 2);
}

void TestProfileData::countsStopAtTheLimitInsteadOfWrapping()
{
    constexpr qint64 max = std::numeric_limits<qint64>::max();
    ProfileData profile;
    profile.keyStats.insert(u"а"_s, KeyStat{max, max, 0.5, 0.3});

    profile.recordKey(u"а", true, std::nullopt);

    QCOMPARE(profile.keyStats[u"а"_s].attempts, max);
    QCOMPARE(profile.keyStats[u"а"_s].errors, max);
}

void TestProfileData::completedLessonsNeedThreePasses()
{
    ProfileData profile;
    profile.exercisesPassed = {{1, 3}, {2, 2}, {3, 0}, {4, 10}, {5, -7}};

    QCOMPARE(profile.completedLessons(), (QSet<qint64>{1, 4}));
}

void TestProfileData::dayKeys_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QDate>("date"); // invalid: the key names no date

    QTest::newRow("ordinary") << u"2026-03-07"_s << QDate(2026, 3, 7);
    QTest::newRow("leap day") << u"2024-02-29"_s << QDate(2024, 2, 29);
    QTest::newRow("no such day") << u"2026-02-30"_s << QDate();
    QTest::newRow("other order") << u"07.03.2026"_s << QDate();
}

void TestProfileData::dayKeys()
{
    QFETCH(QString, key);
    QFETCH(QDate, date);

    QCOMPARE(dateForDayKey(key).value_or(QDate()), date);
    if (date.isValid())
        QCOMPARE(dayKeyForDate(date), key);
}

QTEST_GUILESS_MAIN(TestProfileData)
#include "test_profile_data.moc"
