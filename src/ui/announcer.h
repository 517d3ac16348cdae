// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QQmlEngine>
#include <QQuickItem>

// Where the window tells a screen reader what just happened (a wrong key, the
// layout warning, a new exercise, the result): an invisible notification
// whose every announcement renames it and shows it anew. Qt 6.4 sends no
// AT-SPI event for QAccessible::Alert and has no announcement event, but a
// notification that becomes showing is what Orca speaks at once, whatever
// has the focus.
class Announcer : public QQuickItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString text READ text NOTIFY announced)

public:
    explicit Announcer(QQuickItem *parent = nullptr);

    [[nodiscard]] const QString &text() const { return m_text; }
    // Tells `text`, also when it is the same as the last one.
    Q_INVOKABLE void announce(const QString &text);

Q_SIGNALS:
    void announced();

private:
    QString m_text;
};
