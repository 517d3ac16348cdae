// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// What the learner sees, checked on the rendered window rather than on
// properties. CTest runs this at scale factors 1 and 2.
#include "hands_view_model.h"
#include "key_capture.h"
#include "key_levels.h"
#include "window_rig.h"

#include <QDebug>
#include <QQmlEngineExtensionPlugin>
#include <QQuickView>
#include <QTest>

Q_IMPORT_QML_PLUGIN(OlviPlugin)

using namespace Qt::StringLiterals;

namespace {

// A first line of 45 characters (44 and the space it ends with) holding
// every class of character an exercise draws.
const QString caretText = u"Ёж, щука: «Да!» — 1234567890-эй;ты?Мы-ТЫ.ёЖю конец"_s;

bool near(QColor a, QColor b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
           && std::abs(a.blue() - b.blue()) <= tolerance;
}

// An item's rectangle in the device pixels of the grabbed window.
QRect devicePixels(const WindowRig &w, QQuickItem *item)
{
    const qreal dpr = w.window->devicePixelRatio();
    const QRectF r = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
    return QRectF(r.x() * dpr, r.y() * dpr, r.width() * dpr, r.height() * dpr).toAlignedRect();
}

// The colour at a point of an item (item coordinates), in a grabbed image.
QColor colourAt(const QImage &image, QQuickItem *item, QPointF point)
{
    const qreal dpr = item->window()->devicePixelRatio();
    return image.pixelColor((item->mapToScene(point) * dpr).toPoint());
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

void schemes()
{
    QTest::addColumn<bool>("dark");
    QTest::newRow("light") << false;
    QTest::newRow("dark") << true;
}

// The points of `area` whose colour is near `colour`.
QList<QPoint> pixelsNear(const QImage &image, QRect area, QColor colour, int tolerance)
{
    QList<QPoint> points;
    area &= image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (near(image.pixelColor(x, y), colour, tolerance))
                points.append({x, y});
        }
    }
    return points;
}

// A rectangle for a failure message.
QByteArray rectText(const QRect &r)
{
    return QDebug::toString(r).toUtf8();
}

QRect boundingRect(const QList<QPoint> &points)
{
    QRect r;
    for (const QPoint &p : points)
        r |= QRect(p, QSize(1, 1));
    return r;
}

// The one tooltip on screen, if any.
QQuickItem *visibleToolTip(QQuickItem *item)
{
    if (item->objectName() == u"toolTip" && item->isVisible())
        return item;
    const auto children = item->childItems();
    for (QQuickItem *child : children) {
        if (QQuickItem *found = visibleToolTip(child))
            return found;
    }
    return nullptr;
}

ProfileData withManuscript(const QString &text)
{
    ProfileData p;
    p.manuscript = text;
    return p;
}

void resize(WindowRig &w, QSize size)
{
    // A tiling window manager may ignore the minimum size.
    w.window->setMinimumSize(QSize(0, 0));
    w.window->resize(size);
    QTRY_COMPARE(w.window->size(), size);
    QTRY_COMPARE(w.window->contentItem()->size(), QSizeF(size));
}

} // namespace

