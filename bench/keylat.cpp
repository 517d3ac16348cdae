// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Keystroke-to-pixel latency of the training screen: the real olvi on a
// private X server, a key pressed through XTest, and the screen polled until
// a pixel of the exercise (its text, or the status bar for a wrong key)
// changes. Prints min / median / p95 / max over the keys.
#include "manuscript.h"
#include "olvi_session.h"
#include "profile_json.h"
#include "x_region_grabber.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cstdio>

namespace {

double percentile(QList<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const auto index = qsizetype(std::min<double>(double(values.size() - 1),
                                                  std::ceil(p * double(values.size())) - 1));
    return values.at(std::max<qsizetype>(index, 0));
}

const QString text = QStringLiteral(
    "жили были дед да баба и была у них курочка ряба снесла курочка яичко да не простое "
    "а золотое дед бил бил не разбил баба била била не разбила мышка бежала хвостиком "
    "махнула яичко упало и разбилось");

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Keystroke-to-pixel latency of olvi"));
    options.addHelpOption();
    options.addOption({QStringLiteral("keys"), QStringLiteral("Keys to press (200)."),
                       QStringLiteral("n"), QStringLiteral("200")});
    options.addOption({QStringLiteral("wrong-every"),
                       QStringLiteral("Every n-th key is wrong (4)."), QStringLiteral("n"),
                       QStringLiteral("4")});
    options.addOption({QStringLiteral("pause"),
                       QStringLiteral("Milliseconds between keys (150: about 400 characters a "
                                      "minute, a brisk typist)."),
                       QStringLiteral("ms"), QStringLiteral("150")});
    options.process(app);
    const int keys = options.value(QStringLiteral("keys")).toInt();
    const int wrongEvery = std::max(2, options.value(QStringLiteral("wrong-every")).toInt());
    const int pauseMs = std::max(0, options.value(QStringLiteral("pause")).toInt());

    OlviSession s;
    if (!s.start()) {
        std::fprintf(stderr, "keylat: no X server: %s\n", qPrintable(s.error()));
        return 2;
    }
    ProfileData profile;
    profile.appearance = Appearance::light;
    profile.manuscript = Manuscript::normalize(text);
    s.writeProfile(ProfileJson::encode(profile));
    const QString fragment = Manuscript::chunks(*profile.manuscript).first();
    if (fragment.size() <= keys - keys / wrongEvery) {
        std::fprintf(stderr, "keylat: the fragment is too short for %d keys\n", keys);
        return 2;
    }

    const auto fail = [&](const char *what) {
        std::fprintf(stderr, "keylat: %s\n", what);
        return 2;
    };
    if (!s.launchAndWait(20000))
        return fail("the window did not appear");
    if (!s.continueManuscript())
        return fail("the manuscript exercise did not start");
    QThread::msleep(300); // let the first frame of the exercise settle

    // A thin strip through the first text line (the caret moves along it on
    // a right key) and one through the accuracy figure (it changes on a wrong
    // key): a few kilobytes a poll, so polling leaves the X server to the app.
    XRegionGrabber textArea(s.server.display(), QRect(100, 110, 800, 4));
    XRegionGrabber statusBar(s.server.display(), QRect(280, 722, 220, 10));
    if (!textArea.isReady() || !statusBar.isReady()) {
        std::fprintf(stderr, "keylat: no shared-memory screen access\n");
        return 2;
    }

    QList<double> latencies;
    int timeouts = 0;
    qsizetype next = 0;
    for (int k = 0; k < keys; ++k) {
        const bool wrong = k % wrongEvery == wrongEvery - 1;
        const QString expected = fragment.mid(next, 1);
        const QString key = wrong ? (expected == u"щ" ? QStringLiteral("ш") : QStringLiteral("щ"))
                                  : expected;
        const auto physical = s.user->find(key);
        if (!physical) {
            std::fprintf(stderr, "keylat: no key types %s\n", qPrintable(key));
            return 2;
        }
        const QByteArray textBefore = textArea.grab();
        const QByteArray statusBefore = statusBar.grab();
        QElapsedTimer clock;
        clock.start();
        s.user->strike(*physical);
        bool changed = false;
        while (!changed && clock.nsecsElapsed() < 1000000000)
            changed = textArea.grab() != textBefore || statusBar.grab() != statusBefore;
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        if (changed)
            latencies << ms;
        else
            ++timeouts;
        if (!wrong)
            ++next;
        QThread::msleep(pauseMs); // a typist's pause between keys
    }
    s.closeAndWait();

    if (latencies.isEmpty()) {
        std::fprintf(stderr, "keylat: no key changed the screen\n");
        return 1;
    }
    std::printf("keys %lld (every %d-th wrong), no change within 1 s: %d\n",
                qlonglong(latencies.size() + timeouts), wrongEvery, timeouts);
    std::printf("keystroke to pixel, ms: min %.2f  median %.2f  p95 %.2f  max %.2f\n",
                percentile(latencies, 0.0), percentile(latencies, 0.5),
                percentile(latencies, 0.95), percentile(latencies, 1.0));
    return 0;
}
