// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech_text.h"

#include "characters.h"
#include "russian_layout.h"
#include "russian_plural.h"

#include <QHash>

namespace SpeechText {

namespace {

// Letters by their names in the alphabet; the few that sound alike when
// read alone get the names that tell them apart.
const QHash<QString, QString> &names()
{
    static const QHash<QString, QString> table = [] {
        const std::pair<const char16_t *, const char16_t *> pairs[] = {
            {u"а", u"а"}, {u"б", u"бэ"}, {u"в", u"вэ"}, {u"г", u"гэ"}, {u"д", u"дэ"},
            {u"е", u"е"}, {u"ё", u"ё"}, {u"ж", u"жэ"}, {u"з", u"зэ"}, {u"и", u"и"},
            {u"й", u"и краткое"}, {u"к", u"ка"}, {u"л", u"эль"}, {u"м", u"эм"}, {u"н", u"эн"},
            {u"о", u"о"}, {u"п", u"пэ"}, {u"р", u"эр"}, {u"с", u"эс"}, {u"т", u"тэ"},
            {u"у", u"у"}, {u"ф", u"эф"}, {u"х", u"ха"}, {u"ц", u"цэ"}, {u"ч", u"чэ"},
            {u"ш", u"ша"}, {u"щ", u"ща"}, {u"ъ", u"твёрдый знак"}, {u"ы", u"ы"},
            {u"ь", u"мягкий знак"}, {u"э", u"э оборотное"}, {u"ю", u"ю"}, {u"я", u"я"},
            {u"0", u"ноль"}, {u"1", u"один"}, {u"2", u"два"}, {u"3", u"три"},
            {u"4", u"четыре"}, {u"5", u"пять"}, {u"6", u"шесть"}, {u"7", u"семь"},
            {u"8", u"восемь"}, {u"9", u"девять"},
            {u" ", u"пробел"}, {u".", u"точка"}, {u",", u"запятая"},
            {u"!", u"восклицательный знак"}, {u"?", u"вопросительный знак"},
            {u";", u"точка с запятой"}, {u":", u"двоеточие"}, {u"«", u"открывающая кавычка"},
            {u"»", u"закрывающая кавычка"}, {u"\"", u"кавычка"}, {u"'", u"апостроф"},
            {u"—", u"тире"}, {u"–", u"короткое тире"}, {u"-", u"дефис"}, {u"…", u"многоточие"},
            {u"(", u"открывающая скобка"}, {u")", u"закрывающая скобка"}, {u"№", u"номер"},
            {u"%", u"процент"}, {u"*", u"звёздочка"}, {u"_", u"подчёркивание"},
            {u"=", u"равно"}, {u"+", u"плюс"}, {u"/", u"косая черта"},
            {u"\\", u"обратная косая черта"},
        };
        QHash<QString, QString> t;
        for (const auto &[ch, name] : pairs)
            t.insert(QString::fromUtf16(ch), QString::fromUtf16(name));
        return t;
    }();
    return table;
}

} // namespace

QString name(const QString &character)
{
    // What the key types: a stressed vowel is typed, and named, as its vowel.
    const QString typed = Characters::canonical(RussianLayout::typedAs(character));
    const QString small = Characters::lower(typed);
    const QString found = names().value(small);
    if (found.isEmpty())
        return character; // the engine reads what it can
    return small != typed ? QStringLiteral("заглавная ") + found : found;
}

QString word(const QStringList &characters)
{
    QStringList parts;
    QString letters;
    const auto flush = [&] {
        if (letters.isEmpty())
            return;
        parts << (Characters::isUpper(letters) ? QStringLiteral("с заглавной ") + letters
                                                : letters);
        letters.clear();
    };
    for (const QString &ch : characters) {
        if (Characters::isLetter(ch)) {
            letters += ch;
        } else {
            flush();
            parts << name(ch);
        }
    }
    flush();
    return parts.join(QStringLiteral(", "));
}

QString spelled(const QStringList &characters)
{
    QStringList parts;
    parts.reserve(characters.size());
    for (const QString &ch : characters)
        parts << name(ch);
    return parts.join(QStringLiteral(", "));
}

QString start(const QString &caption, const QString &firstWord)
{
    // The caption's dots are for the eye; aloud they are pauses.
    QString spoken = caption;
    spoken.replace(QStringLiteral(" · "), QStringLiteral(". "));
    return firstWord.isEmpty() ? spoken : spoken + QStringLiteral(". ") + firstWord;
}

QString wrongKey()
{
    return QStringLiteral("ошибка");
}

QString result(const QString &title, qint64 speed, const QString &accuracy,
               const QString &lessonCount)
{
    // "Урок пройден!" ends itself; "Упражнение зачтено" gets its full stop.
    const bool ended = title.endsWith(u'!') || title.endsWith(u'.');
    return title + (ended ? QStringLiteral(" ") : QStringLiteral(". "))
           + RussianPlural::counted(speed, RussianPlural::sign)
           + QStringLiteral(" в минуту, точность ") + accuracy
           + QStringLiteral(", упражнений в уроке: ") + lessonCount + u'.';
}

QString speechTurnedOn()
{
    return QStringLiteral("Озвучивание включено");
}

QString menuTitle(SpeechOutput::Availability availability)
{
    switch (availability) {
    case SpeechOutput::Availability::noEngine:
        return QStringLiteral("Озвучивание недоступно: нет синтезатора речи");
    case SpeechOutput::Availability::noRussianVoice:
        return QStringLiteral("Озвучивание недоступно: нет русского голоса");
    case SpeechOutput::Availability::checking:
    case SpeechOutput::Availability::ready:
        break;
    }
    return QStringLiteral("Озвучивание");
}

} // namespace SpeechText
