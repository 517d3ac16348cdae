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
struct xkb_context;
struct xkb_keymap;
struct xkb_state;
struct zwp_virtual_keyboard_manager_v1;
struct zwp_virtual_keyboard_v1;

// A private sway for one test: headless, drawn in software, no bar, its own
// runtime folder. A keyboard with the layouts us,ru is plugged in through the
// virtual-keyboard protocol, the screen is read with grim, windows are found
// and closed over sway's IPC. sway refuses to run as root; then it, and the
// programs started on it, run as the user "nobody".
class SwayDesk final : public Desk
{
public:
    SwayDesk();
    ~SwayDesk() override;

    // Starts sway with one output of that size and plugs the keyboard in;
    // false with error() when sway cannot start. error() also tells when the
    // keyboard could not be plugged in.
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
    void lockGroup(int group) override;
    [[nodiscard]] std::optional<Key> find(const QString &ch) const override;
    [[nodiscard]] QImage grab() const override;
    bool focus(const QString &title) override;
    void close(const QString &title) override;

protected:
    [[nodiscard]] unsigned keycode(const char *keysymName) const override;
    void fake(unsigned keycode, bool down) override;
    void sync() override;

private:
    bool plugKeyboardIn();
    void sendModifiers();
    // Runs a tool of the session (grim, swaymsg) to its end; its output, or
    // nothing when it failed.
    [[nodiscard]] std::optional<QByteArray> tool(const QString &program,
                                                 const QStringList &arguments) const;
    // A command to sway over its IPC; whether it was carried out.
    bool swaymsg(const QString &command) const;

    QTemporaryDir m_home; // HOME and XDG_RUNTIME_DIR of the session
    QProcess m_sway;
    QString m_socket; // the compositor's Wayland socket, an absolute path
    QString m_error;
    bool m_asNobody = false;
    unsigned m_uid = 0;
    unsigned m_gid = 0;
    int m_group = 0;
    QElapsedTimer m_clock; // the key events' time stamps
    wl_display *m_display = nullptr;
    wl_seat *m_seat = nullptr;
    zwp_virtual_keyboard_manager_v1 *m_manager = nullptr;
    zwp_virtual_keyboard_v1 *m_keyboard = nullptr;
    xkb_context *m_xkb = nullptr;
    xkb_keymap *m_keymap = nullptr;
    xkb_state *m_state = nullptr;
};
