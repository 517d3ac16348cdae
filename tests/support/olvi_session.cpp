// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "olvi_session.h"

#include "profile_json.h"
#include "theme_palette.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

OlviSession::~OlviSession()
{
    olvi.kill(); // nothing when it has ended
    olvi.waitForFinished();
}

bool OlviSession::start(double scaleFactor)
{
    scale = scaleFactor;
    const QString screen = QStringLiteral("%1x%2x24").arg(qRound(1000 * scale)).arg(qRound(760 * scale));
    if (!server.start(screen) || !server.setLayouts(layouts))
        return false;
    user = std::make_unique<XTestKeyboard>(server.display());
    user->setAutoRepeat(100, 20);
    desk = user.get();
    return user->isConnected();
}

bool OlviSession::startSway()
{
    sway = std::make_unique<SwayDesk>();
    desk = sway.get();
    return sway->start(QSize(1000, 760));
}

void OlviSession::writeProfile(const QByteArray &bytes) const
{
    QDir(data.path()).mkpath(QStringLiteral("Olvi"));
    QFile f(data.filePath(QStringLiteral("Olvi/profile.json")));
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QByteArray OlviSession::profileBytes() const
{
    QFile f(data.filePath(QStringLiteral("Olvi/profile.json")));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::optional<ProfileData> OlviSession::profile() const
{
    return ProfileJson::decode(profileBytes());
}

void OlviSession::launch()
{
    QProcessEnvironment env = sway ? sway->environment() : server.environment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), data.path());
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    // No desktop portal: the app keeps the scheme the profile asks for.
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::number(scale));
    env.insert(extraEnvironment);
    olvi.setProcessEnvironment(env);
    olvi.setProcessChannelMode(keepErrors ? QProcess::SeparateChannels
                                          : QProcess::ForwardedErrorChannel);
    if (sway) {
        sway->handOver(data.path());
        sway->run(olvi, sway->copyIn(QStringLiteral(OLVI_BINARY)));
    } else {
        olvi.start(binary.isEmpty() ? QStringLiteral(OLVI_BINARY) : binary, {});
    }
}

bool OlviSession::waitFor(const std::function<bool()> &condition, int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(5);
    }
    return true;
}

bool OlviSession::launchAndWait(int ms)
{
    launch();
    return waitFor([this] { return painted(); }, ms);
}

bool OlviSession::painted() const
{
    return desk->grab().pixel(10, 10) == ThemePalette::light().bar.rgb()
           && desk->focus(QStringLiteral("Олви"));
}

QRect OlviSession::accentControl() const
{
    return regionOfColour(desk->grab(), ThemePalette::light().accent.rgb(), {0, 60, 1000, 700});
}

bool OlviSession::editorShown() const
{
    const QRgb card = ThemePalette::light().card.rgb();
    return regionOfColour(desk->grab(), card, {0, 60, 1000, 620}).height() > 200;
}

bool OlviSession::courseShown() const
{
    const QRgb accent = ThemePalette::light().accent.rgb();
    return regionOfColour(desk->grab(), accent, {0, 60, 300, 700}).width() > 150;
}

bool OlviSession::summaryShown() const
{
    return !courseShown() && !editorShown() && !accentControl().isEmpty();
}

bool OlviSession::progressShown() const
{
    const QRgb card = ThemePalette::light().card.rgb();
    return regionOfColour(desk->grab(), card, {0, 60, 1000, 100}).width() > 900;
}

bool OlviSession::trainingShown() const
{
    const QRgb bar = ThemePalette::light().bar.rgb();
    return regionOfColour(desk->grab(), bar, {0, 700, 1000, 60}).width() > 900;
}

QPoint OlviSession::tab(int index)
{
    // The tab strip is centred in the window: four 96-pixel buttons 2 pixels apart.
    return {500 - 195 + 48 + index * 98, 23};
}

bool OlviSession::typeText(const QString &text)
{
    for (const QString &ch : text.split(QString(), Qt::SkipEmptyParts)) {
        if (!desk->type(ch))
            return false;
    }
    return true;
}

int OlviSession::closeAndWait()
{
    desk->close(QStringLiteral("Олви"));
    // One that does not end is killed by the destructor.
    const bool ended = olvi.waitForFinished(10000);
    return ended && olvi.exitStatus() == QProcess::NormalExit ? olvi.exitCode() : -1;
}

bool OlviSession::typeLessonOneByPlace()
{
    const auto chars = [this] { return profile().value_or(ProfileData()).days.value(0).chars; };
    const qint64 before = chars();
    for (int round = 0; round < 500 && chars() == before; ++round) {
        for (const unsigned keycode : {41, 44, 65})
            desk->strike({keycode, false});
        if (!catchUp())
            return false;
    }
    return waitFor([&] { return chars() > before; }, 10000);
}

bool OlviSession::catchUp()
{
    // After a second round trip the server has passed the keys on, so the app
    // is busy until it has handled them: then every one of its threads sleeps.
    desk->sync();
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(olvi.processId()));
    const auto asleep = [&tasks] {
        for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile stat(tasks.filePath(task + QStringLiteral("/stat")));
            const QByteArray line = stat.open(QIODevice::ReadOnly) ? stat.readAll() : "";
            // The state follows the name, which is in parentheses and may hold any.
            const qsizetype name = line.lastIndexOf(')');
            if (name >= 0 && line.mid(name + 2, 1) != "S")
                return false;
        }
        return true;
    };
    return waitFor(asleep, 10000);
}
