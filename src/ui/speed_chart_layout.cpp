// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "speed_chart_layout.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

constexpr double labelGap = 6; // between a label and the plot
constexpr double edge = 4;     // kept clear at the top and the right

// `box` moved as little as needed to lie inside `bounds` (its top-left
// corner wins when it cannot fit).
QRectF keptInside(QRectF box, const QRectF &bounds)
{
    box.moveLeft(std::max(bounds.left(), std::min(box.left(), bounds.right() - box.width())));
    box.moveTop(std::max(bounds.top(), std::min(box.top(), bounds.bottom() - box.height())));
    return box;
}

} // namespace

SpeedChartLayout SpeedChartLayout::make(QSizeF size, const SpeedChartData &data,
                                        const QFont &labelFont, const QFont &figureFont)
{
    SpeedChartLayout layout;
    const QRectF item(QPointF(0, 0), size);
    const QFontMetricsF labels(labelFont);
    const double labelHeight = std::ceil(labels.height());
    const int speedTicks = std::max(data.speedTickCount, 2);
    const double speedMax = data.speedMax > 0 && std::isfinite(data.speedMax) ? data.speedMax : 1;

    QStringList speedLabels;
    double labelWidth = 0;
    for (int i = 0; i < speedTicks; ++i) {
        speedLabels.append(QString::number(std::llround(speedMax * i / (speedTicks - 1))));
        labelWidth = std::max(labelWidth, labels.horizontalAdvance(speedLabels.last()));
    }
    // The top speed label is centred on the top grid line, and must not be cut.
    const double top = std::ceil(std::max(edge, labelHeight / 2));
    const double left = std::ceil(labelWidth + labelGap);
    const double bottom = std::floor(size.height() - labelHeight - labelGap);
    const double right = std::floor(size.width() - edge);
    if (right - left < 2 * dotDiameter || bottom - top < 2 * dotDiameter)
        return layout;
    layout.plot = QRectF(QPointF(left, top), QPointF(right, bottom));
    const QRectF plot = layout.plot;

    // Grid lines on whole pixels (drawn half a pixel down), so that they stay
    // one sharp row at any pixel density; the bottom one still inside the plot.
    for (int i = 0; i < speedTicks; ++i) {
        const double y = plot.bottom() - plot.height() * i / (speedTicks - 1);
        const double at = std::min(std::floor(y), plot.bottom() - 1);
        const double width = labels.horizontalAdvance(speedLabels[i]);
        const QRectF box(plot.left() - labelGap - width, at + 0.5 - labelHeight / 2, width,
                         labelHeight);
        layout.speedTicks.append({at, speedLabels[i], keptInside(box, item)});
    }

    const double span = double(data.to - data.from);
    const auto xAt = [&](double ms) {
        const double share = span > 0 ? (ms - double(data.from)) / span : 0.0;
        return plot.left() + plot.width() * std::clamp(share, 0.0, 1.0);
    };
    // The days are Russian whatever the process locale: "22 нояб.", like the
    // notes beside the chart.
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    const int dateTicks = std::max(data.dateTickCount, 2);
    for (int i = 0; i < dateTicks; ++i) {
        const double ms = double(data.from) + span * i / (dateTicks - 1);
        const double x = xAt(ms);
        const QDate day = QDateTime::fromMSecsSinceEpoch(qint64(std::llround(ms))).date();
        const QString label = russian.toString(day, QStringLiteral("d MMM"));
        const double width = std::ceil(labels.horizontalAdvance(label));
        // Under its tick, but not out under the speed labels, nor past the edge.
        const QRectF box = keptInside(
            QRectF(x - width / 2, plot.bottom() + labelGap, width, labelHeight),
            item.adjusted(plot.left(), 0, 0, 0));
        // A narrow chart names fewer days rather than letting labels collide.
        if (!layout.dateTicks.isEmpty()
            && box.left() < layout.dateTicks.last().labelRect.right() + labelGap)
            continue;
        layout.dateTicks.append({x, label, box});
    }

    for (const QPointF &p : data.points) {
        const double share = std::isfinite(p.y()) ? std::clamp(p.y() / speedMax, 0.0, 1.0) : 0.0;
        layout.curve.append(QPointF(xAt(p.x()), plot.bottom() - plot.height() * share));
    }
    if (!layout.curve.isEmpty() && !data.lastSpeedText.isEmpty()) {
        const QFontMetricsF figure(figureFont);
        const QPointF last = layout.curve.last();
        const QSizeF box(std::ceil(figure.horizontalAdvance(data.lastSpeedText)),
                         std::ceil(figure.height()));
        layout.lastFigure = keptInside(
            QRectF(QPointF(last.x() + 2 - box.width(), last.y() - 4 - box.height()), box), item);
    }
    return layout;
}
