// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile_merge.h"

#include "characters.h"
#include "course.h"
#include "manuscript.h"
#include "russian_layout.h"

#include <algorithm>
#include <tuple>

namespace ProfileMerge {
namespace {

// Every field takes part so that two different records never tie: which one
// wins must not depend on which side it came from.
// The unknown members last, so that they only break a tie of the known fields.
const auto keys = [](const auto &s) { return s.extraMembers.keys(); };
const auto values = [](const auto &s) { return s.extraMembers.values(); };

bool fuller(const DayStat &a, const DayStat &b)
{
    return std::tuple(a.chars, a.errors, a.seconds, a.bestSpeed, keys(a), values(a))
           > std::tuple(b.chars, b.errors, b.seconds, b.bestSpeed, keys(b), values(b));
}

bool fuller(const KeyStat &a, const KeyStat &b)
{
    return std::tuple(a.attempts, a.errors, a.errEMA, a.latencyEMA, a.recent, a.lastDay, keys(a),
                      values(a))
           > std::tuple(b.attempts, b.errors, b.errEMA, b.latencyEMA, b.recent, b.lastDay, keys(b),
                        values(b));
}

template<typename Map>
void keepFuller(Map &into, const Map &from)
{
    for (auto it = from.cbegin(); it != from.cend(); ++it) {
        const auto found = into.constFind(it.key());
        if (found == into.cend() || fuller(it.value(), found.value()))
            into.insert(it.key(), it.value());
    }
}

QMap<QString, DayStat> byDate(const QList<DayStat> &days)
{
    QMap<QString, DayStat> map;
    for (const DayStat &d : days)
        keepFuller(map, QMap<QString, DayStat>{{d.date, d}});
    return map;
}

bool inRange(double value, double low, double high)
{
    return value >= low && value <= high; // false for NaN as well
}

template<typename Map>
qsizetype unknownBytes(const Map &members)
{
    qsizetype bytes = 0;
    for (auto it = members.cbegin(); it != members.cend(); ++it)
        bytes += it.key().size() + it.value().size();
    return bytes;
}

// A key as ProfileData::recordKey writes it for a character some key of the
// layout types, or Shift's own entry.
bool recordedKey(const QString &key)
{
    if (key == KeyStat::shiftKey)
        return true;
    return Characters::count(key) == 1 && key == Characters::canonical(Characters::lower(key))
           && RussianLayout::typedAs(key) == key && RussianLayout::canType(key);
}

} // namespace

Refusal check(const ProfileData &incoming, QDate today)
{
    qsizetype unknown = unknownBytes(incoming.extraMembers);
    for (const KeyStat &s : incoming.keyStats)
        unknown += unknownBytes(s.extraMembers);
    for (const DayStat &d : incoming.days)
        unknown += unknownBytes(d.extraMembers);
    const QString text = incoming.manuscript.value_or(QString());
    if (unknown > maxUnknownBytes || Characters::count(text) > Manuscript::maxLength)
        return Refusal::tooMuch;

    const QStringList keys = incoming.keyStats.keys();
    if (!std::all_of(keys.cbegin(), keys.cend(), recordedKey))
        return Refusal::unknownKey;

    const qint64 lessonCount = Course::lessons().size();
    const qint64 fragments = Manuscript::chunks(text).size();
    bool sound = incoming.currentLessonID >= 1 && incoming.currentLessonID <= lessonCount
                 && incoming.manuscriptChunk.value_or(0) >= 0
                 && incoming.manuscriptChunk.value_or(0) <= std::max<qint64>(fragments - 1, 0);
    for (auto it = incoming.exercisesPassed.cbegin(); it != incoming.exercisesPassed.cend(); ++it)
        sound = sound && it.key() >= 1 && it.key() <= lessonCount && it.value() >= 0;
    for (const KeyStat &s : incoming.keyStats) {
        sound = sound && s.errors >= 0 && s.errors <= s.attempts && inRange(s.errEMA, 0, 1)
                && inRange(s.latencyEMA, 0, 1e9) && s.recent.size() <= s.attempts
                && s.recent.count(u'1') <= s.errors;
    }
    for (const DayStat &d : incoming.days) {
        sound = sound && dateForDayKey(d.date) && d.chars >= 0 && d.errors >= 0
                && (d.chars > 0 || d.errors == 0) && inRange(d.seconds, 0, 1e12)
                && inRange(d.bestSpeed, 0, 1e9);
    }
    if (!sound)
        return Refusal::outOfRange;

    const QDate tomorrow = today.addDays(1);
    for (const DayStat &d : incoming.days) {
        if (*dateForDayKey(d.date) > tomorrow)
            return Refusal::futureDay;
    }
    return Refusal::none;
}

ProfileData merge(const ProfileData &here, const ProfileData &incoming)
{
    ProfileData merged = here;

    QMap<QString, DayStat> days = byDate(here.days);
    keepFuller(days, byDate(incoming.days));
    merged.days = days.values(); // "yyyy-MM-dd" sorts by date
    if (merged.days.size() > ProfileData::maxDays)
        merged.days.remove(0, merged.days.size() - ProfileData::maxDays);

    keepFuller(merged.keyStats, incoming.keyStats);

    for (auto it = incoming.exercisesPassed.cbegin(); it != incoming.exercisesPassed.cend(); ++it)
        merged.exercisesPassed[it.key()] = std::max(merged.exercisesPassed.value(it.key()), it.value());
    merged.currentLessonID = std::max(here.currentLessonID, incoming.currentLessonID);

    if (!here.manuscript || here.manuscript->isEmpty()) {
        merged.manuscript = incoming.manuscript;
        merged.manuscriptChunk = incoming.manuscriptChunk;
    }

    merged.extraMembers = incoming.extraMembers;
    merged.extraMembers.insert(here.extraMembers);
    return merged;
}

Effect effect(const ProfileData &here, const ProfileData &merged)
{
    Effect e;
    const QMap<QString, DayStat> before = byDate(here.days);
    for (const DayStat &d : merged.days) {
        const auto found = before.constFind(d.date);
        if (found == before.cend())
            ++e.newDays;
        else if (!(found.value() == d))
            ++e.fullerDays;
    }
    e.newlyCompleted = (merged.completedLessons() - here.completedLessons()).size();
    for (auto it = merged.keyStats.cbegin(); it != merged.keyStats.cend(); ++it)
        e.betterKeys += here.keyStats.value(it.key(), KeyStat{-1}) == it.value() ? 0 : 1;
    e.courseMoves = merged.currentLessonID != here.currentLessonID;
    e.manuscriptArrives = merged.manuscript != here.manuscript;
    const QMap<QString, DayStat> after = byDate(merged.days);
    for (const DayStat &d : here.days)
        e.droppedDays += after.contains(d.date) ? 0 : 1;
    return e;
}

} // namespace ProfileMerge
