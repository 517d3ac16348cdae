// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise_figures.h"

#include "app_state.h"
#include "figure_text.h"

ExerciseFigures::ExerciseFigures(QObject *parent) : QObject(parent) {}

void ExerciseFigures::setApp(AppState *app)
{
    if (m_app == app)
        return;
    for (const auto &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_app = app;
    if (m_app) {
        m_connections = {
            connect(m_app->engine(), &SessionEngine::statisticsChanged, this,
                    &ExerciseFigures::refresh),
            connect(m_app, &AppState::profileChanged, this, &ExerciseFigures::refreshSound),
        };
    }
    Q_EMIT appChanged();
    refresh();
    refreshSound();
}

void ExerciseFigures::refresh()
{
    const SessionEngine *e = m_app ? m_app->engine() : nullptr;
    const QString speed = FigureText::whole(e ? e->speed() : 0.0);
    const QString accuracy = FigureText::percent(e ? e->accuracy() : 1.0);
    const double progress = e ? e->progress() : 0.0;
    if (speed != m_speed) {
        m_speed = speed;
        Q_EMIT speedChanged();
    }
    if (accuracy != m_accuracy) {
        m_accuracy = accuracy;
        Q_EMIT accuracyChanged();
    }
    if (progress != m_progress) {
        m_progress = progress;
        Q_EMIT progressChanged();
    }
}

void ExerciseFigures::refreshSound()
{
    const bool on = !m_app || m_app->store()->data().soundOn;
    if (on != m_soundOn) {
        m_soundOn = on;
        Q_EMIT soundOnChanged();
    }
}

QString ExerciseFigures::progressText() const
{
    return QStringLiteral("урок на %1 %").arg(FigureText::whole(m_progress * 100.0));
}
