// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats_figures.h"

#include "figure_text.h"
#include "russian_plural.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace StatsFigures {

QString speedValue(double speed)
{
    return speed > 0.0 ? FigureText::whole(speed) : QStringLiteral("—");
}

QList<StatsTile> tiles(const ProfileData &profile, const QDateTime &now)
{
    const double speed = ProfileStatistics::recentSpeed(profile);
    const qint64 streak = ProfileStatistics::streak(profile, now);
    QList<StatsTile> tiles{
        {QStringLiteral("Скорость"), speedValue(speed),
         speed > 0.0 ? QStringLiteral("зн/мин") : QString(), speedTrendNote(profile), {}},
        {QStringLiteral("Точность"),
         FigureText::percent(ProfileStatistics::overallAccuracy(profile)), {},
         QStringLiteral("цель — не ниже ") + FigureText::whole(accuracyGoal * 100.0)
             + QStringLiteral(" %"), {}},
        {QStringLiteral("Дней подряд"), QString::number(streak), {},
         QStringLiteral("не прерывайте серию"), {}},
        {QStringLiteral("За клавиатурой"), totalTimeText(profile), {}, firstDayNote(profile), {}},
    };
    // A dash, a bare count and "ч"/"м" are for the eye; the ear gets words.
    const QString figures[] = {
        speed > 0.0 ? tiles[0].value + u' ' + tiles[0].unit : QStringLiteral("ещё не измерена"),
        tiles[1].value,
        RussianPlural::counted(streak, RussianPlural::day),
        totalTimeWords(profile),
    };
    for (qsizetype i = 0; i < tiles.size(); ++i)
        tiles[i].description = figures[i] + QStringLiteral(", ") + tiles[i].note;
    return tiles;
}

QString speedTrendNote(const ProfileData &profile)
{
    const std::optional<double> gain = ProfileStatistics::speedTrend(profile);
    if (!gain)
        return QStringLiteral("первые замеры впереди");
    if (*gain >= 1.0)
        return u'+' + FigureText::whole(*gain) + QStringLiteral(" за неделю");
    return QStringLiteral("держим уровень");
}

QString totalTimeText(const ProfileData &profile)
{
    const qint64 total = ProfileStatistics::totalSeconds(profile);
    const QString minutes = QString::number(total % 3600 / 60) + QStringLiteral(" м");
    if (total < 3600)
        return minutes;
    return QString::number(total / 3600) + QStringLiteral(" ч ") + minutes;
}

QString totalTimeWords(const ProfileData &profile)
{
    const qint64 total = ProfileStatistics::totalSeconds(profile);
    const QString minutes = RussianPlural::counted(total % 3600 / 60, RussianPlural::minute);
    if (total < 3600)
        return minutes;
    return RussianPlural::counted(total / 3600, RussianPlural::hour) + u' ' + minutes;
}

QString firstDayNote(const ProfileData &profile)
{
    if (profile.days.isEmpty())
        return QStringLiteral("начните сегодня");
    return QStringLiteral("с ") + readableDate(profile.days.first().date);
}

QString readableDate(QStringView key)
{
    const std::optional<QDate> date = dateForDayKey(key);
    if (!date)
        return key.toString();
    // Qt's Russian "MMMM" after a day number is the genitive, "6 декабря".
    return QLocale(QLocale::Russian, QLocale::Russia).toString(*date, QStringLiteral("d MMMM"));
}

QDateTime chartFrom(const QList<SpeedPoint> &points)
{
    return points.isEmpty() ? QDateTime() : points.first().day;
}

QDateTime chartTo(const QList<SpeedPoint> &points)
{
    if (points.isEmpty())
        return {};
    // A little room after the last day, so its point mark is not cut in half
    // by the edge of the plot.
    const QDateTime last = points.last().day;
    return last.addMSecs(points.first().day.msecsTo(last) * 3 / 100);
}

int dateTickCount(const QList<SpeedPoint> &points)
{
    // One label per day while the days are few, so no day is named twice.
    const qint64 days = chartFrom(points).date().daysTo(chartTo(points).date());
    return int(std::clamp<qint64>(days + 1, 2, 4));
}

QString lastSpeedText(const QList<SpeedPoint> &points)
{
    return points.isEmpty() ? QString() : FigureText::whole(points.last().speed);
}

QString chartSummary(const QList<SpeedPoint> &points)
{
    if (points.isEmpty())
        return QStringLiteral("Скорость ещё не измерялась");
    const auto [low, high] = std::minmax_element(
        points.cbegin(), points.cend(),
        [](const SpeedPoint &a, const SpeedPoint &b) { return a.speed < b.speed; });
    const QString first = readableDate(points.first().id);
    const QString last = readableDate(points.last().id);
    QString sentence = QStringLiteral("Скорость за ")
                       + RussianPlural::counted(points.size(), RussianPlural::day)
                       + QStringLiteral(" занятий, ");
    if (points.size() == 1)
        return sentence + first + QStringLiteral(": ") + FigureText::whole(low->speed)
               + QStringLiteral(" зн/мин");
    // "с 4 по 6 декабря" within a month, "с 28 ноября по 3 декабря" across one.
    const bool oneMonth = points.first().id.left(7) == points.last().id.left(7);
    sentence += QStringLiteral("с ") + (oneMonth ? first.section(u' ', 0, 0) : first)
                + QStringLiteral(" по ") + last + QStringLiteral(": ");
    const QString lowest = FigureText::whole(low->speed);
    const QString highest = FigureText::whole(high->speed);
    sentence += lowest == highest
                    ? QStringLiteral("каждый день ") + highest + QStringLiteral(" зн/мин")
                    : QStringLiteral("от ") + lowest + QStringLiteral(" до ") + highest
                          + QStringLiteral(" зн/мин, последняя ")
                          + FigureText::whole(points.last().speed);
    return sentence;
}

SpeedAxis speedAxis(const QList<SpeedPoint> &points)
{
    double highest = 0.0;
    for (const SpeedPoint &p : points)
        highest = std::max(highest, p.speed);
    if (!(highest > 0.0))
        return {10.0, 2};
    // A damaged record may hold any finite speed: far outside these bounds the
    // steps below would reach infinity or zero, and the tick count NaN.
    highest = std::clamp(highest, 1e-3, 1e12);
    // About four steps of 1, 2, 2.5 or 5 times a power of ten, with a tenth
    // of headroom for the label over the last point.
    const double top = highest * 1.1;
    const double raw = top / 4.0;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10.0 * power;
    for (double factor : {1.0, 2.0, 2.5, 5.0}) {
        if (factor * power >= raw) {
            step = factor * power;
            break;
        }
    }
    const double steps = std::ceil(top / step);
    return {steps * step, int(steps) + 1};
}

} // namespace StatsFigures
