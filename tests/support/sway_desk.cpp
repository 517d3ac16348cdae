// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sway_desk.h"

#include "virtual_keyboard_unstable_v1_client.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstring>

#include <pwd.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

namespace {

struct Globals
{
    wl_seat *seat = nullptr;
    zwp_virtual_keyboard_manager_v1 *manager = nullptr;
};

void global(void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t)
{
    auto *found = static_cast<Globals *>(data);
    if (!found->seat && qstrcmp(interface, wl_seat_interface.name) == 0)
        found->seat = static_cast<wl_seat *>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (qstrcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0)
        found->manager = static_cast<zwp_virtual_keyboard_manager_v1 *>(
            wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
}

void globalRemoved(void *, wl_registry *, uint32_t) {}

const wl_registry_listener registryListener{global, globalRemoved};

} // namespace

SwayDesk::SwayDesk() = default;

SwayDesk::~SwayDesk()
{
    if (m_keyboard)
        zwp_virtual_keyboard_v1_destroy(m_keyboard);
    if (m_manager)
        zwp_virtual_keyboard_manager_v1_destroy(m_manager);
    if (m_seat)
        wl_seat_destroy(m_seat);
    if (m_display)
        wl_display_disconnect(m_display);
    xkb_state_unref(m_state);
    xkb_keymap_unref(m_keymap);
    xkb_context_unref(m_xkb);
    if (m_sway.state() != QProcess::NotRunning) {
        m_sway.terminate();
        if (!m_sway.waitForFinished(5000)) {
            m_sway.kill();
            m_sway.waitForFinished(5000);
        }
    }
}

bool SwayDesk::start(QSize screen)
{
    if (QStandardPaths::findExecutable(QStringLiteral("sway")).isEmpty()) {
        m_error = QStringLiteral("sway is not installed (scripts/setup installs it)");
        return false;
    }
    m_asNobody = ::geteuid() == 0;
    if (m_asNobody) {
        const passwd *nobody = ::getpwnam("nobody");
        if (!nobody) {
            m_error = QStringLiteral("sway does not run as root, and there is no user nobody");
            return false;
        }
        m_uid = nobody->pw_uid;
        m_gid = nobody->pw_gid;
    }
    QFile config(m_home.filePath(QStringLiteral("config")));
    if (!m_home.isValid() || !config.open(QIODevice::WriteOnly)) {
        m_error = QStringLiteral("no folder for sway");
        return false;
    }
    // Held keys repeat quickly, so a short hold repeats many times. sway runs
    // `exec` once it takes clients: the socket's name on standard output says so.
    config.write(QStringLiteral("xwayland disable\n"
                                "output * mode --custom %1x%2\n"
                                "default_border none\n"
                                "input type:keyboard repeat_delay 100\n"
                                "input type:keyboard repeat_rate 50\n"
                                "exec echo \"$WAYLAND_DISPLAY\"\n")
                     .arg(screen.width())
                     .arg(screen.height())
                     .toUtf8());
    config.close();
    handOver(m_home.path());

    QProcessEnvironment env = environment();
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("WLR_BACKENDS"), QStringLiteral("headless"));
    env.insert(QStringLiteral("WLR_LIBINPUT_NO_DEVICES"), QStringLiteral("1"));
    env.insert(QStringLiteral("WLR_RENDERER"), QStringLiteral("pixman"));
    m_sway.setProcessEnvironment(env);
    m_sway.setStandardErrorFile(m_home.filePath(QStringLiteral("sway.log")));
    run(m_sway, QStringLiteral("sway"), {QStringLiteral("-c"), config.fileName()});
    QByteArray out;
    const QDeadlineTimer deadline(15000);
    while (!out.contains('\n') && m_sway.waitForReadyRead(int(deadline.remainingTime())))
        out += m_sway.readAllStandardOutput();
    if (!out.contains('\n')) {
        QFile log(m_home.filePath(QStringLiteral("sway.log")));
        m_error = QStringLiteral("sway did not start: ")
                  + (log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll().right(600))
                                                   : m_sway.errorString());
        return false;
    }
    m_socket = m_home.filePath(QString::fromLocal8Bit(out.trimmed()));
    // Without the keyboard no key can be pressed: the test fails, it is not skipped.
    if (!plugKeyboardIn())
        m_error = QStringLiteral("sway took no virtual keyboard with the layouts us,ru");
    return true;
}

