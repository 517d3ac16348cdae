// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
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

QString text300()
{
    return u"жила была собака и кот "_s.repeated(13).trimmed();
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

// Pictures of a screen in both schemes, for people to look at.
void screenshots(const WindowRig &w, const QString &name)
{
    w.saveScreenshot(name + u"-light"_s);
    Theme::instance()->setAppearance(Appearance::dark);
    w.saveScreenshot(name + u"-dark"_s);
    Theme::instance()->setAppearance(std::nullopt);
}

} // namespace

class TestScreens : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void stageRowStartsItsLesson();
    void continueButtonStartsTheCurrentLesson();
    void savingAPastedTextStartsItsFirstFragment();
    void replaceThenCancelKeepsTheStoredText();
    void progressOfANewProfileShowsPlaceholders();
    void progressOfTwoWeeksShowsChartAndHeatMap();
    void untrustedTextStaysText();
    void keyboardReachesEveryControl();
    void everyControlIsNamedForScreenReaders();
};

void TestScreens::initTestCase()
{
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

void TestScreens::stageRowStartsItsLesson()
{
    // given the first stage done, lesson 7 passed three times, lesson 8 twice
    ProfileData p;
    for (qint64 id = 1; id <= 7; ++id)
        p.exercisesPassed.insert(id, 3);
    p.exercisesPassed.insert(8, 2);
    p.currentLessonID = 8;
    WindowRig w(p);
    QVERIFY(w.ready());
    QCOMPARE(w.find(u"stageLabel0"_s)->property("text").toString(), u"пройден"_s);
    QCOMPARE(w.find(u"stageLabel1"_s)->property("text").toString(), u"урок 2 из 7"_s);
    screenshots(w, u"course"_s);

    // when the second stage is clicked, its first lesson not yet done starts
    QVERIFY(w.click(u"stage1"_s));
    QCOMPARE(w.rig.app->tab(), AppState::Tab::Training);
    QCOMPARE(w.rig.app->activeLesson().id, 8);

    // and the done stage starts again from its first lesson
    QVERIFY(w.click(u"tab0"_s));
    QVERIFY(w.click(u"stage0"_s));
    QCOMPARE(w.rig.app->activeLesson().id, 1);
}

void TestScreens::continueButtonStartsTheCurrentLesson()
{
    ProfileData p;
    p.currentLessonID = 9;
    WindowRig w(p);
    QVERIFY(w.ready());
    QCOMPARE(w.find(u"continueButton"_s)->property("text").toString(), u"Продолжить — урок 9"_s);

    QVERIFY(w.click(u"continueButton"_s));

    QCOMPARE(w.rig.app->tab(), AppState::Tab::Training);
    QCOMPARE(w.rig.app->activeLesson().id, 9);
}

void TestScreens::savingAPastedTextStartsItsFirstFragment()
{
    WindowRig w;
    QVERIFY(w.ready());
    QVERIFY(w.click(u"tab2"_s));
    QVERIFY(shown(w, u"editorFace"_s));
    QCOMPARE(w.find(u"counter"_s)->property("text").toString(), u"Пусто — вставьте текст"_s);

    w.find(u"manuscriptEditor"_s)->setProperty("text", u"  Hello, "_s + text300() + u"\n"_s);
    QCOMPARE(w.find(u"counter"_s)->property("text").toString(), u"305 знаков · 2 фрагментов"_s);
    QVERIFY(shown(w, u"latinWarning"_s));
    screenshots(w, u"manuscript-editor"_s);

    QVERIFY(w.click(u"trainButton"_s));

    // then the cleaned text is stored and its first fragment typed
    const QString cleaned = u"Hello, "_s + text300();
    QCOMPARE(w.rig.profileOnDisk()->manuscript, cleaned);
    QCOMPARE(w.rig.app->tab(), AppState::Tab::Training);
    QVERIFY(w.rig.app->manuscriptMode());
    QCOMPARE(w.rig.engine().text().join(QString()), Manuscript::chunks(cleaned).first());
}

void TestScreens::replaceThenCancelKeepsTheStoredText()
{
    ProfileData p;
    p.manuscript = text300();
    p.manuscriptChunk = 1;
    WindowRig w(p);
    QVERIFY(w.ready());
    QVERIFY(w.click(u"tab2"_s));
    QVERIFY(shown(w, u"summaryFace"_s));
    QCOMPARE(w.find(u"summaryText"_s)->property("text").toString(),
             u"298 знаков · фрагмент 2 из 2"_s);
    screenshots(w, u"manuscript-summary"_s);

    // "Заменить текст" shows the editor with the stored text
    QVERIFY(w.click(u"replaceButton"_s));
    QQuickItem *editor = w.find(u"manuscriptEditor"_s);
    QCOMPARE(editor->property("text").toString(), text300());
    editor->setProperty("text", u"другой текст"_s);

    // "Отмена" goes back with the stored text untouched
    QVERIFY(w.click(u"cancelButton"_s));
    QVERIFY(shown(w, u"summaryFace"_s));
    QCOMPARE(w.rig.profileOnDisk()->manuscript, text300());
}

void TestScreens::progressOfANewProfileShowsPlaceholders()
{
    WindowRig w;
    QVERIFY(w.ready());
    QVERIFY(w.click(u"tab3"_s));

    QVERIFY(shown(w, u"chartPlaceholder"_s));
    QVERIFY(shown(w, u"heatPlaceholder"_s));
    QVERIFY(!shown(w, u"heatMap"_s));
    QCOMPARE(w.find(u"speedChart"_s)->property("item").value<QObject *>(), nullptr);
    QCOMPARE(w.find(u"tileValue0"_s)->property("text").toString(), u"—"_s);
    QVERIFY(!shown(w, u"tileUnit0"_s));
    screenshots(w, u"progress-new"_s);
}

void TestScreens::progressOfTwoWeeksShowsChartAndHeatMap()
{
    WindowRig w(twoWeeks());
    QVERIFY(w.ready());
    QVERIFY(w.click(u"tab3"_s));

    QVERIFY(!shown(w, u"chartPlaceholder"_s));
    QVERIFY(!shown(w, u"heatPlaceholder"_s));
    QVERIFY(shown(w, u"heatMap"_s));
    QTRY_VERIFY(w.find(u"speedChart"_s)->property("item").value<QObject *>());
    // its dates are written in Russian whatever the process locale (C here)
    QCOMPARE(w.find(u"speedChart"_s)->property("item").value<QObject *>()->property("locale")
                 .toLocale().name(), u"ru_RU"_s);
    QCOMPARE(w.find(u"lastSpeed"_s)->property("text").toString(), u"139"_s);
    QCOMPARE(w.find(u"heatMap"_s)->property("errors").value<KeyLevels>().levels.value(u"ж"_s), 1.0);
    QCOMPARE(w.find(u"tileUnit0"_s)->property("text").toString(), u"зн/мин"_s);

    // the chart marks its last point in the accent colour of either scheme
    // (the chart paints on its own schedule, hence the waiting)
    QQuickItem *label = w.find(u"lastSpeed"_s);
    const QPoint mark = label->parentItem()
                            ->mapToScene(label->property("at").toPointF())
                            .toPoint();
    QTRY_COMPARE(w.grab().pixelColor(mark), ThemePalette::light().accent);
    w.saveScreenshot(u"progress-light"_s);
    Theme::instance()->setAppearance(Appearance::dark);
    QTRY_COMPARE(w.grab().pixelColor(mark), ThemePalette::dark().accent);
    w.saveScreenshot(u"progress-dark"_s);
    Theme::instance()->setAppearance(std::nullopt);
}

// Every text item showing `marker` shows it as typed.
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

void TestScreens::untrustedTextStaysText()
{
    // given a profile whose text fields hold markup and images on a listening host
    QTcpServer host;
    QVERIFY(host.listen(QHostAddress::LocalHost));
    const QString img = u"<img src=\"http://127.0.0.1:%1/x.png\">"_s.arg(host.serverPort());
    ProfileData p = twoWeeks();
    p.manuscript = img + u"<font size=7>Ж</font> <b>жир</b> и жук бегут по лугу вдоль реки"_s;
    p.days.first().date = img;
    WindowRig w(p);
    QVERIFY(w.ready());

    // when every screen that shows it is visited
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

    // then the tags are shown as typed and no request was made
    QCOMPARE(w.find(u"tileNote3"_s)->property("text").toString(), u"с "_s + img);
    QVERIFY(seen >= 4);
    QVERIFY(!host.hasPendingConnections());
}

// What a screen reader says an item is: its role and name, "" without a role.
QString spoken(QQuickItem *item)
{
    QAccessibleInterface *a = item ? QAccessible::queryAccessibleInterface(item) : nullptr;
    if (!a || a->role() == QAccessible::NoRole || a->role() == QAccessible::Client)
        return {};
    return a->text(QAccessible::Name);
}

void TestScreens::keyboardReachesEveryControl()
{
    // given the course screen of a new profile
    WindowRig w;
    QVERIFY(w.ready());

    // when Tab goes round the window
    QStringList visited;
    for (int i = 0; i < 40; ++i) {
        w.press(Qt::Key_Tab);
        const QString name = spoken(w.window->activeFocusItem());
        if (!visited.isEmpty() && name == visited.first())
            break;
        visited << name;
    }

    // then it visits every control of the header and the screen, each once, named
    const QStringList expected{u"Курс"_s, u"Тренировка"_s, u"Рукопись"_s, u"Прогресс"_s,
                               u"Тема оформления"_s, u"Продолжить — урок 1"_s,
                               u"Домашний ряд, урок 1 из 6"_s, u"Верхний ряд, 7 уроков"_s,
                               u"Нижний ряд, 6 уроков"_s, u"Заглавные и Ё, 3 уроков"_s,
                               u"Знаки писателя, 5 уроков"_s, u"Проза, без предела"_s};
    QCOMPARE(visited, expected);
    // Shift+Tab goes back
    w.press(Qt::Key_Backtab, {}, Qt::ShiftModifier);
    QCOMPARE(spoken(w.window->activeFocusItem()), expected.last());

    // Return on the continue button starts lesson 1
    while (spoken(w.window->activeFocusItem()) != u"Продолжить — урок 1")
        w.press(Qt::Key_Tab);
    w.press(Qt::Key_Return, u"\r"_s);
    QCOMPARE(w.rig.app->tab(), AppState::Tab::Training);
    QCOMPARE(w.rig.app->activeLesson().id, 1);
    QVERIFY(!w.rig.engine().text().isEmpty());

    // and Ctrl+3 opens the manuscript from the middle of an exercise
    w.type(w.rig.engine().expected());
    w.press(Qt::Key_3, u"3"_s, Qt::ControlModifier);
    QCOMPARE(w.rig.app->tab(), AppState::Tab::Manuscript);
    QCOMPARE(w.rig.engine().position(), 1); // the chord typed nothing
}

// Every control the pointer or the keyboard can work is known to a screen
// reader by a role and a name.
void verifyNamed(QQuickItem *item, QStringList &unnamed)
{
    if (!item->isVisible() || !item->isEnabled())
        return;
    const bool clickable = qstrcmp(item->metaObject()->className(), "QQuickMouseArea") == 0
                           && item->acceptedMouseButtons() != Qt::NoButton;
    if ((clickable && spoken(item).isEmpty() && spoken(item->parentItem()).isEmpty())
        || (item->activeFocusOnTab() && spoken(item).isEmpty())) {
        const QQuickItem *named = clickable ? item->parentItem() : item;
        unnamed << (named->objectName().isEmpty() ? QString::fromLatin1(named->metaObject()->className())
                                                  : named->objectName());
    }
    const auto children = item->childItems();
    for (QQuickItem *child : children)
        verifyNamed(child, unnamed);
}

void TestScreens::everyControlIsNamedForScreenReaders()
{
    ProfileData p = twoWeeks();
    p.manuscript = text300();
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

QTEST_MAIN(TestScreens)
#include "test_screens.moc"
