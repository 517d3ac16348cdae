// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Numbers meeting nouns in Russian: every screen counts through here, so that
// "1 урок", "3 урока" and "5 уроков" agree everywhere.
namespace RussianPlural {

// A noun's three forms: for 1 (21, 101 …), for 2–4 (22, 104 …) and for the
// rest (0, 5–20, 111 …).
struct Noun
{
    const char16_t *one;
    const char16_t *few;
    const char16_t *many;
};

inline constexpr Noun lesson{u"урок", u"урока", u"уроков"};
inline constexpr Noun fragment{u"фрагмент", u"фрагмента", u"фрагментов"};
inline constexpr Noun sign{u"знак", u"знака", u"знаков"};
inline constexpr Noun day{u"день", u"дня", u"дней"};
inline constexpr Noun key{u"клавиша", u"клавиши", u"клавиш"};
inline constexpr Noun exercise{u"упражнение", u"упражнения", u"упражнений"};
inline constexpr Noun minute{u"минута", u"минуты", u"минут"};
inline constexpr Noun hour{u"час", u"часа", u"часов"};
inline constexpr Noun stroke{u"нажатие", u"нажатия", u"нажатий"};

// The form of `noun` that goes with `n` (negative counts as its magnitude).
[[nodiscard]] QString form(qint64 n, const Noun &noun);
// "3 урока": the number, a space and the agreeing form.
[[nodiscard]] QString counted(qint64 n, const Noun &noun);

} // namespace RussianPlural
