// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "root_view_model.h"

#include "app_state.h"
#include "profile_statistics.h"
#include "theme.h"

#include <QDir>
#include <QFileInfo>

RootViewModel::RootViewModel(QObject *parent) : AppViewModel(parent)
{
    connect(this, &AppViewModel::appChanged, this, &RootViewModel::storageNoteChanged);
    connect(this, &AppViewModel::appChanged, this, &RootViewModel::recoveryNoteChanged);
}

QList<QMetaObject::Connection> RootViewModel::follow(AppState &app)
{
    return {connect(app.store(), &ProfileStore::storageProblemChanged, this,
                    &RootViewModel::storageNoteChanged),
            connect(app.store(), &ProfileStore::unreadableCopyChanged, this,
                    &RootViewModel::recoveryNoteChanged)};
}

QString RootViewModel::tabTitle(AppState::Tab tab)
{
    switch (tab) {
    case AppState::Tab::Course: return QStringLiteral("Курс");
    case AppState::Tab::Training: return QStringLiteral("Тренировка");
    case AppState::Tab::Manuscript: return QStringLiteral("Рукопись");
    case AppState::Tab::Progress: return QStringLiteral("Прогресс");
    }
    return {};
}

QStringList RootViewModel::tabTitles()
{
    QStringList titles;
    for (AppState::Tab tab : AppState::allTabs())
        titles << tabTitle(tab);
    return titles;
}

QStringList RootViewModel::appearanceTitles()
{
    return {QStringLiteral("Как в системе"), QStringLiteral("Светлая"), QStringLiteral("Тёмная")};
}

QString RootViewModel::streakText() const
{
    if (!app())
        return {};
    const int streak = ProfileStatistics::streak(app()->store()->data(), app()->now());
    return streak > 0 ? QString::number(streak) + QStringLiteral("-й день подряд") : QString();
}

int RootViewModel::appearanceIndex() const
{
    if (!app())
        return 0;
    return int(allAppearances().indexOf(
        app()->store()->data().appearance.value_or(Appearance::system)));
}

QString RootViewModel::storageNote() const
{
    if (!app())
        return {};
    switch (app()->store()->storageProblem()) {
    case ProfileStore::StorageProblem::none: return {};
    case ProfileStore::StorageProblem::noDataFolder:
        return QStringLiteral("Прогресс не сохраняется: не найдена папка для данных");
    case ProfileStore::StorageProblem::folderNotWritable:
        return QStringLiteral("Прогресс не сохраняется: папка данных недоступна для записи");
    case ProfileStore::StorageProblem::fileNotWritable:
        return QStringLiteral("Прогресс не сохраняется: файл профиля недоступен для записи");
    case ProfileStore::StorageProblem::profileTooLarge:
        return QStringLiteral("Прогресс не сохраняется: профиль стал слишком большим для файла");
    case ProfileStore::StorageProblem::lockedByAnotherOlvi:
        return QStringLiteral("Олви открыт в другом окне — здесь прогресс не сохраняется");
    }
    return {};
}

QString RootViewModel::recoveryNote() const
{
    if (!app() || m_recoveryDismissed || app()->store()->unreadableCopy().isEmpty())
        return {};
    const QString copy = app()->store()->unreadableCopy();
    const QFileInfo file(copy);
    return QStringLiteral("Файл прогресса не удалось прочитать. Он сохранён как «%1» в папке "
                          "%2; чтобы вернуть его, закройте Олви и дайте файлу прежнее имя "
                          "profile.json.")
        .arg(file.fileName(), QDir::toNativeSeparators(file.absolutePath()));
}

void RootViewModel::dismissRecoveryNote()
{
    if (m_recoveryDismissed)
        return;
    m_recoveryDismissed = true;
    Q_EMIT recoveryNoteChanged();
}

bool RootViewModel::physicalKeys() const
{
    return app() && app()->physicalKeys();
}

void RootViewModel::togglePhysicalKeys()
{
    if (app())
        app()->setPhysicalKeys(!app()->physicalKeys());
}

void RootViewModel::switchTo(int tab)
{
    if (!app() || tab < 0 || tab >= AppState::allTabs().size())
        return;
    const auto chosen = AppState::Tab(tab);
    if (chosen == AppState::Tab::Training && app()->engine()->text().isEmpty()) {
        app()->startTraining();
        return;
    }
    app()->setTab(chosen);
}

void RootViewModel::chooseAppearance(int index)
{
    const QList<Appearance> all = allAppearances();
    if (!app() || index < 0 || index >= all.size())
        return;
    app()->setAppearance(all.at(index));
    applyAppearance();
}

void RootViewModel::applyAppearance()
{
    if (app())
        Theme::instance()->setAppearance(app()->store()->data().appearance);
}
