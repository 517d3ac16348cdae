// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_rig.h"
#include "key_capture.h"

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

void press(QWindow *w, int key, const QString &text, Qt::KeyboardModifiers mods = {},
           bool autoRepeat = false)
{
    QKeyEvent e(QEvent::KeyPress, key, mods, text, autoRepeat);
    QGuiApplication::sendEvent(w, &e);
}

// A key event as the X server sends it: with its scan code and time stamp.
void sendNative(QWindow *w, QEvent::Type type, int key, const QString &text, quint32 scanCode,
                quint64 timestamp)
{
    QKeyEvent e(type, key, {}, scanCode, 0, 0, text);
    e.setTimestamp(timestamp);
    QGuiApplication::sendEvent(w, &e);
}

} // namespace

class TestKeyCapture : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void typedKeysReachTheEngineOnlyWhileActive();
    void keysThatAreNotCharactersPass();
    void resultCardKeysPass();
    void neverTwoCapturesInstalled();

private:
    std::unique_ptr<AppRig> m_rig;
    std::unique_ptr<RecordingWindow> m_window;
};

void TestKeyCapture::init()
{
    m_rig = std::make_unique<AppRig>(manuscriptProfile());
    m_rig->app->startManuscript();
    m_window = std::make_unique<RecordingWindow>();
    m_window->resize(200, 100);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestKeyCapture::cleanup()
{
    m_window.reset();
    m_rig.reset();
    QVERIFY(!KeyCapture::current());
}

void TestKeyCapture::typedKeysReachTheEngineOnlyWhileActive()
{
    KeyCapture capture;
    capture.setApp(m_rig->app.get());

    press(m_window.get(), 0x0416, u"ж"_s);
    QCOMPARE(m_rig->engine().position(), 0);
    QCOMPARE(m_window->keys.size(), 1);

    capture.setActive(true);
    QVERIFY(capture.installed());
    press(m_window.get(), 0x0416, u"ж"_s);
    press(m_window.get(), 0x0423, u"у"_s, Qt::ShiftModifier); // Shift does not matter
    QCOMPARE(m_rig->engine().position(), 2);
    QCOMPARE(m_window->keys.size(), 1); // swallowed

    capture.setActive(false);
    QVERIFY(!capture.installed());
    press(m_window.get(), 0x041A, u"к"_s);
    QCOMPARE(m_rig->engine().position(), 2);
}

void TestKeyCapture::keysThatAreNotCharactersPass()
{
    KeyCapture capture;
    capture.setApp(m_rig->app.get());
    capture.setActive(true);

    press(m_window.get(), Qt::Key_Return, u"\r"_s);
    press(m_window.get(), Qt::Key_Tab, u"\t"_s);
    press(m_window.get(), Qt::Key_Left, QString());
    press(m_window.get(), Qt::Key_F2, QString());
    press(m_window.get(), 0x0416, u"ж"_s, Qt::ControlModifier);
    QCOMPARE(m_window->keys,
             (QList<int>{Qt::Key_Return, Qt::Key_Tab, Qt::Key_Left, Qt::Key_F2, 0x0416}));
    QCOMPARE(m_rig->engine().position(), 0);

    // a held key types once; Backspace is swallowed and changes nothing
    press(m_window.get(), 0x0416, u"ж"_s);
    press(m_window.get(), 0x0416, u"ж"_s, {}, true);
    press(m_window.get(), Qt::Key_Backspace, u"\b"_s);
    QCOMPARE(m_rig->engine().position(), 1);
    QCOMPARE(m_window->keys.size(), 5);

    // the server repeats a held key as a release and a press at one instant,
    // even when the toolkit does not flag the press
    sendNative(m_window.get(), QEvent::KeyRelease, 0x0423, u"у"_s, 30, 500);
    sendNative(m_window.get(), QEvent::KeyPress, 0x0423, u"у"_s, 30, 500);
    QCOMPARE(m_rig->engine().position(), 1);
    sendNative(m_window.get(), QEvent::KeyPress, 0x0423, u"у"_s, 30, 540);
    QCOMPARE(m_rig->engine().position(), 2);
}

void TestKeyCapture::resultCardKeysPass()
{
    KeyCapture capture;
    capture.setApp(m_rig->app.get());
    capture.setActive(true);
    for (const QString &ch : m_rig->engine().text())
        press(m_window.get(), 0, ch);
    QVERIFY(m_rig->app->lastResult().has_value());

    press(m_window.get(), Qt::Key_Escape, u"\x1b"_s);
    press(m_window.get(), Qt::Key_Return, u"\r"_s);

    QVERIFY(m_rig->app->lastResult().has_value()); // Escape did not restart
    QCOMPARE(m_window->keys, (QList<int>{Qt::Key_Escape, Qt::Key_Return}));
}

void TestKeyCapture::neverTwoCapturesInstalled()
{
    auto first = std::make_unique<KeyCapture>();
    KeyCapture second;
    first->setApp(m_rig->app.get());
    second.setApp(m_rig->app.get());
    first->setActive(true);
    second.setActive(true);

    QVERIFY(first->installed());
    QVERIFY(!second.installed());
    press(m_window.get(), 0x0416, u"ж"_s);
    QCOMPARE(m_rig->engine().position(), 1); // one key, one step

    // when the installed one goes away, another may take over
    first.reset();
    QVERIFY(!KeyCapture::current());
    second.setActive(false);
    second.setActive(true);
    QVERIFY(second.installed());
}

QTEST_MAIN(TestKeyCapture)
#include "test_key_capture.moc"
