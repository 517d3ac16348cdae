// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Start-up of the real olvi on a private X server with a fresh profile: the
// time from exec to the first painted window, and the peak resident memory
// (VmHWM) after start and after visiting all four tabs. Median of 5 runs.
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

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // --practised: start on a profile with two weeks of records instead of a
    // fresh one (the progress tab then loads its chart).
    const bool practised = app.arguments().contains(QStringLiteral("--practised"));
    QList<double> paint, rssStart, rssTabs;
    for (int run = 0; run < 5; ++run) {
        OlviSession s; // a new X server and a new data folder
        if (!s.start()) {
            std::fprintf(stderr, "startup: no X server: %s\n", qPrintable(s.error()));
            return 2;
        }
        if (practised)
            s.writeProfile(twoWeeksProfile());
        XRegionGrabber corner(s.server.display(), QRect(10, 10, 1, 1));
        const QRgb bar = ThemePalette::light().bar.rgb() & 0xFFFFFF;
        const auto headerDrawn = [&] {
            const QByteArray px = corner.grab(); // one pixel, 32-bit BGRX
            return px.size() >= 4
                   && (qFromLittleEndian<quint32>(px.constData()) & 0xFFFFFF) == bar;
        };
        QElapsedTimer clock;
        clock.start();
        s.launch();
        // Poll the header's corner every millisecond until it has its colour.
        while (!headerDrawn() && clock.elapsed() < 20000)
            QThread::usleep(1000);
        paint << double(clock.nsecsElapsed()) / 1e6;
        QThread::msleep(500); // whatever start-up finishes after the first frame
        rssStart << peakRssMb(s.pid());

        if (!OlviSession::waitFor([&] { return s.painted(); }, 10000)) {
            std::fprintf(stderr, "startup: the window did not appear\n");
            return 2;
        }
        for (int tab : {1, 2, 3, 0}) {
            s.user->click(OlviSession::tab(tab));
            QThread::msleep(700); // let the screen load and draw (the chart is loaded lazily)
        }
        rssTabs << peakRssMb(s.pid());
        s.closeAndWait();
    }
    std::printf("%s profile\n", practised ? "practised" : "fresh");
    std::printf("first painted window, ms (median of 5): %.0f   [", median(paint));
    for (double p : paint)
        std::printf(" %.0f", p);
    std::printf(" ]\npeak RSS after start, MB: %.1f\npeak RSS after all four tabs, MB: %.1f\n",
                median(rssStart), median(rssTabs));
    return 0;
}
