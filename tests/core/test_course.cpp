// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "characters.h"
#include "course.h"
#include "prose.h"
#include "russian_layout.h"
#include "words.h"

#include <QSet>
#include <QTest>

#include <xkbcommon/xkbcommon.h>

using namespace Qt::StringLiterals;

// What a key types in the xkb data's Russian layout; empty without the data.
static QString xkbRussian(quint32 keycode, bool shift, bool capsLock)
{
    static xkb_context *context = xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
    static const xkb_rule_names names{"evdev", "pc105", "ru", "", ""};
    static xkb_keymap *map = xkb_keymap_new_from_names(context, &names, {});
    static xkb_state *state = map ? xkb_state_new(map) : nullptr;
    if (!state)
        return {};
    const xkb_mod_mask_t shiftMask = 1u << xkb_keymap_mod_get_index(map, XKB_MOD_NAME_SHIFT);
    const xkb_mod_mask_t capsMask = 1u << xkb_keymap_mod_get_index(map, XKB_MOD_NAME_CAPS);
    xkb_state_update_mask(state, shift ? shiftMask : 0, 0, capsLock ? capsMask : 0, 0, 0, 0);
    const char32_t c = xkb_state_key_get_utf32(state, keycode);
    return c ? QString::fromUcs4(&c, 1) : QString();
}

// The course material: its lessons, the keys they teach and the built-in texts.
class TestCourse : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lessonsUnlockEveryLetterOnce()
    {
        const QStringList all = Course::unlockedLetters(28);
        QCOMPARE(all.size(), 33); // no mark, no letter twice
        QCOMPARE(QSet<QString>(all.cbegin(), all.cend()).size(), 33);
        for (const QString &letter : all)
            QVERIFY2(Characters::isCyrillic(letter) && !Characters::isUpper(letter),
                     qPrintable(letter));
        QCOMPARE(Course::lesson(99).id, 1); // a hand-edited profile's unknown lesson
    }

    void everyBuiltInTextCanBeTyped()
    {
        QStringList texts = Words::common() + Words::properNames() + Words::yoWords();
        for (const Excerpt &e : Prose::excerpts())
            texts << e.text;
        for (const QString &text : std::as_const(texts)) {
            for (const QString &c : Characters::split(text))
                QVERIFY2(RussianLayout::canType(c), qPrintable(u"'%1' in %2"_s.arg(c, text)));
        }
    }

    void physicalKeysTypeAsTheRussianLayout_data()
    {
        // the letter rows (X key codes from Q, A, Z on), digits, ё, \, space, ISO key left of Z
        QTest::addColumn<quint32>("keycode");
        const auto &rows = RussianLayout::rows();
        for (qsizetype r = 0; r < rows.size(); ++r) {
            for (qsizetype i = 0; i < rows[r].size(); ++i)
                QTest::newRow(qPrintable(rows[r][i].character)) << quint32(24 + 14 * r + i);
        }
        for (const quint32 code : {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 49, 51, 65, 94})
            QTest::addRow("key code %u", code) << code;
    }

    void physicalKeysTypeAsTheRussianLayout()
    {
        QFETCH(quint32, keycode);
        QVERIFY2(!xkbRussian(keycode, false, false).isEmpty(), "no xkb data: install xkb-data");
        for (const int mods : {0, 1, 2, 3}) // Shift and Caps Lock, each on or off
            QCOMPARE(RussianLayout::typedByKey(keycode, mods & 1, mods & 2),
                     std::optional(xkbRussian(keycode, mods & 1, mods & 2)));
    }
};

QTEST_GUILESS_MAIN(TestCourse)
#include "test_course.moc"
