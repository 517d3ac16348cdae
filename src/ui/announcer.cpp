// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "announcer.h"

#include "item_accessibility.h"

#include <QAccessible>

Announcer::Announcer(QQuickItem *parent) : QQuickItem(parent)
{
    ItemAccessibility::install();
}

void Announcer::announce(const QString &text)
{
    m_text = text;
    Q_EMIT announced();
    // The name first: a reader keeps what it was told of an object, and
    // would read the old announcement out of its cache.
    QAccessibleEvent renamed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}
