// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats_view_model.h"

#include "app_state.h"

StatsViewModel::StatsViewModel(QObject *parent) : AppViewModel(parent) {}

void StatsViewModel::refresh()
{
    const ProfileData empty;
    const ProfileData &profile = app() ? app()->store()->data() : empty;
    m_points = ProfileStatistics::speedPoints(profile);
    m_levels = ProfileStatistics::keyErrorLevels(profile);
    m_tiles.setItems(
        StatsFigures::tiles(profile, app() ? app()->now() : QDateTime::currentDateTime()));
    Q_EMIT profileChanged();
}

QList<QPointF> StatsViewModel::chartPoints() const
{
    QList<QPointF> points;
    points.reserve(m_points.size());
    for (const SpeedPoint &p : m_points)
        points.append(QPointF(double(p.day.toMSecsSinceEpoch()), p.speed));
    return points;
}
