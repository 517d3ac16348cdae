// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "alert_sound.h"

struct ca_context;

// The sound theme's "bell" through libcanberra, played asynchronously. Falls
// back to the windowing system's bell when libcanberra cannot play.
class CanberraAlertSound final : public AlertSound
{
public:
    CanberraAlertSound();
    ~CanberraAlertSound() override;
    CanberraAlertSound(const CanberraAlertSound &) = delete;
    CanberraAlertSound &operator=(const CanberraAlertSound &) = delete;

    // Connects to the sound server ahead of the first beep, so that the first
    // wrong key is not the one that waits for the connection.
    void prepare();
    void beep() override;

private:
    ca_context *m_context = nullptr;
    bool m_opened = false;
};
