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
    [[nodiscard]] QString folder() const { return dir.filePath(u"Olvi"_s); }
    [[nodiscard]] QStringList files() const { return QDir(folder()).entryList(QDir::Files); }
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
    void initTestCase()
    {
        // A zone far from UTC, without daylight saving, makes local days visible.
        qputenv("TZ", "Asia/Vladivostok");
        tzset();
    }

    void firstStartWritesNothingUntilTheFirstSave()
    {
        Rig rig;
        ProfileStore store(rig.base(), rig.clock());
        QCOMPARE(store.data(), ProfileData());
        QCOMPARE(QDir(rig.base()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{u"Olvi"_s});
        QCOMPARE(rig.files(), QStringList{u"profile.lock"_s});

        store.save();
        QCOMPARE(profileOnDisk(rig.current()), ProfileData());
        QCOMPARE(rig.files(), (QStringList{u"profile.json"_s, u"profile.lock"_s}));
    }

    void validCurrentFileWinsOverLegacy()
    {
        Rig rig;
        const QByteArray current = ProfileJson::encode(profileAtLesson(5));
        const QByteArray legacy = ProfileJson::encode(profileAtLesson(7));
        put(rig.current(), current);
        put(rig.legacy(), legacy);
        ProfileStore store(rig.base(), rig.clock());
        QCOMPARE(store.data(), profileAtLesson(5));
        QCOMPARE(contents(rig.current()), current); // nothing written
        QCOMPARE(contents(rig.legacy()), legacy);
    }

    void unreadableCurrentIsReplacedByLegacyAndKept_data()
    {
        QTest::addColumn<QByteArray>("unreadable");
        QTest::newRow("garbage") << QByteArray("{\"keyStats\": {\"а\": ");
        QTest::newRow("member missing") << incomplete;
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("over 16 MiB") << oversized();
    }

    void unreadableCurrentIsReplacedByLegacyAndKept()
    {
        QFETCH(QByteArray, unreadable);
        Rig rig;
        const QByteArray legacy = ProfileJson::encode(profileAtLesson(7));
        put(rig.current(), unreadable);
        put(rig.legacy(), legacy);
        ProfileStore store(rig.base(), rig.clock());

        // the legacy profile is loaded and written at once, the unreadable file kept beside it
        QCOMPARE(store.data(), profileAtLesson(7));
        QCOMPARE(profileOnDisk(rig.current()), profileAtLesson(7));
        QCOMPARE(contents(rig.aside()), unreadable);
        QCOMPARE(contents(rig.legacy()), legacy);
        QCOMPARE(QDir(rig.base() + u"/Torvik"_s).entryList(QDir::Files),
                 QStringList{u"profile.json"_s});
    }

    void bothUnreadableKeepTheFileUntilTheFirstSave()
    {
        Rig rig;
        put(rig.current(), incomplete);
        put(rig.legacy(), "not json");
        ProfileStore store(rig.base(), rig.clock());
        QCOMPARE(store.data(), ProfileData());
        QCOMPARE(contents(rig.current()), incomplete);
        QVERIFY(!QFile::exists(rig.aside()));

        // the first save moves the unreadable file aside; later saves make no more copies
        rig.now = rig.now.addSecs(3600);
        store.update([](ProfileData &p) { p.soundOn = false; });
        store.save();
        store.save();
        QCOMPARE(contents(rig.current() + u".unreadable-20260210-130000"_s), incomplete);
        QCOMPARE(profileOnDisk(rig.current())->soundOn, false);
        QCOMPARE(rig.files(),
                 (QStringList{u"profile.json"_s, u"profile.json.unreadable-20260210-130000"_s,
                              u"profile.lock"_s}));
        QCOMPARE(contents(rig.legacy()), QByteArray("not json"));
    }

    void earlierMovedAsideCopiesAreNeverOverwritten()
    {
        Rig rig; // copies from earlier starts in the same second
        put(rig.aside(), "first");
        put(rig.aside(u"-2"_s), "second");
        put(rig.current(), "third");
        put(rig.legacy(), ProfileJson::encode(profileAtLesson(7)));
        ProfileStore store(rig.base(), rig.clock());
        QCOMPARE(contents(rig.aside()), QByteArray("first"));
        QCOMPARE(contents(rig.aside(u"-2"_s)), QByteArray("second"));
        QCOMPARE(contents(rig.aside(u"-3"_s)), QByteArray("third"));
        QCOMPARE(profileOnDisk(rig.current()), profileAtLesson(7));
    }

    void oversizedLegacyIsIgnored()
    {
        Rig rig;
        const QByteArray legacy = oversized();
        put(rig.legacy(), legacy);
        QVERIFY(!ProfileStore::readProfileFile(rig.legacy()));
        ProfileStore store(rig.base(), rig.clock());
        QCOMPARE(store.data(), ProfileData());
        QVERIFY(!QFile::exists(rig.current()));
        QCOMPARE(QFileInfo(rig.legacy()).size(), legacy.size());
    }

    void nonRegularFilesAreUnreadable_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("FIFO") << u"fifo"_s;
        QTest::newRow("link to a FIFO") << u"link"_s;
        QTest::newRow("directory") << u"directory"_s;
    }

    // A reader that waits on the FIFO fails by QtTest's function timeout.
    void nonRegularFilesAreUnreadable()
    {
        QFETCH(QString, kind);
        Rig rig;
        put(rig.legacy(), ProfileJson::encode(profileAtLesson(7)));
        QVERIFY(QDir().mkpath(rig.folder()));
        const QString fifo = kind == u"link" ? rig.dir.filePath(u"fifo"_s) : rig.current();
        if (kind == u"directory")
            QVERIFY(QDir().mkdir(rig.current()));
        else
            QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        if (kind == u"link")
            QVERIFY(QFile::link(fifo, rig.current()));

        ProfileStore store(rig.base(), rig.clock());
        QCOMPARE(store.data(), profileAtLesson(7));
        QCOMPARE(profileOnDisk(rig.current()), profileAtLesson(7));
        const QFileInfo aside(rig.aside());
        QVERIFY(aside.exists() && !aside.isFile());
        QCOMPARE(aside.isSymLink(), kind == u"link");
    }

    void failedWritesAreReportedAndRetried()
    {
        // the days held, the problem, whether it is saved
        const auto state = [](const ProfileStore &s) {
            return std::tuple(s.data().days.size(), s.storageProblem(), s.persistent());
        };
        using enum ProfileStore::StorageProblem;
        ProfileStore memoryOnly(QString(), ProfileStore::systemClock());
        memoryOnly.recordSession(150, 3, 60.0, 150.0);
        QCOMPARE(state(memoryOnly), std::tuple(qsizetype(1), noDataFolder, false));

        // a file where the folder should be: the write fails, the profile holds the session
        Rig rig;
        put(rig.folder(), "in the way");
        ProfileStore store(rig.base(), rig.clock());
        QCOMPARE(store.storageProblem(), folderNotWritable);
        QSignalSpy problemChanged(&store, &ProfileStore::storageProblemChanged);
        store.recordSession(150, 3, 60.0, 150.0);
        QCOMPARE(state(store), std::tuple(qsizetype(1), folderNotWritable, false));
        QVERIFY(!QFileInfo(rig.current()).exists());
        QCOMPARE(problemChanged.size(), 0);

        // once it is gone, the next save writes the profile and clears the problem
        QVERIFY(QFile::remove(rig.folder()));
        store.save();
        QCOMPARE(profileOnDisk(rig.current()), store.data());
        QCOMPARE(state(store), std::tuple(qsizetype(1), none, true));
        QCOMPARE(problemChanged.size(), 1);
    }

    void defaultFolderFollowsXdg_data()
    {
        QTest::addColumn<QByteArray>("dataHome"); // empty: unset
        QTest::addColumn<QByteArray>("home");     // empty: unset
        QTest::addColumn<QString>("folder");      // empty: none
        const QString localShare = u"/home/u/.local/share"_s;

        QTest::newRow("data home") << QByteArray("/srv/data/") << QByteArray("/home/u")
                                   << u"/srv/data"_s;
        QTest::newRow("relative data home is ignored") << QByteArray("data")
                                                       << QByteArray("/home/u") << localShare;
        QTest::newRow("no data home") << QByteArray() << QByteArray("/home/u/") << localShare;
        QTest::newRow("data home without home") << QByteArray("/srv/data") << QByteArray()
                                                << u"/srv/data"_s;
        QTest::newRow("no home") << QByteArray() << QByteArray() << QString();
        QTest::newRow("relative home") << QByteArray("data") << QByteArray("u") << QString();
    }

    void defaultFolderFollowsXdg()
    {
        const auto set = [](const char *name, const QByteArray &value) {
            value.isEmpty() ? qunsetenv(name) : qputenv(name, value);
        };
        QFETCH(QByteArray, dataHome);
        QFETCH(QByteArray, home);
        const QByteArray saved[] = {qgetenv("XDG_DATA_HOME"), qgetenv("HOME")};
        set("XDG_DATA_HOME", dataHome);
        set("HOME", home);
        const QString got = ProfileStore::defaultBaseFolder();
        set("XDG_DATA_HOME", saved[0]);
        set("HOME", saved[1]);
        QTEST(got, "folder");
    }

    void filesArePrivate_data()
    {
        QTest::addColumn<int>("existingMode"); // -1: no profile yet
        QTest::addColumn<int>("savedMode");
        QTest::newRow("new profile") << -1 << 0600;
        QTest::newRow("replaced profile keeps its mode") << 0644 << 0644;
    }

    void filesArePrivate()
    {
        QFETCH(int, existingMode);
        const mode_t savedMask = ::umask(022); // the usual one: new files readable by all
        Rig rig;
        if (existingMode >= 0) {
            put(rig.current(), ProfileJson::encode(profileAtLesson(2)));
            const QByteArray path = QFile::encodeName(rig.current());
            QCOMPARE(::chmod(path.constData(), mode_t(existingMode)), 0);
        }
        ProfileStore store(rig.base(), rig.clock());
        store.save();
        ::umask(savedMask);
        QTEST(mode(rig.current()), "savedMode");
        if (existingMode < 0)
            QCOMPARE(mode(rig.folder()), 0700);
    }

    void oneStoreWritesAFolder()
    {
        // what killed saves left beside the profile, and files that only look alike
        Rig rig;
        const QStringList kept{u"notes.txt"_s, u"profile.json.ab-cde"_s, u"profile.json.abcdefg"_s,
                               u"profile.json.bak"_s, u"profile.json.unreadable-20260101-000000"_s};
        for (const QString &name : kept)
            put(rig.folder() + u'/' + name, "not a temporary");
        put(rig.current() + u".Ab12cD"_s, "half a profile");

        // the first store owns the folder and removes only its own leftovers
        auto first = std::make_unique<ProfileStore>(rig.base(), rig.clock());
        QCOMPARE(first->storageProblem(), ProfileStore::StorageProblem::none);
        QCOMPARE(rig.files(), kept + QStringList{u"profile.lock"_s});
        first->update([](ProfileData &p) { p.currentLessonID = 5; });
        first->save();

        // a second one reads the profile, says it cannot write, and touches nothing
        put(rig.current() + u".Zz9Zz9"_s, "the first store's save under way");
        ProfileStore second(rig.base(), rig.clock());
        QCOMPARE(second.data(), first->data());
        QCOMPARE(second.storageProblem(), ProfileStore::StorageProblem::lockedByAnotherOlvi);
        QVERIFY(!second.persistent());
        QVERIFY(QFile::exists(rig.current() + u".Zz9Zz9"_s));
        second.update([](ProfileData &p) { p.currentLessonID = 9; });
        second.recordSession(10, 1, 4.0, 100.0);
        QCOMPARE(profileOnDisk(rig.current()), first->data());

        // not even after the first ends; a store started then owns the folder
        const ProfileData last = first->data();
        first.reset();
        second.save();
        QCOMPARE(profileOnDisk(rig.current()), last);
        ProfileStore third(rig.base(), rig.clock());
        QCOMPARE(third.storageProblem(), ProfileStore::StorageProblem::none);
        QVERIFY(!QFile::exists(rig.current() + u".Zz9Zz9"_s));
    }

    void everyUpdateIsAnnouncedAndSessionsAreSaved()
    {
        Rig rig;
        ProfileStore store(rig.base(), rig.clock());
        QSignalSpy changed(&store, &ProfileStore::dataChanged);
        bool seenNewValue = false;
        connect(&store, &ProfileStore::dataChanged, this,
                [&] { seenNewValue = store.data().currentLessonID == 3; });
        store.update([](ProfileData &p) { p.currentLessonID = 3; });
        QVERIFY(seenNewValue); // observers read the changed profile

        // sessions of one day add up; an empty one still opens the day
        store.recordSession(0, 0, 0.0, 0.0);
        store.recordSession(150, 3, 60.5, 140.0);
        rig.now = rig.now.addSecs(600);
        store.recordSession(160, 1, 50.25, 190.0);
        rig.now = QDateTime(QDate(2026, 2, 10), QTime(23, 59));
        store.recordSession(140, 0, 45.0, 120.0);
        QCOMPARE(changed.size(), 5);
        QList<DayStat> expected{DayStat{u"2026-02-10"_s, 450, 4, 155.75, 190.0}};
        QCOMPARE(store.data().days, expected);
        QCOMPARE(profileOnDisk(rig.current())->days, expected);

        // a new day starts at local midnight
        rig.now = QDateTime(QDate(2026, 2, 11), QTime(0, 1));
        store.recordSession(100, 2, 40.0, 130.0);
        expected << DayStat{u"2026-02-11"_s, 100, 2, 40.0, 130.0};
        QCOMPARE(profileOnDisk(rig.current())->days, expected);
    }

    void the401stDayDropsTheOldest()
    {
        Rig rig;
        ProfileStore store(rig.base(), rig.clock());
        store.update([](ProfileData &p) {
            for (int i = 0; i < 400; ++i) {
                const QString day = dayKeyForDate(QDate(2024, 1, 1).addDays(i));
                p.days.append(DayStat{day, 100, 1, 30.0, 100.0});
            }
        });
        store.recordSession(150, 3, 60.0, 140.0);
        QCOMPARE(store.data().days.size(), 400);
        QCOMPARE(store.data().days.first().date, u"2024-01-02"_s);
        QCOMPARE(store.data().days.last(), (DayStat{u"2026-02-10"_s, 150, 3, 60.0, 140.0}));
        QCOMPARE(profileOnDisk(rig.current())->days.size(), 400);
    }

    void dayKeyUsesLocalTimeAndWesternDigits()
    {
        const QLocale saved; // a user locale with its own digits
        QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
        const auto utc = [](int hour, int minute) {
            return ProfileStore::dayKey(QDateTime(QDate(2026, 3, 6), QTime(hour, minute), Qt::UTC));
        };
        const QString evening = utc(20, 0);
        const QString morning = utc(13, 59);
        QLocale::setDefault(saved);
        QCOMPARE(evening, u"2026-03-07"_s); // UTC+10 here
        QCOMPARE(morning, u"2026-03-06"_s);
        QCOMPARE(ProfileStore::dayKey(QDateTime(QDate(987, 1, 2), QTime(12, 0))), u"0987-01-02"_s);
    }

    void killedWhileSavingLeavesOneWholeProfile()
    {
        const ProfileData profiles[2] = {largeProfile(0), largeProfile(1)};
        QTemporaryDir dir;
        const QString file = dir.filePath(u"Olvi/profile.json"_s);
        int seen[2] = {0, 0};

        for (int round = 0; round < 25; ++round) {
            // a process saving the two profiles in turn, killed in the middle of whatever it does
            QProcess saver;
            saver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            saver.start(QStringLiteral(PROFILE_SAVER), {dir.path()});
            QVERIFY(saver.waitForStarted());
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
            // the file holds exactly one of the two profiles
            const std::optional<ProfileData> onDisk = profileOnDisk(file);
            QVERIFY2(onDisk, qPrintable(u"round %1: the file does not decode"_s.arg(round)));
            const bool isFirst = *onDisk == profiles[0];
            QVERIFY2(isFirst || *onDisk == profiles[1],
                     qPrintable(u"round %1: the file is neither profile"_s.arg(round)));
            ++seen[isFirst ? 0 : 1];
        }
        // both profiles were caught on disk, so the kills did land at different moments
        QVERIFY(seen[0] > 0 && seen[1] > 0);

        // a store started afterwards takes over the dead saver's lock and loads it
        ProfileStore store(dir.path());
        QVERIFY(store.data() == profiles[0] || store.data() == profiles[1]);
        QCOMPARE(store.storageProblem(), ProfileStore::StorageProblem::none);
        QCOMPARE(QDir(dir.filePath(u"Olvi"_s)).entryList(QDir::Files),
                 (QStringList{u"profile.json"_s, u"profile.lock"_s}));
    }
};

QTEST_GUILESS_MAIN(TestProfileStore)
#include "test_profile_store.moc"
