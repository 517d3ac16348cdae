// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "speed_chart.h"

#include "stats_view_model.h"

#include <QPainter>
#include <QPainterPath>

SpeedChart::SpeedChart(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void SpeedChart::setStats(StatsViewModel *stats)
{
    if (stats == m_stats)
        return;
    disconnect(m_profileConnection);
    m_stats = stats;
    if (stats) {
        m_profileConnection =
            connect(stats, &AppViewModel::profileChanged, this, &SpeedChart::relayout);
    }
    relayout();
    Q_EMIT statsChanged();
}

void SpeedChart::setColor(QColor &member, const QColor &color)
{
    if (color == member)
        return;
    member = color;
    update();
    Q_EMIT colorsChanged();
}

void SpeedChart::setFont(const QFont &font)
{
    if (font == m_font)
        return;
    m_font = font;
    relayout();
    Q_EMIT fontChanged();
}

QFont SpeedChart::figureFont() const
{
    QFont bold = m_font;
    bold.setWeight(QFont::DemiBold);
    return bold;
}

QPointF SpeedChart::lastPoint() const
{
    return m_layout.curve.isEmpty() ? QPointF() : m_layout.curve.last();
}

void SpeedChart::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size())
        relayout();
}

SpeedChartData SpeedChart::dataOf(const StatsViewModel *stats)
{
    if (!stats)
        return {};
    return {stats->chartPoints(),          stats->chartFrom().toMSecsSinceEpoch(),
            stats->chartTo().toMSecsSinceEpoch(), stats->dateTickCount(),
            stats->speedAxisMax(),         stats->speedTickCount(),
            stats->lastSpeedText()};
}

void SpeedChart::relayout()
{
    const SpeedChartData data = dataOf(m_stats);
    m_lastSpeedText = data.lastSpeedText;
    m_layout = SpeedChartLayout::make(size(), data, m_font, figureFont());
    update();
    Q_EMIT layoutChanged();
}

void SpeedChart::paint(QPainter *painter)
{
    const QRectF plot = m_layout.plot;
    if (plot.isEmpty())
        return;
    painter->setPen(QPen(m_gridColor, 1));
    for (const ChartTick &tick : m_layout.speedTicks) {
        const double y = tick.at + 0.5;
        painter->drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }

    painter->setFont(m_font);
    painter->setPen(m_labelColor);
    for (const ChartTick &tick : m_layout.speedTicks)
        painter->drawText(tick.labelRect, Qt::AlignRight | Qt::AlignVCenter, tick.label);
    for (const ChartTick &tick : m_layout.dateTicks)
        painter->drawText(tick.labelRect, Qt::AlignCenter, tick.label);

    const QPolygonF &curve = m_layout.curve;
    if (curve.isEmpty())
        return;
    QPainterPath area;
    area.moveTo(curve.first().x(), plot.bottom());
    for (const QPointF &p : curve)
        area.lineTo(p);
    area.lineTo(curve.last().x(), plot.bottom());
    area.closeSubpath();
    painter->fillPath(area, m_areaColor);

    painter->setPen(QPen(m_lineColor, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter->drawPolyline(curve);
    painter->setPen(Qt::NoPen);
    painter->setBrush(m_lineColor);
    const double radius = SpeedChartLayout::dotDiameter / 2;
    painter->drawEllipse(curve.last(), radius, radius);

    if (!m_lastSpeedText.isEmpty()) {
        painter->setFont(figureFont());
        painter->setPen(m_figureColor);
        painter->drawText(m_layout.lastFigure, Qt::AlignCenter, m_lastSpeedText);
    }
}
