// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "key_capture.h"
#include "window_rig.h"

#include <QQmlEngineExtensionPlugin>
#include <QTest>

Q_IMPORT_QML_PLUGIN(OlviPlugin)

using namespace Qt::StringLiterals;

namespace {

ProfileData withManuscript(const QString &text)
{
    ProfileData p;
    p.manuscript = text;
    return p;
}

// The colour near the top-left corner of an item (clear of its text), in
// the grabbed window image.
QColor colourAt(const QImage &image, const WindowRig &w, QQuickItem *item)
{
    const qreal dpr = w.window->devicePixelRatio();
    const QPointF p = item->mapToScene(QPointF(4, 3));
    return image.pixelColor(int(p.x() * dpr), int(p.y() * dpr));
}

} // namespace

class TestTrainingView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void keyEventsTypeTheExercise();
    void tabSwitchStopsCaptureAndReturnResumes();
    void resultCardAndReturn();
    void soundButtonFlipsAndSaves();
    void darkSchemeRedrawsWithTheDarkPalette();
};

void TestTrainingView::initTestCase()
{
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

void TestTrainingView::keyEventsTypeTheExercise()
{
    // given the training tab opened from the header right after start
    WindowRig w(withManuscript(u"жук жаба"_s));
    QVERIFY(w.ready());
    QVERIFY(w.click(u"tab1"_s));
    QCOMPARE(w.rig.app->tab(), AppState::Tab::Training);
    QVERIFY(!w.rig.engine().text().isEmpty()); // a lesson exercise was started
    w.rig.app->startManuscript();
    QVERIFY(w.find(u"line0"_s));

    // when real key events with Cyrillic text arrive, one of them wrong
    w.type(u"ж1у"_s);
    w.saveScreenshot(u"training-typing-light"_s);

    // then the exercise advances, and the caret follows
    QCOMPARE(w.rig.engine().position(), 2);
    QCOMPARE(w.rig.engine().errorPositions(), QSet<int>{1});
    QCOMPARE(w.find(u"fingerHint"_s)->property("text").toString(),
             u"К — левый указательный"_s);

    // Backspace does nothing, Escape starts again
    w.press(Qt::Key_Backspace, u"\b"_s);
    QCOMPARE(w.rig.engine().position(), 2);
    w.press(Qt::Key_Escape, u"\x1b"_s);
    QCOMPARE(w.rig.engine().position(), 0);
    QVERIFY(w.rig.engine().keyEvents().isEmpty());
}

void TestTrainingView::tabSwitchStopsCaptureAndReturnResumes()
{
    WindowRig w(withManuscript(u"жук жаба"_s));
    QVERIFY(w.ready());
    w.rig.app->startManuscript();
    w.type(u"жу"_s);

    QVERIFY(w.click(u"tab0"_s));
    QCOMPARE(w.rig.app->tab(), AppState::Tab::Course);
    QTRY_VERIFY(!KeyCapture::current());
    w.type(u"к"_s);
    QCOMPARE(w.rig.engine().position(), 2);

    QVERIFY(w.click(u"tab1"_s));
    QCOMPARE(w.rig.app->tab(), AppState::Tab::Training);
    QTRY_VERIFY(KeyCapture::current());
    QCOMPARE(w.rig.engine().text().join(QString()), u"жук жаба"_s); // the same exercise
    w.type(u"к"_s);
    QCOMPARE(w.rig.engine().position(), 3);
}

void TestTrainingView::resultCardAndReturn()
{
    WindowRig w(withManuscript(u"жук жаба ёж мёд лёд жук жаба ёж мёд лёд жук жаба ёж мёд лёд "
                               u"жук жаба ёж мёд лёд жук жаба ёж мёд лёд жук жаба ёж мёд лёд "
                               u"жук жаба ёж мёд лёд жук жаба ёж мёд лёд жук жаба ёж мёд лёд "
                               u"конец"_s));
    QVERIFY(w.ready());
    w.rig.app->startManuscript();
    const QString first = w.rig.engine().text().join(QString());

    w.type(first);

    QVERIFY(w.rig.app->lastResult().has_value());
    QTRY_VERIFY(w.find(u"resultCard"_s)->isVisible());
    QVERIFY(!w.find(u"exercise"_s)->isVisible());
    w.saveScreenshot(u"training-result-light"_s);

    // Escape on the card does nothing; Return starts the next fragment
    w.press(Qt::Key_Escape, u"\x1b"_s);
    QVERIFY(w.rig.app->lastResult().has_value());
    w.press(Qt::Key_Return, u"\r"_s);
    QVERIFY(!w.rig.app->lastResult().has_value());
    QVERIFY(w.rig.engine().text().join(QString()) != first);
    QCOMPARE(w.rig.profile().manuscriptChunk, std::optional<qint64>(1));
}

void TestTrainingView::soundButtonFlipsAndSaves()
{
    WindowRig w;
    QVERIFY(w.ready());
    w.rig.app->startTraining();

    QVERIFY(w.click(u"soundButton"_s));

    QCOMPARE(w.rig.profile().soundOn, false);
    QCOMPARE(w.rig.profileOnDisk()->soundOn, false);
    QVERIFY(w.click(u"soundButton"_s));
    QCOMPARE(w.rig.profile().soundOn, true);
}

void TestTrainingView::darkSchemeRedrawsWithTheDarkPalette()
{
    WindowRig w(withManuscript(u"жук жаба"_s));
    QVERIFY(w.ready());
    w.rig.app->startManuscript();
    QQuickItem *caret = w.find(u"line0"_s); // the caret stands on its first character
    QQuickItem *status = w.find(u"progressText"_s);
    QVERIFY(caret && status);

    // light at first
    QImage image = w.grab();
    QCOMPARE(colourAt(image, w, caret), ThemePalette::light().accent);
    QCOMPARE(image.pixelColor(2, image.height() / 2), ThemePalette::light().paper);
    w.saveScreenshot(u"training-light"_s);

    // when "Тёмная" is chosen from the menu
    QVERIFY(w.click(u"appearanceMenu"_s));
    QTRY_VERIFY(w.find(u"appearanceItem2"_s)->isVisible());
    QVERIFY(w.click(u"appearanceItem2"_s));
    QVERIFY(!w.find(u"appearanceItem2"_s)->isVisible());

    // then the profile holds it and the window is drawn dark
    QCOMPARE(w.rig.profileOnDisk()->appearance, std::optional(Appearance::dark));
    QVERIFY(Theme::instance()->dark());
    QTRY_COMPARE(w.grab().pixelColor(2, w.grab().height() / 2), ThemePalette::dark().paper);
    image = w.grab();
    QCOMPARE(colourAt(image, w, caret), ThemePalette::dark().accent);
    w.saveScreenshot(u"training-dark"_s);
}

QTEST_MAIN(TestTrainingView)
#include "test_training_view.moc"
