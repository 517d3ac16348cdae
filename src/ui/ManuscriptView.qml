// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi
import QtQuick.Layouts

// The manuscript tab: an editor for the user's own text, or the summary of
// the stored text with the buttons that type it.
Rectangle {
    id: root

    required property AppState app

    color: Theme.paper

    ManuscriptViewModel {
        id: model
        app: root.app
    }

    // ---- the editor ------------------------------------------------------
    Loader {
        anchors.fill: parent
        active: !model.summaryShown
        sourceComponent: Item {
            objectName: "editorFace"

            Column {
                id: heading
                x: 40
                y: 28
                width: parent.width - 80
                spacing: 6
                Text {
                    textFormat: Text.PlainText
                    text: "Своя рукопись"
                    font.family: Theme.serifFamily
                    font.pixelSize: Theme.typeHeading
                    font.bold: true
                    color: Theme.ink
                }
                Text {
                    textFormat: Text.PlainText
                    text: "Вставьте свой текст — главу, рассказ, письмо — и печатайте его.\n"
                          + "Пальцы привыкают к вашим словам, а не к чужим упражнениям."
                    font.pixelSize: Theme.typeButton
                    font.italic: true
                    lineHeightMode: Text.FixedHeight
                    lineHeight: descriptionMetrics.height + 3
                    color: Theme.inkSoft
                    FontMetrics {
                        id: descriptionMetrics
                        font.pixelSize: Theme.typeButton
                        font.italic: true
                    }
                }
            }

            Card {
                id: editorCard
                x: 40
                anchors.top: heading.bottom
                anchors.topMargin: 14
                anchors.bottom: bottomRow.top
                anchors.bottomMargin: 14
                width: parent.width - 80
                radius: 12

                Flickable {
                    id: flick
                    anchors.fill: parent
                    anchors.margins: 1
                    contentWidth: width
                    contentHeight: editor.implicitHeight
                    boundsBehavior: Flickable.StopAtBounds
                    clip: true

                    function follow(r) {
                        if (contentY >= r.y)
                            contentY = r.y
                        else if (contentY + height <= r.y + r.height)
                            contentY = r.y + r.height - height
                    }

                    TextEdit {
                        id: editor
                        objectName: "manuscriptEditor"
                        // A text field to a screen reader, its text and caret readable.
                        Accessible.role: Accessible.EditableText
                        Accessible.name: "Текст рукописи"
                        Accessible.multiLine: true
                        Accessible.editable: true
                        width: flick.width
                        // The whole card takes clicks, not just the written lines.
                        height: Math.max(implicitHeight, flick.height)
                        padding: 12
                        textFormat: TextEdit.PlainText
                        wrapMode: TextEdit.Wrap
                        selectByMouse: true
                        font.family: Theme.monoFamily
                        font.pixelSize: Theme.typeButton
                        color: Theme.ink
                        selectionColor: Theme.accent
                        selectedTextColor: Theme.onAccent
                        focus: true
                        onCursorRectangleChanged: flick.follow(cursorRectangle)
                        // Tab leaves the editor for the buttons, as in any form;
                        // a pasted tab is still kept (cleaning makes it a space).
                        Keys.onTabPressed: {
                            nextItemInFocusChain(true).forceActiveFocus(Qt.TabFocusReason)
                        }
                        Keys.onBacktabPressed: {
                            nextItemInFocusChain(false).forceActiveFocus(Qt.BacktabFocusReason)
                        }
                        // Only tells the model; it asks for the text when it needs it.
                        onTextChanged: model.edited(length)
                        Component.onCompleted: {
                            text = model.draft
                            // Ready to paste or type at once.
                            editor.forceActiveFocus()
                        }
                        Connections {
                            target: model
                            function onDraftReplaced() { editor.text = model.draft }
                            function onDraftWanted() { model.draft = editor.text }
                        }
                    }
                }
            }

            // One row laid out together: the warning takes the room the
            // buttons leave and elides, with the whole text in a tooltip.
            RowLayout {
                id: bottomRow
                objectName: "bottomRow"
                x: 40
                y: parent.height - 28 - height
                width: parent.width - 80
                height: 40
                spacing: 12

                Text {
                    objectName: "counter"
                    text: model.counterText
                    textFormat: Text.PlainText
                    font.pixelSize: Theme.typeBody
                    color: Theme.inkFaint
                }
                RowLayout {
                    objectName: "latinWarning"
                    Layout.fillWidth: true
                    Layout.minimumWidth: 0
                    spacing: 5
                    opacity: model.latinWarning !== "" ? 1 : 0
                    Icon {
                        name: "exclamationmark.triangle"
                        size: 13
                        color: Theme.error
                    }
                    Text {
                        id: latinWarningText
                        objectName: "latinWarningText"
                        Layout.fillWidth: true
                        Layout.minimumWidth: 0
                        text: model.latinWarning
                        textFormat: Text.PlainText
                        elide: Text.ElideRight
                        maximumLineCount: 1
                        font.pixelSize: Theme.typeBody
                        color: Theme.error
                        HoverHandler {
                            id: warningHover
                        }
                        ToolTip {
                            text: latinWarningText.text
                            visible: warningHover.hovered && latinWarningText.truncated
                        }
                    }
                }
                PushButton {
                    objectName: "cancelButton"
                    visible: model.cancelShown
                    text: "Отмена"
                    fontSize: Theme.typeNote
                    textColor: Theme.inkSoft
                    flat: true
                    horizontalPadding: 6
                    onClicked: model.cancel()
                }
                PushButton {
                    objectName: "trainButton"
                    Layout.preferredHeight: 40
                    primary: true
                    enabled: model.canTrain
                    horizontalPadding: 20
                    text: "Тренироваться на этом тексте"
                    onClicked: model.train()
                }
            }
        }
    }

    // ---- the summary -----------------------------------------------------
    Column {
        objectName: "summaryFace"
        visible: model.summaryShown
        anchors.centerIn: parent
        spacing: 22

        Column {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 8
            Text {
                textFormat: Text.PlainText
                anchors.horizontalCenter: parent.horizontalCenter
                text: "Своя рукопись"
                font.family: Theme.serifFamily
                font.pixelSize: Theme.typeTitle
                font.bold: true
                color: Theme.ink
            }
            Text {
                objectName: "summaryText"
                anchors.horizontalCenter: parent.horizontalCenter
                text: model.summaryText
                textFormat: Text.PlainText
                font.pixelSize: Theme.typeNote
                color: Theme.inkSoft
            }
        }

        Rectangle {
            anchors.horizontalCenter: parent.horizontalCenter
            width: previewText.width
            height: previewText.implicitHeight
            radius: 14
            color: Theme.card
            Text {
                id: previewText
                objectName: "preview"
                width: Math.min(implicitWidth, 620, root.width - 80)
                padding: 24
                wrapMode: Text.WordWrap
                horizontalAlignment: Text.AlignHCenter
                text: model.preview
                textFormat: Text.PlainText
                font.family: Theme.serifFamily
                font.pixelSize: Theme.typeReading
                font.italic: true
                lineHeightMode: Text.FixedHeight
                lineHeight: previewMetrics.height + 5
                color: Theme.inkSoft
                FontMetrics {
                    id: previewMetrics
                    font.family: Theme.serifFamily
                    font.pixelSize: Theme.typeReading
                    font.italic: true
                }
            }
        }

        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 12

            PushButton {
                objectName: "continueButton"
                height: 44
                primary: true
                text: model.continueText
                onClicked: model.continueTyping()
            }
            PushButton {
                objectName: "restartButton"
                height: 44
                text: "Сначала"
                onClicked: model.restart()
            }
            PushButton {
                objectName: "replaceButton"
                height: 44
                text: "Заменить текст"
                onClicked: model.replace()
            }
        }
    }
}
