// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <optional>

// One keyboard layout (input source) the user has enabled.
struct InputSource
{
    // The name the system gives it, e.g. "Russian" or "English (US)"; some
    // systems give it in the desktop's language ("Русская").
    QString identifier;
    // Whether it can be selected; unknown when the system does not say.
    std::optional<bool> selectCapable;
    // The layout's code, e.g. "ru", which stays the same in every language;
    // empty where the system gives none.
    QString shortName = {};

    friend bool operator==(const InputSource &, const InputSource &) = default;
};

// The system's keyboard layouts, as far as Olvi needs them. Implemented per
// platform; every failure is reported as "nothing" rather than an error.
class InputSourceProvider : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // The enabled sources in the system's order, or nothing when they cannot
    // be listed.
    [[nodiscard]] virtual std::optional<QList<InputSource>> enabledSources() const = 0;
    // Index into enabledSources() of the source now selected, or nothing.
    [[nodiscard]] virtual std::optional<qsizetype> currentIndex() const = 0;
    // Asks the system to select the source at `index` of enabledSources().
    virtual void select(qsizetype index) = 0;
    // Returns once what was asked of the system has reached it (a selection
    // made just before the process ends must not be lost on the way).
    virtual void settle() {}

Q_SIGNALS:
    // The selected source changed (by anyone); delivered on the UI thread.
    void currentSourceChanged();
};
