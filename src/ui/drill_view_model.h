// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app_view_model.h"

#include <QObject>
#include <QQmlEngine>
#include <QStringList>

// The ways into a drill: the button naming the keys the learner is least
// sure of, and the keys of the error map that a click drills.
class DrillViewModel : public AppViewModel
{
    Q_OBJECT
    QML_ELEMENT
    // Enough practice for the keys to be told apart (Drill::offered).
    Q_PROPERTY(bool offered READ offered NOTIFY offeredChanged)
    // "Работа над ошибками: ж, э, ф".
    Q_PROPERTY(QString buttonText READ buttonText NOTIFY buttonTextChanged)
    // The keys a click on the error map may drill: the unlocked letters.
    Q_PROPERTY(QStringList pickable READ pickable NOTIFY pickableChanged)

public:
    explicit DrillViewModel(QObject *parent = nullptr);

    [[nodiscard]] bool offered() const { return m_offered; }
    [[nodiscard]] QString buttonText() const { return m_buttonText; }
    [[nodiscard]] QStringList pickable() const { return m_pickable; }

    // A drill of the keys the button names.
    Q_INVOKABLE void start();
    // A drill of one key.
    Q_INVOKABLE void startKey(const QString &key);

Q_SIGNALS:
    void offeredChanged();
    void buttonTextChanged();
    void pickableChanged();

private:
    void refresh() override;

    bool m_offered = false;
    QString m_buttonText;
    QStringList m_focus;
    QStringList m_pickable;
};
