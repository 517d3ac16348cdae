// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "characters.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCharacters : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void splitCountsUserPerceivedCharacters_data();
    void splitCountsUserPerceivedCharacters();
    void prefixLengthNeverCutsACharacter();
    void canonicalEquality_data();
    void canonicalEquality();
    void caseMappingIsFullUnicode();
    void classes_data();
    void classes();
};

void TestCharacters::splitCountsUserPerceivedCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("characters");

    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("russian") << u"Ёж, да."_s << QStringList{"Ё", "ж", ",", " ", "д", "а", "."};
    QTest::newRow("decomposed yo") << u"е\u0308ж"_s << QStringList{u"е\u0308"_s, "ж"};
    QTest::newRow("emoji with skin tone") << u"к👍🏽к"_s << QStringList{"к", u"👍🏽"_s, "к"};
    QTest::newRow("zwj family") << u"👨\u200D👩\u200D👧!"_s
                                << QStringList{u"👨\u200D👩\u200D👧"_s, "!"};
    QTest::newRow("crlf is one") << u"а\r\nб"_s << QStringList{"а", u"\r\n"_s, "б"};
    QTest::newRow("cyrillic combining mark") << u"а\u0483б"_s << QStringList{u"а\u0483"_s, "б"};
    // Qt cuts by syllables in Indic and South-East Asian scripts; that must not spill over
    QTest::newRow("emoji and line break beside Telugu")
        << u"ల 👨\u200D👩\r\n"_s << QStringList{u"ల"_s, " ", u"👨\u200D👩"_s, u"\r\n"_s};
    QTest::newRow("foreign accent on Devanagari") << u"क\u0301 ё"_s
                                                  << QStringList{u"क\u0301"_s, " ", "ё"};
}

void TestCharacters::splitCountsUserPerceivedCharacters()
{
    QFETCH(QString, text);
    QFETCH(QStringList, characters);

    QCOMPARE(Characters::split(text), characters);
    QCOMPARE(Characters::count(text), characters.size());
    QCOMPARE(Characters::first(text), characters.value(0));
}

void TestCharacters::prefixLengthNeverCutsACharacter()
{
    const QString text = u"е\u0308жз"_s;

    QCOMPARE(Characters::prefixLength(text, 0), 0);
    QCOMPARE(Characters::prefixLength(text, 1), 2);
    QCOMPARE(Characters::prefixLength(text, 2), 3);
    QCOMPARE(Characters::prefixLength(text, 99), text.size());
}

void TestCharacters::canonicalEquality_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("same");

    QTest::newRow("precomposed vs decomposed yo") << "ё" << u"е\u0308"_s << true;
    QTest::newRow("capital yo decomposed") << "Ё" << u"Е\u0308"_s << true;
    QTest::newRow("ye is not yo") << "е" << "ё" << false;
    QTest::newRow("case matters") << "Ж" << "ж" << false;
    QTest::newRow("latin a is not cyrillic a") << "a" << "а" << false;
}

void TestCharacters::canonicalEquality()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, same);

    QCOMPARE(Characters::same(a, b), same);
    QCOMPARE(Characters::same(b, a), same);
}

void TestCharacters::caseMappingIsFullUnicode()
{
    QCOMPARE(Characters::lower(u"ЁЖИК"), u"ёжик"_s);
    QCOMPARE(Characters::upper(u"straße"), u"STRASSE"_s); // one letter becomes two
    QCOMPARE(Characters::lower(u"\u0130"), u"i\u0307"_s);
    QCOMPARE(Characters::capitalized(u"ёлка"), u"Ёлка"_s);
    QCOMPARE(Characters::capitalized(u"е\u0308лка"), u"Е\u0308лка"_s);
}

void TestCharacters::classes_data()
{
    QTest::addColumn<QString>("ch");
    QTest::addColumn<bool>("letter");
    QTest::addColumn<bool>("upper");
    QTest::addColumn<bool>("ascii");
    QTest::addColumn<bool>("cyrillic");
    QTest::addColumn<bool>("asciiLetter");

    QTest::newRow("ж") << "ж" << true << false << false << true << false;
    QTest::newRow("Ж") << "Ж" << true << true << false << true << false;
    QTest::newRow("ё") << "ё" << true << false << false << true << false;
    QTest::newRow("decomposed ё") << u"е\u0308"_s << true << false << false << true << false;
    QTest::newRow("f") << "f" << true << false << true << false << true;
    QTest::newRow("é") << "é" << true << false << false << false << false;
    QTest::newRow("1") << "1" << false << false << true << false << false;
    QTest::newRow("comma") << "," << false << false << true << false << false;
    QTest::newRow("em dash") << "—" << false << false << false << false << false;
    QTest::newRow("empty") << "" << false << false << false << false << false;
}

void TestCharacters::classes()
{
    QFETCH(QString, ch);
    QFETCH(bool, letter);
    QFETCH(bool, upper);
    QFETCH(bool, ascii);
    QFETCH(bool, cyrillic);
    QFETCH(bool, asciiLetter);

    QCOMPARE(Characters::isLetter(ch), letter);
    QCOMPARE(Characters::isUpper(ch), upper);
    QCOMPARE(Characters::isAscii(ch), ascii);
    QCOMPARE(Characters::isCyrillic(ch), cyrillic);
    QCOMPARE(Characters::isAsciiLetter(ch), asciiLetter);
}

QTEST_GUILESS_MAIN(TestCharacters)
#include "test_characters.moc"
