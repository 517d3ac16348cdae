// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi
import QtQuick.Layouts

// The window's content: header with tabs, a rule, and the current tab's screen.
Rectangle {
    id: root

    required property AppState app

    color: Theme.paper
    implicitWidth: 1000
    implicitHeight: 760

    RootViewModel {
        id: model
        app: root.app
    }

    Component.onCompleted: model.applyAppearance()

    // What happens in an exercise, told to a screen reader and, when on, aloud.
    Narrator {
        id: narrator
        app: root.app
        onAnnounced: text => announcer.announce(text)
    }
    Announcer {
        id: announcer
        objectName: "announcer"
        Accessible.role: Accessible.Notification
    }
    // The rest of the word, letter by letter: a chord, so never typed.
    Shortcut {
        sequence: "Ctrl+Space"
        context: Qt.ApplicationShortcut
        enabled: root.app.tab === AppState.Training
        onActivated: narrator.spellRest()
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        Rectangle {
            objectName: "header"
            Layout.fillWidth: true
            Layout.preferredHeight: 46
            color: Theme.bar

            TabBar {
                id: tabs
                objectName: "tabs"
                anchors.centerIn: parent
                currentIndex: root.app.tab

                Repeater {
                    model: model.tabTitles
                    TabButton {
                        required property int index
                        required property string modelData
                        objectName: "tab" + index
                        text: modelData
                        onClicked: model.switchTo(index)
                    }
                }
            }

            // Why progress is not being saved, when it is not: a quiet note of
            // up to two lines, never a dialog.
            Text {
                id: storageNote
                objectName: "storageNote"
                anchors.left: parent.left
                anchors.leftMargin: 16
                anchors.verticalCenter: parent.verticalCenter
                width: (parent.width - tabs.width) / 2 - 32
                visible: text !== ""
                text: model.storageNote
                textFormat: Text.PlainText
                wrapMode: Text.WordWrap
                maximumLineCount: 2
                elide: Text.ElideRight
                font.pixelSize: Theme.typeSmall
                color: Theme.error
                HoverHandler {
                    id: noteHover
                }
                Loader {
                    active: noteHover.hovered
                    sourceComponent: ToolTip {
                        parent: storageNote
                        text: storageNote.text
                        visible: noteHover.hovered && storageNote.truncated
                    }
                }
            }

            Row {
                anchors.right: parent.right
                anchors.rightMargin: 16
                anchors.verticalCenter: parent.verticalCenter
                spacing: 14

                Text {
                    objectName: "streak"
                    anchors.verticalCenter: parent.verticalCenter
                    visible: text !== ""
                    text: model.streakText
                    textFormat: Text.PlainText
                    font.pixelSize: Theme.typeBody
                    color: Theme.inkSoft
                }
                HeaderMenu {
                    id: headerMenu
                    objectName: "headerMenuButton"
                    anchors.verticalCenter: parent.verticalCenter
                    header: model
                    reader: narrator
                }
            }
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: 1
            color: Theme.hairline
        }

        // The profile file found at start could not be read: said once, with
        // where it went and how to get it back.
        Rectangle {
            objectName: "recoveryBar"
            Layout.fillWidth: true
            Layout.preferredHeight: Math.max(recoveryText.implicitHeight, dismissRecovery.height) + 21
            visible: model.recoveryNote !== ""
            color: Theme.card
            Accessible.role: Accessible.AlertMessage
            Accessible.name: recoveryText.text

            Text {
                id: recoveryText
                objectName: "recoveryNote"
                anchors.left: parent.left
                anchors.leftMargin: 16
                anchors.right: dismissRecovery.left
                anchors.rightMargin: 16
                anchors.verticalCenter: parent.verticalCenter
                text: model.recoveryNote
                textFormat: Text.PlainText
                wrapMode: Text.Wrap
                font.pixelSize: Theme.typeBody
                color: Theme.ink
            }
            PushButton {
                id: dismissRecovery
                objectName: "dismissRecovery"
                anchors.right: parent.right
                anchors.rightMargin: 16
                anchors.verticalCenter: parent.verticalCenter
                text: "Понятно"
                onClicked: model.dismissRecoveryNote()
            }
            Rectangle {
                anchors.bottom: parent.bottom
                width: parent.width
                height: 1
                color: Theme.hairline
            }
        }

        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true

            // A new screen on every tab change, so a screen's own state starts fresh.
            Loader {
                id: screen
                objectName: "screen"
                anchors.fill: parent
                sourceComponent: [courseScreen, trainingScreen, manuscriptScreen, null][root.app.tab]
            }
            // Except the progress screen: its tiles, chart and map take tens of
            // milliseconds to build, so it is built on the first visit and kept,
            // following the profile; a later visit shows it in one frame.
            Loader {
                objectName: "progressScreen"
                anchors.fill: parent
                active: false
                visible: root.app.tab === AppState.Progress
                onVisibleChanged: {
                    if (visible)
                        active = true
                    else if (activeFocus)
                        // Hidden, its focused button would keep the keys (Return
                        // on another tab would work it): the focus goes back
                        // where a new screen starts.
                        root.forceActiveFocus()
                }
                Component.onCompleted: if (visible) active = true
                sourceComponent: progressScreen
            }
        }
    }

    // Ctrl+1 … Ctrl+4 pick a tab from anywhere; a chord is never typed into
    // an exercise.
    Repeater {
        model: 4
        Item {
            required property int index
            Shortcut {
                sequence: "Ctrl+" + (index + 1)
                context: Qt.ApplicationShortcut
                onActivated: model.switchTo(index)
            }
        }
    }

    Component {
        id: courseScreen
        CourseView { app: root.app }
    }
    Component {
        id: trainingScreen
        TrainingView {
            app: root.app
            menuOpen: headerMenu.open
        }
    }
    Component {
        id: manuscriptScreen
        ManuscriptView { app: root.app }
    }
    Component {
        id: progressScreen
        StatsView { app: root.app }
    }
}
