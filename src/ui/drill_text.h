// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app_state.h"
#include "drill.h"

#include <QString>
#include <QStringList>

// What the screens say of drills: their titles, the offer after a lesson,
// and how each key went.
namespace DrillText {

// A drill key as the learner reads it: the letter; a mark by its name
// ("запятая", "тире", "кавычки"); "шифт" for Shift.
[[nodiscard]] QString keyName(const QString &key);
// "Работа над ошибками: ж, э, ф"; "Закрепление: ф, ж" for a lesson's keys.
[[nodiscard]] QString title(AppState::DrillKind kind, const QStringList &keys);
// "Закрепить: ф, ж".
[[nodiscard]] QString offer(const QStringList &keys);
// "Ж — точность 92,0 % (25 нажатий), до тренировки 85,0 %": the accuracy in
// the drill against the key's last outcomes before it ("впервые" without any).
[[nodiscard]] QString outcome(const Drill::KeyOutcome &outcome);

} // namespace DrillText
