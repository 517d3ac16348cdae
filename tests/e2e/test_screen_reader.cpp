// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <atspi/atspi.h>

#include "figure_text.h"
#include "olvi_session.h"
#include "profile_data.h"
#include "profile_json.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

// A private session bus with the accessibility bus launched on it, as a
// desktop has them; every process it started is ended by its id.
struct AccessibilityBus
{
    QTemporaryDir runtime;
    QProcess session;
    QProcess launcher;
    QString sessionAddress;
    QString address; // of the accessibility bus
    QString error;

    bool start()
    {
        session.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address"_s});
        if (!session.waitForStarted() || !session.waitForReadyRead(5000))
            return fail(u"dbus-daemon does not start"_s);
        sessionAddress = QString::fromUtf8(session.readLine().trimmed());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, sessionAddress);
        // The launcher puts its bus's socket in the runtime folder: a private one.
        env.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());
        launcher.setProcessEnvironment(env);
        launcher.start(u"/usr/libexec/at-spi-bus-launcher"_s, {u"--launch-immediately"_s});
        if (!launcher.waitForStarted())
            return fail(u"at-spi-bus-launcher does not start"_s);
        QDBusConnection bus = QDBusConnection::connectToBus(sessionAddress, u"a11y-test"_s);
        const auto ask = QDBusMessage::createMethodCall(u"org.a11y.Bus"_s, u"/org/a11y/bus"_s,
                                                        u"org.a11y.Bus"_s, u"GetAddress"_s);
        OlviSession::waitFor([&] {
            const QDBusMessage reply = bus.call(ask);
            address = reply.arguments().value(0).toString();
            return !address.isEmpty();
        }, 10000);
        QDBusConnection::disconnectFromBus(u"a11y-test"_s);
        return address.isEmpty() ? fail(u"the launcher gives no accessibility bus"_s) : true;
    }
    bool fail(const QString &why)
    {
        error = why;
        return false;
    }

    ~AccessibilityBus()
    {
        // The registry the accessibility bus started, while that bus is there
        // to reap it; then the launcher, which ends its bus; then ours.
        const qint64 launched = launcher.processId();
        for (const auto &[pid, parent] : descendants(launched)) {
            if (parent != launched && ::kill(pid_t(pid), SIGTERM) == 0)
                OlviSession::waitFor([pid] { return !QFile::exists(u"/proc/%1"_s.arg(pid)); },
                                     5000);
        }
        for (QProcess *p : {&launcher, &session}) {
            p->terminate();
            p->waitForFinished();
        }
    }
    // Every process below `pid`, deepest first, each with its parent.
    static QList<std::pair<qint64, qint64>> descendants(qint64 pid)
    {
        QList<std::pair<qint64, qint64>> found;
        const QStringList all = QDir(u"/proc"_s).entryList({u"[0-9]*"_s}, QDir::Dirs);
        for (const QString &entry : all) {
            QFile stat(u"/proc/"_s + entry + u"/stat"_s);
            // "pid (name) state ppid …": the name may hold spaces, not ")".
            const QByteArray line = stat.open(QIODevice::ReadOnly) ? stat.readAll() : QByteArray();
            const QList<QByteArray> after = line.mid(line.lastIndexOf(')') + 2).split(' ');
            if (pid > 0 && after.size() > 1 && after[1].toLongLong() == pid)
                found = descendants(entry.toLongLong()) + found
                        + QList<std::pair<qint64, qint64>>{{entry.toLongLong(), pid}};
        }
        return found;
    }
};

// What the screen reader heard, in order.
QStringList heard;

QString take(gchar *text)
{
    const QString s = QString::fromUtf8(text);
    g_free(text);
    return s;
}

void listen(AtspiEvent *event, void *)
{
    const QString name = take(atspi_accessible_get_name(event->source, nullptr));
    const QString type = QString::fromUtf8(event->type);
    if (type.startsWith(u"object:state-changed:showing"_s)) {
        // Only a notification that shows is spoken; other items come and go.
        if (event->detail1 && atspi_accessible_get_role(event->source, nullptr)
                                  == ATSPI_ROLE_NOTIFICATION)
            heard << u"notification: "_s + name;
    } else if (type.startsWith(u"object:state-changed:focused"_s)) {
        if (event->detail1)
            heard << u"focus: "_s + name;
    } else if (!type.startsWith(u"object:property-change"_s)) {
        heard << u"%1 %2 %3"_s.arg(type.section(u':', 1)).arg(event->detail1).arg(event->detail2);
    }
    g_boxed_free(ATSPI_TYPE_EVENT, event);
}

