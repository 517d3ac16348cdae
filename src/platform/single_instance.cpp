// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "single_instance.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace {

const QString applicationInterface = QStringLiteral("org.freedesktop.Application");
const QString activationToken = QStringLiteral("activation-token");
const QString startupId = QStringLiteral("desktop-startup-id");

} // namespace

SingleInstance::SingleInstance(QDBusConnection bus, QObject *parent)
    : QObject(parent), m_bus(std::move(bus))
{
}

bool SingleInstance::claim()
{
    if (!m_bus.isConnected())
        return true;
    // The object first: a second launch may call it the moment the name is ours.
    if (!m_bus.registerObject(QString::fromLatin1(objectPath), this,
                              QDBusConnection::ExportScriptableSlots))
        return true;
    QDBusConnectionInterface *names = m_bus.interface();
    if (!names)
        return true;
    const auto reply = names->registerService(QString::fromLatin1(serviceName),
                                              QDBusConnectionInterface::DontQueueService,
                                              QDBusConnectionInterface::DontAllowReplacement);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceNotRegistered) {
        m_bus.unregisterObject(QString::fromLatin1(objectPath));
        return false;
    }
    // Registered, or the bus would not say: run, and let the lock decide.
    return true;
}

QDBusPendingCall SingleInstance::activateRunning() const
{
    QVariantMap platformData;
    const QString token = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
    if (!token.isEmpty())
        platformData.insert(activationToken, token);
    const QString startup = qEnvironmentVariable("DESKTOP_STARTUP_ID");
    if (!startup.isEmpty())
        platformData.insert(startupId, startup);
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(serviceName),
                                                       QString::fromLatin1(objectPath),
                                                       applicationInterface,
                                                       QStringLiteral("Activate"));
    call << platformData;
    return m_bus.asyncCall(call);
}

void SingleInstance::Activate(const QVariantMap &platformData)
{
    QString token = platformData.value(activationToken).toString();
    if (token.isEmpty())
        token = platformData.value(startupId).toString();
    Q_EMIT activated(token);
}
