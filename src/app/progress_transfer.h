// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "file_chooser.h"
#include "profile_data.h"
#include "profile_merge.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

class ProfileStore;

// Carrying progress between computers, from the progress screen: the profile
// saved to a file the learner chooses, the day records as a table, and a
// profile file merged in once the learner has seen what it adds.
//
// Files are chosen through the chooser it is given (the desktop's file-chooser
// portal). Where that cannot ask, the screen shows a dialog of its own for the
// request published in the dialog properties and hands the answer back.
//
// Merging while an exercise is under way is harmless: the exercise folds its
// keys and its day into whatever the profile holds when it ends, and the
// learner's own text, which a running fragment is cut from, stays as it was.
class ProgressTransfer : public QObject
{
    Q_OBJECT
    // The outcome of the last action, or why it was refused: one line.
    Q_PROPERTY(QString message READ message NOTIFY messageChanged)
    // A profile file was read and waits for the learner's word.
    Q_PROPERTY(bool confirming READ confirming NOTIFY confirmingChanged)
    // What merging that file changes: one sentence.
    Q_PROPERTY(QString importSummary READ importSummary NOTIFY confirmingChanged)
    // The dialog the screen shows where there is no portal.
    Q_PROPERTY(Dialog dialog READ dialog NOTIFY dialogChanged)
    Q_PROPERTY(QString dialogTitle READ dialogTitle NOTIFY dialogChanged)
    Q_PROPERTY(QStringList dialogFilters READ dialogFilters NOTIFY dialogChanged)
    Q_PROPERTY(QUrl dialogFolder READ dialogFolder NOTIFY dialogChanged)
    // The proposed file when saving.
    Q_PROPERTY(QUrl dialogFile READ dialogFile NOTIFY dialogChanged)

public:
    enum class Dialog { NoDialog, SaveDialog, OpenDialog };
    Q_ENUM(Dialog)

    using Clock = std::function<QDateTime()>;

    // Asks through `chooser` (not owned, outlives this); `now` names the
    // files by the day and the time.
    ProgressTransfer(ProfileStore &store, FileChooser &chooser, Clock now,
                     QObject *parent = nullptr);

    // Each asks for a file, then acts on the answer.
    Q_INVOKABLE void exportProfile();
    Q_INVOKABLE void exportTable();
    Q_INVOKABLE void chooseImport();
    // Keeps a copy of the profile file beside it, merges and saves.
    Q_INVOKABLE void confirmImport();
    Q_INVOKABLE void cancelImport();
    // The screen's own dialog was answered.
    Q_INVOKABLE void dialogAccepted(const QUrl &file);
    Q_INVOKABLE void dialogRejected();

    [[nodiscard]] QString message() const { return m_message; }
    [[nodiscard]] bool confirming() const { return m_incoming.has_value(); }
    [[nodiscard]] QString importSummary() const { return m_summary; }
    [[nodiscard]] Dialog dialog() const { return m_dialog; }
    [[nodiscard]] QString dialogTitle() const { return m_request.title; }
    [[nodiscard]] QStringList dialogFilters() const;
    [[nodiscard]] QUrl dialogFolder() const;
    [[nodiscard]] QUrl dialogFile() const;

    // "Добавится 12 дней, 3 урока станут пройденными."; `lessonAfter` is the
    // current lesson after the merge.
    [[nodiscard]] static QString effectSentence(const ProfileMerge::Effect &effect,
                                                qint64 lessonAfter);

Q_SIGNALS:
    void messageChanged();
    void confirmingChanged();
    void dialogChanged();

private:
    enum class Action { saveProfile, saveTable, open };

    void ask(Action action);
    void onChosen(const QString &path);
    void onUnavailable();
    void saveProfileTo(const QString &path);
    void saveTableTo(const QString &path);
    void readImport(const QString &path);
    // Follows the profile's changes while a file waits, so that the sentence
    // stays true.
    void refreshImport();
    // Why this Olvi cannot take a file in; empty when it can.
    [[nodiscard]] QString whyNotWritable() const;
    void setMessage(const QString &message);
    void setIncoming(std::optional<ProfileData> incoming, const QString &summary = {});
    void setDialog(Dialog dialog);

    ProfileStore &m_store;
    Clock m_now;
    FileChooser &m_chooser;
    std::optional<Action> m_asking;
    FileChooser::Request m_request;
    Dialog m_dialog = Dialog::NoDialog;
    QString m_message;
    std::optional<ProfileData> m_incoming;
    QString m_incomingName;
    QString m_summary;
};
