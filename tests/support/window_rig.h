// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app_rig.h"
#include "characters.h"
#include "theme.h"

#include <QImage>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

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
        engine.setInitialProperties(
            {{QStringLiteral("app"), QVariant::fromValue(rig.app.get())}});
        // The module lives in the resources, under qrc:/Olvi.
        engine.addImportPath(QStringLiteral("qrc:/"));
        engine.load(QUrl(QStringLiteral("qrc:/Olvi/Main.qml")));
        if (!engine.rootObjects().isEmpty())
            window = qobject_cast<QQuickWindow *>(engine.rootObjects().first());
    }

    [[nodiscard]] bool ready() const { return window && QTest::qWaitForWindowExposed(window); }

    // An item by object name, searched through the visual tree (delegates of
    // repeaters are not QObject children of their view).
    [[nodiscard]] QQuickItem *find(const QString &name) const
    {
        return window ? findIn(window->contentItem(), name) : nullptr;
    }

    static QQuickItem *findIn(QQuickItem *item, const QString &name)
    {
        if (item->objectName() == name)
            return item;
        const auto children = item->childItems();
        for (QQuickItem *child : children) {
            if (QQuickItem *found = findIn(child, name))
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
        if (!item || !item->isVisible())
            return false;
        QTest::mouseClick(window, Qt::LeftButton, {}, centre(item));
        return true;
    }

    void type(const QString &text) const
    {
        for (const QString &ch : Characters::split(text))
            QTest::sendKeyEvent(QTest::Click, window, Qt::Key(0), ch, Qt::NoModifier);
    }

    void press(Qt::Key key, const QString &text = {}, Qt::KeyboardModifiers mods = {}) const
    {
        QTest::sendKeyEvent(QTest::Click, window, key, text, mods);
    }

    [[nodiscard]] QImage grab() const { return window->grabWindow(); }
};
