// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi

Window {
    id: window

    required property AppState app

    title: "Олви"
    width: 1000
    height: 760
    minimumWidth: 900
    minimumHeight: 740
    color: Theme.paper
    visible: true

    RootView {
        anchors.fill: parent
        app: window.app
    }

    Shortcut {
        sequence: StandardKey.Quit
        context: Qt.ApplicationShortcut
        onActivated: Qt.quit()
    }
}
