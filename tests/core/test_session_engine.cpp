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
    void wrongKeysCountEveryTimeAndStartForgetsThem()
    {
        Rig rig;
        SessionEngine &e = rig.engine;
        e.start(u"ab");
        QCOMPARE(e.handle(u"x"), KeyResult::wrong);
        QCOMPARE(e.handle(u"x"), KeyResult::wrong);
        QCOMPARE(e.handle(u"a"), KeyResult::correct);
        rig.now += 1.0;
        QCOMPARE(e.handle(u"b"), KeyResult::finished);
        QCOMPARE(e.handle(u"b"), KeyResult::ignored);
        // the position is marked once; every accepted key is recorded under the expected character
        QCOMPARE(std::tuple(e.expected(), e.errorCount(), e.errorPositions()),
                 std::tuple(QString(), 2, QSet<int>{0}));
        QStringList events;
        for (const KeyEvent &event : e.keyEvents())
            events << event.character + (event.error ? u"!"_s : QString());
        QCOMPARE(events, (QStringList{u"a!"_s, u"a!"_s, u"a"_s, u"b"_s}));

        e.start(u"вг");
        QCOMPARE(std::tuple(e.expected(), e.errorCount(), e.errorPositions(), e.finished()),
                 std::tuple(u"в"_s, 0, QSet<int>{}, false));
        QVERIFY(!e.startTime() && !e.lastKeyTime() && e.keyEvents().isEmpty());
        QCOMPARE(e.activeSeconds(), 0.0);
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
        QTest::newRow("apostrophe is not a quote") << "«!" << "'" << wrong;
        QTest::newRow("hyphen for em dash") << "—!" << "-" << correct;
        QTest::newRow("en dash is not em dash") << "—!" << "–" << wrong;
        QTest::newRow("em dash is not hyphen") << "-!" << "—" << wrong;
        QTest::newRow("ye is not yo") << "ё!" << "е" << wrong;
        QTest::newRow("yo typed decomposed") << "ё!" << u"е\u0308"_s << correct;
        QTest::newRow("decomposed yo typed as е") << u"е\u0308!"_s << "е" << wrong;
        QTest::newRow("digit where cyrillic expected") << "а!" << "1" << wrong;
        QTest::newRow("latin where space expected") << " !" << "f" << wrong;
        QTest::newRow("accented latin is not ascii") << "а!" << "é" << wrong;
        QTest::newRow("capital latin") << "Ж!" << "F" << wrongLayout;
        QTest::newRow("latin where decomposed yo expected") << u"е\u0308!"_s << "f" << wrongLayout;
        QTest::newRow("only the first typed character") << "аб" << "аб" << correct;
        QTest::newRow("nothing typed") << "аб" << "" << ignored;
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
        e.handle(u"ж");
        const auto eventsBefore = e.keyEvents();
        rig.now += 1.0;
        QCOMPARE(e.handle(u"f"), KeyResult::wrongLayout);
        QVERIFY(e.wrongLayoutWarning());
        // nothing else changed: no error, no event, no time
        QCOMPARE(std::tuple(e.position(), e.errorCount(), e.keyEvents(), e.lastKeyTime()),
                 std::tuple(1, 0, eventsBefore, std::optional(100.0)));

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
        constexpr auto over = Untypeable::passOver;

        QTest::newRow("lessons keep them") << u"жWж"_s << Untypeable::keep << QStringList{u"ж"_s}
                                           << 0;
        QTest::newRow("„ first, ’ last") << u"„жа’"_s << over << QStringList{u"ж"_s, u"а"_s} << 1;
        QTest::newRow("Latin, U+202F, lone CR, control, Kelvin sign, stressed е")
            << u"жW\u202Fа\rб\u0001\u212Aе\u0301"_s << over
            << QStringList{u"ж"_s, u"а"_s, u"б"_s} << 0;
        QTest::newRow("marks and stand-ins are typed")
            << u"«ж»—№,"_s << over
            << QStringList{u"\""_s, u"ж"_s, u"\""_s, u"-"_s, u"№"_s, u","_s} << 0;
        QTest::newRow("nothing to type") << u"„’"_s << over << QStringList{} << 2;
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
        for (const QString &key : std::as_const(keys))
            e.handle(key);
        QCOMPARE(e.finished(), untypeable == Untypeable::passOver);
        QCOMPARE(e.errorCount(), 0);
        QCOMPARE(e.keyEvents().size(), keys.size());
        // and typing it again starts at the same place
        e.restart();
        QCOMPARE(e.position(), first);
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

    void signalsAnnounceChanges()
    {
        Rig rig;
        SessionEngine &e = rig.engine;
        QSignalSpy position(&e, &SessionEngine::positionChanged);
        QSignalSpy errors(&e, &SessionEngine::errorPositionsChanged);
        QSignalSpy finished(&e, &SessionEngine::finishedChanged);
        QSignalSpy stats(&e, &SessionEngine::statisticsChanged);

        e.start(u"аб");
        e.handle(u"ы");
        e.handle(u"ы"); // the same position again: no new error position
        e.handle(u"а");
        QCOMPARE(std::tuple(position.size(), errors.size(), stats.size()), std::tuple(1, 1, 4));
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