bool SwayDesk::plugKeyboardIn()
{
    m_display = wl_display_connect(QFile::encodeName(m_socket).constData());
    if (!m_display)
        return false;
    Globals found;
    wl_registry *registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(registry, &registryListener, &found);
    wl_display_roundtrip(m_display);
    wl_registry_destroy(registry);
    m_seat = found.seat;
    m_manager = found.manager;
    m_xkb = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    const xkb_rule_names names{"evdev", "pc105", "us,ru", "", ""};
    if (!m_seat || !m_manager || !m_xkb)
        return false;
    m_keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(m_manager, m_seat);
    // Without a keymap no key is found, so none is ever pressed.
    m_keymap = xkb_keymap_new_from_names(m_xkb, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (!m_keymap)
        return false;
    m_state = xkb_state_new(m_keymap);
    // The compositor maps the keymap from a file.
    char *text = xkb_keymap_get_as_string(m_keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    const size_t size = std::strlen(text) + 1;
    const int fd = ::memfd_create("keymap", MFD_CLOEXEC);
    const bool written = fd >= 0 && ::write(fd, text, size) == ssize_t(size);
    std::free(text);
    if (written)
        zwp_virtual_keyboard_v1_keymap(m_keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                       uint32_t(size));
    if (fd >= 0)
        ::close(fd);
    m_clock.start();
    return written && wl_display_roundtrip(m_display) >= 0;
}

QProcessEnvironment SwayDesk::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_SESSION_TYPE"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("HOME"), m_home.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.path());
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), QDir(m_home.path()).relativeFilePath(m_socket));
    return env;
}

void SwayDesk::run(QProcess &process, const QString &program, const QStringList &arguments) const
{
    if (!m_asNobody) {
        process.start(program, arguments);
        return;
    }
    // setpriv becomes the program: the process's id is the program's.
    process.start(QStringLiteral("setpriv"),
                  QStringList{QStringLiteral("--reuid=%1").arg(m_uid),
                              QStringLiteral("--regid=%1").arg(m_gid),
                              QStringLiteral("--clear-groups"), QStringLiteral("--"), program}
                      + arguments);
}

void SwayDesk::handOver(const QString &path) const
{
    if (!m_asNobody)
        return;
    QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    for (QString file = path; !file.isEmpty(); file = it.hasNext() ? it.next() : QString())
        static_cast<void>(::chown(QFile::encodeName(file).constData(), m_uid, m_gid));
}

QString SwayDesk::copyIn(const QString &program) const
{
    const QString copy = m_home.filePath(QFileInfo(program).fileName());
    if (!QFile::exists(copy))
        QFile::copy(program, copy);
    handOver(copy);
    return copy;
}

void SwayDesk::sendModifiers()
{
    zwp_virtual_keyboard_v1_modifiers(m_keyboard,
                                      xkb_state_serialize_mods(m_state, XKB_STATE_MODS_DEPRESSED),
                                      xkb_state_serialize_mods(m_state, XKB_STATE_MODS_LATCHED),
                                      xkb_state_serialize_mods(m_state, XKB_STATE_MODS_LOCKED),
                                      uint32_t(m_group));
}

void SwayDesk::lockGroup(int group)
{
    m_group = group;
    if (!m_state)
        return;
    xkb_state_update_mask(m_state, xkb_state_serialize_mods(m_state, XKB_STATE_MODS_DEPRESSED), 0,
                          0, 0, 0, xkb_layout_index_t(group));
    sendModifiers();
    sync();
}

