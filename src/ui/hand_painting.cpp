// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "hand_painting.h"

#include "hands_view_model.h"
#include "theme.h"

#include <QPainter>

HandPainting::HandPainting(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
    setImplicitSize(HandGeometry::frameWidth + margin(), HandGeometry::frameHeight);
    connect(Theme::instance(), &Theme::paletteChanged, this, [this] { update(); });
}

void HandPainting::setPart(Part part)
{
    if (m_part == part)
        return;
    m_part = part;
    update();
    Q_EMIT partChanged();
}

void HandPainting::paint(QPainter *painter)
{
    using namespace HandGeometry;
    const Theme *theme = Theme::instance();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate(margin(), 0);
    painter->setPen(Qt::NoPen);
    // fingers() runs index, middle, ring, pinky, as the parts do.
    const auto fingerOf = [](Part part) { return fingers().at(int(part) - int(Index)); };

    switch (m_part) {
    case Base: {
        // A 5 px outline of every part lies under the fills of the same parts,
        // so the fills hide its inner half and every stretch inside another
        // part: one contour runs around the whole hand.
        QPainterPath all = thumb();
        for (const FingerGeometry &f : fingers())
            all.addPath(finger(f));
        all.addPath(palm());
        QPen outline(theme->inkOutline(), 5);
        outline.setJoinStyle(Qt::MiterJoin);
        painter->strokePath(all, outline);
        painter->fillPath(thumb(), theme->thumbSoft());
        static constexpr int zones[] = {int(Finger::index), int(Finger::middle),
                                        int(Finger::ring), int(Finger::pinky)};
        for (int i = 0; i < 4; ++i)
            painter->fillPath(finger(fingers().at(i)), theme->zoneBar(zones[i]));
        break;
    }
    case Thumb: painter->fillPath(thumb(), theme->thumbAccent()); break;
    case Index:
    case Middle:
    case Ring:
    case Pinky: painter->fillPath(finger(fingerOf(m_part)), theme->accent()); break;
    case Palm: painter->fillPath(palm(), theme->card()); break;
    }
}
