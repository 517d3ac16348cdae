// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "profile_data.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringView>

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

// The note under the speed tile: the gain of the last 7 records over the 7
// before them.
[[nodiscard]] QString speedTrendNote(const ProfileData &profile);

// Total practice time, as "45 м" or "2 ч 5 м".
[[nodiscard]] QString totalTimeText(const ProfileData &profile);

// "с 6 декабря" after the first record, "начните сегодня" before it.
[[nodiscard]] QString firstDayNote(const ProfileData &profile);

// A day key as Russian prose, "6 декабря"; an unparsable key unchanged.
[[nodiscard]] QString readableDate(QStringView key);

} // namespace ProfileStatistics
