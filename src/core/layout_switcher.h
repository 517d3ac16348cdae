// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <optional>

class InputSourceProvider;
struct InputSource;

// Keeps the system's keyboard layout Russian while an exercise is typed.
// Silent by design: when nothing can be switched, the engine's wrong-layout
// warning is the user's guide.
class LayoutSwitcher
{
public:
    explicit LayoutSwitcher(InputSourceProvider &sources) : m_sources(sources) {}

    // Selects a Russian source unless one is selected already.
    void enforceRussian();
    // Selects the first enabled Russian source that may be selected,
    // remembering the learner's layout it replaces.
    void switchToRussian();
    // Selects the learner's layout again (the one a switch to Russian
    // replaced), unless someone has chosen another layout since; waits until
    // the system has it, for the process may end next.
    void restoreLearnerLayout();
    // Whether switchToRussian() has a source to select: false when the
    // sources cannot be listed (no backend) or none is Russian and selectable.
    [[nodiscard]] bool canSelectRussian() const;
    // Whether the sources are listed and none of them is Russian: then there
    // is no layout the user could turn on either.
    [[nodiscard]] bool russianMissing() const;

    // Its name says Russian in English, or its code is "ru" (the name may be
    // translated).
    [[nodiscard]] static bool isRussian(const InputSource &source);

    [[nodiscard]] InputSourceProvider &sources() const { return m_sources; }

private:
    // The index of the first enabled Russian source that may be selected.
    [[nodiscard]] std::optional<qsizetype> russianToSelect() const;

    InputSourceProvider &m_sources;
    // The learner's layout before Olvi's last switch, and the one switched to.
    std::optional<qsizetype> m_learnerSource;
    std::optional<qsizetype> m_selected;
};
