// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desk.h"

#include <QPoint>

struct _XDisplay;

// A user at an X server's keyboard, mouse and screen, through XTest.
class XTestKeyboard final : public Desk
{
public:
    explicit XTestKeyboard(const QString &display);
    ~XTestKeyboard() override;

    [[nodiscard]] bool isConnected() const { return m_display != nullptr; }
    [[nodiscard]] std::optional<int> lockedGroup() const override;
    void lockGroup(int group) override;
    // Makes held keys repeat quickly, so a short hold repeats many times.
    void setAutoRepeat(int delayMs, int intervalMs);
    [[nodiscard]] QImage grab() const override;
    bool focus(const QString &title) override;
    void close(const QString &title) override;
    void click(QPoint at); // with the first button

protected:
    void fake(unsigned keycode, bool down) override;
    void sync() override;

private:
    // The mapped top-level window with this title, 0 when there is none.
    [[nodiscard]] unsigned long window(const QString &title) const;

    _XDisplay *m_display = nullptr;
};
