// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats_view_model.h"

#include "app_state.h"

StatsViewModel::StatsViewModel(QObject *parent) : AppViewModel(parent) {}

QDateTime StatsViewModel::now() const
{
    return app() ? app()->now() : QDateTime::currentDateTime();
}

void StatsViewModel::setActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    if (active && (m_stale || now().date() != m_shownDay))
        refresh();
    Q_EMIT activeChanged();
}

void StatsViewModel::refresh()
{
    m_stale = !m_active;
    if (m_stale)
        return;
    const ProfileData empty;
    const ProfileData &profile = app() ? app()->store()->data() : empty;
    const QDateTime at = now();
    m_shownDay = at.date();
    m_points = ProfileStatistics::speedPoints(profile);
    m_levels = ProfileStatistics::keyErrorLevels(profile);
    m_tiles.setItems(StatsFigures::tiles(profile, at));
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
