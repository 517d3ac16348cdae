// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Dialogs
import QtQuick.Templates as T
import Olvi

// The file dialog for desktops without a file-chooser portal. Loaded only
// then: its module brings Qt Quick Controls along.
FileDialog {
    id: dialog

    property ProgressTransfer transfer
    property Item host: null
    // Qt 6.4's own dialog lays its items in the window's overlay; when saving
    // its name field gets the focus and Return, which it would otherwise ignore.
    property Item nameField: null

    function show(asking, wording, item) {
        transfer = asking
        host = item
        fileMode = asking.dialog === ProgressTransfer.OpenProgress ? FileDialog.OpenFile
                                                                   : FileDialog.SaveFile
        title = wording.dialogTitle
        nameFilters = wording.dialogFilters
        currentFolder = asking.dialogFolder
        if (fileMode === FileDialog.SaveFile)
            selectedFile = asking.dialogFile
        // Qt 6.4's own dialog says "Open" when saving too; Qt's word for
        // saving, in the language Qt's texts were loaded in.
        acceptLabel = fileMode === FileDialog.SaveFile ? qsTranslate("QPlatformTheme", "Save") : ""
        open()
        if (fileMode === FileDialog.SaveFile)
            Qt.callLater(focusName, item.T.Overlay.overlay)
    }

    function find(item, name) {
        if (item.objectName === name)
            return item
        for (let i = 0; i < item.children.length; ++i) {
            const found = find(item.children[i], name)
            if (found)
                return found
        }
        return null
    }

    // The name field takes the focus with the name selected up to its
    // extension, so that typing replaces the name and keeps the kind.
    function focusName(overlay) {
        nameField = overlay ? find(overlay, "fileNameTextField") : null
        if (nameField)
            takeName()
    }
    function takeName() {
        nameField.forceActiveFocus(Qt.TabFocusReason)
        const dot = nameField.text.lastIndexOf(".")
        nameField.select(0, dot > 0 ? dot : nameField.text.length)
    }

    // Return works the dialog's own Save button, which asks before replacing
    // a file; later, once the field has handed the typed name over.
    function acceptName() {
        const row = nameField.parent.children
        for (let i = 0; i < row.length; ++i) {
            if (typeof row[i].standardButton === "function") {
                const save = row[i].standardButton(T.Dialog.Open)
                if (save && save.enabled)
                    save.clicked()
                return
            }
        }
    }

    // Once it has read the folder, Qt's dialog hands the focus to the proposed
    // file if it exists (a programmatic move, not the learner's Tab or click):
    // the name field keeps it.
    function keepName() {
        const now = host.Window.activeFocusItem
        if (now && now.objectName.startsWith("fileDialogDelegate")
                && now.focusReason === Qt.OtherFocusReason)
            takeName()
    }

    Connections {
        target: dialog.nameField
        function onAccepted() { Qt.callLater(dialog.acceptName) }
        function onActiveFocusChanged() {
            if (!dialog.nameField.activeFocus)
                Qt.callLater(dialog.keepName)
        }
    }

    onAccepted: transfer.dialogAccepted(selectedFile)
    onRejected: transfer.dialogRejected()
}
