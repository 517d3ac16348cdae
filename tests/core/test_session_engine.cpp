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

QString resultName(KeyResult r)
{
    switch (r) {
    case KeyResult::correct: return u"correct"_s;
    case KeyResult::wrong: return u"wrong"_s;
    case KeyResult::wrongLayout: return u"wrongLayout"_s;
    case KeyResult::finished: return u"finished"_s;
    case KeyResult::ignored: return u"ignored"_s;
    }
    return {};
}

} // namespace

class TestSessionEngine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wrongKeysCountEveryTimeButMarkPositionOnce();
    void matching_data();
    void matching();
    void latinLetterWhereCyrillicExpectedOnlyWarns();
    void untypeableCharactersArePassedOver_data();
    void untypeableCharactersArePassedOver();
    void pausesAreDroppedWhole();
    void wrongKeysAddTimeButNoLatency();
    void startForgetsThePreviousExercise();
    void signalsAnnounceChanges();
    void longTextStaysLinear();
};

void TestSessionEngine::wrongKeysCountEveryTimeButMarkPositionOnce()
{
    // given the text "ab"
    Rig rig;
    SessionEngine &e = rig.engine;
    e.start(u"ab");

    // when "x" is struck twice
    QCOMPARE(e.handle(u"x"), KeyResult::wrong);
    QCOMPARE(e.position(), 0);
    QCOMPARE(e.errorPositions(), QSet<int>{0});
    QCOMPARE(e.handle(u"x"), KeyResult::wrong);

    // then the position is marked once, the error counted twice
    QCOMPARE(e.errorCount(), 2);
    QCOMPARE(e.errorPositions(), QSet<int>{0});

    // and the text is finished by the right keys
    QCOMPARE(e.handle(u"a"), KeyResult::correct);
    QCOMPARE(e.progress(), 0.5);
    QCOMPARE(e.handle(u"b"), KeyResult::finished);
    QVERIFY(e.finished());
    QCOMPARE(e.progress(), 1.0);
    QCOMPARE(e.expected(), QString());
    QCOMPARE(e.handle(u"b"), KeyResult::ignored);

    // every accepted key has a record of the expected character
    const QList<KeyEvent> events = e.keyEvents();
    QCOMPARE(events.size(), 4);
    QCOMPARE(events[0].character, u"a"_s);
    QVERIFY(events[0].error && events[1].error && !events[2].error && !events[3].error);
}

void TestSessionEngine::matching_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");

    QTest::newRow("same letter") << "ж!" << "ж" << "correct";
    QTest::newRow("case matters") << "Ж!" << "ж" << "wrong";
    QTest::newRow("ascii quote for «") << "«!" << "\"" << "correct";
    QTest::newRow("ascii quote for »") << "»!" << "\"" << "correct";
    QTest::newRow("« typed exactly") << "«!" << "«" << "correct";
    QTest::newRow("apostrophe is not a quote") << "«!" << "'" << "wrong";
    QTest::newRow("hyphen for em dash") << "—!" << "-" << "correct";
    QTest::newRow("en dash is not em dash") << "—!" << "–" << "wrong";
    QTest::newRow("em dash is not hyphen") << "-!" << "—" << "wrong";
    QTest::newRow("ye is not yo") << "ё!" << "е" << "wrong";
    QTest::newRow("yo typed decomposed") << "ё!" << u"е\u0308"_s << "correct";
    QTest::newRow("digit where cyrillic expected") << "а!" << "1" << "wrong";
    QTest::newRow("comma where cyrillic expected") << "а!" << "," << "wrong";
    QTest::newRow("latin where space expected") << " !" << "f" << "wrong";
    QTest::newRow("latin where full stop expected") << ".!" << "f" << "wrong";
    QTest::newRow("accented latin is not ascii") << "а!" << "é" << "wrong";
    QTest::newRow("latin where cyrillic expected") << "а!" << "f" << "wrongLayout";
    QTest::newRow("capital latin") << "Ж!" << "F" << "wrongLayout";
    QTest::newRow("latin where decomposed yo expected") << u"е\u0308!"_s << "f" << "wrongLayout";
    QTest::newRow("decomposed yo typed as ё") << u"е\u0308!"_s << "ё" << "correct";
    QTest::newRow("decomposed yo typed as е") << u"е\u0308!"_s << "е" << "wrong";
    QTest::newRow("only the first typed character") << "аб" << "аб" << "correct";
    QTest::newRow("nothing typed") << "аб" << "" << "ignored";
    QTest::newRow("empty text") << "" << "а" << "ignored";
    QTest::newRow("empty text, latin") << "" << "f" << "ignored";
    QTest::newRow("last character") << "ж" << "ж" << "finished";
}

void TestSessionEngine::matching()
{
    QFETCH(QString, text);
    QFETCH(QString, typed);
    QFETCH(QString, result);

    Rig rig;
    rig.engine.start(text);
    QCOMPARE(resultName(rig.engine.handle(typed)), result);
}

