// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Olvi

// The keys of the layout. Training mode shows the digit row above the letter
// rows, marks the next key, the Shift of the other hand and the space bar,
// and flashes the key a wrong stroke struck; heat-map mode (training: false)
// colours each letter key by its error level from `errors` and has neither
// the digit row nor the Shift/space row. Its pickable keys are buttons and
// one Tab stop: the arrows, Home and End move the view model's focusKey, and
// the focus follows it.
FocusScope {
    id: root

    property bool training: true
    property nextKey next
    property keyStrike strike
    property keyLevels errors
    property real keySize: 52
    // The keys a click drills, and the click.
    property var pickable: []
    signal picked(string character)

    implicitWidth: column.implicitWidth
    implicitHeight: column.implicitHeight
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

    // A Shift key or the space bar: a flat cap with a thin frame. (Inline
    // components do not see this file's ids, hence the properties.)
    component WideCap: Rectangle {
        property real keySize
        property color frameColor
        property alias label: caption.text
        property alias labelColor: caption.color

        height: keySize * 0.72
        radius: 8

        Rectangle {
            anchors.fill: parent
            radius: 8
            color: "transparent"
            border.width: 1
            border.color: parent.frameColor
        }
        Text {
            textFormat: Text.PlainText
            id: caption
            anchors.centerIn: parent
            font.pixelSize: Theme.typeNote
            font.weight: Font.Medium
        }
    }

    component ShiftCap: WideCap {
        property bool lit

        width: keySize * 1.6
        color: lit ? Theme.accent : Theme.bar
        label: "⇧"
        labelColor: lit ? Theme.onAccent : Theme.inkFaint
    }

    Column {
        id: column
        anchors.horizontalCenter: parent.horizontalCenter
        spacing: 6

        Repeater {
            model: [keyboard.digitRow, keyboard.topRow, keyboard.homeRow, keyboard.bottomRow]

            Row {
                required property var modelData
                required property int index

                anchors.horizontalCenter: parent.horizontalCenter
                spacing: 6
                visible: index > 0 || root.training

                Repeater {
                    model: parent.modelData

                    KeyCapView {
                        required property KeyCap modelData

                        objectName: "key_" + modelData.character
                        cap: modelData
                        size: root.keySize
                        // the digit row is as low as the Shift row
                        height: parent.index > 0 ? root.keySize : root.keySize * 0.72
                        board: keyboard
                        onPicked: root.picked(modelData.character)
                    }
                }
            }
        }

        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 6
            visible: root.training

            ShiftCap {
                objectName: "leftShift"
                keySize: root.keySize
                frameColor: keyboard.frameColor
                lit: keyboard.leftShiftLit
            }
            WideCap {
                objectName: "spaceBar"
                keySize: root.keySize
                frameColor: keyboard.frameColor
                width: root.keySize * 6.5
                color: keyboard.spaceLit ? Theme.thumbAccent : Theme.keyBase

                StrikeFlash {
                    id: spaceFlash
                    anchors.fill: parent
                }
                Connections {
                    target: keyboard
                    function onSpaceFlashed() { spaceFlash.start() }
                }
            }
            ShiftCap {
                objectName: "rightShift"
                keySize: root.keySize
                frameColor: keyboard.frameColor
                lit: keyboard.rightShiftLit
            }
        }
    }
}
