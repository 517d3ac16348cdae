// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats_view_model.h"

#include "app_state.h"
#include "figure_text.h"

#include <cmath>

StatsViewModel::StatsViewModel(QObject *parent) : AppViewModel(parent) {}

void StatsViewModel::refresh()
{
    const ProfileData empty;
    const ProfileData &profile = app() ? app()->store()->data() : empty;
    m_points = ProfileStatistics::speedPoints(profile);
    m_levels = ProfileStatistics::keyErrorLevels(profile);
    m_tiles.setItems(tilesFor(profile, app() ? app()->now() : QDateTime::currentDateTime()));
    Q_EMIT profileChanged();
}

QString StatsViewModel::speedValue(double speed)
{
    return speed > 0.0 ? FigureText::whole(speed)
                       : QStringLiteral("—");
}

QList<StatsTile> StatsViewModel::tilesFor(const ProfileData &profile, const QDateTime &now)
{
    const double speed = ProfileStatistics::recentSpeed(profile);
    return {
        {QStringLiteral("Скорость"), speedValue(speed),
         speed > 0.0 ? QStringLiteral("зн/мин") : QString(),
         ProfileStatistics::speedTrendNote(profile)},
        {QStringLiteral("Точность"),
         FigureText::percent(ProfileStatistics::overallAccuracy(profile)), {},
         QStringLiteral("цель — не ниже 97 %")},
        {QStringLiteral("Дней подряд"),
         QString::number(ProfileStatistics::streak(profile, now)), {},
         QStringLiteral("не прерывайте серию")},
        {QStringLiteral("За клавиатурой"), ProfileStatistics::totalTimeText(profile), {},
         ProfileStatistics::firstDayNote(profile)},
    };
}

QList<QPointF> StatsViewModel::chartPoints() const
{
    QList<QPointF> points;
    points.reserve(m_points.size());
    for (const SpeedPoint &p : m_points)
        points.append(QPointF(double(p.day.toMSecsSinceEpoch()), p.speed));
    return points;
}

QDateTime StatsViewModel::chartFrom() const
{
    return m_points.isEmpty() ? QDateTime() : m_points.first().day;
}

QDateTime StatsViewModel::chartTo() const
{
    if (m_points.isEmpty())
        return {};
    // A little room after the last day, so its point mark is not cut in half
    // by the edge of the plot.
    const QDateTime last = m_points.last().day;
    return last.addMSecs(m_points.first().day.msecsTo(last) * 3 / 100);
}

int StatsViewModel::dateTickCount() const
{
    // One label per day while the days are few, so no day is named twice.
    const qint64 days = chartFrom().date().daysTo(chartTo().date());
    return int(std::clamp<qint64>(days + 1, 2, 4));
}

QString StatsViewModel::lastSpeedText() const
{
    return m_points.isEmpty()
               ? QString()
               : FigureText::whole(m_points.last().speed);
}

SpeedAxis StatsViewModel::speedAxis(const QList<SpeedPoint> &points)
{
    double highest = 0.0;
    for (const SpeedPoint &p : points)
        highest = std::max(highest, p.speed);
    if (!(highest > 0.0))
        return {10.0, 2};
    // About four steps of 1, 2, 2.5 or 5 times a power of ten, with a tenth
    // of headroom for the label over the last point.
    const double top = highest * 1.1;
    const double raw = top / 4.0;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10.0 * power;
    for (double factor : {1.0, 2.0, 2.5, 5.0}) {
        if (factor * power >= raw) {
            step = factor * power;
            break;
        }
    }
    const double steps = std::ceil(top / step);
    return {steps * step, int(steps) + 1};
}

