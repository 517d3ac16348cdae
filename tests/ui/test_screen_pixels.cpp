// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// What the learner sees, checked on the rendered window rather than on
// properties. CTest runs this at scale factors 1 and 2.
#include "fade_clock.h"
#include "hands_view_model.h"
#include "keyboard_view_model.h"
#include "speed_chart.h"
#include "window_rig.h"

#include <QDebug>
#include <QQmlEngineExtensionPlugin>
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
QRect devicePixels(QQuickItem *item)
{
    const qreal dpr = item->window()->devicePixelRatio();
    const QRectF r = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
    return QRectF(r.topLeft() * dpr, r.size() * dpr).toAlignedRect();
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

// The points of `area` whose colour is near `colour`.
QPolygon pixelsNear(const QImage &image, QRect area, QColor colour, int tolerance)
{
    QPolygon points;
    area &= image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (near(image.pixelColor(x, y), colour, tolerance))
                points.append({x, y});
        }
    }
    return points;
}

} // namespace

class TestScreenPixels : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QQuickWindow::setGraphicsApi(QSGRendererInterface::Software); }

    void caretCoversItsGlyph_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << false;
        QTest::newRow("dark") << true;
    }

    void caretCoversItsGlyph()
    {
        QFETCH(bool, dark);
        WindowRig w(withManuscript(caretText));
        QVERIFY(w.ready());
        Theme::instance()->setSystemDark(dark);
        const ThemePalette palette = Theme::instance()->palette();
        w.rig.app->startManuscript();
        QQuickItem *line = w.find(u"line0"_s);
        QTRY_COMPARE(line->property("text").toString(), caretText.first(45));
        const QRect strip = devicePixels(line).adjusted(-4, -2, 4, 2);
        // drawn at a point of an item, by default of a key's fill clear of its label and bars
        const auto colourAt = [&w](const QString &name, std::optional<QPointF> point = {}) {
            QQuickItem *item = w.find(name);
            const QPointF at = item->mapToScene(point.value_or(QPointF(item->width() / 2, 7)));
            return w.grab().pixelColor((at * w.window->devicePixelRatio()).toPoint());
        };
        // "Ё" has no key drawn: its Shift and both pinkies (key and Shift) light once faded in
        QTRY_COMPARE(colourAt(u"rightShift"_s), palette.accent);
        QTRY_COMPARE(colourAt(u"leftHand"_s, pinkyPoint()), palette.accent);
        QCOMPARE(colourAt(u"rightHand"_s, pinkyPoint()), palette.accent);
        QVERIFY(colourAt(u"leftShift"_s) != palette.accent);

        QImage before = w.grab();
        for (int column = 0; column < 45; ++column) {
            const QString expected = w.rig.engine().expected();
            const QByteArray where = "column " + QByteArray::number(column) + " ("
                                     + expected.toUtf8() + ")";
            // the caret is one box of the line's height...
            const QRect box = pixelsNear(before, strip, palette.accent, 4).boundingRect();
            QVERIFY2(box.height() >= devicePixels(line).height() * 0.8, where);
            const qsizetype onCaret = pixelsNear(before, box, palette.onAccent, 40).size();
            // ...holding its glyph, drawn visibly in onAccent: the ink it leaves once typed
            w.type(expected);
            const QImage after = w.grab();
            QPolygon glyph;
            for (const QPoint &p : pixelsNear(after, strip, palette.ink, 40)) {
                if (!near(before.pixelColor(p), palette.ink, 40))
                    glyph.append(p);
            }
            before = after;
            if (expected == u" ") // a space has no ink
                continue;
            const QRect ink = glyph.boundingRect();
            QVERIFY2(box.adjusted(-1, -1, 1, 1).contains(ink),
                     where + " glyph outside the caret " + QDebug::toString(box).toUtf8());
            QVERIFY2(onCaret * 3 >= glyph.size(), where + " glyph not visible on the caret");
        }
        // then "к": its key lights, no Shift does
        const QRectF key = KeyboardViewModel::keyRect(u"к"_s, 52);
        QTRY_VERIFY(near(colourAt(u"trainingKeys"_s, key.topLeft() + QPointF(key.width() / 2, 7)),
                         palette.accent, 2));
        QVERIFY(colourAt(u"rightShift"_s) != palette.accent);
    }

    // A keystroke paints again only the characters it changed, yet the screen is the
    // lines painted whole (a new palette and back paints them whole): right keys and
    // wrong ones, and the lines moving on, a new text and new styles in one frame.
    void linePaintedKeyByKeyIsTheWholeLine()
    {
        WindowRig w(withManuscript(caretText + u" "_s + caretText));
        QVERIFY(w.ready());
        w.rig.app->startManuscript();
        QQuickItem *first = w.find(u"line0"_s);
        QTRY_COMPARE(first->property("text").toString(), caretText.first(45));
        const QRect lines = devicePixels(first).united(devicePixels(w.find(u"line1"_s)));
        for (int key = 0; key < 52; ++key) {
            const QString expected = w.rig.engine().expected();
            if (key % 5 == 3)
                w.type(expected == u"ж" ? u"э"_s : u"ж"_s);
            w.type(expected);
            const QImage stepwise = w.grab().copy(lines);
            Theme::instance()->setSystemDark(true);
            Theme::instance()->setSystemDark(false);
            QVERIFY2(w.grab().copy(lines) == stepwise, qPrintable(u"key %1"_s.arg(key)));
        }
        QVERIFY(first->property("text").toString() != caretText.first(45)); // it moved on
    }

    // A wrong stroke flashes the key it struck (a letter's, or the space bar) in the error colour.
    void aWrongStrokeFlashesItsKey_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("letter") << u"щ"_s;
        QTest::newRow("space") << u" "_s;
    }

    void aWrongStrokeFlashesItsKey()
    {
        QFETCH(QString, typed);
        WindowRig w(withManuscript(caretText));
        QVERIFY(w.ready());
        w.rig.app->startManuscript();
        auto *fades = w.window->findChild<FadeClock *>();
        QVERIFY(fades);
        fades->setDuration(600000); // the flash holds its colour while the pixels are read
        const QRectF key = KeyboardViewModel::keyRect(typed, 52);
        const QPointF scene = w.find(u"trainingKeys"_s)->mapToScene(key.topLeft() + QPointF(key.width() / 2, 7));
        const QPoint at = (scene * w.window->devicePixelRatio()).toPoint();
        const QColor before = w.grab().pixelColor(at);
        w.type(typed);
        QCOMPARE(w.rig.engine().position(), 0);
        const QColor error = Theme::instance()->palette().error;
        const QColor flashed = QColor::fromRgbF(0.85f * error.redF() + 0.15f * before.redF(),
                                                0.85f * error.greenF() + 0.15f * before.greenF(),
                                                0.85f * error.blueF() + 0.15f * before.blueF());
        QTRY_VERIFY2(near(w.grab().pixelColor(at), flashed, 4),
                     qPrintable(QDebug::toString(w.grab().pixelColor(at))));
    }

    void smallWindowsKeepTheirLayout_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("default size") << QSize(1000, 760);
        QTest::newRow("minimum size") << QSize(900, 740);
        QTest::newRow("below the minimum") << QSize(800, 600);
    }

    // Tooltips at the window's edges, the status bar, and the manuscript's bottom row.
    void smallWindowsKeepTheirLayout()
    {
        QFETCH(QSize, size);
        // a stored text with the widest six Latin letters, which the editor warns of
        WindowRig w(withManuscript(u"Ёж и Щука, WQMOGD и ещё Dog Quiz Mug Wow, и ёж снова"_s));
        QVERIFY(w.ready());
        w.window->setMinimumSize(QSize(0, 0)); // a tiling window manager may ignore it anyway
        w.window->resize(size);
        QTRY_COMPARE(w.window->contentItem()->size(), QSizeF(size));
        const ThemePalette palette = ThemePalette::light();
        const qreal dpr = w.window->devicePixelRatio();
        // the pointer rests on it: its tooltip shows wholly inside the window, above everything
        const auto shownTip = [&w] {
            const auto tips = w.window->findChildren<QQuickItem *>(u"toolTip"_s);
            const auto tip = std::ranges::find_if(tips, &QQuickItem::isVisible);
            return tip == tips.end() ? nullptr : *tip;
        };
        const auto toolTipShowsInside = [&](const QString &control) {
            QTest::mouseMove(w.window, w.centre(w.find(control)));
            QTRY_VERIFY(shownTip());
            const QImage image = w.grab();
            const QRect bubble = devicePixels(shownTip());
            QVERIFY2(image.rect().contains(bubble), qPrintable(control));
            const qsizetype area = qsizetype(bubble.width()) * bubble.height();
            QVERIFY(pixelsNear(image, bubble, palette.ink, 8).size() * 2 > area);
            // its text: strokes nearer paper than ink across the middle
            const QRect middle = bubble.adjusted(bubble.width() / 8, 0, -bubble.width() / 8, 0);
            QVERIFY(pixelsNear(image, middle, palette.paper, 100).size() > area / 50);
        };
        toolTipShowsInside(u"headerMenuButton"_s); // at the right edge

        // the status bar's 64 points end at the window's bottom edge, its rule on top
        w.rig.app->startTraining();
        QQuickItem *bar = nullptr;
        QTRY_VERIFY((bar = w.find(u"statusBar"_s)) && bar->isVisible());
        QTRY_COMPARE(bar->mapToScene(QPointF(0, bar->height())).y(), qreal(size.height()));
        QImage image = w.grab();
        QVERIFY(near(image.pixelColor(2, image.height() - 1), palette.bar, 2));
        QVERIFY(near(image.pixelColor(2, int((size.height() - 64) * dpr)), palette.hairline, 2));
        // its figures are drawn, and nothing of the hands lies over it
        const QRect figures = devicePixels(bar).adjusted(0, int(2 * dpr), 0, 0);
        QVERIFY(!pixelsNear(image, figures, palette.ink, 30).isEmpty());
        QVERIFY(devicePixels(w.find(u"hands"_s)).bottom() <= devicePixels(bar).top());
        toolTipShowsInside(u"soundButton"_s); // at the bottom edge

        // the editor: the warning's red ink ends before the buttons begin
        w.rig.app->setTab(AppState::Tab::Manuscript);
        QVERIFY(w.click(u"replaceButton"_s));
        QTRY_VERIFY(w.find(u"latinWarningText"_s)->isVisible());
        image = w.grab();
        const QPolygon warning =
            pixelsNear(image, devicePixels(w.find(u"bottomRow"_s)), palette.error, 30);
        QVERIFY(!warning.isEmpty());
        const QRect buttons =
            devicePixels(w.find(u"cancelButton"_s)) | devicePixels(w.find(u"trainButton"_s));
        QVERIFY2(warning.boundingRect().right() < buttons.left(),
                 QDebug::toString(QList{warning.boundingRect(), buttons}).toUtf8());
        QVERIFY(image.rect().contains(buttons));
        toolTipShowsInside(u"latinWarningText"_s);
    }

    // The progress tab's chart as the learner sees it, light at scale 1 and dark at 2: the days' speeds
    // washed with the accent under a line of it, a dot on the last day, grid lines one
    // sharp row at any density, and the labels drawn inside the card.
    void speedChartShowsItsDays()
    {
        ProfileData p;
        for (int i = 0; i < 10; ++i)
            p.days.append({dayKeyForDate(QDate(2026, 11, 20).addDays(i)), 300, 3, 120,
                           150.0 + (i * 37) % 90});
        WindowRig w(p);
        QVERIFY(w.ready());
        Theme::instance()->setSystemDark(w.window->devicePixelRatio() > 1);
        const ThemePalette palette = Theme::instance()->palette();
        w.rig.app->setTab(AppState::Tab::Progress);
        auto *chart = qobject_cast<SpeedChart *>(w.find(u"speedChart"_s));
        QTRY_VERIFY(chart && chart->isVisible() && chart->width() > 300);
        const SpeedChartLayout &l = chart->layout();
        const qreal dpr = w.window->devicePixelRatio();
        const auto device = [chart, dpr](QPointF at) {
            return (chart->mapToScene(at) * dpr).toPoint();
        };
        const auto box = [&device](QRectF r) {
            return QRect(device(r.topLeft()), device(r.bottomRight()));
        };
        QTRY_VERIFY(!pixelsNear(w.grab(), box(l.plot), palette.accent, 4).isEmpty()); // painted
        const QRect card = devicePixels(chart->parentItem()->parentItem());
        const QImage image = w.grab();
        const QColor a = palette.accent, c = palette.card; // a tenth of the accent over the card
        const QColor wash = QColor::fromRgbF(0.1f * a.redF() + 0.9f * c.redF(),
                                             0.1f * a.greenF() + 0.9f * c.greenF(),
                                             0.1f * a.blueF() + 0.9f * c.blueF());
        const auto onGrid = [&l](double y) {
            return std::ranges::any_of(
                l.speedTicks, [y](const ChartTick &t) { return std::abs(t.at + 0.5 - y) < 2; });
        };
        for (qsizetype i = 0; i < l.curve.size(); ++i) {
            const QPointF at = l.curve[i];
            const QByteArray where = "point " + QByteArray::number(i);
            // the line passes through each day's point, the area below it is washed
            const QRect around = box(QRectF(at - QPointF(1, 1), QSizeF(2, 2)));
            QVERIFY2(!pixelsNear(image, around, palette.accent, 8).isEmpty(), where);
            const double x = std::clamp(at.x(), l.curve.first().x() + 1, l.curve.last().x() - 1);
            double below = (at.y() + l.plot.bottom()) / 2;
            below += onGrid(below) ? 3 : 0;
            QVERIFY2(near(image.pixelColor(device({x, below})), wash, 3), where);
        }
        // the last point's dot: a disc of the accent, not the line through it alone
        const double r = SpeedChartLayout::dotDiameter / 2;
        const QRect dot = box(QRectF(l.curve.last() - QPointF(r, r), QSizeF(2 * r, 2 * r)));
        QVERIFY(pixelsNear(image, dot, palette.accent, 8).size() > 0.6 * M_PI * r * r * dpr * dpr);
        // the top grid line, clear of the curve: its device rows the hairline, the rows around card
        const QPoint line = device({l.plot.center().x(), l.speedTicks.last().at});
        for (int y = line.y() - 1; y <= line.y() + int(dpr); ++y) { // 1 point thick
            const bool inside = y >= line.y() && y < line.y() + int(dpr);
            QVERIFY2(near(image.pixelColor(line.x(), y), inside ? palette.hairline : palette.card, 2),
                     qPrintable(QString::number(y - line.y())));
        }
        // every label inside the card, and drawn: speeds and days faint, the last speed in ink
        QList<std::pair<QRectF, QColor>> labels{{l.lastFigure, palette.ink}};
        for (const ChartTick &t : l.speedTicks + l.dateTicks)
            labels.append({t.labelRect, palette.inkFaint});
        for (const auto &[rect, colour] : labels) {
            const QByteArray where = QDebug::toString(rect).toUtf8();
            QVERIFY2(card.contains(box(rect)), where);
            QVERIFY2(pixelsNear(image, box(rect), colour, 40).size() >= 2 * dpr * dpr, where);
        }
        Theme::instance()->setSystemDark(false);
    }

    // The question before an import is a modal card: at 800 × 600 (and at scale 2) the
    // whole question is drawn inside the window, its merge button has the focus, Escape
    // cancels. The header's note of a second Olvi reads whole at the default width.
    void importQuestionAndHeaderNoteShowWhole()
    {
        ProfileData there = withManuscript(u"чужой текст"_s); // a sentence of three lines
        there.currentLessonID = 7;
        there.exercisesPassed = {{1, 3}, {2, 3}, {3, 3}, {4, 3}, {5, 3}, {6, 3}};
        there.keyStats = {{u"ж"_s, KeyStat{50, 5, 0.1, 0.3}}};
        for (int i = 0; i < 21; ++i)
            there.days.append({dayKeyForDate(QDate(2026, 11, 1).addDays(i)), 300, 3, 120, 150});
        WindowRig w;
        QVERIFY(w.ready());
        w.rig.files.answer = w.rig.folder.filePath(u"laptop.json"_s);
        QVERIFY(ProfileStore::writeFileDurably(w.rig.files.answer, ProfileJson::encode(there)));
        w.window->setMinimumSize(QSize(0, 0));
        w.window->resize(800, 600);
        w.rig.app->setTab(AppState::Tab::Progress);
        w.rig.app->transfer()->chooseImport();
        QQuickItem *card = nullptr, *confirm = nullptr;
        QTRY_VERIFY((card = w.find(u"confirmCard"_s)) && card->isVisible());
        QTRY_COMPARE(w.window->activeFocusItem(), (confirm = w.find(u"confirmImportButton"_s)));
        const ThemePalette palette = ThemePalette::light();
        const QImage image = w.grab();
        const QRect sentence = devicePixels(w.find(u"importSummary"_s));
        QVERIFY(sentence.height() > sentence.width() / 20); // it wraps
        QVERIFY(image.rect().contains(devicePixels(card)));
        QVERIFY(devicePixels(card).contains(sentence | devicePixels(confirm)));
        // ink on its first and its last line, the merge button filled with the accent
        const int line = sentence.height() / 3;
        QVERIFY(pixelsNear(image, sentence.adjusted(0, 0, 0, -2 * line), palette.ink, 60).size() > 20);
        QVERIFY(pixelsNear(image, sentence.adjusted(0, 2 * line, 0, 0), palette.ink, 60).size() > 20);
        const QRect button = devicePixels(confirm);
        QVERIFY(pixelsNear(image, button, palette.accent, 4).size() * 2 > button.width() * button.height());
        w.press(Qt::Key_Escape, u"\x1b"_s);
        QVERIFY(!w.rig.app->transfer()->confirming() && !card->isVisible());

        // a second Olvi on the same folder, shown in the same window at 1000 points
        AppServices second;
        second.dataFolder = w.rig.folder.path();
        AppState other(second);
        w.window->resize(1000, 760);
        w.window->setProperty("app", QVariant::fromValue(&other));
        QQuickItem *note = w.find(u"storageNote"_s);
        QTRY_VERIFY(note->isVisible());
        QTRY_VERIFY(!note->property("truncated").toBool());
        const QPolygon red = pixelsNear(w.grab(), devicePixels(w.find(u"header"_s)), palette.error, 40);
        QVERIFY(devicePixels(note).contains(red.boundingRect()));
        QVERIFY(red.boundingRect().height() > devicePixels(note).height() / 2); // two lines
        w.window->setProperty("app", QVariant::fromValue(w.rig.app.get()));
    }
};

QTEST_MAIN(TestScreenPixels)
#include "test_screen_pixels.moc"
