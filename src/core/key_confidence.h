// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "profile_data.h"

#include <QDate>

#include <optional>

// What Olvi believes about the learner's hold on one key now: the error rate
// as the mean of a Beta posterior, how uncertain that is, and whether the key
// has lately got worse than it was.
//
// The last KeyStat::recentCap outcomes count in full. The events before them
// are known only as totals, and they speak of a learner who has practised
// since: together they weigh at most as much as olderWeightCap events, enough
// to part two keys whose recent outcomes tie, too little to hide that a key
// once weak is now fine. The prior is a weak 5 %, worth priorStrength events,
// which keeps a key with few events from looking perfect or hopeless. Days
// away from a key weigh its evidence down (halved every halfLifeDays), so a
// key not typed for weeks is less sure and its estimate drifts back towards
// the prior. Stored counts may be anything a file held: they are read as
// doubles and clamped, never added up as integers.
struct KeyConfidence
{
    double errorRate = 0.0; // estimated chance that the next stroke of the key is wrong
    double spread = 0.0;    // the standard deviation of that estimate
    double evidence = 0.0;  // the events the estimate rests on, older and earlier ones weighed down
    qint64 events = 0;      // every event of the key
    bool sure = false;      // its events, weighed down by the days away, reach sureEvents
    // How likely chance alone makes the newest outcomes as bad as they are,
    // against the key's own past (the smallest over the tails tried); 1 when
    // they are not clearly worse. The lower, the surer the key got worse.
    double regressionChance = 1.0;
    // Surely got worse (regressionChance below one in a thousand), however
    // the key ranks against others.
    bool regressed = false;
    // Chance below this: worth the last place of a drill, whose keys are
    // drawn anyway (a false suspicion costs a third of one drill, a late one
    // lets the slip set in); an offer of a drill of its own waits for `regressed`.
    static constexpr double suspectedBelow = 0.05;
    std::optional<double> charsPerMinute; // from the latency average, once there is one

    static constexpr qint64 sureEvents = 20;
    static constexpr double priorRate = 0.05;
    static constexpr double priorStrength = 10.0;
    // Each older event counts a quarter, and all of them together at most this much.
    static constexpr double olderWeight = 0.25;
    static constexpr double olderWeightCap = 5.0;
    static constexpr double halfLifeDays = 21.0;

    // `today` empty: no days away.
    [[nodiscard]] static KeyConfidence of(const KeyStat &stat, QDate today = {});

    // How wrong the key may plausibly go: the estimate plus one spread. A key
    // with few events ranks by its errors too, not by its count alone.
    [[nodiscard]] double plausibleRate() const { return errorRate + spread; }
    // The key a learner is less sure of comes first: the higher plausible
    // rate; on a tie the slower key.
    [[nodiscard]] bool lessSureThan(const KeyConfidence &other) const;
};
