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

QString point(QPointF p)
{
    return QString::number(p.x(), 'f', 2) + u' ' + QString::number(p.y(), 'f', 2);
}

// A circular arc of radius r, clockwise on screen, to `to`.
QString arc(double r, QPointF to)
{
    const QString radius = QString::number(r, 'f', 2);
    return QStringLiteral(" A ") + radius + u' ' + radius + QStringLiteral(" 0 0 1 ") + point(to);
}

// A vertical capsule `width` by `height` centred at `offset` from the frame's
// centre, turned by `angle` degrees about the middle of its bottom edge.
// Rotation keeps the round ends circular, so they stay arcs.
QString capsule(double width, double height, double angle, QPointF offset)
{
    const QPointF c = centre + offset;
    const QPointF base(c.x(), c.y() + height / 2);
    QTransform turn;
    turn.translate(base.x(), base.y());
    turn.rotate(angle);
    turn.translate(-base.x(), -base.y());
    const double r = width / 2;
    const double straight = height / 2 - r;
    const auto at = [&](double x, double y) { return turn.map(c + QPointF(x, y)); };
    return u'M' + point(at(-r, -straight)) + arc(r, at(r, -straight)) + QStringLiteral(" L ")
           + point(at(r, straight)) + arc(r, at(-r, straight)) + QStringLiteral(" Z");
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

QString thumbPath()
{
    return capsule(21, 48, -44, QPointF(-35, palmOffsetY - 20));
}

QString fingerPath(const FingerGeometry &f)
{
    // The base sits `overlap` below the palm's top edge, so `length` shows.
    const double y = palmOffsetY - palmHeight / 2 - (f.length - overlap) / 2;
    return capsule(f.width, f.length + overlap, f.angle, QPointF(f.dx, y));
}

QString palmPath()
{
    constexpr double top = 16;    // corner radius
    constexpr double bottom = 34; // corner radius
    const double l = centre.x() - palmWidth / 2;
    const double r = centre.x() + palmWidth / 2;
    const double t = centre.y() + palmOffsetY - palmHeight / 2;
    const double b = centre.y() + palmOffsetY + palmHeight / 2;
    return u'M' + point({l + top, t}) + QStringLiteral(" L ") + point({r - top, t})
           + arc(top, {r, t + top}) + QStringLiteral(" L ") + point({r, b - bottom})
           + arc(bottom, {r - bottom, b}) + QStringLiteral(" L ") + point({l + bottom, b})
           + arc(bottom, {l, b - bottom}) + QStringLiteral(" L ") + point({l, t + top})
           + arc(top, {l + top, t}) + QStringLiteral(" Z");
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

QString HandsViewModel::thumbPath()
{
    return HandGeometry::thumbPath();
}

QStringList HandsViewModel::fingerPaths()
{
    QStringList paths;
    for (const auto &f : HandGeometry::fingers())
        paths.append(HandGeometry::fingerPath(f));
    return paths;
}

QString HandsViewModel::palmPath()
{
    return HandGeometry::palmPath();
}

QString HandsViewModel::outlinePath()
{
    return thumbPath() + u' ' + fingerPaths().join(u' ') + u' ' + palmPath();
}
