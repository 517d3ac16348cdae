// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "drill_text.h"

#include "characters.h"
#include "figure_text.h"
#include "russian_plural.h"

#include <QHash>

namespace {

QString names(const QStringList &keys)
{
    QStringList named;
    for (const QString &key : keys) {
        const QString name = DrillText::keyName(key);
        if (!named.contains(name)) // « and » are both "кавычки"
            named.append(name);
    }
    return named.join(QStringLiteral(", "));
}

} // namespace

namespace DrillText {

QString keyName(const QString &key)
{
    // Marks by name, as the course's lessons call them: a bare ":" or "—"
    // amid a title's punctuation is hard to make out, and a screen reader
    // may skip it.
    static const QHash<QString, QString> names{
        {Drill::shiftKey.toString(), QStringLiteral("шифт")},
        {QStringLiteral(","), QStringLiteral("запятая")},
        {QStringLiteral("."), QStringLiteral("точка")},
        {QStringLiteral("?"), QStringLiteral("вопрос")},
        {QStringLiteral("!"), QStringLiteral("восклицание")},
        {QStringLiteral("—"), QStringLiteral("тире")},
        {QStringLiteral(":"), QStringLiteral("двоеточие")},
        {QStringLiteral("«"), QStringLiteral("кавычки")},
        {QStringLiteral("»"), QStringLiteral("кавычки")},
    };
    return names.value(key, key);
}

QString title(AppState::DrillKind kind, const QStringList &keys)
{
    return (kind == AppState::DrillKind::Consolidation ? QStringLiteral("Закрепление: ")
                                                       : QStringLiteral("Работа над ошибками: "))
           + names(keys);
}

QString offer(const QStringList &keys)
{
    return QStringLiteral("Закрепить: ") + names(keys);
}

QString outcome(const Drill::KeyOutcome &o)
{
    QString line = Characters::capitalized(keyName(o.key)) + QStringLiteral(" — ");
    if (o.strokes == 0)
        line += QStringLiteral("не было в тренировке");
    else
        line += QStringLiteral("точность ") + FigureText::percent(double(o.right) / double(o.strokes))
                + QStringLiteral(" (") + RussianPlural::counted(o.strokes, RussianPlural::stroke)
                + QStringLiteral(")");
    if (o.strokesBefore == 0)
        return line + QStringLiteral(", впервые");
    return line + QStringLiteral(", до тренировки ")
           + FigureText::percent(double(o.rightBefore) / double(o.strokesBefore));
}

} // namespace DrillText
