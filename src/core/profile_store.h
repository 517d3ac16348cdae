// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "profile_data.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QLockFile;

// The one owner of the user's profile while Olvi runs: loads it at creation,
// holds it, folds finished exercises into the day records and saves it.
//
// Changes go through update(), which applies a change and then emits
// dataChanged(); screens observe that one signal and re-read data(). The
// signal comes after the change, not before, because a Qt observer needs the
// new value to redraw. update() does not save: whoever changes the profile
// calls save() right after, once for everything one action changed.
//
// Files live under a base folder (production: the user's data folder,
// $XDG_DATA_HOME or ~/.local/share): the profile in "Olvi/profile.json", the
// one left by Olvi's predecessor in "Torvik/profile.json". The legacy file is
// only ever read, and only a regular file (or a link to one) is read at all.
// A current file that exists but cannot be read or decoded is never destroyed:
// at creation (or, when that fails, at the save that would replace it) it is
// renamed to "profile.json.unreadable-<yyyyMMdd-HHmmss>" beside it, and that
// name is published in unreadableCopy so the learner hears of it. Nothing is
// written that the reader would refuse: a profile grown past the reader's
// bounds is not saved, and the file keeps the last one that fitted. The folder
// "Olvi" and a new profile file are private to the user.
//
// One store writes the folder at a time: the store holds "Olvi/profile.lock"
// for its life, and a store that finds it held by another running Olvi loads
// the profile but never writes it, so that neither undoes the other's
// progress. The lock holder also removes temporaries a killed save left behind.
// Why saves do not reach the disk, if they do not, is published in
// storageProblem (and persistent) for the window to show.
class ProfileStore : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool persistent READ persistent NOTIFY storageProblemChanged)
    Q_PROPERTY(StorageProblem storageProblem READ storageProblem NOTIFY storageProblemChanged)
    // Where the unreadable profile file found at start was kept; empty when
    // there was none.
    Q_PROPERTY(QString unreadableCopy READ unreadableCopy NOTIFY unreadableCopyChanged)

public:
    enum class StorageProblem {
        none,
        // No absolute XDG_DATA_HOME or HOME: the profile lives in memory for
        // this run.
        noDataFolder,
        // The folder "Olvi" cannot be created or locked, or the last save
        // failed in it; every save tries again and clears this on success.
        folderNotWritable,
        // The file cannot be replaced: a folder, or a file the user may not
        // write, stands at its name. Every save tries again.
        fileNotWritable,
        // The profile has grown past what the reader takes (ProfileJson::
        // encodeReadable); the file keeps the last profile that fitted.
        profileTooLarge,
        // Another running Olvi holds the folder's lock: this store never
        // writes, for its whole life.
        lockedByAnotherOlvi,
    };
    Q_ENUM(StorageProblem)

    using Clock = std::function<QDateTime()>;

    // Takes the folder's lock and loads the profile found under `baseFolder`;
    // `now` is asked for the current moment whenever a day or a time stamp is
    // needed. An empty base folder (a system without a home) leaves the store
    // in memory only.
    explicit ProfileStore(QString baseFolder = defaultBaseFolder(), Clock now = systemClock(),
                          QObject *parent = nullptr);
    ~ProfileStore() override;

    // The user's data folder by the XDG rules: $XDG_DATA_HOME when it is an
    // absolute path, else $HOME/.local/share when HOME is absolute, else none
    // (empty).
    [[nodiscard]] static QString defaultBaseFolder();
    [[nodiscard]] static Clock systemClock();

    [[nodiscard]] const ProfileData &data() const { return m_data; }

    // Applies `change` to the profile, then emits dataChanged().
    void update(const std::function<void(ProfileData &)> &change);

    // Writes the profile to fileName() atomically and durably, unless another
    // Olvi holds the folder or the reader would refuse the document. A failure
    // shows in storageProblem, and the next save tries again.
    void save();

    // The local calendar day of `moment` as "yyyy-MM-dd".
    [[nodiscard]] static QString dayKey(const QDateTime &moment);

    [[nodiscard]] StorageProblem storageProblem() const { return m_storageProblem; }
    // Saves reach the disk.
    [[nodiscard]] bool persistent() const { return m_storageProblem == StorageProblem::none; }

    // The current profile file; empty without a base folder.
    [[nodiscard]] QString fileName() const;
    // The legacy profile file; computing it creates nothing.
    [[nodiscard]] QString legacyFileName() const;

    // Copies the profile file (or, before its first save, the profile) to
    // "<file>.<label>-<yyyyMMdd-HHmmss>" beside it, numbered when that name is
    // taken, durably; the copy's path, or empty when it could not be made.
    [[nodiscard]] QString keepCopyAside(QStringView label) const;
    // Removes the copies kept aside under `label` but the newest `keep`.
    void pruneCopiesAside(QStringView label, qsizetype keep) const;
    [[nodiscard]] QString unreadableCopy() const { return m_unreadableCopy; }

    // The whole file, or nothing when it is not a regular file (after
    // following links), cannot be read or is larger than a profile document
    // may be (checked before reading).
    [[nodiscard]] static std::optional<QByteArray> readProfileFile(const QString &path);
    // Replaces the file at `path` with `bytes` so that it holds either the old
    // or the new content even across a crash or power cut: a temporary file in
    // the same folder, synced, renamed over the old one, the folder synced.
    // The new file keeps the old one's mode; a file that did not exist is
    // readable and writable by its owner only.
    [[nodiscard]] static bool writeFileDurably(const QString &path, QByteArrayView bytes);

Q_SIGNALS:
    void dataChanged();
    void storageProblemChanged();
    void unreadableCopyChanged();

private:
    // Creates the folder "Olvi" if need be and takes its lock, unless that
    // happened already; false while this store may not write.
    bool claimFolder();
    void setStorageProblem(StorageProblem problem);
    void load();
    // Renames the unreadable current file out of the way and publishes where
    // it went; false when it is still in the way.
    [[nodiscard]] bool moveUnreadableAside();

    QString m_baseFolder;
    Clock m_now;
    ProfileData m_data;
    // The current file on disk holds something this store could not read.
    bool m_unreadableOnDisk = false;
    QString m_unreadableCopy;
    std::unique_ptr<QLockFile> m_lock; // held from the first claim of the folder on
    StorageProblem m_storageProblem = StorageProblem::none;
};
