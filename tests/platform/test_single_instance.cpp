// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "single_instance.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QTemporaryDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

// Two launches are two connections to one private session bus.
class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void secondLaunchActivatesTheFirst();
    void withoutABusEveryLaunchRuns();
    void secondOlviQuitsAndTheFirstRuns();

private:
    QProcess m_bus;
    QString m_address;
};

void TestSingleInstance::initTestCase()
{
    m_bus.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address"_s});
    QVERIFY2(m_bus.waitForStarted(), "dbus-daemon is missing (scripts/setup installs it)");
    QTRY_VERIFY(m_bus.canReadLine());
    m_address = QString::fromUtf8(m_bus.readLine().trimmed());
}

void TestSingleInstance::cleanupTestCase()
{
    QDBusConnection::disconnectFromBus(u"first"_s);
    QDBusConnection::disconnectFromBus(u"second"_s);
    m_bus.kill();
    m_bus.waitForFinished();
}

void TestSingleInstance::secondLaunchActivatesTheFirst()
{
    // given a running Olvi
    SingleInstance first(QDBusConnection::connectToBus(m_address, u"first"_s));
    QVERIFY(first.claim());
    QSignalSpy activated(&first, &SingleInstance::activated);

    // when a second one starts from a launcher that gave it a token
    qputenv("XDG_ACTIVATION_TOKEN", "token-42");
    SingleInstance second(QDBusConnection::connectToBus(m_address, u"second"_s));
    const bool secondRuns = second.claim();
    QDBusPendingCall call = second.activateRunning();
    qunsetenv("XDG_ACTIVATION_TOKEN");

    // then it steps aside and the first is asked to show itself, with the token
    QVERIFY(!secondRuns);
    QTRY_COMPARE(activated.size(), 1);
    QCOMPARE(activated.first().first().toString(), u"token-42"_s);
    QTRY_VERIFY(call.isFinished());
    QVERIFY(!call.isError());
}

void TestSingleInstance::withoutABusEveryLaunchRuns()
{
    SingleInstance lonely(QDBusConnection::connectToBus(u"unix:path=/nonexistent/bus"_s,
                                                        u"nowhere"_s));
    QVERIFY(lonely.claim());
    QDBusConnection::disconnectFromBus(u"nowhere"_s);
}

void TestSingleInstance::secondOlviQuitsAndTheFirstRuns()
{
    // given the real Olvi running on the private bus
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, m_address);
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    env.insert(u"HOME"_s, home.path());
    env.insert(u"XDG_DATA_HOME"_s, home.filePath(u"data"_s));
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(QStringLiteral(OLVI_BINARY), {});
    QVERIFY(first.waitForStarted());
    QDBusConnection probe = QDBusConnection::connectToBus(m_address, u"probe"_s);
    QTRY_VERIFY_WITH_TIMEOUT(
        probe.interface()->isServiceRegistered(QString::fromLatin1(SingleInstance::serviceName)),
        10000);

    // when it is launched again
    QProcess second;
    second.setProcessEnvironment(env);
    second.start(QStringLiteral(OLVI_BINARY), {});

    // then the second copy quits at once and the first goes on
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
    QDBusConnection::disconnectFromBus(u"probe"_s);
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "test_single_instance.moc"
