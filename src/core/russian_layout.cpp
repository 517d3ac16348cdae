// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "russian_layout.h"

#include "characters.h"

#include <QHash>

std::optional<Finger> fingerFromRaw(int raw)
{
    if (raw >= int(Finger::pinky) && raw <= int(Finger::index))
        return Finger(raw);
    return std::nullopt;
}

namespace {

constexpr Hand L = Hand::left;
constexpr Hand R = Hand::right;
constexpr Finger pinky = Finger::pinky;
constexpr Finger ring = Finger::ring;
constexpr Finger middle = Finger::middle;
constexpr Finger indexF = Finger::index;

struct KeySeed
{
    const char16_t *character;
    Hand hand;
    Finger finger;
};

QList<KeyDef> makeRow(std::initializer_list<KeySeed> seeds)
{
    QList<KeyDef> row;
    row.reserve(qsizetype(seeds.size()));
    for (const KeySeed &s : seeds)
        row.append(KeyDef{QString::fromUtf16(s.character), s.hand, s.finger});
    return row;
}

// What Shift types on the digit row's keys after "ё", in their order.
constexpr QStringView digitRowShifted = u"!\"№;%:?*()_+";

// Every character a key types, with or without Shift, by its lower-case
// form, and the stand-ins: the key to strike for each.
const QHash<QString, KeyDef> &keyMap()
{
    static const QHash<QString, KeyDef> map = [] {
        QHash<QString, KeyDef> m;
        for (const auto &row : RussianLayout::rows()) {
            for (const KeyDef &k : row)
                m.insert(k.character, k);
        }
        m.insert(QStringLiteral(","), m.value(QStringLiteral(".")));
        for (const KeyDef &k : RussianLayout::digitRow()) {
            m.insert(k.character, k);
            m.insert(Characters::lower(RussianLayout::shifted(k)), k);
        }
        for (const QString &ch : {QStringLiteral("—"), QStringLiteral("«"), QStringLiteral("»")})
            m.insert(ch, m.value(*RussianLayout::standIn(ch)));
        return m;
    }();
    return map;
}

// A physical key and the two characters the Russian layout gives it.
struct KeyCharacters
{
    QString plain;
    QString shifted;
};

// The key codes of the first key of each letter row (Q, A and Z on a Latin
// keyboard), of the digit row's "1", of the key left of "1", of the keys
// beside Enter and the space bar, and of the key left of Z that ISO keyboards have.
constexpr quint32 firstKeyOfRow[] = {24, 38, 52};
constexpr quint32 firstDigitKey = 10;
constexpr quint32 yoKey = 49;
constexpr quint32 backslashKey = 51;
constexpr quint32 spaceKey = 65;
constexpr quint32 isoKey = 94;

const QHash<quint32, KeyCharacters> &keyCharacters()
{
    static const QHash<quint32, KeyCharacters> table = [] {
        QHash<quint32, KeyCharacters> t;
        const auto &rows = RussianLayout::rows();
        for (qsizetype r = 0; r < rows.size(); ++r) {
            for (qsizetype i = 0; i < rows[r].size(); ++i) {
                const QString &c = rows[r][i].character;
                // Shift on the full-stop key gives the comma, on a letter its capital.
                t.insert(firstKeyOfRow[r] + quint32(i),
                         {c, c == u"." ? QStringLiteral(",") : Characters::upper(c)});
            }
        }
        const QList<KeyDef> &digits = RussianLayout::digitRow();
        t.insert(yoKey, {digits.first().character, RussianLayout::shifted(digits.first())});
        for (qsizetype i = 1; i < digits.size(); ++i)
            t.insert(firstDigitKey + quint32(i - 1),
                     {digits.at(i).character, RussianLayout::shifted(digits.at(i))});
        t.insert(backslashKey, {QStringLiteral("\\"), QStringLiteral("/")});
        t.insert(spaceKey, {QStringLiteral(" "), QStringLiteral(" ")});
        t.insert(isoKey, {QStringLiteral("/"), QStringLiteral("|")});
        return t;
    }();
    return table;
}

} // namespace

