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

            Rectangle {
                anchors.centerIn: parent
                width: tabs.implicitWidth + 6
                height: tabs.implicitHeight + 6
                radius: 8
                color: Theme.inkWash

                Row {
                    id: tabs
                    anchors.centerIn: parent
                    spacing: 2

                    Repeater {
                        model: model.tabTitles
                        delegate: Item {
                            id: tabButton
                            required property int index
                            required property string modelData
                            readonly property bool current: root.app.tab === index

                            objectName: "tab" + index
                            width: 96
                            height: label.implicitHeight + 10
                            activeFocusOnTab: true
                            Accessible.role: Accessible.PageTab
                            Accessible.name: modelData
                            Accessible.selected: current
                            Accessible.onPressAction: model.switchTo(index)
                            Keys.onPressed: event => {
                                if (event.key === Qt.Key_Space || event.key === Qt.Key_Return
                                        || event.key === Qt.Key_Enter) {
                                    model.switchTo(index)
                                    event.accepted = true
                                }
                            }

                            // The raised look of the current tab: a soft shadow under a card.
                            Rectangle {
                                anchors.fill: parent
                                anchors.topMargin: 1
                                anchors.bottomMargin: -1
                                radius: 6
                                visible: tabButton.current
                                color: Theme.inkShadow
                            }
                            Rectangle {
                                anchors.fill: parent
                                radius: 6
                                color: tabButton.current ? Theme.keyBase : "transparent"
                            }
                            Text {
                                id: label
                                anchors.centerIn: parent
                                text: tabButton.modelData
                                textFormat: Text.PlainText
                                font.pixelSize: Theme.typeBody
                                font.weight: tabButton.current ? Font.DemiBold : Font.Normal
                                color: tabButton.current ? Theme.ink : Theme.inkSoft
                            }
                            MouseArea {
                                anchors.fill: parent
                                onClicked: model.switchTo(tabButton.index)
                            }
                            FocusRing {
                                control: tabButton
                            }
                        }
                    }
                }
            }

            // Why progress is not being saved, when it is not: a quiet note of
            // up to two lines, never a dialog.
            Text {
                objectName: "storageNote"
                anchors.left: parent.left
                anchors.leftMargin: 16
                anchors.verticalCenter: parent.verticalCenter
                width: (parent.width - tabs.implicitWidth) / 2 - 32
                visible: text !== ""
                text: model.storageNote
                textFormat: Text.PlainText
                wrapMode: Text.WordWrap
                maximumLineCount: 2
                elide: Text.ElideRight
                font.pixelSize: Theme.typeSmall
                color: Theme.error
                HoverTip {
                    anchors.fill: parent
                    text: parent.truncated ? parent.text : ""
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
                AppearanceMenu {
                    id: appearanceMenu
                    objectName: "appearanceMenu"
                    anchors.verticalCenter: parent.verticalCenter
                    titles: model.appearanceTitles
                    currentIndex: model.appearanceIndex
                    actionTitles: [model.physicalKeysTitle, narrator.speechTitle]
                    onChosen: index => model.chooseAppearance(index)
                    onAction: index => index === 0 ? model.togglePhysicalKeys()
                                                   : narrator.toggleSpeech()
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

        // A new screen on every tab change, so a screen's own state starts fresh.
        Loader {
            id: screen
            objectName: "screen"
            Layout.fillWidth: true
            Layout.fillHeight: true
            sourceComponent: [courseScreen, trainingScreen, manuscriptScreen, progressScreen][root.app.tab]
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
            menuOpen: appearanceMenu.open
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
