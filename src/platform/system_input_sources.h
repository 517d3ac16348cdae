// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "input_source_provider.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QStringView>

#include <memory>

// The keyboard layouts of this session, from the one backend that can reach
// them now: KDE Plasma's while its layout service is on `bus` (it owns the
// layouts on X11 and Wayland alike; on Wayland no X11 call reaches them), else
// the X server's layout groups when Qt runs on X11 (`platformName` "xcb") and
// the server answers, else none, where nothing is switched and the
// wrong-layout warning guides the user. Plasma's service may come after Olvi
// (a desktop still starting, KWin once a second layout is added) or go (a
// restarted desktop, the last but one layout removed): the backend follows it,
// and every change of backend is announced as a change of the current layout.
class SystemInputSources final : public InputSourceProvider
{
    Q_OBJECT

public:
    SystemInputSources(const QDBusConnection &bus, QStringView platformName,
                       QObject *parent = nullptr);
    ~SystemInputSources() override;

    // The backend in use now.
    [[nodiscard]] const InputSourceProvider &backend() const { return *m_backend; }

    [[nodiscard]] std::optional<QList<InputSource>> enabledSources() const override;
    [[nodiscard]] std::optional<qsizetype> currentIndex() const override;
    void select(qsizetype index) override;
    void settle() override;

private:
    void use(bool plasma);

    QDBusConnection m_bus;
    bool m_x11 = false;
    QDBusServiceWatcher m_watcher;
    std::unique_ptr<InputSourceProvider> m_backend;
    bool m_plasma = false;
};
