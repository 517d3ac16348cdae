// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "announcer.h"
#include "key_capture.h"
#include "window_rig.h"

#include <QAccessibleTextInterface>
#include <QQmlEngineExtensionPlugin>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

#include <functional>

Q_IMPORT_QML_PLUGIN(OlviPlugin)

using namespace Qt::StringLiterals;

namespace {

bool shown(const WindowRig &w, const QString &name)
{
    QQuickItem *item = w.find(name);
    return item && item->isVisible();
}

QList<QQuickItem *> visibleItems(QQuickItem *item)
{
    QList<QQuickItem *> items;
    if (item->isVisible()) {
        items << item;
        const auto children = item->childItems();
        for (QQuickItem *child : children)
            items << visibleItems(child);
    }
    return items;
}

const auto spoken = &WindowRig::spoken;

} // namespace

// The real main window driven by clicks and key events. The texts it shows are
// checked in test_view_models, its pixels in test_screen_pixels.
class TestScreens : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QQuickWindow::setGraphicsApi(QSGRendererInterface::Software); }

    void keyboardReachesEveryControl()
    {
        WindowRig w;
        QVERIFY(w.ready());
        QStringList visited; // Tab goes round the window, back to where it began
        do {
            w.press(Qt::Key_Tab);
            visited << spoken(w.window->activeFocusItem());
        } while (visited.size() < 40 && (visited.size() == 1 || visited.last() != visited.first()));
        visited.removeLast();
        // every control of the header and the course screen, each once, named
        const QStringList expected{u"Курс"_s, u"Тренировка"_s, u"Рукопись"_s, u"Прогресс"_s,
                                   u"Тема, раскладка и озвучивание"_s, u"Продолжить — урок 1"_s,
                                   u"Домашний ряд, урок 1 из 6"_s, u"Верхний ряд, 7 уроков"_s,
                                   u"Нижний ряд, 6 уроков"_s, u"Заглавные и Ё, 3 урока"_s,
                                   u"Знаки писателя, 5 уроков"_s, u"Проза, без предела"_s};
        QCOMPARE(visited, expected);
        w.press(Qt::Key_Backtab, {}, Qt::ShiftModifier);
        QCOMPARE(spoken(w.window->activeFocusItem()), expected.last());

        // the header's menu, opened by keys: a named popup menu whose entries are each a
        // checkable item, the scheme in use and nothing else ticked
        QVERIFY(w.tabTo(u"Тема, раскладка и озвучивание"_s));
        w.press(Qt::Key_Return, u"\r"_s);
        QAccessibleInterface *menu = QAccessible::queryAccessibleInterface(w.window->activeFocusItem());
        while (menu && menu->role() != QAccessible::PopupMenu)
            menu = menu->parent();
        QVERIFY(menu);
        QCOMPARE(menu->text(QAccessible::Name), u"Тема, раскладка и озвучивание"_s);
        QStringList entries;
        const std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *at) {
            if (at->role() == QAccessible::MenuItem && at->state().checkable)
                entries << at->text(QAccessible::Name) + (at->state().checked ? u" ✓"_s : u""_s);
            for (int i = 0; i < at->childCount(); ++i)
                walk(at->child(i));
        };
        walk(menu);
        QCOMPARE(entries, (QStringList{u"Как в системе ✓"_s, u"Светлая"_s, u"Тёмная"_s,
                                       u"Печатать по ЙЦУКЕН без русской раскладки"_s,
                                       u"Озвучивание"_s}));
        w.press(Qt::Key_Escape, u"\x1b"_s);

        // the manuscript tab (Ctrl+3 from an exercise: test_end_to_end) opens in its editor,
        // which Tab leaves, writing no tab into it
        w.rig.app->setTab(AppState::Tab::Manuscript);
        QQuickItem *editor = nullptr;
        QTRY_VERIFY((editor = w.find(u"manuscriptEditor"_s)) && editor->hasActiveFocus());
        w.press(Qt::Key_Tab, u"\t"_s);
        QVERIFY(!editor->hasActiveFocus());
        QVERIFY(editor->property("text").toString().isEmpty());
    }

    // Every kind of control in the kit, reached with Tab (a menu's items with the arrows)
    // and worked by Space, Return and keypad Enter, as the template works it; Escape
    // works none (it closes the menu).
    void kitWorkedByKeys_data()
    {
        QTest::addColumn<QString>("screen");  // where the control is
        QTest::addColumn<QString>("control"); // what a screen reader calls it
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("effect"); // what the app holds afterwards (see kitWorkedByKeys)
        struct Kind
        {
            const char *name, *screen, *control, *worked, *escaped;
        };
        const Kind kinds[] = {
            {"tab", "course", "Прогресс", "tab 3", "tab 0"},
            {"button", "course", "Продолжить — урок 1", "tab 1, lesson 1", "tab 0, lesson 1"},
            {"stage row", "course", "Верхний ряд, 7 уроков", "tab 1, lesson 7", "tab 0, lesson 1"},
            {"switch", "training", "Звук при ошибке", "sound off, typed 0", "sound on, typed 0"},
            {"menu button", "course", "Тема, раскладка и озвучивание", "menu open", "menu shut"},
            {"menu item", "menu", "Тёмная", "menu shut, scheme dark", "menu shut, scheme system"},
            {"map key", "progress", "Работа над ошибками: й", "drill й", "drill "},
        };
        const std::pair<const char *, int> keys[] = {{"Space", Qt::Key_Space},
                                                     {"Return", Qt::Key_Return},
                                                     {"keypad Enter", Qt::Key_Enter},
                                                     {"Escape", Qt::Key_Escape}};
        for (const Kind &kind : kinds) {
            for (const auto &[keyName, key] : keys)
                QTest::addRow("%s, %s", kind.name, keyName)
                    << QString::fromLatin1(kind.screen) << QString::fromUtf8(kind.control) << key
                    << QString::fromUtf8(key == Qt::Key_Escape ? kind.escaped : kind.worked);
        }
    }

    void kitWorkedByKeys()
    {
        QFETCH(QString, screen);
        QFETCH(QString, control);
        QFETCH(int, key);
        QFETCH(QString, effect);
        WindowRig w(screen == u"progress" ? practised(13, 0, {}) : ProfileData());
        QVERIFY(w.ready());
        AppState &app = *w.rig.app;
        if (screen == u"training")
            app.startTraining();
        if (screen == u"progress")
            app.setTab(AppState::Tab::Progress);
        if (screen == u"menu") {
            QVERIFY(w.click(u"headerMenuButton"_s));
            for (int i = 0; i < 3 && spoken(w.window->activeFocusItem()) != control; ++i)
                w.press(Qt::Key_Down);
        }
        QTRY_VERIFY2(screen == u"menu" ? spoken(w.window->activeFocusItem()) == control
                                       : w.tabTo(control),
                     qPrintable(spoken(w.window->activeFocusItem())));
        const QString text = key == Qt::Key_Escape ? u"\x1b"_s : key == Qt::Key_Space ? u" "_s
                                                                                      : u"\r"_s;
        w.press(Qt::Key(key), text, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);

        const QQuickItem *menu = w.find(u"headerMenuButton"_s);
        const QHash<QString, QString> held{
            {u"tab"_s, u"tab %1"_s.arg(int(app.tab()))},
            {u"lesson"_s, u"lesson %1"_s.arg(app.activeLesson().id)},
            {u"sound"_s, w.rig.profile().soundOn ? u"sound on"_s : u"sound off"_s},
            {u"typed"_s, u"typed %1"_s.arg(w.rig.engine().position() + w.rig.engine().errorCount())},
            {u"menu"_s, menu->property("open").toBool() ? u"menu open"_s : u"menu shut"_s},
            {u"scheme"_s, u"scheme "_s + appearanceRawValue(w.rig.profile().appearance.value_or(
                                                 Appearance::system))},
            {u"drill"_s, u"drill "_s + app.drillKeys().join(u' ')},
        };
        QStringList shown;
        for (const QString &part : effect.split(u", "_s))
            shown << held.value(part.section(u' ', 0, 0));
        QCOMPARE(shown.join(u", "_s), effect);
    }

    // A full profile whose texts hold markup, through every screen.
    void everyScreenOfAFullProfile()
    {
        QTcpServer host; // an image on a listening host
        QVERIFY(host.listen(QHostAddress::LocalHost));
        const QString img = u"<img src=\"http://127.0.0.1:%1/x.png\">"_s.arg(host.serverPort());
        ProfileData p; // two weeks of daily practice up to 6 December, a few keys mistyped
        for (int i = 0; i < 14; ++i) {
            const QDate date = QDate(2026, 11, 23).addDays(i);
            p.days.append(DayStat{dayKeyForDate(date), 900, 30, 600.0, 100.0 + 3.0 * i});
        }
        p.keyStats = {{u"ж"_s, KeyStat{40, 12, 0.3, 0.4}}, {u"а"_s, KeyStat{90, 4, 0.05, 0.2}}};
        p.manuscript = img + u"<font size=7>Ж</font> <b>жир</b> и жук бегут по лугу вдоль реки"_s;
        p.days.first().date = img;
        WindowRig w(p);
        QVERIFY(w.ready());

        // every control the pointer or the keyboard can work has a role and a name, and
        // the texts showing the markup (counted) show it as typed
        QStringList unnamed, rich;
        const auto check = [&](const QString &marker = u"<img"_s) {
            int shows = 0;
            for (QQuickItem *item : visibleItems(w.window->contentItem())) {
                const bool control = item->isEnabled()
                                     && (item->activeFocusOnTab() || item->inherits("QQuickAbstractButton"));
                if (control && spoken(item).isEmpty())
                    unnamed << item->objectName();
                if (!item->property("text").toString().contains(marker))
                    continue;
                ++shows;
                if (item->property("textFormat").toInt() != 0) // not PlainText
                    rich << item->objectName();
            }
            return shows;
        };
        check(); // the course
        QVERIFY(w.click(u"headerMenuButton"_s));
        check(); // its open menu
        w.press(Qt::Key_Escape);
        w.rig.app->setTab(AppState::Tab::Manuscript);
        QTRY_VERIFY(shown(w, u"preview"_s));
        QVERIFY(check() > 0); // the summary
        QVERIFY(w.click(u"continueButton"_s));
        QTRY_VERIFY(shown(w, u"line0"_s));
        QVERIFY(check(u"<"_s) > 0); // an exercise
        w.rig.typeRest();
        check(); // its result card

        // the editor opens on the stored text; cancelled, it leaves it stored
        w.rig.app->setTab(AppState::Tab::Manuscript);
        QVERIFY(w.click(u"replaceButton"_s));
        QVERIFY(check() > 0);
        w.find(u"manuscriptEditor"_s)->setProperty("text", u"другой текст"_s);
        QVERIFY(w.click(u"cancelButton"_s));
        QVERIFY(shown(w, u"summaryFace"_s));
        QCOMPARE(w.rig.profileOnDisk()->manuscript, p.manuscript);

        // the progress: a chart and a heat map in place of the placeholders
        w.rig.app->setTab(AppState::Tab::Progress);
        QTRY_VERIFY(shown(w, u"tileNote3"_s));
        QVERIFY(!shown(w, u"chartPlaceholder"_s) && !shown(w, u"heatPlaceholder"_s));
        QVERIFY(shown(w, u"heatMap"_s) && shown(w, u"speedChart"_s));
        QVERIFY(check() > 0);
        QCOMPARE(w.find(u"tileNote3"_s)->property("text").toString(), u"с "_s + img);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u", ")));
        QVERIFY2(rich.isEmpty(), qPrintable(rich.join(u", ")));
        QVERIFY(!host.hasPendingConnections()); // no request was made
        QQuickItem *chart = w.find(u"speedChart"_s);
        const QVariant lastPoint = chart->property("lastPoint");

        // kept while another tab shows, its figures wait and are brought up to date
        // when it shows again
        const auto accuracy = [&w] { return w.find(u"tileValue1"_s)->property("text"); };
        const QVariant before = accuracy();
        QQuickItem *exportButton = w.find(u"exportButton"_s);
        exportButton->forceActiveFocus(Qt::TabFocusReason);
        QVERIFY(exportButton->hasActiveFocus());
        w.rig.app->setTab(AppState::Tab::Course);
        QVERIFY(!exportButton->hasActiveFocus()); // the keys leave with the screen
        w.rig.app->store()->update([](ProfileData &d) {
            d.days.last().errors += 900;
            d.days.last().bestSpeed = 1;
        });
        QCOMPARE(accuracy(), before);
        w.rig.app->setTab(AppState::Tab::Progress);
        QCOMPARE(w.find(u"speedChart"_s), chart); // the same chart, following the profile
        QVERIFY(accuracy() != before && chart->property("lastPoint") != lastPoint);
    }

    // A learner who does not look: the exercise told to a screen reader and
    // read aloud word by word, never from inside a keystroke.
    void aLearnerWhoDoesNotLook()
    {
        ProfileData p = withManuscript(u"ёж ест щи. Мы тоже"_s);
        p.soundOn = false;
        WindowRig w(p);
        QVERIFY(w.ready());
        QStringList &said = w.rig.speech.said;
        auto *announcer = qobject_cast<Announcer *>(w.find(u"announcer"_s));
        QVERIFY(announcer);
        // "Озвучивание" from the header's menu, stored once it is on
        QVERIFY(w.click(u"headerMenuButton"_s));
        QCOMPARE(spoken(w.find(u"speechItem"_s)), u"Озвучивание"_s);
        QVERIFY(w.click(u"speechItem"_s));
        QVERIFY(w.rig.profileOnDisk()->speechOn);
        QTRY_COMPARE(said, QStringList{u"Озвучивание включено"_s});
        said.clear();

        // the start: the caption, then the first word; the lines take the focus
        w.rig.app->startManuscript();
        QVERIFY(said.isEmpty());
        QTRY_COMPARE(said, QStringList{u"Своя рукопись. фрагмент 1 из 1. ёж"_s});
        QCOMPARE(announcer->text(), u"Своя рукопись · фрагмент 1 из 1"_s);
        QQuickItem *lines = w.find(u"textLines"_s);
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(lines);
        QVERIFY(a && a->textInterface() && lines->hasActiveFocus());
        QCOMPARE(a->text(QAccessible::Description), u"Ё — левый мизинец"_s);
        QCOMPARE(a->textInterface()->text(0, -1), u"ёж ест щи. Мы тоже"_s);

        // a word as the caret reaches it; a burst of keys says only the newest
        const auto typed = [&](const QString &keys) {
            const qsizetype before = said.size();
            for (const QString &ch : Characters::split(keys))
                w.rig.app->handleKey(ch);
            const bool quiet = said.size() == before; // nothing inside the key handler
            QCoreApplication::processEvents();
            return quiet ? said.mid(before) : QStringList{u"said inside a key"_s};
        };
        QCOMPARE(typed(u"ёж"_s), QStringList{});
        QCOMPARE(typed(u" "_s), QStringList{u"ест"_s});
        QCOMPARE(a->textInterface()->cursorPosition(), 3);
        QCOMPARE(typed(u"ест щи. "_s), QStringList{u"с заглавной Мы"_s});
        // the rest of the word on request
        w.press(Qt::Key_Space, u" "_s, Qt::ControlModifier);
        QTRY_COMPARE(said.last(), u"заглавная эм, ы"_s);
        QCOMPARE(w.rig.engine().position(), 11);

        // a wrong key: one word, or with the alert sound on, the sound alone
        QCOMPARE(typed(u"ю"_s), QStringList{u"ошибка"_s});
        QCOMPARE(announcer->text(), u"ошибка"_s);
        w.rig.app->toggleSound();
        QSignalSpy announced(announcer, &Announcer::announced);
        QCOMPARE(typed(u"ю"_s), QStringList{});
        QCOMPARE(std::pair(w.rig.sound.beeps, int(announced.size())), std::pair(1, 1));
        // the layout warning
        QCOMPARE(typed(u"f"_s), QStringList{u"Была латиница — возвращаю русскую раскладку"_s});

        // the end: the verdict and the three figures as the card shows them
        QCOMPARE(typed(u"Мы т"_s), QStringList{u"тоже"_s});
        QCOMPARE(typed(u"оже"_s).value(0).section(u". "_s, 0, 0), u"Почти получилось"_s);
        for (const char *figure : {"resultSpeed", "resultAccuracy", "resultLessonCount"})
            QVERIFY2(said.last().contains(w.find(QLatin1StringView(figure))->property("value")
                                              .toString()), qPrintable(said.last()));
        QCOMPARE(announcer->text(), said.last());

        // without a Russian voice the item says so and speech stays off
        w.rig.speech.becomes(SpeechOutput::Availability::noRussianVoice);
        QVERIFY(w.click(u"headerMenuButton"_s));
        QCOMPARE(spoken(w.find(u"speechItem"_s)), u"Озвучивание недоступно: нет русского голоса"_s);
        QVERIFY(w.click(u"speechItem"_s));
        QVERIFY(!w.rig.app->speechOn() && !w.rig.profileOnDisk()->speechOn);
    }

    void trainingScreenByMouseAndKeys()
    {
        // a text of two fragments
        WindowRig w(withManuscript(u"жила была собака и кот "_s.repeated(13).trimmed()));
        QVERIFY(w.ready());
        // (the training tab right after start: test_end_to_end) a stage row starts its lesson
        QVERIFY(w.click(u"stage1"_s));
        QCOMPARE(w.rig.app->activeLesson().id, 7);
        QVERIFY(w.click(u"soundButton"_s)); // the sound button flips the setting and saves it
        QCOMPARE(w.rig.profileOnDisk()->soundOn, false);
        QVERIFY(w.click(u"soundButton"_s));
        QCOMPARE(w.rig.profile().soundOn, true);
        w.rig.app->startManuscript();
        const QString first = w.rig.engine().text().join(QString());

        w.type(u"ж1и"_s); // real key events, one of them wrong
        QCOMPARE(std::pair(w.rig.engine().position(), w.rig.engine().errorPositions()),
                 std::pair(2, QSet<int>{1}));
        // (the hint follows the line one frame later)
        QTRY_COMPARE(w.find(u"fingerHint"_s)->property("text").toString(), u"Л — правый средний"_s);

        // another tab stops the capture; back on this one the same exercise goes on
        QVERIFY(w.click(u"tab0"_s));
        QTRY_VERIFY(!KeyCapture::current());
        w.type(u"л"_s);
        QVERIFY(w.click(u"tab1"_s));
        QTRY_VERIFY(KeyCapture::current());
        QCOMPARE(w.rig.engine().text().join(QString()), first);

        // the header's menu: a click on "Тёмная" chooses it; while it is open no key reaches
        // the exercise, and once it is shut the keys type again
        QVERIFY(w.click(u"headerMenuButton"_s));
        w.type(u"л"_s);
        QVERIFY(w.click(u"schemeItem2"_s));
        QCOMPARE(w.rig.profileOnDisk()->appearance, std::optional(Appearance::dark));
        QTRY_VERIFY(KeyCapture::current());
        QCOMPARE(w.rig.engine().position(), 2);

        // Tab to a control: Space works it and types nothing; letters still type; back on
        // the exercise Space types again
        QVERIFY(w.tabTo(u"Звук при ошибке"_s));
        w.type(u" л"_s);
        QCOMPARE(w.rig.profile().soundOn, false);
        QCOMPARE(std::pair(w.rig.engine().position(), w.rig.engine().errorCount()), std::pair(3, 1));
        QVERIFY(w.tabTo(u"Текст упражнения"_s));
        w.type(u"а"_s);
        QCOMPARE(std::pair(w.rig.engine().position(), w.rig.engine().errorCount()), std::pair(4, 1));

        // the card replaces the exercise; Escape on it does nothing, Return goes on
        w.type(first.mid(4));
        QTRY_VERIFY(shown(w, u"resultCard"_s));
        QVERIFY(!shown(w, u"exercise"_s));
        w.press(Qt::Key_Escape, u"\x1b"_s);
        QVERIFY(w.rig.app->lastResult());
        w.press(Qt::Key_Return, u"\r"_s);
        QVERIFY(!w.rig.app->lastResult());
        QCOMPARE(w.rig.profile().manuscriptChunk, std::optional<qint64>(1));
    }

    // Qt's own save dialog (no portal here), worked by keys alone: the name field has the
    // focus, a new name typed over the proposed one and Return save, and the focus goes
    // back to the button.
    void saveDialogByKeysOnly()
    {
        WindowRig w(withManuscript(u"свой текст"_s));
        QVERIFY(w.ready());
        const QByteArray home = qgetenv("HOME");
        const auto restoreHome = qScopeGuard([&home] { qputenv("HOME", home); });
        qputenv("HOME", w.rig.folder.path().toUtf8()); // the dialog's folder
        // the proposed file exists: Qt's dialog selects it, and its focus with it
        const QString proposed = w.rig.folder.filePath(u"olvi-progress-2026-12-06.json"_s);
        QVERIFY(ProfileStore::writeFileDurably(proposed, "{}"));
        w.rig.app->setTab(AppState::Tab::Progress);
        QQuickItem *button = nullptr;
        QTRY_VERIFY((button = w.find(u"exportButton"_s)));
        button->forceActiveFocus(Qt::TabFocusReason);
        w.press(Qt::Key_Return, u"\r"_s);
        QQuickItem *list = nullptr, *field = nullptr; // in the window's overlay
        QTRY_VERIFY((list = w.find(u"fileDialogListView"_s))
                    && list->property("count").toInt() >= 2); // the folder read
        QTRY_VERIFY((field = w.window->activeFocusItem())
                    && field->objectName() == u"fileNameTextField");
        QCOMPARE(field->property("selectedText").toString(), u"olvi-progress-2026-12-06"_s);
        w.type(u"moved"_s);
        w.press(Qt::Key_Return, u"\r"_s);
        const QString written = w.rig.folder.filePath(u"moved.json"_s);
        QTRY_COMPARE(ProfileJson::decode(ProfileStore::readProfileFile(written).value_or("")),
                     w.rig.profile());
        QTRY_COMPARE(w.window->activeFocusItem(), button);
    }
};

QTEST_MAIN(TestScreens)
#include "test_screens.moc"
