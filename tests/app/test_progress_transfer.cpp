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
        p.days.append({u"2026-12-0%1"_s.arg(p.days.size() + 1), chars, 3, chars * 0.4, 150});
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

        // when the desktop reads it, it is told what merging adds
        const QByteArray before = contents(here.app->store()->fileName());
        to.chooseImport();
        QCOMPARE(to.importSummary(), u"Обновятся данные за 1 день, 1 урок станет пройденным, курс "
                                     "продвинется до урока 2."_s);

        // then, confirmed, the merge is saved and the file as it was before kept beside it
        to.confirmImport();
        QCOMPARE(here.profileOnDisk(), ProfileMerge::merge(desktop, laptop));
        QCOMPARE(copiesIn(here), QStringList{u"profile.json.before-import-20261206-120000"_s});
        QCOMPARE(contents(here.folder.filePath(u"Olvi/"_s + copiesIn(here).first())), before);

        // and the same file again changes nothing
        const QByteArray merged = contents(here.app->store()->fileName());
        to.chooseImport();
        QCOMPARE(to.message(),
                 u"В файле «moved.json» нет ничего нового — прогресс не изменился."_s);
        QCOMPARE(std::pair(contents(here.app->store()->fileName()), copiesIn(here).size()),
                 std::pair(merged, qsizetype(1)));
    }

    void refusedFileChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("anotherOlviWrites");
        QTest::addColumn<QString>("message");
        QTest::newRow("damaged") << ProfileJson::encode(laptop).chopped(2) << false
                                 << u"В файле «in.json» нет прогресса Олви."_s;
        QTest::newRow("oversized") << QByteArray(ProfileJson::maxDocumentSize + 1, ' ') << false
                                   << u"Файл «in.json» слишком велик для прогресса Олви."_s;
        QTest::newRow("implausible")
            << ProfileJson::encode(profile({-1}, 2)) << false
            << u"В файле «in.json» есть невозможные числа — он не загружен."_s;
        QTest::newRow("folder locked")
            << ProfileJson::encode(laptop) << true
            << u"Прогресс ведёт другой открытый Олви — загрузите файл в нём."_s;
    }

    void refusedFileChangesNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, anotherOlviWrites);
        QFETCH(QString, message);
        AppRig here(desktop);
        here.files.answer = here.folder.filePath(u"in.json"_s);
        QVERIFY(ProfileStore::writeFileDurably(here.files.answer, bytes));
        const QByteArray before = contents(here.app->store()->fileName());
        // a second Olvi on the same folder may not write it
        ProfileStore second(here.folder.path());
        ProfileStore &store = anotherOlviWrites ? second : *here.app->store();
        ProgressTransfer transfer(store, here.files, [&here] { return here.now; });

        transfer.chooseImport();
        transfer.confirmImport(); // nothing waits for it
        QCOMPARE(transfer.message(), message);
        QCOMPARE(store.data(), desktop);
        QCOMPARE(contents(here.app->store()->fileName()), before);
        QVERIFY(copiesIn(here).isEmpty());
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
        QCOMPARE(transfer.dialog(), ProgressTransfer::Dialog::SaveDialog);
        transfer.dialogAccepted(QUrl::fromLocalFile(rig.folder.filePath(u"days.csv"_s)));
        // a byte order mark, the header, and a row for each day, each ended by CR LF
        const QString header = u"Дата,Знаков,Ошибок,Минут,Лучшая скорость (зн/мин)\r\n"_s;
        const QString row = cell + u",1500,12,7.5,215.4\r\n"_s;
        QCOMPARE(contents(rig.folder.filePath(u"days.csv"_s)),
                 "\xEF\xBB\xBF" + (header + row + row).toUtf8());
    }

    void sentenceCountsInRussian()
    {
        // a count of 1 (21), 2–4 (22) or the rest (5, and 112 as 11–14) takes its form
        QCOMPARE(ProgressTransfer::effectSentence({5, 112, 22, 21, true, true}, 7),
                 u"Добавится 5 дней, обновятся данные за 112 дней, 22 урока станут пройденными, "
                 "обновится статистика 21 клавиши, курс продвинется до урока 7, появится текст "
                 "рукописи."_s);
        QCOMPARE(ProgressTransfer::effectSentence({22, 0, 5, 5}, 1),
                 u"Добавится 22 дня, 5 уроков станут пройденными, обновится статистика "
                 "5 клавиш."_s);
    }
};

QTEST_GUILESS_MAIN(TestProgressTransfer)
#include "test_progress_transfer.moc"
