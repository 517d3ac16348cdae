// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Start-up of the real olvi on a private X server with a fresh profile: the
// time from exec to the first painted window, and the peak resident memory
// (VmHWM) after start and after visiting all four tabs. Median of 5 runs,
// each followed by the same for the minimal Qt Quick window
// (bench/minimal_quick), the floor for the same Qt and renderer.
#include "olvi_session.h"
#include "profile_json.h"
#include "theme_palette.h"
#include "x_region_grabber.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QtEndian>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// Peak resident set of a process, in MB.
double peakRssMb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.at(v.size() / 2);
}

// Whether the one pixel `corner` reads has the colour `rgb`.
bool shows(XRegionGrabber &corner, QRgb rgb)
{
    const QByteArray px = corner.grab(); // 32-bit BGRX
    return px.size() >= 4
           && (qFromLittleEndian<quint32>(px.constData()) & 0xFFFFFF) == (rgb & 0xFFFFFF);
}

// The minimal window's time to its first paint and its peak RSS half a
// second after start; false when it could not be run.
bool minimalRun(double &paintMs, double &rssMb)
{
    XvfbServer server;
    if (!server.start(QStringLiteral("1000x760x24")))
        return false;
    XRegionGrabber corner(server.display(), QRect(10, 10, 1, 1));
    QProcess minimal;
    QProcessEnvironment env = server.environment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    minimal.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    minimal.start(QCoreApplication::applicationDirPath() + QStringLiteral("/minimal_quick"), {});
    while (!shows(corner, qRgb(0xf1, 0xf2, 0xee)) && clock.elapsed() < 20000)
        QThread::usleep(1000);
    paintMs = double(clock.nsecsElapsed()) / 1e6;
    QThread::msleep(500);
    rssMb = peakRssMb(minimal.processId());
    minimal.kill();
    minimal.waitForFinished();
    return clock.elapsed() < 20000;
}


// Two weeks of practice, so that the progress tab draws its chart and heat map.
QByteArray twoWeeksProfile()
{
    ProfileData p;
    const QDate today = QDate::currentDate();
    for (int i = 13; i >= 0; --i)
        p.days.append(DayStat{dayKeyForDate(today.addDays(-i)), 900, 20, 400.0, 120.0 + i});
    for (const QString &ch : {QStringLiteral("ж"), QStringLiteral("а"), QStringLiteral("о")})
        p.keyStats.insert(ch, KeyStat{40, 6, 0.2, 0.3});
    return ProfileJson::encode(p);
}

QString loadAverage()
{
    QFile f(QStringLiteral("/proc/loadavg"));
    return f.open(QIODevice::ReadOnly)
               ? u"load average "_s + QString::fromLatin1(f.readAll()).section(u' ', 0, 2)
               : QString();
}

// One build's figures over the runs.
struct Figures
{
    QList<double> paint, rssStart, rssTabs;
};

// Starts `binary` (empty: this build's) on a new X server and data folder:
// its first paint, its peak memory after start and after all four tabs.
bool runOlvi(const QString &binary, bool practised, Figures &f)
{
    OlviSession s; // a new X server and a new data folder
    if (!s.start()) {
        std::fprintf(stderr, "startup: no X server: %s\n", qPrintable(s.error()));
        return false;
    }
    s.binary = binary;
    if (practised)
        s.writeProfile(twoWeeksProfile());
    XRegionGrabber corner(s.server.display(), QRect(10, 10, 1, 1));
    const QRgb bar = ThemePalette::light().bar.rgb();
    QElapsedTimer clock;
    clock.start();
    s.launch();
    // Poll the header's corner every millisecond until it has its colour.
    while (!shows(corner, bar) && clock.elapsed() < 20000)
        QThread::usleep(1000);
    f.paint << double(clock.nsecsElapsed()) / 1e6;
    QThread::msleep(500); // whatever start-up finishes after the first frame
    f.rssStart << peakRssMb(s.pid());

    if (!OlviSession::waitFor([&] { return s.painted(); }, 10000)) {
        std::fprintf(stderr, "startup: the window did not appear\n");
        return false;
    }
    for (int tab : {1, 2, 3, 0}) {
        s.user->click(OlviSession::tab(tab));
        QThread::msleep(700); // let the screen load and draw (it is built on its first visit)
    }
    f.rssTabs << peakRssMb(s.pid());
    s.closeAndWait();
    return true;
}

void print(const char *name, const Figures &f)
{
    std::printf("%s: first painted window, ms (median of 5): %.0f   [", name, median(f.paint));
    for (double p : f.paint)
        std::printf(" %.0f", p);
    std::printf(" ]\n  peak RSS after start, MB: %.1f\n  peak RSS after all four tabs, MB: %.1f\n",
                median(f.rssStart), median(f.rssTabs));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // --practised: start on a profile with two weeks of records instead of a
    // fresh one (the progress tab then draws its chart). --compare PATH: run
    // another build in turn with this one, the code before a change.
    const QStringList args = app.arguments();
    const bool practised = args.contains(QStringLiteral("--practised"));
    const qsizetype at = args.indexOf(QStringLiteral("--compare"));
    const QString other = at > 0 ? args.value(at + 1) : QString();
    Figures olvi, before;
    QList<double> minimalPaint, minimalRss;
    for (int run = 0; run < 5; ++run) {
        if (!runOlvi({}, practised, olvi) || (!other.isEmpty() && !runOlvi(other, practised, before)))
            return 2;
        double ms = 0;
        double mb = 0;
        if (!minimalRun(ms, mb)) {
            std::fprintf(stderr, "startup: the minimal window did not paint\n");
            return 2;
        }
        minimalPaint << ms;
        minimalRss << mb;
    }
    std::printf("%s profile, %s\n", practised ? "practised" : "fresh", qPrintable(loadAverage()));
    print("olvi", olvi);
    if (!other.isEmpty())
        print(qPrintable(other), before);
    std::printf("minimal Qt Quick window: first paint %.0f ms, peak RSS %.1f MB\n"
                "olvi / minimal: first paint %.2fx, peak RSS after start %.2fx\n",
                median(minimalPaint), median(minimalRss), median(olvi.paint) / median(minimalPaint),
                median(olvi.rssStart) / median(minimalRss));
    return 0;
}
