// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "key_decision.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(KeyAction)

class TestKeyDecision : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decision_data();
    void decision();
    void heldKeyRepeatsAreToldFromNewPresses();
};

void TestKeyDecision::decision_data()
{
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("autoRepeat");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("resultShown");
    QTest::addColumn<bool>("finished");
    QTest::addColumn<KeyAction>("action");

    const int none = Qt::NoModifier;
    const int shift = Qt::ShiftModifier;
    QTest::newRow("letter") << none << false << 0x0416 << "ж" << false << false << KeyAction::type;
    QTest::newRow("capital with shift") << shift << false << 0x0416 << "Ж" << false << false
                                        << KeyAction::type;
    QTest::newRow("altgr character") << int(Qt::GroupSwitchModifier) << false << 0x2014 << "—"
                                     << false << false << KeyAction::type;
    QTest::newRow("keypad digit") << int(Qt::KeypadModifier) << false << int(Qt::Key_1) << "1"
                                  << false << false << KeyAction::type;
    QTest::newRow("space") << none << false << int(Qt::Key_Space) << " " << false << false
                           << KeyAction::type;
    QTest::newRow("ctrl+q") << int(Qt::ControlModifier) << false << int(Qt::Key_Q) << "\x11"
                            << false << false << KeyAction::pass;
    QTest::newRow("alt chord") << int(Qt::AltModifier) << false << 0x0416 << "ж" << false << false
                               << KeyAction::pass;
    QTest::newRow("meta chord") << int(Qt::MetaModifier) << false << 0x0416 << "ж" << false
                                << false << KeyAction::pass;
    QTest::newRow("ctrl+shift") << int(Qt::ControlModifier | Qt::ShiftModifier) << false
                                << int(Qt::Key_W) << "W" << false << false << KeyAction::pass;
    QTest::newRow("result shown") << none << false << 0x0416 << "ж" << true << true
                                  << KeyAction::pass;
    QTest::newRow("return on result") << none << false << int(Qt::Key_Return) << "\r" << true
                                      << true << KeyAction::pass;
    QTest::newRow("escape on result") << none << false << int(Qt::Key_Escape) << "\x1b" << true
                                      << true << KeyAction::pass;
    QTest::newRow("finished") << none << false << 0x0416 << "ж" << false << true
                              << KeyAction::pass;
    QTest::newRow("auto repeat") << none << true << 0x0416 << "ж" << false << false
                                 << KeyAction::swallow;
    QTest::newRow("escape") << none << false << int(Qt::Key_Escape) << "\x1b" << false << false
                            << KeyAction::restart;
    QTest::newRow("backspace") << none << false << int(Qt::Key_Backspace) << "\b" << false
                               << false << KeyAction::swallow;
    QTest::newRow("backspace without text") << none << false << int(Qt::Key_Backspace) << ""
                                            << false << false << KeyAction::swallow;
    QTest::newRow("return") << none << false << int(Qt::Key_Return) << "\r" << false << false
                            << KeyAction::pass;
    QTest::newRow("enter") << int(Qt::KeypadModifier) << false << int(Qt::Key_Enter) << "\r"
                           << false << false << KeyAction::pass;
    QTest::newRow("tab") << none << false << int(Qt::Key_Tab) << "\t" << false << false
                         << KeyAction::pass;
    QTest::newRow("delete") << none << false << int(Qt::Key_Delete) << "\x7f" << false << false
                            << KeyAction::pass;
    QTest::newRow("left arrow") << none << false << int(Qt::Key_Left) << "" << false << false
                                << KeyAction::pass;
    QTest::newRow("f5") << none << false << int(Qt::Key_F5) << "" << false << false
                        << KeyAction::pass;
    QTest::newRow("dead key") << none << false << int(Qt::Key_Dead_Acute) << "´" << false
                              << false << KeyAction::pass;
    QTest::newRow("shift alone") << shift << false << int(Qt::Key_Shift) << "" << false << false
                                 << KeyAction::pass;
    QTest::newRow("unknown key, no text") << none << false << 0 << "" << false << false
                                          << KeyAction::pass;
}

void TestKeyDecision::decision()
{
    QFETCH(int, modifiers);
    QFETCH(bool, autoRepeat);
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(bool, resultShown);
    QFETCH(bool, finished);
    QFETCH(KeyAction, action);

    const KeyPress press{Qt::KeyboardModifiers(modifiers), autoRepeat, key, text};
    QCOMPARE(int(decideKey(press, resultShown, finished)), int(action));
}

void TestKeyDecision::heldKeyRepeatsAreToldFromNewPresses()
{
    RepeatDetector repeats;
    QVERIFY(!repeats.isRepeat(44, 1000, false)); // nothing released yet
    QVERIFY(repeats.isRepeat(44, 1000, true));   // the toolkit saw it

    // the server's repeat: a release and a press of the same key at one instant
    repeats.released(44, 1000);
    QVERIFY(repeats.isRepeat(44, 1000, false));
    // a new press of that key a moment later, or another key at that instant
    QVERIFY(!repeats.isRepeat(44, 1001, false));
    QVERIFY(!repeats.isRepeat(45, 1000, false));
    // events without a scan code (synthesised ones) are never taken for repeats
    repeats.released(0, 7);
    QVERIFY(!repeats.isRepeat(0, 7, false));
}

QTEST_GUILESS_MAIN(TestKeyDecision)
#include "test_key_decision.moc"
