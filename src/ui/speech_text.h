// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "speech_output.h"

#include <QString>
#include <QStringList>

// What Olvi says aloud, and what it tells a screen reader, while an exercise
// is typed. A listener cannot see the difference between е and ё or ш and щ,
// so single characters are spoken by their names, which never sound alike.
namespace SpeechText {

// "а", "и краткое", "твёрдый знак", "заглавная эм", "запятая", "пробел"; a
// vowel with a stress mark is named as the plain vowel its key types.
[[nodiscard]] QString name(const QString &character);
// A word as read to the learner: its letters as a word, with a capital first
// letter said, and every other character by its name: "с заглавной Ёлка,
// запятая".
[[nodiscard]] QString word(const QStringList &characters);
// Character by character: "к, о, тэ, запятая".
[[nodiscard]] QString spelled(const QStringList &characters);

// At the start of an exercise: its caption, then the first word.
[[nodiscard]] QString start(const QString &caption, const QString &firstWord);
// A wrong key, in one short word.
[[nodiscard]] QString wrongKey();
// The result card read out: the verdict, then the three figures.
[[nodiscard]] QString result(const QString &title, qint64 speed, const QString &accuracy,
                             const QString &lessonCount);
// Said when the learner turns speech on.
[[nodiscard]] QString speechTurnedOn();

// The menu item that turns speech on or off ("Озвучивание"), or says why it cannot.
[[nodiscard]] QString menuTitle(SpeechOutput::Availability availability);

} // namespace SpeechText
