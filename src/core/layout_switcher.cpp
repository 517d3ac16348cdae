// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout_switcher.h"

#include "input_source_provider.h"

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

void LayoutSwitcher::switchToRussian()
{
    const auto sources = m_sources.enabledSources();
    if (!sources)
        return;
    for (qsizetype i = 0; i < sources->size(); ++i) {
        const InputSource &s = sources->at(i);
        if (!isRussian(s))
            continue;
        if (s.selectCapable.value_or(true)) {
            m_sources.select(i);
            return;
        }
    }
}
