// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app_state.h"
#include "app_view_model.h"
#include "course.h"
#include "profile_data.h"

#include <QObject>
#include <QQmlEngine>
#include <QSet>
#include <QVariantList>

#include <optional>

// How a stage's round icon is drawn.
enum class StageIcon {
    done,    // filled green with a tick
    current, // accent ring
    idle,    // ghost ring
};

// One row of the stage list, as shown.
struct StageRow
{
    QString title;
    QString subtitle;
    QString label; // "урок 3 из 7", "пройден", "без предела", "6 уроков"
    qint64 doneCount = 0;
    bool current = false; // holds the current lesson
    bool done = false;    // every lesson done, and no prose lesson
    StageIcon icon = StageIcon::idle;

    friend bool operator==(const StageRow &, const StageRow &) = default;
};

// The course tab: the continue button and the list of stages with their
// progress, from the profile's current lesson and passed exercises.
class CourseViewModel : public AppViewModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString continueText READ continueText NOTIFY profileChanged)
    // One map per stage: title, subtitle, label, current, done, icon
    // ("done", "current" or "idle").
    Q_PROPERTY(QVariantList stages READ stages NOTIFY profileChanged)

public:
    explicit CourseViewModel(QObject *parent = nullptr);


    [[nodiscard]] QString continueText() const;
    [[nodiscard]] QVariantList stages() const;

    // Starts the current lesson.
    Q_INVOKABLE void continueCourse();
    // Starts the stage's first lesson not yet done (its first when all are).
    Q_INVOKABLE void openStage(int index);

    [[nodiscard]] static QList<StageRow> rows(const ProfileData &profile);
    [[nodiscard]] static StageRow row(const Stage &stage, const QSet<qint64> &done,
                                      const Lesson &current);
    // The lesson a click on the stage starts; none for a stage without lessons.
    [[nodiscard]] static std::optional<Lesson> lessonToStart(const Stage &stage,
                                                             const QSet<qint64> &done);

private:
};
