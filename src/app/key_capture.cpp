// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "key_capture.h"

#include "app_state.h"
#include "characters.h"
#include "key_decision.h"
#include "russian_layout.h"
#include "session_engine.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QWindow>

namespace {
KeyCapture *s_installed = nullptr;
}

KeyCapture::KeyCapture(QObject *parent)
    : QObject(parent),
      m_repeats(RepeatDetector::forPlatform(QGuiApplication::platformName())),
      m_capsLock(CapsLockState::forPlatform(QGuiApplication::platformName()))
{
}

KeyCapture::~KeyCapture()
{
    if (s_installed == this) {
        QCoreApplication::instance()->removeEventFilter(this);
        s_installed = nullptr;
    }
}

KeyCapture *KeyCapture::current()
{
    return s_installed;
}

bool KeyCapture::installed() const
{
    return s_installed == this;
}

void KeyCapture::setApp(AppState *app)
{
    if (m_app == app)
        return;
    m_app = app;
    Q_EMIT appChanged();
}

void KeyCapture::setActive(bool active)
{
    if (m_active == active)
        return;
    m_active = active;
    update();
    Q_EMIT activeChanged();
}

void KeyCapture::setControlFocused(bool focused)
{
    if (m_controlFocused == focused)
        return;
    m_controlFocused = focused;
    Q_EMIT controlFocusedChanged();
}

void KeyCapture::update()
{
    auto *app = QCoreApplication::instance();
    if (m_active && !s_installed && app) {
        app->installEventFilter(this);
        s_installed = this;
        Q_EMIT installedChanged();
    } else if (!m_active && s_installed == this) {
        app->removeEventFilter(this);
        s_installed = nullptr;
        Q_EMIT installedChanged();
    }
}

bool KeyCapture::eventFilter(QObject *watched, QEvent *event)
{
    // A key event travels to the window first and then to its focus item; it
    // is looked at once, at the window.
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    if (!m_app || !qobject_cast<QWindow *>(watched))
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (event->type() == QEvent::KeyRelease) {
        m_repeats.released(key->nativeScanCode(), key->timestamp());
        // The release of a key the exercise took is the exercise's too: no
        // control saw its press, and delivering it through the item tree
        // would come between the keystroke and its frame.
        return m_taken.remove(key->nativeScanCode());
    }
    const bool repeat =
        m_repeats.isRepeat(key->nativeScanCode(), key->timestamp(), key->isAutoRepeat());
    if (!repeat)
        m_repeats.pressed(key->nativeScanCode(), key->timestamp());
    KeyPress press{key->modifiers(), repeat, key->key(), key->text()};
    // With physical keys a key types what it types in the Russian layout,
    // whatever the system's layout makes of it (a dead key or a Latin letter).
    if (m_app->physicalKeys()) {
        const bool shift = press.modifiers.testFlag(Qt::ShiftModifier);
        // A held key's repeats are swallowed below and leave the lock as it was.
        const bool capsLock = !repeat && m_capsLock.see(press, key->nativeModifiers());
        if (const auto typed =
                RussianLayout::typedByKey(key->nativeScanCode(), shift, capsLock)) {
            press.key = 0;
            press.text = *typed;
        }
    }
    const KeyAction action = decideKey(press, m_app->lastResult().has_value(),
                                       m_app->engine()->finished(), m_controlFocused);
    // A press decides what its release is (one that went to another window
    // may never come back).
    if (action == KeyAction::pass)
        m_taken.remove(key->nativeScanCode());
    else if (key->nativeScanCode() != 0)
        m_taken.insert(key->nativeScanCode());
    switch (action) {
    case KeyAction::pass:
        return false;
    case KeyAction::swallow:
        return true;
    case KeyAction::restart:
        m_app->restartExercise();
        return true;
    case KeyAction::type:
        m_app->handleKey(press.text);
        return true;
    }
    return false;
}
