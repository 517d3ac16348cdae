// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "input_source_provider.h"

#include <QDBusConnection>

// Keyboard layouts of a KDE Plasma session, through the layout service Plasma
// offers on the session bus (the keyboard daemon on X11, KWin on Wayland), in
// Plasma's order. Each layout comes with its code ("ru") and a name in the
// desktop's language.
//
// Olvi reads the layouts often and on the UI thread, and Plasma may be slow:
// the list and the current layout are kept from Plasma's answers and signals,
// so reading never waits on the bus, and selecting does not wait for Plasma's
// answer. Whether the service is there at all is SystemInputSources' watch.
class PlasmaInputSourceProvider final : public InputSourceProvider
{
    Q_OBJECT

public:
    static constexpr auto serviceName = "org.kde.keyboard";

    explicit PlasmaInputSourceProvider(QDBusConnection bus = QDBusConnection::sessionBus(),
                                       QObject *parent = nullptr);

    // Whether Plasma's layout service is on the bus now (on Wayland, only while
    // two or more layouts are set up).
    [[nodiscard]] static bool isAvailable(const QDBusConnection &bus = QDBusConnection::sessionBus());

    [[nodiscard]] std::optional<QList<InputSource>> enabledSources() const override;
    [[nodiscard]] std::optional<qsizetype> currentIndex() const override;
    void select(qsizetype index) override;
    // One round trip: Plasma answers in order, so the selection sent before
    // has been handled when the answer comes (half a second at most).
    void settle() override;

private Q_SLOTS:
    void onLayoutChanged(uint index);
    void refresh();

private:
    template<typename Handler>
    void ask(const QString &method, Handler onReply);
    template<typename T>
    void learn(std::optional<T> &known, std::optional<T> value);

    QDBusConnection m_bus;
    std::optional<QList<InputSource>> m_sources;
    std::optional<qsizetype> m_current;
};
