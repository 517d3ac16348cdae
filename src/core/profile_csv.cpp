// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile_csv.h"

#include <QStringList>

#include <algorithm>

namespace ProfileCsv {
namespace {

// A spreadsheet evaluates a cell that starts with one of these, and a leading
// tab or carriage return can hide such a start; a leading apostrophe makes
// the cell plain text in every common spreadsheet.
bool looksLikeFormula(const QString &text)
{
    static const QString starts = QStringLiteral("=+-@\t\r");
    return !text.isEmpty() && starts.contains(text.front());
}

QString textField(QString text)
{
    if (looksLikeFormula(text))
        text.prepend(u'\'');
    static const QString special = QStringLiteral(",\"\r\n");
    if (std::none_of(text.cbegin(), text.cend(), [](QChar c) { return special.contains(c); }))
        return text;
    text.replace(u'"', QStringLiteral("\"\""));
    return u'"' + text + u'"';
}

QString row(const QStringList &fields)
{
    return fields.join(u',') + QStringLiteral("\r\n");
}

} // namespace

QByteArray days(const QList<DayStat> &days)
{
    QString table = row({QStringLiteral("Дата"), QStringLiteral("Знаков"), QStringLiteral("Ошибок"),
                         QStringLiteral("Минут"), QStringLiteral("Лучшая скорость (зн/мин)")});
    for (const DayStat &d : days) {
        table += row({textField(d.date), QString::number(d.chars), QString::number(d.errors),
                      QString::number(d.seconds / 60.0, 'f', 1),
                      QString::number(d.bestSpeed, 'f', 1)});
    }
    // Without the mark, common spreadsheets read the Cyrillic header as
    // Latin-1.
    return "\xEF\xBB\xBF" + table.toUtf8();
}

} // namespace ProfileCsv
