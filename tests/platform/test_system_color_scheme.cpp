// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "system_color_scheme.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString service = u"org.freedesktop.portal.Desktop"_s;
const QString path = u"/org/freedesktop/portal/desktop"_s;
const QString iface = u"org.freedesktop.portal.Settings"_s;

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
        if (nameSpace == u"org.freedesktop.appearance" && key == u"color-scheme")
            return QDBusVariant(QVariant::fromValue(QDBusVariant(scheme)));
        return QDBusVariant(QVariant::fromValue(QDBusVariant(0u)));
    }
};

} // namespace

class TestSystemColorScheme : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void portalValues_data();
    void portalValues();
    void initTestCase();
    void cleanupTestCase();
    void followsThePortalLive();

private:
    QProcess m_bus;
    FakePortal m_portal;
};

void TestSystemColorScheme::portalValues_data()
{
    QTest::addColumn<uint>("value");
    QTest::addColumn<int>("dark"); // -1: no preference

    QTest::newRow("no preference") << 0u << -1;
    QTest::newRow("dark") << 1u << 1;
    QTest::newRow("light") << 2u << 0;
    QTest::newRow("unknown") << 7u << -1;
}

void TestSystemColorScheme::portalValues()
{
    QFETCH(uint, value);
    QFETCH(int, dark);
    const auto result = SystemColorScheme::darkFromPortalValue(value);
    QCOMPARE(result.has_value() ? int(*result) : -1, dark);
}

void TestSystemColorScheme::initTestCase()
{
    // A private session bus, so the test never touches the desktop's own.
    m_bus.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address"_s});
    QVERIFY2(m_bus.waitForStarted(), "dbus-daemon is missing (scripts/setup installs it)");
    QTRY_VERIFY(m_bus.canReadLine());
    const QByteArray address = m_bus.readLine().trimmed();
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);

    QDBusConnection portalBus = QDBusConnection::connectToBus(QString::fromUtf8(address),
                                                              u"fake-portal"_s);
    QVERIFY(portalBus.isConnected());
    QVERIFY(portalBus.registerObject(path, &m_portal, QDBusConnection::ExportAllSlots));
    QVERIFY(portalBus.registerService(service));
}

void TestSystemColorScheme::cleanupTestCase()
{
    QDBusConnection::disconnectFromBus(u"fake-portal"_s);
    m_bus.kill();
    m_bus.waitForFinished();
}

void TestSystemColorScheme::followsThePortalLive()
{
    // given a desktop that prefers dark
    m_portal.scheme = 1;

    // when the scheme is asked for, the answer arrives without blocking
    SystemColorScheme scheme;
    QSignalSpy changed(&scheme, &SystemColorScheme::darkChanged);
    QTRY_VERIFY(scheme.dark());

    // and when the desktop switches to light, the change follows
    QDBusMessage signal = QDBusMessage::createSignal(path, iface, u"SettingChanged"_s);
    signal << u"org.freedesktop.appearance"_s << u"color-scheme"_s
           << QVariant::fromValue(QDBusVariant(2u));
    QVERIFY(QDBusConnection(u"fake-portal"_s).send(signal));
    QTRY_VERIFY(!scheme.dark());
    QCOMPARE(changed.size(), 2);

    // other settings are ignored
    QDBusMessage other = QDBusMessage::createSignal(path, iface, u"SettingChanged"_s);
    other << u"org.freedesktop.appearance"_s << u"accent-color"_s
          << QVariant::fromValue(QDBusVariant(1u));
    QVERIFY(QDBusConnection(u"fake-portal"_s).send(other));
    QDBusMessage dark = QDBusMessage::createSignal(path, iface, u"SettingChanged"_s);
    dark << u"org.freedesktop.appearance"_s << u"color-scheme"_s
         << QVariant::fromValue(QDBusVariant(1u));
    QVERIFY(QDBusConnection(u"fake-portal"_s).send(dark));
    QTRY_VERIFY(scheme.dark());
    QCOMPARE(changed.size(), 3);
}

QTEST_MAIN(TestSystemColorScheme)
#include "test_system_color_scheme.moc"
