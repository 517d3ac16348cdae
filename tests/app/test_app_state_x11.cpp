// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_state.h"
#include "session_engine.h"
#include "xkb_input_source_provider.h"
#include "xvfb_server.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The XKB backend on a real X server, alone and under AppState.
class TestAppStateX11 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theRussianGroupIsKeptLockedDuringAnExercise()
    {
        XvfbServer server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        QVERIFY(server.setLayouts(u"us,ru"_s)); // the us group locked
        XkbInputSourceProvider xkb(qPrintable(server.display()));
        // XKB does not say whether a group can be selected
        const QList<InputSource> groups{{u"English (US)"_s, {}}, {u"Russian"_s, {}}};
        QCOMPARE(xkb.enabledSources(), std::optional(groups));
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
        user.select(0);
        QTRY_COMPARE(xkb.currentIndex(), std::optional<qsizetype>(0));
        app.setTab(AppState::Tab::Training);
        app.handleKey(u"f"_s);
        QVERIFY(app.engine()->wrongLayoutWarning());
        QCOMPARE(app.engine()->errorCount(), 0);
        QTRY_COMPARE(xkb.currentIndex(), std::optional<qsizetype>(1));
    }

    void noServerMeansNothingToList()
    {
        XkbInputSourceProvider xkb(":65000");
        QVERIFY(!xkb.isConnected() && !xkb.enabledSources() && !xkb.currentIndex());
        xkb.select(1); // must not crash
    }
};

QTEST_GUILESS_MAIN(TestAppStateX11)
#include "test_app_state_x11.moc"
