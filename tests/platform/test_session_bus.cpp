// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_state.h"
#include "plasma_input_source_provider.h"
#include "session_engine.h"
#include "single_instance.h"
#include "system_color_scheme.h"
#include "system_input_sources.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
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

// The settings portal of a desktop that prefers dark.
class FakePortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public Q_SLOTS:
    // The value comes wrapped in one more variant.
    QDBusVariant Read(const QString &, const QString &key)
    {
        const uint dark = 1;
        return QDBusVariant(QVariant::fromValue(QDBusVariant(key == u"color-scheme" ? dark : 0)));
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
// name, the colour-scheme portal and Plasma's keyboard layouts (coming and going
// while Olvi runs). Without a bus
// every launch runs, as each end-to-end test shows.
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
        for (const auto *name : {"first", "fake-portal", "fake-plasma"})
            QDBusConnection::disconnectFromBus(QString::fromLatin1(name));
        m_bus.kill();
        m_bus.waitForFinished();
    }

    void aSecondOlviActivatesTheFirstAndQuits()
    {
        SingleInstance first(QDBusConnection::connectToBus(m_address, u"first"_s));
        QVERIFY(first.claim());
        QSignalSpy activated(&first, &SingleInstance::activated);

        // olvi launched again, by a launcher that gave it a token
        QTemporaryDir home;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_DATA_HOME"_s, home.path());
        env.insert(u"XDG_ACTIVATION_TOKEN"_s, u"token-42"_s);
        QProcess second;
        second.setProcessEnvironment(env);
        second.start(QStringLiteral(OLVI_BINARY), {});

        // asks the first to show itself, with the token, and quits
        QTRY_COMPARE_WITH_TIMEOUT(activated.size(), 1, 10000);
        QCOMPARE(activated.first().first().toString(), u"token-42"_s);
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 10000);
        QCOMPARE(std::pair(second.exitStatus(), second.exitCode()),
                 std::pair(QProcess::NormalExit, 0));
    }

    void colourSchemeFollowsThePortalLive()
    {
        // no preference and unknown values leave the scheme to the palette
        const auto asked = [](uint value) { return SystemColorScheme::darkFromPortalValue(value); };
        QVERIFY(!asked(0) && !asked(7));
        QDBusConnection portalBus = QDBusConnection::connectToBus(m_address, u"fake-portal"_s);
        FakePortal portal;
        QVERIFY(portalBus.registerObject(portalPath, &portal, QDBusConnection::ExportAllSlots));
        QVERIFY(portalBus.registerService(u"org.freedesktop.portal.Desktop"_s));
        const auto setting = [&portalBus](const QString &key, uint value) {
            QDBusMessage signal = QDBusMessage::createSignal(
                portalPath, u"org.freedesktop.portal.Settings"_s, u"SettingChanged"_s);
            signal << u"org.freedesktop.appearance"_s << key
                   << QVariant::fromValue(QDBusVariant(value));
            return portalBus.send(signal);
        };

        // it is asked without blocking, then switches to light; other settings are ignored
        SystemColorScheme scheme;
        QSignalSpy changed(&scheme, &SystemColorScheme::darkChanged);
        QTRY_VERIFY(scheme.dark());
        QVERIFY(setting(u"color-scheme"_s, 2));
        QTRY_VERIFY(!scheme.dark());
        QVERIFY(setting(u"accent-color"_s, 1) && setting(u"color-scheme"_s, 2)
                && setting(u"color-scheme"_s, 1));
        QTRY_VERIFY(scheme.dark());
        QCOMPARE(changed.size(), 3);
    }

    void plasmaKeepsEveryExerciseRussian_data()
    {
        QTest::addColumn<QList<InputSource>>("layouts");
        QTest::addColumn<QList<uint>>("asked");
        const auto layout = [](const QString &code, const QString &name) {
            return InputSource{name, std::nullopt, code};
        };
        const InputSource us = layout(u"us"_s, u"English (US)"_s);
        QTest::newRow("named in russian") << QList{us, layout(u"ru"_s, u"Русская"_s)}
                                          << QList<uint>{1, 1};
        QTest::newRow("no russian") << QList{us, layout(u"de"_s, u"German"_s)} << QList<uint>{};
    }

    void plasmaKeepsEveryExerciseRussian()
    {
        QTest::failOnWarning(QRegularExpression(u".*"_s));
        QFETCH(QList<InputSource>, layouts);
        QFETCH(QList<uint>, asked);
        const auto backendIsPlasma = [](const SystemInputSources &s) {
            return qobject_cast<const PlasmaInputSourceProvider *>(&s.backend()) != nullptr;
        };
        // given Olvi started on Wayland before Plasma's layout service
        SystemInputSources system(QDBusConnection::sessionBus(), u"wayland");
        QVERIFY(!backendIsPlasma(system) && !system.enabledSources());
        QTemporaryDir folder;
        AppServices services;
        services.inputSources = &system;
        services.dataFolder = folder.path();
        AppState app(services);

        // when the service comes, Olvi uses it, and a lesson selects its first Russian layout
        FakePlasmaLayouts plasma;
        plasma.layouts = layouts;
        QDBusConnection bus = QDBusConnection::connectToBus(m_address, u"fake-plasma"_s);
        const auto gone = qScopeGuard([&bus] {
            bus.unregisterService(u"org.kde.keyboard"_s);
            bus.unregisterObject(u"/Layouts"_s);
        });
        QVERIFY(bus.registerObject(u"/Layouts"_s, &plasma, QDBusConnection::ExportAllContents));
        QVERIFY(bus.registerService(u"org.kde.keyboard"_s));
        QTRY_COMPARE(system.enabledSources(), std::optional(layouts));
        QVERIFY(backendIsPlasma(system));
        app.startTraining();
        QTRY_COMPARE(plasma.asked, asked.mid(0, 1));

        // the learner switches to English at the result card; the next exercise
        // selects Russian again
        while (!app.engine()->finished())
            app.handleKey(app.engine()->expected());
        QVERIFY(app.lastResult());
        Q_EMIT plasma.layoutChanged(plasma.current = 0);
        QTRY_COMPARE(system.currentIndex(), std::optional<qsizetype>(0));
        app.nextExercise();
        QTRY_COMPARE(plasma.asked, asked);
        // (with no Russian layout at all, typing by key place is the way, and says so)
        QCOMPARE(app.physicalKeysOffered() && app.russianLayoutMissing(), asked.isEmpty());

        // when the service leaves, nothing is known: a Latin letter offers the way out,
        // and nobody can tell whether a Russian layout exists
        QVERIFY(bus.unregisterService(u"org.kde.keyboard"_s));
        QTRY_VERIFY(!backendIsPlasma(system) && !system.enabledSources());
        app.handleKey(u"f"_s);
        QVERIFY(app.physicalKeysOffered() && !app.russianLayoutMissing());
    }

private:
    QProcess m_bus;
    QString m_address;
};

QTEST_MAIN(TestSessionBus)
#include "test_session_bus.moc"
