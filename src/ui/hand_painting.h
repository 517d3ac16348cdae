// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QQmlEngine>
#include <QQuickPaintedItem>

// One part of the drawing of a right hand, painted once and kept as an image:
// the hands fade a lit finger in by blending such an image over the plain
// hand, so an animation frame never rasterises a path again. The item is
// `margin` wider than the hand's frame, to the left, where the thumb and its
// outline reach.
class HandPainting : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(Part part READ part WRITE setPart NOTIFY partChanged)
    Q_PROPERTY(double margin READ margin CONSTANT)

public:
    enum Part {
        Base,   // the outline of every part, the thumb and the fingers, plain
        Thumb,  // the thumb, lit
        Index,  // one finger, lit
        Middle,
        Ring,
        Pinky,
        Palm,   // the palm, laid over the fingers' bases
    };
    Q_ENUM(Part)

    explicit HandPainting(QQuickItem *parent = nullptr);

    [[nodiscard]] Part part() const { return m_part; }
    void setPart(Part part);
    [[nodiscard]] static double margin() { return 16; }

    void paint(QPainter *painter) override;

Q_SIGNALS:
    void partChanged();

private:
    Part m_part = Base;
};
