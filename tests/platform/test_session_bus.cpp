// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "single_instance.h"
#include "system_color_scheme.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString portalPath = u"/org/freedesktop/portal/desktop"_s;

// The settings portal as a desktop offers it, with a scheme the test sets.
class FakePortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    uint scheme = 0;

public Q_SLOTS:
    QDBusVariant Read(const QString &nameSpace, const QString &key)
    {
        // Read() answers with the value wrapped in one more variant.
        const bool asked = nameSpace == u"org.freedesktop.appearance" && key == u"color-scheme";
        return QDBusVariant(QVariant::fromValue(QDBusVariant(asked ? scheme : 0u)));
    }
};

} // namespace

// The desktop services Olvi uses, on a private session bus: the single-instance
// name and the colour-scheme portal.
class TestSessionBus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_bus.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address"_s});
        QVERIFY2(m_bus.waitForStarted(), "dbus-daemon is missing (scripts/setup installs it)");
        QTRY_VERIFY(m_bus.canReadLine());
        m_address = QString::fromUtf8(m_bus.readLine().trimmed());
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toUtf8());
    }

    void cleanupTestCase()
    {
        for (const QString &name : {u"first"_s, u"second"_s, u"probe"_s, u"fake-portal"_s})
            QDBusConnection::disconnectFromBus(name);
        m_bus.kill();
        m_bus.waitForFinished();
    }

    void secondLaunchActivatesTheFirst()
    {
        SingleInstance first(QDBusConnection::connectToBus(m_address, u"first"_s));
        QVERIFY(first.claim());
        QSignalSpy activated(&first, &SingleInstance::activated);

        // a second one, started from a launcher that gave it a token, steps aside
        qputenv("XDG_ACTIVATION_TOKEN", "token-42");
        SingleInstance second(QDBusConnection::connectToBus(m_address, u"second"_s));
        const bool secondRuns = second.claim();
        QDBusPendingCall call = second.activateRunning();
        qunsetenv("XDG_ACTIVATION_TOKEN");
        QVERIFY(!secondRuns);
        // and the first is asked to show itself, with the token
        QTRY_COMPARE(activated.size(), 1);
        QCOMPARE(activated.first().first().toString(), u"token-42"_s);
        QTRY_VERIFY(call.isFinished());
        QVERIFY(!call.isError());
    }

    void withoutABusEveryLaunchRuns()
    {
        const auto nowhere = u"unix:path=/nonexistent/bus"_s;
        SingleInstance lonely(QDBusConnection::connectToBus(nowhere, u"nowhere"_s));
        QVERIFY(lonely.claim());
        QDBusConnection::disconnectFromBus(u"nowhere"_s);
    }

    void secondOlviQuitsAndTheFirstRuns()
    {
        QTemporaryDir home;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        env.insert(u"HOME"_s, home.path());
        env.insert(u"XDG_DATA_HOME"_s, home.filePath(u"data"_s));
        QProcess first;
        first.setProcessEnvironment(env);
        first.start(QStringLiteral(OLVI_BINARY), {});
        QVERIFY(first.waitForStarted());
        QDBusConnection probe = QDBusConnection::connectToBus(m_address, u"probe"_s);
        QTRY_VERIFY_WITH_TIMEOUT(probe.interface()->isServiceRegistered(
                                     QString::fromLatin1(SingleInstance::serviceName)),
                                 10000);

        // launched again, the second copy quits at once and the first goes on
        QProcess second;
        second.setProcessEnvironment(env);
        second.start(QStringLiteral(OLVI_BINARY), {});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(std::pair(second.exitStatus(), second.exitCode()),
                 std::pair(QProcess::NormalExit, 0));
        QCOMPARE(first.state(), QProcess::Running);
        first.kill();
        first.waitForFinished();
    }

    void portalValues()
    {
        const auto dark = [](uint value) {
            const auto result = SystemColorScheme::darkFromPortalValue(value);
            return result ? int(*result) : -1;
        };
        // no preference, dark, light, unknown
        QCOMPARE((QList<int>{dark(0), dark(1), dark(2), dark(7)}), (QList<int>{-1, 1, 0, -1}));
    }

    void colourSchemeFollowsThePortalLive()
    {
        QDBusConnection portalBus = QDBusConnection::connectToBus(m_address, u"fake-portal"_s);
        QVERIFY(portalBus.registerObject(portalPath, &m_portal, QDBusConnection::ExportAllSlots));
        QVERIFY(portalBus.registerService(u"org.freedesktop.portal.Desktop"_s));
        const auto setting = [&portalBus](const QString &key, uint value) {
            QDBusMessage signal = QDBusMessage::createSignal(
                portalPath, u"org.freedesktop.portal.Settings"_s, u"SettingChanged"_s);
            signal << u"org.freedesktop.appearance"_s << key
                   << QVariant::fromValue(QDBusVariant(value));
            return portalBus.send(signal);
        };

        // a desktop that prefers dark is asked without blocking, then switches to light
        m_portal.scheme = 1;
        SystemColorScheme scheme;
        QSignalSpy changed(&scheme, &SystemColorScheme::darkChanged);
        QTRY_VERIFY(scheme.dark());
        QVERIFY(setting(u"color-scheme"_s, 2));
        QTRY_VERIFY(!scheme.dark());
        QCOMPARE(changed.size(), 2);

        // other settings are ignored
        QVERIFY(setting(u"accent-color"_s, 1));
        QVERIFY(setting(u"color-scheme"_s, 1));
        QTRY_VERIFY(scheme.dark());
        QCOMPARE(changed.size(), 3);
    }

private:
    QProcess m_bus;
    QString m_address;
    FakePortal m_portal;
};

QTEST_MAIN(TestSessionBus)
#include "test_session_bus.moc"
