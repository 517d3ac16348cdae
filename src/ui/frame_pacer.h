// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QQmlEngine>
#include <QQuickItem>
#include <QTimer>

#include <functional>

// Shows a keystroke in two frames. The exercise line, what the learner's
// eyes are on, changes in the keystroke's own frame, which then holds little
// else and reaches the screen soonest; the rest a key changes (the next key on
// the keyboard, the fingers, the hint, the figures) follows one frame later.
// A view model hands that rest to later(); the line's model says frameDue()
// when the keystroke's frame has something to show.
class FramePacer : public QQuickItem
{
    Q_OBJECT
    QML_ELEMENT

public:
    explicit FramePacer(QQuickItem *parent = nullptr);

    // The keystroke being handled changes the line: work handed to later()
    // waits until the frame showing it is on screen.
    void frameDue();
    // Runs `work` after the keystroke's own frame: once that frame is on
    // screen, or, when no frame is due, as soon as the keystroke has been
    // handled. A later call for the same `owner` replaces one still waiting.
    void later(QObject *owner, std::function<void()> work);

protected:
    void itemChange(ItemChange change, const ItemChangeData &data) override;

private:
    struct Job
    {
        QPointer<QObject> owner;
        std::function<void()> work;
    };

    void handled();
    void shown();
    void run();

    QList<Job> m_jobs;
    bool m_due = false;    // the keystroke's frame is yet to be shown
    bool m_posted = false; // handled() is queued
    QMetaObject::Connection m_frames;
    // A hidden window shows no frame: the rest does not wait for ever.
    QTimer m_noFrame;
};
