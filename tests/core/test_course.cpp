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
static QString xkbRussian(quint32 keycode, bool shift)
{
    static xkb_context *context = xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
    static const xkb_rule_names names{"evdev", "pc105", "ru", "", ""};
    static xkb_keymap *map = xkb_keymap_new_from_names(context, &names, {});
    // A key of one level (the space bar) types the same with Shift.
    const bool level2 = shift && map && xkb_keymap_num_levels_for_key(map, keycode, 0) > 1;
    const xkb_keysym_t *syms = nullptr;
    if (!map || xkb_keymap_key_get_syms_by_level(map, keycode, 0, level2, &syms) < 1)
        return {};
    const char32_t c = xkb_keysym_to_utf32(syms[0]);
    return QString::fromUcs4(&c, 1);
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
        // the letter rows (X key codes from Q, A, Z on), digits, ё, backslash, space
        QTest::addColumn<quint32>("keycode");
        const auto &rows = RussianLayout::rows();
        for (qsizetype r = 0; r < rows.size(); ++r) {
            for (qsizetype i = 0; i < rows[r].size(); ++i)
                QTest::newRow(qPrintable(rows[r][i].character)) << quint32(24 + 14 * r + i);
        }
        for (const quint32 keycode : {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 49, 51, 65})
            QTest::addRow("key code %u", keycode) << keycode;
    }

    void physicalKeysTypeAsTheRussianLayout()
    {
        QFETCH(quint32, keycode);
        QVERIFY2(!xkbRussian(keycode, false).isEmpty(), "no xkb data: install xkb-data");
        for (const bool shift : {false, true})
            QCOMPARE(RussianLayout::typedByKey(keycode, shift),
                     std::optional(xkbRussian(keycode, shift)));
    }
};

QTEST_GUILESS_MAIN(TestCourse)
#include "test_course.moc"
