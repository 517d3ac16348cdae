// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCoreApplication;

// Olvi speaks only Russian, and so must what Qt draws itself: the file dialog
// the progress screen falls back to where the desktop has no file-chooser
// portal. Installs Qt's Russian catalogues (Debian's qt6-translations-l10n)
// whatever the user's locale, with the dialog's two labels that Qt 6.4's
// catalogue leaves in English. The locale for dates and numbers stays the
// user's. Without the catalogues Qt's texts stay English.
void installQtRussian(QCoreApplication &app);
