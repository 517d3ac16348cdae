// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "profile_data.h"

#include <QByteArray>
#include <QList>

// The day records as a table a spreadsheet opens: UTF-8 with a byte order
// mark, comma-separated, lines ended by CR LF, fields quoted where RFC 4180
// asks for it.
namespace ProfileCsv {

// A header row, then one row per record in the given order: the date, the
// characters, the errors, the minutes and the best speed. A date comes from a
// file anyone may have written, so one that a spreadsheet would take for a
// formula is written as text.
[[nodiscard]] QByteArray days(const QList<DayStat> &days);

} // namespace ProfileCsv
