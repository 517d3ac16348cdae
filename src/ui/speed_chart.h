// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "speed_chart_layout.h"
#include "stats_view_model.h"

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QQmlEngine>
#include <QQuickPaintedItem>

// The progress tab's chart of the daily best speed: a filled curve over a
// grid of speeds, the days below it and the last speed over its point. One
// painted item (no chart library: that would cost megabytes at start and a
// pause on the tab's first opening for a few dozen lines of drawing). It
// follows the view model's profile on its own, also while hidden.
class SpeedChart : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(StatsViewModel *stats READ stats WRITE setStats NOTIFY statsChanged)
    Q_PROPERTY(QColor lineColor READ lineColor WRITE setLineColor NOTIFY colorsChanged)
    Q_PROPERTY(QColor areaColor READ areaColor WRITE setAreaColor NOTIFY colorsChanged)
    Q_PROPERTY(QColor gridColor READ gridColor WRITE setGridColor NOTIFY colorsChanged)
    Q_PROPERTY(QColor labelColor READ labelColor WRITE setLabelColor NOTIFY colorsChanged)
    Q_PROPERTY(QColor figureColor READ figureColor WRITE setFigureColor NOTIFY colorsChanged)
    // The axis labels' font; the last speed is drawn in its bold cut.
    Q_PROPERTY(QFont font READ font WRITE setFont NOTIFY fontChanged)
    // Where the last point is drawn, for whatever lies over it.
    Q_PROPERTY(QPointF lastPoint READ lastPoint NOTIFY layoutChanged)

public:
    explicit SpeedChart(QQuickItem *parent = nullptr);

    [[nodiscard]] StatsViewModel *stats() const { return m_stats; }
    void setStats(StatsViewModel *stats);
    [[nodiscard]] QColor lineColor() const { return m_lineColor; }
    void setLineColor(const QColor &color) { setColor(m_lineColor, color); }
    [[nodiscard]] QColor areaColor() const { return m_areaColor; }
    void setAreaColor(const QColor &color) { setColor(m_areaColor, color); }
    [[nodiscard]] QColor gridColor() const { return m_gridColor; }
    void setGridColor(const QColor &color) { setColor(m_gridColor, color); }
    [[nodiscard]] QColor labelColor() const { return m_labelColor; }
    void setLabelColor(const QColor &color) { setColor(m_labelColor, color); }
    [[nodiscard]] QColor figureColor() const { return m_figureColor; }
    void setFigureColor(const QColor &color) { setColor(m_figureColor, color); }
    [[nodiscard]] QFont font() const { return m_font; }
    void setFont(const QFont &font);
    [[nodiscard]] QPointF lastPoint() const;
    [[nodiscard]] const SpeedChartLayout &layout() const { return m_layout; }
    // What the chart shows of the view model's figures (nothing without one).
    [[nodiscard]] static SpeedChartData dataOf(const StatsViewModel *stats);

    void paint(QPainter *painter) override;

Q_SIGNALS:
    void statsChanged();
    void colorsChanged();
    void fontChanged();
    void layoutChanged();

protected:
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;

private:
    void setColor(QColor &member, const QColor &color);
    void relayout();
    [[nodiscard]] QFont figureFont() const;

    QPointer<StatsViewModel> m_stats;
    QMetaObject::Connection m_profileConnection;
    QColor m_lineColor{Qt::black};
    QColor m_areaColor{Qt::lightGray};
    QColor m_gridColor{Qt::lightGray};
    QColor m_labelColor{Qt::gray};
    QColor m_figureColor{Qt::black};
    QFont m_font;
    QString m_lastSpeedText;
    SpeedChartLayout m_layout;
};
