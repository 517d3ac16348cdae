// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "x_region_grabber.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

XRegionGrabber::XRegionGrabber(const QString &display, const QRect &region) : m_region(region)
{
    m_display = XOpenDisplay(display.toLocal8Bit().constData());
    if (!m_display || !XShmQueryExtension(m_display))
        return;
    const int screen = DefaultScreen(m_display);
    auto *info = new XShmSegmentInfo{};
    XImage *image = XShmCreateImage(m_display, DefaultVisual(m_display, screen),
                                    unsigned(DefaultDepth(m_display, screen)), ZPixmap, nullptr,
                                    info, unsigned(region.width()), unsigned(region.height()));
    if (!image) {
        delete info;
        return;
    }
    info->shmid = shmget(IPC_PRIVATE, size_t(image->bytes_per_line) * size_t(image->height),
                         IPC_CREAT | 0600);
    info->shmaddr = image->data = static_cast<char *>(shmat(info->shmid, nullptr, 0));
    info->readOnly = False;
    XShmAttach(m_display, info);
    XSync(m_display, False);
    // Marked for removal now, so it goes away with the process whatever happens.
    shmctl(info->shmid, IPC_RMID, nullptr);
    m_image = image;
    m_shm = info;
}

XRegionGrabber::~XRegionGrabber()
{
    if (m_image) {
        auto *info = static_cast<XShmSegmentInfo *>(m_shm);
        XShmDetach(m_display, info);
        auto *image = static_cast<XImage *>(m_image);
        image->data = nullptr; // shared memory, not Xlib's to free
        XDestroyImage(image);
        shmdt(info->shmaddr);
        delete info;
    }
    if (m_display)
        XCloseDisplay(m_display);
}

QByteArray XRegionGrabber::grab()
{
    auto *image = static_cast<XImage *>(m_image);
    if (!image)
        return {};
    XShmGetImage(m_display, DefaultRootWindow(m_display), image, m_region.x(), m_region.y(),
                 AllPlanes);
    return QByteArray(image->data, qsizetype(image->bytes_per_line) * image->height);
}
