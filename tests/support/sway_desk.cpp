// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sway_desk.h"

#include "virtual_keyboard_unstable_v1_client.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>

#include <pwd.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

using namespace Qt::StringLiterals;

SwayDesk::~SwayDesk()
{
    if (m_display)
        wl_display_disconnect(m_display);
    xkb_state_unref(m_state);
    m_sway.terminate();
    m_sway.waitForFinished(5000); // and killed by QProcess when it did not end
}

bool SwayDesk::start(QSize screen)
{
    if (const passwd *nobody = ::geteuid() == 0 ? ::getpwnam("nobody") : nullptr)
        m_nobody = std::pair(nobody->pw_uid, nobody->pw_gid);
    // Held keys repeat quickly, so a short hold repeats many times. sway runs
    // `exec` once it takes clients: the names of its sockets on standard output say so.
    QFile config(m_home.filePath(u"config"_s));
    config.open(QIODevice::WriteOnly);
    config.write(u"xwayland disable\noutput * mode --custom %1x%2\ndefault_border none\n"
                 "input type:keyboard repeat_delay 100\ninput type:keyboard repeat_rate 50\n"
                 "exec echo \"$WAYLAND_DISPLAY $SWAYSOCK\"\n"_s.arg(screen.width())
                     .arg(screen.height())
                     .toUtf8());
    config.close();
    handOver(m_home.path());
    QProcessEnvironment env = environment();
    env.remove(u"WAYLAND_DISPLAY"_s);
    env.insert(u"WLR_BACKENDS"_s, u"headless"_s);
    env.insert(u"WLR_LIBINPUT_NO_DEVICES"_s, u"1"_s);
    env.insert(u"WLR_RENDERER"_s, u"pixman"_s);
    m_sway.setProcessEnvironment(env);
    m_sway.setStandardErrorFile(m_home.filePath(u"sway.log"_s));
    run(m_sway, u"sway"_s, {u"-c"_s, config.fileName()});
    while (!m_sway.canReadLine() && m_sway.waitForReadyRead(15000)) {
    }
    const QStringList sockets = QString::fromLocal8Bit(m_sway.readLine()).split(u' ');
    if (sockets.size() != 2) {
        QFile log(m_home.filePath(u"sway.log"_s));
        log.open(QIODevice::ReadOnly);
        m_error = u"sway did not start (%1): %2"_s.arg(m_sway.errorString(),
                                                       QString::fromLocal8Bit(log.readAll().right(600)));
        return false;
    }
    m_socket = sockets[0];
    m_ipc = sockets[1].trimmed();
    // Without the keyboard no key can be pressed: the test fails, it is not skipped.
    if (!plugKeyboardIn(m_home.filePath(m_socket)))
        m_error = u"sway took no virtual keyboard with the layouts us,ru"_s;
    return true;
}

bool SwayDesk::plugKeyboardIn(const QString &socket)
{
    static const wl_registry_listener listener{
        [](void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t) {
            auto *desk = static_cast<SwayDesk *>(data);
            if (!desk->m_seat && qstrcmp(interface, wl_seat_interface.name) == 0) {
                desk->m_seat = static_cast<wl_seat *>(
                    wl_registry_bind(registry, name, &wl_seat_interface, 1));
            } else if (qstrcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0) {
                desk->m_manager = static_cast<zwp_virtual_keyboard_manager_v1 *>(wl_registry_bind(
                    registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
            }
        },
        [](void *, wl_registry *, uint32_t) {}};
    m_display = wl_display_connect(QFile::encodeName(socket).constData());
    if (!m_display || !m_keymap)
        return false;
    wl_registry_add_listener(wl_display_get_registry(m_display), &listener, this);
    wl_display_roundtrip(m_display);
    if (!m_seat || !m_manager)
        return false;
    m_keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(m_manager, m_seat);
    m_state = xkb_state_new(m_keymap);
    // The compositor maps the keymap from a file.
    char *text = xkb_keymap_get_as_string(m_keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    QFile keymap(m_home.filePath(u"keymap"_s));
    const bool written = keymap.open(QIODevice::ReadWrite)
                         && keymap.write(text, qint64(std::strlen(text)) + 1) > 0 && keymap.flush();
    std::free(text);
    zwp_virtual_keyboard_v1_keymap(m_keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, keymap.handle(),
                                   uint32_t(keymap.size()));
    m_clock.start();
    return written && wl_display_roundtrip(m_display) >= 0;
}

QProcessEnvironment SwayDesk::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &name : {u"DISPLAY"_s, u"XDG_CONFIG_HOME"_s, u"XDG_CACHE_HOME"_s,
                                u"XDG_SESSION_TYPE"_s})
        env.remove(name);
    env.insert(u"HOME"_s, m_home.path());
    env.insert(u"XDG_RUNTIME_DIR"_s, m_home.path());
    env.insert(u"WAYLAND_DISPLAY"_s, m_socket);
    return env;
}

void SwayDesk::run(QProcess &process, const QString &program, const QStringList &arguments) const
{
    if (!m_nobody)
        return process.start(program, arguments);
    // setpriv becomes the program: the process's id is the program's.
    process.start(u"setpriv"_s, QStringList{u"--reuid=%1"_s.arg(m_nobody->first),
                                            u"--regid=%1"_s.arg(m_nobody->second),
                                            u"--clear-groups"_s, u"--"_s, program}
                                    + arguments);
}

void SwayDesk::handOver(const QString &path) const
{
    if (m_nobody)
        QProcess::execute(u"chown"_s,
                          {u"-R"_s, u"%1:%2"_s.arg(m_nobody->first).arg(m_nobody->second), path});
}

QString SwayDesk::copyIn(const QString &program) const
{
    const QString copy = m_home.filePath(QFileInfo(program).fileName());
    QFile::copy(program, copy); // a copy made before stays
    handOver(copy);
    return copy;
}

void SwayDesk::fake(unsigned keycode, bool down)
{
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

void SwayDesk::sync()
{
    wl_display_roundtrip(m_display);
}

QImage SwayDesk::grab() const
{
    QProcess grim;
    grim.setProcessEnvironment(environment());
    grim.start(u"grim"_s, {u"-t"_s, u"ppm"_s, u"-"_s});
    return grim.waitForFinished(10000) ? QImage::fromData(grim.readAllStandardOutput(), "PPM")
                                       : QImage();
}

bool SwayDesk::focus(const QString &title)
{
    return swaymsg(u"[title=\"^%1$\"] focus"_s.arg(title));
}

void SwayDesk::close(const QString &title)
{
    swaymsg(u"[title=\"^%1$\"] kill"_s.arg(title));
}

bool SwayDesk::swaymsg(const QString &command) const
{
    // swaymsg fails when no window matches.
    return QProcess::execute(u"swaymsg"_s, {u"-q"_s, u"-s"_s, m_ipc, command}) == 0;
}
