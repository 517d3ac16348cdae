// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

// One paragraph of classic Russian prose for the prose lesson. Only the text
// is typed; author and title document where it comes from.
struct Excerpt
{
    qint64 number = 0; // 1…8, its position counted from 1
    QString author;    // given name and surname
    QString title;
    QString text; // one line, typed exactly as stored

    friend bool operator==(const Excerpt &, const Excerpt &) = default;
};

namespace Prose {

// Eight paragraphs by seven writers (the 2nd and the 5th share one), quoted as
// published. Built once on first use (thread-safe) and never changed.
[[nodiscard]] const QList<Excerpt> &excerpts();

} // namespace Prose
