// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_rig.h"
#include "profile_merge.h"
#include "progress_transfer.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

ProfileData profile(std::initializer_list<qint64> charsByDay, qint64 lesson)
{
    ProfileData p;
    for (qint64 chars : charsByDay)
        p.days.append({u"2026-12-0%1"_s.arg(p.days.size() + 1), chars, chars > 0 ? 3 : 0,
                       chars * 0.4, 150});
    p.exercisesPassed = {{1, lesson > 1 ? 3 : 0}};
    p.currentLessonID = lesson;
    return p;
}

const ProfileData laptop = profile({300, 500, 0}, 2);
const ProfileData desktop = profile({300, 200, 700}, 1);

QByteArray contents(const QString &path)
{
    return ProfileStore::readProfileFile(path).value_or(QByteArray());
}

QStringList copiesIn(const AppRig &rig)
{
    return QDir(rig.folder.filePath(u"Olvi"_s)).entryList({u"*before-import*"_s}, QDir::Files);
}

using enum ProgressTransfer::Outcome;

} // namespace

// Progress carried between two computers' data folders through files.
class TestProgressTransfer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exportThenImportMergesOnce()
    {
        AppRig here(desktop), there(laptop);
        ProgressTransfer &from = *there.app->transfer(), &to = *here.app->transfer();

        // given the laptop's progress saved
        there.files.answer = here.files.answer = there.folder.filePath(u"moved.json"_s);
        from.exportProfile();
        QCOMPARE(there.files.proposed, QStringList{u"olvi-progress-2026-12-06.json"_s});

        // when the desktop, with copies from four earlier imports, reads it, it is told what
        // merging adds
        for (const QString &stamp : {u"1201-090000"_s, u"1205-100000"_s, u"1205-100000-2"_s,
                                    u"1205-100000-10"_s}) {
            QVERIFY(ProfileStore::writeFileDurably(
                here.folder.filePath(u"Olvi/profile.json.before-import-2026"_s + stamp), "{}"));
        }
        const QByteArray before = contents(here.app->store()->fileName());
        to.chooseImport();
        QCOMPARE(to.effect(), (ProfileMerge::Effect{0, 1, 1, 0, true, false, 0}));
        QCOMPARE(std::pair(to.fileName(), to.lessonAfter()), std::pair(u"moved.json"_s, 2LL));

        // then, confirmed, the merge is saved and the file as it was before kept beside it,
        // with the newest two earlier copies
        to.confirmImport();
        QCOMPARE(here.profileOnDisk(), ProfileMerge::merge(desktop, laptop));
        const QString copy = u"profile.json.before-import-20261206-120000"_s;
        const QString kept = u"profile.json.before-import-20261205-100000-"_s;
        QCOMPARE(copiesIn(here), (QStringList{kept + u"10"_s, kept + u"2"_s, copy}));
        QCOMPARE(std::pair(to.outcome(), to.copyName()), std::pair(Merged, copy));
        QCOMPARE(contents(here.folder.filePath(u"Olvi/"_s + copy)), before);

        // and the same file again changes nothing
        const QByteArray merged = contents(here.app->store()->fileName());
        to.chooseImport();
        QCOMPARE(std::pair(to.outcome(), to.fileName()), std::pair(NothingNew, u"moved.json"_s));
        QCOMPARE(std::pair(contents(here.app->store()->fileName()), copiesIn(here).size()),
                 std::pair(merged, qsizetype(3)));
    }

    void refusedFileChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("here"); // "locked" by another Olvi, or "full": near the bound
        QTest::addColumn<ProgressTransfer::Outcome>("outcome");
        const auto changed = [](auto change) {
            ProfileData p = laptop;
            change(p);
            return ProfileJson::encode(p);
        };
        QTest::newRow("damaged") << ProfileJson::encode(laptop).chopped(2) << ""_ba << NotAProfile;
        QTest::newRow("oversized") << QByteArray(ProfileJson::maxDocumentSize + 1, ' ') << ""_ba
                                   << FileTooLarge;
        QTest::newRow("implausible") << ProfileJson::encode(profile({-1}, 2)) << ""_ba
                                     << ImpossibleNumbers;
        QTest::newRow("a key no key types") << changed([](ProfileData &p) {
            p.keyStats.insert(u"abc"_s, KeyStat{5, 1, 0.1, 0.2});
        }) << ""_ba << UnknownKeys;
        QTest::newRow("a day of 2099") << changed([](ProfileData &p) {
            p.days.append({u"2099-01-01"_s, 10, 0, 4.0, 150});
        }) << ""_ba << FutureDays;
        // near the reader's bound: one large member no Olvi writes
        QTest::newRow("a large unknown member") << changed([](ProfileData &p) {
            p.extraMembers.insert(u"x"_s, '"' + QByteArray(15'000'000, 'x') + '"');
        }) << ""_ba << TooMuchData;
        // each part passes, but with this computer's file, near the reader's 250 000 values,
        // the merge would be more than the reader takes
        QTest::newRow("merged past the bound") << changed([](ProfileData &p) {
            p.extraMembers.insert(u"theirs"_s, '[' + QByteArray("0,").repeated(20'000) + "0]");
        }) << "full"_ba << MergeTooLarge;
        QTest::newRow("folder locked") << ProfileJson::encode(laptop) << "locked"_ba
                                       << AnotherOlviWrites;
    }

    void refusedFileChangesNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, here);
        ProfileData mine = desktop;
        if (here == "full")
            mine.extraMembers.insert(u"mine"_s, '[' + QByteArray("0,").repeated(240'000) + "0]");
        AppRig rig(mine);
        rig.files.answer = rig.folder.filePath(u"in.json"_s);
        QVERIFY(ProfileStore::writeFileDurably(rig.files.answer, bytes));
        const QByteArray before = contents(rig.app->store()->fileName());
        // a second Olvi on the same folder may not write it
        ProfileStore second(rig.folder.path());
        ProfileStore &store = here == "locked" ? second : *rig.app->store();
        ProgressTransfer transfer(store, rig.files, [&rig] { return rig.now; });

        transfer.chooseImport();
        transfer.confirmImport(); // nothing waits for it
        QTEST(transfer.outcome(), "outcome");
        QCOMPARE(store.data(), mine);
        QCOMPARE(contents(rig.app->store()->fileName()), before);
        QVERIFY(copiesIn(rig).isEmpty());
    }

    // The profile file turns into a folder after start: the merge is not saved, memory
    // goes back, and the copy kept before it stays, the one readable record on disk.
    void importWhoseSaveFailsClaimsNothing()
    {
        AppRig here(desktop);
        here.files.answer = here.folder.filePath(u"in.json"_s);
        QVERIFY(ProfileStore::writeFileDurably(here.files.answer, ProfileJson::encode(laptop)));
        ProgressTransfer &transfer = *here.app->transfer();
        transfer.chooseImport();
        const QString file = here.app->store()->fileName();
        QVERIFY(QFile::remove(file) && QDir().mkdir(file));
        transfer.confirmImport();
        QCOMPARE(std::pair(transfer.outcome(), here.profile()), std::pair(MergeNotSaved, desktop));
        QCOMPARE(copiesIn(here), QStringList{transfer.copyName()});
        QCOMPARE(ProfileJson::decode(contents(here.folder.filePath(u"Olvi/"_s + copiesIn(here)[0]))),
                 desktop);
    }

    // Whatever form the answer of the screen's own dialog takes, the file is written.
    void dialogAnswerInEveryForm_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("written"); // relative to the dialog's folder
        QTest::newRow("URL") << "file://%1/a.json" << "a.json";
        QTest::newRow("bare path, as Qt 6.4's own dialog") << "%1/b.json" << "b.json";
        QTest::newRow("relative name") << "c.json" << "c.json";
        QTest::newRow("no extension") << "%1/d" << "d.json";
        QTest::newRow("# in the name") << "%1/e#1.json" << "e#1.json";
    }

    void dialogAnswerInEveryForm()
    {
        QFETCH(QString, answer);
        QFETCH(QString, written);
        AppRig rig(laptop); // its chooser, given no file, cannot ask
        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", rig.folder.path().toUtf8()); // the dialog's folder: the home
        ProgressTransfer &transfer = *rig.app->transfer();
        transfer.exportProfile();
        const QString folder = transfer.dialogFolder().toLocalFile();
        transfer.dialogAccepted(QUrl(answer.arg(folder)));
        qputenv("HOME", home);
        QCOMPARE(folder, rig.folder.path());
        QCOMPARE(std::pair(transfer.outcome(), transfer.fileName()),
                 std::pair(ProfileSaved, written));
        QCOMPARE(ProfileJson::decode(contents(rig.folder.filePath(written))), laptop);
    }

    void tableIsSavedThroughOlvisOwnDialog_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("cell");
        // a date from a hostile file is never a formula, and stays one field
        QTest::newRow("formula") << u"=HYPERLINK(\"http://x\",\"a\")"_s
                                 << u"\"'=HYPERLINK(\"\"http://x\"\",\"\"a\"\")\""_s;
        QTest::newRow("plus") << u"+1"_s << u"'+1"_s;
        QTest::newRow("minus") << u"-1+1"_s << u"'-1+1"_s;
        QTest::newRow("at") << u"@SUM(A1)"_s << u"'@SUM(A1)"_s;
        QTest::newRow("tab") << u"\t=1"_s << u"'\t=1"_s;
        QTest::newRow("line break") << u"1\r\n=2"_s << u"\"1\r\n=2\""_s;
    }

    void tableIsSavedThroughOlvisOwnDialog()
    {
        QFETCH(QString, date);
        QFETCH(QString, cell);
        ProfileData p;
        p.days = {{date, 1500, 12, 450.0, 215.42}, {date, 1500, 12, 450.0, 215.42}};
        AppRig rig(p); // its chooser, given no file, cannot ask
        ProgressTransfer &transfer = *rig.app->transfer();
        transfer.exportTable();
        QCOMPARE(rig.files.proposed, QStringList{u"olvi-days-2026-12-06.csv"_s});
        QCOMPARE(transfer.dialog(), ProgressTransfer::Dialog::SaveTable);
        transfer.dialogAccepted(QUrl::fromLocalFile(rig.folder.filePath(u"days.csv"_s)));
        // a byte order mark, the header, and a row for each day, each ended by CR LF
        const QString header = u"Дата,Знаков,Ошибок,Минут,Лучшая скорость (зн/мин)\r\n"_s;
        const QString row = cell + u",1500,12,7.5,215.4\r\n"_s;
        QCOMPARE(contents(rig.folder.filePath(u"days.csv"_s)),
                 "\xEF\xBB\xBF" + (header + row + row).toUtf8());
    }
};

QTEST_GUILESS_MAIN(TestProgressTransfer)
#include "test_progress_transfer.moc"
