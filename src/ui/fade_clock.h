// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEasingCurve>
#include <QPointer>
#include <QQmlEngine>
#include <QQuickItem>
#include <QVariantAnimation>

// The one clock of the training screen's fades: the next key's look on the
// keyboard, the lit fingers and the flash of a wrong key. Every fade it runs
// moves the opacity of an item painted once, and all of them step together,
// so an animation frame repaints each changed part once and nothing is
// rasterised again while it fades.
//
// The fades begun in one turn of the event loop are one change (a keystroke's).
// A change that comes while the last one still fades ends what fades at once,
// and its own fades start at their ends: a typist whose keys come faster than
// the fades sees each key's state at once, and no frame of an old fade comes
// between a key and the next one. A flash is the exception: it always starts
// at full strength and fades, since where a wrong stroke went must be seen;
// the next change cuts it short. OLVI_FADES=off in the environment switches
// the fades off, for benchmarks to show what they cost.
class FadeClock : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(int duration READ duration WRITE setDuration NOTIFY durationChanged)
    Q_PROPERTY(bool running READ running NOTIFY runningChanged)

public:
    explicit FadeClock(QObject *parent = nullptr);

    [[nodiscard]] int duration() const { return m_duration; }
    void setDuration(int ms);
    [[nodiscard]] bool running() const
    {
        return m_animation.state() == QAbstractAnimation::Running;
    }
    // 120 ms, or 0 when the environment switches fades off.
    [[nodiscard]] static int defaultDuration();

    // Eases `item`'s opacity out from where it is (or from `from`, when given
    // as 0…1) to `to`.
    Q_INVOKABLE void fade(QQuickItem *item, qreal to, qreal from = -1);
    // Shows `item` at opacity `from` at once and fades it out, easing in so
    // that it holds most of its colour for the first half of the fade.
    Q_INVOKABLE void flash(QQuickItem *item, qreal from);

Q_SIGNALS:
    void durationChanged();
    void runningChanged();

private:
    struct Fade
    {
        QPointer<QQuickItem> item;
        qreal from = 0;
        qreal to = 0;
        QEasingCurve curve;
    };

    void begin(QQuickItem *item, qreal from, qreal to, QEasingCurve::Type curve, bool flash);
    void openChange();
    void step(qreal progress);
    void finish();

    int m_duration = defaultDuration();
    QVariantAnimation m_animation;
    QList<Fade> m_fades;
    bool m_changeOpen = false; // fades begun now belong to the change under way
    bool m_skipping = false;   // that change came while the one before still faded
};
