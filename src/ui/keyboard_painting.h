// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "keyboard_view_model.h"

#include <QPointer>
#include <QQmlEngine>
#include <QQuickPaintedItem>

class QPainter;

// The training keyboard as one picture: every key in its own look (zone
// tint, zone bar, home bump, frame, label), Shift and space unlit. It is
// painted once, at the screen's pixel density, and again only when the
// scheme or the size changes; what a keystroke changes (the next key, a lit
// Shift, a flash) is laid over it, so a frame of the keyboard blends a few
// small images instead of walking some two hundred items.
class KeyboardPainting : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(KeyboardViewModel *keyboard READ keyboard WRITE setKeyboard NOTIFY keyboardChanged)
    Q_PROPERTY(double keySize READ keySize WRITE setKeySize NOTIFY keySizeChanged)

public:
    explicit KeyboardPainting(QQuickItem *parent = nullptr);

    [[nodiscard]] KeyboardViewModel *keyboard() const { return m_keyboard; }
    void setKeyboard(KeyboardViewModel *keyboard);
    [[nodiscard]] double keySize() const { return m_keySize; }
    void setKeySize(double size);

    void paint(QPainter *painter) override;

Q_SIGNALS:
    void keyboardChanged();
    void keySizeChanged();

private:
    QPointer<KeyboardViewModel> m_keyboard;
    double m_keySize = 52;
};

// The look of the next key, laid over the keyboard picture and faded in and
// out: the accent cap with its glow and the key's label. Painted once per
// key it shows (at the keystroke that makes that key the next one), never
// while it fades. It reaches `margin` beyond the key on every side, for the glow.
class NextKeyPainting : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(KeyboardViewModel *keyboard READ keyboard WRITE setKeyboard NOTIFY keyboardChanged)
    Q_PROPERTY(QString character READ character WRITE setCharacter NOTIFY characterChanged)
    Q_PROPERTY(double keySize READ keySize WRITE setKeySize NOTIFY keySizeChanged)
    Q_PROPERTY(double margin READ margin CONSTANT)

public:
    explicit NextKeyPainting(QQuickItem *parent = nullptr);

    [[nodiscard]] KeyboardViewModel *keyboard() const { return m_keyboard; }
    void setKeyboard(KeyboardViewModel *keyboard);

    [[nodiscard]] QString character() const { return m_character; }
    void setCharacter(const QString &character);
    [[nodiscard]] double keySize() const { return m_keySize; }
    void setKeySize(double size);
    [[nodiscard]] static double margin() { return 6; }

    void paint(QPainter *painter) override;

Q_SIGNALS:
    void keyboardChanged();
    void characterChanged();
    void keySizeChanged();

private:
    void relayout();

    QPointer<KeyboardViewModel> m_keyboard;
    QString m_character;
    double m_keySize = 52;
};
