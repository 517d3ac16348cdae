// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Keystroke-to-pixel latency of the training screen, against a baseline, in
// one run: at scale factors 1 and 2, with 150 ms and 15 ms between keys. For
// each combination the real olvi, olvi with its fades switched off (so that
// what the animation costs shows beside the totals) and a minimal Qt Quick
// window (bench/minimal_quick: the same Qt, renderer and repaint setting) run
// side by side, each on a private X server, in alternating rounds. A key is
// pressed through XTest and a thin strip of the screen is polled over shared
// memory, with a short sleep between polls so the probe leaves the cores to
// the app, until a pixel changes. Reported per program: the latency's median,
// p95 and max, the frames a key makes Qt render (its scene-graph timing log),
// the CPU time a key costs the app and the X server (/proc), the ratios to the
// minimal window, and the machine's load before and after.
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
    if (pid <= 0 || !f.open(QIODevice::ReadOnly))
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

QRect scaled(QRect r, double scale)
{
    return QRect(qRound(r.x() * scale), qRound(r.y() * scale), qRound(r.width() * scale),
                 qRound(r.height() * scale));
}

// One program under the probe: olvi (as built, another build, or a
// variant), or the minimal window.
struct Program
{
    QString name;
    QString error;
    // olvi
    std::unique_ptr<OlviSession> session;
    QString fragment;
    qsizetype next = 0;
    // the minimal window
    std::unique_ptr<XvfbServer> server;
    std::unique_ptr<QProcess> minimal;
    std::unique_ptr<XTestKeyboard> baseUser;

    QProcess *process = nullptr;
    XTestKeyboard *user = nullptr;
    qint64 xPid = 0;
    std::vector<std::unique_ptr<XRegionGrabber>> strips;
    std::function<QString(int)> keyFor; // the character the k-th key types

    FrameCounter log;
    QList<double> latencies;
    int timeouts = 0;
    int frames = 0;
    double cpu = 0.0;
    double xCpu = 0.0;
    int keys = 0;

    // Starts olvi typing its first manuscript fragment: every `wrongEvery`-th key wrong.
    bool startOlvi(double scale, const QString &binary, const QProcessEnvironment &extra,
                   bool speech, int wrongEvery)
    {
        session = std::make_unique<OlviSession>();
        OlviSession &s = *session;
        if (!s.start(scale))
            return fail("no X server for olvi");
        QProcessEnvironment env = extra;
        env.insert(QStringLiteral("QT_LOGGING_RULES"), QString::fromLatin1(frameLog));
        s.extraEnvironment = env;
        s.keepErrors = true;
        s.binary = binary;
        ProfileData profile;
        profile.appearance = Appearance::light;
        profile.manuscript = Manuscript::normalize(text);
        profile.speechOn = speech;
        s.writeProfile(ProfileJson::encode(profile));
        fragment = Manuscript::chunks(*profile.manuscript).first();
        if (!s.launchAndWait(20000))
            return fail("the olvi window did not appear");
        // The manuscript tab, its continue button, and Return: by keyboard, so
        // the same steps work at any scale.
        s.user->pressChord("Control_L", "3");
        QThread::msleep(500);
        for (int i = 0; i < 6; ++i)
            s.user->press("Tab");
        s.user->press("Return");
        if (!OlviSession::waitFor(
                [&] { return s.user->lockedGroup() == OlviSession::russianGroup; }, 10000))
            return fail("the manuscript exercise did not start");
        QThread::msleep(300);
        process = &s.olvi;
        user = s.user.get();
        xPid = s.server.pid();
        // A strip through the first text line (the caret moves along it on a
        // right key) and one through the accuracy figure (a wrong key changes it).
        strips.push_back(std::make_unique<XRegionGrabber>(s.server.display(),
                                                          scaled(QRect(100, 110, 800, 4), scale)));
        strips.push_back(std::make_unique<XRegionGrabber>(
            s.server.display(), scaled(QRect(280, 722, 220, 10), scale)));
        keyFor = [this, wrongEvery](int k) {
            const bool wrong = k % wrongEvery == wrongEvery - 1;
            const QString expected = fragment.mid(next, 1);
            if (!wrong) {
                next = (next + 1) % (fragment.size() - 1); // the last key would end it
                return expected;
            }
            return expected == u"щ" ? QStringLiteral("ш") : QStringLiteral("щ");
        };
        return strips.front()->isReady() || fail("no shared-memory screen access");
    }

