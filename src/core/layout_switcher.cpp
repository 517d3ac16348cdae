// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout_switcher.h"

#include "input_source_provider.h"

#include <algorithm>

bool LayoutSwitcher::isRussian(QStringView identifier)
{
    return identifier.contains(u"russian", Qt::CaseInsensitive);
}

void LayoutSwitcher::enforceRussian()
{
    const auto current = m_sources.currentIndex();
    if (!current)
        return;
    const auto sources = m_sources.enabledSources();
    if (!sources || *current < 0 || *current >= sources->size())
        return;
    const QString &id = sources->at(*current).identifier;
    if (id.isEmpty() || isRussian(id))
        return;
    switchToRussian();
}

void LayoutSwitcher::switchToRussian()
{
    const auto sources = m_sources.enabledSources();
    if (!sources)
        return;
    for (qsizetype i = 0; i < sources->size(); ++i) {
        const InputSource &s = sources->at(i);
        if (s.identifier.isEmpty() || !isRussian(s.identifier))
            continue;
        if (s.selectCapable.value_or(true)) {
            m_sources.select(i);
            return;
        }
    }
}

bool LayoutSwitcher::canSelectRussian() const
{
    // The same test as switchToRussian(): whatever it would select counts.
    const auto sources = m_sources.enabledSources();
    if (!sources)
        return false;
    return std::any_of(sources->cbegin(), sources->cend(), [](const InputSource &s) {
        return !s.identifier.isEmpty() && isRussian(s.identifier) && s.selectCapable.value_or(true);
    });
}
