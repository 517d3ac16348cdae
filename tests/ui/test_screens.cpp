// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "key_capture.h"
#include "key_levels.h"
#include "manuscript.h"
#include "window_rig.h"

#include <QAccessible>
#include <QQmlEngineExtensionPlugin>
#include <QTcpServer>
#include <QTest>

Q_IMPORT_QML_PLUGIN(OlviPlugin)

using namespace Qt::StringLiterals;

namespace {

const QString text300 = u"жила была собака и кот "_s.repeated(13).trimmed();

ProfileData withManuscript(const QString &text)
{
    ProfileData p;
    p.manuscript = text;
    return p;
}

// Two weeks of daily practice up to 6 December, with a few mistyped keys.
ProfileData twoWeeks()
{
    ProfileData p;
    for (int i = 0; i < 14; ++i) {
        const QDate date = QDate(2026, 11, 23).addDays(i);
        p.days.append(DayStat{dayKeyForDate(date), 900, 30, 600.0, 100.0 + 3.0 * i});
    }
    p.keyStats = {{u"ж"_s, KeyStat{40, 12, 0.3, 0.4}}, {u"а"_s, KeyStat{90, 4, 0.05, 0.2}}};
    return p;
}

bool shown(const WindowRig &w, const QString &name)
{
    QQuickItem *item = w.find(name);
    return item && item->isVisible();
}

// Every visible text item showing `marker` shows it as typed.
void verifyPlain(QQuickItem *item, const QString &marker, int &seen)
{
    const QString text = item->property("text").toString();
    if (item->isVisible() && text.contains(marker)) {
        ++seen;
        QVERIFY2(item->property("textFormat").toInt() == 0, qPrintable(text)); // PlainText
    }
    const auto children = item->childItems();
    for (QQuickItem *child : children)
        verifyPlain(child, marker, seen);
}

// What a screen reader says an item is: its name, "" without a role.
QString spoken(QQuickItem *item)
{
    QAccessibleInterface *a = item ? QAccessible::queryAccessibleInterface(item) : nullptr;
    if (!a || a->role() == QAccessible::NoRole || a->role() == QAccessible::Client)
        return {};
    return a->text(QAccessible::Name);
}

// Every control the pointer or the keyboard can work has a role and a name.
void verifyNamed(QQuickItem *item, QStringList &unnamed)
{
    if (!item->isVisible() || !item->isEnabled())
        return;
    const bool clickable = qstrcmp(item->metaObject()->className(), "QQuickMouseArea") == 0
                           && item->acceptedMouseButtons() != Qt::NoButton;
    if ((clickable && spoken(item).isEmpty() && spoken(item->parentItem()).isEmpty())
        || (item->activeFocusOnTab() && spoken(item).isEmpty())) {
        const QQuickItem *named = clickable ? item->parentItem() : item;
        unnamed << (named->objectName().isEmpty()
                        ? QString::fromLatin1(named->metaObject()->className())
                        : named->objectName());
    }
    const auto children = item->childItems();
    for (QQuickItem *child : children)
        verifyNamed(child, unnamed);
}

} // namespace

