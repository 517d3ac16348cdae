// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "x_test_keyboard.h"

#include <QThread>

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

std::optional<XTestKeyboard::Key> XTestKeyboard::find(const QString &ch) const
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

bool XTestKeyboard::type(const QString &ch)
{
    const auto key = find(ch);
    if (key)
        strike(*key);
    return key.has_value();
}

void XTestKeyboard::strike(const Key &key)
{
    chord(key.shift ? XKeysymToKeycode(m_display, XK_Shift_L) : 0, key.keycode);
}

void XTestKeyboard::chord(unsigned modifier, unsigned keycode)
{
    if (modifier)
        fake(modifier, true);
    fake(keycode, true);
    fake(keycode, false);
    if (modifier)
        fake(modifier, false);
    XSync(m_display, False);
}

bool XTestKeyboard::press(const char *keysymName)
{
    return pressChord(nullptr, keysymName);
}

bool XTestKeyboard::pressChord(const char *modifier, const char *key)
{
    const auto code = [this](const char *name) {
        const KeySym sym = name ? XStringToKeysym(name) : NoSymbol;
        return sym == NoSymbol ? 0u : unsigned(XKeysymToKeycode(m_display, sym));
    };
    const unsigned mod = code(modifier);
    const unsigned kc = code(key);
    if ((modifier && !mod) || !kc)
        return false;
    chord(mod, kc);
    return true;
}

bool XTestKeyboard::hold(const QString &ch, int ms)
{
    const auto key = find(ch);
    if (!key || key->shift)
        return false;
    fake(key->keycode, true);
    XSync(m_display, False);
    // Holding a key is the action under test: its length is the point.
    QThread::msleep(ulong(ms));
    fake(key->keycode, false);
    XSync(m_display, False);
    return true;
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

QRect regionOfColour(const QImage &image, QRgb colour, const QRect &within)
{
    const QRect area = within.isNull() ? image.rect() : within.intersected(image.rect());
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
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

void XTestKeyboard::focusWindow(unsigned long window)
{
    XSetInputFocus(m_display, window, RevertToParent, CurrentTime);
    XSync(m_display, False);
}

void XTestKeyboard::closeWindow(unsigned long window)
{
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