void SwayDesk::fake(unsigned keycode, bool down)
{
    // The compositor takes a virtual keyboard's modifiers only from the
    // modifiers request: Shift and Control are told as a real keyboard's
    // state would have them.
    xkb_state_update_key(m_state, keycode, down ? XKB_KEY_DOWN : XKB_KEY_UP);
    zwp_virtual_keyboard_v1_key(m_keyboard, uint32_t(m_clock.elapsed()), keycode - 8,
                                down ? WL_KEYBOARD_KEY_STATE_PRESSED
                                     : WL_KEYBOARD_KEY_STATE_RELEASED);
    sendModifiers();
}

void SwayDesk::sync()
{
    wl_display_roundtrip(m_display);
}

std::optional<Desk::Key> SwayDesk::find(const QString &ch) const
{
    const QList<uint> ucs = ch.toUcs4();
    if (!m_keymap || ucs.size() != 1)
        return std::nullopt;
    for (xkb_keycode_t kc = xkb_keymap_min_keycode(m_keymap); kc <= xkb_keymap_max_keycode(m_keymap);
         ++kc) {
        const xkb_layout_index_t groups = xkb_keymap_num_layouts_for_key(m_keymap, kc);
        if (groups == 0)
            continue;
        // Keys with fewer groups (space, digits) wrap round, as the compositor's do.
        const xkb_layout_index_t group = xkb_layout_index_t(m_group) % groups;
        const xkb_level_index_t levels = xkb_keymap_num_levels_for_key(m_keymap, kc, group);
        for (xkb_level_index_t level = 0; level < std::min(levels, 2u); ++level) {
            const xkb_keysym_t *syms = nullptr;
            if (xkb_keymap_key_get_syms_by_level(m_keymap, kc, group, level, &syms) == 1
                && xkb_keysym_to_utf32(syms[0]) == ucs.first())
                return Key{kc, level == 1};
        }
    }
    return std::nullopt;
}

unsigned SwayDesk::keycode(const char *keysymName) const
{
    const xkb_keysym_t sym = xkb_keysym_from_name(keysymName, XKB_KEYSYM_NO_FLAGS);
    for (xkb_keycode_t kc = xkb_keymap_min_keycode(m_keymap);
         m_keymap && sym != XKB_KEY_NoSymbol && kc <= xkb_keymap_max_keycode(m_keymap); ++kc) {
        const xkb_keysym_t *syms = nullptr;
        if (xkb_keymap_key_get_syms_by_level(m_keymap, kc, 0, 0, &syms) == 1 && syms[0] == sym)
            return kc;
    }
    return 0;
}

std::optional<QByteArray> SwayDesk::tool(const QString &program, const QStringList &arguments) const
{
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(program, arguments);
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished(1000);
        return std::nullopt;
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return std::nullopt;
    return p.readAllStandardOutput();
}

QImage SwayDesk::grab() const
{
    const auto ppm = tool(QStringLiteral("grim"), {QStringLiteral("-t"), QStringLiteral("ppm"),
                                                    QStringLiteral("-")});
    return ppm ? QImage::fromData(*ppm, "PPM").convertToFormat(QImage::Format_RGB32) : QImage();
}

bool SwayDesk::swaymsg(const QString &command) const
{
    const QStringList ipc = QDir(m_home.path()).entryList({QStringLiteral("sway-ipc.*.sock")},
                                                          QDir::System);
    return !ipc.isEmpty()
           && tool(QStringLiteral("swaymsg"),
                   {QStringLiteral("-s"), m_home.filePath(ipc.first()), command});
}

bool SwayDesk::focus(const QString &title)
{
    return swaymsg(QStringLiteral("[title=\"^%1$\"] focus").arg(title));
}

void SwayDesk::close(const QString &title)
{
    swaymsg(QStringLiteral("[title=\"^%1$\"] kill").arg(title));
}
