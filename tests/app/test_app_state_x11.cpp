// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_state.h"
#include "session_engine.h"
#include "xkb_input_source_provider.h"
#include "xvfb_server.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The XKB backend on a real X server, alone and under AppState.
class TestAppStateX11 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void groupsAreListedAndRussianIsKeptLocked()
    {
        XvfbServer server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        QVERIFY(server.setLayouts(u"us,ru"_s)); // the us group locked
        XkbInputSourceProvider xkb(qPrintable(server.display()));
        // XKB does not say whether a group can be selected
        QCOMPARE(xkb.enabledSources(),
                 std::optional(QList<InputSource>{{u"English (US)"_s, {}}, {u"Russian"_s, {}}}));
        QTemporaryDir folder;
        AppServices services;
        services.inputSources = &xkb;
        services.dataFolder = folder.path();
        AppState app(services);

        // an exercise locks Russian
        app.startTraining();
        QTRY_COMPARE(xkb.currentIndex(), std::optional<qsizetype>(1));

        // another client switching to Latin mid-exercise is noticed and switched back
        XkbInputSourceProvider user(qPrintable(server.display()));
        user.select(0);
        QTRY_COMPARE(xkb.currentIndex(), std::optional<qsizetype>(1));

        // a Latin letter typed while another client holds Latin switches too
        app.setTab(AppState::Tab::Course); // nobody answers changes off the training tab
        QSignalSpy noticed(&xkb, &InputSourceProvider::currentSourceChanged);
        user.select(0);
        QTRY_COMPARE(noticed.count(), 1); // the app has had its say
        QCOMPARE(xkb.currentIndex(), std::optional<qsizetype>(0));
        app.setTab(AppState::Tab::Training);
        app.handleKey(u"f"_s);
        QTRY_COMPARE(xkb.currentIndex(), std::optional<qsizetype>(1));

        // without a server there is nothing to list, and nothing to select
        XkbInputSourceProvider none(":65000");
        QVERIFY(!none.isConnected() && !none.enabledSources() && !none.currentIndex());
        none.select(1); // must not crash
    }
};

QTEST_GUILESS_MAIN(TestAppStateX11)
#include "test_app_state_x11.moc"
