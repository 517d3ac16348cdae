// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout_switcher.h"

#include "input_source_provider.h"

#include <algorithm>

bool LayoutSwitcher::isRussian(const InputSource &source)
{
    return source.identifier.contains(u"russian", Qt::CaseInsensitive)
        || source.shortName == u"ru";
}

void LayoutSwitcher::enforceRussian()
{
    const auto current = m_sources.currentIndex();
    if (!current)
        return;
    const auto sources = m_sources.enabledSources();
    if (!sources || *current < 0 || *current >= sources->size())
        return;
    const InputSource &now = sources->at(*current);
    // A source with no name at all is something Olvi cannot judge: leave it.
    if ((now.identifier.isEmpty() && now.shortName.isEmpty()) || isRussian(now))
        return;
    switchToRussian();
}

std::optional<qsizetype> LayoutSwitcher::russianToSelect() const
{
    const auto sources = m_sources.enabledSources();
    if (!sources)
        return std::nullopt;
    const auto found = std::find_if(sources->cbegin(), sources->cend(), [](const InputSource &s) {
        return isRussian(s) && s.selectCapable.value_or(true);
    });
    if (found == sources->cend())
        return std::nullopt;
    return found - sources->cbegin();
}

void LayoutSwitcher::switchToRussian()
{
    const auto index = russianToSelect();
    if (!index)
        return;
    // Switching back after the learner left Russian at a result card: the
    // layout to restore is theirs, never the Russian one Olvi chose before.
    if (const auto current = m_sources.currentIndex(); current && *current != *index)
        m_learnerSource = current;
    m_selected = index;
    m_sources.select(*index);
}

void LayoutSwitcher::restoreLearnerLayout()
{
    if (!m_learnerSource || m_sources.currentIndex() != m_selected)
        return;
    m_sources.select(*m_learnerSource);
    m_sources.settle();
    m_learnerSource.reset();
    m_selected.reset();
}

bool LayoutSwitcher::canSelectRussian() const
{
    return russianToSelect().has_value();
}

bool LayoutSwitcher::russianMissing() const
{
    const auto sources = m_sources.enabledSources();
    return sources && std::none_of(sources->cbegin(), sources->cend(), isRussian);
}