namespace RussianLayout {

const QList<QList<KeyDef>> &rows()
{
    static const QList<QList<KeyDef>> table{
        makeRow({{u"й", L, pinky}, {u"ц", L, ring}, {u"у", L, middle}, {u"к", L, indexF},
                 {u"е", L, indexF}, {u"н", R, indexF}, {u"г", R, indexF}, {u"ш", R, middle},
                 {u"щ", R, ring}, {u"з", R, pinky}, {u"х", R, pinky}, {u"ъ", R, pinky}}),
        makeRow({{u"ф", L, pinky}, {u"ы", L, ring}, {u"в", L, middle}, {u"а", L, indexF},
                 {u"п", L, indexF}, {u"р", R, indexF}, {u"о", R, indexF}, {u"л", R, middle},
                 {u"д", R, ring}, {u"ж", R, pinky}, {u"э", R, pinky}}),
        makeRow({{u"я", L, pinky}, {u"ч", L, ring}, {u"с", L, middle}, {u"м", L, indexF},
                 {u"и", L, indexF}, {u"т", R, indexF}, {u"ь", R, indexF}, {u"б", R, middle},
                 {u"ю", R, ring}, {u".", R, pinky}}),
    };
    return table;
}

const QList<KeyDef> &digitRow()
{
    static const QList<KeyDef> row =
        makeRow({{u"ё", L, pinky}, {u"1", L, pinky}, {u"2", L, ring}, {u"3", L, middle},
                 {u"4", L, indexF}, {u"5", L, indexF}, {u"6", R, indexF}, {u"7", R, indexF},
                 {u"8", R, middle}, {u"9", R, ring}, {u"0", R, pinky}, {u"-", R, pinky},
                 {u"=", R, pinky}});
    return row;
}

QString shifted(const KeyDef &key)
{
    if (key.character == u".")
        return QStringLiteral(",");
    const QList<KeyDef> &digits = digitRow();
    for (qsizetype i = 1; i < digits.size(); ++i) {
        if (digits.at(i).character == key.character)
            return digitRowShifted.at(i - 1);
    }
    return Characters::upper(key.character);
}

const QSet<QString> &homeChars()
{
    static const QSet<QString> set{QStringLiteral("а"), QStringLiteral("о")};
    return set;
}

const QSet<QString> &vowels()
{
    static const QSet<QString> set{QStringLiteral("а"), QStringLiteral("о"), QStringLiteral("у"),
                                   QStringLiteral("ы"), QStringLiteral("э"), QStringLiteral("е"),
                                   QStringLiteral("и"), QStringLiteral("ю"), QStringLiteral("я"),
                                   QStringLiteral("ё")};
    return set;
}

bool needsShift(QStringView ch)
{
    // The canonical form, as key() looks it up: a pasted Greek question mark
    // is typed as ";" and needs Shift like it.
    const QString c = Characters::canonical(ch);
    if (Characters::isUpper(c))
        return true;
    if (c.size() != 1)
        return false;
    return c == u"," || c == u"«" || c == u"»" || digitRowShifted.contains(c.front());
}

std::optional<QString> standIn(QStringView ch)
{
    if (ch == u"—")
        return QStringLiteral("-");
    if (ch == u"«" || ch == u"»")
        return QStringLiteral("\"");
    return std::nullopt;
}

QString typedAs(QStringView ch)
{
    // Most characters are one unit that decomposes into nothing.
    if (ch.size() == 1 && ch.front().decompositionTag() == QChar::NoDecomposition)
        return ch.toString();
    // Decomposed, every mark stands apart, also one that composes with its
    // letter ("е" + U+0300 is "ѐ") and one that stands for two (U+0344 is
    // U+0308 U+0301), so the marks are counted in that form, not the text's.
    QString plain = ch.toString().normalized(QString::NormalizationForm_D);
    const qsizetype marked = plain.size();
    plain.removeIf([](QChar u) { return u == u'\u0301' || u == u'\u0300'; });
    if (plain.size() == marked)
        return ch.toString();
    plain = Characters::canonical(plain);
    return vowels().contains(Characters::lower(plain)) ? plain : ch.toString();
}

std::optional<KeyDef> key(QStringView ch)
{
    const QString l = Characters::canonical(Characters::lower(typedAs(ch)));
    const auto &map = keyMap();
    const auto it = map.constFind(l);
    if (it == map.cend())
        return std::nullopt;
    return *it;
}

Stroke stroke(QStringView ch)
{
    Stroke s;
    s.thumbs = ch == u" ";
    s.key = key(ch);
    if (s.key && needsShift(ch))
        s.shiftHand = s.key->hand == Hand::left ? Hand::right : Hand::left;
    return s;
}

bool canType(QStringView ch)
{
    if (key(ch))
        return true;
    // The digit row and the key beside the right Shift, with and without
    // Shift, plus the stand-ins an exercise accepts.
    static constexpr QStringView others = u" 1234567890!\"№;%:?*()-_=+\\/«»—";
    const QString c = Characters::canonical(ch);
    return c.size() == 1 && others.contains(c.front());
}

std::optional<QString> typedByKey(quint32 scanCode, bool shift, bool capsLock)
{
    const auto &table = keyCharacters();
    const auto it = table.constFind(scanCode);
    if (it == table.cend())
        return std::nullopt;
    // Caps Lock swaps the two characters of a letter key only, one whose Shift
    // gives the capital of its plain character (the keys xkb gives the
    // alphabetic type), so with Shift too it types the small letter.
    const bool letter = it->plain != it->shifted && Characters::upper(it->plain) == it->shifted;
    return shift != (capsLock && letter) ? it->shifted : it->plain;
}

} // namespace RussianLayout
