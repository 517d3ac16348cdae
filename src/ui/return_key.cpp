// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "return_key.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace {

// Return, or Enter on the keypad, without a modifier that makes it a chord.
bool isReturn(const QKeyEvent &key)
{
    return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)
           && (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

} // namespace

ReturnKey::ReturnKey(QObject *control) : QObject(control)
{
    control->installEventFilter(this);
}

ReturnKey *ReturnKey::qmlAttachedProperties(QObject *control)
{
    return new ReturnKey(control);
}

void ReturnKey::setClicks(bool clicks)
{
    if (clicks == m_clicks)
        return;
    m_clicks = clicks;
    Q_EMIT clicksChanged();
}

bool ReturnKey::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (!m_clicks
        || (type != QEvent::KeyPress && type != QEvent::KeyRelease
            && type != QEvent::ShortcutOverride))
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (!isReturn(*key))
        return false;
    key->accept();
    if (type == QEvent::ShortcutOverride)
        return true; // the focused control's key, not a shortcut's
    QKeyEvent space(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), key->isAutoRepeat());
    QCoreApplication::sendEvent(watched, &space);
    return true;
}
