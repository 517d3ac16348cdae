// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "system_input_sources.h"

#include "null_input_source_provider.h"
#include "plasma_input_source_provider.h"
#include "xkb_input_source_provider.h"

SystemInputSources::SystemInputSources(const QDBusConnection &bus, QStringView platformName,
                                       QObject *parent)
    : InputSourceProvider(parent),
      m_bus(bus),
      m_x11(platformName == u"xcb"),
      m_watcher(QString::fromLatin1(PlasmaInputSourceProvider::serviceName), m_bus,
                QDBusServiceWatcher::WatchForRegistration
                    | QDBusServiceWatcher::WatchForUnregistration)
{
    connect(&m_watcher, &QDBusServiceWatcher::serviceRegistered, this, [this] { use(true); });
    connect(&m_watcher, &QDBusServiceWatcher::serviceUnregistered, this, [this] { use(false); });
    use(PlasmaInputSourceProvider::isAvailable(m_bus));
}

SystemInputSources::~SystemInputSources() = default;

void SystemInputSources::use(bool plasma)
{
    if (m_backend && plasma == m_plasma)
        return;
    m_plasma = plasma;
    if (plasma) {
        m_backend = std::make_unique<PlasmaInputSourceProvider>(m_bus);
    } else {
        std::unique_ptr<XkbInputSourceProvider> xkb;
        if (m_x11)
            xkb = std::make_unique<XkbInputSourceProvider>();
        if (xkb && xkb->isConnected())
            m_backend = std::move(xkb);
        else
            m_backend = std::make_unique<NullInputSourceProvider>();
    }
    connect(m_backend.get(), &InputSourceProvider::currentSourceChanged, this,
            &InputSourceProvider::currentSourceChanged);
    Q_EMIT currentSourceChanged();
}

std::optional<QList<InputSource>> SystemInputSources::enabledSources() const
{
    return m_backend->enabledSources();
}

std::optional<qsizetype> SystemInputSources::currentIndex() const
{
    return m_backend->currentIndex();
}

void SystemInputSources::select(qsizetype index)
{
    m_backend->select(index);
}

void SystemInputSources::settle()
{
    m_backend->settle();
}
