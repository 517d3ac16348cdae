// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "large_profile.h"
#include "profile_json.h"
#include "profile_store.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

// A base folder in a fresh temporary directory, a clock the test sets, and
// the paths the store uses under them.
struct Rig
{
    QTemporaryDir dir;
    QDateTime now{QDate(2026, 2, 10), QTime(12, 0, 0)};

    [[nodiscard]] QString base() const { return dir.path(); }
    [[nodiscard]] QString current() const { return dir.filePath(u"Olvi/profile.json"_s); }
    [[nodiscard]] QString legacy() const { return dir.filePath(u"Torvik/profile.json"_s); }
    [[nodiscard]] QString aside(const QString &suffix = {}) const
    {
        return current() + u".unreadable-20260210-120000"_s + suffix;
    }
    [[nodiscard]] ProfileStore::Clock clock()
    {
        return [this] { return now; };
    }
};

void put(const QString &path, const QByteArray &bytes)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

std::optional<ProfileData> profileOnDisk(const QString &path)
{
    const auto bytes = ProfileStore::readProfileFile(path);
    return bytes ? ProfileJson::decode(*bytes) : std::nullopt;
}

ProfileData profileAtLesson(qint64 lesson)
{
    ProfileData p;
    p.currentLessonID = lesson;
    p.days.append(DayStat{u"2026-01-05"_s, 300, 4, 120.0, 150.0});
    return p;
}

// Valid JSON, but a profile needs more than this.
const QByteArray incomplete = "{\"keyStats\":{},\"days\":[],\"exercisesPassed\":{},"
                              "\"currentLessonID\":4}";

// The permission bits of a file or folder, as an octal number to compare.
int mode(const QString &path)
{
    struct stat status = {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 07777)
                                                                     : -1;
}

QByteArray oversized()
{
    QByteArray bytes = ProfileJson::encode(profileAtLesson(9));
    bytes.append(ProfileJson::maxDocumentSize + 1 - bytes.size(), ' ');
    return bytes;
}

} // namespace

class TestProfileStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void firstStartWritesNothingUntilTheFirstSave();
    void validCurrentFileWinsOverLegacy();
    void unreadableCurrentIsReplacedByLegacyAndKept_data();
    void unreadableCurrentIsReplacedByLegacyAndKept();
    void bothUnreadableKeepTheFileUntilTheFirstSave();
    void earlierMovedAsideCopiesAreNeverOverwritten();
    void oversizedLegacyIsIgnored();
    void nonRegularFilesAreUnreadable_data();
    void nonRegularFilesAreUnreadable();
    void failedWritesAreReportedAndRetried();
    void defaultFolderFollowsXdg_data();
    void defaultFolderFollowsXdg();
    void filesArePrivate_data();
    void filesArePrivate();
    void oneStoreWritesAFolder();

    void everyUpdateIsAnnounced();
    void sameDaySessionsAddUp();
    void newDayStartsAtLocalMidnight();
    void the401stDayDropsTheOldest();
    void dayKeyUsesLocalTimeAndWesternDigits();

    void killedWhileSavingLeavesOneWholeProfile();
};

void TestProfileStore::initTestCase()
{
    // A zone far from UTC, without daylight saving, makes local days visible.
    qputenv("TZ", "Asia/Vladivostok");
    tzset();
}

void TestProfileStore::firstStartWritesNothingUntilTheFirstSave()
{
    // given no files at all
    Rig rig;

    // when the store starts
    ProfileStore store(rig.base(), rig.clock());

    // then the profile is new, the folder exists and no file yet
    QCOMPARE(store.data(), ProfileData());
    QVERIFY(QFileInfo(rig.base() + u"/Olvi"_s).isDir());
    QVERIFY(!QFile::exists(rig.current()));
    QVERIFY(!QFile::exists(rig.base() + u"/Torvik"_s));

    // when it saves, the file holds the new profile
    store.save();
    QCOMPARE(profileOnDisk(rig.current()), ProfileData());
    QCOMPARE(QDir(rig.base() + u"/Olvi"_s).entryList(QDir::Files),
             (QStringList{u"profile.json"_s, u"profile.lock"_s}));
}

