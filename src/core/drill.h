// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "course.h"
#include "profile_data.h"
#include "session_engine.h"

#include <QDate>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

#include <optional>

// Focused practice beside the course: a few keys the learner is least sure
// of, and an exercise in which every word holds one of them. A drill types
// only what the course has taught so far, and never counts as a passed
// exercise of a lesson.
//
// Its keys ("targets") are the unlocked letters, the marks of the lessons
// reached, and Shift once capitals are taught, which stands for every
// character typed with it. Dates are the learner's local days: a key's
// estimate fades with the days since it was last typed (KeyConfidence).
namespace Drill {

inline constexpr qsizetype maxFocusKeys = 3;
// Drills are offered once the profile holds this many key events, about two
// exercises: before that every key is still "not yet sure".
inline constexpr qint64 offerEvents = 300;
// A lesson's new key at this estimated error rate or more, or not yet sure,
// is worth a drill of its own when the lesson completes.
inline constexpr double consolidateFrom = 0.08;
// Shift among the targets, and in the profile's key statistics, where every
// stroke typed with Shift is also recorded under it.
inline constexpr QStringView shiftKey = KeyStat::shiftKey;

// The letters the course has unlocked up to the lesson the learner reached.
[[nodiscard]] QStringList drillable(const ProfileData &profile);
// drillable(), then the marks taught, then Shift once capitals are taught.
[[nodiscard]] QStringList targets(const ProfileData &profile);
// How much a target's error weighs in the ranking: more the more rarely the
// course's exercises show it (1 for common letters, up to 4 for ъ, which no
// course text holds), since the course alone will not mend it.
[[nodiscard]] double rarityWeight(const QString &target);
// Up to maxFocusKeys targets by KeyConfidence::plausibleRate weighed by
// rarityWeight (on a tie the later-taught target first); the last place goes
// to the target that has most surely got worse lately, if it is not among
// them, else to the error map's darkest letter unless it is below the
// learner's average.
[[nodiscard]] QStringList focusKeys(const ProfileData &profile, QDate today);
[[nodiscard]] bool offered(const ProfileData &profile);
// The targets well above the learner's own average error (twice it, and 4
// points more) or lately got worse, ranked as focusKeys (without the map);
// empty when none is, or before there are five sure targets to average.
[[nodiscard]] QStringList needed(const ProfileData &profile, QDate today);
// The targets `lesson` teaches (its new keys and marks, Shift for a capitals
// lesson) that are not yet sure or at consolidateFrom or more, ranked as
// focusKeys; at most maxFocusKeys.
[[nodiscard]] QStringList consolidation(const Lesson &lesson, const ProfileData &profile,
                                        QDate today);
// The wanted targets, each once; when none of them is a target,
// focusKeys(profile, today).
[[nodiscard]] QStringList keysFor(const QStringList &wanted, const ProfileData &profile,
                                  QDate today);

// About 150 characters of items that each hold one of keysFor(keys): for a
// letter, a word of the vocabulary or the drill list typeable with the
// unlocked letters, or a pseudo-word built around it that keeps to Russian
// spelling; for a mark, a word with the mark where Russian puts it ("слово,",
// "— слово", "«слово»"); for Shift, a capitalised word. No word comes more
// than twice. Capitals begin sentences once taught.
[[nodiscard]] QString exercise(const QStringList &keys, const ProfileData &profile, QDate today,
                               QRandomGenerator &rng);

// How a drill went for one of its keys: its strokes in the drill, and its
// last outcomes before it (none when it had none).
struct KeyOutcome
{
    QString key;
    qint64 strokes = 0;
    qint64 right = 0;
    qint64 strokesBefore = 0;
    qint64 rightBefore = 0;

    friend bool operator==(const KeyOutcome &, const KeyOutcome &) = default;
};
// Per key, in the order given, from the profile as it was before the drill
// and the drill's key events.
[[nodiscard]] QList<KeyOutcome> outcomes(const QStringList &keys, const ProfileData &before,
                                         const QList<KeyEvent> &events);

// Everyday words for the letters the vocabulary holds few or none of, and
// for every letter at the lesson that unlocks it.
[[nodiscard]] const QStringList &words();

} // namespace Drill
