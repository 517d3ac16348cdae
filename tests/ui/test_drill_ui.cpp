// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "drill.h"
#include "exercise_text.h"
#include "result_card.h"
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
    void initTestCase() { QQuickWindow::setGraphicsApi(QSGRendererInterface::Software); }

    void drillsFromTheScreensRecordPracticeButNoPass()
    {
        WindowRig w(practised(13, 2, {{u"ж"_s, 9}, {u"э"_s, 6}}));
        QVERIFY(w.ready());
        ExerciseText text;
        text.setApp(w.rig.app.get());
        const auto spoken = &WindowRig::spoken;

        // the course's sidebar offers the keys well above the learner's average, Tab
        // reaching it right after the continue button
        while (spoken(w.window->activeFocusItem()) != u"Продолжить — урок 13")
            w.press(Qt::Key_Tab);
        w.press(Qt::Key_Tab);
        QCOMPARE(spoken(w.window->activeFocusItem()), u"Работа над ошибками: э, ж"_s);
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
        const QString focus = u"Работа над ошибками: "_s
                              + Drill::focusKeys(w.rig.profile(), w.rig.app->today()).join(u", ");
        QCOMPARE(stops.filter(u"Работа над ошибками"_s), (QStringList{first, focus}));
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
        QCOMPARE(spoken(w.find(u"keyButton"_s, key)), u"Работа над ошибками: ш"_s);
        QVERIFY(w.click(u"key_ш"_s));
        QCOMPARE(w.rig.app->drillKeys(), QStringList{u"ш"_s});
        // the button beside it drills the keys least sure of
        w.rig.app->setTab(AppState::Tab::Progress);
        QTRY_VERIFY(w.find(u"drillButton"_s) && w.find(u"drillButton"_s)->isVisible());
        QVERIFY(w.click(u"drillButton"_s));
        QCOMPARE(w.rig.app->tab(), AppState::Tab::Training);
        QCOMPARE(text.caption(), focus);

        const QStringList keys = w.rig.app->drillKeys();
        const qsizetype length = w.rig.engine().text().size();
        w.rig.typeRest();
        const ProfileData after = *w.rig.profileOnDisk(); // passed, yet no pass counted
        QCOMPARE(after.exercisesPassed, (QMap<qint64, qint64>{{13, 2}}));
        QCOMPARE(after.currentLessonID, 13);
        QCOMPARE(after.days, (QList<DayStat>{{u"2026-12-06"_s, length, 0, after.days[0].seconds,
                                              w.rig.app->lastResult()->speed}}));

        // the card is the drill's: its title, each key's accuracy against its last 40
        // strokes before, no lesson count; its button drills keys chosen afresh
        QTRY_VERIFY(w.find(u"resultCard"_s)->isVisible());
        QCOMPARE(w.find(u"resultTitle"_s)->property("text").toString(), focus);
        QVERIFY(!w.find(u"resultLessonCount"_s)->isVisible() && !w.find(u"reminder"_s)->isVisible());
        ResultCard card;
        card.setApp(w.rig.app.get());
        QCOMPARE(card.primaryText(), u"Ещё раз"_s);
        for (qsizetype i = 0; i < keys.size(); ++i) {
            const QString &k = keys.at(i);
            const QString before = k == u"ж" ? u"77,5 %"_s : k == u"э" ? u"85,0 %"_s
                                  : k == u"ъ" ? u"100,0 %"_s : u"97,5 %"_s;
            QVERIFY2(card.keyLines().at(i).startsWith(Characters::upper(k) + u" — точность 100,0 % ("_s)
                         && card.keyLines().at(i).endsWith(u"), до тренировки "_s + before),
                     qPrintable(card.keyLines().at(i)));
        }
        const QStringList afresh = Drill::focusKeys(w.rig.profile(), w.rig.app->today());
        w.press(Qt::Key_Return, u"\r"_s);
        QCOMPARE(w.rig.app->drillKeys(), afresh);
        w.rig.app->startTraining();
        QCOMPARE(text.caption(), u"Урок 13 · Верхний ряд · Два ряда вместе"_s);
    }

    // A lesson completed while a new key is still weak offers a drill of it
    // beside the card's own buttons.
    void completedLessonOffersToSettleItsKeys()
    {
        WindowRig w(practised(4, 2, {{u"ф"_s, 8}}));
        QVERIFY(w.ready());
        w.rig.app->startTraining();
        w.rig.typeRest();
        QTRY_VERIFY(w.find(u"resultCard"_s)->isVisible());
        QCOMPARE(w.find(u"resultTitle"_s)->property("text").toString(), u"Урок пройден!"_s);
        QCOMPARE(w.find(u"primaryButton"_s)->property("text").toString(), u"К следующему уроку"_s);
        QVERIFY(w.find(u"courseButton"_s)->isVisible());
        QCOMPARE(WindowRig::spoken(w.find(u"consolidateButton"_s)), u"Закрепить: ф"_s);
        QVERIFY(w.click(u"consolidateButton"_s));
        QCOMPARE(w.rig.app->drillKeys(), QStringList{u"ф"_s});
        ExerciseText text;
        text.setApp(w.rig.app.get());
        QCOMPARE(text.caption(), u"Закрепление: ф"_s);
        QCOMPARE(w.rig.profile().currentLessonID, 5); // the course moved on all the same
    }
};

QTEST_MAIN(TestDrillUi)
#include "test_drill_ui.moc"
