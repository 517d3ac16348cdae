// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "xkb_input_source_provider.h"

#include <QSocketNotifier>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

XkbInputSourceProvider::XkbInputSourceProvider(const char *displayName, QObject *parent)
    : InputSourceProvider(parent)
{
    int errorBase = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    int reason = 0;
    m_display = XkbOpenDisplay(displayName, &m_xkbEventBase, &errorBase, &major, &minor, &reason);
    if (!m_display)
        return;
    XkbSelectEventDetails(m_display, XkbUseCoreKbd, XkbStateNotify, XkbGroupStateMask,
                          XkbGroupStateMask);
    XFlush(m_display);
    m_notifier = std::make_unique<QSocketNotifier>(ConnectionNumber(m_display),
                                                   QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this,
            &XkbInputSourceProvider::readEvents);
}

// A reply may bring events along; Xlib queues them without the socket ever
// becoming readable again, so look at the queue once control returns.
void XkbInputSourceProvider::drainLater() const
{
    if (XEventsQueued(m_display, QueuedAlready) > 0) {
        auto *self = const_cast<XkbInputSourceProvider *>(this);
        QMetaObject::invokeMethod(self, &XkbInputSourceProvider::readEvents, Qt::QueuedConnection);
    }
}

XkbInputSourceProvider::~XkbInputSourceProvider()
{
    m_notifier.reset();
    if (m_display)
        XCloseDisplay(m_display);
}

void XkbInputSourceProvider::readEvents()
{
    bool groupChanged = false;
    // Xlib may already hold events read along with a reply, so drain the queue.
    while (XPending(m_display) > 0) {
        XEvent event;
        XNextEvent(m_display, &event);
        if (event.type != m_xkbEventBase + XkbEventCode)
            continue;
        const auto *xkb = reinterpret_cast<const XkbAnyEvent *>(&event);
        if (xkb->xkb_type != XkbStateNotify)
            continue;
        const auto *state = reinterpret_cast<const XkbStateNotifyEvent *>(&event);
        if (state->changed & XkbGroupStateMask)
            groupChanged = true;
    }
    if (groupChanged)
        Q_EMIT currentSourceChanged();
}

std::optional<QList<InputSource>> XkbInputSourceProvider::enabledSources() const
{
    if (!m_display)
        return std::nullopt;
    // Read afresh every time: the user may reconfigure layouts while Olvi runs.
    XkbDescPtr desc = XkbAllocKeyboard();
    if (!desc)
        return std::nullopt;
    std::optional<QList<InputSource>> result;
    if (XkbGetControls(m_display, XkbGroupsWrapMask, desc) == Success
        && XkbGetNames(m_display, XkbGroupNamesMask, desc) == Success && desc->ctrls
        && desc->names) {
        QList<InputSource> sources;
        for (int g = 0; g < desc->ctrls->num_groups && g < XkbNumKbdGroups; ++g) {
            QString name;
            if (const Atom atom = desc->names->groups[g]) {
                if (char *text = XGetAtomName(m_display, atom)) {
                    name = QString::fromUtf8(text);
                    XFree(text);
                }
            }
            sources.append(InputSource{name, std::nullopt});
        }
        result = sources;
    }
    XkbFreeKeyboard(desc, 0, True);
    drainLater();
    return result;
}

std::optional<qsizetype> XkbInputSourceProvider::currentIndex() const
{
    if (!m_display)
        return std::nullopt;
    XkbStateRec state{};
    const Status status = XkbGetState(m_display, XkbUseCoreKbd, &state);
    drainLater();
    if (status != Success)
        return std::nullopt;
    return qsizetype(state.group);
}

void XkbInputSourceProvider::select(qsizetype index)
{
    if (!m_display || index < 0 || index >= XkbNumKbdGroups)
        return;
    XkbLockGroup(m_display, XkbUseCoreKbd, unsigned(index));
    XFlush(m_display);
}

void XkbInputSourceProvider::settle()
{
    if (m_display)
        XSync(m_display, False);
}
