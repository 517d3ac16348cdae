// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desk.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSize>
#include <QTemporaryDir>

struct wl_display;
struct wl_seat;
struct xkb_state;
struct zwp_virtual_keyboard_manager_v1;
struct zwp_virtual_keyboard_v1;

// A private sway for one test: headless, drawn in software, its own runtime
// folder. The keyboard is plugged in through the virtual-keyboard protocol,
// the screen is read with grim, windows are found over sway's IPC. sway
// refuses to run as root; then it, and the programs on it, run as "nobody".
class SwayDesk final : public Desk
{
public:
    ~SwayDesk() override;

    // Starts sway with one output of that size; false with error() when it
    // cannot. error() also tells when the keyboard could not be plugged in.
    bool start(QSize screen);
    [[nodiscard]] QString error() const { return m_error; }

    // The environment for a program on this compositor: no X display.
    [[nodiscard]] QProcessEnvironment environment() const;
    // Starts a program on it, as the compositor's user.
    void run(QProcess &process, const QString &program, const QStringList &arguments = {}) const;
    // Gives a folder and everything in it to the compositor's user.
    void handOver(const QString &path) const;
    // A copy of a program in the session's folder, for the compositor's user
    // to run even where the build folder is closed to it.
    [[nodiscard]] QString copyIn(const QString &program) const;

    [[nodiscard]] std::optional<int> lockedGroup() const override { return m_group; }
    void lockGroup(int group) override { m_group = group; } // told with the next key
    [[nodiscard]] QImage grab() const override;
    bool focus(const QString &title) override;
    void close(const QString &title) override;

protected:
    void fake(unsigned keycode, bool down) override;
    void sync() override;

private:
    [[nodiscard]] bool plugKeyboardIn(const QString &socket);
    bool swaymsg(const QString &command) const; // whether sway carried it out

    QTemporaryDir m_home; // HOME and XDG_RUNTIME_DIR of the session
    QProcess m_sway;
    QString m_socket; // the compositor's Wayland socket, a name in m_home
    QString m_ipc;    // sway's IPC socket, a path
    QString m_error;
    std::optional<std::pair<unsigned, unsigned>> m_nobody; // uid and gid, when we are root
    int m_group = 0;
    QElapsedTimer m_clock; // the key events' time stamps
    wl_display *m_display = nullptr;
    wl_seat *m_seat = nullptr;
    zwp_virtual_keyboard_manager_v1 *m_manager = nullptr;
    zwp_virtual_keyboard_v1 *m_keyboard = nullptr;
    xkb_state *m_state = nullptr;
};