void TestSessionEngine::latinLetterWhereCyrillicExpectedOnlyWarns()
{
    // given an exercise with one key typed
    Rig rig;
    SessionEngine &e = rig.engine;
    e.start(u"жаба");
    QCOMPARE(e.handle(u"ж"), KeyResult::correct);
    const auto eventsBefore = e.keyEvents();
    QSignalSpy warning(&e, &SessionEngine::wrongLayoutWarningChanged);

    // when a Latin letter arrives 1 s later
    rig.now += 1.0;
    QCOMPARE(e.handle(u"f"), KeyResult::wrongLayout);

    // then only the warning changed
    QVERIFY(e.wrongLayoutWarning());
    QCOMPARE(warning.size(), 1);
    QCOMPARE(e.position(), 1);
    QCOMPARE(e.errorCount(), 0);
    QVERIFY(e.errorPositions().isEmpty());
    QCOMPARE(e.keyEvents(), eventsBefore);
    QCOMPARE(e.lastKeyTime(), std::optional(100.0));
    QCOMPARE(e.activeSeconds(), 0.0);

    // and the next accepted key, right or wrong, clears it; so does a restart
    QCOMPARE(e.handle(u"ы"), KeyResult::wrong);
    QVERIFY(!e.wrongLayoutWarning());
    e.handle(u"q");
    e.start(u"ж");
    QVERIFY(!e.wrongLayoutWarning());
}

void TestSessionEngine::untypeableCharactersArePassedOver_data()
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

void TestSessionEngine::untypeableCharactersArePassedOver()
{
    QFETCH(QString, text);
    QFETCH(Untypeable, untypeable);
    QFETCH(QStringList, keys);
    QFETCH(int, first);
    QFETCH(bool, finished);
    Rig rig;
    SessionEngine &e = rig.engine;

    // given an exercise that may step over what no Russian key types
    e.start(text, untypeable);
    QCOMPARE(e.position(), first);

    // when only the typeable characters are typed, each correctly
    for (const QString &key : std::as_const(keys)) {
        rig.now += 0.3;
        QVERIFY(e.handle(key) != KeyResult::wrong);
    }

    // then the exercise is done, with no errors and an event per key typed
    QCOMPARE(e.finished(), finished);
    QCOMPARE(e.errorCount(), 0);
    QCOMPARE(e.keyEvents().size(), keys.size());
    for (const KeyEvent &event : e.keyEvents())
        QVERIFY(event.character != u"W" && event.character != u"„");
    // and typing it again starts at the same place
    e.restart();
    QCOMPARE(e.position(), first);
    QVERIFY(e.keyEvents().isEmpty());
}

void TestSessionEngine::pausesAreDroppedWhole()
{
    // given keys at 0 s, 1 s and 7 s
    Rig rig;
    SessionEngine &e = rig.engine;
    e.start(u"абвг");
    rig.now = 0.0;
    e.handle(u"а");
    rig.now = 1.0;
    e.handle(u"б");
    rig.now = 7.0;
    e.handle(u"в");

    // then only the short gap counts
    QCOMPARE(e.activeSeconds(), 1.0);
    QCOMPARE(e.startTime(), std::optional(0.0));
    QCOMPARE(e.lastKeyTime(), std::optional(7.0));
    const auto events = e.keyEvents();
    QVERIFY(!events[0].latency.has_value());
    QCOMPARE(events[1].latency, std::optional(1.0));
    QVERIFY(!events[2].latency.has_value());

    // and a gap of exactly the limit is a pause too
    rig.now = 12.0;
    e.handle(u"г");
    QCOMPARE(e.activeSeconds(), 1.0);
    QVERIFY(!e.keyEvents().last().latency.has_value());
}

void TestSessionEngine::wrongKeysAddTimeButNoLatency()
{
    Rig rig;
    SessionEngine &e = rig.engine;
    e.start(u"аб");
    e.handle(u"а");
    rig.now += 0.5;
    QCOMPARE(e.handle(u"ы"), KeyResult::wrong);

    QCOMPARE(e.activeSeconds(), 0.5);
    QVERIFY(!e.keyEvents().last().latency.has_value());
    QCOMPARE(e.lastKeyTime(), std::optional(rig.now));

    // the next correct key measures its latency from the wrong one
    rig.now += 0.25;
    e.handle(u"б");
    QCOMPARE(e.keyEvents().last().latency, std::optional(0.25));
    QCOMPARE(e.activeSeconds(), 0.75);
}

void TestSessionEngine::startForgetsThePreviousExercise()
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

void TestSessionEngine::signalsAnnounceChanges()
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

void TestSessionEngine::longTextStaysLinear()
{
    // A whole manuscript: every keystroke must stay cheap however long the text.
    const QString text = u"жаба "_s.repeated(24000);
    Rig rig;
    rig.engine.start(text);
    QCOMPARE(rig.engine.text().size(), 120000);
    for (const QString &ch : rig.engine.text()) {
        rig.now += 0.1;
        rig.engine.handle(ch);
        rig.engine.handle(u"ы");
    }
    QVERIFY(rig.engine.finished());
    QCOMPARE(rig.engine.errorCount(), 119999); // no wrong key after the last one
    QCOMPARE(rig.engine.errorPositions().size(), 119999);
}

QTEST_GUILESS_MAIN(TestSessionEngine)
#include "test_session_engine.moc"
