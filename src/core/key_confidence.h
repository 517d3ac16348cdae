// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "profile_data.h"

#include <optional>

// What Olvi believes about the learner's hold on one key now: the error rate
// as the mean of a Beta posterior, and whether there is enough evidence to
// believe anything.
//
// The last KeyStat::recentCap outcomes count in full. The events before them
// are known only as totals, and they speak of a learner who has practised
// since: together they weigh at most as much as olderWeightCap events, enough
// to part two keys whose recent outcomes tie, too little to hide that a key
// once weak is now fine. The prior is a weak 5 %, worth priorStrength events,
// which keeps a key with few events from looking perfect or hopeless.
struct KeyConfidence
{
    double errorRate = 0.0;     // estimated chance that the next stroke of the key is wrong
    double spread = 0.0;        // the standard deviation of that estimate
    double evidence = 0.0;      // the events the estimate rests on, older ones weighed down
    qint64 events = 0;          // every event of the key
    bool sure = false;          // at least sureEvents events
    std::optional<double> charsPerMinute; // from the latency average, once there is one

    static constexpr qint64 sureEvents = 20;
    static constexpr double priorRate = 0.05;
    static constexpr double priorStrength = 10.0;
    // Each older event counts a quarter, and all of them together at most this much.
    static constexpr double olderWeight = 0.25;
    static constexpr double olderWeightCap = 5.0;

    [[nodiscard]] static KeyConfidence of(const KeyStat &stat);

    // The key a learner is less sure of comes first: a key with too few
    // events before any other, the fewer the earlier; then the higher error
    // rate; then the slower key.
    [[nodiscard]] bool lessSureThan(const KeyConfidence &other) const;
};
