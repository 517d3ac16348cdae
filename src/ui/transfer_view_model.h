// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app_view_model.h"
#include "profile_merge.h"
#include "progress_transfer.h"

#include <QObject>
#include <QQmlEngine>
#include <QString>

// The words of carrying progress to another computer: what the last export
// or import came to, the question a merge waits on, and what the file
// dialogs say (the desktop's, through dialogWording, and the screen's own).
class TransferViewModel : public AppViewModel
{
    Q_OBJECT
    QML_ELEMENT
    // The outcome of the last action, or why it was refused: one sentence.
    Q_PROPERTY(QString message READ message NOTIFY messageChanged)
    // While a file waits for the learner's word: the question, and what
    // merging it changes.
    Q_PROPERTY(QString confirmTitle READ confirmTitle NOTIFY importChanged)
    Q_PROPERTY(QString importSummary READ importSummary NOTIFY importChanged)
    // The screen's own file dialog, while the transfer asks for one.
    Q_PROPERTY(QString dialogTitle READ dialogTitle NOTIFY dialogChanged)
    Q_PROPERTY(QStringList dialogFilters READ dialogFilters NOTIFY dialogChanged)

public:
    explicit TransferViewModel(QObject *parent = nullptr);

    [[nodiscard]] QString message() const;
    [[nodiscard]] QString confirmTitle() const;
    [[nodiscard]] QString importSummary() const;
    [[nodiscard]] QString dialogTitle() const;
    [[nodiscard]] QStringList dialogFilters() const;

    // "Сохранить прогресс", with the filter "Прогресс Олви".
    [[nodiscard]] static FileChooser::Wording dialogWording(ProgressTransfer::Dialog dialog);

    // "В файле «a.json» нет прогресса Олви."; empty for None.
    [[nodiscard]] static QString sentence(ProgressTransfer::Outcome outcome,
                                          const QString &fileName, const QString &copyName);
    // "Добавится 12 дней, 3 урока станут пройденными."; `lessonAfter` is the
    // current lesson after the merge.
    [[nodiscard]] static QString effectSentence(const ProfileMerge::Effect &effect,
                                                qint64 lessonAfter);

Q_SIGNALS:
    void messageChanged();
    void importChanged();
    void dialogChanged();

private:
    QList<QMetaObject::Connection> follow(AppState &app) override;
};
