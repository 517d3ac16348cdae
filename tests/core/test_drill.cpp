// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "characters.h"
#include "course.h"
#include "drill.h"
#include "key_confidence.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A key typed `events` times, each stroke wrong with chance `rate`.
KeyStat typed(double rate, int events, QRandomGenerator &rng)
{
    ProfileData p;
    for (int i = 0; i < events; ++i)
        p.recordKey(u"ж", rng.generateDouble() < rate, std::nullopt);
    return p.keyStats.value(u"ж"_s);
}

// The course reached `lesson`; every unlocked letter but ъ, which no course
// word holds, typed 60 times, its errors (one unless `errors` says otherwise)
// among the last strokes.
ProfileData practised(qint64 lesson, const QMap<QString, int> &errors)
{
    ProfileData p;
    p.currentLessonID = lesson;
    for (const QString &key : Course::unlockedLetters(lesson)) {
        if (key == u"ъ")
            continue;
        const int wrong = errors.value(key, 1);
        for (int i = 0; i < 60; ++i)
            p.recordKey(key, i >= 60 - wrong, 0.3);
    }
    return p;
}

} // namespace

class TestDrill : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void weakerKeyRanksFirst_data()
    {
        QTest::addColumn<int>("events");
        QTest::addColumn<double>("atLeast");
        // Even a perfect judge of 40 strokes each gets it right only when the
        // weak key shows more errors: P(Bin(40, .1) > Bin(40, .02)) = 0.911.
        QTest::newRow("40 events") << 40 << 0.895;
        QTest::newRow("50 events") << 50 << 0.93;
        QTest::newRow("60 events") << 60 << 0.95;
        QTest::newRow("80 events") << 80 << 0.96;
    }

    void weakerKeyRanksFirst()
    {
        QFETCH(int, events);
        QFETCH(double, atLeast);
        constexpr int runs = 20000;
        QRandomGenerator rng{quint32(events)};
        int byConfidence = 0;
        int byAverage = 0;
        for (int run = 0; run < runs; ++run) {
            const KeyStat weak = typed(0.10, events, rng);
            const KeyStat strong = typed(0.02, events, rng);
            byConfidence += KeyConfidence::of(weak).lessSureThan(KeyConfidence::of(strong));
            byAverage += weak.errEMA > strong.errEMA;
        }
        qInfo("%d events each: weak key first in %.3f of runs (errEMA: %.3f)", events,
              byConfidence / double(runs), byAverage / double(runs));
        QVERIFY(byConfidence >= atLeast * runs);
        QVERIFY(byConfidence > byAverage + runs / 40);
    }

    void focusKeysAreTheLeastSure()
    {
        const QMap<QString, int> weak{{u"ж"_s, 9}, {u"э"_s, 6}};
        // ъ is in no word of the course: never typed, so least sure of all
        QCOMPARE(Drill::focusKeys(practised(13, weak)), (QStringList{u"ъ"_s, u"ж"_s, u"э"_s}));
        // before lesson 12 it is not unlocked; among equals the later-taught key
        QCOMPARE(Drill::focusKeys(practised(11, weak)), (QStringList{u"ж"_s, u"э"_s, u"з"_s}));
        // 19 faultless strokes are too few to be sure of, whatever their average
        ProfileData p = practised(11, weak);
        p.keyStats[u"ф"_s] = KeyStat{19, 0, 0.0, 0.3, {}, u"0"_s.repeated(19)};
        QCOMPARE(Drill::focusKeys(p), (QStringList{u"ф"_s, u"ж"_s, u"э"_s}));
    }

    void drillText_data()
    {
        QTest::addColumn<qint64>("lesson");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QStringList>("drilled");
        QTest::newRow("vowels only") << qint64(1) << QStringList{u"а"_s} << QStringList{u"а"_s};
        QTest::newRow("rare home keys") << qint64(6) << QStringList{u"э"_s, u"ф"_s, u"ж"_s}
                                        << QStringList{u"э"_s, u"ф"_s, u"ж"_s};
        QTest::newRow("a locked key is dropped") << qint64(6) << QStringList{u"ъ"_s, u"ж"_s}
                                                 << QStringList{u"ж"_s};
        QTest::newRow("hard sign") << qint64(12) << QStringList{u"ъ"_s} << QStringList{u"ъ"_s};
        QTest::newRow("chosen for a new profile")
            << qint64(13) << QStringList{} << QStringList{u"ъ"_s, u"х"_s, u"з"_s};
        QTest::newRow("with ё") << qint64(20) << QStringList{u"ё"_s, u"щ"_s, u"ц"_s}
                                << QStringList{u"ё"_s, u"щ"_s, u"ц"_s};
        QTest::newRow("capitals and marks") << qint64(27) << QStringList{u"ю"_s, u"х"_s, u"ъ"_s}
                                            << QStringList{u"ю"_s, u"х"_s, u"ъ"_s};
    }

    void drillText()
    {
        QFETCH(qint64, lesson);
        QFETCH(QStringList, asked);
        QFETCH(QStringList, drilled);
        ProfileData profile;
        profile.currentLessonID = lesson;
        QSet<QString> allowed{u" "_s};
        for (const Lesson &l : Course::lessons()) {
            if (l.id <= lesson)
                allowed.unite(QSet<QString>(l.marks.cbegin(), l.marks.cend()));
        }
        for (const QString &letter : Course::unlockedLetters(lesson))
            allowed << letter << (lesson >= 21 ? Characters::upper(letter) : letter);

        for (quint32 seed = 1; seed <= 4; ++seed) {
            QRandomGenerator rng(seed);
            const QString text = Drill::exercise(asked, profile, rng);
            QVERIFY(Characters::count(text) >= 149);
            const QStringList chars = Characters::split(text);
            for (const QString &c : chars)
                QVERIFY2(allowed.contains(c), qPrintable(text));
            for (const QString &word : text.split(u' ')) {
                const QStringList letters = Characters::split(Characters::lower(word));
                QVERIFY2(std::any_of(drilled.cbegin(), drilled.cend(),
                                     [&](const QString &k) { return letters.contains(k); }),
                         qPrintable(word));
            }
            for (const QString &key : drilled)
                QVERIFY2(Characters::split(Characters::lower(text)).count(key) >= 5, qPrintable(text));
        }
    }
};

QTEST_GUILESS_MAIN(TestDrill)
#include "test_drill.moc"
