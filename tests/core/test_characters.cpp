// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "characters.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCharacters : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void splitCountsUserPerceivedCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("characters");

        QTest::newRow("empty") << QString() << QStringList();
        QTest::newRow("decomposed yo") << u"е\u0308ж"_s << QStringList{u"е\u0308"_s, "ж"};
        QTest::newRow("emoji with skin tone") << u"к👍🏽к"_s << QStringList{"к", u"👍🏽"_s, "к"};
        QTest::newRow("crlf is one") << u"а\r\nб"_s << QStringList{"а", u"\r\n"_s, "б"};
        QTest::newRow("cyrillic combining mark") << u"а\u0483б"_s
                                                 << QStringList{u"а\u0483"_s, "б"};
        // Qt cuts by syllables in Indic and South-East Asian scripts; that must not spill over
        QTest::newRow("emoji and line break beside Telugu")
            << u"ల 👨\u200D👩\r\n"_s << QStringList{u"ల"_s, " ", u"👨\u200D👩"_s, u"\r\n"_s};
        QTest::newRow("foreign accent on Devanagari") << u"क\u0301 ё"_s
                                                      << QStringList{u"क\u0301"_s, " ", "ё"};
    }

    void splitCountsUserPerceivedCharacters()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, characters);
        QCOMPARE(Characters::split(text), characters);
        QCOMPARE(Characters::count(text), characters.size());
        QCOMPARE(Characters::first(text), characters.value(0));
        QCOMPARE(Characters::prefixLength(text, 2), characters.first(qMin(2, characters.size()))
                                                        .join(QString()).size());
    }

    void canonicalEquality_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("same");

        QTest::newRow("precomposed vs decomposed yo") << "ё" << u"е\u0308"_s << true;
        QTest::newRow("Kelvin sign is K") << u"\u212A"_s << "K" << true;
        QTest::newRow("ye is not yo") << "е" << "ё" << false;
    }

    void canonicalEquality()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, same);
        QCOMPARE(Characters::same(a, b), same);
        QCOMPARE(Characters::canonical(a) == Characters::canonical(b), same);
    }
};

QTEST_GUILESS_MAIN(TestCharacters)
#include "test_characters.moc"
