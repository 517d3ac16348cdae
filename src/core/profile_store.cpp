// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile_store.h"

#include "profile_json.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

const QString currentFolderName = QStringLiteral("Olvi");
const QString legacyFolderName = QStringLiteral("Torvik");
const QString profileFileName = QStringLiteral("profile.json");

// A path names something on disk, a dangling symbolic link included.
bool occupied(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Makes a rename inside `folder` survive a power cut.
void syncFolder(const QString &folder)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(folder);
#endif
}

} // namespace

ProfileStore::ProfileStore(QString baseFolder, Clock now, QObject *parent)
    : QObject(parent)
    , m_baseFolder(std::move(baseFolder))
    , m_now(std::move(now))
{
    load();
}

QString ProfileStore::defaultBaseFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

ProfileStore::Clock ProfileStore::systemClock()
{
    return [] { return QDateTime::currentDateTime(); };
}

void ProfileStore::update(const std::function<void(ProfileData &)> &change)
{
    change(m_data);
    Q_EMIT dataChanged();
}

QString ProfileStore::dayKey(const QDateTime &moment)
{
    return dayKeyForDate(moment.toLocalTime().date());
}

QString ProfileStore::fileName() const
{
    if (m_baseFolder.isEmpty())
        return {};
    const QString folder = QDir(m_baseFolder).filePath(currentFolderName);
    QDir().mkpath(folder); // a failure shows later as a failed write
    return QDir(folder).filePath(profileFileName);
}

QString ProfileStore::legacyFileName() const
{
    if (m_baseFolder.isEmpty())
        return {};
    return QDir(m_baseFolder).filePath(legacyFolderName + u'/' + profileFileName);
}

std::optional<QByteArray> ProfileStore::readProfileFile(const QString &path)
{
    if (path.isEmpty() || QFileInfo(path).size() > ProfileJson::maxDocumentSize)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // One byte past the limit tells a file that grew since the check.
    QByteArray bytes = file.read(ProfileJson::maxDocumentSize + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > ProfileJson::maxDocumentSize)
        return std::nullopt;
    return bytes;
}

bool ProfileStore::writeFileDurably(const QString &path, QByteArrayView bytes)
{
    if (path.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
#ifdef Q_OS_UNIX
    // The content must be on disk before the rename makes it the profile.
    if (::fsync(file.handle()) != 0) {
        file.cancelWriting();
        return false;
    }
#endif
    if (!file.commit())
        return false;
    syncFolder(QFileInfo(path).absolutePath());
    return true;
}

void ProfileStore::load()
{
    const QString current = fileName();
    if (const auto bytes = readProfileFile(current)) {
        if (auto profile = ProfileJson::decode(*bytes)) {
            m_data = std::move(*profile);
            return;
        }
    }
    m_unreadableOnDisk = !current.isEmpty() && occupied(current);

    if (const auto bytes = readProfileFile(legacyFileName())) {
        if (auto profile = ProfileJson::decode(*bytes)) {
            m_data = std::move(*profile);
            save();
            return;
        }
    }
    // Otherwise a new profile; the first save creates the file.
}

bool ProfileStore::moveUnreadableAside(const QString &path) const
{
    if (!occupied(path))
        return true; // someone removed it meanwhile
    const QString stem = path + QStringLiteral(".unreadable-")
                         + QLocale::c().toString(m_now().toLocalTime(),
                                                 QStringLiteral("yyyyMMdd-HHmmss"));
    // An earlier copy with the same time stamp is kept: number the new one.
    for (int n = 1; n < 1000; ++n) {
        const QString target = n == 1 ? stem : stem + u'-' + QString::number(n);
        if (occupied(target))
            continue;
        if (QDir().rename(path, target))
            return true;
        if (!occupied(target))
            return false; // the rename itself failed, not a race for the name
    }
    return false;
}

void ProfileStore::save()
{
    const QByteArray bytes = ProfileJson::encode(m_data);
    if (bytes.isEmpty())
        return;
    const QString path = fileName();
    if (path.isEmpty())
        return;
    if (m_unreadableOnDisk) {
        if (!moveUnreadableAside(path))
            return; // never write over what could not be read
        m_unreadableOnDisk = false;
    }
    (void)writeFileDurably(path, bytes);
}

void ProfileStore::recordSession(qint64 chars, qint64 errors, double seconds, double speed)
{
    const QString today = dayKey(m_now());
    update([&](ProfileData &profile) {
        const auto day = std::find_if(profile.days.begin(), profile.days.end(),
                                      [&](const DayStat &d) { return d.date == today; });
        if (day != profile.days.end()) {
            day->chars = saturatingAdd(day->chars, chars);
            day->errors = saturatingAdd(day->errors, errors);
            day->seconds += seconds;
            if (day->bestSpeed <= speed)
                day->bestSpeed = speed;
            return;
        }
        profile.days.append(DayStat{today, chars, errors, seconds, speed});
        if (profile.days.size() > maxDays)
            profile.days.remove(0, profile.days.size() - maxDays);
    });
    save();
}
