// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "frame_pacer.h"

#include <QQuickWindow>

FramePacer::FramePacer(QQuickItem *parent) : QQuickItem(parent)
{
    m_noFrame.setSingleShot(true);
    m_noFrame.setInterval(100);
    connect(&m_noFrame, &QTimer::timeout, this, &FramePacer::shown);
}

void FramePacer::itemChange(ItemChange change, const ItemChangeData &data)
{
    QQuickItem::itemChange(change, data);
    if (change != ItemSceneChange)
        return;
    disconnect(m_frames);
    // Queued: the rest is applied once the frame's own work is over.
    if (data.window)
        m_frames = connect(data.window, &QQuickWindow::frameSwapped, this, &FramePacer::shown,
                           Qt::QueuedConnection);
}

void FramePacer::frameDue()
{
    if (!window() || !window()->isVisible())
        return;
    m_due = true;
    m_noFrame.start();
}

void FramePacer::later(QObject *owner, std::function<void()> work)
{
    const auto same = std::find_if(m_jobs.begin(), m_jobs.end(),
                                   [owner](const Job &job) { return job.owner == owner; });
    if (same != m_jobs.end())
        same->work = std::move(work);
    else
        m_jobs.append({owner, std::move(work)});
    // Looked at once the keystroke has been handled: only then is it known
    // whether its frame shows anything.
    if (!std::exchange(m_posted, true))
        QMetaObject::invokeMethod(this, &FramePacer::handled, Qt::QueuedConnection);
}

void FramePacer::handled()
{
    m_posted = false;
    if (!m_due)
        run();
}

void FramePacer::shown()
{
    m_due = false;
    m_noFrame.stop();
    if (!m_posted)
        run();
}

void FramePacer::run()
{
    const QList<Job> jobs = std::exchange(m_jobs, {});
    for (const Job &job : jobs) {
        if (job.owner)
            job.work();
    }
}
