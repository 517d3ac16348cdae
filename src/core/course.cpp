// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "course.h"

#include "characters.h"



namespace {

Lesson make(qint64 id, qint64 stage, const QString &title, const QStringList &newKeys,
            LessonKind kind = LessonKind::letters, const QStringList &marks = {})
{
    return Lesson{id, stage, title, newKeys, kind, marks};
}

QList<Stage> buildStages()
{
    using K = LessonKind;
    const QString dash = QStringLiteral("—"); // em dash, U+2014
    QList<Stage> stages{
        {0, QStringLiteral("Домашний ряд"), QStringLiteral("ФЫВА — ОЛДЖ: пальцы дома"), {}},
        {1, QStringLiteral("Верхний ряд"), QStringLiteral("ЙЦУКЕН — самые частые буквы"), {}},
        {2, QStringLiteral("Нижний ряд"), QStringLiteral("ЯЧСМИТЬ — достаём вниз"), {}},
        {3, QStringLiteral("Заглавные и Ё"), QStringLiteral("Шифт противоположной рукой"), {}},
        {4, QStringLiteral("Знаки писателя"), QStringLiteral("Точка, запятая, тире, «ёлочки»"), {}},
        // Three of the writers whose paragraphs the prose lesson types.
        {5, QStringLiteral("Проза"), QStringLiteral("Пушкин, Толстой, Чехов — целыми абзацами"), {}},
    };
    const QList<Lesson> all{
        make(1, 0, QStringLiteral("А и О — указательные"), {QStringLiteral("а"), QStringLiteral("о")}),
        make(2, 0, QStringLiteral("В и Л — средние"), {QStringLiteral("в"), QStringLiteral("л")}),
        make(3, 0, QStringLiteral("Ы и Д — безымянные"), {QStringLiteral("ы"), QStringLiteral("д")}),
        make(4, 0, QStringLiteral("Ф и Ж — мизинцы"), {QStringLiteral("ф"), QStringLiteral("ж")}),
        make(5, 0, QStringLiteral("П и Р — растяжка указательных"),
             {QStringLiteral("п"), QStringLiteral("р")}),
        make(6, 0, QStringLiteral("Э и повторение ряда"), {QStringLiteral("э")}),
        make(7, 1, QStringLiteral("Е и Н"), {QStringLiteral("е"), QStringLiteral("н")}),
        make(8, 1, QStringLiteral("К и Г"), {QStringLiteral("к"), QStringLiteral("г")}),
        make(9, 1, QStringLiteral("У и Ш"), {QStringLiteral("у"), QStringLiteral("ш")}),
        make(10, 1, QStringLiteral("Ц и Щ"), {QStringLiteral("ц"), QStringLiteral("щ")}),
        make(11, 1, QStringLiteral("Й и З"), {QStringLiteral("й"), QStringLiteral("з")}),
        make(12, 1, QStringLiteral("Х и Ъ"), {QStringLiteral("х"), QStringLiteral("ъ")}),
        make(13, 1, QStringLiteral("Два ряда вместе"), {}),
        make(14, 2, QStringLiteral("И и Т"), {QStringLiteral("и"), QStringLiteral("т")}),
        make(15, 2, QStringLiteral("М и Ь"), {QStringLiteral("м"), QStringLiteral("ь")}),
        make(16, 2, QStringLiteral("С и Б"), {QStringLiteral("с"), QStringLiteral("б")}),
        make(17, 2, QStringLiteral("Ч и Ю"), {QStringLiteral("ч"), QStringLiteral("ю")}),
        make(18, 2, QStringLiteral("Я — вся азбука без Ё"), {QStringLiteral("я")}),
        make(19, 2, QStringLiteral("Все три ряда"), {}),
        make(20, 3, QStringLiteral("Буква Ё"), {QStringLiteral("ё")}, K::yo),
        make(21, 3, QStringLiteral("Заглавные буквы"), {}, K::capitals),
        make(22, 3, QStringLiteral("Заглавные и Ё вместе"), {}, K::capitals),
        make(23, 4, QStringLiteral("Точка и запятая"), {QStringLiteral("."), QStringLiteral(",")},
             K::punctuation, {QStringLiteral("."), QStringLiteral(",")}),
        make(24, 4, QStringLiteral("Вопрос и восклицание"), {}, K::punctuation,
             {QStringLiteral("?"), QStringLiteral("!")}),
        make(25, 4, QStringLiteral("Тире и двоеточие"), {}, K::punctuation,
             {dash, QStringLiteral(":")}),
        make(26, 4, QStringLiteral("Кавычки-ёлочки"), {}, K::punctuation,
             {QStringLiteral("«"), QStringLiteral("»")}),
        make(27, 4, QStringLiteral("Все знаки вместе"), {}, K::punctuation,
             {QStringLiteral("."), QStringLiteral(","), QStringLiteral("?"), QStringLiteral("!"),
              dash, QStringLiteral(":"), QStringLiteral("«"), QStringLiteral("»")}),
        make(28, 5, QStringLiteral("Классика без предела"), {}, K::prose),
    };
    for (const Lesson &lesson : all)
        stages[lesson.stageIndex].lessons.append(lesson);
    return stages;
}

} // namespace

namespace Course {

const QList<Stage> &stages()
{
    static const QList<Stage> table = buildStages();
    return table;
}

const QList<Lesson> &lessons()
{
    static const QList<Lesson> table = [] {
        QList<Lesson> all;
        for (const Stage &stage : stages())
            all.append(stage.lessons);
        return all;
    }();
    return table;
}

Lesson lesson(qint64 id)
{
    for (const Lesson &l : lessons()) {
        if (l.id == id)
            return l;
    }
    return lessons().first();
}

QStringList unlockedLetters(qint64 upTo)
{
    QStringList letters;
    for (const Lesson &l : lessons()) {
        if (l.id > upTo)
            continue;
        for (const QString &key : l.newKeys) {
            if (Characters::isLetter(key))
                letters.append(key);
        }
    }
    return letters;
}

} // namespace Course
