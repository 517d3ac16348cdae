// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi

// The progress tab: four figure tiles, the speed chart, the error heat map
// and the buttons that carry progress to another computer.
Rectangle {
    id: root

    required property AppState app
    readonly property ProgressTransfer transfer: app.transfer
    // The button whose request is under way, when the keyboard worked it:
    // the focus goes back to it once the dialog or the question is done.
    property Item asker: null

    color: Theme.paper

    StatsViewModel {
        id: model
        app: root.app
        active: root.visible
    }
    DrillViewModel {
        id: drill
        app: root.app
    }
    TransferViewModel {
        id: transferText
        app: root.app
    }

    // Works a transfer button's request, remembering the button if it had the focus.
    function request(button, action) {
        asker = button.activeFocus ? button : null
        action()
    }
    function giveFocusBack() {
        if (asker && !transfer.confirming && transfer.dialog === ProgressTransfer.NoDialog)
            asker.forceActiveFocus(Qt.TabFocusReason)
    }

    Flickable {
        id: scroller
        anchors.fill: parent
        contentHeight: stack.implicitHeight + 40
        boundsBehavior: Flickable.StopAtBounds
        clip: true

        Column {
            id: stack
            x: 28
            y: 20
            width: scroller.width - 56
            spacing: 14

            // ---- the tiles -----------------------------------------------
            Row {
                id: tileRow
                width: parent.width
                spacing: 12

                Repeater {
                    model: model.tiles
                    delegate: Card {
                        id: tile
                        required property int index
                        required property string label
                        required property string value
                        required property string unit
                        required property string note
                        required property string description

                        objectName: "tile" + index
                        // Read whole, once: its texts are left out below.
                        Accessible.role: Accessible.StaticText
                        Accessible.name: label
                        Accessible.description: description
                        width: (tileRow.width - tileRow.spacing * 3) / 4
                        height: tileColumn.implicitHeight + 24
                        radius: 10

                        Column {
                            id: tileColumn
                            x: 16
                            y: 12
                            width: parent.width - 32
                            spacing: 3

                            Text {
                                Accessible.ignored: true
                                width: parent.width
                                elide: Text.ElideRight
                                text: tile.label
                                textFormat: Text.PlainText
                                font.pixelSize: Theme.typeSmall
                                font.weight: Font.Medium
                                font.letterSpacing: 0.6
                                font.capitalization: Font.AllUppercase
                                color: Theme.inkFaint
                            }
                            Item {
                                width: parent.width
                                height: valueText.implicitHeight
                                Text {
                                    id: valueText
                                    objectName: "tileValue" + tile.index
                                    Accessible.ignored: true
                                    text: tile.value
                                    textFormat: Text.PlainText
                                    font.family: Theme.serifFamily
                                    font.pixelSize: Theme.typeLine
                                    font.bold: true
                                    color: Theme.ink
                                }
                                Text {
                                    objectName: "tileUnit" + tile.index
                                    Accessible.ignored: true
                                    x: valueText.implicitWidth + 5
                                    anchors.baseline: valueText.baseline
                                    visible: text !== ""
                                    text: tile.unit
                                    textFormat: Text.PlainText
                                    font.pixelSize: Theme.typeBody
                                    color: Theme.inkSoft
                                }
                            }
                            Text {
                                objectName: "tileNote" + tile.index
                                Accessible.ignored: true
                                width: parent.width
                                elide: Text.ElideRight
                                text: tile.note
                                textFormat: Text.PlainText
                                font.pixelSize: Theme.typeSmall
                                color: Theme.inkSoft
                            }
                        }
                    }
                }
            }

            // ---- the speed card ------------------------------------------
            Card {
                width: parent.width
                height: speedColumn.implicitHeight + 32
                radius: 10

                Column {
                    id: speedColumn
                    x: 16
                    y: 16
                    width: parent.width - 32
                    spacing: 8

                    Text {
                        textFormat: Text.PlainText
                        text: "Скорость за две недели"
                        font.pixelSize: Theme.typeBody
                        font.weight: Font.DemiBold
                        color: Theme.inkSoft
                    }
                    SpeedChart {
                        objectName: "speedChart"
                        width: parent.width
                        height: 170
                        visible: model.chartShown
                        stats: model
                        lineColor: Theme.accent
                        areaColor: Theme.accentWash
                        gridColor: Theme.hairline
                        labelColor: Theme.inkFaint
                        figureColor: Theme.ink
                        font.pixelSize: Theme.typeSmall
                        Accessible.role: Accessible.Chart
                        Accessible.name: "График скорости"
                        Accessible.description: model.chartSummary
                    }
                    Text {
                        textFormat: Text.PlainText
                        objectName: "chartPlaceholder"
                        visible: !model.chartShown
                        width: parent.width
                        height: Math.max(120, implicitHeight)
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                        wrapMode: Text.WordWrap
                        text: "Позанимайтесь пару дней — здесь появится график."
                        // what there is already, a day's speed say
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        Accessible.description: model.chartSummary
                        font.family: Theme.serifFamily
                        font.pixelSize: Theme.typeNote
                        font.italic: true
                        color: Theme.inkFaint
                    }
                }
            }

            // ---- the heat-map card ---------------------------------------
            Card {
                width: parent.width
                height: heatColumn.implicitHeight + 32
                radius: 10

                Column {
                    id: heatColumn
                    x: 16
                    y: 16
                    width: parent.width - 32
                    spacing: 10

                    Item {
                        width: parent.width
                        height: Math.max(heatTitle.implicitHeight, legend.implicitHeight)
                        Text {
                            textFormat: Text.PlainText
                            id: heatTitle
                            anchors.verticalCenter: parent.verticalCenter
                            text: "Где ошибаются пальцы"
                            font.pixelSize: Theme.typeBody
                            font.weight: Font.DemiBold
                            color: Theme.inkSoft
                        }
                        Row {
                            id: legend
                            anchors.right: parent.right
                            anchors.verticalCenter: parent.verticalCenter
                            spacing: 8
                            Text {
                                textFormat: Text.PlainText
                                anchors.verticalCenter: parent.verticalCenter
                                text: "реже"
                                font.pixelSize: Theme.typeTiny
                                color: Theme.inkFaint
                            }
                            Rectangle {
                                objectName: "heatLegend"
                                anchors.verticalCenter: parent.verticalCenter
                                width: 90
                                height: 8
                                radius: 4
                                gradient: Gradient {
                                    orientation: Gradient.Horizontal
                                    GradientStop { position: 0.0; color: Theme.card }
                                    GradientStop {
                                        position: 0.5
                                        color: Theme.accentHalf
                                    }
                                    GradientStop { position: 1.0; color: Theme.accent }
                                }
                            }
                            Text {
                                textFormat: Text.PlainText
                                anchors.verticalCenter: parent.verticalCenter
                                text: "чаще"
                                font.pixelSize: Theme.typeTiny
                                color: Theme.inkFaint
                            }
                        }
                    }

                    KeyboardView {
                        objectName: "heatMap"
                        Accessible.role: Accessible.Grouping
                        Accessible.name: heatTitle.text
                        Accessible.description: "Стрелки выбирают клавишу, "
                                                + "Ввод начинает работу над ошибками"
                        anchors.horizontalCenter: parent.horizontalCenter
                        visible: model.heatMapShown
                        training: false
                        keySize: 40
                        errors: model.heatLevels
                        pickable: drill.pickable
                        onPicked: character => drill.startKey(character)
                    }
                    Text {
                        textFormat: Text.PlainText
                        objectName: "heatPlaceholder"
                        visible: !model.heatMapShown
                        width: parent.width
                        topPadding: 12
                        bottomPadding: 12
                        horizontalAlignment: Text.AlignHCenter
                        wrapMode: Text.WordWrap
                        text: "Пока ошибок слишком мало для карты — и это отлично."
                        font.family: Theme.serifFamily
                        font.pixelSize: Theme.typeNote
                        font.italic: true
                        color: Theme.inkFaint
                    }

                    // ---- the drill of the keys least sure of
                    PushButton {
                        objectName: "drillButton"
                        anchors.horizontalCenter: parent.horizontalCenter
                        visible: drill.offered
                        text: drill.buttonText
                        onClicked: drill.start()
                    }
                }
            }

            // ---- carrying progress to another computer -------------------
            Card {
                id: transferCard
                objectName: "transferCard"
                width: parent.width
                height: transferColumn.implicitHeight + 32
                radius: 10

                Column {
                    id: transferColumn
                    x: 16
                    y: 16
                    width: parent.width - 32
                    spacing: 10

                    Text {
                        textFormat: Text.PlainText
                        text: "Перенос прогресса на другой компьютер"
                        font.pixelSize: Theme.typeBody
                        font.weight: Font.DemiBold
                        color: Theme.inkSoft
                    }
                    Row {
                        spacing: 10
                        PushButton {
                            objectName: "exportButton"
                            text: "Сохранить прогресс в файл…"
                            onClicked: root.request(this, root.transfer.exportProfile)
                            onActiveFocusChanged: if (activeFocus) scroller.show(this)
                        }
                        PushButton {
                            objectName: "tableButton"
                            text: "Таблица по дням (CSV)…"
                            onClicked: root.request(this, root.transfer.exportTable)
                            onActiveFocusChanged: if (activeFocus) scroller.show(this)
                        }
                        PushButton {
                            objectName: "importButton"
                            text: "Загрузить прогресс из файла…"
                            onClicked: root.request(this, root.transfer.chooseImport)
                            onActiveFocusChanged: if (activeFocus) scroller.show(this)
                        }
                    }
                    Text {
                        objectName: "transferMessage"
                        visible: text !== ""
                        width: parent.width
                        wrapMode: Text.Wrap
                        text: transferText.message
                        textFormat: Text.PlainText
                        font.pixelSize: Theme.typeBody
                        color: Theme.inkSoft
                    }
                }
            }
        }

        // Scrolls just enough to show `item`, when it is out of view.
        function show(item) {
            const top = item.mapToItem(contentItem, 0, 0).y - 8
            const bottom = top + item.height + 16
            if (top < contentY)
                contentY = top
            else if (bottom > contentY + height)
                contentY = Math.min(bottom, contentHeight) - height
        }
    }

    // A control reached with Tab or the arrows below the fold comes into view.
    Connections {
        target: root.Window.window
        function onActiveFocusItemChanged() {
            const focused = root.Window.activeFocusItem
            for (let item = focused; item; item = item.parent) {
                if (item === stack)
                    return scroller.show(focused)
            }
        }
    }

    // What a request or an import brought shows without scrolling by hand;
    // the question takes the focus, and gives it back when answered.
    Connections {
        target: root.transfer
        function onConfirmingChanged() {
            if (root.transfer.confirming)
                Qt.callLater(() => confirmButton.forceActiveFocus(Qt.TabFocusReason))
            else
                Qt.callLater(root.giveFocusBack)
        }
        function onOutcomeChanged() { Qt.callLater(scroller.show, transferCard) }
        function onDialogChanged() { Qt.callLater(root.giveFocusBack) }
    }

    // The dialog where the desktop offers none; its module loads only then.
    Loader {
        active: root.transfer.dialog !== ProgressTransfer.NoDialog
        source: "TransferDialog.qml"
        onLoaded: item.show(root.transfer, transferText, root)
    }

    // The scroll indicator, while there is more than fits.
    Rectangle {
        visible: scroller.contentHeight > scroller.height
        anchors.right: parent.right
        anchors.rightMargin: 3
        y: scroller.visibleArea.yPosition * scroller.height
        width: 4
        height: scroller.visibleArea.heightRatio * scroller.height
        radius: 2
        color: Theme.inkScroll
    }

    // ---- the question before an import: a modal card over the window
    ModalCard {
        id: confirmCard
        objectName: "confirmCard"
        title: transferText.confirmTitle
        description: transferText.importSummary
        visible: root.transfer.confirming
        // Escape, or anything else that closes it unanswered, cancels.
        onClosed: if (root.transfer.confirming) root.transfer.cancelImport()

        contentItem: Column {
            spacing: 14

            Text {
                width: parent.width
                wrapMode: Text.Wrap
                text: confirmCard.title
                textFormat: Text.PlainText
                font.pixelSize: Theme.typeButton
                font.weight: Font.DemiBold
                color: Theme.ink
            }
            Text {
                objectName: "importSummary"
                width: parent.width
                wrapMode: Text.Wrap
                text: transferText.importSummary
                textFormat: Text.PlainText
                font.pixelSize: Theme.typeButton
                color: Theme.ink
            }
            Row {
                spacing: 10
                PushButton {
                    id: confirmButton
                    objectName: "confirmImportButton"
                    primary: true
                    text: "Объединить"
                    onClicked: root.transfer.confirmImport()
                }
                PushButton {
                    objectName: "cancelImportButton"
                    text: "Отмена"
                    onClicked: root.transfer.cancelImport()
                }
            }
        }
    }
}
