// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Keystroke-to-pixel latency of the training screen, against a baseline.
// The real olvi and a minimal Qt Quick window (bench/minimal_quick, the same
// Qt, renderer and repaint setting) run side by side, each on a private X
// server; in alternating rounds a key is pressed through XTest and a thin
// strip of the screen is polled over shared memory, with a short sleep
// between polls so the probe leaves the cores to the app, until a pixel
// changes. Reported per program: the latency's median, p95 and max, the
// frames a key makes Qt render (its scene-graph timing log) and the CPU time
// a key costs the app (/proc), with the machine's load before and after.
#include "manuscript.h"
#include "olvi_session.h"
#include "profile_json.h"
#include "x_region_grabber.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>

#include <unistd.h>

namespace {

double percentile(QList<double> values, double p)
{
    if (values.isEmpty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const auto index = qsizetype(std::min<double>(double(values.size() - 1),
                                                  std::ceil(p * double(values.size())) - 1));
    return values.at(std::max<qsizetype>(index, 0));
}

QString loadAverage()
{
    QFile f(QStringLiteral("/proc/loadavg"));
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()).section(u' ', 0, 2)
                                       : QStringLiteral("?");
}

// User and system CPU time of a process so far, in milliseconds.
double cpuMs(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return 0.0;
    // The fields after the command name, which is in parentheses.
    const QByteArray stat = f.readAll();
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return 0.0;
    const double ticks = fields.at(11).toDouble() + fields.at(12).toDouble(); // utime, stime
    return ticks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

// Qt's scene-graph timing log: one line per rendered frame.
const char *const frameLog = "qt.scenegraph.time.renderloop=true";

// Reads what the process has logged so far and counts its frames. Read
// often: a full pipe would stall the app.
struct FrameCounter
{
    QByteArray pending;

    int drain(QProcess &process)
    {
        QCoreApplication::processEvents();
        pending += process.readAllStandardError();
        const qsizetype end = pending.lastIndexOf('\n') + 1;
        const int frames = int(pending.first(end).count("Frame rendered"));
        pending.remove(0, end);
        return frames;
    }
};

const QString text = QStringLiteral(
    "жили были дед да баба и была у них курочка ряба снесла курочка яичко да не простое "
    "а золотое дед бил бил не разбил баба била била не разбила мышка бежала хвостиком "
    "махнула яичко упало и разбилось");

// One program under the probe.
struct Target
{
    QString name;
    QProcess *process = nullptr;
    XTestKeyboard *user = nullptr;
    std::vector<std::unique_ptr<XRegionGrabber>> strips;
    std::function<QString(int)> keyFor; // the character the k-th key types

    FrameCounter log;
    QList<double> latencies;
    int timeouts = 0;
    int frames = 0;
    double cpu = 0.0;
    int keys = 0;

    // Presses `count` keys starting with key number `first`.
    void run(int first, int count, int pauseMs)
    {
        log.drain(*process); // forget what came before
        const double cpuBefore = cpuMs(process->processId());
        for (int k = first; k < first + count; ++k) {
            const auto key = user->find(keyFor(k));
            if (!key)
                continue;
            QList<QByteArray> before;
            for (const auto &strip : strips)
                before << strip->grab();
            QElapsedTimer clock;
            clock.start();
            user->strike(*key);
            bool changed = false;
            while (!changed && clock.nsecsElapsed() < 1000000000) {
                QThread::usleep(200); // leave the cores to the app
                for (size_t i = 0; i < strips.size() && !changed; ++i)
                    changed = strips[i]->grab() != before.at(qsizetype(i));
            }
            if (changed)
                latencies << double(clock.nsecsElapsed()) / 1e6;
            else
                ++timeouts;
            QThread::msleep(ulong(pauseMs)); // a typist's pause between keys
            frames += log.drain(*process);
        }
        // The last key's fade ends within the pause only at a brisk pace.
        QThread::msleep(200);
        frames += log.drain(*process);
        cpu += cpuMs(process->processId()) - cpuBefore;
        keys += count;
    }
};

QRect scaled(QRect r, double scale)
{
    return QRect(qRound(r.x() * scale), qRound(r.y() * scale), qRound(r.width() * scale),
                 qRound(r.height() * scale));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Keystroke-to-pixel latency of olvi against a minimal Qt Quick window"));
    options.addHelpOption();
    options.addOption({QStringLiteral("keys"), QStringLiteral("Keys per program (200)."),
                       QStringLiteral("n"), QStringLiteral("200")});
    options.addOption({QStringLiteral("rounds"),
                       QStringLiteral("Rounds the keys are split into, alternating (4)."),
                       QStringLiteral("n"), QStringLiteral("4")});
    options.addOption({QStringLiteral("wrong-every"),
                       QStringLiteral("Every n-th key is wrong in olvi (4)."),
                       QStringLiteral("n"), QStringLiteral("4")});
    options.addOption({QStringLiteral("pause"),
                       QStringLiteral("Milliseconds between keys (150: about 400 characters a "
                                      "minute, a brisk typist)."),
                       QStringLiteral("ms"), QStringLiteral("150")});
    options.addOption({QStringLiteral("scale"),
                       QStringLiteral("Scale factor of both windows (1; 2 for HiDPI)."),
                       QStringLiteral("f"), QStringLiteral("1")});
    options.addOption({QStringLiteral("speech"),
                       QStringLiteral("olvi reads the exercise aloud (\"Озвучивание\" on, "
                                      "through the system's speech engine).")});
    options.process(app);
    const int keys = std::max(1, options.value(QStringLiteral("keys")).toInt());
    const int rounds = std::clamp(options.value(QStringLiteral("rounds")).toInt(), 1, keys);
    const int wrongEvery = std::max(2, options.value(QStringLiteral("wrong-every")).toInt());
    const int pauseMs = std::max(0, options.value(QStringLiteral("pause")).toInt());
    const double scale = std::max(1.0, options.value(QStringLiteral("scale")).toDouble());
    const auto fail = [](const char *what) {
        std::fprintf(stderr, "keylat: %s\n", what);
        return 2;
    };
    const QString loadBefore = loadAverage();

    // olvi, typing its first manuscript fragment
    OlviSession s;
    if (!s.start(scale))
        return fail("no X server for olvi");
    QProcessEnvironment logging;
    logging.insert(QStringLiteral("QT_LOGGING_RULES"), QString::fromLatin1(frameLog));
    s.extraEnvironment = logging;
    s.keepErrors = true;
    ProfileData profile;
    profile.appearance = Appearance::light;
    profile.manuscript = Manuscript::normalize(text);
    profile.speechOn = options.isSet(QStringLiteral("speech"));
    s.writeProfile(ProfileJson::encode(profile));
    const QString fragment = Manuscript::chunks(*profile.manuscript).first();
    if (fragment.size() <= keys - keys / wrongEvery)
        return fail("the fragment is too short for that many keys");
    if (!s.launchAndWait(20000))
        return fail("the olvi window did not appear");
    // The manuscript tab, its continue button, and Return: by keyboard, so
    // the same steps work at any scale.
    s.user->pressChord("Control_L", "3");
    QThread::msleep(500);
    for (int i = 0; i < 6; ++i)
        s.user->press("Tab");
    s.user->press("Return");
    if (!OlviSession::waitFor([&] { return s.user->lockedGroup() == OlviSession::russianGroup; },
                              10000))
        return fail("the manuscript exercise did not start");
    QThread::msleep(300);

    Target olvi;
    olvi.name = QStringLiteral("olvi");
    olvi.process = &s.olvi;
    olvi.user = s.user.get();
    // A strip through the first text line (the caret moves along it on a
    // right key) and one through the accuracy figure (a wrong key changes it).
    olvi.strips.push_back(std::make_unique<XRegionGrabber>(
        s.server.display(), scaled(QRect(100, 110, 800, 4), scale)));
    olvi.strips.push_back(std::make_unique<XRegionGrabber>(
        s.server.display(), scaled(QRect(280, 722, 220, 10), scale)));
    qsizetype next = 0;
    olvi.keyFor = [&](int k) {
        const bool wrong = k % wrongEvery == wrongEvery - 1;
        const QString expected = fragment.mid(next, 1);
        if (!wrong) {
            ++next;
            return expected;
        }
        return expected == u"щ" ? QStringLiteral("ш") : QStringLiteral("щ");
    };

    // the minimal window, typing Latin letters
    XvfbServer baseServer;
    if (!baseServer.start(QStringLiteral("%1x%2x24").arg(qRound(1000 * scale)).arg(qRound(760 * scale))))
        return fail("no X server for the minimal window");
    QProcess minimal;
    QProcessEnvironment env = baseServer.environment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(logging);
    if (scale != 1.0)
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::number(scale));
    minimal.setProcessEnvironment(env);
    minimal.start(QCoreApplication::applicationDirPath() + QStringLiteral("/minimal_quick"), {});
    if (!minimal.waitForStarted())
        return fail("bench/minimal_quick did not start");
    XTestKeyboard baseUser(baseServer.display());
    if (!OlviSession::waitFor([&] { return baseUser.focus(QStringLiteral("minimal")); }, 10000))
        return fail("the minimal window did not appear");
    QThread::msleep(500);
    Target base;
    base.name = QStringLiteral("minimal Qt Quick");
    base.process = &minimal;
    base.user = &baseUser;
    base.strips.push_back(std::make_unique<XRegionGrabber>(
        baseServer.display(), scaled(QRect(100, 110, 800, 4), scale)));
    base.keyFor = [](int k) { return QString(QChar(u'a' + k % 26)); };
    if (!olvi.strips.front()->isReady() || !base.strips.front()->isReady())
        return fail("no shared-memory screen access");

    // Alternating rounds, so both see the same state of the machine.
    for (int r = 0; r < rounds; ++r) {
        const int first = r * keys / rounds;
        const int count = (r + 1) * keys / rounds - first;
        olvi.run(first, count, pauseMs);
        base.run(first, count, pauseMs);
    }
    s.closeAndWait();
    minimal.kill();
    minimal.waitForFinished();

    std::printf("keys %d per program in %d alternating rounds, %d ms apart, scale %g; "
                "olvi: every %d-th key wrong\n",
                keys, rounds, pauseMs, scale, wrongEvery);
    std::printf("load average (1, 5, 15 min): %s before, %s after\n", qPrintable(loadBefore),
                qPrintable(loadAverage()));
    std::printf("%-18s %8s %8s %8s %8s %11s %11s\n", "", "median", "p95", "max", "no change",
                "frames/key", "CPU ms/key");
    for (const Target *t : {&olvi, &base}) {
        std::printf("%-18s %8.2f %8.2f %8.2f %8d %11.1f %11.2f\n", qPrintable(t->name),
                    percentile(t->latencies, 0.5), percentile(t->latencies, 0.95),
                    percentile(t->latencies, 1.0), t->timeouts,
                    double(t->frames) / std::max(1, t->keys), t->cpu / std::max(1, t->keys));
    }
    std::printf("%-18s %8.2f %8.2f %8.2f\n", "ratio olvi/minimal",
                percentile(olvi.latencies, 0.5) / percentile(base.latencies, 0.5),
                percentile(olvi.latencies, 0.95) / percentile(base.latencies, 0.95),
                percentile(olvi.latencies, 1.0) / percentile(base.latencies, 1.0));
    return olvi.latencies.isEmpty() || base.latencies.isEmpty() ? 1 : 0;
}
