// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile_data.h"

#include "characters.h"
#include "course.h"

#include <QLocale>
#include <QtNumeric>

#include <algorithm>
#include <limits>

QString appearanceRawValue(Appearance appearance)
{
    switch (appearance) {
    case Appearance::system: return QStringLiteral("system");
    case Appearance::light: return QStringLiteral("light");
    case Appearance::dark: return QStringLiteral("dark");
    }
    return {};
}

std::optional<Appearance> appearanceFromRaw(QStringView raw)
{
    for (Appearance a : allAppearances()) {
        if (raw == appearanceRawValue(a))
            return a;
    }
    return std::nullopt;
}

QList<Appearance> allAppearances()
{
    return {Appearance::system, Appearance::light, Appearance::dark};
}

QString dayKeyForDate(QDate date)
{
    return QLocale::c().toString(date, QStringLiteral("yyyy-MM-dd"));
}

std::optional<QDate> dateForDayKey(QStringView key)
{
    const QDate date = QLocale::c().toDate(key.toString(), QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        return std::nullopt;
    return date;
}

qint64 saturatingAdd(qint64 a, qint64 b)
{
    qint64 sum = 0;
    if (!qAddOverflow(a, b, &sum))
        return sum;
    return b > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
}

QSet<qint64> ProfileData::completedLessons() const
{
    QSet<qint64> done;
    for (auto it = exercisesPassed.cbegin(); it != exercisesPassed.cend(); ++it) {
        if (it.value() >= passesToComplete)
            done.insert(it.key());
    }
    return done;
}

bool ProfileData::recordPass(qint64 id)
{
    // Held at the limit: a wrapped count would drop a completed lesson.
    const qint64 n = saturatingAdd(exercisesPassed.value(id, 0), 1);
    exercisesPassed.insert(id, n);
    if (n < passesToComplete || id != currentLessonID || id >= Course::lessons().size())
        return false;
    currentLessonID = id + 1;
    return true;
}

void ProfileData::recordDay(const QString &day, qint64 chars, qint64 errors, double seconds,
                            double speed)
{
    const auto record = std::find_if(days.begin(), days.end(),
                                     [&day](const DayStat &d) { return d.date == day; });
    if (record != days.end()) {
        record->chars = saturatingAdd(record->chars, chars);
        record->errors = saturatingAdd(record->errors, errors);
        record->seconds += seconds;
        if (record->bestSpeed <= speed)
            record->bestSpeed = speed;
        return;
    }
    days.append(DayStat{day, chars, errors, seconds, speed});
    if (days.size() > maxDays)
        days.remove(0, days.size() - maxDays);
}

void ProfileData::recordKey(QStringView expected, bool error, std::optional<double> latency,
                            const QString &day)
{
    KeyStat &stat = keyStats[Characters::canonical(Characters::lower(expected))];
    if (!day.isEmpty())
        stat.lastDay = day;
    stat.attempts = saturatingAdd(stat.attempts, 1);
    if (error)
        stat.errors = saturatingAdd(stat.errors, 1);
    stat.errEMA = stat.errEMA * 0.85 + (error ? 0.15 : 0.0);
    stat.recent.append(error ? u'1' : u'0');
    if (stat.recent.size() > KeyStat::recentCap)
        stat.recent.remove(0, stat.recent.size() - KeyStat::recentCap);
    // Latencies outside (0.05 s, 5 s) are bounces or daydreams, not typing.
    if (latency && *latency > 0.05 && *latency < 5.0) {
        stat.latencyEMA = stat.latencyEMA == 0.0 ? *latency
                                                 : *latency * 0.15 + stat.latencyEMA * 0.85;
    }
}
