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
        for (const auto signal :
             {&ExerciseText::text0Changed, &ExerciseText::text1Changed, &ExerciseText::text2Changed,
              &ExerciseText::styles0Changed, &ExerciseText::nextKeyChanged})
            m_connections << connect(exercise, signal, this, &ExerciseLines::changed);
    }
    changed();
    Q_EMIT exerciseChanged();
}

AccessibleText ExerciseLines::accessibleText() const
{
    if (!m_exercise)
        return {};
    const QList<QStringList> lines{Characters::split(m_exercise->text0()),
                                   Characters::split(m_exercise->text1()),
                                   Characters::split(m_exercise->text2())};
    // The caret is styled in the first line; without one everything shown is typed.
    const qsizetype caret = m_exercise->styles0().styles.indexOf(CharStyle::caret);
    const qsizetype all = lines[0].size() + lines[1].size() + lines[2].size();
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
