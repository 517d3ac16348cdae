// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "drill.h"
#include "exercise_text.h"
#include "window_rig.h"

#include <QAccessible>
#include <QQmlEngineExtensionPlugin>
#include <QTest>

Q_IMPORT_QML_PLUGIN(OlviPlugin)

using namespace Qt::StringLiterals;

// Drills beside the course: the ways into them, what they record and what the
// training screen says of them.
class TestDrillUi : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void drillsFromTheScreensRecordPracticeButNoPass()
    {
        // lesson 13 passed twice; every letter typed 60 times with one error,
        // ж with nine, э with six, and ъ (in no course word) 18 times, too few
        ProfileData p;
        p.currentLessonID = 13;
        p.exercisesPassed = {{13, 2}};
        for (const QString &key : Course::unlockedLetters(13)) {
            const int wrong = key == u"ж" ? 9 : key == u"э" ? 6 : key == u"ъ" ? 0 : 1;
            for (int i = 0; i < (key == u"ъ" ? 18 : 60); ++i)
                p.recordKey(key, i >= 60 - wrong, 0.3);
        }
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        WindowRig w(p);
        QVERIFY(w.ready());
        ExerciseText text;
        text.setApp(w.rig.app.get());
        const QString title = u"Работа над ошибками: ъ, ж, э"_s;
        const auto spoken = &WindowRig::spoken;

        // the course's sidebar: Tab reaches the drill right after the continue button
        while (spoken(w.window->activeFocusItem()) != u"Продолжить — урок 13")
            w.press(Qt::Key_Tab);
        w.press(Qt::Key_Tab);
        QCOMPARE(spoken(w.window->activeFocusItem()), title);
        // the error map, a group named by its title, is one Tab stop, on its first unlocked
        // key; the arrows walk the unlocked keys (none in the locked bottom row); Return drills
        // the key the ring is on, and a click the key clicked; Qt warns of nothing on the way
        // on a screen lower than the window wants, each control Tab reaches scrolls into view
        w.window->setMinimumHeight(400);
        w.window->resize(w.window->width(), 400);
        QTest::failOnWarning(QRegularExpression(u".*"_s));
        w.rig.app->setTab(AppState::Tab::Progress);
        QQuickItem *key = nullptr;
        QTRY_VERIFY((key = w.find(u"key_ш"_s)) && key->isVisible());
        QStringList stops; // round the window and on
        for (int i = 0; i < 40; ++i, w.press(Qt::Key_Tab)) {
            QQuickItem *focused = w.window->activeFocusItem();
            stops << spoken(focused);
            const QRectF seen = focused->mapRectToScene(focused->boundingRect());
            QVERIFY2(stops.last().isEmpty() || QRectF(QPointF(), w.window->size()).contains(seen),
                     qPrintable(stops.last()));
        }
        w.window->resize(w.window->width(), 760);
        stops.removeDuplicates();
        const QString first = u"Работа над ошибками: й"_s;
        QCOMPARE(stops.filter(u"Работа над ошибками"_s), (QStringList{first, title}));
        while (spoken(w.window->activeFocusItem()) != first)
            w.press(Qt::Key_Tab);
        const auto *map =
            QAccessible::queryAccessibleInterface(w.window->activeFocusItem())->parent();
        QCOMPARE(std::pair(map->role(), map->text(QAccessible::Name)),
                 std::pair(QAccessible::Grouping, u"Где ошибаются пальцы"_s));
        for (const Qt::Key move : {Qt::Key_Down, Qt::Key_Down, Qt::Key_End, Qt::Key_Left})
            w.press(move);
        QCOMPARE(spoken(w.window->activeFocusItem()), u"Работа над ошибками: ж"_s);
        w.press(Qt::Key_Return, u"\r"_s);
        QCOMPARE(w.rig.app->drillKeys(), QStringList{u"ж"_s});
        w.rig.app->setTab(AppState::Tab::Progress);
        QTRY_VERIFY((key = w.find(u"key_ш"_s)) && key->isVisible());
        QCOMPARE(spoken(key), u"Работа над ошибками: ш"_s);
        QVERIFY(w.click(u"key_ш"_s));
        QCOMPARE(w.rig.app->drillKeys(), QStringList{u"ш"_s});
        // the button beside it drills the keys least sure of
        w.rig.app->setTab(AppState::Tab::Progress);
        QTRY_VERIFY(w.find(u"drillButton"_s) && w.find(u"drillButton"_s)->isVisible());
        QVERIFY(w.click(u"drillButton"_s));
        QCOMPARE(w.rig.app->tab(), AppState::Tab::Training);
        QCOMPARE(text.caption(), title);

        const qsizetype length = w.rig.engine().text().size();
        w.rig.typeRest();
        const ProfileData after = *w.rig.profileOnDisk(); // passed, yet no pass counted
        QVERIFY(w.rig.app->lastResult()->passed);
        QCOMPARE(after.exercisesPassed, (QMap<qint64, qint64>{{13, 2}}));
        QCOMPARE(after.currentLessonID, 13);
        QCOMPARE(after.days, (QList<DayStat>{{u"2026-12-06"_s, length, 0, after.days[0].seconds,
                                              w.rig.app->lastResult()->speed}}));

        // the card's button goes on with keys chosen afresh, ъ (now sure of) no longer among them
        QTRY_VERIFY(w.find(u"resultCard"_s)->isVisible());
        w.press(Qt::Key_Return, u"\r"_s);
        QCOMPARE(w.rig.app->drillKeys().mid(0, 2), (QStringList{u"ж"_s, u"э"_s}));
        QVERIFY(!w.rig.app->drillKeys().contains(u"ъ"_s));
        QCOMPARE(text.caption(), Drill::title(w.rig.app->drillKeys()));
        w.rig.app->startTraining();
        QCOMPARE(text.caption(), u"Урок 13 · Верхний ряд · Два ряда вместе"_s);
    }
};

QTEST_MAIN(TestDrillUi)
#include "test_drill_ui.moc"
