// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_view_model.h"

#include "app_state.h"

AppViewModel::AppViewModel(QObject *parent) : QObject(parent) {}

void AppViewModel::setApp(AppState *app)
{
    if (m_app == app)
        return;
    for (const auto &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_app = app;
    if (m_app) {
        m_connections = follow(*m_app);
        m_connections.append(
            connect(m_app, &AppState::profileChanged, this, [this] { refresh(); }));
    }
    Q_EMIT appChanged();
    refresh();
}

QList<QMetaObject::Connection> AppViewModel::follow(AppState &)
{
    return {};
}

void AppViewModel::refresh()
{
    Q_EMIT profileChanged();
}
