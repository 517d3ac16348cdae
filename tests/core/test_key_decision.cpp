// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "key_decision.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(KeyAction)
Q_DECLARE_METATYPE(KeyPress)

class TestKeyDecision : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decision_data()
    {
        QTest::addColumn<KeyPress>("press");
        // "typing", "result", "finished", or "control": typing with a control focused
        QTest::addColumn<QString>("screen");
        QTest::addColumn<KeyAction>("action");
        using enum KeyAction;
        const auto row = [](const char *name, int mods, int key, const QString &text,
                            KeyAction action, const QString &screen = u"typing"_s) {
            QTest::newRow(name) << KeyPress{Qt::KeyboardModifiers(mods), false, key, text} << screen
                                << action;
        };
        const int none = Qt::NoModifier;
        // (letters, Shift, Ctrl, Backspace, Escape and held keys: through KeyCapture, end to end)
        row("AltGr character", Qt::GroupSwitchModifier, 0x2014, u"—"_s, type);
        row("Alt chord", Qt::AltModifier, 0x0416, u"ж"_s, pass);
        row("Meta chord", Qt::MetaModifier, 0x0416, u"ж"_s, pass);
        row("result shown", none, 0x0416, u"ж"_s, pass, u"result"_s);
        row("finished", none, 0x0416, u"ж"_s, pass, u"finished"_s);
        row("dead key", none, Qt::Key_Dead_Acute, u"´"_s, pass);
        row("control character", none, 0, u"\x01"_s, pass);
        row("unknown key, no text", none, 0, QString(), pass);
        row("space, exercise focused", none, Qt::Key_Space, u" "_s, type);
        row("space, control focused", none, Qt::Key_Space, u" "_s, pass, u"control"_s);
        row("letter, control focused", none, 0x0416, u"ж"_s, type, u"control"_s);
    }

    void decision()
    {
        QFETCH(KeyPress, press);
        QFETCH(QString, screen);
        QTEST(decideKey(press, screen == u"result", screen == u"result" || screen == u"finished",
                        screen == u"control"),
              "action");
    }

    void heldKeyRepeatsAreToldFromNewPresses_data()
    {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<bool>("pairIsRepeat");
        // X repeats as a release and a press at one instant, not always flagged;
        // on Wayland Qt flags its own repeats, and a quick new press can share
        // the release's millisecond
        QTest::newRow("X") << u"xcb"_s << true;
        QTest::newRow("Wayland") << u"wayland"_s << false;
        QTest::newRow("Wayland with EGL") << u"wayland-egl"_s << false;
    }

    void heldKeyRepeatsAreToldFromNewPresses()
    {
        QFETCH(QString, platform);
        QFETCH(bool, pairIsRepeat);
        RepeatDetector repeats = RepeatDetector::forPlatform(platform);
        QVERIFY(repeats.isRepeat(44, 1000, true));   // the toolkit saw it
        // a release and a press of the same key at one instant
        repeats.released(44, 1000);
        QCOMPARE(repeats.isRepeat(44, 1000, false), pairIsRepeat);
        // a new press of that key a moment later, or another key at that instant
        QVERIFY(!repeats.isRepeat(44, 1001, false) && !repeats.isRepeat(45, 1000, false));
        // a key struck again within its release's millisecond is typed when
        // pressed just before (XTest typing a double letter), a repeat when held
        for (const quint64 held : {quint64(1), RepeatDetector::shortestDelayMs}) {
            repeats.pressed(44, 2000);
            repeats.released(44, 2000 + held);
            QCOMPARE(repeats.isRepeat(44, 2000 + held, false), held > 1 && pairIsRepeat);
        }
        // events without a scan code (synthesised ones) are never taken for repeats
        repeats.released(0, 7);
        QVERIFY(!repeats.isRepeat(0, 7, false));
    }

    void capsLockIsReadFromTheFirstKey_data()
    {
        // Caps Lock locked before Olvi started, and first a key without case
        // (the Latin ";" where ЙЦУКЕН has ж): on X and Wayland the key's native
        // state says so; elsewhere only the next letter's case tells
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QList<bool>>("on"); // after ";", "F" and Shift+"f"
        QTest::newRow("X") << u"xcb"_s << QList{true, true, true};
        QTest::newRow("Wayland") << u"wayland"_s << QList{true, true, true};
        QTest::newRow("offscreen") << u"offscreen"_s << QList{false, true, true};
    }

    void capsLockIsReadFromTheFirstKey()
    {
        QFETCH(QString, platform);
        CapsLockState caps = CapsLockState::forPlatform(platform);
        const quint32 locked = CapsLockState::nativeLockMask | 0x2000; // and a layout group
        QList<bool> on;
        on << caps.see({{}, false, Qt::Key_Semicolon, u";"_s}, locked);
        on << caps.see({{}, false, Qt::Key_F, u"F"_s}, locked);
        on << caps.see({Qt::ShiftModifier, false, Qt::Key_F, u"f"_s}, locked);
        QTEST(on, "on");
    }
};

QTEST_GUILESS_MAIN(TestKeyDecision)
#include "test_key_decision.moc"
