// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "result_card.h"

#include "app_state.h"
#include "figure_text.h"

ResultCard::ResultCard(QObject *parent) : QObject(parent) {}

void ResultCard::setApp(AppState *app)
{
    if (m_app == app)
        return;
    for (const auto &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_app = app;
    if (m_app) {
        m_connections = {
            connect(m_app, &AppState::lastResultChanged, this, &ResultCard::resultChanged),
            connect(m_app, &AppState::activeLessonChanged, this, &ResultCard::refreshLessonCount),
            connect(m_app, &AppState::profileChanged, this, &ResultCard::refreshLessonCount),
        };
    }
    Q_EMIT appChanged();
    Q_EMIT resultChanged();
    refreshLessonCount();
}

void ResultCard::refreshLessonCount()
{
    const qint64 passes =
        m_app ? m_app->store()->data().exercisesPassed.value(m_app->activeLesson().id, 0) : 0;
    const QString text =
        QStringLiteral("%1 из %2").arg(passes).arg(ProfileData::passesToComplete);
    if (text != m_lessonCount) {
        m_lessonCount = text;
        Q_EMIT lessonCountChanged();
    }
}

bool ResultCard::shown() const
{
    return m_app && m_app->lastResult().has_value();
}

QString ResultCard::title() const
{
    if (!shown())
        return {};
    const ExerciseResult &r = *m_app->lastResult();
    if (r.lessonCompleted)
        return QStringLiteral("Урок пройден!");
    return r.passed ? QStringLiteral("Упражнение зачтено") : QStringLiteral("Почти получилось");
}

QString ResultCard::speed() const
{
    return shown() ? FigureText::whole(m_app->lastResult()->speed) : QString();
}

QString ResultCard::accuracy() const
{
    return shown() ? FigureText::percent(m_app->lastResult()->accuracy) : QString();
}

bool ResultCard::reminderShown() const
{
    return shown() && !m_app->lastResult()->passed;
}

QString ResultCard::reminder()
{
    return QStringLiteral("Для зачёта нужна точность не ниже ")
           + FigureText::percent(AppState::passAccuracy)
           + QStringLiteral(". Скорость придёт сама — сначала точность.");
}

QString ResultCard::primaryText() const
{
    if (shown() && m_app->lastResult()->lessonCompleted)
        return QStringLiteral("К следующему уроку");
    return QStringLiteral("Дальше (⏎)");
}
