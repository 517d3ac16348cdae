// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "key_confidence.h"

#include <algorithm>
#include <cmath>

namespace {

// Whether the newest 8 to 30 outcomes go wrong more often than the key's own
// past says it goes wrong, by at least this many points and twice as often;
// and how likely chance alone makes them that bad.
constexpr int regressionTails[] = {8, 12, 16, 20, 25, 30};
constexpr int regressionPast = 10; // outcomes before the tail, at least
constexpr double regressionMargin = 0.06;
// Chance below this: surely got worse.
constexpr double regressionLimit = 0.001;

// P(X >= k) for X ~ BetaBinomial(n, a, b): the tail's errors against a past
// rate known only as a Beta(a, b) posterior, so a short past raises no alarm.
double atLeast(int n, int k, double a, double b)
{
    const auto logBeta = [](double x, double y) {
        return std::lgamma(x) + std::lgamma(y) - std::lgamma(x + y);
    };
    double sum = 0.0;
    for (int i = k; i <= n; ++i)
        sum += std::exp(std::lgamma(n + 1.0) - std::lgamma(i + 1.0) - std::lgamma(n - i + 1.0)
                        + logBeta(i + a, n - i + b) - logBeta(a, b));
    return std::min(sum, 1.0);
}

} // namespace

KeyConfidence KeyConfidence::of(const KeyStat &stat, QDate today)
{
    const QString recent = stat.recent.right(KeyStat::recentCap);
    const double recentErrors = double(recent.count(u'1'));
    const double recentEvents = double(recent.size());
    // A profile written before the outcomes were kept has only totals: then
    // every event is an older one. In doubles, whatever the file held.
    const double older = std::max(double(stat.attempts) - recentEvents, 0.0);
    const double olderErrors = std::clamp(double(stat.errors) - recentErrors, 0.0, older);
    const double weight = older > 0.0 ? std::min(olderWeight, olderWeightCap / older) : 0.0;

    const std::optional<QDate> last = dateForDayKey(stat.lastDay);
    const double daysAway =
        today.isValid() && last ? std::clamp(double(last->daysTo(today)), 0.0, 3650.0) : 0.0;
    const double kept = std::exp2(-daysAway / halfLifeDays);

    KeyConfidence c;
    c.evidence = kept * (recentEvents + weight * older);
    const double strength = priorStrength + c.evidence;
    c.errorRate =
        (priorRate * priorStrength + kept * (recentErrors + weight * olderErrors)) / strength;
    c.spread = std::sqrt(c.errorRate * (1.0 - c.errorRate) / (strength + 1.0));
    c.events = std::max<qint64>(stat.attempts, 0);
    c.sure = kept * double(c.events) >= double(sureEvents);
    if (stat.latencyEMA > 0.0)
        c.charsPerMinute = 60.0 / stat.latencyEMA;

    for (const int n : regressionTails) {
        if (recent.size() < n + regressionPast)
            break;
        const QStringView past = QStringView(recent).first(recent.size() - n);
        const int wrong = int(QStringView(recent).last(n).count(u'1'));
        const double pastErrors = double(past.count(u'1')) + weight * olderErrors;
        const double a = priorRate * priorStrength + pastErrors;
        const double b = (1.0 - priorRate) * priorStrength + double(past.size()) + weight * older
                         - pastErrors;
        const double rate = double(wrong) / n;
        if (rate >= a / (a + b) + regressionMargin && rate >= 2.0 * a / (a + b))
            c.regressionChance = std::min(c.regressionChance, atLeast(n, wrong, a, b));
    }
    c.regressed = c.regressionChance < regressionLimit;
    return c;
}

bool KeyConfidence::lessSureThan(const KeyConfidence &other) const
{
    if (plausibleRate() != other.plausibleRate())
        return plausibleRate() > other.plausibleRate();
    // A key never timed counts as the slowest: nothing says it is fluent.
    return charsPerMinute.value_or(0.0) < other.charsPerMinute.value_or(0.0);
}
