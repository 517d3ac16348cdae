// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Reads arbitrary bytes as a profile file; whatever is accepted must survive
// the figures derived from it and the texts the progress screen writes of
// them, and come back unchanged from a write and a second read.
#include "profile_json.h"
#include "profile_statistics.h"
#include "stats_figures.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void fail(const char *what)
{
    std::fprintf(stderr, "profile: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto profile = ProfileJson::decode(
        QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!profile)
        return 0;

    const QDateTime now(QDate(2026, 2, 10), QTime(12, 0));
    (void)ProfileStatistics::streak(*profile, now);
    (void)ProfileStatistics::recentSpeed(*profile);
    (void)ProfileStatistics::overallAccuracy(*profile);
    (void)ProfileStatistics::speedPoints(*profile);
    (void)ProfileStatistics::keyErrorLevels(*profile);

    // What the progress screen shows of it: the tiles, and the chart's range and axis.
    (void)StatsFigures::tiles(*profile, now);
    for (const DayStat &day : profile->days)
        (void)StatsFigures::readableDate(day.date);
    const QList<SpeedPoint> points = ProfileStatistics::speedPoints(*profile);
    const SpeedAxis axis = StatsFigures::speedAxis(points);
    if (!std::isfinite(axis.max) || axis.tickCount < 2)
        fail("the speed axis is not a finite range");
    (void)StatsFigures::dateTickCount(points);
    (void)StatsFigures::lastSpeedText(points);
    (void)StatsFigures::chartSummary(points);

    // The reader takes only finite numbers, so the writer has no reason to refuse.
    const QByteArray text = ProfileJson::encode(*profile);
    if (text.isEmpty())
        fail("a profile that was read cannot be written");
    const auto back = ProfileJson::decode(text);
    if (!back)
        fail("a written profile does not read back");
    if (!(*back == *profile))
        fail("a written profile reads back different");
    if (ProfileJson::encode(*back) != text)
        fail("writing the same profile twice gives different bytes");
    return 0;
}