void TestProfileStore::validCurrentFileWinsOverLegacy()
{
    // given a valid current and a valid legacy profile
    Rig rig;
    const QByteArray current = ProfileJson::encode(profileAtLesson(5));
    const QByteArray legacy = ProfileJson::encode(profileAtLesson(7));
    put(rig.current(), current);
    put(rig.legacy(), legacy);

    // when the store starts, the current one is the profile and nothing is written
    ProfileStore store(rig.base(), rig.clock());
    QCOMPARE(store.data(), profileAtLesson(5));
    QCOMPARE(contents(rig.current()), current);
    QCOMPARE(contents(rig.legacy()), legacy);
}

void TestProfileStore::unreadableCurrentIsReplacedByLegacyAndKept_data()
{
    QTest::addColumn<QByteArray>("unreadable");

    QTest::newRow("garbage") << QByteArray("{\"keyStats\": {\"а\": ");
    QTest::newRow("member missing") << incomplete;
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("over 16 MiB") << oversized();
}

void TestProfileStore::unreadableCurrentIsReplacedByLegacyAndKept()
{
    QFETCH(QByteArray, unreadable);

    // given an unreadable current file and a valid legacy one
    Rig rig;
    const QByteArray legacy = ProfileJson::encode(profileAtLesson(7));
    put(rig.current(), unreadable);
    put(rig.legacy(), legacy);

    // when the store starts
    ProfileStore store(rig.base(), rig.clock());

    // then the legacy profile is loaded and written at once
    QCOMPARE(store.data(), profileAtLesson(7));
    QCOMPARE(profileOnDisk(rig.current()), profileAtLesson(7));
    // the unreadable file is kept beside it, byte for byte
    QCOMPARE(contents(rig.aside()), unreadable);
    // and the legacy file is untouched
    QCOMPARE(contents(rig.legacy()), legacy);
    QCOMPARE(QDir(rig.base() + u"/Torvik"_s).entryList(QDir::Files),
             QStringList{u"profile.json"_s});
}

void TestProfileStore::bothUnreadableKeepTheFileUntilTheFirstSave()
{
    // given an unreadable current and an unreadable legacy file
    Rig rig;
    put(rig.current(), incomplete);
    put(rig.legacy(), "not json");

    // when the store starts, it has a new profile and writes nothing
    ProfileStore store(rig.base(), rig.clock());
    QCOMPARE(store.data(), ProfileData());
    QCOMPARE(contents(rig.current()), incomplete);
    QVERIFY(!QFile::exists(rig.aside()));

    // when the profile is first saved, the unreadable file moves aside first
    rig.now = rig.now.addSecs(3600);
    store.update([](ProfileData &p) { p.soundOn = false; });
    store.save();
    const QString aside = rig.current() + u".unreadable-20260210-130000"_s;
    QCOMPARE(contents(aside), incomplete);
    QCOMPARE(profileOnDisk(rig.current())->soundOn, false);

    // and later saves make no more copies
    store.save();
    QCOMPARE(QDir(rig.base() + u"/Olvi"_s).entryList(QDir::Files),
             (QStringList{u"profile.json"_s, u"profile.json.unreadable-20260210-130000"_s,
                          u"profile.lock"_s}));
    QCOMPARE(contents(rig.legacy()), QByteArray("not json"));
}

