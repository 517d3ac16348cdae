// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "file_chooser.h"

#include <QDBusConnection>
#include <QVariantMap>

// The desktop's own file dialog through the freedesktop file-chooser portal,
// which also works inside a sandbox and looks like the rest of the desktop.
// Without a session bus, or when the portal does not answer the call, it
// reports unavailable().
class PortalFileChooser : public FileChooser
{
    Q_OBJECT

public:
    explicit PortalFileChooser(QDBusConnection bus = QDBusConnection::sessionBus(),
                               QObject *parent = nullptr);

    void ask(const Request &request) override;

private Q_SLOTS:
    void onResponse(uint response, const QVariantMap &results);

private:
    void listen(const QString &requestPath);
    void stopListening();

    QDBusConnection m_bus;
    QString m_requestPath; // the open request whose answer counts
    int m_token = 0;
};
