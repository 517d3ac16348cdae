// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_state.h"
#include "canberra_alert_sound.h"
#include "portal_file_chooser.h"
#include "qt_russian.h"
#include "qt_speech_output.h"
#include "single_instance.h"
#include "system_color_scheme.h"
#include "system_input_sources.h"
#include "termination_signals.h"
#include "theme.h"
#include "transfer_view_model.h"

#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <QQmlEngineExtensionPlugin>
#include <QQuickWindow>
#include <QQmlApplicationEngine>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

Q_IMPORT_QML_PLUGIN(OlviPlugin)

namespace {

// Said, in the learner's language and in English, instead of Qt's advice to
// reinstall when there is no display server to show the window on.
constexpr char noGraphicalSession[] =
    "Олви работает только в графическом сеансе (Wayland или X11). "
    "Olvi needs a graphical session (Wayland or X11).\n";

// Whether anything names a display server or a Qt platform for Qt to try.
bool sessionNamed(int argc, char *argv[])
{
    for (const char *variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!qEnvironmentVariableIsEmpty(variable))
            return true;
    }
    const QByteArray session = qgetenv("XDG_SESSION_TYPE");
    if (session == "wayland" || session == "x11")
        return true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strncmp(argv[i], "-platform=", 10) == 0)
            return true;
    }
    return false;
}

QtMessageHandler s_qtMessages = nullptr;

// While Qt starts, a fatal message can only be its platform failing: a
// display named but not reachable. Qt's own lines before it say which.
void platformMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg) {
        s_qtMessages(type, context, message);
        return;
    }
    std::fputs(noGraphicalSession, stderr);
    std::_Exit(EXIT_FAILURE);
}

} // namespace

int main(int argc, char *argv[])
{
    if (!sessionNamed(argc, argv)) {
        std::fputs(noGraphicalSession, stderr);
        return EXIT_FAILURE;
    }

    // Olvi draws flat text and rounded rectangles. The software renderer puts
    // a keystroke's few changed rectangles on screen at once, while OpenGL
    // waits for the display's refresh (and, with a software rasteriser, is
    // several times slower to start and to repaint, and bigger). Measured in
    // docs/benchmarks.md. QT_QUICK_BACKEND still overrides.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    // Qt holds a requested repaint back by 5 ms to gather more changes into
    // one frame. A keystroke is one change and the user waits for it: draw it
    // on the next turn of the event loop.
    if (qEnvironmentVariableIsEmpty("QT_QPA_UPDATE_IDLE_TIME"))
        qputenv("QT_QPA_UPDATE_IDLE_TIME", "0");

    // The window's class on X11 names the launcher entry, as its app id does on
    // Wayland (the desktop file name): docks and task switchers find the
    // entry, and with it the icon. The instance name too, unless the user set one.
    if (qEnvironmentVariableIsEmpty("RESOURCE_NAME"))
        qputenv("RESOURCE_NAME", "org.olvi.Olvi");
    s_qtMessages = qInstallMessageHandler(platformMessages);
    // A QGuiApplication: nothing here draws with widgets (the chart is a
    // painted Quick item, the fallback bell is the display's own), and
    // loading the widgets library would cost a few megabytes at start.
    QGuiApplication app(argc, argv);
    qInstallMessageHandler(s_qtMessages);
    QGuiApplication::setApplicationName(QStringLiteral("org.olvi.Olvi"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Олви"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.olvi.Olvi"));
    // The launcher's icon on the window too (X11 shows the window's own). Read
    // as PNG and nothing else: guessing the format would load every image
    // plugin Qt has, SVG's among them.
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128}) {
        QImageReader png(QStringLiteral(":/icons/org.olvi.Olvi-%1.png").arg(size), "png");
        png.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(png.read()));
    }
    QGuiApplication::setWindowIcon(icon);

    // A second Olvi would overwrite the first one's progress: show the
    // running one's window instead.
    SingleInstance instance;
    if (!instance.claim()) {
        auto reply = instance.activateRunning();
        reply.waitForFinished();
        return 0;
    }

    installQtRussian(app);
    SystemInputSources layouts(QDBusConnection::sessionBus(), QGuiApplication::platformName());
    CanberraAlertSound sound;
    PortalFileChooser files(QDBusConnection::sessionBus());
    QtSpeechOutput speech; // looks for an engine only once speech is wanted

    AppServices services;
    services.inputSources = &layouts;
    services.alertSound = &sound;
    services.fileChooser = &files;
    services.speech = &speech;
    services.fileWording = &TransferViewModel::dialogWording;
    AppState state(services);

    // A logout, a kill or Ctrl+C ends Olvi as closing its window does, and
    // either way the learner gets back the layout Olvi replaced with Russian:
    // the next program must not type Cyrillic.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &app, &QCoreApplication::quit);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &state,
                     [&state] { state.restoreLearnerLayout(); });

    SystemColorScheme scheme;
    Theme *theme = Theme::instance();
    theme->setSystemDark(scheme.dark());
    QObject::connect(&scheme, &SystemColorScheme::darkChanged, theme,
                     [&scheme, theme] { theme->setSystemDark(scheme.dark()); });

    QQmlApplicationEngine engine;
    QObject::connect(&engine, &QQmlApplicationEngine::objectCreationFailed, &app,
                     [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
    engine.setInitialProperties({{QStringLiteral("app"), QVariant::fromValue(&state)}});
    // The module lives in the resources, under qrc:/Olvi.
    engine.addImportPath(QStringLiteral("qrc:/"));
    engine.load(QUrl(QStringLiteral("qrc:/Olvi/Main.qml")));
    // The window has taken its X11 class from the name above; a screen reader
    // knows the application by its name, so from now on that is the one the
    // learner reads in the title.
    QGuiApplication::setApplicationName(QStringLiteral("Олви"));
    QObject::connect(&instance, &SingleInstance::activated, &engine,
                     [&engine](const QString &token) {
                         if (engine.rootObjects().isEmpty())
                             return;
                         auto *window = qobject_cast<QWindow *>(engine.rootObjects().first());
                         if (!window)
                             return;
                         // Wayland lets a window take the focus only with the
                         // launcher's token, which Qt reads from here.
                         if (!token.isEmpty())
                             qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
                         window->showNormal();
                         window->raise();
                         window->requestActivate();
                     });

    // The sound server is reached once the window is up, not on the first
    // wrong key.
    QTimer::singleShot(0, &app, [&sound] { sound.prepare(); });
    return QGuiApplication::exec();
}