// The real main window driven by clicks and key events. The texts it shows are
// checked in test_view_models, its pixels in test_screen_pixels.
class TestScreens : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QQuickWindow::setGraphicsApi(QSGRendererInterface::Software); }

    void stageRowStartsItsLesson()
    {
        WindowRig w;
        QVERIFY(w.ready());
        QVERIFY(w.click(u"stage1"_s));
        QCOMPARE(w.rig.app->tab(), AppState::Tab::Training);
        QCOMPARE(w.rig.app->activeLesson().id, 7);
    }

    void savingAPastedTextStartsItsFirstFragment()
    {
        WindowRig w;
        QVERIFY(w.ready());
        QVERIFY(w.click(u"tab2"_s));
        QVERIFY(shown(w, u"editorFace"_s));
        w.find(u"manuscriptEditor"_s)->setProperty("text", u"  Hello, "_s + text300 + u"\n"_s);
        QVERIFY(w.click(u"trainButton"_s));
        const QString cleaned = u"Hello, "_s + text300;
        QCOMPARE(w.rig.profileOnDisk()->manuscript, cleaned);
        QCOMPARE(w.rig.app->tab(), AppState::Tab::Training);
        QVERIFY(w.rig.app->manuscriptMode());
        QCOMPARE(w.rig.engine().text().join(QString()), Manuscript::chunks(cleaned).first());
    }

    void replaceThenCancelKeepsTheStoredText()
    {
        WindowRig w(withManuscript(text300));
        QVERIFY(w.ready());
        QVERIFY(w.click(u"tab2"_s));
        QVERIFY(shown(w, u"summaryFace"_s));
        QVERIFY(w.click(u"replaceButton"_s)); // the editor, with the stored text
        QQuickItem *editor = w.find(u"manuscriptEditor"_s);
        QCOMPARE(editor->property("text").toString(), text300);
        editor->setProperty("text", u"другой текст"_s);
        QVERIFY(w.click(u"cancelButton"_s));
        QVERIFY(shown(w, u"summaryFace"_s));
        QCOMPARE(w.rig.profileOnDisk()->manuscript, text300);
    }

    void progressOfANewProfileShowsPlaceholders()
    {
        WindowRig w;
        QVERIFY(w.ready());
        QVERIFY(w.click(u"tab3"_s));
        QVERIFY(shown(w, u"chartPlaceholder"_s));
        QVERIFY(shown(w, u"heatPlaceholder"_s));
        QVERIFY(!shown(w, u"heatMap"_s));
        QCOMPARE(w.find(u"speedChart"_s)->property("item").value<QObject *>(), nullptr);
        QVERIFY(!shown(w, u"tileUnit0"_s));
    }

    void progressOfTwoWeeksShowsChartAndHeatMap()
    {
        WindowRig w(twoWeeks());
        QVERIFY(w.ready());
        QVERIFY(w.click(u"tab3"_s));
        QVERIFY(!shown(w, u"chartPlaceholder"_s));
        QVERIFY(!shown(w, u"heatPlaceholder"_s));
        QVERIFY(shown(w, u"heatMap"_s));
        QCOMPARE(w.find(u"heatMap"_s)->property("errors").value<KeyLevels>().levels.value(u"ж"_s),
                 1.0);
        QCOMPARE(w.find(u"tileUnit0"_s)->property("text").toString(), u"зн/мин"_s);
        QObject *chart = nullptr;
        QTRY_VERIFY((chart = w.find(u"speedChart"_s)->property("item").value<QObject *>()));
        // its dates are written in Russian whatever the process locale (C here)
        QCOMPARE(chart->property("locale").toLocale().name(), u"ru_RU"_s);

        // its last point is marked in the accent colour of either scheme (the chart
        // paints on its own schedule, hence the waiting)
        QQuickItem *label = w.find(u"lastSpeed"_s);
        const QPoint mark =
            label->parentItem()->mapToScene(label->property("at").toPointF()).toPoint();
        QTRY_COMPARE(w.grab().pixelColor(mark), ThemePalette::light().accent);
        Theme::instance()->setAppearance(Appearance::dark);
        QTRY_COMPARE(w.grab().pixelColor(mark), ThemePalette::dark().accent);
        Theme::instance()->setAppearance(std::nullopt);
    }

    void untrustedTextStaysText()
    {
        // text fields holding markup, and an image on a listening host
        QTcpServer host;
        QVERIFY(host.listen(QHostAddress::LocalHost));
        const QString img = u"<img src=\"http://127.0.0.1:%1/x.png\">"_s.arg(host.serverPort());
        ProfileData p = twoWeeks();
        p.manuscript = img + u"<font size=7>Ж</font> <b>жир</b> и жук бегут по лугу вдоль реки"_s;
        p.days.first().date = img;
        WindowRig w(p);
        QVERIFY(w.ready());

        int seen = 0;
        w.rig.app->setTab(AppState::Tab::Manuscript);
        QTRY_VERIFY(shown(w, u"preview"_s));
        verifyPlain(w.window->contentItem(), u"<img"_s, seen);
        QVERIFY(w.click(u"continueButton"_s));
        QTRY_VERIFY(shown(w, u"line0"_s));
        verifyPlain(w.window->contentItem(), u"<"_s, seen);
        w.rig.app->setTab(AppState::Tab::Progress);
        QTRY_VERIFY(shown(w, u"tileNote3"_s));
        verifyPlain(w.window->contentItem(), u"<img"_s, seen);
        QCOMPARE(w.find(u"tileNote3"_s)->property("text").toString(), u"с "_s + img);
        QVERIFY(seen >= 4);
        QVERIFY(!host.hasPendingConnections()); // no request was made
    }

    void keyboardReachesEveryControl()
    {
        WindowRig w;
        QVERIFY(w.ready());
        QStringList visited; // Tab goes round the window
        for (int i = 0; i < 40; ++i) {
            w.press(Qt::Key_Tab);
            const QString name = spoken(w.window->activeFocusItem());
            if (!visited.isEmpty() && name == visited.first())
                break;
            visited << name;
        }
        // every control of the header and the course screen, each once, named
        const QStringList expected{u"Курс"_s, u"Тренировка"_s, u"Рукопись"_s, u"Прогресс"_s,
                                   u"Тема оформления"_s, u"Продолжить — урок 1"_s,
                                   u"Домашний ряд, урок 1 из 6"_s, u"Верхний ряд, 7 уроков"_s,
                                   u"Нижний ряд, 6 уроков"_s, u"Заглавные и Ё, 3 уроков"_s,
                                   u"Знаки писателя, 5 уроков"_s, u"Проза, без предела"_s};
        QCOMPARE(visited, expected);
        w.press(Qt::Key_Backtab, {}, Qt::ShiftModifier);
        QCOMPARE(spoken(w.window->activeFocusItem()), expected.last());

        // Return on the continue button starts lesson 1
        while (spoken(w.window->activeFocusItem()) != u"Продолжить — урок 1")
            w.press(Qt::Key_Tab);
        w.press(Qt::Key_Return, u"\r"_s);
        QCOMPARE(w.rig.app->tab(), AppState::Tab::Training);
        QCOMPARE(w.rig.app->activeLesson().id, 1);
        QVERIFY(!w.rig.engine().text().isEmpty());

        // Ctrl+3 opens the manuscript from the middle of an exercise, typing nothing
        w.type(w.rig.engine().expected());
        w.press(Qt::Key_3, u"3"_s, Qt::ControlModifier);
        QCOMPARE(w.rig.app->tab(), AppState::Tab::Manuscript);
        QCOMPARE(w.rig.engine().position(), 1);

        // and Tab leaves the editor it opens in, writing no tab into it
        QQuickItem *editor = nullptr;
        QTRY_VERIFY((editor = w.find(u"manuscriptEditor"_s)) && editor->hasActiveFocus());
        w.press(Qt::Key_Tab, u"\t"_s);
        QVERIFY(!editor->hasActiveFocus());
        QVERIFY(editor->property("text").toString().isEmpty());
    }

    void everyControlIsNamedForScreenReaders()
    {
        ProfileData p = twoWeeks();
        p.manuscript = text300;
        WindowRig w(p);
        QVERIFY(w.ready());
        QStringList unnamed;
        const auto check = [&] { verifyNamed(w.window->contentItem(), unnamed); };
        check(); // the course
        QVERIFY(w.click(u"appearanceMenu"_s));
        check(); // its open menu
        w.press(Qt::Key_Escape);
        w.rig.app->startManuscript();
        check(); // an exercise
        w.rig.typeRest();
        check(); // its result card
        w.rig.app->setTab(AppState::Tab::Manuscript);
        check(); // the summary
        QVERIFY(w.click(u"replaceButton"_s));
        check(); // the editor
        w.rig.app->setTab(AppState::Tab::Progress);
        check();
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u", ")));
    }

    void keyEventsTypeTheExercise()
    {
        WindowRig w(withManuscript(u"жук жаба"_s));
        QVERIFY(w.ready());
        QVERIFY(w.click(u"tab1"_s)); // right after start: a lesson exercise is started
        QCOMPARE(w.rig.app->tab(), AppState::Tab::Training);
        QVERIFY(!w.rig.engine().text().isEmpty());
        w.rig.app->startManuscript();

        w.type(u"ж1у"_s); // real key events, one of them wrong
        QCOMPARE(std::pair(w.rig.engine().position(), w.rig.engine().errorPositions()),
                 std::pair(2, QSet<int>{1}));
        QCOMPARE(w.find(u"fingerHint"_s)->property("text").toString(),
                 u"К — левый указательный"_s);
        w.press(Qt::Key_Backspace, u"\b"_s); // does nothing
        QCOMPARE(w.rig.engine().position(), 2);
        w.press(Qt::Key_Escape, u"\x1b"_s); // starts again
        QCOMPARE(w.rig.engine().position(), 0);
        QVERIFY(w.rig.engine().keyEvents().isEmpty());
    }

    void tabSwitchStopsCaptureAndReturnResumes()
    {
        WindowRig w(withManuscript(u"жук жаба"_s));
        QVERIFY(w.ready());
        w.rig.app->startManuscript();
        w.type(u"жу"_s);
        QVERIFY(w.click(u"tab0"_s));
        QTRY_VERIFY(!KeyCapture::current());
        w.type(u"к"_s);
        QCOMPARE(w.rig.engine().position(), 2);

        QVERIFY(w.click(u"tab1"_s));
        QTRY_VERIFY(KeyCapture::current());
        QCOMPARE(w.rig.engine().text().join(QString()), u"жук жаба"_s); // the same exercise
        w.type(u"к"_s);
        QCOMPARE(w.rig.engine().position(), 3);
    }

    void resultCardAndReturn()
    {
        WindowRig w(withManuscript(text300));
        QVERIFY(w.ready());
        w.rig.app->startManuscript();
        const QString first = w.rig.engine().text().join(QString());
        w.type(first);
        QVERIFY(w.rig.app->lastResult());
        QTRY_VERIFY(w.find(u"resultCard"_s)->isVisible());
        QVERIFY(!w.find(u"exercise"_s)->isVisible());

        // Escape on the card does nothing; Return starts the next fragment
        w.press(Qt::Key_Escape, u"\x1b"_s);
        QVERIFY(w.rig.app->lastResult());
        w.press(Qt::Key_Return, u"\r"_s);
        QVERIFY(!w.rig.app->lastResult());
        QVERIFY(w.rig.engine().text().join(QString()) != first);
        QCOMPARE(w.rig.profile().manuscriptChunk, std::optional<qint64>(1));
    }

    void soundButtonFlipsAndSaves()
    {
        WindowRig w;
        QVERIFY(w.ready());
        w.rig.app->startTraining();
        QVERIFY(w.click(u"soundButton"_s));
        QCOMPARE(w.rig.profileOnDisk()->soundOn, false);
        QVERIFY(w.click(u"soundButton"_s));
        QCOMPARE(w.rig.profile().soundOn, true);
    }
};

QTEST_MAIN(TestScreens)
#include "test_screens.moc"
