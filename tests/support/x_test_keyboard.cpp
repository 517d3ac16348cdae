// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "x_test_keyboard.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

XTestKeyboard::XTestKeyboard(const QString &display)
    : m_display(XOpenDisplay(display.toLocal8Bit().constData()))
{
}

XTestKeyboard::~XTestKeyboard()
{
    if (m_display)
        XCloseDisplay(m_display);
}

std::optional<int> XTestKeyboard::lockedGroup() const
{
    XkbStateRec state{};
    if (!m_display || XkbGetState(m_display, XkbUseCoreKbd, &state) != Success)
        return std::nullopt;
    return int(state.locked_group);
}

void XTestKeyboard::lockGroup(int group)
{
    XkbLockGroup(m_display, XkbUseCoreKbd, unsigned(group));
    sync();
}

void XTestKeyboard::setAutoRepeat(int delayMs, int intervalMs)
{
    XkbSetAutoRepeatRate(m_display, XkbUseCoreKbd, unsigned(delayMs), unsigned(intervalMs));
    sync();
}

void XTestKeyboard::fake(unsigned keycode, bool down)
{
    XTestFakeKeyEvent(m_display, keycode, down ? True : False, CurrentTime);
}

void XTestKeyboard::sync()
{
    XSync(m_display, False);
}

QImage XTestKeyboard::grab() const
{
    XWindowAttributes root{};
    XGetWindowAttributes(m_display, DefaultRootWindow(m_display), &root);
    XImage *x = XGetImage(m_display, DefaultRootWindow(m_display), 0, 0, unsigned(root.width),
                          unsigned(root.height), AllPlanes, ZPixmap);
    // Xvfb's 24-bit TrueColor is Qt's RGB32 (whose pixel() ignores the top byte).
    const auto destroy = [](void *image) { XDestroyImage(static_cast<XImage *>(image)); };
    return x ? QImage(reinterpret_cast<uchar *>(x->data), root.width, root.height,
                      x->bytes_per_line, QImage::Format_RGB32, destroy, x)
             : QImage();
}

unsigned long XTestKeyboard::window(const QString &title) const
{
    const Atom name = XInternAtom(m_display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(m_display, "UTF8_STRING", False);
    Window root = 0, parent = 0, *children = nullptr, found = 0;
    unsigned count = 0;
    XQueryTree(m_display, DefaultRootWindow(m_display), &root, &parent, &children, &count);
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes attrs{};
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char *data = nullptr;
        if (XGetWindowAttributes(m_display, children[i], &attrs) && attrs.map_state == IsViewable
            && XGetWindowProperty(m_display, children[i], name, 0, 1024, False, utf8, &type,
                                  &format, &items, &after, &data) == Success
            && data) {
            if (QString::fromUtf8(reinterpret_cast<const char *>(data), int(items)) == title)
                found = children[i];
            XFree(data);
        }
    }
    if (children)
        XFree(children);
    return found;
}

bool XTestKeyboard::focus(const QString &title)
{
    const Window found = window(title);
    if (found)
        XSetInputFocus(m_display, found, RevertToParent, CurrentTime);
    sync();
    return found != 0;
}

void XTestKeyboard::close(const QString &title)
{
    XEvent event{};
    event.xclient = {ClientMessage, 0, False, m_display, window(title),
                     XInternAtom(m_display, "WM_PROTOCOLS", False), 32, {}};
    event.xclient.data.l[0] = long(XInternAtom(m_display, "WM_DELETE_WINDOW", False));
    if (event.xclient.window)
        XSendEvent(m_display, event.xclient.window, False, NoEventMask, &event);
    sync();
}

void XTestKeyboard::click(QPoint at)
{
    XTestFakeMotionEvent(m_display, -1, at.x(), at.y(), CurrentTime);
    XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
    XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
    sync();
}
