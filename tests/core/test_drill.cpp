// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "characters.h"
#include "course.h"
#include "drill.h"
#include "key_confidence.h"
#include "words.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDate today(2026, 12, 6);

// The course reached `lesson`; every unlocked letter but ъ, which no course
// word holds, typed 60 times yesterday, one of them wrong. Then `stats`:
// "key:events/errors", the errors spread evenly, with "!" all at the end,
// with "+0110…" those outcomes after them, with "@n" typed n days ago.
ProfileData practised(qint64 lesson, const QString &stats = {})
{
    ProfileData p;
    p.currentLessonID = lesson;
    const auto type = [&p](const QString &key, int events, int errors, bool last, int daysAgo,
                           const QString &then = {}) {
        p.keyStats.remove(key);
        const QString day = dayKeyForDate(today.addDays(-daysAgo));
        for (int i = 0; i < events; ++i) {
            const bool wrong = last ? i >= events - errors
                                    : (i + 1) * errors / events > i * errors / events;
            p.recordKey(key, wrong, 0.3, day);
        }
        for (const QChar outcome : then)
            p.recordKey(key, outcome == u'1', 0.3, day);
    };
    for (const QString &key : Course::unlockedLetters(lesson)) {
        if (key != u"ъ")
            type(key, 60, 1, false, 1);
    }
    static const QRegularExpression item(u"(\\S+):(\\d+)/(\\d+)(!?)(?:\\+([01]+))?(?:@(\\d+))?"_s);
    for (auto m = item.globalMatch(stats); m.hasNext();) {
        const auto match = m.next();
        type(match.captured(1), match.captured(2).toInt(), match.captured(3).toInt(),
             !match.captured(4).isEmpty(),
             match.captured(6).isEmpty() ? 1 : match.captured(6).toInt(), match.captured(5));
    }
    return p;
}

