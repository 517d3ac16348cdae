// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session_engine.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(KeyResult)
Q_DECLARE_METATYPE(Untypeable)

namespace {

// An engine whose clock the test sets by hand.
struct Rig
{
    double now = 100.0;
    SessionEngine engine{[this] { return now; }};
};

} // namespace

class TestSessionEngine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wrongKeysCountEveryTimeButMarkPositionOnce()
    {
        Rig rig;
        SessionEngine &e = rig.engine;
        e.start(u"ab");
        QCOMPARE(e.handle(u"x"), KeyResult::wrong);
        QCOMPARE(e.handle(u"x"), KeyResult::wrong);
        QCOMPARE(std::tuple(e.position(), e.errorCount(), e.errorPositions()),
                 std::tuple(0, 2, QSet<int>{0}));

        QCOMPARE(e.handle(u"a"), KeyResult::correct);
        QCOMPARE(e.progress(), 0.5);
        QCOMPARE(e.handle(u"b"), KeyResult::finished);
        QVERIFY(e.finished());
        QCOMPARE(e.expected(), QString());
        QCOMPARE(e.handle(u"b"), KeyResult::ignored);
        // every accepted key is recorded under the expected character
        const QList<KeyEvent> events = e.keyEvents();
        QCOMPARE(events.size(), 4);
        QCOMPARE(events[0].character, u"a"_s);
        QVERIFY(events[0].error && events[1].error && !events[2].error && !events[3].error);
    }

    void matching_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<KeyResult>("result");
        using enum KeyResult;

        QTest::newRow("same letter") << "ж!" << "ж" << correct;
        QTest::newRow("case matters") << "Ж!" << "ж" << wrong;
        QTest::newRow("ascii quote for «") << "«!" << "\"" << correct;
        QTest::newRow("ascii quote for »") << "»!" << "\"" << correct;
        QTest::newRow("« typed exactly") << "«!" << "«" << correct;
        QTest::newRow("apostrophe is not a quote") << "«!" << "'" << wrong;
        QTest::newRow("hyphen for em dash") << "—!" << "-" << correct;
        QTest::newRow("en dash is not em dash") << "—!" << "–" << wrong;
        QTest::newRow("em dash is not hyphen") << "-!" << "—" << wrong;
        QTest::newRow("ye is not yo") << "ё!" << "е" << wrong;
        QTest::newRow("yo typed decomposed") << "ё!" << u"е\u0308"_s << correct;
        QTest::newRow("digit where cyrillic expected") << "а!" << "1" << wrong;
        QTest::newRow("comma where cyrillic expected") << "а!" << "," << wrong;
        QTest::newRow("latin where space expected") << " !" << "f" << wrong;
        QTest::newRow("latin where full stop expected") << ".!" << "f" << wrong;
        QTest::newRow("accented latin is not ascii") << "а!" << "é" << wrong;
        QTest::newRow("latin where cyrillic expected") << "а!" << "f" << wrongLayout;
        QTest::newRow("capital latin") << "Ж!" << "F" << wrongLayout;
        QTest::newRow("latin where decomposed yo expected") << u"е\u0308!"_s << "f" << wrongLayout;
        QTest::newRow("decomposed yo typed as ё") << u"е\u0308!"_s << "ё" << correct;
        QTest::newRow("decomposed yo typed as е") << u"е\u0308!"_s << "е" << wrong;
        QTest::newRow("only the first typed character") << "аб" << "аб" << correct;
        QTest::newRow("nothing typed") << "аб" << "" << ignored;
        QTest::newRow("empty text") << "" << "а" << ignored;
        QTest::newRow("empty text, latin") << "" << "f" << ignored;
        QTest::newRow("last character") << "ж" << "ж" << finished;
    }

    void matching()
    {
        QFETCH(QString, text);
        QFETCH(QString, typed);
        Rig rig;
        rig.engine.start(text);
        QTEST(rig.engine.handle(typed), "result");
    }

    void latinLetterWhereCyrillicExpectedOnlyWarns()
    {
        Rig rig;
        SessionEngine &e = rig.engine;
        e.start(u"жаба");
        QCOMPARE(e.handle(u"ж"), KeyResult::correct);
        const auto eventsBefore = e.keyEvents();
        QSignalSpy warning(&e, &SessionEngine::wrongLayoutWarningChanged);

        rig.now += 1.0;
        QCOMPARE(e.handle(u"f"), KeyResult::wrongLayout);
        QVERIFY(e.wrongLayoutWarning());
        QCOMPARE(warning.size(), 1);
        // nothing else changed: no error, no event, no time
        QCOMPARE(std::tuple(e.position(), e.errorCount(), e.errorPositions()),
                 std::tuple(1, 0, QSet<int>{}));
        QCOMPARE(e.keyEvents(), eventsBefore);
        QCOMPARE(std::pair(e.lastKeyTime(), e.activeSeconds()),
                 std::pair(std::optional(100.0), 0.0));

        // the next accepted key, right or wrong, clears it; so does a restart
        QCOMPARE(e.handle(u"ы"), KeyResult::wrong);
        QVERIFY(!e.wrongLayoutWarning());
        e.handle(u"q");
        e.start(u"ж");
        QVERIFY(!e.wrongLayoutWarning());
    }

    void untypeableCharactersArePassedOver_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Untypeable>("untypeable");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<int>("first"); // where the caret starts
        QTest::addColumn<bool>("finished");
        constexpr auto keep = Untypeable::keep;
        constexpr auto over = Untypeable::passOver;

        QTest::newRow("lessons keep them") << u"жWж"_s << keep << QStringList{u"ж"_s} << 0 << false;
        QTest::newRow("a Latin letter") << u"жWж"_s << over << QStringList{u"ж"_s, u"ж"_s} << 0
                                        << true;
        QTest::newRow("„ first, ’ last") << u"„жа’"_s << over << QStringList{u"ж"_s, u"а"_s} << 1
                                           << true;
        QTest::newRow("U+202F, lone CR, control")
            << u"ж\u202Fа\rб\u0001"_s << over << QStringList{u"ж"_s, u"а"_s, u"б"_s} << 0 << true;
        QTest::newRow("Kelvin sign, stressed е")
            << u"\u212Aже\u0301"_s << over << QStringList{u"ж"_s} << 1 << true;
        QTest::newRow("marks and stand-ins are typed")
            << u"«ж»—№,"_s << over
            << QStringList{u"\""_s, u"ж"_s, u"\""_s, u"-"_s, u"№"_s, u","_s} << 0 << true;
        QTest::newRow("nothing to type") << u"„’"_s << over << QStringList{} << 2 << true;
    }

    void untypeableCharactersArePassedOver()
    {
        QFETCH(QString, text);
        QFETCH(Untypeable, untypeable);
        QFETCH(QStringList, keys);
        QFETCH(int, first);
        Rig rig;
        SessionEngine &e = rig.engine;
        e.start(text, untypeable);
        QCOMPARE(e.position(), first);

        // typing only the typeable characters finishes it, without errors
        for (const QString &key : std::as_const(keys)) {
            rig.now += 0.3;
            QVERIFY(e.handle(key) != KeyResult::wrong);
        }
        QTEST(e.finished(), "finished");
        QCOMPARE(e.errorCount(), 0);
        QCOMPARE(e.keyEvents().size(), keys.size());
        for (const KeyEvent &event : e.keyEvents())
            QVERIFY(event.character != u"W" && event.character != u"„");
        // and typing it again starts at the same place
        e.restart();
        QCOMPARE(e.position(), first);
        QVERIFY(e.keyEvents().isEmpty());
    }

    void timing()
    {
        Rig rig;
        SessionEngine &e = rig.engine;
        e.start(u"абвгде");
        // a pause is dropped whole, and a gap of exactly the limit is a pause too
        const double times[] = {0.0, 1.0, 7.0, 12.0};
        for (int i = 0; i < 4; ++i) {
            rig.now = times[i];
            e.handle(QStringView(u"абвг").sliced(i, 1));
        }
        QCOMPARE(std::tuple(e.activeSeconds(), e.startTime(), e.lastKeyTime()),
                 std::tuple(1.0, std::optional(0.0), std::optional(12.0)));
        const auto latencies = [&e] {
            QList<std::optional<double>> l;
            for (const KeyEvent &event : e.keyEvents())
                l << event.latency;
            return l;
        };
        QCOMPARE(latencies(), (QList<std::optional<double>>{{}, 1.0, {}, {}}));

        // a wrong key adds time but no latency; the next right key measures from it
        rig.now += 0.5;
        QCOMPARE(e.handle(u"ы"), KeyResult::wrong);
        rig.now += 0.25;
        e.handle(u"д");
        QCOMPARE(e.activeSeconds(), 1.75);
        QCOMPARE(latencies().last(2), (QList<std::optional<double>>{{}, 0.25}));
    }

    void startForgetsThePreviousExercise()
    {
        Rig rig;
        SessionEngine &e = rig.engine;
        e.start(u"аб");
        e.handle(u"ы");
        e.handle(u"а");
        rig.now += 1.0;
        e.handle(u"б");
        QVERIFY(e.finished());

        e.start(u"вг");
        QCOMPARE(e.expected(), u"в"_s);
        QVERIFY(e.errorPositions().isEmpty() && !e.finished() && e.errorCount() == 0);
        QVERIFY(!e.startTime() && !e.lastKeyTime() && e.keyEvents().isEmpty());
        QCOMPARE(e.activeSeconds(), 0.0);
    }

    void signalsAnnounceChanges()
    {
        Rig rig;
        SessionEngine &e = rig.engine;
        QSignalSpy text(&e, &SessionEngine::textChanged);
        QSignalSpy position(&e, &SessionEngine::positionChanged);
        QSignalSpy errors(&e, &SessionEngine::errorPositionsChanged);
        QSignalSpy finished(&e, &SessionEngine::finishedChanged);
        QSignalSpy stats(&e, &SessionEngine::statisticsChanged);

        e.start(u"аб");
        QCOMPARE(text.size(), 1);
        e.handle(u"ы");
        e.handle(u"ы"); // the same position again: no new error position
        QCOMPARE(errors.size(), 1);
        QCOMPARE(stats.size(), 3);
        e.handle(u"а");
        QCOMPARE(position.size(), 1);
        // observers of the last position already see the exercise finished
        bool finishedSeenWithPosition = false;
        connect(&e, &SessionEngine::positionChanged, this,
                [&] { finishedSeenWithPosition = e.finished(); });
        e.handle(u"б");
        QVERIFY(finishedSeenWithPosition);
        QCOMPARE(finished.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSessionEngine)
#include "test_session_engine.moc"
