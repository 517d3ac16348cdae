// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "x_test_keyboard.h"

#include <cstring>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <xkbcommon/xkbcommon.h>

XTestKeyboard::XTestKeyboard(const QString &display)
{
    m_display = XOpenDisplay(display.toLocal8Bit().constData());
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
    XSync(m_display, False);
}

std::optional<Desk::Key> XTestKeyboard::find(const QString &ch) const
{
    const auto group = lockedGroup();
    const QList<uint> ucs = ch.toUcs4();
    if (!group || ucs.size() != 1)
        return std::nullopt;
    XkbDescPtr xkb = XkbGetMap(m_display, XkbAllClientInfoMask, XkbUseCoreKbd);
    if (!xkb)
        return std::nullopt;
    std::optional<Key> found;
    for (int kc = xkb->min_key_code; kc <= xkb->max_key_code && !found; ++kc) {
        const int groups = XkbKeyNumGroups(xkb, kc);
        if (groups == 0)
            continue;
        // Keys with fewer groups (space, digits) wrap round, as the server does.
        const int g = *group % groups;
        const int levels = XkbKeyGroupWidth(xkb, kc, g);
        for (int level = 0; level < std::min(levels, 2) && !found; ++level) {
            const KeySym sym = XkbKeySymEntry(xkb, kc, level, g);
            if (sym != NoSymbol && xkb_keysym_to_utf32(xkb_keysym_t(sym)) == ucs.first())
                found = Key{unsigned(kc), level == 1};
        }
    }
    XkbFreeKeyboard(xkb, 0, True);
    return found;
}

void XTestKeyboard::fake(unsigned keycode, bool down)
{
    XTestFakeKeyEvent(m_display, keycode, down ? True : False, CurrentTime);
}

void XTestKeyboard::sync()
{
    XSync(m_display, False);
}

unsigned XTestKeyboard::keycode(const char *keysymName) const
{
    const KeySym sym = XStringToKeysym(keysymName);
    return sym == NoSymbol ? 0u : unsigned(XKeysymToKeycode(m_display, sym));
}

void XTestKeyboard::setAutoRepeat(int delayMs, int intervalMs)
{
    XkbSetAutoRepeatRate(m_display, XkbUseCoreKbd, unsigned(delayMs), unsigned(intervalMs));
    XSync(m_display, False);
}

QImage XTestKeyboard::grab() const
{
    const Window root = DefaultRootWindow(m_display);
    XWindowAttributes attrs{};
    XGetWindowAttributes(m_display, root, &attrs);
    XImage *x = XGetImage(m_display, root, 0, 0, unsigned(attrs.width), unsigned(attrs.height),
                          AllPlanes, ZPixmap);
    if (!x)
        return {};
    QImage image(attrs.width, attrs.height, QImage::Format_RGB32);
    if (x->bits_per_pixel == 32 && x->byte_order == LSBFirst) {
        // The server's 24-bit TrueColor layout is Qt's RGB32: copy lines.
        for (int y = 0; y < attrs.height; ++y)
            memcpy(image.scanLine(y), x->data + qsizetype(y) * x->bytes_per_line,
                   size_t(attrs.width) * 4);
    } else {
        for (int y = 0; y < attrs.height; ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int px = 0; px < attrs.width; ++px)
                line[px] = QRgb(XGetPixel(x, px, y));
        }
    }
    XDestroyImage(x);
    // The X server leaves the top byte undefined.
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int px = 0; px < image.width(); ++px)
            line[px] |= 0xFF000000u;
    }
    return image;
}

std::optional<unsigned long> XTestKeyboard::findWindow(const QString &title) const
{
    const Atom netName = XInternAtom(m_display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(m_display, "UTF8_STRING", False);
    Window root = 0;
    Window parent = 0;
    Window *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(m_display, DefaultRootWindow(m_display), &root, &parent, &children, &count))
        return std::nullopt;
    std::optional<unsigned long> found;
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes attrs{};
        if (!XGetWindowAttributes(m_display, children[i], &attrs) || attrs.map_state != IsViewable)
            continue;
        Atom type = 0;
        int format = 0;
        unsigned long items = 0;
        unsigned long after = 0;
        unsigned char *data = nullptr;
        if (XGetWindowProperty(m_display, children[i], netName, 0, 1024, False, utf8, &type,
                               &format, &items, &after, &data)
                == Success
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
    const auto window = findWindow(title);
    if (window) {
        XSetInputFocus(m_display, *window, RevertToParent, CurrentTime);
        XSync(m_display, False);
    }
    return window.has_value();
}

void XTestKeyboard::close(const QString &title)
{
    const auto found = findWindow(title);
    if (!found)
        return;
    const Window window = *found;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(m_display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(m_display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(m_display, window, False, NoEventMask, &event);
    XSync(m_display, False);
}

void XTestKeyboard::click(QPoint at)
{
    XTestFakeMotionEvent(m_display, -1, at.x(), at.y(), CurrentTime);
    XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
    XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
    XSync(m_display, False);
}
