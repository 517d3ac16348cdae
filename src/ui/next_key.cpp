// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "next_key.h"

#include "characters.h"

namespace {

// How the hint names a key: by what is printed on it.
QString keyName(const KeyDef &key)
{
    if (key.character == u"-")
        return QStringLiteral("минус");
    return Characters::upper(key.character);
}

// What a character typed by a stand-in is called.
QString standInName(const QString &character)
{
    return character == u"—" ? QStringLiteral("Тире") : QStringLiteral("Кавычка");
}

} // namespace

NextKey NextKey::of(const QString &character)
{
    NextKey next;
    next.m_character = character;
    if (character.isEmpty())
        return next; // the hint keeps its line with a space
    next.m_stroke = RussianLayout::stroke(character);
    if (next.m_stroke.thumbs) {
        next.m_hint = QStringLiteral("пробел — большим пальцем");
    } else if (const auto &key = next.m_stroke.key) {
        // A character no key types is named, with the key that stands in for it.
        next.m_hint = RussianLayout::standIn(character)
                          ? standInName(character) + QStringLiteral(" — клавиша ") + keyName(*key)
                                + QStringLiteral(", ") + fingerName(*key)
                          : keyName(*key) + QStringLiteral(" — ") + fingerName(*key);
        if (next.m_stroke.shiftHand)
            next.m_hint += QStringLiteral(", шифт другой рукой");
    } else {
        next.m_hint = QStringLiteral("наберите: ") + character;
    }
    return next;
}

QString NextKey::fingerName(const KeyDef &key)
{
    static const QString fingers[] = {QStringLiteral("мизинец"), QStringLiteral("безымянный"),
                                      QStringLiteral("средний"), QStringLiteral("указательный")};
    return (key.hand == Hand::left ? QStringLiteral("левый ") : QStringLiteral("правый "))
           + fingers[int(key.finger)];
}

QString NextKey::keyCharacter() const
{
    return m_stroke.key ? m_stroke.key->character : QString();
}

std::optional<Finger> NextKey::finger(Hand hand) const
{
    if (m_stroke.key && m_stroke.key->hand == hand)
        return m_stroke.key->finger;
    if (m_stroke.shiftHand == hand)
        return Finger::pinky;
    return std::nullopt;
}