    // Starts the minimal window, typing Latin letters.
    bool startMinimal(double scale)
    {
        server = std::make_unique<XvfbServer>();
        if (!server->start(
                QStringLiteral("%1x%2x24").arg(qRound(1000 * scale)).arg(qRound(760 * scale))))
            return fail("no X server for the minimal window");
        minimal = std::make_unique<QProcess>();
        QProcessEnvironment env = server->environment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.insert(QStringLiteral("QT_LOGGING_RULES"), QString::fromLatin1(frameLog));
        if (scale != 1.0)
            env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::number(scale));
        minimal->setProcessEnvironment(env);
        minimal->start(QCoreApplication::applicationDirPath() + QStringLiteral("/minimal_quick"),
                       {});
        if (!minimal->waitForStarted())
            return fail("bench/minimal_quick did not start");
        baseUser = std::make_unique<XTestKeyboard>(server->display());
        if (!OlviSession::waitFor([&] { return baseUser->focus(QStringLiteral("minimal")); },
                                  10000))
            return fail("the minimal window did not appear");
        QThread::msleep(500);
        process = minimal.get();
        user = baseUser.get();
        xPid = server->pid();
        strips.push_back(std::make_unique<XRegionGrabber>(server->display(),
                                                          scaled(QRect(100, 110, 800, 4), scale)));
        // The same second strip as olvi's, though nothing changes there: the
        // probe then asks as much of each X server, and the two wait alike.
        strips.push_back(std::make_unique<XRegionGrabber>(
            server->display(), scaled(QRect(280, 722, 220, 10), scale)));
        keyFor = [](int k) { return QString(QChar(u'a' + k % 26)); };
        return strips.front()->isReady() || fail("no shared-memory screen access");
    }

    bool fail(const char *what)
    {
        error = QString::fromUtf8(what);
        return false;
    }

    void stop()
    {
        if (session)
            session->closeAndWait();
        if (minimal) {
            minimal->kill();
            minimal->waitForFinished();
        }
    }

    // Presses `count` keys starting with key number `first`.
    void run(int first, int count, int pauseMs)
    {
        log.drain(*process); // forget what came before
        const double cpuBefore = cpuMs(process->processId());
        const double xBefore = cpuMs(xPid);
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
        xCpu += cpuMs(xPid) - xBefore;
        keys += count;
    }

    [[nodiscard]] double median() const { return percentile(latencies, 0.5); }
    [[nodiscard]] double p95() const { return percentile(latencies, 0.95); }
    [[nodiscard]] double max() const { return percentile(latencies, 1.0); }
    [[nodiscard]] double cpuPerKey() const { return cpu / std::max(1, keys); }
    [[nodiscard]] double xCpuPerKey() const { return xCpu / std::max(1, keys); }
    [[nodiscard]] double framesPerKey() const { return double(frames) / std::max(1, keys); }
    [[nodiscard]] int over8ms() const
    {
        return int(std::count_if(latencies.cbegin(), latencies.cend(),
                                 [](double ms) { return ms > 8.0; }))
               + timeouts;
    }
};

struct Variant
{
    QString name;
    QString binary; // empty: this build
    QProcessEnvironment environment;
    bool speech = false; // "Озвучивание" on, through the system's speech engine
};

struct Options
{
    int keys = 200;
    int rounds = 4;
    int wrongEvery = 4;
    QList<Variant> variants;
};

