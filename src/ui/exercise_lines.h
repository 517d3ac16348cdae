// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "accessible_text.h"
#include "exercise_text.h"

#include <QPointer>
#include <QQmlEngine>
#include <QQuickItem>

// The block of painted exercise lines (TextLineItem children) as one
// read-only text for screen readers: the lines shown, the caret on the
// character to type, the finger hint as its description. A keystroke's
// changes reach the reader as text-changed and caret-moved events, sent once
// the keystroke has been handled, never from inside it. It takes the
// keyboard focus whenever it comes on screen, so a reader follows its caret.
class ExerciseLines : public QQuickItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(ExerciseText *exercise READ exercise WRITE setExercise NOTIFY exerciseChanged)

public:
    explicit ExerciseLines(QQuickItem *parent = nullptr);

    [[nodiscard]] ExerciseText *exercise() const { return m_exercise; }
    void setExercise(ExerciseText *exercise);

    // What a reader is shown now.
    [[nodiscard]] AccessibleText accessibleText() const;
    [[nodiscard]] QString hint() const;

Q_SIGNALS:
    void exerciseChanged();

protected:
    void componentComplete() override;
    void itemChange(ItemChange change, const ItemChangeData &data) override;

private:
    void changed();
    void report();

    QPointer<ExerciseText> m_exercise;
    QList<QMetaObject::Connection> m_connections;
    AccessibleText m_reported; // as the reader last heard of it
    QString m_reportedHint;
    bool m_posted = false;
};
