// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi
import QtQuick.Layouts

// The training tab: the exercise being typed, or the result card.
Rectangle {
    id: root

    required property AppState app

    color: Theme.paper

    TrainingViewModel {
        id: model
        app: root.app
    }

    // Keystrokes belong to the exercise only while this screen is shown.
    KeyCapture {
        app: root.app
        active: root.visible
    }

    // ---- the exercise ----------------------------------------------------
    ColumnLayout {
        objectName: "exercise"
        anchors.fill: parent
        spacing: 0
        visible: !model.resultShown

        Column {
            Layout.alignment: Qt.AlignHCenter
            Layout.topMargin: 30
            Layout.bottomMargin: 20
            spacing: 8

            Text {
                objectName: "caption"
                anchors.horizontalCenter: parent.horizontalCenter
                text: model.lessonCaption
                font.pixelSize: 12
                font.weight: Font.Medium
                font.letterSpacing: 0.8
                font.capitalization: Font.AllUppercase
                color: Theme.inkFaint
            }

            Item {
                id: textBlock
                objectName: "textLines"

                readonly property real cell: metrics.advanceWidth("Ж") + lineFont.letterSpacing
                readonly property font lineFont: Qt.font({
                    family: Theme.monoFamily, pixelSize: 24, letterSpacing: 0.5
                })

                anchors.horizontalCenter: parent.horizontalCenter
                width: cell * 45 + 80
                height: Math.max(116, lines.implicitHeight)

                FontMetrics {
                    id: metrics
                    font: textBlock.lineFont
                }

                Rectangle {
                    objectName: "caret"
                    visible: model.caretVisible
                    x: 40 + model.caretColumn * textBlock.cell
                    y: line0.y
                    width: textBlock.cell
                    height: line0.height
                    radius: 3
                    color: Theme.accent
                }

                Column {
                    id: lines
                    x: 40
                    spacing: 8

                    TextLineItem {
                        id: line0
                        objectName: "line0"
                        lines: model
                        line: 0
                        font: textBlock.lineFont
                    }
                    TextLineItem {
                        objectName: "line1"
                        lines: model
                        line: 1
                        font: textBlock.lineFont
                    }
                    TextLineItem {
                        objectName: "line2"
                        lines: model
                        line: 2
                        font: textBlock.lineFont
                    }
                }
            }

            Item {
                anchors.horizontalCenter: parent.horizontalCenter
                width: Math.max(hint.implicitWidth, warning.implicitWidth)
                height: Math.max(hint.implicitHeight, warning.implicitHeight)

                Text {
                    id: hint
                    objectName: "fingerHint"
                    anchors.centerIn: parent
                    visible: !model.wrongLayoutWarning
                    text: model.fingerHint
                    font.family: Theme.serifFamily
                    font.pixelSize: 13
                    font.italic: true
                    color: Theme.inkFaint
                }
                Row {
                    id: warning
                    objectName: "layoutWarning"
                    anchors.centerIn: parent
                    visible: model.wrongLayoutWarning
                    spacing: 6
                    Icon {
                        anchors.verticalCenter: parent.verticalCenter
                        name: "globe"
                        size: 14
                        color: Theme.error
                    }
                    Text {
                        text: "Была латиница — возвращаю русскую раскладку"
                        font.pixelSize: 13
                        font.weight: Font.DemiBold
                        color: Theme.error
                    }
                }
            }
        }

        KeyboardView {
            objectName: "keyboard"
            Layout.alignment: Qt.AlignHCenter
            training: true
            next: model.expected
            keySize: 52
        }

        HandsView {
            objectName: "hands"
            Layout.alignment: Qt.AlignHCenter
            Layout.topMargin: 8
            expected: model.expected
        }

        Item {
            Layout.fillHeight: true
            Layout.minimumHeight: 12
        }

        // Status bar
        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: 64
            color: Theme.bar

            Rectangle {
                width: parent.width
                height: 1
                color: Theme.hairline
            }

            Row {
                anchors.centerIn: parent
                spacing: 28

                StatItem {
                    objectName: "speed"
                    anchors.verticalCenter: parent.verticalCenter
                    value: model.speedText
                    unit: "зн/мин"
                }
                Rectangle {
                    anchors.verticalCenter: parent.verticalCenter
                    width: 1
                    height: 26
                    color: Theme.hairline
                }
                StatItem {
                    objectName: "accuracy"
                    anchors.verticalCenter: parent.verticalCenter
                    value: model.accuracyText
                    unit: "точность"
                }
                Rectangle {
                    anchors.verticalCenter: parent.verticalCenter
                    width: 1
                    height: 26
                    color: Theme.hairline
                }
                Row {
                    anchors.verticalCenter: parent.verticalCenter
                    spacing: 10
                    Rectangle {
                        objectName: "progressBar"
                        anchors.verticalCenter: parent.verticalCenter
                        width: 160
                        height: 6
                        radius: 3
                        color: Qt.rgba(Theme.ink.r, Theme.ink.g, Theme.ink.b, 0.1)
                        Rectangle {
                            width: parent.width * model.progress
                            height: parent.height
                            radius: 3
                            color: Theme.accent
                        }
                    }
                    Text {
                        objectName: "progressText"
                        anchors.verticalCenter: parent.verticalCenter
                        text: model.progressText
                        font.pixelSize: 12
                        color: Theme.inkSoft
                    }
                }
                Item {
                    objectName: "soundButton"
                    anchors.verticalCenter: parent.verticalCenter
                    width: 24
                    height: 24
                    Icon {
                        anchors.centerIn: parent
                        name: model.soundOn ? "speaker.wave.2" : "speaker.slash"
                        color: Theme.inkFaint
                        size: 17
                    }
                    MouseArea {
                        anchors.fill: parent
                        onClicked: model.toggleSound()
                    }
                    HoverTip {
                        anchors.fill: parent
                        text: "Звук при ошибке"
                    }
                }
            }
        }
    }

    // ---- the result card -------------------------------------------------
    Column {
        objectName: "resultCard"
        anchors.centerIn: parent
        spacing: 18
        visible: model.resultShown

        Text {
            objectName: "resultTitle"
            anchors.horizontalCenter: parent.horizontalCenter
            text: model.resultTitle
            font.family: Theme.serifFamily
            font.pixelSize: 34
            font.bold: true
            color: Theme.ink
        }

        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 34
            BigFigure {
                objectName: "resultSpeed"
                value: model.resultSpeed
                caption: "зн/мин"
            }
            BigFigure {
                objectName: "resultAccuracy"
                value: model.resultAccuracy
                caption: "точность"
            }
            BigFigure {
                objectName: "resultLessonCount"
                value: model.resultLessonCount
                caption: "упражнений в уроке"
            }
        }

        Text {
            objectName: "reminder"
            anchors.horizontalCenter: parent.horizontalCenter
            visible: model.reminderShown
            width: Math.min(implicitWidth, 420)
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
            text: model.reminder
            font.family: Theme.serifFamily
            font.pixelSize: 13
            font.italic: true
            color: Theme.inkSoft
        }

        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 12

            Rectangle {
                objectName: "primaryButton"
                width: primaryLabel.implicitWidth + 44
                height: primaryLabel.implicitHeight + 20
                radius: 9
                color: Theme.accent
                Text {
                    id: primaryLabel
                    anchors.centerIn: parent
                    text: model.primaryButtonText
                    font.pixelSize: 14
                    font.weight: Font.DemiBold
                    color: Theme.onAccent
                }
                MouseArea {
                    anchors.fill: parent
                    onClicked: model.nextExercise()
                }
            }
            Rectangle {
                objectName: "courseButton"
                width: courseLabel.implicitWidth + 36
                height: courseLabel.implicitHeight + 20
                radius: 9
                color: "transparent"
                border.color: Theme.hairline
                border.width: 1
                Text {
                    id: courseLabel
                    anchors.centerIn: parent
                    text: "К курсу"
                    font.pixelSize: 14
                    font.weight: Font.Medium
                    color: Theme.inkSoft
                }
                MouseArea {
                    anchors.fill: parent
                    onClicked: model.showCourse()
                }
            }
        }
    }

    Shortcut {
        sequences: ["Return", "Enter"]
        enabled: model.resultShown && root.visible
        onActivated: model.nextExercise()
    }
}