// The markdown rows of every combination, printed together at the end.
QStringList summary;

bool runCombination(double scale, int pauseMs, const Options &o)
{
    std::printf("\n== scale %g, %d ms between keys: %d keys per program in %d alternating "
                "rounds; olvi: every %d-th key wrong\n",
                scale, pauseMs, o.keys, o.rounds, o.wrongEvery);
    std::vector<std::unique_ptr<Program>> programs;
    for (const Variant &v : o.variants) {
        auto p = std::make_unique<Program>();
        p->name = v.name;
        if (!p->startOlvi(scale, v.binary, v.environment, v.speech, o.wrongEvery)) {
            std::fprintf(stderr, "keylat: %s: %s\n", qPrintable(v.name), qPrintable(p->error));
            return false;
        }
        programs.push_back(std::move(p));
    }
    auto base = std::make_unique<Program>();
    base->name = QStringLiteral("minimal Qt Quick");
    if (!base->startMinimal(scale)) {
        std::fprintf(stderr, "keylat: %s\n", qPrintable(base->error));
        return false;
    }
    programs.push_back(std::move(base));
    const Program &minimal = *programs.back();

    const QString loadBefore = loadAverage();
    // Alternating rounds, so that all see the same state of the machine.
    for (int r = 0; r < o.rounds; ++r) {
        const int first = r * o.keys / o.rounds;
        const int count = (r + 1) * o.keys / o.rounds - first;
        for (auto &p : programs)
            p->run(first, count, pauseMs);
    }
    const QString loadAfter = loadAverage();
    for (auto &p : programs)
        p->stop();

    std::printf("load average (1, 5, 15 min): %s before, %s after\n", qPrintable(loadBefore),
                qPrintable(loadAfter));
    std::printf("%-22s %7s %7s %7s %5s %8s %8s %8s %9s\n", "", "median", "p95", "max", ">8ms",
                "frames/k", "CPU ms/k", "X ms/k", "core %400");
    for (const auto &p : programs) {
        // At 400 characters a minute a key comes every 150 ms.
        std::printf("%-22s %7.2f %7.2f %7.2f %5d %8.1f %8.2f %8.2f %9.1f\n", qPrintable(p->name),
                    p->median(), p->p95(), p->max(), p->over8ms(), p->framesPerKey(),
                    p->cpuPerKey(), p->xCpuPerKey(), p->cpuPerKey() / 150.0 * 100.0);
    }
    for (const auto &p : programs) {
        if (p.get() == &minimal)
            continue;
        std::printf("%-22s %6.2fx %6.2fx %7s %5s %8s %7.2fx\n",
                    qPrintable(p->name + QStringLiteral(" / min.")), p->median() / minimal.median(),
                    p->p95() / minimal.p95(), "", "", "", p->cpuPerKey() / minimal.cpuPerKey());
        summary << QStringLiteral("| %1, %2 ms | %3 | %4 ms (%5×) | %6 ms (%7×) | %8 ms | %9 | "
                                  "%10 ms (%11×) | %12 ms |")
                       .arg(scale)
                       .arg(pauseMs)
                       .arg(p->name)
                       .arg(p->median(), 0, 'f', 2)
                       .arg(p->median() / minimal.median(), 0, 'f', 2)
                       .arg(p->p95(), 0, 'f', 2)
                       .arg(p->p95() / minimal.p95(), 0, 'f', 2)
                       .arg(p->max(), 0, 'f', 1)
                       .arg(p->framesPerKey(), 0, 'f', 1)
                       .arg(p->cpuPerKey(), 0, 'f', 2)
                       .arg(p->cpuPerKey() / minimal.cpuPerKey(), 0, 'f', 1)
                       .arg(p->xCpuPerKey(), 0, 'f', 2);
    }
    summary << QStringLiteral("| %1, %2 ms | minimal | %3 ms | %4 ms | %5 ms | %6 | %7 ms | %8 ms |")
                   .arg(scale)
                   .arg(pauseMs)
                   .arg(minimal.median(), 0, 'f', 2)
                   .arg(minimal.p95(), 0, 'f', 2)
                   .arg(minimal.max(), 0, 'f', 1)
                   .arg(minimal.framesPerKey(), 0, 'f', 1)
                   .arg(minimal.cpuPerKey(), 0, 'f', 2)
                   .arg(minimal.xCpuPerKey(), 0, 'f', 2);
    summary << QStringLiteral("| | load average %1 → %2 | | | | | | |")
                   .arg(loadBefore.section(u' ', 0, 0), loadAfter.section(u' ', 0, 0));
    return std::all_of(programs.cbegin(), programs.cend(),
                       [](const auto &p) { return !p->latencies.isEmpty(); });
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral(
        "Keystroke-to-pixel latency of olvi against a minimal Qt Quick window, at scale 1 and "
        "2, with 150 ms and 15 ms between keys, in one interleaved run"));
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
                       QStringLiteral("Only this many milliseconds between keys (150: about 400 "
                                      "characters a minute; 15: a fast burst). Default: both."),
                       QStringLiteral("ms")});
    options.addOption({QStringLiteral("scale"),
                       QStringLiteral("Only this scale factor (1; 2 for HiDPI). Default: both."),
                       QStringLiteral("f")});
    options.addOption({QStringLiteral("variant"),
                       QStringLiteral("Runs an olvi variant beside olvi: \"fades-off\" (the "
                                      "default), \"speech\" (reading aloud on), \"none\"."),
                       QStringLiteral("name")});
    options.addOption({QStringLiteral("compare"),
                       QStringLiteral("Runs another olvi binary beside this build's too (the "
                                      "code before a change)."),
                       QStringLiteral("path")});
    options.process(app);

    Options o;
    o.keys = std::max(1, options.value(QStringLiteral("keys")).toInt());
    o.rounds = std::clamp(options.value(QStringLiteral("rounds")).toInt(), 1, o.keys);
    o.wrongEvery = std::max(2, options.value(QStringLiteral("wrong-every")).toInt());
    o.variants << Variant{QStringLiteral("olvi"), {}, {}};
    for (const QString &path : options.values(QStringLiteral("compare")))
        o.variants << Variant{QStringLiteral("olvi ") + path.section(u'/', -1), path, {}};
    const QStringList variants = options.isSet(QStringLiteral("variant"))
                                     ? options.values(QStringLiteral("variant"))
                                     : QStringList{QStringLiteral("fades-off")};
    for (const QString &v : variants) {
        Variant variant{QStringLiteral("olvi, ") + v, {}, {}};
        if (v == u"fades-off") {
            // The switch olvi reads for benchmarks: every fade ends at once.
            variant.environment.insert(QStringLiteral("OLVI_FADES"), QStringLiteral("off"));
        } else if (v == u"speech") {
            variant.speech = true;
        } else if (v == u"none") {
            continue;
        } else {
            std::fprintf(stderr, "keylat: no variant %s\n", qPrintable(v));
            return 2;
        }
        o.variants << variant;
    }
    QList<double> scales{1.0, 2.0};
    if (options.isSet(QStringLiteral("scale")))
        scales = {std::max(1.0, options.value(QStringLiteral("scale")).toDouble())};
    QList<int> pauses{150, 15};
    if (options.isSet(QStringLiteral("pause")))
        pauses = {std::max(0, options.value(QStringLiteral("pause")).toInt())};

    bool ok = true;
    for (const double scale : scales) {
        for (const int pause : pauses)
            ok = runCombination(scale, pause, o) && ok;
    }
    std::printf("\n| scale, pause | program | median | p95 | max | frames/key | CPU/key | "
                "X server CPU/key |\n|---|---|---|---|---|---|---|---|\n");
    for (const QString &row : std::as_const(summary))
        std::printf("%s\n", qPrintable(row));
    return ok ? 0 : 1;
}
