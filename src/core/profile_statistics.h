// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "profile_data.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringView>

#include <optional>

// One point of the daily best-speed chart.
struct SpeedPoint
{
    QString id;    // the day record's "yyyy-MM-dd"
    QDateTime day; // that day's local midnight
    double speed = 0.0;

    friend bool operator==(const SpeedPoint &, const SpeedPoint &) = default;
};

// Figures the progress screen and the header derive from the profile. Pure
// functions, recomputed on every redraw. "The last n records" means the last n
// entries of `days` by position, whatever dates they span.
namespace ProfileStatistics {

// Consecutive practice days (records with at least one character) ending
// today, or ending yesterday while today has no practice yet.
[[nodiscard]] int streak(const ProfileData &profile, const QDateTime &now);

// The best speed of the last 7 records; 0 without records.
[[nodiscard]] double recentSpeed(const ProfileData &profile);

// Share of correctly typed characters over all records, in [0, 1]; 1 when
// nothing has been typed.
[[nodiscard]] double overallAccuracy(const ProfileData &profile);

// The chart: the last 14 records with a positive best speed and a valid date.
[[nodiscard]] QList<SpeedPoint> speedPoints(const ProfileData &profile);

// Per character, its error average relative to the worst key (1 for the
// worst), over keys with at least 5 attempts; the comma shares the full stop's
// key. Empty while no key has a meaningful error average.
[[nodiscard]] QMap<QString, double> keyErrorLevels(const ProfileData &profile);

// The gain of the best speed of the last 7 records over that of the 7
// before them (the first record alone while there are at most 8), rounded
// half away from zero; nothing before there are two records to compare.
[[nodiscard]] std::optional<double> speedTrend(const ProfileData &profile);

// Total practice time in whole seconds, held within the 64-bit range and
// never negative, whatever a damaged file holds.
[[nodiscard]] qint64 totalSeconds(const ProfileData &profile);

} // namespace ProfileStatistics
