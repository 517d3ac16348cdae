// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QSize>
#include <QTemporaryDir>

#include <optional>

struct _XDisplay;
struct wl_display;
struct wl_seat;
struct xkb_keymap;
struct xkb_state;
struct zwp_virtual_keyboard_manager_v1;
struct zwp_virtual_keyboard_v1;

// A user at the keyboard and screen of a private desktop with the layouts us,ru:
// presses the key that types a character in the group locked now, as a person
// would, and looks at the screen. An X server's through XTest, or a headless
// sway's of its own through the virtual-keyboard protocol, grim and its IPC.
// sway refuses to run as root; then it, and what runs on it, run as "nobody".
class Desk
{
public:
    explicit Desk(const QString &xDisplay); // on this X server
    Desk();                                 // on a sway of its own, once started
    ~Desk();

    // On X: whether the server took the connection; making held keys repeat
    // quickly, so a short hold repeats many times; a click of the first button.
    [[nodiscard]] bool isConnected() const { return m_x != nullptr; }
    void setAutoRepeat(int delayMs, int intervalMs);
    void click(QPoint at);

    // On sway: starts it with one output of that size, false with error() when
    // it cannot; error() also tells when the keyboard could not be plugged in.
    bool start(QSize screen);
    [[nodiscard]] QString error() const { return m_error; }
    // The environment for a program on this compositor: no X display.
    [[nodiscard]] QProcessEnvironment environment() const;
    // Starts a program on it, as the compositor's user.
    void run(QProcess &process, const QString &program, const QStringList &arguments = {}) const;
    // Gives a folder and everything in it to the compositor's user.
    void handOver(const QString &path) const;
    // A copy of a program that the compositor's user may run (the build folder may be closed).
    [[nodiscard]] QString copyIn(const QString &program) const;

    [[nodiscard]] std::optional<int> lockedGroup() const;
    void lockGroup(int group);
    // The physical key that types `ch` in the locked group (with Shift on the
    // second level), looked up ahead so that striking it is a single request.
    struct Key
    {
        unsigned keycode = 0; // an XKB key code
        bool shift = false;
    };
    [[nodiscard]] std::optional<Key> find(const QString &ch) const;
    void strike(const Key &key) { chord(key.shift ? keycode("Shift_L") : 0, key.keycode); }
    // Each is false when no key types `ch`, or has that keysym name ("Tab", …).
    bool type(const QString &ch);
    bool press(const char *keysymName) { return pressChord(nullptr, keysymName); }
    bool pressChord(const char *modifier, const char *key);
    // Holds the key for `ch` down for `ms`, long enough for it to repeat.
    bool hold(const QString &ch, int ms);
    void sync(); // returns once the server has taken every faked key

    [[nodiscard]] QImage grab() const; // the whole screen
    // Gives the window with this title the keyboard focus, as a window
    // manager does with a new window; false while there is no such window.
    bool focus(const QString &title);
    // Asks the window with this title to close, as its close button does.
    void close(const QString &title);
    // Whether the window with this title names `appId` as docks read it: its
    // app id on Wayland, its class and instance on X11.
    [[nodiscard]] bool namesApp(const QString &title, const QString &appId) const;

private:
    // The key with this keysym on its first level, 0 when none has.
    [[nodiscard]] unsigned keycode(const char *keysymName) const;
    void chord(unsigned modifier, unsigned keycode);
    void fake(unsigned keycode, bool down);
    // The mapped top-level X window with this title, 0 when there is none.
    [[nodiscard]] unsigned long window(const QString &title) const;
    [[nodiscard]] bool plugKeyboardIn(const QString &socket);
    bool swaymsg(const QString &command) const; // whether sway carried it out

    xkb_keymap *m_keymap = nullptr; // as the server has it; X is told with setxkbmap
    _XDisplay *m_x = nullptr;
    std::optional<QTemporaryDir> m_home; // HOME and XDG_RUNTIME_DIR of sway's session
    QProcess m_sway;
    QString m_socket; // the compositor's Wayland socket, a name in m_home
    QString m_ipc;    // sway's IPC socket, a path
    QString m_error;
    std::optional<std::pair<unsigned, unsigned>> m_nobody; // uid and gid, when we are root
    int m_group = 0; // on sway, told with the next key
    QElapsedTimer m_clock; // the key events' time stamps
    wl_display *m_wayland = nullptr;
    wl_seat *m_seat = nullptr;
    zwp_virtual_keyboard_manager_v1 *m_manager = nullptr;
    zwp_virtual_keyboard_v1 *m_keyboard = nullptr;
    xkb_state *m_state = nullptr;
};

// The bounding box of the pixels of exactly `colour` in `image` (an empty
// rectangle when there are none).
[[nodiscard]] QRect regionOfColour(const QImage &image, QRgb colour, const QRect &within = {});
