// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session_engine.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(KeyResult)

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
    void anExerciseFromStartToFinishAndAfresh()
    {
        Rig rig;
        SessionEngine &e = rig.engine;
        QSignalSpy errors(&e, &SessionEngine::errorPositionsChanged);
        e.start(u"аб");
        QCOMPARE(e.handle(u"f"), KeyResult::wrongLayout);
        // the next accepted key clears the warning; a wrong key again marks no new position
        QCOMPARE(e.handle(u"ы"), KeyResult::wrong);
        QVERIFY(!e.wrongLayoutWarning());
        QCOMPARE(e.handle(u"ы"), KeyResult::wrong);
        QCOMPARE(e.handle(u"а"), KeyResult::correct);
        QCOMPARE(std::tuple(e.errorCount(), e.errorPositions(), errors.size()),
                 std::tuple(2, QSet<int>{0}, qsizetype(1)));
        // observers of the last position already see the exercise finished
        bool finishedSeenWithPosition = false;
        connect(&e, &SessionEngine::positionChanged, this,
                [&] { finishedSeenWithPosition = e.finished(); });
        rig.now += 1.0;
        QCOMPARE(e.handle(u"б"), KeyResult::finished);
        QVERIFY(finishedSeenWithPosition);
        QCOMPARE(e.handle(u"б"), KeyResult::ignored);

        e.start(u"вг");
        QCOMPARE(std::tuple(e.expected(), e.errorCount(), e.errorPositions(), e.activeSeconds()),
                 std::tuple(u"в"_s, 0, QSet<int>{}, 0.0));
        QVERIFY(!e.finished());
        QVERIFY(!e.startTime() && !e.lastKeyTime() && e.keyEvents().isEmpty());
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
        QTest::newRow("grave composed: ѐ typed as е") << u"е\u0300!"_s << "е" << correct;
        QTest::newRow("stressed yo is not е, an error") << u"Е\u0344!"_s << "Е" << wrong;
        QTest::newRow("latin where stressed vowel expected") << u"А\u0341!"_s << "F" << wrongLayout;
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
        QFETCH(KeyResult, result);
        Rig rig;
        SessionEngine &e = rig.engine;
        e.start(text);
        QCOMPARE(e.handle(typed), result);
        // a key in the wrong layout only warns: no error, no event, no time
        const bool accepted = result != KeyResult::wrongLayout && result != KeyResult::ignored;
        QCOMPARE(e.wrongLayoutWarning(), result == KeyResult::wrongLayout);
        QCOMPARE(std::pair(e.keyEvents().size(), e.lastKeyTime().has_value()),
                 std::pair(qsizetype(accepted ? 1 : 0), accepted));
        QCOMPARE(e.errorCount(), result == KeyResult::wrong ? 1 : 0);
    }

    void untypeableCharactersArePassedOver_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<int>("first"); // where the caret starts

        QTest::newRow("„ first, ’ last") << u"„жа’"_s << QStringList{u"ж"_s, u"а"_s} << 1;
        QTest::newRow("Latin, U+202F, lone CR, control, Kelvin sign, stressed e")
            << u"жW\u202Fа\rб\u0001\u212Ae\u0301"_s << QStringList{u"ж"_s, u"а"_s, u"б"_s} << 0;
        QTest::newRow("marks, stand-ins and a decomposed ё are typed") << u"«ж»—№,е\u0308"_s
            << QStringList{u"\""_s, u"ж"_s, u"\""_s, u"-"_s, u"№"_s, u","_s, u"ё"_s} << 0;
        QTest::newRow("stress on vowels only") << u"„за\u0301мо\u0300Е\u0308\u0301т\u0301е\u0303"_s
            << QStringList{u"з"_s, u"а"_s, u"м"_s, u"о"_s, u"Ё"_s} << 1;
        QTest::newRow("nothing to type") << u"„’"_s << QStringList{} << 2;
    }

    void untypeableCharactersArePassedOver()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, keys);
        QFETCH(int, first);
        Rig rig;
        SessionEngine &e = rig.engine;
        e.start(text, Untypeable::passOver);
        QCOMPARE(e.position(), first);

        // typing only the typeable characters finishes it, without errors
        for (const QString &key : std::as_const(keys))
            e.handle(key);
        QVERIFY(e.finished());
        QCOMPARE(std::pair(e.errorCount(), e.keyEvents().size()), std::pair(0, keys.size()));
        for (qsizetype i = 0; i < keys.size(); ++i) // each counted under the key that typed it
            QVERIFY(SessionEngine::matches(keys.at(i), e.keyEvents().at(i).character));
        // and typing it again starts at the same place
        e.restart();
        QCOMPARE(e.position(), first);
    }

    void timing()
    {
        Rig rig;
        SessionEngine &e = rig.engine;
        e.start(u"абвгде");
        // a pause is dropped whole, and a gap of exactly the limit is a pause too; a wrong
        // key adds time but no latency, and the next right key measures from it
        const std::pair<double, const char16_t *> keys[] = {
            {0.0, u"а"}, {1.0, u"б"}, {7.0, u"в"}, {12.0, u"г"}, {12.5, u"ы"}, {12.75, u"д"}};
        for (const auto &[time, key] : keys) {
            rig.now = time;
            e.handle(QStringView(key));
        }
        QList<std::optional<double>> latencies;
        for (const KeyEvent &event : e.keyEvents())
            latencies << event.latency;
        QCOMPARE(latencies, (QList<std::optional<double>>{{}, 1.0, {}, {}, {}, 0.25}));
        QCOMPARE(std::tuple(e.activeSeconds(), e.startTime(), e.lastKeyTime()),
                 std::tuple(1.75, std::optional(0.0), std::optional(12.75)));
    }
};

QTEST_GUILESS_MAIN(TestSessionEngine)
#include "test_session_engine.moc"
