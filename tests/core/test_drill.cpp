// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "characters.h"
#include "course.h"
#include "drill.h"
#include "key_confidence.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The course reached `lesson`; every unlocked letter but ъ, which no course
// word holds, typed 60 times, the last `errors` of them (default one) wrong.
ProfileData practised(qint64 lesson, const QMap<QString, int> &errors)
{
    ProfileData p;
    p.currentLessonID = lesson;
    for (const QString &key : Course::unlockedLetters(lesson)) {
        for (int i = 0; key != u"ъ" && i < 60; ++i)
            p.recordKey(key, i >= 60 - errors.value(key, 1), 0.3);
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
        // Even a perfect judge of 40 strokes each is right only when the weak
        // key shows more errors: P(Bin(40, .1) > Bin(40, .02)) = 0.911.
        for (auto [events, atLeast] : {std::pair{40, 0.895}, {50, 0.93}, {60, 0.95}, {80, 0.96}})
            QTest::addRow("%d events", events) << events << atLeast;
    }

    void weakerKeyRanksFirst()
    {
        QFETCH(int, events);
        QFETCH(double, atLeast);
        constexpr int runs = 20000;
        QRandomGenerator rng{quint32(events)};
        int byConfidence = 0, byAverage = 0;
        for (int run = 0; run < runs; ++run) {
            ProfileData p; // ж goes wrong 10 % of the time, ф 2 %
            for (int i = 0; i < events; ++i) {
                p.recordKey(u"ж", rng.generateDouble() < 0.10, std::nullopt);
                p.recordKey(u"ф", rng.generateDouble() < 0.02, std::nullopt);
            }
            const KeyStat weak = p.keyStats.value(u"ж"_s), strong = p.keyStats.value(u"ф"_s);
            byConfidence += KeyConfidence::of(weak).lessSureThan(KeyConfidence::of(strong));
            byAverage += weak.errEMA > strong.errEMA;
        }
        qInfo("%d events each: the weak key first in %.3f of runs (errEMA: %.3f)", events,
              byConfidence / double(runs), byAverage / double(runs));
        QVERIFY(byConfidence >= atLeast * runs);
        QVERIFY(byConfidence > byAverage + runs / 40);
    }

    void focusKeysAreTheLeastSure()
    {
        const QMap<QString, int> weak{{u"ж"_s, 9}, {u"э"_s, 6}};
        // ъ, never typed, is the least sure of all
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
        const auto row = [](const char *name, qint64 lesson, const QString &asked, const QString &to) {
            QTest::newRow(name) << lesson << asked.split(u' ', Qt::SkipEmptyParts) << to.split(u' ');
        };
        row("vowels only", 1, u"а"_s, u"а"_s);
        row("rare home keys", 6, u"э ф ж"_s, u"э ф ж"_s);
        row("a locked key is dropped", 6, u"ъ ж"_s, u"ж"_s);
        row("hard sign", 12, u"ъ"_s, u"ъ"_s);
        row("chosen for a new profile", 13, {}, u"ъ х з"_s);
        row("with ё", 20, u"ё щ ц"_s, u"ё щ ц"_s);
        row("capitals and marks", 27, u"ю х ъ"_s, u"ю х ъ"_s);
    }

    void drillText()
    {
        QFETCH(qint64, lesson);
        QFETCH(QStringList, asked);
        QFETCH(QStringList, drilled);
        ProfileData profile;
        profile.currentLessonID = lesson;
        QSet<QString> allowed{u" "_s};
        for (const Lesson &l : Course::lessons().mid(0, lesson))
            allowed.unite(QSet<QString>(l.marks.cbegin(), l.marks.cend()));
        for (const QString &letter : Course::unlockedLetters(lesson))
            allowed << letter << (lesson >= 21 ? Characters::upper(letter) : letter);

        for (quint32 seed = 1; seed <= 4; ++seed) {
            QRandomGenerator rng(seed);
            const QString text = Drill::exercise(asked, profile, rng);
            const QStringList chars = Characters::split(Characters::lower(text));
            QVERIFY(chars.size() >= 149);
            for (const QString &word : text.split(u' ')) { // only what is taught, a focus key in each
                const QStringList as = Characters::split(word);
                const QStringList letters = Characters::split(Characters::lower(word));
                QVERIFY2(std::all_of(as.cbegin(), as.cend(), [&](auto &c) { return allowed.contains(c); })
                             && std::any_of(drilled.cbegin(), drilled.cend(),
                                            [&](auto &k) { return letters.contains(k); }),
                         qPrintable(text));
            }
            for (const QString &key : drilled)
                QVERIFY2(chars.count(key) >= 5, qPrintable(text));
        }
    }
};

QTEST_GUILESS_MAIN(TestDrill)
#include "test_drill.moc"
