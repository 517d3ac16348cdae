// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "profile_data.h"

// Joining the progress of two computers. The merge never inflates: it keeps,
// record by record, the one that saw more practice, so merging the same file
// twice, or a file exported from this very profile, changes nothing, and the
// order of two imports does not matter. Preferences stay this computer's.
namespace ProfileMerge {

// Why a profile read from a file is not taken in.
enum class Refusal {
    none,
    // A number no Olvi writes: a lesson outside the course, a negative count,
    // more errors than attempts (or recent outcomes than events), an average
    // outside its range, a day that is not a date.
    outOfRange,
};

// What merging changes, for the learner to confirm.
struct Effect
{
    qsizetype newDays = 0;           // dates this profile has no record of
    qsizetype fullerDays = 0;        // dates whose record is replaced by a fuller one
    qsizetype newlyCompleted = 0;    // lessons that become completed
    qsizetype betterKeys = 0;        // keys whose statistics come from the file
    bool courseMoves = false;        // the current lesson becomes a later one
    bool manuscriptArrives = false;  // this computer had no text of its own

    [[nodiscard]] bool nothing() const
    {
        return newDays == 0 && fullerDays == 0 && newlyCompleted == 0 && betterKeys == 0
               && !courseMoves && !manuscriptArrives;
    }
    friend bool operator==(const Effect &, const Effect &) = default;
};

[[nodiscard]] Refusal check(const ProfileData &incoming);

// `here` joined with `incoming`: days by date and key statistics by key, the
// record with more practice winning whole; the larger pass count and the later
// lesson; this computer's sound, appearance and unknown members on a clash;
// its text unless it has none. At most the store's number of days, the oldest
// dropped.
[[nodiscard]] ProfileData merge(const ProfileData &here, const ProfileData &incoming);

[[nodiscard]] Effect effect(const ProfileData &here, const ProfileData &merged);

} // namespace ProfileMerge
