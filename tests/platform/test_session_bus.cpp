// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout_switcher.h"
#include "plasma_input_source_provider.h"
#include "single_instance.h"
#include "system_color_scheme.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// Plasma lists a layout as (code, the user's label, name); Olvi reads no label.
QDBusArgument &operator<<(QDBusArgument &arg, const InputSource &layout)
{
    arg.beginStructure();
    arg << layout.shortName << QString() << layout.identifier;
    arg.endStructure();
    return arg;
}
// Only the service's side is needed, but QtDBus wants both.
const QDBusArgument &operator>>(const QDBusArgument &arg, InputSource &) { return arg; }

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

// Plasma's keyboard-layout service with layouts the test sets; it logs the
// switches it is asked for and makes them.
class FakePlasmaLayouts : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.KeyboardLayouts")

public:
    QList<InputSource> layouts;
    uint current = 0;
    QList<uint> asked;

public Q_SLOTS:
    QList<InputSource> getLayoutsList() const { return layouts; }
    uint getLayout() const { return current; }
    bool setLayout(uint index)
    {
        asked.append(index);
        Q_EMIT layoutChanged(current = index);
        return true;
    }

Q_SIGNALS:
    void layoutChanged(uint index);
    void layoutListChanged();
};

} // namespace

// The desktop services Olvi uses, on a private session bus: the single-instance
// name, the colour-scheme portal and Plasma's keyboard layouts.
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
        qDBusRegisterMetaType<InputSource>();
        qDBusRegisterMetaType<QList<InputSource>>();
    }

    void cleanupTestCase()
    {
        for (const QString &name : {u"first"_s, u"second"_s, u"probe"_s, u"fake-portal"_s,
                                    u"fake-plasma"_s})
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

    void plasmaLayoutsAreKeptRussian_data()
    {
        QTest::addColumn<QList<InputSource>>("layouts");
        QTest::addColumn<QList<uint>>("asked");
        const auto layout = [](const QString &code, const QString &name) {
            return InputSource{name, std::nullopt, code};
        };
        const InputSource us = layout(u"us"_s, u"English (US)"_s);
        const InputSource ru = layout(u"ru"_s, u"Russian"_s);
        QTest::newRow("russian") << QList{us, ru} << QList<uint>{1};
        QTest::newRow("named in russian") << QList{us, layout(u"ru"_s, u"Русская"_s)}
                                          << QList<uint>{1};
        QTest::newRow("first russian wins")
            << QList{us, layout(u"ru"_s, u"Russian (phonetic)"_s), ru} << QList<uint>{1};
        QTest::newRow("no russian") << QList{us, layout(u"de"_s, u"German"_s)} << QList<uint>{};
    }

    void plasmaLayoutsAreKeptRussian()
    {
        QTest::failOnWarning(QRegularExpression(u".*"_s));
        QFETCH(QList<InputSource>, layouts);
        // given Olvi started before Plasma's layout service, which then lists
        // the layouts, the first one selected
        PlasmaInputSourceProvider provider;
        m_plasma.layouts.clear();
        m_plasma.current = 0;
        m_plasma.asked.clear();
        QDBusConnection bus = QDBusConnection::connectToBus(m_address, u"fake-plasma"_s);
        bus.registerObject(u"/Layouts"_s, &m_plasma, QDBusConnection::ExportAllContents);
        QVERIFY(bus.registerService(u"org.kde.keyboard"_s));
        QTRY_COMPARE(provider.enabledSources(), std::optional(QList<InputSource>()));
        m_plasma.layouts = layouts;
        Q_EMIT m_plasma.layoutListChanged();
        QTRY_COMPARE(provider.enabledSources(), std::optional(layouts));
        QCOMPARE(provider.currentIndex(), std::optional<qsizetype>(0));
        QSignalSpy changed(&provider, &InputSourceProvider::currentSourceChanged);

        // when Russian is enforced, Plasma switches to its first Russian layout
        // and Olvi hears of it
        LayoutSwitcher(provider).enforceRussian();
        settlePlasma();
        QTEST(m_plasma.asked, "asked");
        QTRY_COMPARE(changed.size(), m_plasma.asked.size());
        QCOMPARE(provider.currentIndex(), std::optional<qsizetype>(m_plasma.current));

        // when Plasma goes away, nothing is known and a switch fails silently
        QVERIFY(bus.unregisterService(u"org.kde.keyboard"_s));
        QTRY_VERIFY(!provider.enabledSources() && !provider.currentIndex());
        provider.select(1);
        settlePlasma();
    }

private:
    // Returns once Plasma, if there, has handled all Olvi sent before.
    static void settlePlasma()
    {
        QDBusConnection::sessionBus().call(
            QDBusMessage::createMethodCall(u"org.kde.keyboard"_s, u"/Layouts"_s,
                                           u"org.kde.KeyboardLayouts"_s, u"getLayout"_s),
            QDBus::BlockWithGui);
    }

    QProcess m_bus;
    QString m_address;
    FakePortal m_portal;
    FakePlasmaLayouts m_plasma;
};

QTEST_MAIN(TestSessionBus)
#include "test_session_bus.moc"
