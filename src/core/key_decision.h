// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <Qt>

// One key press as the training screen sees it.
struct KeyPress
{
    Qt::KeyboardModifiers modifiers;
    bool autoRepeat = false;
    int key = 0; // Qt::Key
    QString text; // what the key types under the active layout and Shift
};

// What the training screen does with a key press.
enum class KeyAction {
    pass,    // leave it to the rest of the interface
    swallow, // consume it and do nothing
    restart, // consume it and type the exercise again from the start
    type,    // consume it and type its first character
};

// The decision for one key press while the training screen is shown.
// `controlFocused`: the learner has moved the keyboard's focus from the
// exercise to a control (Tab). The keys that work controls then reach the
// control and never the exercise as well: Space (Return, Enter and Tab are
// never typed); every other key types as before.
[[nodiscard]] KeyAction decideKey(const KeyPress &press, bool resultShown, bool finished,
                                  bool controlFocused = false);

// Tells a held key's repeats from new presses. X repeats a held key as a
// release and a press with the same time stamp; the toolkit flags them only
// when it happens to see both at once, so a busy moment would let a held key
// type over and over. Qt's Wayland client repeats held keys itself and flags
// every repeat, while a release and a new press at one millisecond do happen
// there (an on-screen or remote keyboard may stamp both alike): there the
// flag alone decides. On X too a key struck again within the millisecond of
// its release is no repeat when it was pressed only just before: X repeats a
// key only once it has been held for the repeat delay, while a program typing
// through XTest strikes a double letter that fast.
class RepeatDetector
{
public:
    // `pairsAtOneInstant`: a release and a press of one key at one instant
    // are taken for a repeat.
    explicit RepeatDetector(bool pairsAtOneInstant = true);
    // As the windowing system of this Qt platform plugin repeats held keys.
    [[nodiscard]] static RepeatDetector forPlatform(QStringView platformName);

    // A key is held at least this long before X repeats it: half the
    // shortest repeat delay GNOME and Plasma offer (100 ms).
    static constexpr quint64 shortestDelayMs = 50;

    void pressed(quint32 scanCode, quint64 timestamp);
    void released(quint32 scanCode, quint64 timestamp);
    // Whether this press repeats a held key (`flagged`: the toolkit says so).
    [[nodiscard]] bool isRepeat(quint32 scanCode, quint64 timestamp, bool flagged) const;

private:
    bool m_pairs = true;
    quint32 m_scanCode = 0;
    quint64 m_timestamp = 0;
    bool m_any = false;
    quint32 m_pressedScanCode = 0; // the last new press
    quint64 m_pressedAt = 0;
};

// Whether Caps Lock is on, for typing by the keys' places (the system layout's
// own text of the key is not typed then, so its case cannot carry the lock).
// On X11 and Wayland every key event brings the locked modifiers in its native
// modifiers: the X server's state at the key, or the compositor's last word,
// which it also sends when the window gets the keyboard; Lock is XKB's second
// real modifier, bit 1, in every keymap. So a lock set before Olvi started is
// known at the first key. Elsewhere (no native modifiers) it is followed from
// the Caps Lock key and from the case of the system layout's letters.
class CapsLockState
{
public:
    static constexpr quint32 nativeLockMask = 1U << 1;

    explicit CapsLockState(bool nativeModifiers = true) : m_native(nativeModifiers) {}
    [[nodiscard]] static CapsLockState forPlatform(QStringView platformName);

    // Takes in one key press (not a repeat) and says whether Caps Lock is on for it.
    bool see(const KeyPress &press, quint32 nativeModifiers);

private:
    bool m_native = true;
    bool m_on = false;
};
