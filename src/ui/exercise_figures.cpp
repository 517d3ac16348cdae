// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise_figures.h"

#include "app_state.h"
#include "figure_text.h"

ExerciseFigures::ExerciseFigures(QObject *parent) : AppViewModel(parent) {}

QList<QMetaObject::Connection> ExerciseFigures::follow(AppState &app)
{
    return {connect(app.engine(), &SessionEngine::statisticsChanged, this, [this] {
        if (m_pacer)
            m_pacer->later(this, [this] { refreshFigures(); });
        else
            refreshFigures();
    })};
}

void ExerciseFigures::setPacer(FramePacer *pacer)
{
    if (pacer == m_pacer)
        return;
    m_pacer = pacer;
    Q_EMIT pacerChanged();
}

void ExerciseFigures::refresh()
{
    refreshFigures();
    const bool on = !app() || app()->store()->data().soundOn;
    if (on != m_soundOn) {
        m_soundOn = on;
        Q_EMIT soundOnChanged();
    }
}

void ExerciseFigures::refreshFigures()
{
    const SessionEngine *e = app() ? app()->engine() : nullptr;
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

QString ExerciseFigures::progressText() const
{
    return QStringLiteral("урок на %1 %").arg(FigureText::whole(m_progress * 100.0));
}
