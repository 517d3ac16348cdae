// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Inside the app, offscreen with the software renderer: the time from a key
// event to the finished frame, per keystroke and for the last keystroke of
// an exercise (which records it into a profile of the largest size and shows
// the result card), and from choosing the progress tab to its frame, the first
// time and after. Prints min / median / p95 / max in milliseconds.
#include "app_state.h"
#include "large_profile.h"
#include "manuscript.h"
#include "profile_json.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QQmlApplicationEngine>
#include <QQmlEngineExtensionPlugin>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

Q_IMPORT_QML_PLUGIN(OlviPlugin)

namespace {

double percentile(QList<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const auto index = qsizetype(std::ceil(p * double(values.size())) - 1);
    return values.at(std::clamp<qsizetype>(index, 0, values.size() - 1));
}

QQuickItem *findItem(QQuickItem *item, const QString &name)
{
    if (item->objectName() == name)
        return item;
    const auto children = item->childItems();
    for (QQuickItem *child : children) {
        if (QQuickItem *found = findItem(child, name))
            return found;
    }
    return nullptr;
}

void report(const char *what, const QList<double> &ms)
{
    std::printf("%-34s min %6.2f  median %6.2f  p95 %6.2f  max %6.2f  (n=%lld)\n", what,
                percentile(ms, 0.0), percentile(ms, 0.5), percentile(ms, 0.95),
                percentile(ms, 1.0), qlonglong(ms.size()));
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_QPA_UPDATE_IDLE_TIME", "0");
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QGuiApplication app(argc, argv);

    // The largest profile: 400 days, 300 key statistics, a 120 000-character
    // manuscript, typed from its first fragment.
    QTemporaryDir folder;
    ProfileData profile = largeProfile(0);
    profile.manuscript = Manuscript::normalize(*profile.manuscript);
    profile.manuscriptChunk = 0;
    profile.appearance = Appearance::light;
    profile.soundOn = false;
    QDir(folder.path()).mkpath(QStringLiteral("Olvi"));
    QFile file(folder.filePath(QStringLiteral("Olvi/profile.json")));
    if (!file.open(QIODevice::WriteOnly) || file.write(ProfileJson::encode(profile)) < 0)
        return 2;
    file.close();

    AppServices services;
    services.dataFolder = folder.path();
    AppState state(services);
    QQmlApplicationEngine engine;
    engine.setInitialProperties({{QStringLiteral("app"), QVariant::fromValue(&state)}});
    engine.addImportPath(QStringLiteral("qrc:/"));
    engine.load(QUrl(QStringLiteral("qrc:/Olvi/Main.qml")));
    auto *window = engine.rootObjects().isEmpty()
                       ? nullptr
                       : qobject_cast<QQuickWindow *>(engine.rootObjects().first());
    if (!window)
        return 2;

    bool framed = false;
    QObject::connect(window, &QQuickWindow::frameSwapped, [&] { framed = true; });
    const auto waitFrame = [&] {
        while (!framed)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        framed = false;
    };
    const auto press = [&](const QString &ch) {
        QKeyEvent event(QEvent::KeyPress, 0, Qt::NoModifier, ch);
        QGuiApplication::sendEvent(window, &event);
    };

    state.startManuscript();
    framed = false;
    waitFrame();
    // OLVI_BENCH_HIDE=name,name hides items, to see what each costs.
    for (const QByteArray &name : qgetenv("OLVI_BENCH_HIDE").split(',')) {
        if (name.isEmpty())
            continue;
        if (QQuickItem *item = findItem(window->contentItem(), QString::fromUtf8(name)))
            item->setVisible(false);
        else
            std::fprintf(stderr, "no item %s\n", name.constData());
    }
    const QStringList text = state.engine()->text();

    // OLVI_BENCH_PAUSE=ms waits between keys, as a typist does, so that the
    // previous key's animation is over.
    const int pauseMs = qEnvironmentVariableIntValue("OLVI_BENCH_PAUSE");
    const int runs = pauseMs > 0 ? 1 : 20;
    QList<double> keystrokes;
    QList<double> finishes;
    QElapsedTimer clock;
    for (int run = 0; run < runs; ++run) {
        for (qsizetype i = 0; i + 1 < text.size(); ++i) {
            if (pauseMs > 0) {
                QElapsedTimer pause;
                pause.start();
                while (pause.elapsed() < pauseMs)
                    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
            }
            clock.start();
            press(i % 5 == 4 ? QStringLiteral("1") : text.at(i));
            if (i % 5 == 4)
                press(text.at(i)); // a wrong key, then the right one (timed as one)
            waitFrame();
            keystrokes << double(clock.nsecsElapsed()) / 1e6;
        }
        clock.start();
        press(text.last());
        waitFrame();
        finishes << double(clock.nsecsElapsed()) / 1e6;
        if (!state.lastResult())
            return 1;
        state.restartExercise();
        waitFrame();
    }
    report("keystroke to frame, ms", keystrokes);
    report("last keystroke to result card, ms", finishes);

    // The progress tab over that profile, the first time and then after a
    // visit to the course tab, each time after an exercise has changed it.
    QList<double> firstOpening;
    QList<double> openings;
    for (int visit = 0; visit < 21; ++visit) {
        state.setTab(AppState::Tab::Course);
        waitFrame();
        // the profile changes while away, as an exercise's end changes it
        state.store()->update([](ProfileData &d) { ++d.days.last().errors; });
        clock.start();
        state.setTab(AppState::Tab::Progress);
        waitFrame();
        (visit == 0 ? firstOpening : openings) << double(clock.nsecsElapsed()) / 1e6;
    }
    report("progress tab, first opening, ms", firstOpening);
    report("progress tab, later openings, ms", openings);
    return 0;
}
