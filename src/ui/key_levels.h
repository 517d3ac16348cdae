// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMap>
#include <QObject>
#include <QQmlEngine>
#include <QString>

// How often each key is mistyped, for the keyboard's heat map: a key's
// lower-case character to its level (absent or at most 0.001: no errors;
// above 1 drawn as 1).
class KeyLevels
{
    Q_GADGET
    QML_VALUE_TYPE(keyLevels)

public:
    QMap<QString, double> levels;

    friend bool operator==(const KeyLevels &, const KeyLevels &) = default;
};
