// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desk.h"

#include <QPoint>

struct _XDisplay;

// A user at an X server's keyboard and screen, through XTest.
class XTestKeyboard final : public Desk
{
public:
    explicit XTestKeyboard(const QString &display);
    ~XTestKeyboard() override;

    [[nodiscard]] bool isConnected() const { return m_display != nullptr; }

    [[nodiscard]] std::optional<int> lockedGroup() const override;
    void lockGroup(int group) override;
    [[nodiscard]] std::optional<Key> find(const QString &ch) const override;
    // Makes held keys repeat quickly, so a short hold repeats many times.
    void setAutoRepeat(int delayMs, int intervalMs);

    [[nodiscard]] QImage grab() const override;
    bool focus(const QString &title) override;
    void close(const QString &title) override;

    // The top-level window with this title, if one is mapped.
    [[nodiscard]] std::optional<unsigned long> findWindow(const QString &title) const;
    // Clicks at a point of the screen with the first button.
    void click(QPoint at);

protected:
    [[nodiscard]] unsigned keycode(const char *keysymName) const override;
    void fake(unsigned keycode, bool down) override;
    void sync() override;

private:
    _XDisplay *m_display = nullptr;
};
