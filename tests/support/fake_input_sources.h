// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "input_source_provider.h"

// The system's layouts as a list the test writes, with a log of selections.
class FakeInputSources final : public InputSourceProvider
{
public:
    std::optional<QList<InputSource>> sources = QList<InputSource>{};
    std::optional<qsizetype> current;
    QList<qsizetype> selected;

    [[nodiscard]] std::optional<QList<InputSource>> enabledSources() const override
    {
        return sources;
    }
    [[nodiscard]] std::optional<qsizetype> currentIndex() const override { return current; }
    void select(qsizetype index) override
    {
        selected.append(index);
        switchByUser(index);
    }
    // Another program (or the user) switches the layout; the change is announced.
    void switchByUser(qsizetype index)
    {
        current = index;
        Q_EMIT currentSourceChanged();
    }
};
