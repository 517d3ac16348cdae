// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_rig.h"
#include "key_capture.h"
#include "russian_layout.h"

#include <QTest>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {

// A window that records the key presses that reach it.
class RecordingWindow : public QWindow
{
public:
    QList<int> keys;
    QList<int> released;

protected:
    void keyPressEvent(QKeyEvent *e) override { keys << e->key(); }
    void keyReleaseEvent(QKeyEvent *e) override { released << e->key(); }
};

// A key press under a Latin layout: its key code, text, Shift and Qt key.
struct Press
{
    quint32 scanCode = 0;
    QString text;
    bool shift = false;
    int key = 0;
};

} // namespace

// The filter between key events and the controller; which keys type is
// decided in test_key_decision.
class TestKeyCapture : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_rig = std::make_unique<AppRig>(withManuscript(u"жук жаба"_s));
        m_rig->app->startManuscript();
        m_window.keys.clear();
        m_window.released.clear();
        m_capture = std::make_unique<KeyCapture>();
        m_capture->setApp(m_rig->app.get());
    }

    void cleanup()
    {
        m_capture.reset();
        m_rig.reset();
        QVERIFY(!KeyCapture::current());
    }

    void keysReachTheEngineOnlyWhileActive()
    {
        press(0x0416, u"ж"_s);
        QCOMPARE(position(), 0);

        m_capture->setActive(true);
        press(0x0416, u"ж"_s);
        QCOMPARE(position(), 1);

        // the X server repeats a held key as a release and a press at one instant,
        // even when the toolkit does not flag the press
        press(0x0423, u"у"_s, {}, false, 30, 500, QEvent::KeyRelease);
        press(0x0423, u"у"_s, {}, false, 30, 500);
        QCOMPARE(position(), 1);
        press(0x0423, u"у"_s, {}, false, 30, 540);
        QCOMPARE(position(), 2);

        // keys that type nothing pass, a Ctrl chord too; Backspace is swallowed
        press(Qt::Key_Return, u"\r"_s);
        press(0x041A, u"к"_s, Qt::ControlModifier);
        press(Qt::Key_Backspace, u"\b"_s);
        QCOMPARE(m_window.keys, (QList<int>{0x0416, Qt::Key_Return, 0x041A}));
        QCOMPARE(position(), 2);

        // a release goes where its press went, even after a taken press's went elsewhere
        for (const auto type : {QEvent::KeyPress, QEvent::KeyRelease})
            press(0x0416, u"ж"_s, {}, false, 47, 0, type); // a mistake, taken
        press(Qt::Key_Space, u" "_s, {}, false, 65); // taken; its release is never seen
        m_capture->setControlFocused(true);
        for (const auto type : {QEvent::KeyPress, QEvent::KeyRelease})
            press(Qt::Key_Space, u" "_s, {}, false, 65, 0, type); // works the control
        QCOMPARE(m_window.released, (QList<int>{0x0423, Qt::Key_Space})); // у's came unpressed

        // inactive, it lets keys by
        m_capture->setActive(false);
        press(0x041A, u"к"_s);
        QCOMPARE(std::pair(position(), m_capture->installed()), std::pair(2, false));
    }

    void physicalKeysTypeRussianWhateverTheLayout()
    {
        // only a Latin layout: typing by the keys' places is offered, and taken
        m_rig->sources.sources->removeLast();
        m_rig->app->startManuscript();
        QVERIFY(m_rig->app->physicalKeysOffered());
        m_rig->app->setPhysicalKeys(true);
        QVERIFY(!m_rig->app->physicalKeysOffered());

        // keys type by place, and no layout is switched even where a Russian one is
        m_rig->sources.sources->append(InputSource{u"Russian"_s, {}});
        m_rig->sources.selected.clear();
        m_rig->app->startManuscript();
        m_rig->sources.switchByUser(0);
        m_capture->setActive(true);
        pressKeyOf(u"ж"_s, Qt::ControlModifier); // a chord passes
        pressKeyOf(u"ж"_s);
        pressKeyOf(u"у"_s, {}, true); // a held key types once
        pressKeyOf(u"У"_s);           // Shift types the capital: wrong here
        press(Qt::Key_F, u"f"_s);     // a Latin letter from no key of the table: no warning
        QCOMPARE(std::pair(position(), m_rig->engine().errorCount()), std::pair(1, 1));
        QVERIFY(!m_rig->engine().wrongLayoutWarning() && m_rig->sources.selected.isEmpty());
    }

    void capsLockCapitalisesLettersByPlace_data()
    {
        // Caps Lock toggled by its key, or only seen in a letter's text (a
        // capital without Shift, or small with it); the digit row ignores it
        QTest::addColumn<QList<Press>>("presses");
        QTest::addColumn<QString>("typed");
        const Press caps{66, {}, false, Qt::Key_CapsLock}, zhe{47, u";"_s};
        QTest::newRow("its key") << QList<Press>{caps, {34, u"["_s}, {47, u":"_s, true},
                                                 {11, u"@"_s, true}, {38, u"f"_s}, zhe}
                                 << u"Хж\"фж"_s;
        QTest::newRow("a letter's text")
            << QList<Press>{{38, u"F"_s}, zhe, {38, u"f"_s, true}, caps, zhe} << u"ФЖфж"_s;
    }

    void capsLockCapitalisesLettersByPlace()
    {
        QFETCH(QList<Press>, presses);
        QFETCH(QString, typed);
        m_rig->app->setPhysicalKeys(true);
        m_rig->engine().start(typed + u" "_s); // not to its end, which would start the next
        m_capture->setActive(true);
        for (const Press &p : std::as_const(presses))
            press(p.key, p.text, p.shift ? Qt::ShiftModifier : Qt::NoModifier, false, p.scanCode);
        QCOMPARE(position(), int(typed.size())); // a wrong key would not move the caret
    }

private:
    int position() const { return m_rig->engine().position(); }

    // The key that types `ch` in the Russian layout, which the Latin layout makes an "f" or "F".
    void pressKeyOf(const QString &ch, Qt::KeyboardModifiers mods = {}, bool autoRepeat = false)
    {
        const bool shift = ch != ch.toLower();
        quint32 code = 0;
        while (code < 256 && RussianLayout::typedByKey(code, shift, false) != ch)
            ++code;
        press(Qt::Key_F, shift ? u"F"_s : u"f"_s, shift ? mods | Qt::ShiftModifier : mods,
              autoRepeat, code);
    }

    // A key event as the platform sends it, on X with a scan code and a time stamp.
    void press(int key, const QString &text, Qt::KeyboardModifiers mods = {},
               bool autoRepeat = false, quint32 scanCode = 0, quint64 timestamp = 0,
               QEvent::Type type = QEvent::KeyPress)
    {
        QKeyEvent e(type, key, mods, scanCode, 0, 0, text, autoRepeat);
        e.setTimestamp(timestamp);
        QGuiApplication::sendEvent(&m_window, &e);
    }

    std::unique_ptr<AppRig> m_rig;
    RecordingWindow m_window;
    std::unique_ptr<KeyCapture> m_capture;
};

QTEST_MAIN(TestKeyCapture)
#include "test_key_capture.moc"
