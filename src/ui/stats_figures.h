// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "profile_data.h"
#include "profile_statistics.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

// One figure tile of the progress tab.
struct StatsTile
{
    Q_GADGET
    Q_PROPERTY(QString label MEMBER label)
    Q_PROPERTY(QString value MEMBER value)
    Q_PROPERTY(QString unit MEMBER unit)
    Q_PROPERTY(QString note MEMBER note)
    Q_PROPERTY(QString description MEMBER description)

public:
    QString label;
    QString value;
    QString unit; // empty: none shown
    QString note;
    // The figure and its note as a screen reader says them, the label being
    // the tile's name: "3 дня, не прерывайте серию".
    QString description;

    friend bool operator==(const StatsTile &, const StatsTile &) = default;
};

// The value axis of the speed chart: 0 up to a round maximum, in round steps,
// with room above the highest point for its label.
struct SpeedAxis
{
    double max = 0.0;
    int tickCount = 2;

    friend bool operator==(const SpeedAxis &, const SpeedAxis &) = default;
};

// What the progress tab shows of a profile, as texts and numbers: pure
// functions of QtCore only, so that the fuzzer renders every one of them from
// whatever a file holds.
namespace StatsFigures {

// The accuracy the progress tab holds up as the aim, above the pass mark.
inline constexpr double accuracyGoal = 0.97;

[[nodiscard]] QList<StatsTile> tiles(const ProfileData &profile, const QDateTime &now);
// The speed tile's note: "+12 за неделю", "держим уровень", "первые замеры впереди".
[[nodiscard]] QString speedTrendNote(const ProfileData &profile);
// Total practice time, as "45 м" or "2 ч 5 м".
[[nodiscard]] QString totalTimeText(const ProfileData &profile);
// The same in words: "45 минут", "2 часа 5 минут".
[[nodiscard]] QString totalTimeWords(const ProfileData &profile);
// "с 6 декабря" after the first record, "начните сегодня" before it.
[[nodiscard]] QString firstDayNote(const ProfileData &profile);
// A day key as Russian prose, "6 декабря"; an unparsable key unchanged.
[[nodiscard]] QString readableDate(QStringView key);
// "143", or "—" before any speed was measured.
[[nodiscard]] QString speedValue(double speed);
[[nodiscard]] SpeedAxis speedAxis(const QList<SpeedPoint> &points);
// The chart's days: from the first point to a little past the last.
[[nodiscard]] QDateTime chartFrom(const QList<SpeedPoint> &points);
[[nodiscard]] QDateTime chartTo(const QList<SpeedPoint> &points);
[[nodiscard]] int dateTickCount(const QList<SpeedPoint> &points);
// The label over the last point; empty without points.
[[nodiscard]] QString lastSpeedText(const QList<SpeedPoint> &points);
// The chart in one sentence, for a screen reader: its days, the lowest and
// highest speed and the last one, "Скорость за 3 дня занятий, с 4 по
// 6 декабря: от 160 до 243 зн/мин, последняя 243".
[[nodiscard]] QString chartSummary(const QList<SpeedPoint> &points);

} // namespace StatsFigures
