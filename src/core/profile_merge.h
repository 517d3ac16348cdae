// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "profile_data.h"

// Joining the progress of two computers. The merge never inflates: it keeps,
// record by record, the one that saw more practice, so merging the same file
// twice, or a file exported from this very profile, changes nothing, and the
// order of two imports does not matter. Preferences stay this computer's.
namespace ProfileMerge {

// Why a profile read from a file is not taken in. The file must hold only
// what an Olvi writes: it stays in the profile for good once merged.
enum class Refusal {
    none,
    // More than an Olvi carries beside its own records: unknown members of
    // over maxUnknownBytes in all, or a text longer than the editor takes.
    tooMuch,
    // Statistics under a key no key of the Russian layout types, as Olvi
    // records it: one lower-case character in canonical form.
    unknownKey,
    // A number no Olvi writes: a lesson outside the course, a negative count,
    // more errors than attempts (or recent outcomes than events), errors on a
    // day without characters, an average outside its range, a day that is not
    // a date, a fragment past the end of the text. (A day may hold more errors
    // than characters: every wrong key counts, and a struggling learner makes
    // more of them than the exercise has characters.)
    outOfRange,
    // A day later than tomorrow by this computer's clock: no practice can
    // have been recorded then, so one of the two clocks is wrong.
    futureDay,
};

// What a file may carry in members this version does not know (of the
// profile, its key statistics and its days together), as JSON text: room for
// what a later Olvi adds, and far below what could crowd the profile out.
inline constexpr qsizetype maxUnknownBytes = 1024 * 1024;

// What merging changes, for the learner to confirm.
struct Effect
{
    qsizetype newDays = 0;           // dates this profile has no record of
    qsizetype fullerDays = 0;        // dates whose record is replaced by a fuller one
    qsizetype newlyCompleted = 0;    // lessons that become completed
    qsizetype betterKeys = 0;        // keys whose statistics come from the file
    bool courseMoves = false;        // the current lesson becomes a later one
    bool manuscriptArrives = false;  // this computer had no text of its own
    qsizetype droppedDays = 0;       // this computer's days the bound on days pushes out

    [[nodiscard]] bool nothing() const
    {
        return newDays == 0 && fullerDays == 0 && newlyCompleted == 0 && betterKeys == 0
               && !courseMoves && !manuscriptArrives && droppedDays == 0;
    }
    friend bool operator==(const Effect &, const Effect &) = default;
};

// The first reason, in the order of Refusal, not to take `incoming` in on
// `today` (this computer's local date).
[[nodiscard]] Refusal check(const ProfileData &incoming, QDate today);

// `here` joined with `incoming`: days by date and key statistics by key, the
// record with more practice winning whole; the larger pass count and the later
// lesson; this computer's sound, appearance and unknown members on a clash;
// its text unless it has none. At most the store's number of days, the oldest
// dropped.
[[nodiscard]] ProfileData merge(const ProfileData &here, const ProfileData &incoming);

[[nodiscard]] Effect effect(const ProfileData &here, const ProfileData &merged);

} // namespace ProfileMerge
