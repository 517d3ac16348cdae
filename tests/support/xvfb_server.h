// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QString>

// A private X server for one test: Xvfb on a display it picks itself, ended
// with the test. -noreset keeps the keyboard map when the last client leaves.
class XvfbServer
{
public:
    ~XvfbServer();

    // Starts the server; false (with error()) when Xvfb cannot be started.
    bool start(const QString &screen = QStringLiteral("1280x1024x24"));
    // Runs setxkbmap on it with the given layouts, e.g. "us,ru".
    bool setLayouts(const QString &layouts);

    [[nodiscard]] QString display() const { return m_display; } // ":N"
    [[nodiscard]] QString error() const { return m_error; }
    [[nodiscard]] qint64 pid() const { return m_process.processId(); }
    // The environment for a child process that should use this server.
    [[nodiscard]] QProcessEnvironment environment() const;

private:
    QProcess m_process;
    QString m_display;
    QString m_error;
};
