// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile_store.h"

#include "profile_json.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QLockFile>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const QString currentFolderName = QStringLiteral("Olvi");
const QString legacyFolderName = QStringLiteral("Torvik");
const QString profileFileName = QStringLiteral("profile.json");
const QString lockFileName = QStringLiteral("profile.lock");

constexpr QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;

// A path names something on disk, a dangling symbolic link included.
bool occupied(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// The n-th name (from 1) a copy of `path` kept aside at `moment` may take:
// "<path>.<label>-<yyyyMMdd-HHmmss>", then numbered "-2", "-3"… so that an
// earlier copy of the same second is never replaced.
QString asideName(const QString &path, QStringView label, const QDateTime &moment, int n)
{
    const QString stem = path + u'.' + label.toString() + u'-'
                         + QLocale::c().toString(moment.toLocalTime(),
                                                 QStringLiteral("yyyyMMdd-HHmmss"));
    return n == 1 ? stem : stem + u'-' + QString::number(n);
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

// A save killed between writing its temporary file and renaming it leaves the
// file behind: QSaveFile names it after the profile plus a dot and six
// letters or digits. The unreadable files moved aside have longer names.
void removeLeftoverTemporaries(const QString &folder)
{
    static const QRegularExpression temporary(
        QRegularExpression::anchoredPattern(QStringLiteral("profile\\.json\\.[A-Za-z0-9]{6}")));
    const QDir dir(folder);
    const QStringList names = dir.entryList({profileFileName + QStringLiteral(".??????")},
                                            QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QString &name : names) {
        if (temporary.match(name).hasMatch())
            QFile::remove(dir.filePath(name));
    }
}

} // namespace

ProfileStore::ProfileStore(QString baseFolder, Clock now, QObject *parent)
    : QObject(parent)
    , m_baseFolder(std::move(baseFolder))
    , m_now(std::move(now))
{
    if (m_baseFolder.isEmpty())
        m_storageProblem = StorageProblem::noDataFolder;
    else
        claimFolder();
    load();
}

ProfileStore::~ProfileStore() = default;

QString ProfileStore::defaultBaseFolder()
{
    // Qt's own lookup takes a relative XDG_DATA_HOME against the working
    // folder, which the XDG rules say to ignore, and without HOME it makes
    // "//.local/share", where every save fails.
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (QDir::isAbsolutePath(dataHome))
        return QDir::cleanPath(dataHome);
    const QString home = qEnvironmentVariable("HOME");
    if (QDir::isAbsolutePath(home))
        return QDir::cleanPath(home + QStringLiteral("/.local/share"));
    return {};
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
    return QDir(m_baseFolder).filePath(currentFolderName + u'/' + profileFileName);
}

QString ProfileStore::legacyFileName() const
{
    if (m_baseFolder.isEmpty())
        return {};
    return QDir(m_baseFolder).filePath(legacyFolderName + u'/' + profileFileName);
}

std::optional<QByteArray> ProfileStore::readProfileFile(const QString &path)
{
    if (path.isEmpty())
        return std::nullopt;
    QFile file;
#ifdef Q_OS_UNIX
    // Opening a FIFO for reading waits for a writer, for ever, unless it is
    // opened without blocking; the type is then checked on what was opened,
    // so nothing can be swapped in between. A regular file reads the same
    // with or without O_NONBLOCK.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat status = {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)
        || status.st_size > ProfileJson::maxDocumentSize
        || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
#else
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > ProfileJson::maxDocumentSize)
        return std::nullopt;
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
#endif
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
    // QSaveFile gives the temporary file the mode of the file it replaces; a
    // new profile, which tells how and when its user types, is theirs alone.
    const bool replacing = QFileInfo::exists(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!replacing && !file.setPermissions(ownerOnly)) {
        file.cancelWriting();
        return false;
    }
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

bool ProfileStore::claimFolder()
{
    if (m_lock)
        return true;
    if (m_storageProblem == StorageProblem::noDataFolder
        || m_storageProblem == StorageProblem::lockedByAnotherOlvi)
        return false;
    const QString folder = QDir(m_baseFolder).filePath(currentFolderName);
    if (!QFileInfo(folder).isDir() && QDir().mkpath(m_baseFolder))
        QDir().mkdir(folder, ownerOnly | QFile::ExeOwner); // a failure shows in the lock
    auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(lockFileName));
    // The lock is held for the whole run, so only a dead owner may make it
    // stale, never its age.
    lock->setStaleLockTime(0);
    bool locked = lock->tryLock(0);
    // An owner killed between creating the lock and writing its PID leaves a
    // lock nobody can judge by PID. QLockFile removes it only when no process
    // holds it open, so a live owner still writing keeps it.
    qint64 pid = 0;
    if (!locked && lock->error() == QLockFile::LockFailedError
        && !lock->getLockInfo(&pid, nullptr, nullptr) && lock->removeStaleLockFile())
        locked = lock->tryLock(0);
    if (!locked) {
        setStorageProblem(lock->error() == QLockFile::LockFailedError
                              ? StorageProblem::lockedByAnotherOlvi
                              : StorageProblem::folderNotWritable);
        return false;
    }
    m_lock = std::move(lock);
    removeLeftoverTemporaries(folder);
    return true;
}

