// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi

// The keys of the layout. Training mode shows the digit row above the letter
// rows, marks the next key, the Shift of the other hand and the space bar,
// and flashes the key a wrong stroke struck, all laid over one picture of the
// keys; heat-map mode (training: false) colours each letter key by its error
// level from `errors` and has neither the digit row nor the Shift/space row.
// Its pickable keys are buttons and one Tab stop: the arrows, Home and End
// move the view model's focusKey, and the focus follows it.
FocusScope {
    id: root

    property bool training: true
    property nextKey next
    property keyStrike strike
    property keyLevels errors
    property real keySize: 52
    // The clock of the training keyboard's fades (none: changes show at once).
    property FadeClock fades
    // The keys a click drills, and the click.
    property var pickable: []
    signal picked(string character)

    implicitWidth: training ? trainingKeys.width : column.implicitWidth
    implicitHeight: training ? trainingKeys.height : column.implicitHeight
    activeFocusOnTab: root.pickable.length > 0

    KeyboardViewModel {
        id: keyboard
        training: root.training
        next: root.next
        strike: root.strike
        errors: root.errors
        pickable: root.pickable
    }

    // The arrows reach here from the focused key, which leaves them unaccepted.
    Keys.onPressed: event => event.accepted = keyboard.moveFocus(event.key)

    // A lit Shift key or the space bar lit for a space, laid over the
    // keyboard picture where it draws the key unlit. (Inline components do
    // not see this file's ids, hence the properties.)
    component LitCap: Rectangle {
        property KeyboardViewModel board
        property string key
        property real keySize
        property color frameColor
        property alias label: caption.text
        property alias labelColor: caption.color
        readonly property rect place: board.keyRect(key, keySize)

        x: place.x
        y: place.y
        width: place.width
        height: place.height
        radius: 8

        Rectangle {
            anchors.fill: parent
            radius: 8
            color: "transparent"
            border.width: 1
            border.color: parent.frameColor
        }
        Text {
            id: caption
            textFormat: Text.PlainText
            anchors.centerIn: parent
            font.pixelSize: Theme.typeNote
            font.weight: Font.Medium
        }
    }

    // ---- the heat map: each key an item, each a way into a drill
    Column {
        id: column
        anchors.horizontalCenter: parent.horizontalCenter
        spacing: 6
        visible: !root.training

        Repeater {
            model: root.training ? [] : [keyboard.topRow, keyboard.homeRow, keyboard.bottomRow]

            Row {
                required property var modelData

                anchors.horizontalCenter: parent.horizontalCenter
                spacing: 6

                Repeater {
                    model: parent.modelData

                    KeyCapView {
                        required property KeyCap modelData

                        objectName: "key_" + modelData.character
                        cap: modelData
                        size: root.keySize
                        board: keyboard
                        onPicked: root.picked(modelData.character)
                    }
                }
            }
        }
    }

    // ---- training: the keys as one picture, and what a keystroke changes
    // laid over it
    Item {
        id: trainingKeys
        objectName: "trainingKeys"
        anchors.horizontalCenter: parent.horizontalCenter
        width: painting.implicitWidth
        height: painting.implicitHeight
        visible: root.training

        // The next key's look: two of them, so that one fades out while the
        // other fades in.
        property NextKeyPainting shown: nextA

        function fade(item, to, from) {
            if (root.fades)
                root.fades.fade(item, to, from === undefined ? -1 : from)
            else
                item.opacity = to
        }
        function showNext(animated) {
            const before = shown
            const after = before === nextA ? nextB : nextA
            const character = keyboard.nextCharacter
            if (animated)
                fade(before, 0)
            else
                before.opacity = 0
            if (character !== "") {
                const r = keyboard.keyRect(character, root.keySize)
                after.character = character
                after.x = r.x - after.margin
                after.y = r.y - after.margin
                if (animated)
                    fade(after, 1, 0)
                else
                    after.opacity = 1
            }
            shown = after
        }

        KeyboardPainting {
            id: painting
            anchors.fill: parent
            keyboard: keyboard
            keySize: root.keySize
        }
        LitCap {
            objectName: "leftShift"
            key: "leftShift"
            board: keyboard
            keySize: root.keySize
            visible: keyboard.leftShiftLit
            color: Theme.accent
            frameColor: keyboard.frameColor
            label: "⇧"
            labelColor: Theme.onAccent
        }
        LitCap {
            objectName: "spaceBar"
            key: " "
            board: keyboard
            keySize: root.keySize
            visible: keyboard.spaceLit
            color: Theme.thumbAccent
            frameColor: keyboard.frameColor
        }
        LitCap {
            objectName: "rightShift"
            key: "rightShift"
            board: keyboard
            keySize: root.keySize
            visible: keyboard.rightShiftLit
            color: Theme.accent
            frameColor: keyboard.frameColor
            label: "⇧"
            labelColor: Theme.onAccent
        }
        NextKeyPainting {
            id: nextA
            objectName: "nextKey"
            keyboard: keyboard
            keySize: root.keySize
            width: implicitWidth
            height: implicitHeight
            opacity: 0
            visible: opacity > 0
        }
        NextKeyPainting {
            id: nextB
            objectName: "nextKey"
            keyboard: keyboard
            keySize: root.keySize
            width: implicitWidth
            height: implicitHeight
            opacity: 0
            visible: opacity > 0
        }
        StrikeFlash {
            id: flash
            fades: root.fades
        }

        Component.onCompleted: showNext(false)
        Connections {
            target: keyboard
            function onNextCharacterChanged() { trainingKeys.showNext(true) }
            function onStruck(character) {
                flash.start(keyboard.keyRect(character, root.keySize))
            }
        }
    }
}
