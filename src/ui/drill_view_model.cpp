// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "drill_view_model.h"

#include "app_state.h"
#include "drill.h"
#include "drill_text.h"

DrillViewModel::DrillViewModel(QObject *parent) : AppViewModel(parent) {}

void DrillViewModel::refresh()
{
    const ProfileData empty;
    const ProfileData &profile = app() ? app()->store()->data() : empty;
    const auto set = [this](auto &field, const auto &value, void (DrillViewModel::*changed)()) {
        if (field == value)
            return;
        field = value;
        Q_EMIT(this->*changed)();
    };
    const QDate today = app() ? app()->today() : QDate();
    m_focus = Drill::focusKeys(profile, today);
    set(m_offered, Drill::offered(profile), &DrillViewModel::offeredChanged);
    set(m_buttonText, DrillText::title(AppState::DrillKind::Focus, m_focus),
        &DrillViewModel::buttonTextChanged);
    const QStringList needed = Drill::needed(profile, today);
    if (needed != m_needed) {
        m_needed = needed;
        m_neededText = needed.isEmpty() ? QString()
                                        : DrillText::title(AppState::DrillKind::Focus, needed);
        Q_EMIT neededChanged();
    }
    set(m_pickable, Drill::drillable(profile), &DrillViewModel::pickableChanged);
    AppViewModel::refresh();
}

void DrillViewModel::start()
{
    if (app())
        app()->startDrill(m_focus);
}

void DrillViewModel::startNeeded()
{
    if (app() && !m_needed.isEmpty())
        app()->startDrill(m_needed);
}

void DrillViewModel::startKey(const QString &key)
{
    if (app())
        app()->startDrill({key});
}
