// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "canberra_alert_sound.h"
#include "xvfb_server.h"

#include <QGuiApplication>
#include <QTest>

#include <X11/XKBlib.h>

// Where no sound can be played, a wrong key still rings: the X server's bell,
// which another client of the server hears.
class TestDisplayBell : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void withoutSoundTheDisplayRings()
    {
        XvfbServer server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        qputenv("DISPLAY", server.display().toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "xcb");
        qputenv("CANBERRA_DRIVER", "none-such"); // libcanberra finds no driver to play with
        int argc = 1;
        char *argv[] = {const_cast<char *>("test_display_bell"), nullptr};
        QGuiApplication app(argc, argv);

        int event = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion, reason = 0;
        Display *listener = XkbOpenDisplay(qPrintable(server.display()), &event, &error, &major,
                                           &minor, &reason);
        QVERIFY(listener);
        XkbSelectEvents(listener, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask);
        bool rang = false; // once heard, heard: QTRY asks again
        const auto heard = [listener, event, &rang] {
            XSync(listener, False);
            while (XPending(listener) > 0) {
                XEvent e;
                XNextEvent(listener, &e);
                rang = rang || (e.type == event
                                && reinterpret_cast<XkbEvent &>(e).any.xkb_type == XkbBellNotify);
            }
            return rang;
        };
        CanberraAlertSound sound;
        QVERIFY(!heard());
        sound.beep();
        QTRY_VERIFY(heard());
        XCloseDisplay(listener);
    }
};

int main(int argc, char *argv[])
{
    TestDisplayBell test; // the test makes its application once its server runs
    return QTest::qExec(&test, argc, argv);
}
#include "test_display_bell.moc"
