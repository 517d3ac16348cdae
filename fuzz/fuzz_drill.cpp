// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Reads arbitrary bytes as a profile file and makes from whatever is accepted
// the drill (its focus keys and its text) and a course exercise: the learner's
// own file is read without the import's range checks, so every count and
// average in it must be survivable by the arithmetic that ranks and weighs
// keys.
#include "characters.h"
#include "course.h"
#include "drill.h"
#include "generator.h"
#include "key_confidence.h"
#include "profile_json.h"

#include <QHash>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

void fail(const char *what)
{
    std::fprintf(stderr, "drill: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto profile = ProfileJson::decode(bytes);
    if (!profile)
        return 0;

    // A fixed day: the file's own days then lie anywhere around it.
    const QDate today(2026, 1, 6);
    for (const KeyStat &stat : profile->keyStats) {
        const KeyConfidence c = KeyConfidence::of(stat, today);
        if (!(c.errorRate >= 0.0 && c.errorRate <= 1.0) || !(c.evidence >= 0.0))
            fail("a key's confidence is out of range");
    }
    const QStringList targets = Drill::targets(*profile);
    const QStringList focus = Drill::focusKeys(*profile, today);
    if (focus.isEmpty() || focus.size() > Drill::maxFocusKeys)
        fail("no focus keys, or too many");
    for (const QString &key : focus) {
        if (!targets.contains(key))
            fail("a focus key the course has not taught");
    }
    (void)Drill::offered(*profile);
    (void)Drill::needed(*profile, today);
    (void)Drill::consolidation(Course::lesson(profile->currentLessonID), *profile, today);

    // Seeded from the input, so that a crash replays.
    QRandomGenerator rng(quint32(qHash(bytes)));
    const QString text = Drill::exercise(focus, *profile, today, rng);
    // A dash opens the item it belongs to: "— слово".
    for (const QString &item : QString(text).replace(u"— "_s, u"—"_s).split(u' ')) {
        const QStringList chars = Characters::split(item);
        const auto holds = [&](const QString &key) {
            if (key == Drill::shiftKey)
                return Characters::isUpper(chars.value(0))
                       || (chars.size() > 1 && Characters::isUpper(chars.at(1)));
            return Characters::lower(item).contains(key);
        };
        if (std::none_of(focus.cbegin(), focus.cend(), holds))
            fail("an item of the drill holds no focus key");
    }
    (void)Generator::exercise(Course::lesson(profile->currentLessonID), *profile, rng);
    return 0;
}
