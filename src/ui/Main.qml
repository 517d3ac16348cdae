// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick

Window {
    title: "Олви"
    width: 1000
    height: 760
    minimumWidth: 900
    minimumHeight: 740
    visible: true
}
