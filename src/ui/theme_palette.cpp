// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "theme_palette.h"

const ThemePalette &ThemePalette::light()
{
    static const ThemePalette palette{
        QColor(227, 230, 224), QColor(241, 242, 238), QColor(236, 238, 232),
        QColor(250, 251, 248), QColor(28, 36, 36),    QColor(98, 107, 105),
        QColor(144, 155, 152), QColor(223, 226, 219), QColor(42, 127, 127),
        QColor(30, 95, 95),    QColor(176, 58, 58),   QColor(253, 254, 251),
        QColor(192, 199, 194), QColor(244, 250, 248), QColor(232, 145, 107),
        QColor(210, 103, 58),
    };
    return palette;
}

const ThemePalette &ThemePalette::dark()
{
    static const ThemePalette palette{
        QColor(12, 19, 19),    QColor(18, 27, 27),    QColor(24, 34, 34),
        QColor(30, 42, 42),    QColor(228, 235, 232), QColor(155, 168, 164),
        QColor(110, 123, 119), QColor(44, 58, 56),    QColor(95, 179, 176),
        QColor(124, 199, 196), QColor(208, 90, 90),   QColor(34, 48, 48),
        QColor(78, 92, 89),    QColor(14, 35, 33),    QColor(201, 124, 85),
        QColor(239, 160, 117),
    };
    return palette;
}

QColor zoneBarColor(Finger finger)
{
    switch (finger) {
    case Finger::pinky: return QColor(190, 140, 204);
    case Finger::ring: return QColor(183, 218, 246);
    case Finger::middle: return QColor(95, 163, 145);
    case Finger::index: return QColor(242, 220, 164);
    }
    return QColor(Qt::gray);
}

QColor zoneTintColor(Finger finger, bool dark)
{
    QColor c = zoneBarColor(finger);
    c.setAlphaF(dark ? 0.16f : 0.28f);
    return c;
}
