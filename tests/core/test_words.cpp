// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "characters.h"
#include "prose.h"
#include "words.h"

#include <QMap>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

bool allOf(const QString &word, bool (*test)(QStringView))
{
    const QStringList chars = Characters::split(word);
    return std::all_of(chars.cbegin(), chars.cend(), [test](const QString &c) { return test(c); });
}

bool isLowerCyrillicLetter(QStringView c)
{
    return Characters::isLetter(c) && Characters::isCyrillic(c) && !Characters::isUpper(c);
}

const QString allLowercase = u"абвгдеёжзийклмнопрстуфхцчшщъыьэюя"_s;

} // namespace

class TestWords : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listSizes();
    void commonWordLengths();
    void commonWordsAreLowercaseAndWithoutYo();
    void onlyZemlyaRepeats();
    void yoWordsAllHaveYo();
    void properNamesEndWithTheWriters();
    void letterFrequencyTable();

    void excerpt_data();
    void excerpt();
    void excerptsTogether();
};

void TestWords::listSizes()
{
    QCOMPARE(Words::common().size(), 476);
    QCOMPARE(Words::properNames().size(), 29);
    QCOMPARE(Words::yoWords().size(), 43);
    QCOMPARE(Words::letterFrequency().size(), 33);
    QCOMPARE(Prose::excerpts().size(), 8);
}

void TestWords::commonWordLengths()
{
    // A dropped, doubled or mistyped word shifts one of these counts.
    QMap<qsizetype, int> byLength;
    for (const QString &word : Words::common())
        byLength[Characters::count(word)] += 1;
    const QMap<qsizetype, int> expected{{1, 6},   {2, 24}, {3, 66}, {4, 105}, {5, 126},
                                        {6, 97},  {7, 43}, {8, 8},  {9, 1}};
    QCOMPARE(byLength, expected);
    QCOMPARE(Words::common().first(), u"а"_s);
    QCOMPARE(Words::common().last(), u"чуть"_s);
}

void TestWords::commonWordsAreLowercaseAndWithoutYo()
{
    for (const QString &word : Words::common()) {
        QVERIFY2(allOf(word, isLowerCyrillicLetter), qPrintable(word));
        QVERIFY2(!word.contains(u"ё"_s), qPrintable(word));
    }
}

void TestWords::onlyZemlyaRepeats()
{
    const QStringList &common = Words::common();
    QCOMPARE(common.indexOf(u"земля"_s), 120);
    QCOMPARE(common.count(u"земля"_s), 2);
    const QSet<QString> distinct(common.cbegin(), common.cend());
    QCOMPARE(distinct.size(), 475);
}

void TestWords::yoWordsAllHaveYo()
{
    QCOMPARE(Words::yoWords().first(), u"ёж"_s);
    QCOMPARE(Words::yoWords().last(), u"орёл"_s);
    for (const QString &word : Words::yoWords()) {
        QVERIFY2(word.contains(u"ё"_s), qPrintable(word));
        QVERIFY2(allOf(word, isLowerCyrillicLetter), qPrintable(word));
    }
}

void TestWords::properNamesEndWithTheWriters()
{
    const QStringList &names = Words::properNames();
    QCOMPARE(names.first(), u"Анна"_s);
    for (const QString &name : names) {
        QVERIFY2(Characters::isUpper(Characters::first(name)), qPrintable(name));
        QVERIFY2(allOf(name, [](QStringView c) {
                     return Characters::isLetter(c) && Characters::isCyrillic(c);
                 }),
                 qPrintable(name));
        QVERIFY2(Characters::count(name) >= 3 && Characters::count(name) <= 11, qPrintable(name));
    }

    // given name and surname of each writer of the library, in pairs
    QSet<QString> writers;
    for (qsizetype i = 15; i < names.size(); i += 2)
        writers.insert(names[i] + u' ' + names[i + 1]);
    QSet<QString> authors;
    for (const Excerpt &e : Prose::excerpts())
        authors.insert(e.author);
    QCOMPARE(writers.size(), 7);
    QCOMPARE(writers, authors);
}

void TestWords::letterFrequencyTable()
{
    const auto &table = Words::letterFrequency();
    QString letters;
    double sum = 0.0;
    for (const auto &[letter, frequency] : table) {
        letters += letter;
        sum += frequency;
        QCOMPARE(Words::frequency(letter).value_or(-1.0), frequency);
    }
    QCOMPARE(letters, u"оеаинтсрвлкмдпуяыьгзбчйхжшюцщэфъё"_s);
    QVERIFY(sum > 1.0 && sum < 1.01);
    QCOMPARE(Words::frequency(u"о").value_or(-1.0), 0.1097);
    QCOMPARE(Words::frequency(u"ъ").value_or(-1.0), 0.0004);
    QVERIFY(!Words::frequency(u"А"));
}

void TestWords::excerpt_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("length");

    const QList<int> lengths{123, 178, 214, 206, 181, 167, 198, 282};
    for (int i = 0; i < lengths.size(); ++i)
        QTest::addRow("record %d", i + 1) << i << lengths[i];
}

void TestWords::excerpt()
{
    QFETCH(int, index);
    QFETCH(int, length);

    const Excerpt &e = Prose::excerpts().at(index);
    QCOMPARE(e.number, index + 1);
    QVERIFY2(Characters::count(e.author) >= 10 && Characters::count(e.author) <= 17,
             qPrintable(e.author));
    QVERIFY2(Characters::count(e.title) >= 9 && Characters::count(e.title) <= 21,
             qPrintable(e.title));

    const QString &text = e.text;
    const qsizetype n = Characters::count(text);
    QVERIFY2(n >= length * 0.85 && n <= length * 1.15, qPrintable(QString::number(n)));
    QVERIFY(!text.contains(u"  "_s));
    QCOMPARE(text.trimmed(), text);
    QVERIFY(Characters::isUpper(Characters::first(text)));
    const QString allowed =
        allLowercase + u"АБВГДЕЗМНОПРСХЯ ,.:;?-\u2014"_s;
    for (const QString &c : Characters::split(text))
        QVERIFY2(allowed.contains(c), qPrintable(u"'%1' in %2"_s.arg(c).arg(text)));
    const qsizetype words = text.split(u' ').size();
    QVERIFY(words >= 17 && words <= 45);
}

void TestWords::excerptsTogether()
{
    int question = 0;
    int full = 0;
    int hyphens = 0;
    int dashes = 0;
    QSet<QChar> used;
    QSet<QString> authors;
    for (const Excerpt &e : Prose::excerpts()) {
        question += e.text.endsWith(u'?') ? 1 : 0;
        full += e.text.endsWith(u'.') ? 1 : 0;
        hyphens += e.text.contains(u'-') ? 1 : 0;
        dashes += e.text.contains(u'\u2014') ? 1 : 0;
        for (QChar c : e.text)
            used.insert(c);
        authors.insert(e.author);
    }
    QCOMPARE(full, 7);
    QCOMPARE(question, 1);
    QCOMPARE(hyphens, 2);
    QCOMPARE(dashes, 1);

    // every lowercase letter except "ъ" and "э"
    QString missing;
    for (QChar c : allLowercase) {
        if (!used.contains(c))
            missing += c;
    }
    QCOMPARE(missing, u"ъэ"_s);

    QCOMPARE(authors.size(), 7);
    QCOMPARE(Prose::excerpts().at(1).author, Prose::excerpts().at(4).author);
}

QTEST_APPLESS_MAIN(TestWords)
#include "test_words.moc"
