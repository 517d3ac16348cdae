// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessible_text.h"
#include "characters.h"
#include "russian_layout.h"
#include "speech_text.h"

#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;
using Unit = AccessibleText::Unit;
using Availability = SpeechOutput::Availability;

// What Olvi says, and the exercise text as a screen reader counts it.
class TestSpeechText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every character an exercise can ask for has a name of its own, so that
    // no two sound alike; capitals are their small letter's name, marked.
    void everyTypeableCharacterHasItsOwnName()
    {
        QStringList characters{u"ё"_s};
        for (char16_t c = u'а'; c <= u'я'; ++c)
            characters << QString(QChar(c));
        QCOMPARE(characters.size(), 33);
        for (const QChar c : u" 1234567890!\"№;%:?*()-_=+\\/«»—'…–"_s)
            characters << QString(c);
        QHash<QString, QString> owner;
        for (const QString &ch : std::as_const(characters)) {
            QVERIFY2(RussianLayout::canType(ch) || u"'…–"_s.contains(ch), qPrintable(ch));
            const QString name = SpeechText::name(ch);
            QVERIFY2(!owner.contains(name), qPrintable(ch + u" and "_s + owner.value(name)));
            owner.insert(name, ch);
            // a mark is never read as itself: the engine would drop it or mumble
            if (!Characters::isLetter(ch))
                QVERIFY2(name != ch && name.size() > 2, qPrintable(ch));
            else if (Characters::upper(ch) != ch)
                QCOMPARE(SpeechText::name(Characters::upper(ch)), u"заглавная "_s + name);
        }
    }

    void phrases_data()
    {
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const QString &said, const QString &expected) {
            QTest::newRow(name) << said << expected;
        };
        const auto chars = [](const QString &s) { return Characters::split(s); };
        row("й", SpeechText::name(u"й"_s), u"и краткое"_s);
        row("ъ", SpeechText::name(u"ъ"_s), u"твёрдый знак"_s);
        row("ь", SpeechText::name(u"ь"_s), u"мягкий знак"_s);
        row("э", SpeechText::name(u"э"_s), u"э оборотное"_s);
        row("Ё", SpeechText::name(u"Ё"_s), u"заглавная ё"_s);
        row("ё decomposed", SpeechText::name(u"е\u0308"_s), u"ё"_s);
        row("stressed vowel", SpeechText::name(u"А\u0301"_s), u"заглавная а"_s);
        row("Latin letter", SpeechText::name(u"q"_s), u"q"_s);
        row("word", SpeechText::word(chars(u"дом"_s)), u"дом"_s);
        row("word with marks", SpeechText::word(chars(u"«Ёлка»,"_s)),
            u"открывающая кавычка, с заглавной Ёлка, закрывающая кавычка, запятая"_s);
        row("dash", SpeechText::word(chars(u"—"_s)), u"тире"_s);
        row("spelled", SpeechText::spelled(chars(u"щЪ:"_s)),
            u"ща, заглавная твёрдый знак, двоеточие"_s);
        row("start", SpeechText::start(u"Урок 1 · Домашний ряд · А и О"_s, u"оао"_s),
            u"Урок 1. Домашний ряд. А и О. оао"_s);
        row("wrong key", SpeechText::wrongKey(), u"ошибка"_s);
        row("passed", SpeechText::result(u"Упражнение зачтено"_s, 243, u"97,5 %"_s, u"2 из 3"_s),
            u"Упражнение зачтено. 243 знака в минуту, точность 97,5 %, "
            "упражнений в уроке: 2 из 3."_s);
        row("completed", SpeechText::result(u"Урок пройден!"_s, 111, u"100,0 %"_s, u"0 из 3"_s),
            u"Урок пройден! 111 знаков в минуту, точность 100,0 %, упражнений в уроке: 0 из 3."_s);
        row("one sign", SpeechText::result(u"Почти получилось"_s, 21, u"90,0 %"_s, u"1 из 3"_s),
            u"Почти получилось. 21 знак в минуту, точность 90,0 %, упражнений в уроке: 1 из 3."_s);
        row("ready", SpeechText::menuTitle(Availability::ready), u"Озвучивание"_s);
        row("no engine", SpeechText::menuTitle(Availability::noEngine),
            u"Озвучивание недоступно: нет синтезатора речи"_s);
        row("no voice", SpeechText::menuTitle(Availability::noRussianVoice),
            u"Озвучивание недоступно: нет русского голоса"_s);
    }
    void phrases()
    {
        QFETCH(QString, said);
        QTEST(said, "expected");
    }

    // AT-SPI counts scalars: a stress mark is a scalar of its own, an emoji one
    // scalar but two UTF-16 units; every unit handed out is whole.
    void offsetsCountScalars_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("at");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        const auto row = [](const char *name, int offset, Unit unit, const QString &at,
                            const QString &before, const QString &after) {
            QTest::newRow(name) << offset << int(unit) << at << before << after;
        };
        // lines "«Ёж» — " and "Москва́ 🙂": 7 + 9 scalars
        row("first", 0, Unit::character, u"«"_s, {}, u"Ё"_s);
        row("stressed", 12, Unit::character, u"а́"_s, u"в"_s, u" "_s);
        row("its mark", 13, Unit::character, u"а́"_s, u"в"_s, u" "_s);
        row("emoji", 15, Unit::character, u"🙂"_s, u" "_s, {});
        row("end", 16, Unit::character, {}, u"🙂"_s, {});
        row("word", 2, Unit::word, u"«Ёж» "_s, {}, u"— "_s);
        row("dash word", 5, Unit::word, u"— "_s, u"«Ёж» "_s, u"Москва́ "_s);
        row("line", 9, Unit::line, u"Москва́ 🙂"_s, u"«Ёж» — "_s, {});
        row("all", 3, Unit::all, u"«Ёж» — Москва́ 🙂"_s, {}, {});
    }
    void offsetsCountScalars()
    {
        const AccessibleText t({Characters::split(u"«Ёж» — "_s), Characters::split(u"Москва́ 🙂"_s)},
                               13);
        QCOMPARE(t.text(), u"«Ёж» — Москва́ 🙂"_s);
        QCOMPARE(t.length(), 16);
        QCOMPARE(t.caretOffset(), 14); // on the space after "Москва́": 7 + 5 + 2
        QFETCH(int, offset);
        QFETCH(int, unit);
        const auto text = [&t](std::pair<int, int> r) {
            return r.first < 0 ? QString() : t.slice(r.first, r.second);
        };
        QTEST(text(t.unitAt(offset, Unit(unit))), "at");
        QTEST(text(t.unitBefore(offset, Unit(unit))), "before");
        QTEST(text(t.unitAfter(offset, Unit(unit))), "after");
    }
};

QTEST_APPLESS_MAIN(TestSpeechText)
#include "test_speech_text.moc"