void TestProfileStore::earlierMovedAsideCopiesAreNeverOverwritten()
{
    // given copies from earlier starts in the same second
    Rig rig;
    put(rig.aside(), "first");
    put(rig.aside(u"-2"_s), "second");
    put(rig.current(), "third");
    put(rig.legacy(), ProfileJson::encode(profileAtLesson(7)));

    // when the store replaces the unreadable file with the legacy profile
    ProfileStore store(rig.base(), rig.clock());

    // then each copy keeps its bytes and the new one takes the next number
    QCOMPARE(contents(rig.aside()), QByteArray("first"));
    QCOMPARE(contents(rig.aside(u"-2"_s)), QByteArray("second"));
    QCOMPARE(contents(rig.aside(u"-3"_s)), QByteArray("third"));
    QCOMPARE(profileOnDisk(rig.current()), profileAtLesson(7));
}

void TestProfileStore::oversizedLegacyIsIgnored()
{
    // given no current file and a legacy file past the size limit
    Rig rig;
    const QByteArray legacy = oversized();
    put(rig.legacy(), legacy);
    QVERIFY(!ProfileStore::readProfileFile(rig.legacy()));

    // then the profile is new, nothing is written and the legacy file stays
    ProfileStore store(rig.base(), rig.clock());
    QCOMPARE(store.data(), ProfileData());
    QVERIFY(!QFile::exists(rig.current()));
    QCOMPARE(QFileInfo(rig.legacy()).size(), legacy.size());
}

void TestProfileStore::nonRegularFilesAreUnreadable_data()
{
    QTest::addColumn<QString>("kind");

    QTest::newRow("FIFO") << u"fifo"_s;
    QTest::newRow("link to a FIFO") << u"link"_s;
    QTest::newRow("directory") << u"directory"_s;
}

void TestProfileStore::nonRegularFilesAreUnreadable()
{
    QFETCH(QString, kind);

    // given something other than a file under the profile's name, and a valid legacy profile
    Rig rig;
    put(rig.legacy(), ProfileJson::encode(profileAtLesson(7)));
    QVERIFY(QDir().mkpath(rig.base() + u"/Olvi"_s));
    const QString fifo = kind == u"link" ? rig.dir.filePath(u"fifo"_s) : rig.current();
    if (kind == u"directory")
        QVERIFY(QDir().mkdir(rig.current()));
    else
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    if (kind == u"link")
        QVERIFY(QFile::link(fifo, rig.current()));

    // when the store starts (a reader that waits on the FIFO fails by QtTest's function timeout)
    ProfileStore store(rig.base(), rig.clock());

    // then it counts as unreadable: the legacy profile is loaded and written, the thing kept aside
    QCOMPARE(store.data(), profileAtLesson(7));
    QCOMPARE(profileOnDisk(rig.current()), profileAtLesson(7));
    const QFileInfo aside(rig.aside());
    QVERIFY(aside.exists());
    QVERIFY(!aside.isFile());
    QCOMPARE(aside.isSymLink(), kind == u"link");
}

void TestProfileStore::failedWritesAreReportedAndRetried()
{
    // given a store without a data folder, it keeps the profile in memory and says so
    ProfileStore memoryOnly(QString(), ProfileStore::systemClock());
    memoryOnly.recordSession(150, 3, 60.0, 150.0);
    QCOMPARE(memoryOnly.data().days.size(), 1);
    QCOMPARE(memoryOnly.storageProblem(), ProfileStore::StorageProblem::noDataFolder);
    QVERIFY(!memoryOnly.persistent());

    // given a store whose folder cannot exist, because a file has its name
    Rig rig;
    put(rig.base() + u"/Olvi"_s, "in the way");
    ProfileStore store(rig.base(), rig.clock());
    QCOMPARE(store.storageProblem(), ProfileStore::StorageProblem::folderNotWritable);
    QSignalSpy problemChanged(&store, &ProfileStore::storageProblemChanged);

    // when a session is recorded, the write fails but the profile holds it
    store.recordSession(150, 3, 60.0, 150.0);
    QCOMPARE(store.data().days.size(), 1);
    QVERIFY(!QFileInfo(rig.current()).exists());
    QVERIFY(!store.persistent());
    QCOMPARE(problemChanged.size(), 0);

    // when the obstacle is gone, the next save writes the profile and clears the problem
    QVERIFY(QFile::remove(rig.base() + u"/Olvi"_s));
    store.save();
    QCOMPARE(profileOnDisk(rig.current()), store.data());
    QCOMPARE(store.storageProblem(), ProfileStore::StorageProblem::none);
    QVERIFY(store.persistent());
    QCOMPARE(problemChanged.size(), 1);
}

