// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "key_decision.h"

#include "characters.h"

KeyAction decideKey(const KeyPress &press, bool resultShown, bool finished, bool controlFocused)
{
    // Chords belong to menus and the desktop. Shift, Caps Lock and AltGr type
    // characters, so they do not count.
    if (press.modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return KeyAction::pass;
    // The result card answers its own keys (Return).
    if (resultShown || finished)
        return KeyAction::pass;
    // A control with the focus is worked by Space, not the exercise.
    if (controlFocused && press.key == Qt::Key_Space)
        return KeyAction::pass;
    // Holding a key never types it twice.
    if (press.autoRepeat)
        return KeyAction::swallow;
    if (press.key == Qt::Key_Escape)
        return KeyAction::restart;
    // There is no correction of typed text.
    if (press.key == Qt::Key_Backspace)
        return KeyAction::swallow;
    // Tab, Return, Delete, arrows, function and dead keys: not characters.
    if (press.key >= Qt::Key_Escape)
        return KeyAction::pass;
    if (press.text.isEmpty())
        return KeyAction::pass;
    const char16_t first = press.text.front().unicode();
    if (first < 0x20 || first == 0x7F)
        return KeyAction::pass;
    return KeyAction::type;
}

RepeatDetector::RepeatDetector(bool pairsAtOneInstant) : m_pairs(pairsAtOneInstant) {}

RepeatDetector RepeatDetector::forPlatform(QStringView platformName)
{
    // "wayland", "wayland-egl", …
    return RepeatDetector(!platformName.startsWith(u"wayland"));
}

void RepeatDetector::released(quint32 scanCode, quint64 timestamp)
{
    if (!m_pairs)
        return;
    m_scanCode = scanCode;
    m_timestamp = timestamp;
    m_any = true;
}

void RepeatDetector::pressed(quint32 scanCode, quint64 timestamp)
{
    m_pressedScanCode = scanCode;
    m_pressedAt = timestamp;
}

bool RepeatDetector::isRepeat(quint32 scanCode, quint64 timestamp, bool flagged) const
{
    if (flagged)
        return true;
    const bool pair = m_any && scanCode != 0 && scanCode == m_scanCode && timestamp == m_timestamp;
    const bool justPressed = scanCode == m_pressedScanCode && timestamp >= m_pressedAt
                             && timestamp - m_pressedAt < shortestDelayMs;
    return pair && !justPressed;
}

CapsLockState CapsLockState::forPlatform(QStringView platformName)
{
    return CapsLockState(platformName == u"xcb" || platformName.startsWith(u"wayland"));
}

bool CapsLockState::see(const KeyPress &press, quint32 nativeModifiers)
{
    if (m_native) {
        m_on = nativeModifiers & nativeLockMask;
    } else if (press.key == Qt::Key_CapsLock) {
        m_on = !m_on;
    } else if (const QString small = Characters::lower(press.text);
               small != Characters::upper(press.text)) {
        // A capital without Shift, or a small letter with it: the lock is on.
        m_on = (press.text != small) != press.modifiers.testFlag(Qt::ShiftModifier);
    }
    return m_on;
}
