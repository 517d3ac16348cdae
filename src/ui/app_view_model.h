// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app_state.h"

#include <QObject>
#include <QPointer>
#include <QQmlEngine>

// What the screens' view models share: the application they show, and a
// refresh whenever the profile changes.
class AppViewModel : public QObject
{
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(AppState *app READ app WRITE setApp NOTIFY appChanged)

public:
    explicit AppViewModel(QObject *parent = nullptr);

    [[nodiscard]] AppState *app() const { return m_app; }
    void setApp(AppState *app);

Q_SIGNALS:
    void appChanged();
    // Everything derived from the profile may have changed.
    void profileChanged();

protected:
    // The connections a model needs to the application besides the profile's
    // changes; made when the application is set, undone when it changes.
    virtual QList<QMetaObject::Connection> follow(AppState &app);
    // Called when the profile changes and when the application is set; the
    // default announces profileChanged().
    virtual void refresh();

private:
    QPointer<AppState> m_app;
    QList<QMetaObject::Connection> m_connections;
};
