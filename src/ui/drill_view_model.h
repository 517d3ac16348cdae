// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app_view_model.h"

#include <QObject>
#include <QQmlEngine>
#include <QStringList>

// The ways into a drill: the button naming the keys the learner is least
// sure of, the course sidebar's offer when some key is well above the
// learner's own average, and the keys of the error map that a click drills.
class DrillViewModel : public AppViewModel
{
    Q_OBJECT
    QML_ELEMENT
    // Enough practice for the keys to be told apart (Drill::offered).
    Q_PROPERTY(bool offered READ offered NOTIFY offeredChanged)
    // "Работа над ошибками: ж, э, ф".
    Q_PROPERTY(QString buttonText READ buttonText NOTIFY buttonTextChanged)
    // Some key is well above the learner's average (Drill::needed): the
    // sidebar offers a drill of those keys, named by neededText.
    Q_PROPERTY(bool needed READ needed NOTIFY neededChanged)
    Q_PROPERTY(QString neededText READ neededText NOTIFY neededChanged)
    // The keys a click on the error map may drill: the unlocked letters.
    Q_PROPERTY(QStringList pickable READ pickable NOTIFY pickableChanged)

public:
    explicit DrillViewModel(QObject *parent = nullptr);

    [[nodiscard]] bool offered() const { return m_offered; }
    [[nodiscard]] QString buttonText() const { return m_buttonText; }
    [[nodiscard]] bool needed() const { return !m_needed.isEmpty(); }
    [[nodiscard]] QString neededText() const { return m_neededText; }
    [[nodiscard]] QStringList pickable() const { return m_pickable; }

    // A drill of the keys the button names.
    Q_INVOKABLE void start();
    // A drill of one key.
    Q_INVOKABLE void startKey(const QString &key);
    // A drill of the keys the sidebar offers.
    Q_INVOKABLE void startNeeded();

Q_SIGNALS:
    void offeredChanged();
    void buttonTextChanged();
    void neededChanged();
    void pickableChanged();

private:
    void refresh() override;

    bool m_offered = false;
    QString m_buttonText;
    QStringList m_focus;
    QStringList m_needed;
    QString m_neededText;
    QStringList m_pickable;
};
