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
#include "theme.h"

#include <QApplication>
#include <QQmlEngineExtensionPlugin>
#include <QQuickWindow>
#include <QQmlApplicationEngine>
#include <QTimer>
#include <QUrl>

#include <memory>

Q_IMPORT_QML_PLUGIN(OlviPlugin)

int main(int argc, char *argv[])
{
    // Olvi draws flat text and rounded rectangles. The software renderer puts
    // a keystroke's few changed rectangles on screen at once, while OpenGL
    // waits for the display's refresh (and, with a software rasteriser, is
    // several times slower to start and to repaint, and bigger). Measured in
    // the README. QT_QUICK_BACKEND still overrides.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    // Qt holds a requested repaint back by 5 ms to gather more changes into
    // one frame. A keystroke is one change and the user waits for it: draw it
    // on the next turn of the event loop.
    if (qEnvironmentVariableIsEmpty("QT_QPA_UPDATE_IDLE_TIME"))
        qputenv("QT_QPA_UPDATE_IDLE_TIME", "0");

    // A QApplication (not a QGuiApplication): the progress chart draws with
    // widgets, and the alert falls back to the widget bell.
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Olvi"));
    QApplication::setApplicationDisplayName(QStringLiteral("Олви"));
    QApplication::setDesktopFileName(QStringLiteral("org.olvi.Olvi"));

    // A second Olvi would overwrite the first one's progress: show the
    // running one's window instead.
    SingleInstance instance;
    if (!instance.claim()) {
        auto reply = instance.activateRunning();
        reply.waitForFinished();
        return 0;
    }

    installQtRussian(app);
    const std::unique_ptr<InputSourceProvider> layouts =
        systemInputSources(QDBusConnection::sessionBus(), QGuiApplication::platformName());
    CanberraAlertSound sound;
    PortalFileChooser files(QDBusConnection::sessionBus());
    QtSpeechOutput speech; // looks for an engine only once speech is wanted

    AppServices services;
    services.inputSources = layouts.get();
    services.alertSound = &sound;
    services.fileChooser = &files;
    services.speech = &speech;
    AppState state(services);

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
    return QApplication::exec();
}
