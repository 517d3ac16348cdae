// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile_json.h"
#include "theme_palette.h"
#include "x_test_keyboard.h"
#include "xvfb_server.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int russianGroup = 1; // setxkbmap -layout us,ru
constexpr int latinGroup = 0;
const QString fragment = u"жук жаба ёж мёд лёд. лось и ель, вол у дома."_s;

// Centres of the header's tab buttons in a 1000-pixel-wide window at 0,0.
QPoint tab(int index)
{
    return {500 - 195 + 48 + index * 98, 23};
}

ProfileData seeded(const std::optional<QString> &manuscript = fragment)
{
    ProfileData p;
    p.appearance = Appearance::light; // the colours the test looks for
    p.manuscript = manuscript;
    return p;
}

// The real olvi on a private X server with layouts us,ru and a private data
// folder, driven by real key and mouse events.
class Session
{
public:
    XvfbServer server;
    QTemporaryDir data;
    std::unique_ptr<XTestKeyboard> user;
    QProcess olvi;

    bool start()
    {
        if (!server.start(u"1000x760x24"_s) || !server.setLayouts(u"us,ru"_s))
            return false;
        user = std::make_unique<XTestKeyboard>(server.display());
        user->setAutoRepeat(100, 20);
        return user->isConnected();
    }

    [[nodiscard]] QString profilePath() const
    {
        return data.filePath(u"Olvi/profile.json"_s);
    }

    void writeProfile(const QByteArray &bytes) const
    {
        QDir(data.path()).mkpath(u"Olvi"_s);
        QFile f(profilePath());
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }

    [[nodiscard]] QByteArray profileBytes() const
    {
        QFile f(profilePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    [[nodiscard]] std::optional<ProfileData> profile() const
    {
        return ProfileJson::decode(profileBytes());
    }

    void launch()
    {
        QProcessEnvironment env = server.environment();
        env.insert(u"XDG_DATA_HOME"_s, data.path());
        env.remove(u"QT_QPA_PLATFORM"_s);
        env.remove(u"DBUS_SESSION_BUS_ADDRESS"_s); // no desktop portal: the app's own scheme
        olvi.setProcessEnvironment(env);
        olvi.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        olvi.start(QStringLiteral(OLVI_BINARY), {});
    }

    // The window is up and painted (the header bar has its colour); it then
    // gets the focus, as a window manager would give it.
    [[nodiscard]] bool painted() const
    {
        const auto window = user->findWindow(u"Олви"_s);
        if (!window || user->grab().pixel(10, 10) != ThemePalette::light().bar.rgb())
            return false;
        user->focusWindow(*window);
        return true;
    }

    // Where the accent-filled control below the header is, if any.
    [[nodiscard]] QRect accentControl() const
    {
        return regionOfColour(user->grab(), ThemePalette::light().accent.rgb(),
                              QRect(0, 60, 1000, 700));
    }

    // The manuscript editor's card fills most of the screen.
    [[nodiscard]] bool editorShown() const
    {
        return regionOfColour(user->grab(), ThemePalette::light().card.rgb(),
                              QRect(0, 60, 1000, 620))
                   .height()
               > 200;
    }

    void typeText(const QString &text)
    {
        for (const QString &ch : text.split(QString(), Qt::SkipEmptyParts))
            QVERIFY2(user->type(ch), qPrintable(u"no key types "_s + ch));
    }

    int closeAndWait()
    {
        const auto window = user->findWindow(u"Олви"_s);
        if (window)
            user->closeWindow(*window);
        if (!olvi.waitForFinished(10000)) {
            olvi.kill();
            olvi.waitForFinished();
            return -1;
        }
        return olvi.exitStatus() == QProcess::NormalExit ? olvi.exitCode() : -1;
    }

    ~Session()
    {
        if (olvi.state() != QProcess::NotRunning) {
            olvi.kill();
            olvi.waitForFinished();
        }
    }
};

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void typingAManuscriptFragmentIsRecorded();
    void latinLetterSwitchesTheLayoutBack();
    void unreadableProfileIsKeptAside();
    void closingWritesNothing();
};

void TestEndToEnd::typingAManuscriptFragmentIsRecorded()
{
    // given a profile with a manuscript
    Session s;
    QVERIFY2(s.start(), qPrintable(s.server.error()));
    s.writeProfile(ProfileJson::encode(seeded()));
    s.launch();
    QTRY_VERIFY_WITH_TIMEOUT(s.painted(), 15000);

    // when the manuscript is continued from its tab
    s.user->click(tab(2));
    QTRY_VERIFY_WITH_TIMEOUT(!s.accentControl().isEmpty(), 10000);
    s.user->click(s.accentControl().center());
    QTRY_COMPARE_WITH_TIMEOUT(s.user->lockedGroup(), std::optional(russianGroup), 10000);

    // and a start with a mistake is thrown away with Escape
    s.typeText(fragment.left(3));
    QVERIFY(s.user->type(u"ы"_s));
    QVERIFY(s.user->press("Escape"));

    // and the fragment is typed with two wrong keys, a Backspace and a held key
    const QStringList chars = fragment.split(QString(), Qt::SkipEmptyParts);
    for (int i = 0; i < chars.size(); ++i) {
        if (i == 2 || i == 9)
            QVERIFY(s.user->type(chars[i] == u"щ" ? u"ш"_s : u"щ"_s));
        if (i == 5)
            QVERIFY(s.user->press("BackSpace"));
        if (i == 7)
            QVERIFY(s.user->hold(chars[i], 400));
        else
            QVERIFY(s.user->type(chars[i]));
    }

    // then the day holds the fragment with exactly the two errors after the restart
    QTRY_VERIFY_WITH_TIMEOUT(s.profile() && s.profile()->days.size() == 1, 10000);
    const ProfileData p = *s.profile();
    QCOMPARE(p.days[0].chars, qint64(chars.size()));
    QCOMPARE(p.days[0].errors, 2);
    for (const QString &ch : chars)
        QVERIFY2(p.keyStats.contains(ch), qPrintable(ch));
    QCOMPARE(p.keyStats.value(u"ж"_s).attempts, 3); // ж is typed three times in the fragment
    QCOMPARE(p.manuscriptChunk, std::optional<qint64>(0));
    QVERIFY(p.exercisesPassed.isEmpty());
    QCOMPARE(s.closeAndWait(), 0);
}

void TestEndToEnd::latinLetterSwitchesTheLayoutBack()
{
    // given an exercise on the training tab
    Session s;
    QVERIFY2(s.start(), qPrintable(s.server.error()));
    s.writeProfile(ProfileJson::encode(seeded()));
    s.launch();
    QTRY_VERIFY_WITH_TIMEOUT(s.painted(), 15000);
    s.user->click(tab(2));
    QTRY_VERIFY_WITH_TIMEOUT(!s.accentControl().isEmpty(), 10000);
    s.user->click(s.accentControl().center());
    QTRY_COMPARE_WITH_TIMEOUT(s.user->lockedGroup(), std::optional(russianGroup), 10000);

    // and the user switched to Latin while away on the course tab
    s.user->click(tab(0));
    QTRY_VERIFY_WITH_TIMEOUT(!s.accentControl().isEmpty(), 10000); // the continue button
    s.user->lockGroup(latinGroup);
    QCOMPARE(s.user->lockedGroup(), std::optional(latinGroup));
    s.user->click(tab(1));

    // when a Latin letter arrives where a Cyrillic one is expected
    QVERIFY(s.user->type(u"f"_s));

    // then the Russian layout is back and nothing was counted
    QTRY_COMPARE_WITH_TIMEOUT(s.user->lockedGroup(), std::optional(russianGroup), 10000);
    s.typeText(fragment);
    QTRY_VERIFY_WITH_TIMEOUT(s.profile() && s.profile()->days.size() == 1, 10000);
    QCOMPARE(s.profile()->days[0].errors, 0);
    QCOMPARE(s.closeAndWait(), 0);
}

void TestEndToEnd::unreadableProfileIsKeptAside()
{
    // given a profile file that is not a profile
    Session s;
    QVERIFY2(s.start(), qPrintable(s.server.error()));
    const QByteArray garbage = "{ \"soundOn\": tru";
    s.writeProfile(garbage);
    s.launch();
    QTRY_VERIFY_WITH_TIMEOUT(s.painted(), 15000);

    // when a text is pasted on the manuscript tab and typed
    s.user->click(tab(2));
    QTRY_VERIFY_WITH_TIMEOUT(s.editorShown(), 10000);
    s.user->click({500, 300}); // into the editor
    s.user->lockGroup(russianGroup); // the user types Russian text in the Russian layout
    s.typeText(fragment);
    QTRY_VERIFY_WITH_TIMEOUT(!s.accentControl().isEmpty(), 10000); // the train button is enabled
    s.user->click(s.accentControl().center());
    QTRY_COMPARE_WITH_TIMEOUT(s.user->lockedGroup(), std::optional(russianGroup), 10000);
    s.typeText(fragment);

    // then a new profile holds the exercise and the old file is kept beside it
    QTRY_VERIFY_WITH_TIMEOUT(s.profile() && s.profile()->days.size() == 1, 10000);
    QCOMPARE(s.profile()->manuscript, std::optional(fragment));
    const QStringList aside = QDir(s.data.filePath(u"Olvi"_s))
                                  .entryList({u"profile.json.unreadable-*"_s}, QDir::Files);
    QCOMPARE(aside.size(), 1);
    QFile kept(s.data.filePath(u"Olvi/"_s + aside.first()));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), garbage);
    QCOMPARE(s.closeAndWait(), 0);
}

void TestEndToEnd::closingWritesNothing()
{
    // given a stored profile
    Session s;
    QVERIFY2(s.start(), qPrintable(s.server.error()));
    s.writeProfile(ProfileJson::encode(seeded()));
    const QByteArray before = s.profileBytes();
    const QStringList filesBefore = QDir(s.data.filePath(u"Olvi"_s)).entryList(QDir::Files);

    // when the app is started, looked around in and closed, twice
    for (int run = 0; run < 2; ++run) {
        s.launch();
        QTRY_VERIFY_WITH_TIMEOUT(s.painted(), 15000);
        s.user->click(tab(3));
        s.user->click(tab(0));
        QTRY_VERIFY_WITH_TIMEOUT(!s.accentControl().isEmpty(), 10000);

        // then it ends cleanly and the profile is untouched
        QCOMPARE(s.closeAndWait(), 0);
        QCOMPARE(s.profileBytes(), before);
        QCOMPARE(QDir(s.data.filePath(u"Olvi"_s)).entryList(QDir::Files), filesBefore);
    }
}

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "test_end_to_end.moc"
