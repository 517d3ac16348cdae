// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

// SIGTERM, SIGHUP and SIGINT (a logout, a kill, Ctrl+C in a terminal) told
// on the event loop, so that the application can put the desktop back as it
// found it and quit normally. The handler only writes the signal's number to
// a pipe; everything else happens when the loop reads it. One per process.
class TerminationSignals final : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    // Whether the handlers are in place.
    [[nodiscard]] bool isWatching() const { return m_notifier != nullptr; }

Q_SIGNALS:
    void received(int signal);

private:
    void read();

    std::unique_ptr<QSocketNotifier> m_notifier;
};
