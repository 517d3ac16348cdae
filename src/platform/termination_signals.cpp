// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "termination_signals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array watched{SIGTERM, SIGHUP, SIGINT};
// The pipe's ends: the handler writes, the event loop reads.
int s_pipe[2] = {-1, -1};

extern "C" void onSignal(int signal)
{
    // Only what is safe in a handler: write() of one byte, errno kept.
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(s_pipe[1], &byte, 1);
    errno = saved;
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    if (s_pipe[0] >= 0 || ::pipe2(s_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(s_pipe[0], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &TerminationSignals::read);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : watched) {
        // One started ignoring it (nohup) keeps ignoring it.
        struct sigaction before = {};
        if (::sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_IGN)
            continue;
        ::sigaction(signal, &action, nullptr);
    }
}

TerminationSignals::~TerminationSignals()
{
    if (!m_notifier)
        return;
    // Back to the default: a signal after this ends the process as usual.
    for (const int signal : watched) {
        struct sigaction now = {};
        if (::sigaction(signal, nullptr, &now) == 0 && now.sa_handler == onSignal)
            ::signal(signal, SIG_DFL);
    }
    m_notifier.reset();
    ::close(s_pipe[0]);
    ::close(s_pipe[1]);
    s_pipe[0] = s_pipe[1] = -1;
}

void TerminationSignals::read()
{
    unsigned char byte = 0;
    while (::read(s_pipe[0], &byte, 1) == 1)
        Q_EMIT received(byte);
}
