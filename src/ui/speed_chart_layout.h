// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QList>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>

// What the speed chart shows, as the progress tab's view model hands it over.
struct SpeedChartData
{
    QList<QPointF> points; // x: ms since the epoch, y: the day's best speed
    qint64 from = 0;       // the first and the last moment of the day axis, ms
    qint64 to = 0;
    int dateTickCount = 2;
    double speedMax = 10;
    int speedTickCount = 2;
    QString lastSpeedText;
};

// One mark of an axis: where its grid line or tick lies (y for the speed
// axis, x for the days) and its label's text and box.
struct ChartTick
{
    double at = 0;
    QString label;
    QRectF labelRect;
};

// Where each part of the speed chart goes in an item of a given size: the
// plot between the speed labels on the left and the dates below, the grid
// lines, the curve and the last speed over its point. Computed apart from the
// painting so that the geometry can be checked without rendering.
struct SpeedChartLayout
{
    QRectF plot;                // empty when the item is too small for a chart
    QList<ChartTick> speedTicks; // from 0 upwards; `at` on whole pixels
    QList<ChartTick> dateTicks;  // left to right; labels that would collide are left out
    QPolygonF curve;            // the points, in the item's pixels
    QRectF lastFigure;          // the last speed's label, above and to the left of its point

    static constexpr double dotDiameter = 9;

    [[nodiscard]] static SpeedChartLayout make(QSizeF size, const SpeedChartData &data,
                                               const QFont &labelFont, const QFont &figureFont);
};
