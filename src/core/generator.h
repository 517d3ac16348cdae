// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "course.h"
#include "profile_data.h"

#include <QList>
#include <QPair>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

// Letters with the weight they are drawn with, in the order of the unlocked
// letters. Built per exercise.
using LetterWeights = QList<QPair<QString, double>>;

// Makes the text of one exercise: a single line of about 150 characters.
// Stateless; every random choice is drawn from the generator passed in
// (production passes the system generator, tests a seeded one).
namespace Generator {

// The text of one exercise of `lesson`, by its kind: generated letters,
// capitals, ё or sentences with marks, or a prose passage.
[[nodiscard]] QString exercise(const Lesson &lesson, const ProfileData &profile,
                               QRandomGenerator &rng);

// The frequency of each unlocked letter, raised fourfold for the lesson's new
// keys and by the learner's error rate for keys typed at least ten times.
[[nodiscard]] LetterWeights letterWeights(const QStringList &unlocked, const QStringList &newKeys,
                                          const ProfileData &profile);
// One letter drawn in proportion to its weight; "а" from an empty list.
[[nodiscard]] QString weightedPick(const LetterWeights &weights, QRandomGenerator &rng);
// A pronounceable non-word of consonant-vowel syllables; never "ь" or "ъ".
[[nodiscard]] QString pseudoWord(const LetterWeights &weights, QRandomGenerator &rng);
// The common words of two or more letters typeable with the letters the
// lesson has unlocked, in list order.
[[nodiscard]] QStringList lessonWords(const Lesson &lesson);

[[nodiscard]] QString lettersExercise(const Lesson &lesson, const ProfileData &profile,
                                      QRandomGenerator &rng);
[[nodiscard]] QString capitalsExercise(QRandomGenerator &rng);
[[nodiscard]] QString yoExercise(QRandomGenerator &rng);
// One sentence of three to five common words using at most one of the inner
// marks (quotation wins) and ending in one of the end marks given.
[[nodiscard]] QString makeSentence(const QStringList &marks, QRandomGenerator &rng);
[[nodiscard]] QString punctuationExercise(const QStringList &marks, QRandomGenerator &rng);

} // namespace Generator
