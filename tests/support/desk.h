// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>

#include <optional>

struct xkb_keymap;

// A user at a desktop's keyboard and screen, on X or on Wayland, with the
// layouts us,ru: presses the physical key that types a character in the group
// locked now, as a person would, and looks at the screen.
class Desk
{
public:
    Desk();
    virtual ~Desk();
    Desk(const Desk &) = delete;
    Desk &operator=(const Desk &) = delete;

    [[nodiscard]] virtual std::optional<int> lockedGroup() const = 0;
    virtual void lockGroup(int group) = 0;

    // The physical key that types `ch` in the locked group (with Shift on the
    // second level), looked up ahead so that striking it is a single request.
    struct Key
    {
        unsigned keycode = 0; // an XKB key code
        bool shift = false;
    };
    [[nodiscard]] std::optional<Key> find(const QString &ch) const;
    void strike(const Key &key);
    // Each is false when no key types `ch`, or has that keysym name ("Tab", …).
    bool type(const QString &ch);
    bool press(const char *keysymName) { return pressChord(nullptr, keysymName); }
    bool pressChord(const char *modifier, const char *key);
    // Holds the key for `ch` down for `ms`, long enough for it to repeat.
    bool hold(const QString &ch, int ms);

    [[nodiscard]] virtual QImage grab() const = 0; // the whole screen
    // Gives the window with this title the keyboard focus, as a window
    // manager does with a new window; false while there is no such window.
    virtual bool focus(const QString &title) = 0;
    // Asks the window with this title to close, as its close button does.
    virtual void close(const QString &title) = 0;

protected:
    virtual void fake(unsigned keycode, bool down) = 0;
    virtual void sync() = 0; // returns once the server has taken every faked key

    xkb_keymap *m_keymap = nullptr; // as the server has it; X is told with setxkbmap

private:
    // The key with this keysym on its first level, 0 when none has.
    [[nodiscard]] unsigned keycode(const char *keysymName) const;
    void chord(unsigned modifier, unsigned keycode);
};

// The bounding box of the pixels of exactly `colour` in `image` (an empty
// rectangle when there are none).
[[nodiscard]] QRect regionOfColour(const QImage &image, QRgb colour, const QRect &within = {});
