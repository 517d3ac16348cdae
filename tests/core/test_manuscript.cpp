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
        const qsizetype max = Manuscript::maxLength;

        QTest::newRow("blanks collapse") << u"  раз\r\n\r\nдва\tтри\u00A0\u2009 да  "_s
                                         << u"раз два три да"_s;
        QTest::newRow("typography") << u"\u201Cслово\u2026\u201D \u2013 да"_s
                                    << u"«слово...» — да"_s;
        QTest::newRow("lone CR stays") << u"а\rб\r\r\nв"_s << u"а\rб\r в"_s;
        QTest::newRow("untouched marks and spaces")
            << u"кто-то \"да\" \u201Eнет\u201C 'а' \u2018б\u2019 10\u202Fкг"_s
            << u"кто-то \"да\" \u201Eнет« 'а' \u2018б\u2019 10\u202Fкг"_s;
        // cutting at the limit keeps whole characters and drops a space it would leave
        QTest::newRow("exactly the limit") << QString(max, u'ж') << QString(max, u'ж');
        QTest::newRow("cut after a space") << QString(max - 1, u'ж') + u" да"_s
                                           << QString(max - 1, u'ж');
        const QString yoAtTheCut = QString(max - 1, u'ж') + u"е\u0308ж"_s;
        QTest::newRow("decomposed yo at the cut") << yoAtTheCut << yoAtTheCut.left(max + 1);
        // far longer than the limit, with the cut well beyond the first window
        const QString decomposed = u"е\u0308"_s.repeated(max + 10);
        QTest::newRow("all decomposed") << decomposed << decomposed.left(2 * max);
        QTest::newRow("long paste with spaces")
            << (QString(5 * max, u'а') + u"  👨\u200D👩\u200D👧"_s) << QString(max, u'а');
    }

    void normalize()
    {
        QFETCH(QString, text);
        QTEST(Manuscript::normalize(text), "cleaned");
    }

    void chunks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<qsizetype>>("lengths"); // in characters

        QTest::newRow("fits exactly") << QString(100, u'ж') + u' ' + QString(69, u'з')
                                      << QList<qsizetype>{170};
        QTest::newRow("171 with a space") << QString(85, u'а') + u' ' + QString(85, u'б')
                                          << QList<qsizetype>{85, 85};
        QTest::newRow("decomposed letters count once")
            << QStringList(18, u"е\u0308е\u0308жабвгде"_s).join(u' ') << QList<qsizetype>{169, 9};
        QTest::newRow("long word alone") << u"да "_s + QString(200, u'ж') + u" нет"_s
                                         << QList<qsizetype>{2, 200, 3};
    }

    void chunks()
    {
        QFETCH(QString, text);
        const QStringList fragments = Manuscript::chunks(text);
        QList<qsizetype> lengths;
        for (const QString &fragment : fragments)
            lengths.append(Characters::count(fragment));
        QTEST(lengths, "lengths");
        QCOMPARE(fragments.join(u' '), text);
    }

    void foreignCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("letters");

        QTest::newRow("cyrillic, digits, marks") << u"В 1812 году — «война»; 3,5 %. АаОоРрСс"_s
                                                 << QStringList{};
        QTest::newRow("accented letters are not reported") << u"café"_s
                                                           << QStringList{"a", "c", "f"};
        QTest::newRow("decomposed accent and plain e") << u"e\u0301 e"_s << QStringList{"e"};
        QTest::newRow("glued to cyrillic") << u"аbв"_s << QStringList{"b"};
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
