// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "desk.h"

#include "virtual_keyboard_unstable_v1_client.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <pwd.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

using namespace Qt::StringLiterals;

Desk::Desk()
{
    xkb_context *context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    const xkb_rule_names names{"evdev", "pc105", "us,ru", "", ""};
    m_keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    xkb_context_unref(context); // the keymap holds on to it
}

Desk::Desk(const QString &xDisplay) : Desk()
{
    m_x = XOpenDisplay(xDisplay.toLocal8Bit().constData());
}

Desk::~Desk()
{
    if (m_x)
        XCloseDisplay(m_x);
    if (m_wayland)
        wl_display_disconnect(m_wayland);
    xkb_state_unref(m_state);
    xkb_keymap_unref(m_keymap);
    m_sway.terminate();
    m_sway.waitForFinished(5000); // and killed by QProcess when it did not end
}

void Desk::setAutoRepeat(int delayMs, int intervalMs)
{
    XkbSetAutoRepeatRate(m_x, XkbUseCoreKbd, unsigned(delayMs), unsigned(intervalMs));
    sync();
}

void Desk::click(QPoint at)
{
    XTestFakeMotionEvent(m_x, -1, at.x(), at.y(), CurrentTime);
    XTestFakeButtonEvent(m_x, 1, True, CurrentTime);
    XTestFakeButtonEvent(m_x, 1, False, CurrentTime);
    sync();
}

bool Desk::start(QSize screen)
{
    if (const passwd *nobody = ::geteuid() == 0 ? ::getpwnam("nobody") : nullptr)
        m_nobody = std::pair(nobody->pw_uid, nobody->pw_gid);
    m_home.emplace();
    // Held keys repeat quickly, so a short hold repeats many times. sway runs
    // `exec` once it takes clients: the names of its sockets on standard output say so.
    QFile config(m_home->filePath(u"config"_s));
    config.open(QIODevice::WriteOnly);
    config.write(u"xwayland disable\noutput * mode --custom %1x%2\ndefault_border none\n"
                 "input type:keyboard repeat_delay 100\ninput type:keyboard repeat_rate 50\n"
                 "exec echo \"$WAYLAND_DISPLAY $SWAYSOCK\"\n"_s
                     .arg(screen.width()).arg(screen.height()).toUtf8());
    config.close();
    handOver(m_home->path());
    QProcessEnvironment env = environment();
    env.remove(u"WAYLAND_DISPLAY"_s);
    env.insert(u"WLR_BACKENDS"_s, u"headless"_s);
    env.insert(u"WLR_LIBINPUT_NO_DEVICES"_s, u"1"_s);
    env.insert(u"WLR_RENDERER"_s, u"pixman"_s);
    m_sway.setProcessEnvironment(env);
    run(m_sway, u"sway"_s, {u"-c"_s, config.fileName()}); // it writes only errors to stderr
    while (!m_sway.canReadLine() && m_sway.waitForReadyRead(15000)) {
    }
    const QStringList sockets = QString::fromLocal8Bit(m_sway.readLine()).split(u' ');
    if (sockets.size() != 2) {
        m_error = u"sway did not start (%1): %2"_s.arg(
            m_sway.errorString(), QString::fromLocal8Bit(m_sway.readAllStandardError()));
        return false;
    }
    m_socket = sockets[0];
    m_ipc = sockets[1].trimmed();
    // Without the keyboard no key can be pressed: the test fails, it is not skipped.
    if (!plugKeyboardIn(m_home->filePath(m_socket)))
        m_error = u"sway took no virtual keyboard with the layouts us,ru"_s;
    return true;
}

