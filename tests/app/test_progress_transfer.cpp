// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_rig.h"
#include "profile_csv.h"
#include "profile_merge.h"
#include "progress_transfer.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Answers with the file the test chose; without one, like a desktop without
// a portal, it cannot ask.
struct FakeChooser : FileChooser
{
    QString answer;
    QStringList proposed;
    void ask(const Request &request) override
    {
        proposed << request.suggestedName;
        answer.isEmpty() ? Q_EMIT unavailable() : Q_EMIT chosen(answer);
    }
};

ProfileData profile(std::initializer_list<qint64> charsByDay, qint64 lesson)
{
    ProfileData p;
    for (qint64 chars : charsByDay) {
        p.days.append(DayStat{dayKeyForDate(QDate(2026, 12, 1 + int(p.days.size()))), chars, 3,
                              chars * 0.4, 150.0});
    }
    p.exercisesPassed = {{1, lesson > 1 ? 3 : 0}};
    p.currentLessonID = lesson;
    return p;
}

const ProfileData laptop = profile({300, 500, 0}, 2);
const ProfileData desktop = profile({300, 200, 700}, 1);

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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
        FakeChooser chooser;
        ProgressTransfer &from = *there.app->transfer(), &to = *here.app->transfer();
        from.setChooser(&chooser);
        to.setChooser(&chooser);
        const QString file = there.folder.filePath(u"moved.json"_s);
        const QString table = there.folder.filePath(u"days.csv"_s);

        // given the laptop's progress saved, and its table saved through Olvi's own dialog
        chooser.answer = file;
        from.exportProfile();
        QCOMPARE(contents(file), ProfileJson::encode(laptop));
        chooser.answer.clear();
        from.exportTable();
        QCOMPARE(from.dialog(), ProgressTransfer::Dialog::SaveDialog);
        from.dialogAccepted(QUrl::fromLocalFile(table));
        QCOMPARE(contents(table), ProfileCsv::days(laptop.days));
        QCOMPARE(chooser.proposed, (QStringList{u"olvi-progress-2026-12-06.json"_s,
                                                u"olvi-days-2026-12-06.csv"_s}));

        // when the desktop reads it, it is told what merging adds, and nothing changes yet
        chooser.answer = file;
        const QByteArray before = contents(here.app->store()->fileName());
        to.chooseImport();
        QVERIFY(to.confirming());
        QCOMPARE(to.importSummary(), u"Обновятся данные за 1 день, 1 урок станет пройденным, курс "
                                     "продвинется до урока 2."_s);
        QCOMPARE(contents(here.app->store()->fileName()), before);

        // then, confirmed, the merge is saved and the old file kept beside it
        to.confirmImport();
        QCOMPARE(here.profileOnDisk(), ProfileMerge::merge(desktop, laptop));
        QCOMPARE(copiesIn(here), QStringList{u"profile.json.before-import-20261206-120000"_s});
        QCOMPARE(contents(here.folder.filePath(u"Olvi/"_s + copiesIn(here).first())), before);

        // and the same file again changes nothing
        const QByteArray merged = contents(here.app->store()->fileName());
        to.chooseImport();
        QVERIFY(!to.confirming());
        QCOMPARE(to.message(),
                 u"В файле «moved.json» нет ничего нового — прогресс не изменился."_s);
        QCOMPARE(contents(here.app->store()->fileName()), merged);
        QCOMPARE(copiesIn(here).size(), 1);
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
        FakeChooser chooser;
        chooser.answer = here.folder.filePath(u"in.json"_s);
        QFile in(chooser.answer);
        QVERIFY(in.open(QIODevice::WriteOnly) && in.write(bytes) == bytes.size());
        in.close();
        const QByteArray before = contents(here.app->store()->fileName());
        // a second Olvi on the same folder may not write it
        ProfileStore second(here.folder.path());
        ProfileStore &store = anotherOlviWrites ? second : *here.app->store();
        ProgressTransfer transfer(store, [&here] { return here.now; });
        transfer.setChooser(&chooser);

        transfer.chooseImport();
        transfer.confirmImport(); // nothing waits for it
        QCOMPARE(transfer.message(), message);
        QVERIFY(!transfer.confirming());
        QCOMPARE(store.data(), desktop);
        QCOMPARE(contents(here.app->store()->fileName()), before);
        QVERIFY(copiesIn(here).isEmpty());
    }

    void sentenceCountsInRussian_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("forms"); // of день, урок станет пройденным, клавиши
        QTest::newRow("1") << 1 << u"день|урок станет пройденным|клавиши"_s;
        QTest::newRow("4") << 4 << u"дня|урока станут пройденными|клавиш"_s;
        QTest::newRow("5") << 5 << u"дней|уроков станут пройденными|клавиш"_s;
        QTest::newRow("14") << 14 << u"дней|уроков станут пройденными|клавиш"_s;
        QTest::newRow("21") << 21 << u"день|урок станет пройденным|клавиши"_s;
        QTest::newRow("22") << 22 << u"дня|урока станут пройденными|клавиш"_s;
        QTest::newRow("112") << 112 << u"дней|уроков станут пройденными|клавиш"_s;
    }

    void sentenceCountsInRussian()
    {
        QFETCH(int, n);
        QFETCH(QString, forms);
        const QStringList f = forms.split(u'|');
        QCOMPARE(ProgressTransfer::effectSentence({n, n, n, n}, 1),
                 u"Добавится %1 %2, обновятся данные за %1 %2, %1 %3, обновится статистика %1 %4."_s
                     .arg(n).arg(f[0], f[1], f[2]));
        QCOMPARE(ProgressTransfer::effectSentence({0, 0, 0, 0, true, true}, 7),
                 u"Курс продвинется до урока 7, появится текст рукописи."_s);
    }
};

QTEST_GUILESS_MAIN(TestProgressTransfer)
#include "test_progress_transfer.moc"