// The first object under `at` with this role (and name, when one is given).
AtspiAccessible *find(AtspiAccessible *at, AtspiRole role, const QString &name = {})
{
    if (atspi_accessible_get_role(at, nullptr) == role
        && (name.isEmpty() || take(atspi_accessible_get_name(at, nullptr)) == name))
        return static_cast<AtspiAccessible *>(g_object_ref(at));
    const int n = atspi_accessible_get_child_count(at, nullptr);
    for (int i = 0; i < n; ++i) {
        AtspiAccessible *child = atspi_accessible_get_child_at_index(at, i, nullptr);
        AtspiAccessible *found = child ? find(child, role, name) : nullptr;
        if (child)
            g_object_unref(child);
        if (found)
            return found;
    }
    return nullptr;
}

// What a reader says of an object: "name — description".
QString said(AtspiAccessible *at)
{
    return at ? take(atspi_accessible_get_name(at, nullptr)) + u" — "_s
                    + take(atspi_accessible_get_description(at, nullptr))
              : u"(none)"_s;
}

// The names of the showing labels under `at`.
QStringList labels(AtspiAccessible *at)
{
    QStringList names;
    AtspiStateSet *states = atspi_accessible_get_state_set(at);
    const bool showing = atspi_state_set_contains(states, ATSPI_STATE_SHOWING);
    g_object_unref(states);
    if (showing && atspi_accessible_get_role(at, nullptr) == ATSPI_ROLE_LABEL)
        names << take(atspi_accessible_get_name(at, nullptr));
    const int n = atspi_accessible_get_child_count(at, nullptr);
    for (int i = 0; i < n; ++i) {
        if (AtspiAccessible *child = atspi_accessible_get_child_at_index(at, i, nullptr)) {
            names << labels(child);
            g_object_unref(child);
        }
    }
    return names;
}

} // namespace

// The real binary on a private X server, read by a real AT-SPI client on a
// private accessibility bus, the way Orca sees it.
class TestScreenReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aLessonHeardThroughAScreenReader()
    {
        // Inside AT-SPI's own main loop, as Orca reads: libatspi then keeps
        // what it learnt of each object (its name, say) until told it changed.
        // Qt's events go on through the same GLib loop.
        QTimer::singleShot(0, this, [this] {
            readALesson();
            atspi_event_quit();
        });
        atspi_event_main();
    }

