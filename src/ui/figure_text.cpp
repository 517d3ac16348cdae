// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "figure_text.h"

#include <cmath>

namespace FigureText {

QString whole(double value)
{
    return QString::number(qint64(std::round(value)));
}

QString percent(double fraction)
{
    return QString::asprintf("%.1f", fraction * 100.0).replace(u'.', u',') + QStringLiteral(" %");
}

} // namespace FigureText
