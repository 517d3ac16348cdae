// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app_rig.h"
#include "characters.h"
#include "course.h"
#include "theme.h"

#include <QAccessible>
#include <QImage>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

// The course reached `lesson` with `passes` passes of it; every unlocked letter
// typed 60 times with one error, but the keys of `errors` with that many
// (the last of them) and ъ 18 times, too few to be sure of.
inline ProfileData practised(qint64 lesson, qint64 passes, const QMap<QString, int> &errors)
{
    ProfileData p;
    p.currentLessonID = lesson;
    p.exercisesPassed = {{lesson, passes}};
    for (const QString &key : Course::unlockedLetters(lesson)) {
        const int wrong = key == u"ъ" ? 0 : errors.value(key, 1);
        for (int i = 0; i < (key == u"ъ" ? 18 : 60); ++i)
            p.recordKey(key, i >= 60 - wrong, 0.3, QStringLiteral("2026-12-05"));
    }
    return p;
}

// The real main window (Main.qml) on an AppRig, shown offscreen.
struct WindowRig
{
    AppRig rig;
    QQmlApplicationEngine engine;
    QQuickWindow *window = nullptr;

    explicit WindowRig(const std::optional<ProfileData> &profile = std::nullopt) : rig(profile)
    {
        Theme::instance()->setAppearance(std::nullopt);
        Theme::instance()->setSystemDark(false);
        engine.setInitialProperties({{QStringLiteral("app"), QVariant::fromValue(rig.app.get())}});
        engine.addImportPath(QStringLiteral("qrc:/")); // the module lives under qrc:/Olvi
        engine.load(QUrl(QStringLiteral("qrc:/Olvi/Main.qml")));
        window = qobject_cast<QQuickWindow *>(engine.rootObjects().value(0));
    }

    [[nodiscard]] bool ready() const { return window && QTest::qWaitForWindowExposed(window); }

    // An item by object name, searched through the visual tree (delegates of
    // repeaters are not QObject children of their view), the window's overlay
    // of popups included.
    [[nodiscard]] QQuickItem *find(const QString &name, QQuickItem *in = nullptr) const
    {
        in = in ? in : window->contentItem();
        for (QQuickItem *child : in->childItems()) {
            if (QQuickItem *found = child->objectName() == name ? child : find(name, child))
                return found;
        }
        return nullptr;
    }

    // Centre of an item in window coordinates.
    [[nodiscard]] QPoint centre(QQuickItem *item) const
    {
        return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
    }

    // Clicks the middle of a visible item; false when there is none.
    [[nodiscard]] bool click(const QString &name) const
    {
        QQuickItem *item = find(name);
        const bool shown = item && item->isVisible();
        if (shown) // the click may hide or delete it
            QTest::mouseClick(window, Qt::LeftButton, {}, centre(item));
        return shown;
    }

    void type(const QString &text) const
    {
        for (const QString &ch : Characters::split(text))
            press(ch == u" " ? Qt::Key_Space : Qt::Key(0), ch);
    }

    void press(Qt::Key key, const QString &text = {}, Qt::KeyboardModifiers mods = {}) const
    {
        QTest::sendKeyEvent(QTest::Click, window, key, text, mods);
    }

    // Tab until the focus is on what a screen reader calls `name`; false
    // when Tab goes round without reaching it.
    [[nodiscard]] bool tabTo(const QString &name) const
    {
        for (int i = 0; i < 60 && spoken(window->activeFocusItem()) != name; ++i)
            press(Qt::Key_Tab);
        return spoken(window->activeFocusItem()) == name;
    }

    [[nodiscard]] QImage grab() const { return window->grabWindow(); }

    // What a screen reader says an item is: its name, "" without a role.
    [[nodiscard]] static QString spoken(QQuickItem *item)
    {
        QAccessibleInterface *a = item ? QAccessible::queryAccessibleInterface(item) : nullptr;
        const bool role = a && a->role() != QAccessible::NoRole && a->role() != QAccessible::Client;
        return role ? a->text(QAccessible::Name) : QString();
    }
};
