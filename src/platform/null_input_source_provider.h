// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "input_source_provider.h"

// For desktops where Olvi cannot see or switch layouts (Wayland outside
// Plasma): it lists nothing, so nothing is ever switched.
class NullInputSourceProvider final : public InputSourceProvider
{
    Q_OBJECT

public:
    using InputSourceProvider::InputSourceProvider;

    [[nodiscard]] std::optional<QList<InputSource>> enabledSources() const override
    {
        return std::nullopt;
    }
    [[nodiscard]] std::optional<qsizetype> currentIndex() const override { return std::nullopt; }
    void select(qsizetype) override {}
};
