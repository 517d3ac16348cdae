// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "input_source_provider.h"

#include <memory>

class QSocketNotifier;
struct _XDisplay;

// Keyboard layouts of an X server: the configured XKB groups, in group order,
// named as the server names them ("English (US)", "Russian"). Selecting locks
// a group. Uses a connection of its own, whose group-change events are read
// on the Qt event loop.
class XkbInputSourceProvider final : public InputSourceProvider
{
    Q_OBJECT

public:
    // Connects to `displayName` (nullptr: $DISPLAY). Check isConnected().
    explicit XkbInputSourceProvider(const char *displayName = nullptr, QObject *parent = nullptr);
    ~XkbInputSourceProvider() override;

    [[nodiscard]] bool isConnected() const { return m_display != nullptr; }

    [[nodiscard]] std::optional<QList<InputSource>> enabledSources() const override;
    [[nodiscard]] std::optional<qsizetype> currentIndex() const override;
    void select(qsizetype index) override;
    void settle() override;

private:
    void readEvents();
    void drainLater() const;

    _XDisplay *m_display = nullptr;
    int m_xkbEventBase = 0;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