void ProfileStore::setStorageProblem(StorageProblem problem)
{
    if (m_storageProblem == problem)
        return;
    m_storageProblem = problem;
    Q_EMIT storageProblemChanged();
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
    // Moved aside now, not at the first save, so that the learner is told at
    // once why the course starts afresh, and where the file went.
    if (m_unreadableOnDisk && m_lock && moveUnreadableAside())
        m_unreadableOnDisk = false;

    if (const auto bytes = readProfileFile(legacyFileName())) {
        if (auto profile = ProfileJson::decode(*bytes)) {
            m_data = std::move(*profile);
            save();
            return;
        }
    }
    // Otherwise a new profile; the first save creates the file.
}

bool ProfileStore::moveUnreadableAside()
{
    const QString path = fileName();
    if (!occupied(path))
        return true; // someone removed it meanwhile
    // An earlier copy with the same time stamp is kept: number the new one.
    const QDateTime now = m_now();
    for (int n = 1; n < 1000; ++n) {
        const QString target = asideName(path, u"unreadable", now, n);
        if (occupied(target))
            continue;
        if (QDir().rename(path, target)) {
            m_unreadableCopy = target;
            Q_EMIT unreadableCopyChanged();
            return true;
        }
        if (!occupied(target))
            return false; // the rename itself failed, not a race for the name
    }
    return false;
}

QString ProfileStore::keepCopyAside(QStringView label) const
{
    const QString file = fileName();
    if (file.isEmpty())
        return {};
    // A profile never saved yet has no file: its copy is what it holds.
    const QByteArray bytes = readProfileFile(file).value_or(ProfileJson::encode(m_data));
    const QDateTime now = m_now();
    for (int n = 1; n < 1000; ++n) {
        const QString target = asideName(file, label, now, n);
        if (!occupied(target))
            return writeFileDurably(target, bytes) ? target : QString();
    }
    return {};
}

void ProfileStore::pruneCopiesAside(QStringView label, qsizetype keep) const
{
    const QString file = fileName();
    if (file.isEmpty())
        return;
    // "<file>.<label>-yyyyMMdd-HHmmss", numbered "-2", "-3"… within a second:
    // newest first by time stamp, then by number.
    const QString prefix = QFileInfo(file).fileName() + u'.' + label.toString() + u'-';
    static const QRegularExpression stamp(
        QRegularExpression::anchoredPattern(QStringLiteral("(\\d{8}-\\d{6})(?:-(\\d{1,3}))?")));
    const QDir folder = QFileInfo(file).dir();
    QList<std::tuple<QString, int, QString>> copies;
    for (const QString &name : folder.entryList({prefix + u'*'}, QDir::Files | QDir::Hidden)) {
        const auto match = stamp.match(QStringView(name).sliced(prefix.size()));
        if (match.hasMatch())
            copies.append({match.captured(1), std::max(match.captured(2).toInt(), 1), name});
    }
    std::sort(copies.begin(), copies.end(), std::greater<>());
    for (qsizetype i = keep; i < copies.size(); ++i)
        QFile::remove(folder.filePath(std::get<2>(copies.at(i))));
}

void ProfileStore::save()
{
    if (!claimFolder())
        return;
    const std::optional<QByteArray> bytes = ProfileJson::encodeReadable(m_data);
    if (!bytes) {
        // The next start could not read it: the file keeps what it holds.
        setStorageProblem(StorageProblem::profileTooLarge);
        return;
    }
    const QString path = fileName();
    if (m_unreadableOnDisk) {
        if (!moveUnreadableAside()) {
            // never write over what could not be read
            setStorageProblem(StorageProblem::folderNotWritable);
            return;
        }
        m_unreadableOnDisk = false;
    }
    if (writeFileDurably(path, *bytes)) {
        setStorageProblem(StorageProblem::none);
        return;
    }
    // A folder, or a file its user may not write, in the profile's place is
    // not the folder's fault: say which one is in the way.
    const QFileInfo inTheWay(path);
    setStorageProblem(occupied(path) && !(inTheWay.isFile() && inTheWay.isWritable())
                          ? StorageProblem::fileNotWritable
                          : StorageProblem::folderNotWritable);
}
