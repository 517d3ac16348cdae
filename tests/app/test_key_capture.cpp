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

protected:
    void keyPressEvent(QKeyEvent *e) override { keys << e->key(); }
};

ProfileData manuscriptProfile()
{
    ProfileData p;
    p.manuscript = u"жук жаба"_s;
    return p;
}

} // namespace

class TestKeyCapture : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_rig = std::make_unique<AppRig>(manuscriptProfile());
        m_rig->app->startManuscript();
        m_window = std::make_unique<RecordingWindow>();
        m_window->resize(200, 100);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_capture = std::make_unique<KeyCapture>();
        m_capture->setApp(m_rig->app.get());
    }

    void cleanup()
    {
        m_capture.reset();
        m_window.reset();
        m_rig.reset();
        QVERIFY(!KeyCapture::current());
    }

    void typedKeysReachTheEngineOnlyWhileActive()
    {
        press(0x0416, u"ж"_s);
        QCOMPARE(position(), 0);
        QCOMPARE(m_window->keys.size(), 1);

        m_capture->setActive(true);
        QVERIFY(m_capture->installed());
        press(0x0416, u"ж"_s);
        press(0x0423, u"у"_s, Qt::ShiftModifier); // Shift does not matter
        QCOMPARE(position(), 2);
        QCOMPARE(m_window->keys.size(), 1); // swallowed

        m_capture->setActive(false);
        QVERIFY(!m_capture->installed());
        press(0x041A, u"к"_s);
        QCOMPARE(position(), 2);
    }

    void keysThatAreNotCharactersPass()
    {
        m_capture->setActive(true);
        press(Qt::Key_Return, u"\r"_s);
        press(Qt::Key_Tab, u"\t"_s);
        press(Qt::Key_Left, QString());
        press(Qt::Key_F2, QString());
        press(0x0416, u"ж"_s, Qt::ControlModifier);
        QCOMPARE(m_window->keys,
                 (QList<int>{Qt::Key_Return, Qt::Key_Tab, Qt::Key_Left, Qt::Key_F2, 0x0416}));
        QCOMPARE(position(), 0);

        // a held key types once; Backspace is swallowed and changes nothing
        press(0x0416, u"ж"_s);
        press(0x0416, u"ж"_s, {}, true);
        press(Qt::Key_Backspace, u"\b"_s);
        QCOMPARE(position(), 1);
        QCOMPARE(m_window->keys.size(), 5);

        // the server repeats a held key as a release and a press at one instant,
        // even when the toolkit does not flag the press
        sendNative(QEvent::KeyRelease, 500);
        sendNative(QEvent::KeyPress, 500);
        QCOMPARE(position(), 1);
        sendNative(QEvent::KeyPress, 540);
        QCOMPARE(position(), 2);
    }

    void resultCardKeysPass()
    {
        m_capture->setActive(true);
        for (const QString &ch : m_rig->engine().text())
            press(0, ch);
        QVERIFY(m_rig->app->lastResult());
        press(Qt::Key_Escape, u"\x1b"_s);
        press(Qt::Key_Return, u"\r"_s);
        QVERIFY(m_rig->app->lastResult()); // Escape did not restart
        QCOMPARE(m_window->keys, (QList<int>{Qt::Key_Escape, Qt::Key_Return}));
    }

    void neverTwoCapturesInstalled()
    {
        KeyCapture second;
        second.setApp(m_rig->app.get());
        m_capture->setActive(true);
        second.setActive(true);
        QVERIFY(m_capture->installed());
        QVERIFY(!second.installed());
        press(0x0416, u"ж"_s);
        QCOMPARE(position(), 1); // one key, one step

        // when the installed one goes away, another may take over
        m_capture.reset();
        QVERIFY(!KeyCapture::current());
        second.setActive(false);
        second.setActive(true);
        QVERIFY(second.installed());
    }

    void physicalKeysTypeRussianWithoutARussianLayout()
    {
        // only a Latin layout: the exercise offers the way out, a Latin letter's warning stays
        m_rig->sources.sources = QList<InputSource>{FakeInputSources::usRu().first()};
        m_rig->sources.selected.clear();
        m_rig->app->startManuscript();
        m_capture->setActive(true);
        pressKeyOf(u"ж"_s);
        QVERIFY(m_rig->app->physicalKeysOffered() && m_rig->engine().wrongLayoutWarning());

        // taken, it is saved, keys type by place, no layout is switched even to Russian
        m_rig->app->setPhysicalKeys(true);
        QCOMPARE(m_rig->profileOnDisk()->physicalKeys, true);
        QVERIFY(!m_rig->engine().wrongLayoutWarning() && !m_rig->app->physicalKeysOffered());
        m_rig->sources.sources = FakeInputSources::usRu();
        m_rig->app->startManuscript();
        m_rig->sources.switchByUser(0);
        pressKeyOf(u"ж"_s, Qt::ControlModifier); // a chord passes
        pressKeyOf(u"ж"_s);
        pressKeyOf(u"у"_s, {}, true); // a held key types once
        pressKeyOf(u"У"_s);           // Shift types the capital: wrong here
        press(Qt::Key_F, u"f"_s);     // a Latin letter from no key of the table: no warning
        QCOMPARE(std::pair(position(), m_rig->engine().errorCount()), std::pair(1, 1));
        QVERIFY(!m_rig->engine().wrongLayoutWarning() && m_rig->sources.selected.isEmpty());
    }

private:
    int position() const { return m_rig->engine().position(); }

    // The key that types `ch` in the Russian layout, which the Latin layout makes an "f".
    void pressKeyOf(const QString &ch, Qt::KeyboardModifiers mods = {}, bool autoRepeat = false)
    {
        const bool shift = ch != ch.toLower();
        quint32 code = 0;
        while (code < 256 && RussianLayout::typedByKey(code, shift) != ch)
            ++code;
        press(Qt::Key_F, u"f"_s, shift ? mods | Qt::ShiftModifier : mods, autoRepeat, code);
    }

    void press(int key, const QString &text, Qt::KeyboardModifiers mods = {},
               bool autoRepeat = false, quint32 scanCode = 0)
    {
        QKeyEvent e(QEvent::KeyPress, key, mods, scanCode, 0, 0, text, autoRepeat);
        QGuiApplication::sendEvent(m_window.get(), &e);
    }

    // The key "у" as the X server sends it: with its scan code and time stamp.
    void sendNative(QEvent::Type type, quint64 timestamp)
    {
        QKeyEvent e(type, 0x0423, {}, 30, 0, 0, u"у"_s);
        e.setTimestamp(timestamp);
        QGuiApplication::sendEvent(m_window.get(), &e);
    }

    std::unique_ptr<AppRig> m_rig;
    std::unique_ptr<RecordingWindow> m_window;
    std::unique_ptr<KeyCapture> m_capture;
};

QTEST_MAIN(TestKeyCapture)
#include "test_key_capture.moc"
