// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Dialogs
import Olvi

// The file dialog for desktops without a file-chooser portal. Loaded only
// then: its module brings Qt Quick Controls along.
FileDialog {
    id: dialog

    property ProgressTransfer transfer

    function show(asking) {
        transfer = asking
        fileMode = asking.dialog === ProgressTransfer.SaveDialog ? FileDialog.SaveFile
                                                                 : FileDialog.OpenFile
        title = asking.dialogTitle
        nameFilters = asking.dialogFilters
        currentFolder = asking.dialogFolder
        if (fileMode === FileDialog.SaveFile)
            selectedFile = asking.dialogFile
        // Qt 6.4's own dialog says "Open" when saving too; Qt's word for
        // saving, in the language Qt's texts were loaded in.
        acceptLabel = fileMode === FileDialog.SaveFile ? qsTranslate("QPlatformTheme", "Save") : ""
        open()
    }

    onAccepted: transfer.dialogAccepted(selectedFile)
    onRejected: transfer.dialogRejected()
}
