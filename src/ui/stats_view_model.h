// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app_state.h"
#include "app_view_model.h"
#include "profile_data.h"
#include "profile_statistics.h"

#include <QDateTime>
#include <QObject>
#include <QQmlEngine>
#include <QVariantList>
#include <QVariantMap>

#include <functional>

// One figure tile of the progress tab.
struct StatsTile
{
    QString label;
    QString value;
    QString unit; // empty: none shown
    QString note;

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

// The progress tab: the four tiles, the speed chart's points and axes and the
// error levels of the heat map, all read from the profile.
class StatsViewModel : public AppViewModel
{
    Q_OBJECT
    QML_ELEMENT
    // One map per tile: label, value, unit, note.
    Q_PROPERTY(QVariantList tiles READ tiles NOTIFY profileChanged)
    Q_PROPERTY(bool chartShown READ chartShown NOTIFY profileChanged)
    // One map per point: time (ms since the epoch, local midnight), speed.
    Q_PROPERTY(QVariantList chartPoints READ chartPoints NOTIFY profileChanged)
    Q_PROPERTY(QDateTime chartFrom READ chartFrom NOTIFY profileChanged)
    Q_PROPERTY(QDateTime chartTo READ chartTo NOTIFY profileChanged)
    Q_PROPERTY(int dateTickCount READ dateTickCount NOTIFY profileChanged)
    Q_PROPERTY(double speedAxisMax READ speedAxisMax NOTIFY profileChanged)
    Q_PROPERTY(int speedTickCount READ speedTickCount NOTIFY profileChanged)
    Q_PROPERTY(QString lastSpeedText READ lastSpeedText NOTIFY profileChanged)
    Q_PROPERTY(bool heatMapShown READ heatMapShown NOTIFY profileChanged)
    // Character → error level in [0, 1], for the keyboard's heat map.
    Q_PROPERTY(QVariantMap heatLevels READ heatLevels NOTIFY profileChanged)

public:
    explicit StatsViewModel(QObject *parent = nullptr);


    [[nodiscard]] QVariantList tiles() const;
    [[nodiscard]] bool chartShown() const { return m_points.size() >= 2; }
    [[nodiscard]] QVariantList chartPoints() const;
    // The first day, and a little past the last.
    [[nodiscard]] QDateTime chartFrom() const;
    [[nodiscard]] QDateTime chartTo() const;
    [[nodiscard]] int dateTickCount() const;
    [[nodiscard]] double speedAxisMax() const { return speedAxis(m_points).max; }
    [[nodiscard]] int speedTickCount() const { return speedAxis(m_points).tickCount; }
    [[nodiscard]] QString lastSpeedText() const;
    [[nodiscard]] bool heatMapShown() const { return !m_levels.isEmpty(); }
    [[nodiscard]] QVariantMap heatLevels() const;

    [[nodiscard]] static QList<StatsTile> tilesFor(const ProfileData &profile,
                                                   const QDateTime &now);
    // "143", or "—" before any speed was measured.
    [[nodiscard]] static QString speedValue(double speed);
    [[nodiscard]] static SpeedAxis speedAxis(const QList<SpeedPoint> &points);

private:
    void refresh() override;

    QList<SpeedPoint> m_points;
    QMap<QString, double> m_levels;
};
