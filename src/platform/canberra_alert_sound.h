// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "alert_sound.h"

#include <QObject>
#include <QThread>

// The sound theme's "bell" through libcanberra. Opening the sound device and
// starting a sound can take milliseconds (or fail slowly), so all of it runs
// on a thread of its own: beep() only posts a request. When libcanberra
// cannot play, the windowing system's bell sounds instead: X11's; Qt 6.4's
// Wayland client has none, so there the fallback is silent and returns at once.
class CanberraAlertSound final : public QObject, public AlertSound
{
    Q_OBJECT

public:
    CanberraAlertSound();
    ~CanberraAlertSound() override;

    // Connects to the sound server ahead of the first beep.
    void prepare();
    void beep() override;

private:
    QThread m_thread;
    QObject *m_player = nullptr; // lives on m_thread
};
