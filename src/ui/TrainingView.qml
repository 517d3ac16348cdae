// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi

// The training tab: the exercise being typed, or the result card.
Rectangle {
    id: root

    required property AppState app
    // An open menu takes the keyboard; the exercise waits until it closes.
    property bool menuOpen: false

    color: Theme.paper

    // A keystroke's own frame shows the line; the keyboard, the fingers, the
    // hint and the figures follow one frame later, fading on one clock.
    FramePacer {
        id: pacer
    }
    FadeClock {
        id: fades
    }
    ExerciseText {
        id: exercise
        app: root.app
        pacer: pacer
    }
    ExerciseFigures {
        id: figures
        app: root.app
        pacer: pacer
    }
    ResultCard {
        id: result
        app: root.app
    }

    // Keystrokes belong to the exercise only while this screen is shown. A
    // control the learner tabbed to keeps Space for itself.
    KeyCapture {
        readonly property Item focused: root.Window.activeFocusItem
        app: root.app
        active: root.visible && !root.menuOpen
        controlFocused: focused !== null && focused !== textBlock && focused.activeFocusOnTab
    }

    // ---- the exercise ----------------------------------------------------
    // The status bar stays pinned to the bottom. When the window is shorter
    // than the screen needs (a tiling window manager may ignore the minimum
    // size), the spaces above and between give way first, then the keyboard
    // and the hands shrink together.
    Item {
        objectName: "exercise"
        anchors.fill: parent
        visible: !result.shown

        Item {
            id: practice

            // Natural heights, without the spaces that may give way.
            readonly property real spaces: 30 + 20 + 8 + 12
            readonly property real drawings: keyboard.height + hands.height
            readonly property real room: height - heading.height - drawings
            readonly property real give: Math.max(0, Math.min(1, room / spaces))
            readonly property real fit: room >= 0 ? 1
                : Math.max(0.5, (height - heading.height) / drawings)

            anchors.top: parent.top
            anchors.bottom: statusBar.top
            width: parent.width
            clip: true

            Column {
                id: heading
                y: 30 * practice.give
                anchors.horizontalCenter: parent.horizontalCenter
                spacing: 8

                Text {
                    objectName: "caption"
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: exercise.caption
                    textFormat: Text.PlainText
                    font.pixelSize: Theme.typeBody
                    font.weight: Font.Medium
                    font.letterSpacing: 0.8
                    font.capitalization: Font.AllUppercase
                    color: Theme.inkFaint
                }

                // One read-only text for a screen reader (its interface is
                // ExerciseLines' own; the role puts it in the tree).
                ExerciseLines {
                    id: textBlock
                    objectName: "textLines"
                    exercise: exercise
                    Accessible.role: Accessible.EditableText

                    readonly property font lineFont: Qt.font({
                        family: Theme.monoFamily, pixelSize: Theme.typeLine, letterSpacing: 0.5
                    })

                    anchors.horizontalCenter: parent.horizontalCenter
                    width: (metrics.advanceWidth("Ж") + lineFont.letterSpacing) * exercise.widestLine
                           + 80
                    height: Math.max(116, lines.implicitHeight)

                    FontMetrics {
                        id: metrics
                        font: textBlock.lineFont
                    }

                    // Each line paints its caret itself, from its own glyphs.
                    Column {
                        id: lines
                        x: 40
                        spacing: 8

                        Repeater {
                            model: exercise.lines
                            TextLineItem {
                                required property int index
                                required property string line
                                required property lineStyles charStyles
                                objectName: "line" + index
                                text: line
                                styles: charStyles
                                font: textBlock.lineFont
                            }
                        }
                    }
                }

                // The line keeps the height of its text: the warning's button
                // may reach into the space around it, never move the keyboard.
                Item {
                    anchors.horizontalCenter: parent.horizontalCenter
                    width: Math.max(hint.implicitWidth, warning.implicitWidth)
                    height: Math.max(hint.implicitHeight, warningText.implicitHeight)

                    Text {
                        id: hint
                        objectName: "fingerHint"
                        anchors.centerIn: parent
                        visible: !exercise.wrongLayoutWarning
                        text: exercise.nextKey.hint
                        textFormat: Text.PlainText
                        font.family: Theme.serifFamily
                        font.pixelSize: Theme.typeNote
                        font.italic: true
                        color: Theme.inkFaint
                    }
                    Row {
                        id: warning
                        objectName: "layoutWarning"
                        anchors.centerIn: parent
                        visible: exercise.wrongLayoutWarning
                        spacing: 6
                        Icon {
                            anchors.verticalCenter: parent.verticalCenter
                            name: "globe"
                            size: 14
                            color: Theme.error
                        }
                        Text {
                            id: warningText
                            anchors.verticalCenter: parent.verticalCenter
                            textFormat: Text.PlainText
                            text: exercise.layoutWarningText
                            font.pixelSize: Theme.typeNote
                            font.weight: Font.DemiBold
                            color: Theme.error
                        }
                        PushButton {
                            objectName: "physicalKeysButton"
                            anchors.verticalCenter: parent.verticalCenter
                            visible: exercise.physicalKeysOffered
                            text: "Печатать по ЙЦУКЕН без русской раскладки"
                            fontSize: Theme.typeNote
                            horizontalPadding: 10
                            verticalPadding: 3
                            onClicked: root.app.setPhysicalKeys(true)
                        }
                    }
                }
            }

            KeyboardView {
                id: keyboard
                objectName: "keyboard"
                y: heading.y + heading.height + 20 * practice.give
                anchors.horizontalCenter: parent.horizontalCenter
                transformOrigin: Item.Top
                scale: practice.fit
                training: true
                next: exercise.nextKey
                strike: exercise.strike
                keySize: 52
                fades: fades
            }

            HandsView {
                id: hands
                objectName: "hands"
                y: keyboard.y + keyboard.height * practice.fit + 8 * practice.give
                anchors.horizontalCenter: parent.horizontalCenter
                transformOrigin: Item.Top
                scale: practice.fit
                next: exercise.nextKey
                fades: fades
            }
        }

        Rectangle {
            id: statusBar
            objectName: "statusBar"
            anchors.bottom: parent.bottom
            width: parent.width
            height: 64
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
                    value: figures.speed
                    widest: "000"
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
                    value: figures.accuracy
                    widest: "100,0 %"
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
                        color: Theme.inkFrame
                        Rectangle {
                            width: parent.width * figures.progress
                            height: parent.height
                            radius: 3
                            color: Theme.accent
                        }
                    }
                    Text {
                        objectName: "progressText"
                        anchors.verticalCenter: parent.verticalCenter
                        text: figures.progressText
                        textFormat: Text.PlainText
                        font.pixelSize: Theme.typeBody
                        color: Theme.inkSoft
                    }
                }
                IconSwitch {
                    objectName: "soundButton"
                    anchors.verticalCenter: parent.verticalCenter
                    text: "Звук при ошибке"
                    iconOn: "speaker.wave.2"
                    iconOff: "speaker.slash"
                    on: figures.soundOn
                    onToggled: root.app.toggleSound()
                }
            }
        }
    }

    // ---- the result card -------------------------------------------------
    Column {
        objectName: "resultCard"
        anchors.centerIn: parent
        spacing: 18
        visible: result.shown
        // Return or Space goes on, and a screen reader reads where.
        onVisibleChanged: if (visible) primaryButton.forceActiveFocus(Qt.TabFocusReason)

        Text {
            objectName: "resultTitle"
            anchors.horizontalCenter: parent.horizontalCenter
            Accessible.role: Accessible.Heading
            Accessible.name: text
            // a drill's title may name three marks
            width: Math.min(implicitWidth, root.width - 80)
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
            text: result.title
            textFormat: Text.PlainText
            font.family: Theme.serifFamily
            font.pixelSize: Theme.typeTitle
            font.bold: true
            color: Theme.ink
        }

        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 34
            BigFigure {
                objectName: "resultSpeed"
                value: result.speed
                caption: "зн/мин"
            }
            BigFigure {
                objectName: "resultAccuracy"
                value: result.accuracy
                caption: "точность"
            }
            BigFigure {
                objectName: "resultLessonCount"
                visible: result.lessonCountShown
                value: result.lessonCount
                caption: "упражнений в уроке"
            }
        }

        // after a drill: how each of its keys went
        Column {
            objectName: "drillKeyLines"
            anchors.horizontalCenter: parent.horizontalCenter
            visible: result.keyLines.length > 0
            spacing: 4
            Repeater {
                model: result.keyLines
                Text {
                    required property string modelData
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: modelData
                    textFormat: Text.PlainText
                    font.pixelSize: Theme.typeReading
                    color: Theme.inkSoft
                }
            }
        }

        Text {
            objectName: "reminder"
            anchors.horizontalCenter: parent.horizontalCenter
            visible: result.reminderShown
            width: Math.min(implicitWidth, 420)
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
            text: result.reminder
            textFormat: Text.PlainText
            font.family: Theme.serifFamily
            font.pixelSize: Theme.typeNote
            font.italic: true
            color: Theme.inkSoft
        }

        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 12

            PushButton {
                id: primaryButton
                objectName: "primaryButton"
                primary: true
                text: result.primaryText
                Accessible.name: result.primaryName
                onClicked: root.app.nextExercise()
            }
            PushButton {
                objectName: "courseButton"
                text: "К курсу"
                fontWeight: Font.Medium
                textColor: Theme.inkSoft
                onClicked: root.app.tab = AppState.Course
            }
            // a lesson just completed whose keys are not yet settled
            PushButton {
                objectName: "consolidateButton"
                visible: result.consolidateText !== ""
                text: result.consolidateText
                fontWeight: Font.Medium
                textColor: Theme.inkSoft
                onClicked: root.app.consolidate()
            }
        }
    }

    Shortcut {
        sequences: ["Return", "Enter"]
        enabled: result.shown && root.visible
        onActivated: root.app.nextExercise()
    }
}
