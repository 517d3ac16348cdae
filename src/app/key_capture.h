// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "key_decision.h"

#include <QObject>
#include <QPointer>
#include <QSet>

class AppState;

// Turns the window's key presses into exercise keystrokes while the training
// screen is shown: an application-wide event filter, installed while active.
// At most one capture is installed at any time, however many exist.
class KeyCapture : public QObject
{
    Q_OBJECT
    Q_PROPERTY(AppState *app READ app WRITE setApp NOTIFY appChanged)
    Q_PROPERTY(bool active READ active WRITE setActive NOTIFY activeChanged)
    Q_PROPERTY(bool installed READ installed NOTIFY installedChanged)
    // The learner moved the keyboard's focus from the exercise to a control:
    // Space works the control (decideKey).
    Q_PROPERTY(bool controlFocused READ controlFocused WRITE setControlFocused NOTIFY
                       controlFocusedChanged)

public:
    explicit KeyCapture(QObject *parent = nullptr);
    ~KeyCapture() override;

    [[nodiscard]] AppState *app() const { return m_app; }
    void setApp(AppState *app);
    [[nodiscard]] bool active() const { return m_active; }
    void setActive(bool active);
    [[nodiscard]] bool controlFocused() const { return m_controlFocused; }
    void setControlFocused(bool focused);
    // Whether this capture is the one installed.
    [[nodiscard]] bool installed() const;

    // The capture installed now, if any.
    [[nodiscard]] static KeyCapture *current();

Q_SIGNALS:
    void appChanged();
    void activeChanged();
    void installedChanged();
    void controlFocusedChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void update();

    QPointer<AppState> m_app;
    bool m_active = false;
    bool m_controlFocused = false;
    RepeatDetector m_repeats;
    CapsLockState m_capsLock;
    QSet<quint32> m_taken; // keys down whose press went to the exercise
};
