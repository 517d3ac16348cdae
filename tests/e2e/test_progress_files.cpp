// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "olvi_session.h"
#include "profile_json.h"
#include "profile_merge.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

const QString portalPath = u"/org/freedesktop/portal/desktop"_s;

// The desktop's file-chooser portal on the bus connection "portal", whose
// user picks the file the test chose as soon as the dialog opens.
class FakeFileChooserPortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.FileChooser")

public:
    QString answer;
    QStringList proposed; // the names proposed for saving

public Q_SLOTS:
    QDBusObjectPath SaveFile(const QString &, const QString &, const QVariantMap &options,
                             const QDBusMessage &call)
    {
        proposed << options.value(u"current_name"_s).toString();
        return OpenFile({}, {}, options, call);
    }
    // The choice comes as a signal of the request object, after the call returned.
    QDBusObjectPath OpenFile(const QString &, const QString &, const QVariantMap &options,
                             const QDBusMessage &call)
    {
        const QString path = portalPath + u"/request/"_s + call.service().mid(1).replace(u'.', u'_')
                             + u'/' + options.value(u"handle_token"_s).toString();
        QDBusMessage response =
            QDBusMessage::createSignal(path, u"org.freedesktop.portal.Request"_s, u"Response"_s);
        response << 0u
                 << QVariantMap{{u"uris"_s, QStringList{QUrl::fromLocalFile(answer).toString()}}};
        QTimer::singleShot(0, this, [response] { QDBusConnection(u"portal"_s).send(response); });
        return QDBusObjectPath(path);
    }
};

} // namespace

// The real binary on a private X server and a private session bus whose file-chooser
// portal answers with files the test chose; the progress screen worked with Tab and Return.
class TestProgressFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void progressMovesToAnotherDataFolder()
    {
        QProcess daemon;
        daemon.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address"_s});
        QVERIFY2(daemon.waitForStarted(), "dbus-daemon is missing (scripts/setup installs it)");
        QTRY_VERIFY(daemon.canReadLine());
        const QString address = QString::fromUtf8(daemon.readLine().trimmed());
        QDBusConnection bus = QDBusConnection::connectToBus(address, u"portal"_s);
        FakeFileChooserPortal portal;
        QVERIFY(bus.registerObject(portalPath, &portal, QDBusConnection::ExportAllSlots)
                && bus.registerService(u"org.freedesktop.portal.Desktop"_s));
        // the app on a profile and the private bus, showing its progress screen
        const auto launch = [&address](OlviSession &s, const ProfileData &profile) {
            s.writeProfile(ProfileJson::encode(profile));
            s.extraEnvironment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, address);
            if (!s.start() || !s.launchAndWait())
                return false;
            s.user->click(OlviSession::tab(3));
            return OlviSession::waitFor([&s] { return s.progressShown(); }, 10000);
        };
        OlviSession there, here;
        portal.answer = there.data.filePath(u"progress.json"_s);
        ProfileData laptop, desktop;
        laptop.appearance = desktop.appearance = Appearance::light; // the colours looked for
        laptop.days = {{u"2026-11-01"_s, 400, 3, 160, 180}, {u"2026-11-02"_s, 900, 3, 360, 190}};
        desktop.days = {{u"2026-11-02"_s, 300, 1, 120, 150}, {u"2026-11-03"_s, 200, 2, 80, 160}};

        // given the laptop's progress saved from its progress screen
        QVERIFY2(launch(there, laptop), qPrintable(there.error()));
        for (int i = 0; i < 3; ++i) // back from the end, past load and table, to save
            QVERIFY(there.user->pressChord("Shift_L", "Tab"));
        QVERIFY(there.user->press("Return"));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(portal.answer), 10000); // written whole
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        QCOMPARE(portal.proposed, QStringList{u"olvi-progress-%1.json"_s.arg(today)});
        QCOMPARE(there.closeAndWait(), 0);

        // when the desktop loads that file, and confirms once the question shows, its merge
        // button taking the focus
        QVERIFY2(launch(here, desktop), qPrintable(here.error()));
        const QRect accentBefore = here.accentControl();
        QVERIFY(here.user->pressChord("Shift_L", "Tab")); // the last button: load
        QRect focusRing;
        QTRY_VERIFY_WITH_TIMEOUT((focusRing = here.accentControl()) != accentBefore, 10000);
        QVERIFY(here.user->press("Return"));
        QTRY_VERIFY_WITH_TIMEOUT(here.accentControl() != focusRing, 10000);
        QVERIFY(here.user->press("Return"));

        // then the merged progress is saved, and a copy of the old one kept beside it
        QTRY_COMPARE_WITH_TIMEOUT(here.profile(), ProfileMerge::merge(desktop, laptop), 10000);
        const QDir folder(here.data.filePath(u"Olvi"_s));
        QCOMPARE(folder.entryList({u"profile.json.before-import-*"_s}).size(), 1);
        QCOMPARE(here.closeAndWait(), 0);
        daemon.kill();
        daemon.waitForFinished();
    }
};

QTEST_MAIN(TestProgressFiles)
#include "test_progress_files.moc"
