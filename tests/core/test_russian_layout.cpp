// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "russian_layout.h"

#include <QTest>
#include <QThread>

using namespace Qt::StringLiterals;

class TestRussianLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rowsHoldTheThirtyThreeLetterKeys();
    void everyKeyHasItsFinger_data();
    void everyKeyHasItsFinger();
    void keyLookup_data();
    void keyLookup();
    void fingerHints_data();
    void fingerHints();
    void tablesAreSharedAndSafeToBuildConcurrently();
};

void TestRussianLayout::rowsHoldTheThirtyThreeLetterKeys()
{
    const auto &rows = RussianLayout::rows();
    QCOMPARE(rows.size(), 3);

    QStringList chars[3];
    QSet<QString> all;
    for (int r = 0; r < 3; ++r) {
        for (const KeyDef &k : rows[r]) {
            chars[r] << k.character;
            all.insert(k.character);
        }
    }
    QCOMPARE(chars[0].join(QString()), u"йцукенгшщзхъ"_s);
    QCOMPARE(chars[1].join(QString()), u"фывапролджэ"_s);
    QCOMPARE(chars[2].join(QString()), u"ячсмитьбю."_s);
    QCOMPARE(all.size(), 33);
    QVERIFY(!all.contains(u"ё"_s));

    QCOMPARE(RussianLayout::homeChars(), (QSet<QString>{u"а"_s, u"о"_s}));
    QCOMPARE(RussianLayout::vowels(),
             (QSet<QString>{u"а"_s, u"о"_s, u"у"_s, u"ы"_s, u"э"_s, u"е"_s, u"и"_s, u"ю"_s,
                            u"я"_s, u"ё"_s}));
}

void TestRussianLayout::everyKeyHasItsFinger_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("hands");   // L or R per key
    QTest::addColumn<QString>("fingers"); // p r m i per key

    QTest::newRow("top") << 0 << "LLLLLRRRRRRR" << "prmiiiimrppp";
    QTest::newRow("home") << 1 << "LLLLLRRRRRR" << "prmiiiimrpp";
    QTest::newRow("bottom") << 2 << "LLLLLRRRRR" << "prmiiiimrp";
}

void TestRussianLayout::everyKeyHasItsFinger()
{
    QFETCH(int, row);
    QFETCH(QString, hands);
    QFETCH(QString, fingers);

    const auto &keys = RussianLayout::rows().at(row);
    QCOMPARE(keys.size(), hands.size());
    const QString fingerCodes = u"prmi"_s;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const Hand hand = hands[i] == u'L' ? Hand::left : Hand::right;
        QCOMPARE(keys[i].hand, hand);
        QCOMPARE(int(keys[i].finger), int(fingerCodes.indexOf(fingers[i])));
    }
}

void TestRussianLayout::keyLookup_data()
{
    QTest::addColumn<QString>("ch");
    QTest::addColumn<QString>("keyChar"); // empty: no key
    QTest::addColumn<int>("hand");
    QTest::addColumn<int>("finger");

    QTest::addColumn<bool>("shift");

    QTest::newRow("а") << "а" << "а" << int(Hand::left) << int(Finger::index) << false;
    QTest::newRow("А") << "А" << "а" << int(Hand::left) << int(Finger::index) << true;
    QTest::newRow("Ж") << "Ж" << "ж" << int(Hand::right) << int(Finger::pinky) << true;
    QTest::newRow("comma is the full-stop key") << "," << "." << int(Hand::right)
                                                << int(Finger::pinky) << true;
    QTest::newRow("ё") << "ё" << "ё" << int(Hand::left) << int(Finger::pinky) << false;
    QTest::newRow("Ё") << "Ё" << "ё" << int(Hand::left) << int(Finger::pinky) << true;
    QTest::newRow("decomposed Ё") << u"Е\u0308"_s << "ё" << int(Hand::left) << int(Finger::pinky)
                                  << true;
    QTest::newRow("space") << " " << "" << 0 << 0 << false;
    QTest::newRow("exclamation") << "!" << "" << 0 << 0 << true;
    QTest::newRow("greek question mark is a semicolon") << u"\u037E"_s << "" << 0 << 0 << true;
    QTest::newRow("latin f") << "f" << "" << 0 << 0 << false;
    QTest::newRow("empty") << "" << "" << 0 << 0 << false;
}

void TestRussianLayout::keyLookup()
{
    QFETCH(QString, ch);
    QFETCH(QString, keyChar);
    QFETCH(int, hand);
    QFETCH(int, finger);
    QFETCH(bool, shift);

    QCOMPARE(RussianLayout::needsShift(ch), shift);
    const auto key = RussianLayout::key(ch);
    if (keyChar.isEmpty()) {
        QVERIFY(!key.has_value());
        return;
    }
    QVERIFY(key.has_value());
    QCOMPARE(key->character, keyChar);
    QCOMPARE(int(key->hand), hand);
    QCOMPARE(int(key->finger), finger);
}

void TestRussianLayout::fingerHints_data()
{
    QTest::addColumn<QString>("ch");
    QTest::addColumn<QString>("hint");

    QTest::newRow("р") << "р" << "правый указательный";
    QTest::newRow("ф") << "ф" << "левый мизинец";
    QTest::newRow("ю") << "ю" << "правый безымянный";
    QTest::newRow("в") << "в" << "левый средний";
}

void TestRussianLayout::fingerHints()
{
    QFETCH(QString, ch);
    QFETCH(QString, hint);

    QCOMPARE(RussianLayout::key(ch)->fingerHint(), hint);
}

void TestRussianLayout::tablesAreSharedAndSafeToBuildConcurrently()
{
    // All threads must see the one table, fully built.
    QList<const void *> seen(8, nullptr);
    QList<QThread *> threads;
    for (int i = 0; i < 8; ++i) {
        threads << QThread::create([&seen, i] {
            seen[i] = &RussianLayout::rows();
            (void)RussianLayout::key(u"ж");
        });
        threads.last()->start();
    }
    for (QThread *t : threads) {
        t->wait();
        delete t;
    }
    for (const void *p : seen)
        QCOMPARE(p, static_cast<const void *>(&RussianLayout::rows()));
    QCOMPARE(RussianLayout::rows().at(1).size(), 11);
}

QTEST_GUILESS_MAIN(TestRussianLayout)
#include "test_russian_layout.moc"
