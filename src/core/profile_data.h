// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringView>

#include <optional>

// What the user's typing of one character has shown so far.
struct KeyStat
{
    qint64 attempts = 0;
    qint64 errors = 0;
    double errEMA = 0.0;     // moving average of the error indicator, newest weight 0.15
    double latencyEMA = 0.0; // moving average of the latency in seconds, 0 until one is known
    // Members of the record that this version does not know (a later one wrote
    // them): the JSON text of each value as read, by member name, written back
    // unchanged so that going back to an older Olvi loses nothing.
    QMap<QString, QByteArray> extraMembers{};
    // The outcomes of the newest events, oldest first: '1' an error, '0' a
    // correct key; at most recentCap of them. Unlike the averages above it
    // weighs the last forty events alike, which is what tells a key that is
    // still weak from one that slipped twice just now.
    QString recent{};
    // The day of the newest event, "yyyy-MM-dd"; empty in files written
    // before it was kept. How long a key has not been typed tells how much of
    // what its outcomes say still holds.
    QString lastDay{};

    static constexpr qsizetype recentCap = 40;
    // The entry of Shift itself, beside the characters: whether the learner
    // holds it with the other hand when a character needs it.
    static constexpr QStringView shiftKey = u"⇧";

    friend bool operator==(const KeyStat &, const KeyStat &) = default;
};

// The exercises finished on one local calendar day.
struct DayStat
{
    QString date; // "yyyy-MM-dd"
    qint64 chars = 0;
    qint64 errors = 0;
    double seconds = 0.0;
    double bestSpeed = 0.0; // characters per minute
    // Members of the record that this version does not know, kept like those
    // of KeyStat.
    QMap<QString, QByteArray> extraMembers{};

    friend bool operator==(const DayStat &, const DayStat &) = default;
};

// The colour-scheme preference; the raw values are the stored form.
enum class Appearance { system, light, dark };

[[nodiscard]] QString appearanceRawValue(Appearance appearance);
[[nodiscard]] std::optional<Appearance> appearanceFromRaw(QStringView raw);
// system, light, dark: the order menus list them in.
[[nodiscard]] QList<Appearance> allAppearances();

// A calendar day as the profile writes it: "yyyy-MM-dd" with Western digits,
// whatever the user's locale.
[[nodiscard]] QString dayKeyForDate(QDate date);
// The date a day key names; nothing for text that names no date.
[[nodiscard]] std::optional<QDate> dateForDayKey(QStringView key);

// a + b, held at the 64-bit limits instead of overflowing: counts read from a
// damaged file must not make a later sum undefined.
[[nodiscard]] qint64 saturatingAdd(qint64 a, qint64 b);

// Everything Olvi remembers about its user.
struct ProfileData
{
    // Keyed by the expected character, lower-cased and canonical ("А" and "а"
    // share "а").
    QMap<QString, KeyStat> keyStats;
    // One record per practice day, oldest first, dates unique, at most 400.
    QList<DayStat> days;
    // Passed exercises per lesson id.
    QMap<qint64, qint64> exercisesPassed;
    qint64 currentLessonID = 1;
    bool soundOn = true;
    std::optional<Appearance> appearance;
    std::optional<QString> manuscript;
    std::optional<qint64> manuscriptChunk;
    // Keys type what they type in the Russian layout, by their place on the
    // keyboard, whatever layout the system has selected: for desktops where
    // Olvi cannot select a Russian layout. Stored only when on.
    bool physicalKeys = false;
    // Olvi reads the exercise aloud ("Озвучивание"). Stored only when on.
    bool speechOn = false;
    // Top-level members this version does not know, kept like those of KeyStat.
    QMap<QString, QByteArray> extraMembers{};

    // A lesson is completed by this many passed exercises.
    static constexpr qint64 passesToComplete = 3;
    // At most this many day records are kept; the oldest go first.
    static constexpr qsizetype maxDays = 400;

    // Lesson ids passed at least passesToComplete times.
    [[nodiscard]] QSet<qint64> completedLessons() const;
    // Counts one passed exercise of lesson `id` and, when that completes the
    // current lesson, moves the course on to the next one (the last lesson
    // has none). Whether the course moved on.
    bool recordPass(qint64 id);

    // Folds one finished exercise into the record of `day` ("yyyy-MM-dd"),
    // appending it when that day has none yet and then dropping the oldest
    // records beyond maxDays.
    void recordDay(const QString &day, qint64 chars, qint64 errors, double seconds,
                   double speed);

    // Folds one accepted keystroke into the statistics of the character that
    // was expected, on the day `day` ("yyyy-MM-dd"; empty: none known).
    void recordKey(QStringView expected, bool error, std::optional<double> latency,
                   const QString &day = {});

    friend bool operator==(const ProfileData &, const ProfileData &) = default;
};
