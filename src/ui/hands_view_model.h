// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "next_key.h"
#include "russian_layout.h"

#include <QObject>
#include <QPainterPath>
#include <QQmlEngine>
#include <QSizeF>
#include <QStringList>

#include <array>
#include <optional>

// The fixed drawing of one hand seen from above: a right hand, centred in its
// frame; the left hand is the same drawing mirrored. Lengths in pixels, x to
// the right and y downwards from the frame's centre.
namespace HandGeometry {

struct FingerGeometry
{
    double width = 0.0;  // of the capsule
    double length = 0.0; // standing above the palm
    double dx = 0.0;     // of the capsule's centre
    double angle = 0.0;  // degrees, clockwise, about the capsule's base
};

inline constexpr double frameWidth = 132;
inline constexpr double frameHeight = 146;
inline constexpr double palmWidth = 84;
inline constexpr double palmHeight = 74;
inline constexpr double palmOffsetY = 32;
// How far each finger reaches down into the palm.
inline constexpr double overlap = 26;

// In drawing order: index, middle, ring, pinky.
[[nodiscard]] const std::array<FingerGeometry, 4> &fingers();

// The parts' outlines in frame coordinates (origin at the frame's top-left).
[[nodiscard]] QPainterPath thumb();
[[nodiscard]] QPainterPath finger(const FingerGeometry &finger);
[[nodiscard]] QPainterPath palm();

} // namespace HandGeometry

// Which fingers of the two hands strike the next character: the key's finger
// on its own hand, the other hand's pinky for Shift, both thumbs for a space.
class HandsViewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(NextKey next READ next WRITE setNext NOTIFY nextChanged)
    // A finger's raw value (FingerId), or -1 for none.
    Q_PROPERTY(int leftActive READ leftActive NOTIFY litChanged)
    Q_PROPERTY(int rightActive READ rightActive NOTIFY litChanged)
    Q_PROPERTY(bool thumbsActive READ thumbsActive NOTIFY litChanged)
    // The frame each hand is drawn in (HandGeometry).
    Q_PROPERTY(QSizeF frameSize READ frameSize CONSTANT)

public:
    // Finger as QML sees it; the same raw values as Finger.
    enum FingerId { Pinky = 0, Ring = 1, Middle = 2, Index = 3 };
    Q_ENUM(FingerId)

    struct Lit
    {
        std::optional<Finger> left;
        std::optional<Finger> right;
        bool thumbs = false;

        friend bool operator==(const Lit &, const Lit &) = default;
    };

    explicit HandsViewModel(QObject *parent = nullptr);

    [[nodiscard]] NextKey next() const { return m_next; }
    void setNext(const NextKey &next);

    [[nodiscard]] int leftActive() const;
    [[nodiscard]] int rightActive() const;
    [[nodiscard]] bool thumbsActive() const { return m_lit.thumbs; }
    [[nodiscard]] static QSizeF frameSize()
    {
        return {HandGeometry::frameWidth, HandGeometry::frameHeight};
    }

Q_SIGNALS:
    void nextChanged();
    void litChanged();

private:
    NextKey m_next;
    Lit m_lit;
};
