// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile_statistics.h"

#include "characters.h"

#include <QSet>

#include <algorithm>
#include <cmath>

namespace {

// The records from index `from` to `to` (exclusive), clamped to the list.
double bestSpeedOf(const QList<DayStat> &days, qsizetype from, qsizetype to)
{
    from = std::max<qsizetype>(from, 0);
    to = std::min(to, days.size());
    if (from >= to)
        return 0.0;
    double best = days[from].bestSpeed;
    for (qsizetype i = from + 1; i < to; ++i)
        best = std::max(best, days[i].bestSpeed);
    return best;
}

} // namespace

namespace ProfileStatistics {

int streak(const ProfileData &profile, const QDateTime &now)
{
    QSet<QString> practiced;
    for (const DayStat &day : profile.days) {
        if (day.chars >= 1)
            practiced.insert(day.date);
    }
    if (practiced.isEmpty())
        return 0;

    // Stepping back by calendar date, not by 24 hours, keeps days whole
    // across daylight-saving changes.
    QDate day = now.toLocalTime().date();
    if (!practiced.contains(dayKeyForDate(day)))
        day = day.addDays(-1);
    int count = 0;
    while (day.isValid() && practiced.contains(dayKeyForDate(day))) {
        ++count;
        day = day.addDays(-1);
    }
    return count;
}

double recentSpeed(const ProfileData &profile)
{
    const qsizetype n = profile.days.size();
    return bestSpeedOf(profile.days, n - 7, n);
}

double overallAccuracy(const ProfileData &profile)
{
    qint64 chars = 0;
    qint64 errors = 0;
    for (const DayStat &day : profile.days) {
        chars = saturatingAdd(chars, day.chars);
        errors = saturatingAdd(errors, day.errors);
    }
    if (chars < 1)
        return 1.0;
    return double(chars - std::clamp<qint64>(errors, 0, chars)) / double(chars);
}

QList<SpeedPoint> speedPoints(const ProfileData &profile)
{
    QList<SpeedPoint> points;
    const qsizetype n = profile.days.size();
    for (qsizetype i = std::max<qsizetype>(n - 14, 0); i < n; ++i) {
        const DayStat &record = profile.days[i];
        if (!(record.bestSpeed > 0.0))
            continue;
        const std::optional<QDate> date = dateForDayKey(record.date);
        if (!date)
            continue;
        // startOfDay, not 00:00, for zones whose clocks skip midnight.
        points.append(SpeedPoint{record.date, date->startOfDay(), record.bestSpeed});
    }
    return points;
}

QMap<QString, double> keyErrorLevels(const ProfileData &profile)
{
    double worst = 0.0;
    bool any = false;
    for (const KeyStat &stat : profile.keyStats) {
        if (stat.attempts > 4) {
            worst = any ? std::max(worst, stat.errEMA) : stat.errEMA;
            any = true;
        }
    }
    QMap<QString, double> levels;
    if (!any || worst <= 0.001)
        return levels;

    for (auto it = profile.keyStats.cbegin(); it != profile.keyStats.cend(); ++it) {
        if (it->attempts <= 4 || it.key().isEmpty())
            continue;
        QString character = Characters::first(it.key());
        // The comma is Shift plus the full stop's key.
        if (character == u',')
            character = QStringLiteral(".");
        const double level = it->errEMA / worst;
        auto existing = levels.find(character);
        if (existing == levels.end())
            levels.insert(character, level);
        else
            *existing = std::max(*existing, level);
    }
    return levels;
}

std::optional<double> speedTrend(const ProfileData &profile)
{
    const qsizetype n = profile.days.size();
    if (n < 2)
        return std::nullopt;
    const double recent = bestSpeedOf(profile.days, n - 7, n);
    const qsizetype remaining = n - std::min<qsizetype>(n - 1, 7);
    const double earlier = bestSpeedOf(profile.days, remaining - 7, remaining);
    return std::round(recent - earlier); // halves away from zero
}

qint64 totalSeconds(const ProfileData &profile)
{
    double seconds = 0.0;
    for (const DayStat &day : profile.days)
        seconds += day.seconds;
    // Damaged records must not make the total negative or overflow.
    return seconds >= 1.0 ? qint64(std::min(seconds, 9.0e18)) : 0;
}

} // namespace ProfileStatistics