void TestProfileStore::defaultFolderFollowsXdg_data()
{
    QTest::addColumn<QByteArray>("dataHome"); // empty: unset
    QTest::addColumn<QByteArray>("home");     // empty: unset
    QTest::addColumn<QString>("folder");      // empty: none

    QTest::newRow("data home") << QByteArray("/srv/data/") << QByteArray("/home/u")
                               << u"/srv/data"_s;
    QTest::newRow("relative data home is ignored") << QByteArray("data") << QByteArray("/home/u")
                                                   << u"/home/u/.local/share"_s;
    QTest::newRow("no data home") << QByteArray() << QByteArray("/home/u/")
                                  << u"/home/u/.local/share"_s;
    QTest::newRow("data home without home") << QByteArray("/srv/data") << QByteArray()
                                            << u"/srv/data"_s;
    QTest::newRow("no home") << QByteArray() << QByteArray() << QString();
    QTest::newRow("relative home") << QByteArray("data") << QByteArray("u") << QString();
}

void TestProfileStore::defaultFolderFollowsXdg()
{
    QFETCH(QByteArray, dataHome);
    QFETCH(QByteArray, home);
    QFETCH(QString, folder);

    const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
    const QByteArray savedHome = qgetenv("HOME");
    const auto set = [](const char *name, const QByteArray &value) {
        value.isEmpty() ? qunsetenv(name) : qputenv(name, value);
    };
    set("XDG_DATA_HOME", dataHome);
    set("HOME", home);
    const QString got = ProfileStore::defaultBaseFolder();
    set("XDG_DATA_HOME", savedDataHome);
    set("HOME", savedHome);

    QCOMPARE(got, folder);
}

void TestProfileStore::filesArePrivate_data()
{
    QTest::addColumn<int>("existingMode"); // -1: no profile yet
    QTest::addColumn<int>("savedMode");

    QTest::newRow("new profile") << -1 << 0600;
    QTest::newRow("replaced profile keeps its mode") << 0644 << 0644;
}

void TestProfileStore::filesArePrivate()
{
    QFETCH(int, existingMode);
    QFETCH(int, savedMode);

    // given the usual umask, which leaves new files readable by everyone
    const mode_t savedMask = ::umask(022);
    Rig rig;
    if (existingMode >= 0) {
        put(rig.current(), ProfileJson::encode(profileAtLesson(2)));
        QCOMPARE(::chmod(QFile::encodeName(rig.current()).constData(), mode_t(existingMode)), 0);
    }

    // when the profile is saved
    ProfileStore store(rig.base(), rig.clock());
    store.save();
    ::umask(savedMask);

    // then a folder the store made and a new file are the user's alone
    QCOMPARE(mode(rig.current()), savedMode);
    if (existingMode < 0)
        QCOMPARE(mode(rig.base() + u"/Olvi"_s), 0700);
}

