// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The desktop's alert for a wrong key. Must return at once: typing never waits
// for a sound.
class AlertSound
{
public:
    virtual ~AlertSound() = default;
    virtual void beep() = 0;
};
