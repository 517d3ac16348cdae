// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "russian_layout.h"

#include <QObject>
#include <QQmlEngine>
#include <QString>

// The character to type next and how it is struck, worked out once per
// keystroke and shown alike by the hint, the keyboard and the hands.
class NextKey
{
    Q_GADGET
    QML_VALUE_TYPE(nextKey)
    Q_PROPERTY(QString character READ character CONSTANT)
    Q_PROPERTY(QString hint READ hint CONSTANT)

public:
    NextKey() = default;
    // Nothing to type: an empty character.
    [[nodiscard]] static NextKey of(const QString &character);

    [[nodiscard]] const QString &character() const { return m_character; }
    [[nodiscard]] const Stroke &stroke() const { return m_stroke; }
    // The lower-case character of the key to mark, "" for none.
    [[nodiscard]] QString keyCharacter() const;
    // The finger that strikes on each hand: the key's, or the pinky holding Shift.
    [[nodiscard]] std::optional<Finger> finger(Hand hand) const;
    // "О — правый указательный", "пробел — большим пальцем", …
    [[nodiscard]] const QString &hint() const { return m_hint; }
    // The finger that strikes `key`: "левый мизинец", "правый указательный", …
    [[nodiscard]] static QString fingerName(const KeyDef &key);

    friend bool operator==(const NextKey &, const NextKey &) = default;

private:
    QString m_character;
    Stroke m_stroke;
    QString m_hint = QStringLiteral(" ");
};

// The last wrong key struck: what it typed, and a count that tells one
// strike of it from the next.
struct KeyStrike
{
    Q_GADGET
    QML_VALUE_TYPE(keyStrike)

public:
    QString character;
    quint64 serial = 0; // 0: none yet

    friend bool operator==(const KeyStrike &, const KeyStrike &) = default;
};
