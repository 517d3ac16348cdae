// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// Which kind of exercise text a lesson gets.
enum class LessonKind { letters, capitals, yo, punctuation, prose };

struct Lesson
{
    qint64 id = 0;         // 1…28, consecutive in course order
    qint64 stageIndex = 0; // position of its stage in Course::stages()
    QString title;
    QStringList newKeys; // in teaching order; may hold marks (lesson 23)
    LessonKind kind = LessonKind::letters;
    QStringList marks; // the marks a punctuation lesson's sentences use

    friend bool operator==(const Lesson &, const Lesson &) = default;
};

struct Stage
{
    qint64 id = 0; // equals its position in Course::stages()
    QString title;
    QString subtitle;
    QList<Lesson> lessons;

    friend bool operator==(const Stage &, const Stage &) = default;
};

// The fixed course: six stages, 28 lessons. Built once on first use
// (thread-safe) and never changed.
namespace Course {

[[nodiscard]] const QList<Stage> &stages();
// Every lesson of every stage, in course order: ids 1…28.
[[nodiscard]] const QList<Lesson> &lessons();
// The lesson with this id; lesson 1 when there is none, so a stale stored id
// falls back to the start of the course.
[[nodiscard]] Lesson lesson(qint64 id);
// The letters introduced by lessons 1…upTo, in teaching order (marks dropped).
[[nodiscard]] QStringList unlockedLetters(qint64 upTo);

} // namespace Course
