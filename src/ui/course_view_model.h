// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app_state.h"
#include "app_view_model.h"
#include "course.h"
#include "gadget_list_model.h"
#include "profile_data.h"

#include <QObject>
#include <QQmlEngine>
#include <QSet>

#include <optional>

// How a stage's round icon is drawn.
namespace StageIcon {
Q_NAMESPACE
QML_ELEMENT
enum Kind {
    Done,    // filled with a tick
    Current, // accent ring
    Idle,    // ghost ring
};
Q_ENUM_NS(Kind)
} // namespace StageIcon

// One row of the stage list, as shown.
struct StageRow
{
    Q_GADGET
    Q_PROPERTY(QString title MEMBER title)
    Q_PROPERTY(QString subtitle MEMBER subtitle)
    Q_PROPERTY(QString label MEMBER label)
    Q_PROPERTY(bool current MEMBER current)
    Q_PROPERTY(bool done MEMBER done)
    Q_PROPERTY(StageIcon::Kind mark MEMBER icon) // "icon" would hide a button's own

public:
    QString title;
    QString subtitle;
    QString label; // "урок 3 из 7", "пройден", "без предела", "6 уроков", "3 урока"
    qint64 doneCount = 0;
    bool current = false; // holds the current lesson
    bool done = false;    // every lesson done, and no prose lesson
    StageIcon::Kind icon = StageIcon::Idle;

    friend bool operator==(const StageRow &, const StageRow &) = default;
};

// The course tab: the continue button and the list of stages with their
// progress, from the profile's current lesson and passed exercises.
class CourseViewModel : public AppViewModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString continueText READ continueText NOTIFY profileChanged)
    // The stages as StageRow, their fields as roles.
    Q_PROPERTY(QAbstractListModel *stages READ stages CONSTANT)

public:
    explicit CourseViewModel(QObject *parent = nullptr);

    [[nodiscard]] QString continueText() const;
    [[nodiscard]] QAbstractListModel *stages() { return &m_stages; }

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
    void refresh() override;

    GadgetListModel m_stages{StageRow::staticMetaObject};
};
