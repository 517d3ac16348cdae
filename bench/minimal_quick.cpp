// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The floor a Qt Quick app can reach: one window, one Text that shows the
// last keys typed, drawn by the same Qt, renderer and repaint setting as
// olvi. keylat measures it beside olvi in the same run.
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>

int main(int argc, char *argv[])
{
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    qputenv("QT_QPA_UPDATE_IDLE_TIME", "0");
    QGuiApplication app(argc, argv);
    QQmlApplicationEngine engine;
    // The text sits where olvi's first exercise line does.
    engine.loadData(R"(
        import QtQuick
        Window {
            title: "minimal"
            width: 1000
            height: 760
            visible: true
            color: "#f1f2ee"
            Text {
                id: typed
                x: 150
                y: 96
                font.family: "DejaVu Sans Mono"
                font.pixelSize: 24
                color: "#1c2424"
            }
            Item {
                focus: true
                Keys.onPressed: event => typed.text = (typed.text + event.text).slice(-40)
            }
        }
    )");
    return engine.rootObjects().isEmpty() ? 1 : QGuiApplication::exec();
}
