// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "root_view_model.h"

#include "app_state.h"
#include "profile_statistics.h"
#include "theme.h"

RootViewModel::RootViewModel(QObject *parent) : QObject(parent) {}

void RootViewModel::setApp(AppState *app)
{
    if (m_app == app)
        return;
    disconnect(m_profileConnection);
    m_app = app;
    if (m_app) {
        m_profileConnection = connect(m_app, &AppState::profileChanged, this,
                                      &RootViewModel::profileChanged);
    }
    Q_EMIT appChanged();
    Q_EMIT profileChanged();
}

QStringList RootViewModel::tabTitles()
{
    QStringList titles;
    for (AppState::Tab tab : AppState::allTabs())
        titles << AppState::tabTitle(tab);
    return titles;
}

QStringList RootViewModel::appearanceTitles()
{
    return {QStringLiteral("Как в системе"), QStringLiteral("Светлая"), QStringLiteral("Тёмная")};
}

QString RootViewModel::streakText() const
{
    if (!m_app)
        return {};
    const int streak = ProfileStatistics::streak(m_app->store()->data(), now());
    return streak > 0 ? QString::number(streak) + QStringLiteral("-й день подряд") : QString();
}

int RootViewModel::appearanceIndex() const
{
    if (!m_app)
        return 0;
    return int(allAppearances().indexOf(
        m_app->store()->data().appearance.value_or(Appearance::system)));
}

void RootViewModel::switchTo(int tab)
{
    if (!m_app || tab < 0 || tab >= AppState::allTabs().size())
        return;
    const auto chosen = AppState::Tab(tab);
    if (chosen == AppState::Tab::Training && m_app->engine()->text().isEmpty()) {
        m_app->startTraining();
        return;
    }
    m_app->setTab(chosen);
}

void RootViewModel::chooseAppearance(int index)
{
    const QList<Appearance> all = allAppearances();
    if (!m_app || index < 0 || index >= all.size())
        return;
    const Appearance chosen = all.at(index);
    m_app->store()->update([chosen](ProfileData &d) { d.appearance = chosen; });
    m_app->store()->save();
    applyAppearance();
}

void RootViewModel::applyAppearance()
{
    if (m_app)
        Theme::instance()->setAppearance(m_app->store()->data().appearance);
}
