// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// The built-in vocabulary the exercises are made from. Built once on first use
// (thread-safe) and never changed. Entries are drawn by position, so an entry
// listed twice is drawn twice as often; nothing is ever deduplicated.
namespace Words {

// 476 lowercase words, spelled without "ё".
[[nodiscard]] const QStringList &common();
// 29 capitalised single words: names, places and the prose lesson's writers.
[[nodiscard]] const QStringList &properNames();
// 43 lowercase words that contain "ё".
[[nodiscard]] const QStringList &yoWords();
// The 33 lowercase letters with their frequency in Russian text, in the
// order of the reference table (most frequent first, "ё" last).
[[nodiscard]] const QList<QPair<QString, double>> &letterFrequency();
// The frequency of one lowercase letter; none for anything else.
[[nodiscard]] std::optional<double> frequency(QStringView letter);

} // namespace Words
