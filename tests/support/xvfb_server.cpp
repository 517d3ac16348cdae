// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "xvfb_server.h"

using namespace Qt::StringLiterals;

XvfbServer::~XvfbServer()
{
    // Ended, Xvfb removes its lock file; QProcess kills it when it does not end.
    m_process.terminate();
    m_process.waitForFinished(5000);
}

bool XvfbServer::start(const QString &screen)
{
    // -displayfd: Xvfb picks a free display itself and writes its number once
    // it accepts connections, so there is neither a race nor a guess.
    m_process.start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-noreset"_s, u"-nolisten"_s, u"tcp"_s,
                                u"-screen"_s, u"0"_s, screen});
    while (!m_process.canReadLine() && m_process.waitForReadyRead(15000)) {
    }
    m_display = u":"_s + QString::fromLatin1(m_process.readLine().trimmed());
    if (m_display.size() > 1)
        return true;
    m_error = u"Xvfb did not start (%1; scripts/setup installs it): %2"_s.arg(
        m_process.errorString(), QString::fromLocal8Bit(m_process.readAllStandardError()));
    return false;
}

QProcessEnvironment XvfbServer::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"DISPLAY"_s, m_display);
    env.remove(u"WAYLAND_DISPLAY"_s);
    return env;
}

bool XvfbServer::setLayouts(const QString &layouts)
{
    const QStringList arguments{u"-display"_s, m_display, u"-layout"_s, layouts};
    return QProcess::execute(u"setxkbmap"_s, arguments) == 0;
}
