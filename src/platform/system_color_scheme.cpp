// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "system_color_scheme.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QPalette>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearanceNamespace = QStringLiteral("org.freedesktop.appearance");
const QString colorSchemeKey = QStringLiteral("color-scheme");

// Read() wraps the value in one variant more than ReadOne() does; unwrap both.
uint unwrap(QVariant v)
{
    while (v.canConvert<QDBusVariant>() && v.userType() == qMetaTypeId<QDBusVariant>())
        v = v.value<QDBusVariant>().variant();
    return v.toUInt();
}

} // namespace

SystemColorScheme::SystemColorScheme(QObject *parent) : QObject(parent)
{
    m_dark = paletteIsDark();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    // QtDBus finds the slot's parameter types by name; QDBusVariant has none
    // until it is registered.
    qRegisterMetaType<QDBusVariant>();
    bus.connect(portalService, portalPath, settingsInterface, QStringLiteral("SettingChanged"),
                this, SLOT(onSettingChanged(QString, QString, QDBusVariant)));
    // Asked without waiting: start-up never stalls on a slow or absent portal.
    QDBusMessage read = QDBusMessage::createMethodCall(portalService, portalPath,
                                                       settingsInterface, QStringLiteral("Read"));
    read << appearanceNamespace << colorSchemeKey;
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(read), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher *w) {
                const QDBusPendingReply<QVariant> reply = *w;
                if (!reply.isError())
                    setPortalPreference(darkFromPortalValue(unwrap(reply.value())));
                w->deleteLater();
            });
}

bool SystemColorScheme::dark() const
{
    return m_dark;
}

std::optional<bool> SystemColorScheme::darkFromPortalValue(uint value)
{
    if (value == 1)
        return true;
    if (value == 2)
        return false;
    return std::nullopt;
}

void SystemColorScheme::onSettingChanged(const QString &nameSpace, const QString &key,
                                         const QDBusVariant &value)
{
    if (nameSpace == appearanceNamespace && key == colorSchemeKey)
        setPortalPreference(darkFromPortalValue(unwrap(value.variant())));
}

void SystemColorScheme::setPortalPreference(std::optional<bool> dark)
{
    m_portal = dark;
    refresh();
}

void SystemColorScheme::refresh()
{
    const bool dark = m_portal.value_or(paletteIsDark());
    if (dark == m_dark)
        return;
    m_dark = dark;
    Q_EMIT darkChanged();
}

bool SystemColorScheme::paletteIsDark()
{
    if (!qGuiApp)
        return false;
    return QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
}
