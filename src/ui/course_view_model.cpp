// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "course_view_model.h"

#include "app_state.h"
#include "russian_plural.h"

#include <algorithm>

CourseViewModel::CourseViewModel(QObject *parent) : AppViewModel(parent) {}

StageRow CourseViewModel::row(const Stage &stage, const QSet<qint64> &done, const Lesson &current)
{
    StageRow r;
    r.title = stage.title;
    r.subtitle = stage.subtitle;
    const auto isDone = [&done](const Lesson &l) { return done.contains(l.id); };
    const auto isProse = [](const Lesson &l) { return l.kind == LessonKind::prose; };
    r.doneCount = std::count_if(stage.lessons.cbegin(), stage.lessons.cend(), isDone);
    r.current = std::any_of(stage.lessons.cbegin(), stage.lessons.cend(),
                            [&current](const Lesson &l) { return l.id == current.id; });
    // A prose stage has no end: it is never done however often it is passed.
    r.done = r.doneCount == stage.lessons.size()
             && std::none_of(stage.lessons.cbegin(), stage.lessons.cend(), isProse);
    r.icon = r.done ? StageIcon::Done : r.current ? StageIcon::Current : StageIcon::Idle;

    const qint64 count = stage.lessons.size();
    if (!stage.lessons.isEmpty() && isProse(stage.lessons.first()))
        r.label = QStringLiteral("без предела");
    else if (r.done)
        r.label = QStringLiteral("пройден");
    else if (r.current)
        r.label = QStringLiteral("урок %1 из %2")
                      .arg(current.id - stage.lessons.first().id + 1)
                      .arg(count);
    else
        r.label = RussianPlural::counted(count, RussianPlural::lesson);
    return r;
}

QList<StageRow> CourseViewModel::rows(const ProfileData &profile)
{
    const QSet<qint64> done = profile.completedLessons();
    const Lesson current = Course::lesson(profile.currentLessonID);
    QList<StageRow> result;
    for (const Stage &stage : Course::stages())
        result.append(row(stage, done, current));
    return result;
}

std::optional<Lesson> CourseViewModel::lessonToStart(const Stage &stage, const QSet<qint64> &done)
{
    if (stage.lessons.isEmpty())
        return std::nullopt;
    for (const Lesson &lesson : stage.lessons) {
        if (!done.contains(lesson.id))
            return lesson;
    }
    return stage.lessons.first();
}

QString CourseViewModel::continueText() const
{
    const qint64 id = app() ? Course::lesson(app()->store()->data().currentLessonID).id : 1;
    return QStringLiteral("Продолжить — урок %1").arg(id);
}

void CourseViewModel::refresh()
{
    m_stages.setItems(app() ? rows(app()->store()->data()) : QList<StageRow>{});
    AppViewModel::refresh();
}

void CourseViewModel::continueCourse()
{
    if (app())
        app()->startTraining();
}

void CourseViewModel::openStage(int index)
{
    const QList<Stage> &all = Course::stages();
    if (!app() || index < 0 || index >= all.size())
        return;
    if (const auto lesson = lessonToStart(all.at(index), app()->store()->data().completedLessons()))
        app()->startTraining(*lesson);
}
