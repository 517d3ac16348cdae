// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QQmlEngine>

// Return and keypad Enter work a control of the kit as Space does. Qt 6.4's
// templates press a button on Space alone (a menu item takes Return too), so
// the two keys are handed to the control as Space: the template itself
// presses, releases, toggles and clicks, as for Space. While the control has
// the focus it also keeps Return from a window's shortcut, so the focused
// control is the one worked. In a kit file: `ReturnKey.clicks: true`.
class ReturnKey : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_ATTACHED(ReturnKey)
    QML_UNCREATABLE("An attached property of the kit's controls.")
    Q_PROPERTY(bool clicks READ clicks WRITE setClicks NOTIFY clicksChanged)

public:
    explicit ReturnKey(QObject *control);

    [[nodiscard]] bool clicks() const { return m_clicks; }
    void setClicks(bool clicks);

    [[nodiscard]] static ReturnKey *qmlAttachedProperties(QObject *control);

Q_SIGNALS:
    void clicksChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_clicks = false;
};
