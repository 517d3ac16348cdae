// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "profile_data.h"

// A profile of the largest size Olvi produces: 400 day records, 300 key
// statistics and a 120 000-character manuscript. Different variants differ in
// every record, so a file mixing two of them cannot pass for either.
inline ProfileData largeProfile(int variant)
{
    ProfileData p;
    for (int i = 0; i < 300; ++i)
        p.keyStats.insert(QString(QChar(char16_t(0x0400 + i))),
                          KeyStat{1000 + i + variant, i + variant, 0.01 * i + 1e-9 * variant,
                                  0.2 + 1e-3 * i + 1e-9 * variant});
    for (int i = 0; i < 400; ++i)
        p.days.append(DayStat{dayKeyForDate(QDate(2025, 1, 1).addDays(i)), 1500 + i + variant,
                              i % 17, 600.25 + i + variant, 150.5 + i * 0.1 + variant});
    for (qint64 lesson = 1; lesson <= 28; ++lesson)
        p.exercisesPassed.insert(lesson, lesson + variant);
    p.currentLessonID = 28 - variant;
    p.soundOn = variant % 2 == 0;
    p.appearance = variant % 2 == 0 ? Appearance::dark : Appearance::light;
    const QString sentence = variant % 2 == 0 ? QStringLiteral("Съешь же ещё этих «мягких» булок.\n")
                                              : QStringLiteral("В чащах юга жил бы \"цитрус\"? Да!\n");
    p.manuscript = sentence.repeated(120000 / sentence.size() + 1).left(120000);
    p.manuscriptChunk = 700 + variant;
    return p;
}
