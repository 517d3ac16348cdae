// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "plasma_input_source_provider.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>

#include <limits>

namespace {

const QString service = QString::fromLatin1(PlasmaInputSourceProvider::serviceName);
const QString objectPath = QStringLiteral("/Layouts");
const QString layoutsInterface = QStringLiteral("org.kde.KeyboardLayouts");

QDBusMessage methodCall(const QString &method)
{
    return QDBusMessage::createMethodCall(service, objectPath, layoutsInterface, method);
}

// getLayoutsList() answers one (code, label the user chose, long name) per
// layout. Anything else comes from a Plasma that speaks another version of the
// interface: then nothing is known.
std::optional<QList<InputSource>> layoutsFrom(const QVariantList &reply)
{
    if (reply.size() != 1 || reply.first().userType() != qMetaTypeId<QDBusArgument>())
        return std::nullopt;
    const auto list = reply.first().value<QDBusArgument>();
    if (list.currentSignature() != u"a(sss)")
        return std::nullopt;
    QList<InputSource> sources;
    list.beginArray();
    while (!list.atEnd()) {
        QString code;
        QString label;
        QString name;
        list.beginStructure();
        list >> code >> label >> name;
        list.endStructure();
        sources.append(InputSource{name, std::nullopt, code});
    }
    list.endArray();
    return sources;
}

std::optional<qsizetype> indexFrom(const QVariantList &reply)
{
    if (reply.size() != 1 || reply.first().userType() != QMetaType::UInt)
        return std::nullopt;
    return qsizetype(reply.first().toUInt());
}

} // namespace

template<typename Handler>
void PlasmaInputSourceProvider::ask(const QString &method, Handler onReply)
{
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(methodCall(method)), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [onReply](QDBusPendingCallWatcher *w) {
                w->deleteLater();
                const QDBusMessage reply = w->reply();
                if (reply.type() == QDBusMessage::ReplyMessage)
                    onReply(reply.arguments());
            });
}

// Whatever Olvi learns of the layouts may have made the current one
// non-Russian (or a Russian one selectable), so every change is announced.
template<typename T>
void PlasmaInputSourceProvider::learn(std::optional<T> &known, std::optional<T> value)
{
    if (known == value)
        return;
    known = std::move(value);
    Q_EMIT currentSourceChanged();
}

PlasmaInputSourceProvider::PlasmaInputSourceProvider(QDBusConnection bus, QObject *parent)
    : InputSourceProvider(parent), m_bus(std::move(bus))
{
    m_bus.connect(service, objectPath, layoutsInterface, QStringLiteral("layoutChanged"), this,
                  SLOT(onLayoutChanged(uint)));
    m_bus.connect(service, objectPath, layoutsInterface, QStringLiteral("layoutListChanged"), this,
                  SLOT(refresh()));
    refresh();
}

bool PlasmaInputSourceProvider::isAvailable(const QDBusConnection &bus)
{
    const QDBusConnectionInterface *daemon = bus.interface();
    return daemon && daemon->isServiceRegistered(service).value();
}

std::optional<QList<InputSource>> PlasmaInputSourceProvider::enabledSources() const
{
    return m_sources;
}

std::optional<qsizetype> PlasmaInputSourceProvider::currentIndex() const
{
    return m_current;
}

void PlasmaInputSourceProvider::select(qsizetype index)
{
    if (index < 0 || index > std::numeric_limits<uint>::max())
        return;
    // Plasma's answer (whether it switched) is not needed: a switch is
    // announced by layoutChanged, and a refusal leaves nothing to do.
    QDBusMessage call = methodCall(QStringLiteral("setLayout"));
    call << uint(index);
    m_bus.send(call);
}

void PlasmaInputSourceProvider::settle()
{
    m_bus.call(methodCall(QStringLiteral("getLayout")), QDBus::Block, 500);
}

void PlasmaInputSourceProvider::onLayoutChanged(uint index)
{
    learn(m_current, std::optional<qsizetype>(index));
}

void PlasmaInputSourceProvider::refresh()
{
    ask(QStringLiteral("getLayoutsList"),
        [this](const QVariantList &reply) { learn(m_sources, layoutsFrom(reply)); });
    ask(QStringLiteral("getLayout"),
        [this](const QVariantList &reply) { learn(m_current, indexFrom(reply)); });
}
