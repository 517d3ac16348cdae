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
#include <optional>

// The one owner of the user's profile while Olvi runs: loads it at creation,
// holds it, folds finished exercises into the day records and saves it.
//
// Changes go through update(), which applies a change and then emits
// dataChanged(); screens observe that one signal and re-read data(). The
// signal comes after the change, not before, because a Qt observer needs the
// new value to redraw. update() does not save: whoever changes the profile
// calls save() right after, as recordSession() does.
//
// Files live under a base folder (production: the user's data folder,
// $XDG_DATA_HOME or ~/.local/share): the profile in "Olvi/profile.json", the
// one left by Olvi's predecessor in "Torvik/profile.json". The legacy file is
// only ever read. A current file that exists but cannot be read or decoded is
// never destroyed: the save that would replace it first renames it to
// "profile.json.unreadable-<yyyyMMdd-HHmmss>" beside it. No failure is reported.
class ProfileStore : public QObject
{
    Q_OBJECT

public:
    using Clock = std::function<QDateTime()>;

    // The store keeps at most this many day records, dropping the oldest.
    static constexpr qsizetype maxDays = 400;

    // Loads the profile found under `baseFolder`; `now` is asked for the
    // current moment whenever a day or a time stamp is needed. An empty base
    // folder (a system without a home) leaves the store in memory only.
    explicit ProfileStore(QString baseFolder = defaultBaseFolder(), Clock now = systemClock(),
                          QObject *parent = nullptr);

    [[nodiscard]] static QString defaultBaseFolder();
    [[nodiscard]] static Clock systemClock();

    [[nodiscard]] const ProfileData &data() const { return m_data; }

    // Applies `change` to the profile, then emits dataChanged().
    void update(const std::function<void(ProfileData &)> &change);

    // Writes the profile to fileName() atomically and durably; failures are
    // ignored and the next save tries again.
    void save();

    // Folds one finished exercise into today's day record, then saves.
    void recordSession(qint64 chars, qint64 errors, double seconds, double speed);

    // The local calendar day of `moment` as "yyyy-MM-dd".
    [[nodiscard]] static QString dayKey(const QDateTime &moment);

    // The current profile file; computing it creates the folder "Olvi".
    [[nodiscard]] QString fileName() const;
    // The legacy profile file; computing it creates nothing.
    [[nodiscard]] QString legacyFileName() const;

    // The whole file, or nothing when it cannot be read or is larger than a
    // profile document may be (checked before reading).
    [[nodiscard]] static std::optional<QByteArray> readProfileFile(const QString &path);
    // Replaces the file at `path` with `bytes` so that it holds either the old
    // or the new content even across a crash or power cut: a temporary file in
    // the same folder, synced, renamed over the old one, the folder synced.
    [[nodiscard]] static bool writeFileDurably(const QString &path, QByteArrayView bytes);

Q_SIGNALS:
    void dataChanged();

private:
    void load();
    // Renames the unreadable current file out of the way; false when it is
    // still in the way.
    [[nodiscard]] bool moveUnreadableAside(const QString &path) const;

    QString m_baseFolder;
    Clock m_now;
    ProfileData m_data;
    // The current file on disk holds something this store could not read.
    bool m_unreadableOnDisk = false;
};
