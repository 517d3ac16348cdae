// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "canberra_alert_sound.h"

#include <QGuiApplication>

#include <canberra.h>
#include <xcb/xcb.h>

namespace {

// The bell of last resort: the X server's own, at the keyboard's configured
// volume, sent on the application's connection and flushed at once rather
// than with whatever Qt sends next. The core Wayland protocol has no bell and
// Qt 6.4 rings none there, so on Wayland without a sound server the wrong key
// stays silent, as where the learner has switched system sounds off.
void ringDisplayBell()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                        : nullptr;
    if (xcb_connection_t *connection = x11 ? x11->connection() : nullptr) {
        xcb_bell(connection, 0);
        xcb_flush(connection);
    }
}

// Owns the libcanberra context; every call runs on the sound thread.
class Player final : public QObject
{
    Q_OBJECT

public:
    ~Player() override
    {
        if (m_context)
            ca_context_destroy(m_context);
    }

    void open()
    {
        if (m_context || m_broken)
            return;
        if (ca_context_create(&m_context) != CA_SUCCESS) {
            m_context = nullptr;
            m_broken = true;
            return;
        }
        ca_context_change_props(m_context, CA_PROP_APPLICATION_NAME, "Олви", nullptr);
        if (ca_context_open(m_context) != CA_SUCCESS) {
            ca_context_destroy(m_context);
            m_context = nullptr;
            m_broken = true;
        }
    }

    void play()
    {
        open();
        if (m_context
            && ca_context_play(m_context, 0, CA_PROP_EVENT_ID, "bell", CA_PROP_EVENT_DESCRIPTION,
                               "Wrong key", nullptr)
                   == CA_SUCCESS) {
            return;
        }
        Q_EMIT cannotPlay();
    }

Q_SIGNALS:
    void cannotPlay();

private:
    ca_context *m_context = nullptr;
    bool m_broken = false; // no sound system: do not try again on every key
};

} // namespace

CanberraAlertSound::CanberraAlertSound()
{
    auto *player = new Player;
    player->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, player, &QObject::deleteLater);
    // The fallback bell rings through the application's display connection,
    // which belongs to this thread.
    connect(player, &Player::cannotPlay, this, &ringDisplayBell);
    m_player = player;
    m_thread.setObjectName(QStringLiteral("alert sound"));
    m_thread.start(QThread::LowPriority);
}

CanberraAlertSound::~CanberraAlertSound()
{
    m_thread.quit();
    m_thread.wait();
}

void CanberraAlertSound::prepare()
{
    QMetaObject::invokeMethod(static_cast<Player *>(m_player), &Player::open,
                              Qt::QueuedConnection);
}

void CanberraAlertSound::beep()
{
    QMetaObject::invokeMethod(static_cast<Player *>(m_player), &Player::play,
                              Qt::QueuedConnection);
}

#include "canberra_alert_sound.moc"
