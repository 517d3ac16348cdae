// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "theme.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPointer>

namespace {
QPointer<Theme> s_instance;
}

Theme::Theme(QObject *parent) : QObject(parent) {}

Theme::~Theme() = default;

Theme *Theme::instance()
{
    if (!s_instance)
        s_instance = new Theme(qGuiApp);
    return s_instance;
}

Theme *Theme::create(QQmlEngine *, QJSEngine *)
{
    Theme *theme = instance();
    // The instance belongs to the application, not to any one QML engine.
    QQmlEngine::setObjectOwnership(theme, QQmlEngine::CppOwnership);
    return theme;
}

const ThemePalette &Theme::palette() const
{
    return m_dark ? ThemePalette::dark() : ThemePalette::light();
}

void Theme::setAppearance(std::optional<Appearance> appearance)
{
    m_appearance = appearance;
    update();
}

void Theme::setSystemDark(bool dark)
{
    m_systemDark = dark;
    update();
}

void Theme::update()
{
    bool dark = m_systemDark;
    if (m_appearance == Appearance::light)
        dark = false;
    else if (m_appearance == Appearance::dark)
        dark = true;
    if (dark == m_dark)
        return;
    m_dark = dark;
    Q_EMIT paletteChanged();
}

QColor Theme::zoneBar(int finger) const
{
    const auto f = fingerFromRaw(finger);
    return f ? zoneBarColor(*f) : QColor(Qt::gray);
}

QColor Theme::zoneTint(int finger) const
{
    const auto f = fingerFromRaw(finger);
    return f ? zoneTintColor(*f, m_dark) : QColor(Qt::gray);
}

QString Theme::monoFamily() const
{
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

QString Theme::serifFamily() const
{
    return QStringLiteral("serif");
}

QString Theme::uiFamily() const
{
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

QColor Theme::inkAt(double opacity) const
{
    QColor c = palette().ink;
    c.setAlphaF(float(opacity));
    return c;
}

QColor Theme::accentAt(double opacity) const
{
    QColor c = palette().accent;
    c.setAlphaF(float(opacity));
    return c;
}
