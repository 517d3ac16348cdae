// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "hands_view_model.h"
#include "key_levels.h"
#include "window_rig.h"

#include <QQmlEngineExtensionPlugin>
#include <QQuickView>
#include <QTest>

Q_IMPORT_QML_PLUGIN(OlviPlugin)

using namespace Qt::StringLiterals;

namespace {

// The colour at a point of an item (item coordinates), in a grabbed image.
QColor colourAt(const QImage &image, QQuickItem *item, QPointF point)
{
    const QPointF p = item->mapToScene(point) * item->window()->devicePixelRatio();
    return image.pixelColor(p.toPoint());
}

// A point of a key's fill clear of its label, bars and frame.
QColor keyFill(const QImage &image, QQuickItem *key)
{
    return colourAt(image, key, QPointF(key->width() / 2, 7));
}

// A point on the pinky's axis, halfway up its visible part.
QPointF pinkyPoint()
{
    using namespace HandGeometry;
    const FingerGeometry &pinky = fingers().at(3);
    const QPointF base(frameWidth / 2 + pinky.dx,
                       frameHeight / 2 + palmOffsetY - palmHeight / 2 + overlap);
    const double a = qDegreesToRadians(pinky.angle);
    return base + QPointF(std::sin(a), -std::cos(a)) * (overlap + pinky.length / 2);
}

void save(const QImage &image, const QString &name, bool dark)
{
    const QString dir = QStringLiteral(QT_TESTCASE_BUILDDIR "/screenshots");
    QDir().mkpath(dir);
    image.save(dir + u'/' + name + (dark ? u"-dark.png"_s : u"-light.png"_s));
}

} // namespace

class TestKeyboardView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QQuickWindow::setGraphicsApi(QSGRendererInterface::Software); }
    void cleanup() { Theme::instance()->setAppearance(std::nullopt); }
    void trainingMarksKeyShiftAndFingers_data() { schemes(); }
    void trainingMarksKeyShiftAndFingers();
    void heatMap_data() { schemes(); }
    void heatMap();

private:
    static void schemes()
    {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << false;
        QTest::newRow("dark") << true;
    }
};

void TestKeyboardView::trainingMarksKeyShiftAndFingers()
{
    QFETCH(bool, dark);

    // given a manuscript whose first character is "Ж"
    ProfileData profile;
    profile.manuscript = u"Жук"_s;
    WindowRig w(profile);
    QVERIFY(w.ready());

    // when it is started (and the scheme then switched: the keys retint)
    w.rig.app->startManuscript();
    QCOMPARE(w.rig.engine().expected(), u"Ж"_s);
    Theme::instance()->setAppearance(dark ? Appearance::dark : Appearance::light);
    const ThemePalette &palette = Theme::instance()->palette();

    // then "ж" is accent, the left Shift is lit, and both pinkies (key and Shift) too
    QQuickItem *key = w.find(u"key_ж"_s);
    QQuickItem *leftShift = w.find(u"leftShift"_s);
    QQuickItem *rightShift = w.find(u"rightShift"_s);
    QQuickItem *rightHand = w.find(u"rightHand"_s);
    QQuickItem *leftHand = w.find(u"leftHand"_s);
    QVERIFY(key && leftShift && rightShift && rightHand && leftHand);
    QTRY_COMPARE(keyFill(w.grab(), key), palette.accent); // after the fade
    QTRY_COMPARE(colourAt(w.grab(), rightHand, pinkyPoint()), palette.accent);
    const QImage image = w.grab();
    QCOMPARE(colourAt(image, leftHand, pinkyPoint()), palette.accent);
    QCOMPARE(keyFill(image, leftShift), palette.accent);
    QCOMPARE(keyFill(image, rightShift), palette.bar);
    QVERIFY(keyFill(image, w.find(u"key_к"_s)) != palette.accent);
    save(image, u"keyboard-training"_s, dark);
}

void TestKeyboardView::heatMap()
{
    QFETCH(bool, dark);
    Theme::instance()->setAppearance(dark ? Appearance::dark : Appearance::light);
    const ThemePalette &palette = Theme::instance()->palette();

    // given a heat-map keyboard of 40 px keys on the page colour
    QQuickView view;
    view.engine()->addImportPath(u"qrc:/"_s);
    view.setColor(palette.paper);
    view.setInitialProperties(
        {{u"training"_s, false},
         {u"keySize"_s, 40},
         {u"errors"_s,
          QVariant::fromValue(KeyLevels{{{u"ж"_s, 0.5}, {u"о"_s, 0.8}, {u"ф"_s, 3.0}}})}});
    view.setSource(QUrl(u"qrc:/Olvi/KeyboardView.qml"_s));
    QVERIFY(view.rootObject());
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    // then "ж" is accent at 0.495 over the page, "к" is card, and there is no Shift row
    const QImage image = view.grabWindow();
    save(image, u"keyboard-heatmap"_s, dark);
    QQuickItem *hot = WindowRig::findIn(view.rootObject(), u"key_ж"_s);
    QQuickItem *cold = WindowRig::findIn(view.rootObject(), u"key_к"_s);
    QVERIFY(hot && cold);
    QCOMPARE(hot->width(), 40.0);
    const QColor seen = keyFill(image, hot);
    const double a = 0.5 * 0.75 + 0.12;
    const QColor &p = palette.paper, &c = palette.accent;
    QVERIFY2(std::abs(seen.red() - (p.red() * (1 - a) + c.red() * a)) < 2
                 && std::abs(seen.green() - (p.green() * (1 - a) + c.green() * a)) < 2
                 && std::abs(seen.blue() - (p.blue() * (1 - a) + c.blue() * a)) < 2,
             qPrintable(seen.name()));
    QCOMPARE(keyFill(image, cold), palette.card);
    QVERIFY(!WindowRig::findIn(view.rootObject(), u"leftShift"_s)->isVisible());
}

QTEST_MAIN(TestKeyboardView)
#include "test_keyboard_view.moc"
