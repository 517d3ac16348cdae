// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "figure_text.h"

#include <cmath>
#include <limits>

namespace FigureText {

QString whole(double value)
{
    const double rounded = std::round(value);
    if (std::isnan(rounded))
        return QStringLiteral("—");
    // A damaged file may hold any double: held at the 64-bit limits, as a
    // cast beyond them is undefined. 2^63 is the first double past the top.
    constexpr double top = 9223372036854775808.0;
    if (rounded >= top)
        return QString::number(std::numeric_limits<qint64>::max());
    if (rounded < -top)
        return QString::number(std::numeric_limits<qint64>::min());
    return QString::number(qint64(rounded));
}

QString percent(double fraction)
{
    return QString::asprintf("%.1f", fraction * 100.0).replace(u'.', u',') + QStringLiteral(" %");
}

} // namespace FigureText
