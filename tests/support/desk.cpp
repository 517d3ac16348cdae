// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "desk.h"

#include <QRect>
#include <QThread>

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

bool Desk::press(const char *keysymName)
{
    return pressChord(nullptr, keysymName);
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
    // Holding a key is the action under test: its length is the point.
    QThread::msleep(ulong(ms));
    fake(key->keycode, false);
    sync();
    return true;
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
