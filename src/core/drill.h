// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "profile_data.h"

#include <QRandomGenerator>
#include <QString>
#include <QStringList>

// Focused practice beside the course: a few keys the learner is least sure
// of, and an exercise in which every word holds one of them. A drill types
// only what the course has taught so far, and never counts as a passed
// exercise of a lesson.
namespace Drill {

inline constexpr qsizetype maxFocusKeys = 3;
// Drills are offered once the profile holds this many key events, about two
// exercises: before that every key is still "not yet sure".
inline constexpr qint64 offerEvents = 300;

// The letters the course has unlocked up to the lesson the learner reached.
[[nodiscard]] QStringList drillable(const ProfileData &profile);
// Up to maxFocusKeys of them, the one the learner is least sure of first
// (KeyConfidence::lessSureThan); on a tie the later-taught key first.
[[nodiscard]] QStringList focusKeys(const ProfileData &profile);
[[nodiscard]] bool offered(const ProfileData &profile);
// The wanted keys the course has unlocked, each once; when none is left,
// focusKeys(profile).
[[nodiscard]] QStringList keysFor(const QStringList &wanted, const ProfileData &profile);
// "Работа над ошибками: ж, э, ф".
[[nodiscard]] QString title(const QStringList &keys);

// About 150 characters of words that each hold one of keysFor(focusKeys): common
// words and words of the drill list typeable with the unlocked letters, and
// pseudo-words built around the key. Capitals and marks appear only once the
// course has taught them.
[[nodiscard]] QString exercise(const QStringList &focusKeys, const ProfileData &profile,
                               QRandomGenerator &rng);

// Everyday words for the letters the vocabulary holds few or none of: ъ, щ,
// э, ф, ю, ё, ц, х.
[[nodiscard]] const QStringList &rareLetterWords();

} // namespace Drill
