// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QObject>
#include <QString>
#include <QVariantMap>

// One Olvi per desktop session. Two copies would each hold the profile in
// memory and overwrite each other's progress, so a second launch hands over
// to the first and quits, as desktop users expect of a single-window app.
//
// The first copy owns the application's name on the session bus and answers
// org.freedesktop.Application.Activate; the second finds the name taken and
// calls Activate instead. Without a session bus every copy runs, and the
// profile store's lock keeps the profile single-writer.
class SingleInstance : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    static constexpr auto serviceName = "org.olvi.Olvi";
    static constexpr auto objectPath = "/org/olvi/Olvi";

    explicit SingleInstance(QDBusConnection bus = QDBusConnection::sessionBus(),
                            QObject *parent = nullptr);

    // Whether this copy should run: it now owns the name, or there is no bus
    // to ask. False only when another copy answers for the name.
    [[nodiscard]] bool claim();

    // Asks the copy that owns the name to show its window, passing on this
    // launch's activation token so that the desktop lets it take the focus.
    [[nodiscard]] QDBusPendingCall activateRunning() const;

public Q_SLOTS:
    // org.freedesktop.Application; the other two methods are not offered.
    Q_SCRIPTABLE void Activate(const QVariantMap &platformData);

Q_SIGNALS:
    // Another launch asked for the window; `token` is its activation token
    // (Wayland's xdg-activation or X11's startup id), possibly empty.
    void activated(const QString &token);

private:
    QDBusConnection m_bus;
};
