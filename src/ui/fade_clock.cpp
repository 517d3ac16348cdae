// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fade_clock.h"

FadeClock::FadeClock(QObject *parent) : QObject(parent)
{
    m_animation.setStartValue(0.0);
    m_animation.setEndValue(1.0);
    m_animation.setDuration(std::max(m_duration, 1));
    connect(&m_animation, &QVariantAnimation::valueChanged, this,
            [this](const QVariant &value) { step(value.toReal()); });
    connect(&m_animation, &QAbstractAnimation::finished, this, &FadeClock::finish);
    connect(&m_animation, &QAbstractAnimation::stateChanged, this, &FadeClock::runningChanged);
}

int FadeClock::defaultDuration()
{
    return qgetenv("OLVI_FADES") == "off" ? 0 : 120;
}

void FadeClock::setDuration(int ms)
{
    if (ms == m_duration)
        return;
    m_duration = std::max(ms, 0);
    m_animation.setDuration(std::max(m_duration, 1));
    Q_EMIT durationChanged();
}

void FadeClock::fade(QQuickItem *item, qreal to, qreal from)
{
    if (item)
        begin(item, from >= 0 ? from : item->opacity(), to, QEasingCurve::OutCubic, false);
}

void FadeClock::flash(QQuickItem *item, qreal from)
{
    if (item)
        begin(item, from, 0, QEasingCurve::InQuad, true);
}

void FadeClock::openChange()
{
    if (std::exchange(m_changeOpen, true))
        return;
    QMetaObject::invokeMethod(this, [this] { m_changeOpen = false; }, Qt::QueuedConnection);
    m_skipping = running();
    if (m_skipping) {
        // What still fades jumps to its end. The clock starts again with
        // this change, so that the next key's change is told from it too.
        finish();
        m_animation.stop();
        m_animation.start();
    }
}

void FadeClock::begin(QQuickItem *item, qreal from, qreal to, QEasingCurve::Type curve, bool flash)
{
    if (m_duration == 0) {
        item->setOpacity(to);
        return;
    }
    openChange();
    // A fade of this item begun earlier in this change is superseded.
    m_fades.removeIf([item](const Fade &f) { return f.item == item; });
    if (from == to || (m_skipping && !flash)) {
        item->setOpacity(to);
        return;
    }
    m_fades.append({item, from, to, QEasingCurve(curve)});
    item->setOpacity(from);
    if (!running())
        m_animation.start();
}

void FadeClock::step(qreal progress)
{
    for (const Fade &f : std::as_const(m_fades)) {
        if (f.item)
            f.item->setOpacity(f.from + (f.to - f.from) * f.curve.valueForProgress(progress));
    }
}

void FadeClock::finish()
{
    for (const Fade &f : std::exchange(m_fades, {})) {
        if (f.item)
            f.item->setOpacity(f.to);
    }
}