void TestProfileStore::oneStoreWritesAFolder()
{
    // given what killed saves left beside the profile, and files that only look alike
    Rig rig;
    const QString folder = rig.base() + u"/Olvi"_s;
    const QStringList kept{u"notes.txt"_s, u"profile.json.ab-cde"_s, u"profile.json.abcdefg"_s,
                           u"profile.json.bak"_s, u"profile.json.unreadable-20260101-000000"_s};
    for (const QString &name : kept)
        put(folder + u'/' + name, "not a temporary");
    put(rig.current() + u".Ab12cD"_s, "half a profile");

    // when a store starts, it owns the folder and removes only its own leftovers
    auto first = std::make_unique<ProfileStore>(rig.base(), rig.clock());
    QCOMPARE(first->storageProblem(), ProfileStore::StorageProblem::none);
    QCOMPARE(QDir(folder).entryList(QDir::Files), kept + QStringList{u"profile.lock"_s});
    first->update([](ProfileData &p) { p.currentLessonID = 5; });
    first->save();

    // when a second store starts on the folder while the first runs
    put(rig.current() + u".Zz9Zz9"_s, "the first store's save under way");
    ProfileStore second(rig.base(), rig.clock());

    // then it reads the profile, says it cannot write, and touches nothing
    QCOMPARE(second.data(), first->data());
    QCOMPARE(second.storageProblem(), ProfileStore::StorageProblem::lockedByAnotherOlvi);
    QVERIFY(!second.persistent());
    QVERIFY(QFile::exists(rig.current() + u".Zz9Zz9"_s));
    second.update([](ProfileData &p) { p.currentLessonID = 9; });
    second.recordSession(10, 1, 4.0, 100.0);
    QCOMPARE(profileOnDisk(rig.current()), first->data());

    // when the first one ends, the second still never writes what it read long ago
    const ProfileData last = first->data();
    first.reset();
    second.save();
    QCOMPARE(profileOnDisk(rig.current()), last);
    // but a store started now owns the folder
    ProfileStore third(rig.base(), rig.clock());
    QCOMPARE(third.storageProblem(), ProfileStore::StorageProblem::none);
    QVERIFY(!QFile::exists(rig.current() + u".Zz9Zz9"_s));
}

void TestProfileStore::everyUpdateIsAnnounced()
{
    Rig rig;
    ProfileStore store(rig.base(), rig.clock());
    QSignalSpy changed(&store, &ProfileStore::dataChanged);
    bool seenNewValue = false;
    connect(&store, &ProfileStore::dataChanged, this,
            [&] { seenNewValue = store.data().currentLessonID == 3; });

    store.update([](ProfileData &p) { p.currentLessonID = 3; });
    QCOMPARE(changed.size(), 1);
    QVERIFY(seenNewValue); // observers read the changed profile

    store.update([](ProfileData &p) { p.soundOn = false; });
    store.recordSession(10, 1, 4.0, 100.0);
    QCOMPARE(changed.size(), 3);
}

void TestProfileStore::sameDaySessionsAddUp()
{
    Rig rig;
    ProfileStore store(rig.base(), rig.clock());

    store.recordSession(0, 0, 0.0, 0.0); // an empty session still opens the day
    QCOMPARE(store.data().days.last().bestSpeed, 0.0);
    store.recordSession(150, 3, 60.5, 140.0);
    rig.now = rig.now.addSecs(600);
    store.recordSession(160, 1, 50.25, 190.0);
    rig.now = rig.now.addSecs(600);
    store.recordSession(140, 0, 45.0, 120.0);

    const QList<DayStat> expected{DayStat{u"2026-02-10"_s, 450, 4, 155.75, 190.0}};
    QCOMPARE(store.data().days, expected);
    QCOMPARE(profileOnDisk(rig.current())->days, expected); // each session is saved
}

void TestProfileStore::newDayStartsAtLocalMidnight()
{
    Rig rig;
    rig.now = QDateTime(QDate(2026, 2, 10), QTime(23, 59));
    ProfileStore store(rig.base(), rig.clock());

    store.recordSession(150, 3, 60.0, 140.0);
    rig.now = QDateTime(QDate(2026, 2, 11), QTime(0, 1));
    store.recordSession(100, 2, 40.0, 130.0);

    const QList<DayStat> expected{DayStat{u"2026-02-10"_s, 150, 3, 60.0, 140.0},
                                  DayStat{u"2026-02-11"_s, 100, 2, 40.0, 130.0}};
    QCOMPARE(store.data().days, expected);
}

