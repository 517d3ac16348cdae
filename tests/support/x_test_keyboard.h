// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <optional>

struct _XDisplay;

// A user at an X server's keyboard, through XTest: presses the physical key
// that types a character in the group that is locked now, as a person would,
// and looks at the screen.
class XTestKeyboard
{
public:
    explicit XTestKeyboard(const QString &display);
    ~XTestKeyboard();
    XTestKeyboard(const XTestKeyboard &) = delete;
    XTestKeyboard &operator=(const XTestKeyboard &) = delete;

    [[nodiscard]] bool isConnected() const { return m_display != nullptr; }

    [[nodiscard]] std::optional<int> lockedGroup() const;
    void lockGroup(int group);

    // Presses and releases the key for `ch` in the locked group (with Shift
    // when it is on the second level); false when no key types it there.
    bool type(const QString &ch);
    // A key by keysym name: "Escape", "BackSpace", "Return", …
    bool press(const char *keysymName);
    // Presses `key` while `modifier` is held, both by keysym name.
    bool pressChord(const char *modifier, const char *key);
    // Holds the key for `ch` down for `ms`, long enough for the server to
    // repeat it, then releases it.
    bool hold(const QString &ch, int ms);
    // Makes held keys repeat quickly, so a short hold repeats many times.
    void setAutoRepeat(int delayMs, int intervalMs);

    // The whole screen.
    [[nodiscard]] QImage grab() const;

    // The top-level window with this title, if one is mapped.
    [[nodiscard]] std::optional<unsigned long> findWindow(const QString &title) const;
    // Gives the window the keyboard focus, as a window manager does when a
    // new window appears.
    void focusWindow(unsigned long window);
    // Asks the window to close, as a window manager's close button does.
    void closeWindow(unsigned long window);
    // Clicks at a point of the screen with the first button.
    void click(QPoint at);

    // The physical key that types `ch` in the locked group, looked up ahead
    // so that striking it is a single request.
    struct Key
    {
        unsigned keycode = 0;
        bool shift = false;
    };
    [[nodiscard]] std::optional<Key> find(const QString &ch) const;
    void strike(const Key &key);

private:
    void fake(unsigned keycode, bool down);
    // Strikes `keycode` while `modifier` (when not 0) is held.
    void chord(unsigned modifier, unsigned keycode);

    _XDisplay *m_display = nullptr;
};

// The bounding box of the pixels of exactly `colour` in `image` (an empty
// rectangle when there are none).
[[nodiscard]] QRect regionOfColour(const QImage &image, QRgb colour, const QRect &within = {});
