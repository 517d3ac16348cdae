// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_view_model.h"

#include "app_state.h"

AppViewModel::AppViewModel(QObject *parent) : QObject(parent) {}

void AppViewModel::setApp(AppState *app)
{
    if (m_app == app)
        return;
    disconnect(m_profileConnection);
    m_app = app;
    if (m_app)
        m_profileConnection = connect(m_app, &AppState::profileChanged, this, [this] { refresh(); });
    Q_EMIT appChanged();
    refresh();
}

void AppViewModel::refresh()
{
    Q_EMIT profileChanged();
}