private:
    void readALesson()
    {
        AccessibilityBus bus;
        if (!bus.start())
            QSKIP(qPrintable(u"the accessibility bus cannot start: "_s + bus.error));
        // a learner who practised the two days before, and mistyped ф and в
        // before (at a fifth of ф's rate), starts lesson 1 from the keyboard
        OlviSession s;
        QVERIFY2(s.start(), qPrintable(s.error()));
        const QDate today = QDate::currentDate();
        ProfileData before;
        before.days = {{dayKeyForDate(today.addDays(-2)), 400, 8, 150.0, 160.0},
                       {dayKeyForDate(today.addDays(-1)), 500, 5, 3600.0, 243.0}};
        before.keyStats = {{u"ф"_s, {40, 12, 0.3}}, {u"в"_s, {40, 3, 0.06}}};
        s.writeProfile(ProfileJson::encode(before));
        // Qt 6.4 finds the bus through the session bus only: given the
        // address itself, it announces the bus before its bridge listens.
        s.extraEnvironment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, bus.sessionAddress);
        s.extraEnvironment.insert(u"QT_LINUX_ACCESSIBILITY_ALWAYS_ON"_s, u"1"_s);
        QVERIFY(s.launchAndWait());
        // The reader, on the accessibility bus by its address (not passed to olvi).
        qputenv("AT_SPI_BUS_ADDRESS", bus.address.toUtf8());
        QCOMPARE(atspi_init(), 0);
        AtspiEventListener *listener = atspi_event_listener_new(listen, nullptr, nullptr);
        // Name changes too, as Orca listens for them: they keep the names it
        // has learnt up to date.
        for (const char *type :
             {"object:text-caret-moved", "object:text-changed", "object:state-changed:showing",
              "object:state-changed:focused", "object:property-change:accessible-name"})
            QVERIFY(atspi_event_listener_register(listener, type, nullptr));
        AtspiAccessible *desktop = atspi_get_desktop(0);
        AtspiAccessible *app = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT((app = find(desktop, ATSPI_ROLE_APPLICATION, u"Олви"_s)), 10000);
        for (int i = 0; i < 6; ++i)
            QVERIFY(s.user->press("Tab"));
        QVERIFY(s.user->press("Return"));
        const std::optional<int> russian = OlviSession::russianGroup;
        QTRY_COMPARE_WITH_TIMEOUT(s.user->lockedGroup(), russian, 10000);

        // the caption is announced, the exercise text takes the focus with the
        // caret on its first character and the finger hint as its description
        QTRY_VERIFY_WITH_TIMEOUT(
            heard.contains(u"notification: Урок 1 · Домашний ряд · А и О — указательные"_s),
            10000);
        AtspiAccessible *lines = find(app, ATSPI_ROLE_TEXT, u"Текст упражнения"_s);
        QVERIFY(lines);
        QTRY_VERIFY(heard.contains(u"focus: Текст упражнения"_s));
        AtspiText *text = atspi_accessible_get_text_iface(lines);
        const auto caret = [text] { return atspi_text_get_caret_offset(text, nullptr); };
        const auto shown = [text] { return take(atspi_text_get_text(text, 0, -1, nullptr)); };
        QCOMPARE(caret(), 0);
        QVERIFY2(QRegularExpression(u"^[ао ]{100,135}$"_s).match(shown()).hasMatch(),
                 qPrintable(shown()));
        const QString first = shown().left(1);
        QCOMPARE(take(atspi_accessible_get_description(lines, nullptr)),
                 first == u"а" ? u"А — левый указательный"_s : u"О — правый указательный"_s);

        // a right key moves the caret; a wrong one is announced and leaves it
        QVERIFY(s.user->type(first));
        QTRY_VERIFY(heard.contains(u"text-caret-moved 1 0"_s));
        QCOMPARE(caret(), 1);
        // the mistake is charged to the letter under the caret; the other one
        // of the lesson's two stays clean
        const QString clean = shown().mid(1, 1) == u"а" ? u"о"_s : u"а"_s;
        QVERIFY(s.user->type(u"ж"_s));
        QTRY_COMPARE(heard.last(), u"notification: ошибка"_s);
        QCOMPARE(caret(), 1);

        // the rest typed by what the reader says is under the caret, to the result
        const auto result = [] { return heard.filter(u"notification: Упражнение"_s).value(0); };
        int keys = 1;
        for (; result().isEmpty() && keys < 400; ++keys) {
            const int at = caret();
            const qsizetype before = heard.size();
            const QString next = take(atspi_text_get_text(text, at, at + 1, nullptr));
            QVERIFY(s.user->type(next));
            QTRY_VERIFY2(heard.size() > before, qPrintable(u"«%1» at %2 unheard, after: "_s.arg(next)
                                                           .arg(at) + heard.mid(before - 3).join(u" | ")));
        }
        qInfo("heard: %s", qPrintable(heard.join(u" | "_s)));
        QVERIFY(heard.filter(u"text-changed:insert"_s).size() >= 2); // the lines moved on
        // one caret move at the start and one for every right key
        QCOMPARE(heard.filter(u"text-caret-moved"_s).size(), keys + 1);

        // the card's figures can be read, and the announcement said them
        const QString accuracy = FigureText::percent(keys / (keys + 1.0));
        const ProfileData after = *s.profile();
        QCOMPARE(after.days.value(2).chars, keys);
        QVERIFY2(result().contains(u"точность "_s + accuracy), qPrintable(result()));
        const QStringList figures = labels(app);
        QVERIFY2(figures.contains(accuracy + u" точность"_s), qPrintable(figures.join(u", "_s)));
        const QStringList others = figures.filter(u" зн/мин"_s) + figures.filter(u" упражнений"_s);
        QCOMPARE(others.size(), 2);
        for (const QString &figure : others)
            QVERIFY2(result().contains(
                         figure.section(u" зн/мин"_s, 0, 0).section(u" упражнений"_s, 0, 0)),
                     qPrintable(figure));

        // where the focus went with the card; the progress screen and the
        // editor, as the reader finds them
        const QString focused = heard.filter(u"focus: "_s).last();
        QVERIFY(s.user->pressChord("Control_L", "4"));
        AtspiAccessible *chart = nullptr;
        QTRY_VERIFY((chart = find(app, ATSPI_ROLE_CHART)));
        QStringList read{focused, said(chart)};
        for (const QString &name : {u"Скорость"_s, u"Точность"_s, u"Дней подряд"_s,
                                    u"За клавиатурой"_s, u"ф"_s, u"в"_s,
                                    u"Работа над ошибками: "_s + clean}) {
            // a key taught already is a button that drills it
            AtspiAccessible *label = find(
                app, name.contains(u':') ? ATSPI_ROLE_PUSH_BUTTON : ATSPI_ROLE_LABEL, name);
            read << said(label);
            if (label)
                g_object_unref(label);
        }
        QVERIFY(s.user->pressChord("Control_L", "3"));
        AtspiAccessible *editor = nullptr;
        QTRY_VERIFY((editor = find(app, ATSPI_ROLE_TEXT, u"Текст рукописи"_s)));
        AtspiStateSet *states = atspi_accessible_get_state_set(editor);
        read << u"editable %1, multi-line %2"_s
                    .arg(atspi_state_set_contains(states, ATSPI_STATE_EDITABLE))
                    .arg(atspi_state_set_contains(states, ATSPI_STATE_MULTI_LINE));
        g_object_unref(states);
        qInfo("read: %s", qPrintable(read.join(u" | "_s)));

        // what each shows, from what the learner did: 160 and 243 on the two
        // days before, today's speed after them; three days on end; an hour and some
        const double todays = after.days.value(2).bestSpeed;
        const auto whole = &FigureText::whole;
        const auto date = [&today](int back) {
            return QLocale(QLocale::Russian).toString(today.addDays(-back), u"d MMMM"_s);
        };
        const QString from = today.addDays(-2).month() == today.month()
                                 ? date(2).section(u' ', 0, 0) : date(2);
        const QString top = whole(std::max(243.0, todays));
        const auto exactly = [](const QString &t) { return QRegularExpression::escape(t); };
        const QStringList expected{
            exactly(u"focus: Дальше"_s),
            exactly(u"График скорости — Скорость за 3 дня занятий, с %1 по %2: от %3 до %4 "
                    "зн/мин, последняя %5"_s.arg(from, date(0), whole(std::min(160.0, todays)),
                                                 top, whole(todays))),
            exactly(u"Скорость — %1 зн/мин, +%2 за неделю"_s.arg(
                top, whole(std::max(243.0, todays) - 160))),
            u"Точность — \\d+(,\\d)? %, цель — не ниже 97 %"_s,
            exactly(u"Дней подряд — 3 дня, не прерывайте серию"_s),
            u"За клавиатурой — 1 час \\d+ минут[аы]?, с "_s + date(2),
            exactly(u"ф — ошибки часто"_s), exactly(u"в — ошибки редко"_s),
            exactly(u"Работа над ошибками: "_s + clean + u" — ошибок не замечено"_s),
            u"editable 1, multi-line 1"_s};
        QCOMPARE(read.size(), expected.size());
        for (qsizetype i = 0; i < read.size(); ++i)
            QVERIFY2(QRegularExpression(u'^' + expected[i] + u'$').match(read[i]).hasMatch(),
                     qPrintable(read[i]));

        // back on the card its first button has the focus again: Space goes on
        QVERIFY(s.user->pressChord("Control_L", "2"));
        QTRY_COMPARE(heard.count(u"focus: Дальше"_s), 2);
        QVERIFY(s.user->press("space"));
        QTRY_COMPARE(heard.filter(u"focus: Текст упражнения"_s).size(), 2);

        g_object_unref(editor);
        g_object_unref(chart);
        g_object_unref(text);
        g_object_unref(lines);
        g_object_unref(app);
        g_object_unref(desktop);
        g_object_unref(listener);
        QCOMPARE(s.closeAndWait(), 0);
        atspi_exit();
    }
};

QTEST_GUILESS_MAIN(TestScreenReader)
#include "test_screen_reader.moc"
