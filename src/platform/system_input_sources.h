// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "input_source_provider.h"

#include <QDBusConnection>
#include <QStringView>

#include <memory>

// The keyboard-layout backend for this session: KDE Plasma's when its layout
// service is on `bus`, which owns the layouts on X11 and Wayland alike (on
// Wayland no X11 call reaches them); else the X server's layout groups when
// Qt runs on X11 (`platformName` "xcb") and the server answers; else the null
// one, where nothing is switched and the wrong-layout warning guides the user.
[[nodiscard]] std::unique_ptr<InputSourceProvider>
systemInputSources(const QDBusConnection &bus, QStringView platformName);
