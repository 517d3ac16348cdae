// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "hands_view_model.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestHandsViewModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void litFingers_data();
    void litFingers();
};

void TestHandsViewModel::litFingers_data()
{
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("left"); // lit finger, -1 for none
    QTest::addColumn<int>("right");
    QTest::addColumn<bool>("thumbs");

    const int none = -1;
    const int pinky = HandsViewModel::Pinky;
    const int index = HandsViewModel::Index;
    QTest::newRow("а: left index") << u"а"_s << index << none << false;
    QTest::newRow("Ж: right pinky, left pinky for Shift") << u"Ж"_s << pinky << pinky << false;
    QTest::newRow("Я: left pinky, right pinky for Shift") << u"Я"_s << pinky << pinky << false;
    QTest::newRow("comma: the full stop key with Shift") << u","_s << pinky << pinky << false;
    QTest::newRow("full stop: no Shift") << u"."_s << none << pinky << false;
    QTest::newRow("space: both thumbs") << u" "_s << none << none << true;
    QTest::newRow("! has no key") << u"!"_s << none << none << false;
    QTest::newRow("ё: left pinky") << u"ё"_s << pinky << none << false;
    QTest::newRow("Ё: and the right pinky") << u"Ё"_s << pinky << pinky << false;
    QTest::newRow("none") << u""_s << none << none << false;
}

void TestHandsViewModel::litFingers()
{
    QFETCH(QString, expected);
    QFETCH(int, left);
    QFETCH(int, right);
    QFETCH(bool, thumbs);

    // given a keystroke that left "о" (right index) lit
    HandsViewModel hands;
    hands.setExpected(u"о"_s);
    QCOMPARE(hands.rightActive(), int(HandsViewModel::Index));

    hands.setExpected(expected);

    QCOMPARE(hands.leftActive(), left);
    QCOMPARE(hands.rightActive(), right);
    QCOMPARE(hands.thumbsActive(), thumbs);
}

QTEST_MAIN(TestHandsViewModel)
#include "test_hands_view_model.moc"
