// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusVariant>
#include <QObject>

#include <optional>

// Whether the desktop prefers a dark scheme: the freedesktop appearance
// setting through the settings portal, followed live; without a portal, or
// when the user set no preference, the lightness of the platform palette at
// start-up.
class SystemColorScheme : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool dark READ dark NOTIFY darkChanged)

public:
    explicit SystemColorScheme(QObject *parent = nullptr);

    [[nodiscard]] bool dark() const;

    // The portal's "color-scheme" value: 1 prefers dark, 2 light, 0 (or
    // anything else) states no preference.
    [[nodiscard]] static std::optional<bool> darkFromPortalValue(uint value);

Q_SIGNALS:
    void darkChanged();

private Q_SLOTS:
    void onSettingChanged(const QString &nameSpace, const QString &key, const QDBusVariant &value);

private:
    void setPortalPreference(std::optional<bool> dark);
    void refresh();
    [[nodiscard]] static bool paletteIsDark();

    std::optional<bool> m_portal;
    bool m_dark = false;
};
