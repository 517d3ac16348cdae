// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "characters.h"
#include "manuscript.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestManuscript : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void normalize_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("cleaned");

        QTest::newRow("blanks collapse") << u"  раз\r\n\r\nдва\tтри  "_s << u"раз два три"_s;
        QTest::newRow("typography") << u"\u201Cслово\u2026\u201D \u2013 да"_s
                                    << u"«слово...» — да"_s;
        QTest::newRow("only blanks") << u" \n\t\u00A0\u2009\r\n "_s << QString();
        QTest::newRow("no-break and thin spaces") << u"а\u00A0б\u2009в"_s << u"а б в"_s;
        QTest::newRow("lone CR stays") << u"а\rб"_s << u"а\rб"_s;
        QTest::newRow("CR before CR LF") << u"а\r\r\nб"_s << u"а\r б"_s;
        QTest::newRow("untouched marks") << u"кто-то \"да\" \u201Eнет\u201C 'а' \u2018б\u2019"_s
                                         << u"кто-то \"да\" \u201Eнет« 'а' \u2018б\u2019"_s;
        QTest::newRow("narrow no-break space stays") << u"10\u202Fкг"_s << u"10\u202Fкг"_s;
        QTest::newRow("cut after a space")
            << QString(Manuscript::maxLength - 1, u'ж') + u" да"_s
            << QString(Manuscript::maxLength - 1, u'ж');
    }

    void normalize()
    {
        QFETCH(QString, text);
        QTEST(Manuscript::normalize(text), "cleaned");
    }

    void normalizeKeepsWholeCharactersWhenCutting_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("lastCharacter");
        QTest::addColumn<qsizetype>("units");

        const qsizetype max = Manuscript::maxLength;
        QTest::newRow("plain letters") << QString(max + 5, u'ж') << u"ж"_s << max;
        QTest::newRow("exactly the limit") << QString(max, u'ж') << u"ж"_s << max;
        QTest::newRow("decomposed yo at the cut")
            << QString(max - 1, u'ж') + u"е\u0308ж"_s << u"е\u0308"_s << max + 1;
        QTest::newRow("emoji with skin tone at the cut")
            << QString(max - 1, u'ж') + u"👍🏽ж"_s << u"👍🏽"_s << max + 3;
        // far longer than the limit, with the cut well beyond the first window
        QString decomposed;
        for (qsizetype i = 0; i < max + 10; ++i)
            decomposed += u"е\u0308"_s;
        QTest::newRow("all decomposed") << decomposed << u"е\u0308"_s << 2 * max;
        QTest::newRow("long paste with spaces")
            << (QString(5 * max, u'а') + u"  👨\u200D👩\u200D👧"_s) << u"а"_s << max;
    }

    void normalizeKeepsWholeCharactersWhenCutting()
    {
        QFETCH(QString, text);
        QFETCH(QString, lastCharacter);
        QFETCH(qsizetype, units);

        const QString cleaned = Manuscript::normalize(text);
        QCOMPARE(cleaned.size(), units);
        QCOMPARE(Characters::count(cleaned), Manuscript::maxLength);
        QVERIFY(cleaned.endsWith(lastCharacter));
        QVERIFY(text.startsWith(cleaned));
    }

    void chunks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<qsizetype>>("lengths"); // in characters

        const auto words = [](qsizetype count, const QString &word) {
            return QStringList(QList<QString>(count, word)).join(u' ');
        };
        QTest::newRow("empty") << QString() << QList<qsizetype>{};
        QTest::newRow("short") << u"Мороз и солнце"_s << QList<qsizetype>{14};
        QTest::newRow("170 exactly") << words(17, u"абвгдежзи"_s) + u" а"_s
                                     << QList<qsizetype>{171 - 2, 1};
        QTest::newRow("171 with a space") << QString(85, u'а') + u' ' + QString(85, u'б')
                                          << QList<qsizetype>{85, 85};
        QTest::newRow("17 nine-letter words each") << words(40, u"абвгдежзи"_s)
                                                   << QList<qsizetype>{169, 169, 59};
        QTest::newRow("decomposed letters count once")
            << words(18, u"е\u0308е\u0308ж"_s + u"абвгде"_s) << QList<qsizetype>{169, 9};
        QTest::newRow("long word alone") << u"да "_s + QString(200, u'ж') + u" нет"_s
                                         << QList<qsizetype>{2, 200, 3};
        QTest::newRow("fits exactly") << QString(100, u'ж') + u' ' + QString(69, u'з')
                                      << QList<qsizetype>{170};
    }

    void chunks()
    {
        QFETCH(QString, text);
        QFETCH(QList<qsizetype>, lengths);

        QList<qsizetype> got;
        for (const QString &fragment : Manuscript::chunks(text)) {
            got.append(Characters::count(fragment));
            QVERIFY(!fragment.startsWith(u' ') && !fragment.endsWith(u' '));
            QVERIFY(!fragment.contains(u"  "_s));
        }
        QCOMPARE(got, lengths);
    }

    void chunksJoinBackToTheText()
    {
        QString paragraph;
        for (int i = 0; i < 400; ++i)
            paragraph += u"слово%1 "_s.arg(QString(i % 13, u'я'));
        const QString cleaned = Manuscript::normalize(paragraph);

        const QStringList fragments = Manuscript::chunks(cleaned);
        QCOMPARE(fragments.join(u' '), cleaned);
        for (qsizetype i = 0; i + 1 < fragments.size(); ++i) {
            // each fragment is closed only because the next word would not fit
            const QString nextWord = fragments[i + 1].section(u' ', 0, 0);
            QVERIFY(Characters::count(fragments[i]) <= Manuscript::fragmentLength);
            QVERIFY(Characters::count(fragments[i]) + 1 + Characters::count(nextWord)
                    > Manuscript::fragmentLength);
        }
    }

    void foreignCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("letters");

        QTest::newRow("cyrillic, digits, marks") << u"В 1812 году — «война»; 3,5 %. АаОоРрСс"_s
                                                 << QStringList{};
        QTest::newRow("accented letters are not reported") << u"café"_s
                                                           << QStringList{"a", "c", "f"};
        QTest::newRow("decomposed accent") << u"cafe\u0301"_s << QStringList{"a", "c", "f"};
        QTest::newRow("accented and plain e") << u"e\u0301 e"_s << QStringList{"e"};
        QTest::newRow("greek") << u"αβγ Z"_s << QStringList{"Z"};
        QTest::newRow("glued to cyrillic") << u"аbв"_s << QStringList{"b"};
        QTest::newRow("latin next to emoji") << u"x👍🏽y"_s << QStringList{"x", "y"};
        QTest::newRow("Kelvin sign") << u"\u212A"_s << QStringList{"K"};
        QTest::newRow("Kelvin sign after a glued letter") << u"Wiж\u212A"_s
                                                           << QStringList{"K", "W", "i"};
    }

    void foreignCharacters()
    {
        QFETCH(QString, text);
        QTEST(Manuscript::foreignCharacters(text), "letters");
    }
};

QTEST_APPLESS_MAIN(TestManuscript)
#include "test_manuscript.moc"
