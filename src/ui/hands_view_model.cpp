// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "hands_view_model.h"

#include "russian_layout.h"

#include <QPointF>
#include <QTransform>

static_assert(int(Finger::pinky) == HandsViewModel::Pinky
              && int(Finger::ring) == HandsViewModel::Ring
              && int(Finger::middle) == HandsViewModel::Middle
              && int(Finger::index) == HandsViewModel::Index);

namespace {

constexpr QPointF centre{HandGeometry::frameWidth / 2, HandGeometry::frameHeight / 2};

// A vertical capsule `width` by `height` centred at `offset` from the frame's
// centre, turned by `angle` degrees about the middle of its bottom edge.
QPainterPath capsule(double width, double height, double angle, QPointF offset)
{
    const QPointF c = centre + offset;
    QPainterPath path;
    path.addRoundedRect(QRectF(c.x() - width / 2, c.y() - height / 2, width, height), width / 2,
                        width / 2);
    QTransform turn;
    turn.translate(c.x(), c.y() + height / 2);
    turn.rotate(angle);
    turn.translate(-c.x(), -(c.y() + height / 2));
    return turn.map(path);
}

} // namespace

namespace HandGeometry {

const std::array<FingerGeometry, 4> &fingers()
{
    static const std::array<FingerGeometry, 4> list{{
        {19, 56, -22, -6}, // index
        {19, 64, -3, -1},  // middle
        {18, 58, 16, 5},   // ring
        {15, 42, 32, 13},  // pinky
    }};
    return list;
}

QPainterPath thumb()
{
    return capsule(21, 48, -44, QPointF(-35, palmOffsetY - 20));
}

QPainterPath finger(const FingerGeometry &f)
{
    // The base sits `overlap` below the palm's top edge, so `length` shows.
    const double y = palmOffsetY - palmHeight / 2 - (f.length - overlap) / 2;
    return capsule(f.width, f.length + overlap, f.angle, QPointF(f.dx, y));
}

QPainterPath palm()
{
    constexpr double top = 16;    // corner radius
    constexpr double bottom = 34; // corner radius
    const double l = centre.x() - palmWidth / 2;
    const double r = centre.x() + palmWidth / 2;
    const double t = centre.y() + palmOffsetY - palmHeight / 2;
    const double b = centre.y() + palmOffsetY + palmHeight / 2;
    QPainterPath path;
    path.moveTo(l + top, t);
    path.lineTo(r - top, t);
    path.arcTo(QRectF(r - 2 * top, t, 2 * top, 2 * top), 90, -90);
    path.lineTo(r, b - bottom);
    path.arcTo(QRectF(r - 2 * bottom, b - 2 * bottom, 2 * bottom, 2 * bottom), 0, -90);
    path.lineTo(l + bottom, b);
    path.arcTo(QRectF(l, b - 2 * bottom, 2 * bottom, 2 * bottom), 270, -90);
    path.lineTo(l, t + top);
    path.arcTo(QRectF(l, t, 2 * top, 2 * top), 180, -90);
    path.closeSubpath();
    return path;
}

} // namespace HandGeometry

HandsViewModel::HandsViewModel(QObject *parent) : QObject(parent) {}

void HandsViewModel::setNext(const NextKey &next)
{
    if (next == m_next)
        return;
    m_next = next;
    const Lit lit{next.finger(Hand::left), next.finger(Hand::right), next.stroke().thumbs};
    if (lit != m_lit) {
        m_lit = lit;
        Q_EMIT litChanged();
    }
    Q_EMIT nextChanged();
}

int HandsViewModel::leftActive() const
{
    return m_lit.left ? int(*m_lit.left) : -1;
}

int HandsViewModel::rightActive() const
{
    return m_lit.right ? int(*m_lit.right) : -1;
}
