// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>

#include <optional>

// A user at a desktop's keyboard and screen, on X or on Wayland: presses the
// physical key that types a character in the group that is locked now, as a
// person would, and looks at the screen.
class Desk
{
public:
    Desk() = default;
    virtual ~Desk() = default;
    Desk(const Desk &) = delete;
    Desk &operator=(const Desk &) = delete;

    [[nodiscard]] virtual std::optional<int> lockedGroup() const = 0;
    virtual void lockGroup(int group) = 0;

    // The physical key that types `ch` in the locked group, looked up ahead
    // so that striking it is a single request.
    struct Key
    {
        unsigned keycode = 0; // an XKB key code
        bool shift = false;
    };
    [[nodiscard]] virtual std::optional<Key> find(const QString &ch) const = 0;
    void strike(const Key &key);

    // Presses and releases the key for `ch` in the locked group (with Shift
    // when it is on the second level); false when no key types it there.
    bool type(const QString &ch);
    // A key by keysym name: "Escape", "BackSpace", "Return", …
    bool press(const char *keysymName);
    // Presses `key` while `modifier` is held, both by keysym name.
    bool pressChord(const char *modifier, const char *key);
    // Holds the key for `ch` down for `ms`, long enough for it to repeat,
    // then releases it.
    bool hold(const QString &ch, int ms);

    // The whole screen.
    [[nodiscard]] virtual QImage grab() const = 0;
    // Gives the window with this title the keyboard focus, as a window
    // manager does with a new window; false while there is no such window.
    virtual bool focus(const QString &title) = 0;
    // Asks the window with this title to close, as its close button does.
    virtual void close(const QString &title) = 0;

protected:
    // The key that has this keysym on its first level, 0 when none has.
    [[nodiscard]] virtual unsigned keycode(const char *keysymName) const = 0;
    virtual void fake(unsigned keycode, bool down) = 0;
    // Waits until the server has taken every faked key.
    virtual void sync() = 0;

private:
    // Strikes `keycode` while `modifier` (when not 0) is held.
    void chord(unsigned modifier, unsigned keycode);
};

// The bounding box of the pixels of exactly `colour` in `image` (an empty
// rectangle when there are none).
[[nodiscard]] QRect regionOfColour(const QImage &image, QRgb colour, const QRect &within = {});
