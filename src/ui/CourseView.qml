// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi

// The course tab: the badge and the continue button on the left, the stages
// on the right.
Rectangle {
    id: root

    required property AppState app

    color: Theme.paper

    CourseViewModel {
        id: model
        app: root.app
    }
    DrillViewModel {
        id: drill
        app: root.app
    }

    // ---- the sidebar -----------------------------------------------------
    Item {
        id: sidebar
        width: 300
        height: parent.height

        Column {
            x: 34
            width: parent.width - 68
            anchors.verticalCenter: parent.verticalCenter
            spacing: 16

            OlviBadge {}

            Column {
                spacing: 6
                Text {
                    textFormat: Text.PlainText
                    text: "Олви"
                    font.family: Theme.serifFamily
                    font.pixelSize: Theme.typeDisplay
                    font.bold: true
                    color: Theme.ink
                }
                Text {
                    textFormat: Text.PlainText
                    text: "Слепой метод печати\nдля тех, кто пишет."
                    font.family: Theme.serifFamily
                    font.pixelSize: Theme.typeReading
                    font.italic: true
                    lineHeightMode: Text.FixedHeight
                    lineHeight: fontMetrics.height + 3
                    color: Theme.inkSoft
                    FontMetrics {
                        id: fontMetrics
                        font.family: Theme.serifFamily
                        font.pixelSize: Theme.typeReading
                        font.italic: true
                    }
                }
            }

            // 8 more above the button than between the other items
            Item {
                width: parent.width
                height: 44 + 8
                PushButton {
                    objectName: "continueButton"
                    anchors.bottom: parent.bottom
                    width: parent.width
                    height: 44
                    primary: true
                    text: model.continueText
                    onClicked: model.continueCourse()
                }
            }

            // ---- a drill, while some key is well above the learner's average
            PushButton {
                objectName: "sidebarDrillButton"
                width: parent.width
                // the keys must fit the sidebar's width
                fontSize: Theme.typeBody
                wraps: true
                visible: drill.needed
                text: drill.neededText
                onClicked: drill.startNeeded()
            }

            Text {
                textFormat: Text.PlainText
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                text: "10 минут в день достаточно"
                font.pixelSize: Theme.typeBody
                color: Theme.inkFaint
            }
        }
    }

    Rectangle {
        x: sidebar.width
        width: 1
        height: parent.height
        color: Theme.hairline
    }

    // ---- the stages ------------------------------------------------------
    Flickable {
        x: sidebar.width + 1
        width: parent.width - x
        height: parent.height
        contentHeight: stageColumn.implicitHeight + 48
        boundsBehavior: Flickable.StopAtBounds
        clip: true

        Column {
            id: stageColumn
            x: 30
            y: 24
            width: parent.width - 60
            spacing: 10

            Repeater {
                model: model.stages
                delegate: CardButton {
                    id: stageRow
                    required property int index
                    required property string title
                    required property string subtitle
                    required property string label
                    required property bool current
                    required property bool done
                    required property int mark

                    objectName: "stage" + index
                    text: title + ", " + label
                    width: stageColumn.width
                    filled: current || done
                    marked: current
                    onClicked: model.openStage(index)

                    contentItem: Item {
                        implicitHeight: Math.max(22, titles.implicitHeight)

                        // The stage's state: a green disc with a tick, or a ring.
                        Rectangle {
                            objectName: "stageIcon" + stageRow.index
                            anchors.verticalCenter: parent.verticalCenter
                            width: 22
                            height: 22
                            radius: 11
                            color: stageRow.mark === StageIcon.Done ? Theme.done
                                                                      : "transparent"
                            border.width: stageRow.mark === StageIcon.Done ? 0 : 2
                            border.color: stageRow.mark === StageIcon.Current ? Theme.accent
                                                                              : Theme.ghost
                            Icon {
                                anchors.centerIn: parent
                                visible: stageRow.mark === StageIcon.Done
                                name: "checkmark"
                                size: 13
                                color: Theme.onDone
                            }
                        }

                        Column {
                            id: titles
                            x: 22 + 16
                            anchors.verticalCenter: parent.verticalCenter
                            spacing: 3
                            Text {
                                text: stageRow.title
                                textFormat: Text.PlainText
                                font.pixelSize: Theme.typeReading
                                font.weight: Font.DemiBold
                                color: Theme.ink
                            }
                            Text {
                                text: stageRow.subtitle
                                textFormat: Text.PlainText
                                font.pixelSize: Theme.typeBody
                                color: Theme.inkFaint
                            }
                        }

                        Text {
                            objectName: "stageLabel" + stageRow.index
                            anchors.right: parent.right
                            anchors.verticalCenter: parent.verticalCenter
                            text: stageRow.label
                            textFormat: Text.PlainText
                            font.pixelSize: Theme.typeBody
                            font.weight: stageRow.current ? Font.DemiBold : Font.Normal
                            color: stageRow.current ? Theme.accent : Theme.inkSoft
                        }
                    }
                }
            }
        }
    }
}
