// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QRect>
#include <QString>

struct _XDisplay;

// Reads one rectangle of an X screen over shared memory, fast enough to poll
// for the first changed pixel after a key press.
class XRegionGrabber
{
public:
    XRegionGrabber(const QString &display, const QRect &region);
    ~XRegionGrabber();
    XRegionGrabber(const XRegionGrabber &) = delete;
    XRegionGrabber &operator=(const XRegionGrabber &) = delete;

    [[nodiscard]] bool isReady() const { return m_image != nullptr; }
    // The region's pixels now.
    [[nodiscard]] QByteArray grab();

private:
    _XDisplay *m_display = nullptr;
    QRect m_region;
    void *m_image = nullptr; // XImage
    void *m_shm = nullptr;   // XShmSegmentInfo
};
