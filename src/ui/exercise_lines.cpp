// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise_lines.h"

#include "characters.h"
#include "exercise_text.h"
#include "item_accessibility.h"

ExerciseLines::ExerciseLines(QQuickItem *parent) : QQuickItem(parent)
{
    ItemAccessibility::install();
    setActiveFocusOnTab(true);
}

void ExerciseLines::setExercise(ExerciseText *exercise)
{
    if (m_exercise == exercise)
        return;
    for (const auto &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_exercise = exercise;
    if (exercise) {
        m_connections << connect(exercise->lines(), &QAbstractItemModel::dataChanged, this,
                                 &ExerciseLines::changed)
                      << connect(exercise, &ExerciseText::nextKeyChanged, this,
                                 &ExerciseLines::changed);
    }
    changed();
    Q_EMIT exerciseChanged();
}

AccessibleText ExerciseLines::accessibleText() const
{
    if (!m_exercise)
        return {};
    const ExerciseLineModel &model = m_exercise->lineModel();
    QList<QStringList> lines;
    qsizetype all = 0;
    for (int row = 0; row < ExerciseLineModel::count; ++row)
        all += lines.emplace_back(Characters::split(model.text(row))).size();
    // The caret is styled in the first line; without one everything shown is typed.
    const qsizetype caret = model.styles(0).styles.indexOf(CharStyle::caret);
    return AccessibleText(lines, int(caret >= 0 ? caret : all));
}

QString ExerciseLines::hint() const
{
    return m_exercise ? m_exercise->nextKey().hint().trimmed() : QString();
}

void ExerciseLines::changed()
{
    // Nobody listens: nothing to tell, and a reader that starts later asks.
    if (!QAccessible::isActive() || std::exchange(m_posted, true))
        return;
    QMetaObject::invokeMethod(this, &ExerciseLines::report, Qt::QueuedConnection);
}

void ExerciseLines::report()
{
    m_posted = false;
    const AccessibleText now = accessibleText();
    const QString hint = this->hint();
    if (now.text() != m_reported.text()) {
        QAccessibleTextUpdateEvent event(this, 0, m_reported.text(), now.text());
        QAccessible::updateAccessibility(&event);
    }
    if (now.text() != m_reported.text() || now.caretOffset() != m_reported.caretOffset()) {
        QAccessibleTextCursorEvent event(this, now.caretOffset());
        QAccessible::updateAccessibility(&event);
    }
    if (hint != m_reportedHint) {
        QAccessibleEvent event(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
    }
    m_reported = now;
    m_reportedHint = hint;
}

void ExerciseLines::componentComplete()
{
    QQuickItem::componentComplete();
    if (isVisible())
        forceActiveFocus();
}

void ExerciseLines::itemChange(ItemChange change, const ItemChangeData &data)
{
    QQuickItem::itemChange(change, data);
    // Where the learner types is where the keyboard focus is: a screen reader
    // follows the caret of the focused text only.
    if (change == ItemVisibleHasChanged && data.boolValue && isComponentComplete())
        forceActiveFocus();
}