class TestScreenPixels : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QQuickWindow::setGraphicsApi(QSGRendererInterface::Software); }
    void cleanup() { Theme::instance()->setAppearance(std::nullopt); }

    void caretCoversItsGlyph_data() { schemes(); }

    void caretCoversItsGlyph()
    {
        QFETCH(bool, dark);
        WindowRig w(withManuscript(caretText));
        QVERIFY(w.ready());
        Theme::instance()->setSystemDark(dark);
        const ThemePalette palette = dark ? ThemePalette::dark() : ThemePalette::light();
        w.rig.app->startManuscript();
        QQuickItem *line = w.find(u"line0"_s);
        QVERIFY(line);
        QTRY_COMPARE(line->property("text").toString(), caretText.first(45));
        const QRect strip = devicePixels(w, line).adjusted(-4, -2, 4, 2);
        const int columns = int(Characters::count(line->property("text").toString()));
        QCOMPARE(columns, 45);

        QImage before = w.grab();
        for (int column = 0; column < columns; ++column) {
            const QString expected = w.rig.engine().expected();
            const QByteArray where = "column " + QByteArray::number(column) + " ("
                                     + expected.toUtf8() + ")";
            // the caret is one box of the line's height...
            const QRect box = boundingRect(pixelsNear(before, strip, palette.accent, 4));
            QVERIFY2(box.isValid(), where);
            QVERIFY2(box.height() >= line->height() * w.window->devicePixelRatio() * 0.8, where);
            // ...holding its glyph, drawn visibly in onAccent
            w.type(expected);
            const QImage after = w.grab();
            if (expected == u" ") { // a space has no ink
                before = after;
                continue;
            }
            QList<QPoint> glyph; // inked once typed, not inked while under the caret
            for (const QPoint &p : pixelsNear(after, strip, palette.ink, 40)) {
                if (!near(before.pixelColor(p), palette.ink, 40))
                    glyph.append(p);
            }
            QVERIFY2(!glyph.isEmpty(), where);
            const QRect ink = boundingRect(glyph);
            QVERIFY2(box.adjusted(-1, -1, 1, 1).contains(ink),
                     where + " glyph outside the caret " + rectText(box) + rectText(ink));
            const qsizetype shown = pixelsNear(before, box, palette.onAccent, 40).size();
            QVERIFY2(shown * 3 >= glyph.size(), where + " glyph not visible on the caret");
            before = after;
        }
        QCOMPARE(w.rig.engine().position(), 45);
        Theme::instance()->setSystemDark(false);
    }

    void toolTipsShowInsideTheWindow_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QSize>("size");
        QTest::newRow("colour scheme, right edge") << u"appearanceMenu"_s << QSize(1000, 760);
        QTest::newRow("sound, bottom edge") << u"soundButton"_s << QSize(900, 740);
        QTest::newRow("latin letters, narrow") << u"latinWarningText"_s << QSize(900, 740);
    }

    void toolTipsShowInsideTheWindow()
    {
        QFETCH(QString, control);
        QFETCH(QSize, size);
        WindowRig w(withManuscript(u"Ёж и Щука, WQMOGD и ещё Dog Quiz Mug Wow, и ёж снова"_s));
        QVERIFY(w.ready());
        resize(w, size);
        if (control == u"soundButton") {
            w.rig.app->startTraining();
        } else if (control == u"latinWarningText") {
            w.rig.app->setTab(AppState::Tab::Manuscript);
            QVERIFY(w.click(u"replaceButton"_s));
            QTRY_VERIFY(w.find(u"manuscriptEditor"_s));
        }
        QQuickItem *item = nullptr;
        QTRY_VERIFY((item = w.find(control)) && item->isVisible());

        // the pointer rests on it: its tooltip shows wholly inside the window, above everything
        QTest::mouseMove(w.window, w.centre(item));
        QQuickItem *tip = nullptr;
        QTRY_VERIFY((tip = visibleToolTip(w.window->contentItem())));
        const QImage image = w.grab();
        const QRect bubble = devicePixels(w, tip);
        QVERIFY2(image.rect().contains(bubble), rectText(bubble));
        const ThemePalette palette = ThemePalette::light();
        const qsizetype area = qsizetype(bubble.width()) * bubble.height();
        QVERIFY(pixelsNear(image, bubble, palette.ink, 8).size() * 2 > area);
        // its text: strokes nearer paper than ink across the middle
        const QRect middle = bubble.adjusted(bubble.width() / 8, 0, -bubble.width() / 8, 0);
        QVERIFY(pixelsNear(image, middle, palette.paper, 100).size() > area / 50);
    }

    void manuscriptBottomRowDoesNotOverlap_data()
    {
        QTest::addColumn<int>("width");
        QTest::newRow("minimum width") << 900;
        QTest::newRow("default width") << 1000;
    }

    void manuscriptBottomRowDoesNotOverlap()
    {
        QFETCH(int, width);
        // the editor over a stored text, with the widest six Latin letters pasted
        WindowRig w(withManuscript(u"Старый текст, который уже сохранён"_s));
        QVERIFY(w.ready());
        resize(w, QSize(width, 740));
        w.rig.app->setTab(AppState::Tab::Manuscript);
        QVERIFY(w.click(u"replaceButton"_s));
        QQuickItem *editor = nullptr;
        QTRY_VERIFY((editor = w.find(u"manuscriptEditor"_s)));
        editor->setProperty("text", u"Шум WWW и MMM, QQQ да OOO, GGG и DDD — всё это латиница"_s);
        QQuickItem *cancel = w.find(u"cancelButton"_s);
        QQuickItem *train = w.find(u"trainButton"_s);
        QTRY_VERIFY(cancel->isVisible());
        // the warning's red ink ends before the buttons begin
        const QImage image = w.grab();
        const QRect row = devicePixels(w, w.find(u"bottomRow"_s));
        const QList<QPoint> warning = pixelsNear(image, row, ThemePalette::light().error, 30);
        QVERIFY(!warning.isEmpty());
        const QRect buttons = devicePixels(w, cancel) | devicePixels(w, train);
        QVERIFY2(boundingRect(warning).right() < buttons.left(),
                 "warning, buttons: " + rectText(boundingRect(warning)) + rectText(buttons));
        QVERIFY(image.rect().contains(buttons));
    }

    void statusBarStaysWhole_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("minimum size") << QSize(900, 740);
        QTest::newRow("below the minimum") << QSize(800, 600);
    }

    void statusBarStaysWhole()
    {
        QFETCH(QSize, size);
        WindowRig w;
        QVERIFY(w.ready());
        resize(w, size);
        w.rig.app->startTraining();
        QQuickItem *bar = nullptr;
        QTRY_VERIFY((bar = w.find(u"statusBar"_s)) && bar->isVisible());
        QTRY_COMPARE(bar->mapToScene(QPointF(0, bar->height())).y(), qreal(size.height()));

        // the bar's 64 points end at the window's bottom edge, its rule on top
        const QImage image = w.grab();
        const qreal dpr = w.window->devicePixelRatio();
        const ThemePalette palette = ThemePalette::light();
        QVERIFY(near(image.pixelColor(2, image.height() - 1), palette.bar, 2));
        QVERIFY(near(image.pixelColor(2, int((size.height() - 64) * dpr)), palette.hairline, 2));
        // its figures are drawn, and nothing of the hands lies over it
        const QRect barArea = devicePixels(w, bar).adjusted(0, int(2 * dpr), 0, 0);
        QVERIFY(!pixelsNear(image, barArea, palette.ink, 30).isEmpty());
        QQuickItem *hands = w.find(u"hands"_s);
        const QRectF drawn = hands->mapRectToScene(QRectF(0, 0, hands->width(), hands->height()));
        QVERIFY(drawn.bottom() <= size.height() - 64 + 0.5);
    }

    // The colour-scheme menu, by mouse and by keyboard during an exercise.
    void appearanceMenuRedrawsTheWindow()
    {
        WindowRig w(withManuscript(u"жук жаба"_s));
        QVERIFY(w.ready());
        w.rig.app->startManuscript();
        QTRY_VERIFY(KeyCapture::current());
        QQuickItem *caret = w.find(u"line0"_s); // on its first character
        const auto drawnIn = [&w, caret](const ThemePalette &palette) {
            const QImage image = w.grab();
            return colourAt(image, caret, QPointF(4, 3)) == palette.accent
                   && image.pixelColor(2, image.height() / 2) == palette.paper;
        };
        QVERIFY(drawnIn(ThemePalette::light()));

        // a click on "Тёмная"
        QVERIFY(w.click(u"appearanceMenu"_s));
        QTRY_VERIFY(w.find(u"appearanceItem2"_s)->isVisible());
        QVERIFY(w.click(u"appearanceItem2"_s));
        QVERIFY(!w.find(u"appearanceItem2"_s)->isVisible());
        QCOMPARE(w.rig.profileOnDisk()->appearance, std::optional(Appearance::dark));
        QTRY_VERIFY(drawnIn(ThemePalette::dark()));

        // the list opens on the current scheme; Up and Return choose "Светлая"
        QVERIFY(w.click(u"appearanceMenu"_s));
        QQuickItem *list = w.find(u"appearanceList"_s);
        QTRY_VERIFY(list->isVisible());
        w.press(Qt::Key_Up);
        w.press(Qt::Key_Return, u"\r"_s);
        QVERIFY(!list->isVisible());
        QCOMPARE(w.rig.profile().appearance, std::optional(Appearance::light));
        QTRY_VERIFY(drawnIn(ThemePalette::light()));

        // Escape closes it without choosing; nothing was typed, and typing resumes
        QVERIFY(w.click(u"appearanceMenu"_s));
        QTRY_VERIFY(list->isVisible());
        w.press(Qt::Key_Down);
        w.press(Qt::Key_Escape, u"\x1b"_s);
        QVERIFY(!list->isVisible());
        QCOMPARE(w.rig.profile().appearance, std::optional(Appearance::light));
        QVERIFY(w.rig.engine().keyEvents().isEmpty());
        QTRY_VERIFY(KeyCapture::current());
        w.type(w.rig.engine().expected());
        QCOMPARE(w.rig.engine().position(), 1);
    }

    void keyboardMarksKeyShiftAndFingers_data() { schemes(); }

    void keyboardMarksKeyShiftAndFingers()
    {
        QFETCH(bool, dark);
        WindowRig w(withManuscript(u"Жук"_s));
        QVERIFY(w.ready());
        w.rig.app->startManuscript();
        Theme::instance()->setAppearance(dark ? Appearance::dark : Appearance::light); // retints
        const ThemePalette &palette = Theme::instance()->palette();

        // "ж" is accent, so are the left Shift and both pinkies (key and Shift)
        QQuickItem *key = w.find(u"key_ж"_s);
        QQuickItem *rightHand = w.find(u"rightHand"_s);
        QVERIFY(key && rightHand);
        QTRY_COMPARE(keyFill(w.grab(), key), palette.accent); // after the fade
        QTRY_COMPARE(colourAt(w.grab(), rightHand, pinkyPoint()), palette.accent);
        const QImage image = w.grab();
        QCOMPARE(colourAt(image, w.find(u"leftHand"_s), pinkyPoint()), palette.accent);
        QCOMPARE(keyFill(image, w.find(u"leftShift"_s)), palette.accent);
        QCOMPARE(keyFill(image, w.find(u"rightShift"_s)), palette.bar);
        QVERIFY(keyFill(image, w.find(u"key_к"_s)) != palette.accent);
    }

    void heatMapKeyboard_data() { schemes(); }

    void heatMapKeyboard()
    {
        QFETCH(bool, dark);
        Theme::instance()->setAppearance(dark ? Appearance::dark : Appearance::light);
        const ThemePalette &palette = Theme::instance()->palette();

        // a heat-map keyboard of 40 px keys on the page colour
        QQuickView view;
        view.engine()->addImportPath(u"qrc:/"_s);
        view.setColor(palette.paper);
        const KeyLevels levels{{{u"ж"_s, 0.5}, {u"о"_s, 0.8}, {u"ф"_s, 3.0}}};
        view.setInitialProperties({{u"training"_s, false},
                                   {u"keySize"_s, 40},
                                   {u"errors"_s, QVariant::fromValue(levels)}});
        view.setSource(QUrl(u"qrc:/Olvi/KeyboardView.qml"_s));
        QVERIFY(view.rootObject());
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        // "ж" is accent at 0.495 over the page, "к" is card, and there is no Shift row
        const QImage image = view.grabWindow();
        QQuickItem *hot = WindowRig::findIn(view.rootObject(), u"key_ж"_s);
        QQuickItem *cold = WindowRig::findIn(view.rootObject(), u"key_к"_s);
        QVERIFY(hot && cold);
        QCOMPARE(hot->width(), 40.0);
        const double a = 0.5 * 0.75 + 0.12;
        const QColor &p = palette.paper, &c = palette.accent;
        const QColor mixed = QColor::fromRgbF(float(p.redF() * (1 - a) + c.redF() * a),
                                              float(p.greenF() * (1 - a) + c.greenF() * a),
                                              float(p.blueF() * (1 - a) + c.blueF() * a));
        QVERIFY2(near(keyFill(image, hot), mixed, 1), qPrintable(keyFill(image, hot).name()));
        QCOMPARE(keyFill(image, cold), palette.card);
        QVERIFY(!WindowRig::findIn(view.rootObject(), u"leftShift"_s)->isVisible());
    }
};

QTEST_MAIN(TestScreenPixels)
#include "test_screen_pixels.moc"