void TestProfileStore::the401stDayDropsTheOldest()
{
    // given 400 day records
    Rig rig;
    ProfileStore store(rig.base(), rig.clock());
    store.update([](ProfileData &p) {
        for (int i = 0; i < 400; ++i)
            p.days.append(DayStat{dayKeyForDate(QDate(2024, 1, 1).addDays(i)), 100, 1, 30.0, 100.0});
    });
    QCOMPARE(store.data().days.first().date, u"2024-01-01"_s);

    // when a session on a new day is recorded
    store.recordSession(150, 3, 60.0, 140.0);

    // then the oldest record is gone and the newest is today
    QCOMPARE(store.data().days.size(), 400);
    QCOMPARE(store.data().days.first().date, u"2024-01-02"_s);
    QCOMPARE(store.data().days.last(), (DayStat{u"2026-02-10"_s, 150, 3, 60.0, 140.0}));
    QCOMPARE(profileOnDisk(rig.current())->days.size(), 400);
}

void TestProfileStore::dayKeyUsesLocalTimeAndWesternDigits()
{
    // given a user locale with its own digits
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));

    // then the key is the local calendar day (UTC+10 here) in Western digits
    const QString evening = ProfileStore::dayKey(QDateTime(QDate(2026, 3, 6), QTime(20, 0), Qt::UTC));
    const QString morning = ProfileStore::dayKey(QDateTime(QDate(2026, 3, 6), QTime(13, 59), Qt::UTC));
    QLocale::setDefault(saved);

    QCOMPARE(evening, u"2026-03-07"_s);
    QCOMPARE(morning, u"2026-03-06"_s);
    QCOMPARE(ProfileStore::dayKey(QDateTime(QDate(987, 1, 2), QTime(12, 0))), u"0987-01-02"_s);
}

void TestProfileStore::killedWhileSavingLeavesOneWholeProfile()
{
    const ProfileData profiles[2] = {largeProfile(0), largeProfile(1)};
    QTemporaryDir dir;
    const QString file = dir.filePath(u"Olvi/profile.json"_s);
    int seen[2] = {0, 0};

    for (int round = 0; round < 25; ++round) {
        // given a process saving the two profiles in turn
        QProcess saver;
        saver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        saver.start(QStringLiteral(PROFILE_SAVER), {dir.path()});
        QVERIFY(saver.waitForStarted());

        // when it is killed after some saves, in the middle of whatever it does
        const int savesBeforeKill = 1 + QRandomGenerator::global()->bounded(6);
        int saves = 0;
        const auto reportedSaves = [&] {
            saves += int(saver.readAllStandardOutput().count('\n'));
            return saves;
        };
        QTRY_VERIFY_WITH_TIMEOUT(reportedSaves() >= savesBeforeKill, 20000);
        saver.kill();
        QVERIFY(saver.waitForFinished(5000));
        QCOMPARE(saver.exitStatus(), QProcess::CrashExit);

        // then the file holds exactly one of the two profiles
        const std::optional<ProfileData> onDisk = profileOnDisk(file);
        QVERIFY2(onDisk, qPrintable(u"round %1: the file does not decode"_s.arg(round)));
        const bool isFirst = *onDisk == profiles[0];
        QVERIFY2(isFirst || *onDisk == profiles[1],
                 qPrintable(u"round %1: the file is neither profile"_s.arg(round)));
        ++seen[isFirst ? 0 : 1];
    }
    // both profiles were caught on disk, so the kills did land at different moments
    QVERIFY(seen[0] > 0 && seen[1] > 0);

    // and a store started afterwards takes over the dead saver's lock and loads it
    ProfileStore store(dir.path());
    QVERIFY(store.data() == profiles[0] || store.data() == profiles[1]);
    QCOMPARE(store.storageProblem(), ProfileStore::StorageProblem::none);
    QCOMPARE(QDir(dir.filePath(u"Olvi"_s)).entryList(QDir::Files),
             (QStringList{u"profile.json"_s, u"profile.lock"_s}));
}

QTEST_GUILESS_MAIN(TestProfileStore)
#include "test_profile_store.moc"