bool Desk::plugKeyboardIn(const QString &socket)
{
    static const wl_registry_listener listener{
        [](void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t) {
            auto *desk = static_cast<Desk *>(data);
            if (!desk->m_seat && qstrcmp(interface, wl_seat_interface.name) == 0) {
                desk->m_seat = static_cast<wl_seat *>(
                    wl_registry_bind(registry, name, &wl_seat_interface, 1));
            } else if (qstrcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0) {
                desk->m_manager = static_cast<zwp_virtual_keyboard_manager_v1 *>(wl_registry_bind(
                    registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
            }
        },
        [](void *, wl_registry *, uint32_t) {}};
    m_wayland = wl_display_connect(QFile::encodeName(socket).constData());
    if (!m_wayland || !m_keymap)
        return false;
    wl_registry_add_listener(wl_display_get_registry(m_wayland), &listener, this);
    wl_display_roundtrip(m_wayland);
    if (!m_seat || !m_manager)
        return false;
    m_keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(m_manager, m_seat);
    m_state = xkb_state_new(m_keymap);
    // The compositor maps the keymap from a file.
    char *text = xkb_keymap_get_as_string(m_keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    QFile keymap(m_home->filePath(u"keymap"_s));
    const bool written = keymap.open(QIODevice::ReadWrite)
                         && keymap.write(text, qint64(qstrlen(text)) + 1) > 0 && keymap.flush();
    std::free(text);
    zwp_virtual_keyboard_v1_keymap(m_keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, keymap.handle(),
                                   uint32_t(keymap.size()));
    m_clock.start();
    return written && wl_display_roundtrip(m_wayland) >= 0;
}

QProcessEnvironment Desk::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_SESSION_TYPE"})
        env.remove(QString::fromLatin1(name));
    env.insert(u"HOME"_s, m_home->path());
    env.insert(u"XDG_RUNTIME_DIR"_s, m_home->path());
    env.insert(u"WAYLAND_DISPLAY"_s, m_socket);
    return env;
}

void Desk::run(QProcess &process, const QString &program, const QStringList &arguments) const
{
    if (!m_nobody)
        return process.start(program, arguments);
    // setpriv becomes the program: the process's id is the program's.
    process.start(u"setpriv"_s, QStringList{u"--reuid=%1"_s.arg(m_nobody->first),
                                            u"--regid=%1"_s.arg(m_nobody->second),
                                            u"--clear-groups"_s, u"--"_s, program}
                                    + arguments);
}

void Desk::handOver(const QString &path) const
{
    if (m_nobody)
        QProcess::execute(u"chown"_s,
                          {u"-R"_s, u"%1:%2"_s.arg(m_nobody->first).arg(m_nobody->second), path});
}

QString Desk::copyIn(const QString &program) const
{
    const QString copy = m_home->filePath(QFileInfo(program).fileName());
    QFile::copy(program, copy); // a copy made before stays
    handOver(copy);
    return copy;
}

std::optional<int> Desk::lockedGroup() const
{
    XkbStateRec state{};
    if (m_x && XkbGetState(m_x, XkbUseCoreKbd, &state) != Success)
        return std::nullopt;
    return m_x ? int(state.locked_group) : m_group;
}

void Desk::lockGroup(int group)
{
    m_group = group;
    if (m_x)
        XkbLockGroup(m_x, XkbUseCoreKbd, unsigned(group));
    sync();
}

std::optional<Desk::Key> Desk::find(const QString &ch) const
{
    const QList<uint> ucs = ch.toUcs4();
    const auto locked = lockedGroup();
    if (!locked || ucs.size() != 1)
        return std::nullopt;
    for (xkb_keycode_t kc = 8; m_keymap && kc <= xkb_keymap_max_keycode(m_keymap); ++kc) {
        for (xkb_level_index_t level = 0; level < 2; ++level) {
            // Keys with fewer groups (space, digits) wrap round, as on the servers.
            const xkb_keysym_t *syms = nullptr;
            if (xkb_keymap_key_get_syms_by_level(m_keymap, kc, xkb_layout_index_t(*locked), level,
                                                 &syms) == 1
                && xkb_keysym_to_utf32(syms[0]) == ucs.first())
                return Key{kc, level == 1};
        }
    }
    return std::nullopt;
}

unsigned Desk::keycode(const char *keysymName) const
{
    const xkb_keysym_t sym = xkb_keysym_from_name(keysymName, XKB_KEYSYM_NO_FLAGS);
    for (xkb_keycode_t kc = 8; m_keymap && kc <= xkb_keymap_max_keycode(m_keymap); ++kc) {
        const xkb_keysym_t *syms = nullptr;
        if (xkb_keymap_key_get_syms_by_level(m_keymap, kc, 0, 0, &syms) == 1 && syms[0] == sym)
            return kc;
    }
    return 0;
}

bool Desk::type(const QString &ch)
{
    const auto key = find(ch);
    if (key)
        strike(*key);
    return key.has_value();
}

void Desk::chord(unsigned modifier, unsigned keycode)
{
    if (modifier)
        fake(modifier, true);
    fake(keycode, true);
    fake(keycode, false);
    if (modifier)
        fake(modifier, false);
    sync();
}

bool Desk::pressChord(const char *modifier, const char *key)
{
    const unsigned mod = modifier ? keycode(modifier) : 0;
    const unsigned kc = keycode(key);
    if ((modifier && !mod) || !kc)
        return false;
    chord(mod, kc);
    return true;
}

bool Desk::hold(const QString &ch, int ms)
{
    const auto key = find(ch);
    if (!key || key->shift)
        return false;
    fake(key->keycode, true);
    sync();
    QThread::msleep(ulong(ms)); // holding a key is the action under test: its length is the point
    fake(key->keycode, false);
    sync();
    return true;
}

void Desk::fake(unsigned keycode, bool down)
{
    if (m_x)
        return void(XTestFakeKeyEvent(m_x, keycode, down ? True : False, CurrentTime));
    // The compositor takes a virtual keyboard's modifiers and group only from
    // the modifiers request: they are told before each key as a real
    // keyboard's state would have them.
    xkb_state_update_key(m_state, keycode, down ? XKB_KEY_DOWN : XKB_KEY_UP);
    zwp_virtual_keyboard_v1_modifiers(m_keyboard,
                                      xkb_state_serialize_mods(m_state, XKB_STATE_MODS_DEPRESSED),
                                      xkb_state_serialize_mods(m_state, XKB_STATE_MODS_LATCHED),
                                      xkb_state_serialize_mods(m_state, XKB_STATE_MODS_LOCKED),
                                      uint32_t(m_group));
    zwp_virtual_keyboard_v1_key(m_keyboard, uint32_t(m_clock.elapsed()), keycode - 8,
                                down ? WL_KEYBOARD_KEY_STATE_PRESSED
                                     : WL_KEYBOARD_KEY_STATE_RELEASED);
}

void Desk::sync()
{
    m_x ? void(XSync(m_x, False)) : void(wl_display_roundtrip(m_wayland));
}

QImage Desk::grab() const
{
    if (!m_x) {
        QProcess grim;
        grim.setProcessEnvironment(environment());
        grim.start(u"grim"_s, {u"-t"_s, u"ppm"_s, u"-"_s});
        return grim.waitForFinished(10000) ? QImage::fromData(grim.readAllStandardOutput(), "PPM")
                                           : QImage();
    }
    XWindowAttributes root{};
    XGetWindowAttributes(m_x, DefaultRootWindow(m_x), &root);
    XImage *x = XGetImage(m_x, DefaultRootWindow(m_x), 0, 0, unsigned(root.width),
                          unsigned(root.height), AllPlanes, ZPixmap);
    // Xvfb's 24-bit TrueColor is Qt's RGB32 (whose pixel() ignores the top byte).
    const auto destroy = [](void *image) { XDestroyImage(static_cast<XImage *>(image)); };
    return x ? QImage(reinterpret_cast<uchar *>(x->data), root.width, root.height,
                      x->bytes_per_line, QImage::Format_RGB32, destroy, x)
             : QImage();
}

unsigned long Desk::window(const QString &title) const
{
    const Atom name = XInternAtom(m_x, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(m_x, "UTF8_STRING", False);
    Window root = 0, parent = 0, *children = nullptr, found = 0;
    unsigned count = 0;
    XQueryTree(m_x, DefaultRootWindow(m_x), &root, &parent, &children, &count);
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes attrs{};
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char *data = nullptr;
        if (XGetWindowAttributes(m_x, children[i], &attrs) && attrs.map_state == IsViewable
            && XGetWindowProperty(m_x, children[i], name, 0, 1024, False, utf8, &type, &format,
                                  &items, &after, &data) == Success
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

bool Desk::focus(const QString &title)
{
    if (!m_x)
        return swaymsg(u"[title=\"^%1$\"] focus"_s.arg(title));
    const Window found = window(title);
    if (found)
        XSetInputFocus(m_x, found, RevertToParent, CurrentTime);
    sync();
    return found != 0;
}

void Desk::close(const QString &title)
{
    if (!m_x)
        return void(swaymsg(u"[title=\"^%1$\"] kill"_s.arg(title)));
    XEvent event{};
    event.xclient = {ClientMessage, 0, False, m_x, window(title),
                     XInternAtom(m_x, "WM_PROTOCOLS", False), 32, {}};
    event.xclient.data.l[0] = long(XInternAtom(m_x, "WM_DELETE_WINDOW", False));
    if (event.xclient.window)
        XSendEvent(m_x, event.xclient.window, False, NoEventMask, &event);
    sync();
}

bool Desk::namesApp(const QString &title, const QString &appId) const
{
    if (!m_x)
        return swaymsg(u"[title=\"^%1$\" app_id=\"^%2$\"] focus"_s.arg(title, appId));
    XClassHint hint{};
    if (!XGetClassHint(m_x, window(title), &hint))
        return false;
    const bool names = appId == QLatin1String(hint.res_name) && appId == QLatin1String(hint.res_class);
    XFree(hint.res_name);
    XFree(hint.res_class);
    return names;
}

bool Desk::swaymsg(const QString &command) const
{
    // swaymsg fails when no window matches.
    return QProcess::execute(u"swaymsg"_s, {u"-q"_s, u"-s"_s, m_ipc, command}) == 0;
}

QRect regionOfColour(const QImage &image, QRgb colour, const QRect &within)
{
    const QRect area = within.isNull() ? image.rect() : within.intersected(image.rect());
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}
