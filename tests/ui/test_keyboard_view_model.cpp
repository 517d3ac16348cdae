// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard_view_model.h"
#include "theme.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QColor withOpacity(QColor c, double opacity)
{
    c.setAlphaF(float(opacity));
    return c;
}

const ThemePalette &light()
{
    return ThemePalette::light();
}

QList<KeyCap *> allCaps(const KeyboardViewModel &keyboard)
{
    QList<KeyCap *> caps;
    for (const QList<KeyDef> &row : RussianLayout::rows()) {
        for (const KeyDef &key : row)
            caps.append(keyboard.cap(key.character));
    }
    return caps;
}

} // namespace

class TestKeyboardViewModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void trainingMarks_data();
    void trainingMarks();
    void heatLevels_data();
    void heatLevels();
    void keystrokeTouchesOnlyTheOldAndNewKey();
};

void TestKeyboardViewModel::init()
{
    Theme::instance()->setAppearance(Appearance::light);
}

void TestKeyboardViewModel::cleanup()
{
    Theme::instance()->setAppearance(std::nullopt);
}

void TestKeyboardViewModel::trainingMarks_data()
{
    QTest::addColumn<QString>("next");
    QTest::addColumn<QString>("marked"); // the key shown as next, "" for none
    QTest::addColumn<bool>("leftShift");
    QTest::addColumn<bool>("rightShift");
    QTest::addColumn<bool>("space");

    QTest::newRow("capital of a right-hand key") << u"Ж"_s << u"ж"_s << true << false << false;
    QTest::newRow("capital of a left-hand key") << u"Я"_s << u"я"_s << false << true << false;
    QTest::newRow("comma: the full stop key") << u","_s << u"."_s << true << false << false;
    QTest::newRow("full stop") << u"."_s << u"."_s << false << false << false;
    QTest::newRow("home key") << u"а"_s << u"а"_s << false << false << false;
    QTest::newRow("space") << u" "_s << u""_s << false << false << true;
    QTest::newRow("mark without a key") << u"!"_s << u""_s << false << false << false;
    QTest::newRow("ё is not drawn") << u"ё"_s << u""_s << false << false << false;
    QTest::newRow("Ё lights the right Shift") << u"Ё"_s << u""_s << false << true << false;
    QTest::newRow("finished") << u""_s << u""_s << false << false << false;
}

void TestKeyboardViewModel::trainingMarks()
{
    QFETCH(QString, next);
    QFETCH(QString, marked);
    QFETCH(bool, leftShift);
    QFETCH(bool, rightShift);
    QFETCH(bool, space);

    // given a training keyboard, when the next character is set
    KeyboardViewModel keyboard;
    keyboard.setNext(NextKey::of(next));

    // then only the marked key wears the next key's look, over its own zone look
    for (KeyCap *cap : allCaps(keyboard)) {
        QCOMPARE(cap->isNext(), cap->character() == marked);
        QCOMPARE(cap->zoneBarShown(), true);
        QCOMPARE(cap->homeBumpShown(), cap->character() == u"а" || cap->character() == u"о");
        QCOMPARE(cap->fill(), zoneTintColor(cap->key().finger, false));
        QCOMPARE(cap->labelColor(), withOpacity(light().ink, 0.75));
    }
    QCOMPARE(keyboard.leftShiftLit(), leftShift);
    QCOMPARE(keyboard.rightShiftLit(), rightShift);
    QCOMPARE(keyboard.spaceLit(), space);
}

void TestKeyboardViewModel::heatLevels_data()
{
    QTest::addColumn<double>("level"); // below 0: no entry
    QTest::addColumn<QColor>("fill");
    QTest::addColumn<QColor>("label");

    const QColor darkLabel = withOpacity(light().ink, 0.75);
    QTest::newRow("no entry") << -1.0 << light().card << darkLabel;
    QTest::newRow("0.001 counts as none") << 0.001 << light().card << darkLabel;
    QTest::newRow("0.5") << 0.5 << withOpacity(light().accent, 0.495) << darkLabel;
    QTest::newRow("0.8: light label") << 0.8 << withOpacity(light().accent, 0.72)
                                      << light().onAccent;
    QTest::newRow("3.0 drawn as 1") << 3.0 << withOpacity(light().accent, 0.87)
                                    << light().onAccent;
}

void TestKeyboardViewModel::heatLevels()
{
    QFETCH(double, level);
    QFETCH(QColor, fill);
    QFETCH(QColor, label);

    // given a heat map whose only other entry is on another key
    QMap<QString, double> levels{{u"ф"_s, 1.0}};
    if (level >= 0)
        levels.insert(u"ж"_s, level);
    KeyboardViewModel keyboard;
    keyboard.setNext(NextKey::of(u"Ж"_s));
    keyboard.setTraining(false);

    // when the statistics' levels are handed over
    keyboard.setErrors(KeyLevels{levels});

    // then the key shows its level; no key is next, no zone bar, bump or Shift
    const KeyCap *cap = keyboard.cap(u"ж");
    QCOMPARE(cap->fill(), fill);
    QCOMPARE(cap->labelColor(), label);
    QCOMPARE(cap->label(), u"Ж"_s);
    QVERIFY(!cap->isNext() && !cap->zoneBarShown() && !keyboard.leftShiftLit());
    QVERIFY(!keyboard.cap(u"а")->homeBumpShown());
    QCOMPARE(keyboard.cap(u"ф")->fill(), withOpacity(light().accent, 0.87));
}

void TestKeyboardViewModel::keystrokeTouchesOnlyTheOldAndNewKey()
{
    // given "Ж" next, noting every key that announces a change
    KeyboardViewModel keyboard;
    keyboard.setNext(NextKey::of(u"Ж"_s));
    QStringList touched;
    for (KeyCap *cap : allCaps(keyboard))
        connect(cap, &KeyCap::changed, this, [&touched, cap] { touched << cap->character(); });
    QSignalSpy shift(&keyboard, &KeyboardViewModel::shiftChanged);

    // when the next character moves on to "у", then to its capital
    keyboard.setNext(NextKey::of(u"у"_s));
    QCOMPARE(touched, (QStringList{u"ж"_s, u"у"_s})); // the old key, then the new
    QCOMPARE(shift.count(), 1);                      // the left Shift goes dark
    keyboard.setNext(NextKey::of(u"У"_s));

    // then the capital changes only the Shift
    QCOMPARE(touched.size(), 2);
    QCOMPARE(shift.count(), 2);
}

QTEST_MAIN(TestKeyboardViewModel)
#include "test_keyboard_view_model.moc"
