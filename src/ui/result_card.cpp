// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "result_card.h"

#include "app_state.h"
#include "drill_text.h"
#include "figure_text.h"
#include "speech_text.h"

#include <cmath>

ResultCard::ResultCard(QObject *parent) : AppViewModel(parent) {}

QList<QMetaObject::Connection> ResultCard::follow(AppState &app)
{
    return {
        connect(&app, &AppState::lastResultChanged, this, &ResultCard::resultChanged),
        connect(&app, &AppState::activeLessonChanged, this, &ResultCard::refresh),
    };
}

void ResultCard::refresh()
{
    Q_EMIT resultChanged();
    const qint64 passes =
        app() ? app()->store()->data().exercisesPassed.value(app()->activeLesson().id, 0) : 0;
    const QString text =
        QStringLiteral("%1 из %2").arg(passes).arg(ProfileData::passesToComplete);
    if (text != m_lessonCount) {
        m_lessonCount = text;
        Q_EMIT lessonCountChanged();
    }
}

bool ResultCard::shown() const
{
    return app() && app()->lastResult().has_value();
}

bool ResultCard::afterDrill() const
{
    return shown() && app()->drillMode();
}

bool ResultCard::lessonCountShown() const
{
    return !afterDrill();
}

QStringList ResultCard::keyLines() const
{
    QStringList lines;
    if (afterDrill()) {
        for (const Drill::KeyOutcome &o : app()->lastResult()->drillOutcomes)
            lines.append(DrillText::outcome(o));
    }
    return lines;
}

QString ResultCard::consolidateText() const
{
    if (!shown() || app()->lastResult()->consolidate.isEmpty())
        return {};
    return DrillText::offer(app()->lastResult()->consolidate);
}

QString ResultCard::title() const
{
    if (!shown())
        return {};
    if (afterDrill())
        return DrillText::title(app()->drillKind(), app()->drillKeys());
    const ExerciseResult &r = *app()->lastResult();
    if (r.lessonCompleted)
        return QStringLiteral("Урок пройден!");
    return r.passed ? QStringLiteral("Упражнение зачтено") : QStringLiteral("Почти получилось");
}

QString ResultCard::speed() const
{
    return shown() ? FigureText::whole(app()->lastResult()->speed) : QString();
}

QString ResultCard::accuracy() const
{
    return shown() ? FigureText::percent(app()->lastResult()->accuracy) : QString();
}

bool ResultCard::reminderShown() const
{
    // A drill has no pass to fall short of.
    return shown() && !afterDrill() && !app()->lastResult()->passed;
}

QString ResultCard::reminder()
{
    return QStringLiteral("Для зачёта нужна точность не ниже ")
           + FigureText::percent(AppState::passAccuracy)
           + QStringLiteral(". Скорость придёт сама — сначала точность.");
}

QString ResultCard::primaryText() const
{
    if (shown() && app()->lastResult()->lessonCompleted)
        return QStringLiteral("К следующему уроку");
    if (afterDrill())
        return QStringLiteral("Ещё раз");
    return QStringLiteral("Дальше (⏎)");
}

QString ResultCard::primaryName() const
{
    QString name = primaryText();
    name.remove(QStringLiteral(" (⏎)"));
    return name;
}

QString ResultCard::spoken() const
{
    if (!shown())
        return {};
    // Rounded as the card writes it: half away from zero.
    const qint64 speed = std::llround(app()->lastResult()->speed);
    return SpeechText::result(title(), speed, accuracy(), lessonCount());
}
