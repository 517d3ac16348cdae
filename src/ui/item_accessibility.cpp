// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "item_accessibility.h"

#include "announcer.h"
#include "exercise_lines.h"
#include "text_line_item.h"

#include <QAccessibleObject>
#include <QQuickWindow>

namespace {

// What the window's own items share: a place in the item tree's accessible
// tree, and no accessible children.
class ItemAccessible : public QAccessibleObject
{
public:
    explicit ItemAccessible(QQuickItem *item) : QAccessibleObject(item) {}

    [[nodiscard]] QQuickItem *item() const { return static_cast<QQuickItem *>(object()); }

    QWindow *window() const override { return item()->window(); }

    // The nearest ancestor with an interface of its own (an item with
    // Accessible properties), or the window: where Qt Quick's own tree
    // lists this item among its children.
    QAccessibleInterface *parent() const override
    {
        QQuickWindow *window = item()->window();
        for (QQuickItem *p = item()->parentItem(); p; p = p->parentItem()) {
            if (window && p == window->contentItem())
                break;
            if (QAccessibleInterface *a = QAccessible::queryAccessibleInterface(p))
                return a;
        }
        return window ? QAccessible::queryAccessibleInterface(window) : nullptr;
    }

    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QRect rect() const override
    {
        const QQuickItem *i = item();
        if (!i->window())
            return {};
        const QRectF scene = i->mapRectToScene(QRectF(0, 0, i->width(), i->height()));
        return QRect(i->window()->mapToGlobal(scene.topLeft().toPoint()), scene.size().toSize());
    }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.invisible = !item()->isVisible();
        s.offscreen = s.invisible;
        return s;
    }
};

// The exercise lines: a read-only, multi-line text with a caret.
class ExerciseLinesAccessible final : public ItemAccessible, public QAccessibleTextInterface
{
public:
    explicit ExerciseLinesAccessible(ExerciseLines *lines) : ItemAccessible(lines) {}

    [[nodiscard]] ExerciseLines *lines() const { return static_cast<ExerciseLines *>(item()); }
    [[nodiscard]] AccessibleText now() const { return lines()->accessibleText(); }

    QAccessible::Role role() const override { return QAccessible::EditableText; }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name: return QStringLiteral("Текст упражнения");
        case QAccessible::Description: return lines()->hint();
        case QAccessible::Value: return now().text();
        default: return {};
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = ItemAccessible::state();
        s.focusable = true;
        s.focused = item()->hasActiveFocus();
        s.readOnly = true;
        s.multiLine = true;
        s.selectableText = true;
        return s;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface *>(this)
                                                  : nullptr;
    }

    // Nothing can be selected in a text that is only typed.
    void selection(int, int *start, int *end) const override { *start = *end = -1; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    // The caret is where the learner types; only typing moves it.
    int cursorPosition() const override { return now().caretOffset(); }
    void setCursorPosition(int) override {}
    int characterCount() const override { return now().length(); }
    QString text(int start, int end) const override { return now().slice(start, end); }

    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int *start,
                         int *end) const override
    {
        const AccessibleText t = now();
        return answer(t, t.unitAt(offset, unit(boundary)), start, end);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int *start,
                             int *end) const override
    {
        const AccessibleText t = now();
        return answer(t, t.unitBefore(offset, unit(boundary)), start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int *start,
                            int *end) const override
    {
        const AccessibleText t = now();
        return answer(t, t.unitAfter(offset, unit(boundary)), start, end);
    }

    // Where a character is painted, for magnifiers and pointer review.
    QRect characterRect(int offset) const override
    {
        const AccessibleText t = now();
        if (offset < 0 || offset >= t.length())
            return {};
        int i = t.characterAt(offset);
        for (const TextLineItem *line : paintedLines()) {
            const int count = line->characterCount();
            if (i < count) {
                const QRectF r = line->characterRect(i);
                const QRectF scene = line->mapRectToScene(r);
                return QRect(line->window()->mapToGlobal(scene.topLeft().toPoint()),
                             scene.size().toSize());
            }
            i -= count;
        }
        return {};
    }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *start, int *end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    static AccessibleText::Unit unit(QAccessible::TextBoundaryType boundary)
    {
        switch (boundary) {
        case QAccessible::CharBoundary: return AccessibleText::Unit::character;
        case QAccessible::WordBoundary: return AccessibleText::Unit::word;
        case QAccessible::LineBoundary: return AccessibleText::Unit::line;
        default: return AccessibleText::Unit::all;
        }
    }
    static QString answer(const AccessibleText &t, std::pair<int, int> range, int *start, int *end)
    {
        *start = range.first;
        *end = range.second;
        return range.first < 0 ? QString() : t.slice(range.first, range.second);
    }
    // The painted lines, top to bottom, those with text.
    [[nodiscard]] QList<const TextLineItem *> paintedLines() const
    {
        QList<const TextLineItem *> found;
        QList<QQuickItem *> todo{item()};
        while (!todo.isEmpty()) {
            QQuickItem *i = todo.takeFirst();
            if (const auto *line = qobject_cast<const TextLineItem *>(i))
                found << line;
            todo << i->childItems();
        }
        std::sort(found.begin(), found.end(), [](const TextLineItem *a, const TextLineItem *b) {
            return a->mapToScene({}).y() < b->mapToScene({}).y();
        });
        return found;
    }
};

// A notification whose name is the last announcement.
class AnnouncerAccessible final : public ItemAccessible
{
public:
    explicit AnnouncerAccessible(Announcer *announcer) : ItemAccessible(announcer) {}

    QAccessible::Role role() const override { return QAccessible::Notification; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? static_cast<Announcer *>(item())->text() : QString();
    }
    QAccessible::State state() const override { return {}; }
};

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (className == QLatin1StringView(ExerciseLines::staticMetaObject.className()))
        return new ExerciseLinesAccessible(static_cast<ExerciseLines *>(object));
    if (className == QLatin1StringView(Announcer::staticMetaObject.className()))
        return new AnnouncerAccessible(static_cast<Announcer *>(object));
    return nullptr;
}

} // namespace

namespace ItemAccessibility {

void install()
{
    static const bool installed = [] {
        QAccessible::installFactory(&factory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace ItemAccessibility
