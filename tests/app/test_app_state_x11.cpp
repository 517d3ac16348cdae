// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_state.h"
#include "session_engine.h"
#include "xkb_input_source_provider.h"
#include "xvfb_server.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The whole layout road on a real X server: AppState over the XKB backend.
class TestAppStateX11 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void latinLetterLocksTheRussianGroup();
};

void TestAppStateX11::latinLetterLocksTheRussianGroup()
{
    // an X server with us,ru and the us group locked
    XvfbServer server;
    QVERIFY2(server.start(), qPrintable(server.error()));
    QVERIFY(server.setLayouts(u"us,ru"_s));
    XkbInputSourceProvider xkb(qPrintable(server.display()));
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

QTEST_GUILESS_MAIN(TestAppStateX11)
#include "test_app_state_x11.moc"
