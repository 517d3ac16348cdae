// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app_view_model.h"

#include <QDateTime>
#include <QObject>
#include <QQmlEngine>
#include <QStringList>

#include <functional>

class AppState;

// The window header: tabs, the streak and the menu (colour scheme, keys).
class RootViewModel : public AppViewModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QStringList tabTitles READ tabTitles CONSTANT)
    Q_PROPERTY(QStringList appearanceTitles READ appearanceTitles CONSTANT)
    Q_PROPERTY(QString streakText READ streakText NOTIFY profileChanged)
    Q_PROPERTY(int appearanceIndex READ appearanceIndex NOTIFY profileChanged)
    // Keys type by their places in the Russian layout (the menu's tick).
    Q_PROPERTY(bool physicalKeys READ physicalKeys NOTIFY profileChanged)
    // Empty while progress is saved; otherwise why it is not.
    Q_PROPERTY(QString storageNote READ storageNote NOTIFY storageNoteChanged)
    // Said once, until dismissed: the profile file found at start could not be
    // read, where it was kept and how to get it back. Empty otherwise.
    Q_PROPERTY(QString recoveryNote READ recoveryNote NOTIFY recoveryNoteChanged)

public:
    explicit RootViewModel(QObject *parent = nullptr);

    // "Курс", "Тренировка", "Рукопись", "Прогресс".
    [[nodiscard]] static QString tabTitle(AppState::Tab tab);
    [[nodiscard]] static QStringList tabTitles();
    // "Как в системе", "Светлая", "Тёмная": the order of Appearance.
    [[nodiscard]] static QStringList appearanceTitles();
    // "3-й день подряд"; empty without a streak.
    [[nodiscard]] QString streakText() const;
    // The stored preference as an index into appearanceTitles (none: system).
    [[nodiscard]] int appearanceIndex() const;
    [[nodiscard]] QString storageNote() const;
    [[nodiscard]] bool physicalKeys() const;
    [[nodiscard]] QString recoveryNote() const;

    // Shows a tab; the training tab starts an exercise when there is none.
    Q_INVOKABLE void switchTo(int tab);
    // Stores the chosen preference and applies it.
    Q_INVOKABLE void chooseAppearance(int index);
    // Turns typing by the keys' places on or off.
    Q_INVOKABLE void togglePhysicalKeys();
    // Pushes the stored preference to the theme.
    Q_INVOKABLE void applyAppearance();
    // The learner has read the recovery note.
    Q_INVOKABLE void dismissRecoveryNote();

Q_SIGNALS:
    void storageNoteChanged();
    void recoveryNoteChanged();

private:
    QList<QMetaObject::Connection> follow(AppState &app) override;

    bool m_recoveryDismissed = false;
};
