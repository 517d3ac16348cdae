// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "desk.h"

#include <QRect>
#include <QThread>

#include <xkbcommon/xkbcommon.h>

Desk::Desk()
{
    xkb_context *context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    const xkb_rule_names names{"evdev", "pc105", "us,ru", "", ""};
    m_keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    xkb_context_unref(context); // the keymap holds on to it
}

Desk::~Desk()
{
    xkb_keymap_unref(m_keymap);
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

void Desk::strike(const Key &key)
{
    chord(key.shift ? keycode("Shift_L") : 0, key.keycode);
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
