// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app_state.h"
#include "app_view_model.h"
#include "gadget_list_model.h"
#include "key_levels.h"
#include "profile_data.h"
#include "profile_statistics.h"
#include "stats_figures.h"

#include <QDateTime>
#include <QObject>
#include <QPointF>
#include <QQmlEngine>

// The progress tab: the four tiles, the speed chart's points and axes and the
// error levels of the heat map, all read from the profile.
class StatsViewModel : public AppViewModel
{
    Q_OBJECT
    QML_ELEMENT
    // The four tiles as StatsTile, their fields as roles.
    Q_PROPERTY(QAbstractListModel *tiles READ tiles CONSTANT)
    Q_PROPERTY(bool chartShown READ chartShown NOTIFY profileChanged)
    // x: the day's local midnight in ms since the epoch, y: the best speed.
    Q_PROPERTY(QList<QPointF> chartPoints READ chartPoints NOTIFY profileChanged)
    Q_PROPERTY(QDateTime chartFrom READ chartFrom NOTIFY profileChanged)
    Q_PROPERTY(QDateTime chartTo READ chartTo NOTIFY profileChanged)
    Q_PROPERTY(int dateTickCount READ dateTickCount NOTIFY profileChanged)
    Q_PROPERTY(double speedAxisMax READ speedAxisMax NOTIFY profileChanged)
    Q_PROPERTY(int speedTickCount READ speedTickCount NOTIFY profileChanged)
    Q_PROPERTY(QString lastSpeedText READ lastSpeedText NOTIFY profileChanged)
    // The chart (or the note in its place) in one sentence, for a screen reader.
    Q_PROPERTY(QString chartSummary READ chartSummary NOTIFY profileChanged)
    Q_PROPERTY(bool heatMapShown READ heatMapShown NOTIFY profileChanged)
    Q_PROPERTY(KeyLevels heatLevels READ heatLevels NOTIFY profileChanged)
    // Off while the screen is hidden: the figures wait until it shows again
    // (and then are those of that day, should the date have moved on).
    Q_PROPERTY(bool active READ active WRITE setActive NOTIFY activeChanged)

public:
    explicit StatsViewModel(QObject *parent = nullptr);

    [[nodiscard]] QAbstractListModel *tiles() { return &m_tiles; }
    [[nodiscard]] bool chartShown() const { return m_points.size() >= 2; }
    [[nodiscard]] QList<QPointF> chartPoints() const;
    // The first day, and a little past the last.
    [[nodiscard]] QDateTime chartFrom() const { return StatsFigures::chartFrom(m_points); }
    [[nodiscard]] QDateTime chartTo() const { return StatsFigures::chartTo(m_points); }
    [[nodiscard]] int dateTickCount() const { return StatsFigures::dateTickCount(m_points); }
    [[nodiscard]] double speedAxisMax() const { return StatsFigures::speedAxis(m_points).max; }
    [[nodiscard]] int speedTickCount() const
    {
        return StatsFigures::speedAxis(m_points).tickCount;
    }
    [[nodiscard]] QString lastSpeedText() const { return StatsFigures::lastSpeedText(m_points); }
    [[nodiscard]] QString chartSummary() const { return StatsFigures::chartSummary(m_points); }
    [[nodiscard]] bool heatMapShown() const { return !m_levels.isEmpty(); }
    [[nodiscard]] KeyLevels heatLevels() const { return {m_levels}; }
    [[nodiscard]] bool active() const { return m_active; }
    void setActive(bool active);

Q_SIGNALS:
    void activeChanged();

private:
    void refresh() override;
    [[nodiscard]] QDateTime now() const;

    QList<SpeedPoint> m_points;
    QMap<QString, double> m_levels;
    GadgetListModel m_tiles{StatsTile::staticMetaObject};
    bool m_active = true;
    bool m_stale = false;
    QDate m_shownDay; // the day the figures were computed for
};
