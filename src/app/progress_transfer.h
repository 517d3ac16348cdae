// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "file_chooser.h"
#include "profile_data.h"
#include "profile_merge.h"

#include <QDateTime>
#include <QObject>
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
// It publishes what happened as an Outcome with the names it concerns, which
// dialog the screen must show, and what a waiting merge would change as
// counts; the screen puts them in words. The words of the chooser's dialogs
// come from whoever made it (the screens' layer), through `wording`.
//
// Merging while an exercise is under way is harmless: the exercise folds its
// keys and its day into whatever the profile holds when it ends, and the
// learner's own text, which a running fragment is cut from, stays as it was.
class ProgressTransfer : public QObject
{
    Q_OBJECT
    // What the last action came to, or why it was refused.
    Q_PROPERTY(Outcome outcome READ outcome NOTIFY outcomeChanged)
    // The name (without folder) of the file the outcome or the waiting merge
    // is about.
    Q_PROPERTY(QString fileName READ fileName NOTIFY outcomeChanged)
    // The name of the copy of the profile kept before a merge.
    Q_PROPERTY(QString copyName READ copyName NOTIFY outcomeChanged)
    // A profile file was read and waits for the learner's word; effect() tells
    // what merging it changes.
    Q_PROPERTY(bool confirming READ confirming NOTIFY confirmingChanged)
    // The dialog the screen shows where there is no portal.
    Q_PROPERTY(Dialog dialog READ dialog NOTIFY dialogChanged)
    // The kind of file it lists, "*.json" or "*.csv".
    Q_PROPERTY(QString dialogPattern READ dialogPattern NOTIFY dialogChanged)
    Q_PROPERTY(QUrl dialogFolder READ dialogFolder NOTIFY dialogChanged)
    // The proposed file when saving.
    Q_PROPERTY(QUrl dialogFile READ dialogFile NOTIFY dialogChanged)

public:
    // What a file is asked for: to save the progress or the day table into,
    // or to load progress from.
    enum class Dialog { NoDialog, SaveProgress, SaveTable, OpenProgress };
    Q_ENUM(Dialog)

    enum class Outcome {
        None,
        ProfileSaved, // fileName written
        TableSaved,
        NotWritten, // fileName could not be written
        // A file not taken in, with nothing changed:
        NotRead,
        FileTooLarge,      // over the reader's size bound
        NotAProfile,
        TooMuchData,       // ProfileMerge::Refusal::tooMuch
        UnknownKeys,       // ...unknownKey
        ImpossibleNumbers, // ...outOfRange
        FutureDays,        // ...futureDay
        MergeTooLarge,     // the merge would make a profile the reader refuses
        NothingNew,
        // A merge confirmed:
        Merged,        // and the copy kept as copyName
        CopyNotKept,   // no copy could be made: nothing changed
        MergeNotSaved, // the merge could not be saved: nothing changed, the copy kept
        // This Olvi cannot take a file in:
        AnotherOlviWrites,
        CannotSave,
    };
    Q_ENUM(Outcome)

    using Clock = std::function<QDateTime()>;
    // What the chooser's dialog says for each request.
    using Wording = std::function<FileChooser::Wording(Dialog)>;

    // The newest copies kept before imports that a successful import leaves.
    static constexpr qsizetype keptCopies = 3;

    // Asks through `chooser` (not owned, outlives this) in the words of
    // `wording` (none: untitled); `now` names the files by the day and the
    // time, and is the date imported days are checked against.
    ProgressTransfer(ProfileStore &store, FileChooser &chooser, Clock now, Wording wording = {},
                     QObject *parent = nullptr);

    // Each asks for a file, then acts on the answer.
    Q_INVOKABLE void exportProfile();
    Q_INVOKABLE void exportTable();
    Q_INVOKABLE void chooseImport();
    // Keeps a copy of the profile file beside it, merges and saves.
    Q_INVOKABLE void confirmImport();
    Q_INVOKABLE void cancelImport();
    // The screen's own dialog was answered: a URL, or a path as Qt's own
    // dialog hands back a typed name (absolute, or relative to dialogFolder).
    Q_INVOKABLE void dialogAccepted(const QUrl &file);
    Q_INVOKABLE void dialogRejected();

    [[nodiscard]] Outcome outcome() const { return m_outcome; }
    [[nodiscard]] QString fileName() const { return m_fileName; }
    [[nodiscard]] QString copyName() const { return m_copyName; }
    [[nodiscard]] bool confirming() const { return m_incoming.has_value(); }
    // While confirming: what merging the file changes, and the current lesson
    // after it.
    [[nodiscard]] const ProfileMerge::Effect &effect() const { return m_effect; }
    [[nodiscard]] qint64 lessonAfter() const { return m_lessonAfter; }
    [[nodiscard]] Dialog dialog() const { return m_dialog; }
    [[nodiscard]] QString dialogPattern() const { return m_request.pattern; }
    [[nodiscard]] QUrl dialogFolder() const;
    [[nodiscard]] QUrl dialogFile() const;

Q_SIGNALS:
    void outcomeChanged();
    void confirmingChanged();
    void dialogChanged();

private:
    void ask(Dialog action);
    void onChosen(QString path);
    void onUnavailable();
    void saveProfileTo(const QString &path);
    void saveTableTo(const QString &path);
    void readImport(const QString &path);
    // Follows the profile's changes while a file waits, so that the effect
    // stays true.
    void refreshImport();
    // Why this Olvi cannot take a file in; None when it can.
    [[nodiscard]] Outcome whyNotWritable() const;
    void setOutcome(Outcome outcome, const QString &fileName = {}, const QString &copyName = {});
    void setIncoming(std::optional<ProfileData> incoming, const ProfileMerge::Effect &effect = {},
                     qint64 lessonAfter = 0);
    void setDialog(Dialog dialog);

    ProfileStore &m_store;
    Clock m_now;
    Wording m_wording;
    FileChooser &m_chooser;
    std::optional<Dialog> m_asking;
    FileChooser::Request m_request;
    Dialog m_dialog = Dialog::NoDialog;
    Outcome m_outcome = Outcome::None;
    QString m_fileName;
    QString m_copyName;
    std::optional<ProfileData> m_incoming;
    ProfileMerge::Effect m_effect;
    qint64 m_lessonAfter = 0;
};
