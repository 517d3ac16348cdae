// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard_painting.h"

#include "keyboard_view_model.h"
#include "theme.h"

#include <QFontMetricsF>
#include <QPainter>

namespace {

constexpr double radius = 8;

// A key's label, centred in `box`: what Shift types on a digit key beside
// its digit, as KeyCapView lays them out.
void drawLabel(QPainter *p, const QRectF &box, const KeyCap &cap, double keySize, QColor color,
               QFont::Weight weight)
{
    QFont big(Theme::instance()->monoFamily());
    big.setPixelSize(qRound(keySize * 0.3));
    big.setWeight(weight);
    QFont small = big;
    small.setPixelSize(qRound(keySize * 0.26));
    const QString label = cap.label();
    const QString shifted = cap.shiftLabel();
    const QFontMetricsF bigMetrics(big);
    const QFontMetricsF smallMetrics(small);
    const double spacing = shifted.isEmpty() ? 0 : keySize * 0.12;
    const double shiftedWidth = shifted.isEmpty() ? 0 : smallMetrics.horizontalAdvance(shifted);
    const double width = shiftedWidth + spacing + bigMetrics.horizontalAdvance(label);
    double x = box.center().x() - width / 2;
    p->setPen(color);
    if (!shifted.isEmpty()) {
        p->setFont(small);
        p->drawText(QPointF(x, box.center().y() - smallMetrics.height() / 2
                                   + smallMetrics.ascent()),
                    shifted);
        x += shiftedWidth + spacing;
    }
    p->setFont(big);
    p->drawText(QPointF(x, box.center().y() - bigMetrics.height() / 2 + bigMetrics.ascent()),
                label);
}

// A rounded cap with a 1-pixel frame inside its edge.
void drawCap(QPainter *p, const QRectF &r, QColor fill, QColor frame)
{
    p->setPen(Qt::NoPen);
    p->setBrush(fill);
    p->drawRoundedRect(r, radius, radius);
    p->setPen(QPen(frame, 1));
    p->setBrush(Qt::NoBrush);
    p->drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius - 0.5, radius - 0.5);
}

} // namespace

KeyboardPainting::KeyboardPainting(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
    connect(Theme::instance(), &Theme::paletteChanged, this, [this] { update(); });
    setImplicitSize(KeyboardViewModel::trainingSize(m_keySize).width(),
                    KeyboardViewModel::trainingSize(m_keySize).height());
}

void KeyboardPainting::setKeyboard(KeyboardViewModel *keyboard)
{
    if (keyboard == m_keyboard)
        return;
    m_keyboard = keyboard;
    update();
    Q_EMIT keyboardChanged();
}

void KeyboardPainting::setKeySize(double size)
{
    if (size == m_keySize)
        return;
    m_keySize = size;
    const QSizeF whole = KeyboardViewModel::trainingSize(size);
    setImplicitSize(whole.width(), whole.height());
    update();
    Q_EMIT keySizeChanged();
}

void KeyboardPainting::paint(QPainter *p)
{
    if (!m_keyboard)
        return;
    const Theme *theme = Theme::instance();
    p->setRenderHint(QPainter::Antialiasing);
    for (const QList<KeyCap *> &row : m_keyboard->rows()) {
        for (const KeyCap *cap : row) {
            const QRectF r = KeyboardViewModel::keyRect(cap->character(), m_keySize);
            const KeyCap::State &s = cap->state();
            drawCap(p, r, s.fill, s.borderColor);
            p->setPen(Qt::NoPen);
            if (s.zoneBarShown) {
                // The finger's zone, as a strip near the bottom edge.
                p->setBrush(cap->zoneBarColor());
                p->drawRoundedRect(QRectF(r.left() + 5, r.bottom() - 8, r.width() - 10, 4), 2, 2);
            }
            if (s.homeBumpShown) {
                // The tactile bump of a home key.
                p->setBrush(m_keyboard->bumpColor());
                p->drawRoundedRect(QRectF(r.center().x() - 7, r.bottom() - 14, 14, 3), 1.5, 1.5);
            }
            drawLabel(p, r, *cap, m_keySize, s.labelColor, QFont::Normal);
        }
    }
    // Shift, space and Shift, unlit: a lit one is laid over.
    const QColor frame = m_keyboard->frameColor();
    drawCap(p, KeyboardViewModel::keyRect(QStringLiteral(" "), m_keySize), theme->keyBase(), frame);
    QFont shiftFont;
    shiftFont.setPixelSize(theme->property("typeNote").toInt());
    shiftFont.setWeight(QFont::Medium);
    for (const auto *side : {"leftShift", "rightShift"}) {
        const QRectF r = KeyboardViewModel::keyRect(QString::fromLatin1(side), m_keySize);
        drawCap(p, r, theme->bar(), frame);
        p->setFont(shiftFont);
        p->setPen(theme->inkFaint());
        p->drawText(r, Qt::AlignCenter, QStringLiteral("⇧"));
    }
}

NextKeyPainting::NextKeyPainting(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
    connect(Theme::instance(), &Theme::paletteChanged, this, [this] { update(); });
    relayout();
}

void NextKeyPainting::setKeyboard(KeyboardViewModel *keyboard)
{
    if (keyboard == m_keyboard)
        return;
    m_keyboard = keyboard;
    update();
    Q_EMIT keyboardChanged();
}

void NextKeyPainting::setCharacter(const QString &character)
{
    if (character == m_character)
        return;
    m_character = character;
    relayout();
    Q_EMIT characterChanged();
}

void NextKeyPainting::setKeySize(double size)
{
    if (size == m_keySize)
        return;
    m_keySize = size;
    relayout();
    Q_EMIT keySizeChanged();
}

void NextKeyPainting::relayout()
{
    const QRectF key = KeyboardViewModel::keyRect(m_character, m_keySize);
    setImplicitSize(m_keySize + 2 * margin(), (key.isNull() ? m_keySize : key.height()) + 2 * margin());
    update();
}

void NextKeyPainting::paint(QPainter *p)
{
    const KeyCap *cap = m_keyboard ? m_keyboard->cap(m_character) : nullptr;
    if (!cap)
        return;
    const Theme *theme = Theme::instance();
    const QRectF key(margin(), margin(), width() - 2 * margin(), height() - 2 * margin());
    p->setRenderHint(QPainter::Antialiasing);
    p->setPen(Qt::NoPen);
    // A soft accent glow 2 px below the key: widening translucent layers
    // stand in for a blur of about 5 px.
    QColor glow = theme->accent();
    const QRectF below = key.translated(0, 2);
    for (const auto &[spread, opacity] : {std::pair(5.0, 0.3), {3.0, 0.4}, {1.0, 0.5}}) {
        glow.setAlphaF(float(0.45 * opacity));
        p->setBrush(glow);
        p->drawRoundedRect(below.adjusted(-spread, -spread, spread, spread), radius + spread,
                           radius + spread);
    }
    drawCap(p, key, theme->accent(), theme->accentDeep());
    drawLabel(p, key, *cap, m_keySize, theme->onAccent(), QFont::DemiBold);
}
