// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "portal_file_chooser.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QUrl>
#include <QWindow>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString chooserInterface = QStringLiteral("org.freedesktop.portal.FileChooser");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");

// One rule of a filter: 0 and a glob pattern ("*.json"), or 1 and a MIME type.
struct FilterRule
{
    uint kind = 0;
    QString pattern;
};

// A named filter of the dialog, a(sa(us)) on the bus.
struct Filter
{
    QString name;
    QList<FilterRule> rules;
};

QDBusArgument &operator<<(QDBusArgument &arg, const FilterRule &rule)
{
    arg.beginStructure();
    arg << rule.kind << rule.pattern;
    arg.endStructure();
    return arg;
}

const QDBusArgument &operator>>(const QDBusArgument &arg, FilterRule &rule)
{
    arg.beginStructure();
    arg >> rule.kind >> rule.pattern;
    arg.endStructure();
    return arg;
}

QDBusArgument &operator<<(QDBusArgument &arg, const Filter &filter)
{
    arg.beginStructure();
    arg << filter.name << filter.rules;
    arg.endStructure();
    return arg;
}

const QDBusArgument &operator>>(const QDBusArgument &arg, Filter &filter)
{
    arg.beginStructure();
    arg >> filter.name >> filter.rules;
    arg.endStructure();
    return arg;
}

} // namespace

PortalFileChooser::PortalFileChooser(QDBusConnection bus, QObject *parent)
    : FileChooser(parent), m_bus(std::move(bus))
{
    qDBusRegisterMetaType<FilterRule>();
    qDBusRegisterMetaType<QList<FilterRule>>();
    qDBusRegisterMetaType<Filter>();
    qDBusRegisterMetaType<QList<Filter>>();
}

void PortalFileChooser::ask(const Request &request)
{
    stopListening();
    if (!m_bus.isConnected()) {
        Q_EMIT unavailable();
        return;
    }
    // The portal answers on a request object whose path it derives from our
    // name on the bus and this token. Listening there before the call means
    // an answer cannot arrive before we listen.
    const QString token = QStringLiteral("olvi%1").arg(++m_token);
    QString sender = m_bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    listen(portalPath + QStringLiteral("/request/") + sender + u'/' + token);

    QVariantMap options{
        {QStringLiteral("handle_token"), token},
        {QStringLiteral("modal"), true},
        {QStringLiteral("filters"), QVariant::fromValue(QList<Filter>{
                                         {request.wording.filterName, {{0, request.pattern}}}})},
    };
    if (request.save)
        options.insert(QStringLiteral("current_name"), request.suggestedName);
    // The dialog stays above Olvi's window where the desktop knows it by id.
    QString parentWindow;
    if (QGuiApplication::platformName() == u"xcb" && QGuiApplication::focusWindow())
        parentWindow = QStringLiteral("x11:%1").arg(QGuiApplication::focusWindow()->winId(), 0, 16);

    QDBusMessage call = QDBusMessage::createMethodCall(
        portalService, portalPath, chooserInterface,
        request.save ? QStringLiteral("SaveFile") : QStringLiteral("OpenFile"));
    call << parentWindow << request.wording.title << options;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    const QString asked = m_requestPath;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, asked](QDBusPendingCallWatcher *w) {
                w->deleteLater();
                if (asked != m_requestPath)
                    return; // replaced by a later request meanwhile
                const QDBusPendingReply<QDBusObjectPath> reply = *w;
                if (reply.isError()) {
                    stopListening();
                    Q_EMIT unavailable();
                } else if (reply.value().path() != asked) {
                    listen(reply.value().path()); // a portal older than request tokens
                }
            });
}

void PortalFileChooser::listen(const QString &requestPath)
{
    stopListening();
    m_requestPath = requestPath;
    m_bus.connect(portalService, m_requestPath, requestInterface, QStringLiteral("Response"), this,
                  SLOT(onResponse(uint, QVariantMap)));
}

void PortalFileChooser::stopListening()
{
    if (m_requestPath.isEmpty())
        return;
    m_bus.disconnect(portalService, m_requestPath, requestInterface, QStringLiteral("Response"),
                     this, SLOT(onResponse(uint, QVariantMap)));
    m_requestPath.clear();
}

void PortalFileChooser::onResponse(uint response, const QVariantMap &results)
{
    stopListening();
    const QStringList uris = results.value(QStringLiteral("uris")).toStringList();
    const QUrl url = uris.isEmpty() ? QUrl() : QUrl(uris.first());
    // 0 is a choice, 1 the user's cancel, 2 any other end of the dialog.
    if (response == 0 && url.isLocalFile())
        Q_EMIT chosen(url.toLocalFile());
    else
        Q_EMIT cancelled();
}
