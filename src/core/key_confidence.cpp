// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "key_confidence.h"

#include <algorithm>
#include <cmath>

KeyConfidence KeyConfidence::of(const KeyStat &stat)
{
    const QString recent = stat.recent.right(KeyStat::recentCap);
    const double recentErrors = double(recent.count(u'1'));
    const double recentEvents = double(recent.size());
    // A profile written before the outcomes were kept has only totals: then
    // every event is an older one.
    // Saturating: the learner's own file may hold any count, even near -2^63.
    const double older = double(std::max<qint64>(saturatingAdd(stat.attempts, -recent.size()), 0));
    const double olderErrors = std::clamp(double(stat.errors) - recentErrors, 0.0, older);
    const double weight = older > 0.0 ? std::min(olderWeight, olderWeightCap / older) : 0.0;

    KeyConfidence c;
    c.evidence = recentEvents + weight * older;
    const double strength = priorStrength + c.evidence;
    c.errorRate = (priorRate * priorStrength + recentErrors + weight * olderErrors) / strength;
    c.spread = std::sqrt(c.errorRate * (1.0 - c.errorRate) / (strength + 1.0));
    c.events = stat.attempts;
    c.sure = stat.attempts >= sureEvents;
    if (stat.latencyEMA > 0.0)
        c.charsPerMinute = 60.0 / stat.latencyEMA;
    return c;
}

bool KeyConfidence::lessSureThan(const KeyConfidence &other) const
{
    if (sure != other.sure)
        return !sure;
    if (!sure)
        return events < other.events;
    if (errorRate != other.errorRate)
        return errorRate > other.errorRate;
    // A key never timed counts as the slowest: nothing says it is fluent.
    return charsPerMinute.value_or(0.0) < other.charsPerMinute.value_or(0.0);
}
