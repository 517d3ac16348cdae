// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "drill_view_model.h"

#include "app_state.h"
#include "drill.h"

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
    m_focus = Drill::focusKeys(profile);
    set(m_offered, Drill::offered(profile), &DrillViewModel::offeredChanged);
    set(m_buttonText, Drill::title(m_focus), &DrillViewModel::buttonTextChanged);
    set(m_pickable, Drill::drillable(profile), &DrillViewModel::pickableChanged);
    AppViewModel::refresh();
}

void DrillViewModel::start()
{
    if (app())
        app()->startDrill(m_focus);
}

void DrillViewModel::startKey(const QString &key)
{
    if (app())
        app()->startDrill({key});
}