// What Russian spelling never does, from the school rules: the oracle the
// made-up words are held to.
const QList<std::pair<QRegularExpression, const char *>> &spellingFaults()
{
    static const QList<std::pair<QRegularExpression, const char *>> faults{
        {QRegularExpression(u"^[ьъый]"_s), "opens with ь ъ ы й"},
        {QRegularExpression(u"[аеёиоуыэюя][ьъ]"_s), "a sign after a vowel"},
        {QRegularExpression(u"[жшчщ][ыяюэ]"_s), "жи-ши, ча-ща, чу-щу"},
        {QRegularExpression(u"[кгх][ыяюэ]"_s), "ы я ю after к г х"},
        {QRegularExpression(u"[бвгджзйклмнпрстфхцчшщьъ]э"_s), "э after a consonant"},
        {QRegularExpression(u"[^аеёиоуыэюя]й"_s), "й after a consonant"},
        {QRegularExpression(u"ъ(?![еёюя])"_s), "ъ before other than е ё ю я"},
        {QRegularExpression(u"^(?!(в|вз|из|об|от|под|над|раз|с|без|пред)ъ).*ъ"_s),
         "ъ not at a prefix's end"},
        {QRegularExpression(u"[аеёиоуэюя]ы"_s), "ы after a vowel"},
    };
    return faults;
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

    // A key whose newest outcomes turn bad is suspected and then flagged as
    // got worse; chance seldom does either.
    void regressionIsSeldomChance_data()
    {
        QTest::addColumn<double>("before");
        QTest::addColumn<double>("after");
        QTest::addColumn<QList<double>>("suspected"); // the share of runs, from … to
        QTest::addColumn<QList<double>>("flagged");
        QTest::newRow("steady at 3 %") << 0.03 << 0.03 << QList{0.0, 0.10} << QList{0.0, 0.005};
        // A key steady at 12 % is weak anyway: a suspicion of it costs little.
        QTest::newRow("steady at 12 %") << 0.12 << 0.12 << QList{0.0, 0.25} << QList{0.0, 0.01};
        QTest::newRow("3 % to 25 %, 20 strokes") << 0.03 << 0.25 << QList{0.85, 1.0} << QList{0.25, 1.0};
    }

    void regressionIsSeldomChance()
    {
        QFETCH(double, before);
        QFETCH(double, after);
        QFETCH(QList<double>, suspected);
        QFETCH(QList<double>, flagged);
        QRandomGenerator rng(7);
        constexpr int runs = 2000;
        int suspects = 0, flags = 0;
        for (int run = 0; run < runs; ++run) {
            ProfileData p;
            for (int i = 0; i < 220; ++i)
                p.recordKey(u"к", rng.generateDouble() < (i < 200 ? before : after), 0.3);
            const KeyConfidence c = KeyConfidence::of(p.keyStats.value(u"к"_s));
            suspects += c.regressionChance < KeyConfidence::suspectedBelow ? 1 : 0;
            flags += c.regressed ? 1 : 0;
        }
        const QString seen = u"%1 and %2 of %3"_s.arg(suspects).arg(flags).arg(runs);
        QVERIFY2(suspects >= suspected[0] * runs && suspects <= suspected[1] * runs, qPrintable(seen));
        QVERIFY2(flags >= flagged[0] * runs && flags <= flagged[1] * runs, qPrintable(seen));
    }

    void focusKeys_data()
    {
        QTest::addColumn<qint64>("lesson");
        QTest::addColumn<QString>("stats");
        QTest::addColumn<QString>("first");  // "" for any
        QTest::addColumn<QString>("among");  // "" for none
        QTest::addColumn<QString>("absent"); // "" for none
        QTest::newRow("few events rank by their errors too")
            << qint64(11) << u"у:19/9 о:5/0"_s << u"у"_s << u""_s << u"о"_s;
        QTest::newRow("a rare letter weighs more than a frequent one")
            << qint64(11) << u"о:60/6 ф:60/4"_s << u"ф"_s << u""_s << u""_s;
        QTest::newRow("ъ, which no course text holds, comes first once unlocked")
            << qint64(13) << u"ж:60/9"_s << u"ъ"_s << u"ж"_s << u""_s;
        QTest::newRow("a frequent key got worse, behind weaker rare ones")
            << qint64(19) << u"к:200/0+01000100010001000100000 ф:60/6 э:60/6 щ:60/6 ц:60/6 х:60/6"_s
            << u""_s << u"к"_s << u""_s;
        QTest::newRow("a key not typed for two months is less sure")
            << qint64(3) << u"в:60/1@60"_s << u"в"_s << u""_s << u""_s;
        QTest::newRow("marks once taught") << qint64(27) << u",:60/12"_s << u""_s << u","_s
                                           << u""_s;
        QTest::newRow("marks not yet taught") << qint64(22) << u",:60/12"_s << u""_s << u""_s
                                              << u","_s;
        QTest::newRow("Shift once capitals are taught")
            << qint64(22) << u"⇧:60/12"_s << u""_s << u"⇧"_s << u""_s;
    }

    void focusKeys()
    {
        QFETCH(qint64, lesson);
        QFETCH(QString, stats);
        QFETCH(QString, first);
        QFETCH(QString, among);
        QFETCH(QString, absent);
        const QStringList keys = Drill::focusKeys(practised(lesson, stats), today);
        QVERIFY2(keys.size() == Drill::maxFocusKeys && (first.isEmpty() || keys.first() == first)
                     && (among.isEmpty() || keys.contains(among))
                     && (absent.isEmpty() || !keys.contains(absent)),
                 qPrintable(keys.join(u' ')));
    }

    // A completed lesson offers to settle its keys that are unsure or at 8 %
    // or more; the course screen offers keys well above the learner's average.
    void offers_data()
    {
        QTest::addColumn<qint64>("completed"); // 0: the course screen's offer
        QTest::addColumn<QString>("stats");
        QTest::addColumn<QStringList>("offered");
        QTest::newRow("ф at 12 %, ж sure and fine")
            << qint64(4) << u"ф:50/6 ж:50/1"_s << QStringList{u"ф"_s};
        QTest::newRow("ъ never typed") << qint64(12) << u""_s << QStringList{u"ъ"_s};
        QTest::newRow("no new keys") << qint64(13) << u"ж:60/12"_s << QStringList{};
        QTest::newRow("a mark lesson") << qint64(25) << u"—:40/2 ::40/6"_s << QStringList{u":"_s};
        QTest::newRow("a capitals lesson") << qint64(21) << u"⇧:40/6"_s << QStringList{u"⇧"_s};
        QTest::newRow("one key well above the average")
            << qint64(0) << u"ж:60/12"_s << QStringList{u"ж"_s};
        QTest::newRow("all alike") << qint64(0) << u""_s << QStringList{};
    }

    void offers()
    {
        QFETCH(qint64, completed);
        QFETCH(QString, stats);
        const ProfileData p = practised(completed ? completed + 1 : 13, stats);
        const QStringList offered = completed
                                        ? Drill::consolidation(Course::lesson(completed), p, today)
                                        : Drill::needed(p, today);
        QTEST(offered, "offered");
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
        row("ы and й", 11, u"ы й"_s, u"ы й"_s);
        row("soft sign", 15, u"ь"_s, u"ь"_s);
        row("chosen for a new profile", 13, {}, {});
        row("with ё", 20, u"ё щ ц"_s, u"ё щ ц"_s);
        row("Shift", 22, u"⇧ ю"_s, u"⇧ ю"_s);
        row("marks", 27, u", — «"_s, u", — «"_s);
        row("letters with marks taught", 27, u"ю х ъ"_s, u"ю х ъ"_s);
    }

    void drillText()
    {
        QFETCH(qint64, lesson);
        QFETCH(QStringList, asked);
        QFETCH(QStringList, drilled);
        ProfileData profile;
        profile.currentLessonID = lesson;
        if (drilled == QStringList{QString()})
            drilled = Drill::focusKeys(profile, today);
        QSet<QString> allowed{u" "_s};
        for (const Lesson &l : Course::lessons().mid(0, lesson))
            allowed.unite(QSet<QString>(l.marks.cbegin(), l.marks.cend()));
        for (const QString &letter : Course::unlockedLetters(lesson))
            allowed << letter << (lesson >= 21 ? Characters::upper(letter) : letter);

        for (quint32 seed = 1; seed <= 8; ++seed) {
            QRandomGenerator rng(seed);
            const QString text = Drill::exercise(asked, profile, today, rng);
            QVERIFY(Characters::count(text) >= 149);
            QMap<QString, int> uses;
            // A dash opens the item it belongs to: "— слово".
            for (const QString &item : QString(text).replace(u"— "_s, u"—"_s).split(u' ')) {
                const QStringList chars = Characters::split(item);
                const auto holds = [&](const QString &key) {
                    return key == Drill::shiftKey ? Characters::isUpper(chars.value(0))
                           || (chars.size() > 1 && Characters::isUpper(chars.at(1)))
                                                  : Characters::lower(item).contains(key);
                };
                QVERIFY2(std::all_of(chars.cbegin(), chars.cend(), [&](auto &c) { return allowed.contains(c); })
                             && std::any_of(drilled.cbegin(), drilled.cend(), holds),
                         qPrintable(item + u" in "_s + text));
                QString word = Characters::lower(item);
                word.removeIf([](QChar c) { return !c.isLetter(); });
                QVERIFY2(++uses[word] <= 2, qPrintable(word + u" thrice in "_s + text));
                for (const auto &[fault, rule] : spellingFaults())
                    QVERIFY2(!fault.match(word).hasMatch(), qPrintable(word + u": "_s + rule));
            }
        }
    }

    // The words a mark or Shift rides on mostly hold the weakest letters: the
    // drill's own, else the ranking's first.
    void marksRideOnWeakLetters_data()
    {
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QString>("weak"); // letters the carrying words should hold
        QTest::newRow("marks alone") << QStringList{u","_s, u"."_s} << u"хющ"_s;
        QTest::newRow("a dash beside a letter") << QStringList{u"—"_s, u"ф"_s} << u"фхющ"_s;
        QTest::newRow("Shift") << QStringList{u"⇧"_s} << u"хющ"_s;
    }

    void marksRideOnWeakLetters()
    {
        QFETCH(QStringList, asked);
        QFETCH(QString, weak);
        const ProfileData p = practised(27, u"ъ:60/1 х:60/12 ю:60/12 щ:60/12"_s);
        int carried = 0, all = 0;
        for (quint32 seed = 1; seed <= 8; ++seed) {
            QRandomGenerator rng(seed);
            const QString text = Drill::exercise(asked, p, today, rng);
            for (const QString &item : QString(text).replace(u"— "_s, u"—"_s).split(u' ')) {
                const bool letterItem = Characters::lower(item).contains(u"ф"_s) && asked.contains(u"ф"_s);
                if (letterItem || (asked == QStringList{u"⇧"_s} && !Characters::isUpper(item.left(1))))
                    continue;
                ++all;
                carried += std::any_of(weak.cbegin(), weak.cend(),
                                       [&](QChar c) { return Characters::lower(item).contains(c); });
            }
        }
        QVERIFY2(all >= 40 && carried >= 0.7 * all, qPrintable(u"%1 of %2"_s.arg(carried).arg(all)));
    }

    // Real words for every letter from the lesson that unlocks it (а and о,
    // alone at lesson 1, from lesson 2).
    void wordsForEveryLetterWhenUnlocked_data()
    {
        QTest::addColumn<QString>("letter");
        QTest::addColumn<qint64>("lesson");
        for (const Lesson &lesson : Course::lessons()) {
            for (const QString &key : lesson.newKeys) {
                if (Characters::isLetter(key))
                    QTest::addRow("%s", qPrintable(key)) << key << std::max<qint64>(lesson.id, 2);
            }
        }
    }

    void wordsForEveryLetterWhenUnlocked()
    {
        QFETCH(QString, letter);
        QFETCH(qint64, lesson);
        const QStringList unlocked = Course::unlockedLetters(lesson);
        QSet<QString> found;
        for (const QStringList *list : {&Words::common(), &Words::yoWords(), &Drill::words()}) {
            for (const QString &word : *list) {
                const QStringList letters = Characters::split(word);
                if (letters.size() >= 2 && letters.contains(letter)
                    && std::all_of(letters.cbegin(), letters.cend(),
                                   [&](const QString &c) { return unlocked.contains(c); }))
                    found.insert(word);
            }
        }
        QVERIFY2(found.size() >= 4, qPrintable(found.values().join(u' ')));
    }
};

QTEST_GUILESS_MAIN(TestDrill)
#include "test_drill.moc"
