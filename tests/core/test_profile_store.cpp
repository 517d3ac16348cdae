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

QByteArray profileAtLesson(qint64 lesson)
{
    ProfileData p;
    p.currentLessonID = lesson;
    return ProfileJson::encode(p);
}

// The permission bits of a file or folder, as an octal number to compare.
int mode(const QString &path)
{
    struct stat status = {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 07777)
                                                                     : -1;
}

// One finished exercise folded into the day of `now`, and saved.
void record(ProfileStore &store, const QDateTime &now, qint64 chars, qint64 errors,
            double seconds, double speed)
{
    store.update([&](ProfileData &p) {
        p.recordDay(ProfileStore::dayKey(now), chars, errors, seconds, speed);
    });
    store.save();
}

QByteArray oversized()
{
    QByteArray bytes = profileAtLesson(9);
    return bytes.append(ProfileJson::maxDocumentSize + 1 - bytes.size(), ' ');
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
        ::umask(022); // the usual mask: new files readable by all
    }

    void loadsTheCurrentFileElseTheLegacyOne_data()
    {
        QTest::addColumn<QByteArray>("current"); // "-": none; "fifo": a link to a FIFO
        QTest::addColumn<QByteArray>("legacy");
        QTest::addColumn<qint64>("lesson"); // of the profile loaded

        QTest::newRow("valid current file") << profileAtLesson(5) << profileAtLesson(7) << 5LL;
        QTest::newRow("garbage") << QByteArray("{\"keyStats\": {\"а\": ") << profileAtLesson(7)
                                 << 7LL;
        // a reader that waits on the FIFO fails by QtTest's function timeout
        QTest::newRow("link to a FIFO") << QByteArray("fifo") << profileAtLesson(7) << 7LL;
        QTest::newRow("legacy over 16 MiB") << QByteArray("-") << oversized() << 1LL;
    }

    void loadsTheCurrentFileElseTheLegacyOne()
    {
        QFETCH(QByteArray, current);
        QFETCH(QByteArray, legacy);
        QFETCH(qint64, lesson);
        Rig rig;
        put(rig.legacy(), legacy);
        if (current == "fifo") {
            const QString fifo = rig.dir.filePath(u"fifo"_s);
            QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
            QVERIFY(QDir().mkpath(rig.folder()) && QFile::link(fifo, rig.current()));
        } else if (current != "-") {
            put(rig.current(), current);
        }

        ProfileStore store(rig.base(), rig.clock());
        QCOMPARE(store.data().currentLessonID, lesson);
        QCOMPARE(contents(rig.legacy()), legacy); // only ever read
        const QFileInfo aside(rig.current() + u".unreadable-20260210-120000"_s);
        if (lesson != 7) { // nothing written
            QVERIFY(!aside.exists() && store.unreadableCopy().isEmpty());
            QCOMPARE(contents(rig.current()), current == "-" ? QByteArray("<missing>") : current);
            return;
        }
        // the legacy profile is written at once, the unreadable file kept beside it and named
        QCOMPARE(profileOnDisk(rig.current())->currentLessonID, 7);
        QCOMPARE(store.unreadableCopy(), aside.filePath());
        QCOMPARE(aside.isSymLink(), current == "fifo");
        if (aside.isFile())
            QCOMPARE(contents(aside.filePath()), current);
    }

    void unreadableFileIsMovedAsideAtStart()
    {
        Rig rig; // with copies from earlier starts in the same second
        const QString aside = rig.current() + u".unreadable-20260210-120000"_s;
        put(aside, "first");
        put(aside + u"-2"_s, "second");
        put(rig.current(), "third");
        put(rig.legacy(), "not json");
        ProfileStore store(rig.base(), rig.clock());
        QCOMPARE(store.data(), ProfileData());
        QCOMPARE(store.unreadableCopy(), aside + u"-3"_s);
        QVERIFY(!QFile::exists(rig.current()));

        store.update([](ProfileData &p) { p.soundOn = false; });
        store.save();
        store.save(); // makes no more copies
        QCOMPARE(profileOnDisk(rig.current())->soundOn, false);
        QCOMPARE(contents(aside) + contents(aside + u"-2"_s) + contents(aside + u"-3"_s),
                 QByteArray("firstsecondthird"));
        QCOMPARE(rig.files().size(), 5); // and the profile and its lock
    }

    // Whatever makes a save fail, the file keeps the last profile the reader takes, the
    // store says why (once), and once the cause is gone the next save writes the profile.
    void failedSavesKeepTheLastReadableFile_data()
    {
        QTest::addColumn<QByteArray>("cause");
        QTest::addColumn<ProfileStore::StorageProblem>("problem");
        QTest::addColumn<qint64>("lessonOnDisk"); // as the next start reads it
        using enum ProfileStore::StorageProblem;
        // both work as root too, where a read-only file or folder would not fail
        QTest::newRow("a file where the folder was") << "file"_ba << folderNotWritable << 1LL;
        QTest::newRow("a folder where the file was") << "folder"_ba << fileNotWritable << 1LL;
        QTest::newRow("over the reader's size") << "size"_ba << profileTooLarge << 5LL;
        QTest::newRow("over the reader's values") << "values"_ba << profileTooLarge << 5LL;
    }

    void failedSavesKeepTheLastReadableFile()
    {
        QFETCH(QByteArray, cause);
        Rig rig;
        put(rig.current(), profileAtLesson(5));
        ProfileStore store(rig.base(), rig.clock());
        QSignalSpy problemChanged(&store, &ProfileStore::storageProblemChanged);
        if (cause == "file") {
            QVERIFY(QDir(rig.folder()).removeRecursively());
            put(rig.folder(), "in the way");
        } else if (cause == "folder") {
            QVERIFY(QFile::remove(rig.current()) && QDir().mkdir(rig.current()));
        } else { // one member a later version might write: too large a text, or 250 001 numbers
            store.update([&cause](ProfileData &p) {
                p.extraMembers[u"later"_s] =
                    cause == "size" ? '"' + QByteArray(ProfileJson::maxDocumentSize, 'x') + '"'
                                    : '[' + QByteArray("0,").repeated(250'000) + "0]";
            });
        }
        record(store, rig.now, 150, 3, 60.0, 150.0);
        QTEST(store.storageProblem(), "problem");
        QCOMPARE(store.data().days.size(), 1); // kept in memory
        QTEST(ProfileStore(rig.base(), rig.clock()).data().currentLessonID, "lessonOnDisk");

        if (cause == "file")
            QVERIFY(QFile::remove(rig.folder()) && QDir().mkdir(rig.folder()));
        if (cause == "folder")
            QVERIFY(QDir().rmdir(rig.current()));
        store.update([](ProfileData &p) { p.extraMembers.clear(); });
        store.save();
        QCOMPARE(std::pair(profileOnDisk(rig.current()), store.storageProblem()),
                 std::pair(std::optional(store.data()), ProfileStore::StorageProblem::none));
        QCOMPARE(problemChanged.size(), 2);

        // without a data folder at all, a store keeps its profile in memory
        ProfileStore memoryOnly(QString(), ProfileStore::systemClock());
        record(memoryOnly, rig.now, 150, 3, 60.0, 150.0);
        QCOMPARE(std::pair(memoryOnly.data().days.size(), memoryOnly.storageProblem()),
                 std::pair(qsizetype(1), ProfileStore::StorageProblem::noDataFolder));
    }

    void defaultFolderFollowsXdg_data()
    {
        QTest::addColumn<QByteArray>("home");
        QTest::addColumn<QString>("folder"); // empty: none
        QTest::newRow("relative data home is ignored") << "/home/u/"_ba
                                                       << u"/home/u/.local/share"_s;
        QTest::newRow("relative home") << "u"_ba << QString();
    }

    void defaultFolderFollowsXdg()
    {
        QFETCH(QByteArray, home);
        const QByteArray saved[] = {qgetenv("XDG_DATA_HOME"), qgetenv("HOME")};
        qputenv("XDG_DATA_HOME", "data");
        qputenv("HOME", home);
        const QString got = ProfileStore::defaultBaseFolder();
        qputenv("XDG_DATA_HOME", saved[0]);
        qputenv("HOME", saved[1]);
        QTEST(got, "folder");
    }

    void oneStoreWritesAFolder()
    {
        // what killed saves left beside the profile, and files that only look alike
        Rig rig;
        const QStringList kept{u"notes.txt"_s, u"profile.json.ab-cde"_s, u"profile.json.abcdefg"_s,
                               u"profile.json.unreadable-20260101-000000"_s};
        for (const QString &name : kept)
            put(rig.folder() + u'/' + name, "not a temporary");
        put(rig.current() + u".Ab12cD"_s, "half a profile");

        // the first store owns the folder and removes only its own leftovers
        auto first = std::make_unique<ProfileStore>(rig.base(), rig.clock());
        QCOMPARE(rig.files(), kept + QStringList{u"profile.lock"_s});
        first->update([](ProfileData &p) { p.currentLessonID = 5; });
        first->save();

        // a second one reads the profile, says it cannot write, and touches nothing
        put(rig.current() + u".Zz9Zz9"_s, "the first store's save under way");
        ProfileStore second(rig.base(), rig.clock());
        QCOMPARE(second.data(), first->data());
        QCOMPARE(second.storageProblem(), ProfileStore::StorageProblem::lockedByAnotherOlvi);
        record(second, rig.now, 10, 1, 4.0, 100.0);
        QVERIFY(QFile::exists(rig.current() + u".Zz9Zz9"_s));

        // not even after the first ends; a store started then owns the folder
        first.reset();
        second.save();
        QCOMPARE(profileOnDisk(rig.current())->days.size(), 0);
        ProfileStore third(rig.base(), rig.clock());
        QCOMPARE(third.storageProblem(), ProfileStore::StorageProblem::none);
        QVERIFY(!QFile::exists(rig.current() + u".Zz9Zz9"_s));
    }

    void sessionsAddUpPerLocalDayInAPrivateFile()
    {
        Rig rig;
        ProfileStore store(rig.base(), rig.clock());
        store.update([](ProfileData &p) {
            for (int i = 0; i < 399; ++i)
                p.days.append(DayStat{dayKeyForDate(QDate(2024, 1, 1).addDays(i)), 100, 1, 30, 0});
        });
        QSignalSpy changed(&store, &ProfileStore::dataChanged);
        // sessions of one day add up; an empty one still opens the day
        record(store, rig.now, 0, 0, 0.0, 0.0);
        record(store, rig.now, 150, 3, 60.5, 140.0);
        QCOMPARE(std::pair(mode(rig.folder()), mode(rig.current())), std::pair(0700, 0600));
        // a replaced file keeps the mode its user gave it
        QCOMPARE(::chmod(QFile::encodeName(rig.current()).constData(), 0644), 0);
        rig.now = QDateTime(QDate(2026, 2, 10), QTime(23, 59));
        record(store, rig.now, 160, 1, 50.25, 190.0);
        record(store, rig.now, 140, 0, 45.0, 120.0);
        // a new day starts at local midnight (UTC+10 here), written in Western digits whatever
        // the user's locale, and the 401st day drops the oldest
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
        rig.now = QDateTime(QDate(2026, 2, 10), QTime(14, 1), Qt::UTC);
        record(store, rig.now, 100, 2, 40.0, 130.0);
        QLocale::setDefault(saved);
        QCOMPARE(changed.size(), 5);
        const QList<DayStat> days = profileOnDisk(rig.current())->days;
        QCOMPARE(mode(rig.current()), 0644);
        QCOMPARE(days.size(), 400);
        QCOMPARE(days.first().date, u"2024-01-02"_s);
        QCOMPARE(days.last(2), (QList<DayStat>{{u"2026-02-10"_s, 450, 4, 155.75, 190.0},
                                               {u"2026-02-11"_s, 100, 2, 40.0, 130.0}}));
    }

    void killedWhileSavingLeavesOneWholeProfile()
    {
        const ProfileData profiles[2] = {largeProfile(0), largeProfile(1)};
        QTemporaryDir dir;
        int seen[2] = {0, 0};

        for (int round = 0; round < 25; ++round) {
            // a process saving the two profiles in turn, killed in the middle of whatever it does
            QProcess saver;
            saver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            saver.start(QStringLiteral(PROFILE_SAVER), {dir.path()});
            const int killAfter = 1 + QRandomGenerator::global()->bounded(6); // saves reported
            int saves = 0;
            QTRY_VERIFY_WITH_TIMEOUT(
                (saves += int(saver.readAllStandardOutput().count('\n'))) >= killAfter, 20000);
            saver.kill();
            QVERIFY(saver.waitForFinished(5000));
            // the file holds exactly one of the two profiles
            const auto onDisk = profileOnDisk(dir.filePath(u"Olvi/profile.json"_s));
            const auto which = onDisk ? std::find(profiles, profiles + 2, *onDisk) - profiles : 2;
            QVERIFY2(which < 2, qPrintable(u"round %1: the file is neither profile"_s.arg(round)));
            ++seen[which];
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
