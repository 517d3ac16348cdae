// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A keystroke costs a bounded number of frames: its own, which shows the
// line first, the one that follows with the rest, and those of the short
// fades on one clock; then the screen falls idle. The fades' time is moved
// by hand. CTest runs this at scale factors 1 and 2.
#include "fade_clock.h"
#include "next_key.h"
#include "text_line_item.h"
#include "window_rig.h"

#include <QAnimationDriver>
#include <QQmlEngineExtensionPlugin>
#include <QTest>

Q_IMPORT_QML_PLUGIN(OlviPlugin)

using namespace Qt::StringLiterals;

namespace {

// Animation time that moves only when the test steps it.
class StepDriver final : public QAnimationDriver
{
public:
    void step(qint64 ms)
    {
        // Advancing a stopped driver would restart it behind Qt's
        // bookkeeping, and the next animation would take its first step
        // from the driver's whole past.
        if (!isRunning())
            return;
        m_now += ms;
        advance();
    }
    [[nodiscard]] qint64 elapsed() const override { return m_now; }

protected:
    // Qt counts from the driver's start.
    void start() override
    {
        m_now = 0;
        QAnimationDriver::start();
    }

private:
    qint64 m_now = 0;
};

const QString text = u"жук жаба ёж мёд лёд лось и ель вол у дома жук жаба ёж мёд лёд"_s;

} // namespace

class TestFrames : public QObject
{
    Q_OBJECT

    StepDriver m_time;

    // What each rendered frame showed: the caret's place on the line and the hint.
    struct Shown
    {
        QList<int> carets;
        QStringList hints;
        [[nodiscard]] qsizetype frames() const { return carets.size(); }
    };

    static void follow(WindowRig &w, Shown &shown)
    {
        QQuickItem *line = w.find(u"line0"_s);
        QQuickItem *hint = w.find(u"fingerHint"_s);
        QObject::connect(w.window, &QQuickWindow::afterRendering, w.window, [=, &shown] {
            const auto styles = line->property("styles").value<LineStyles>().styles;
            shown.carets << int(styles.indexOf(CharStyle::caret));
            shown.hints << hint->property("text").toString();
        });
    }

    // Steps the fades' clock through `ms`, a frame's worth at a time.
    void run(int ms)
    {
        // What was posted comes first: an animation starts a turn after it is started.
        QCoreApplication::processEvents();
        for (int t = 0; t < ms; t += 16) {
            m_time.step(16);
            for (int i = 0; i < 3; ++i)
                QCoreApplication::processEvents();
        }
    }

    // Steps the clock until the screen has rendered nothing for 200 ms of
    // it (other parts of the window may still move, the tab bar's highlight).
    void settle(const Shown &shown)
    {
        for (int quiet = 0, t = 0; quiet < 200 && t < 10000; t += 16) {
            const qsizetype before = shown.frames();
            run(16);
            quiet = shown.frames() == before ? quiet + 16 : 0;
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        qputenv("QT_QPA_UPDATE_IDLE_TIME", "0"); // as the app: a frame on the next turn
        m_time.install();
    }

    void aKeystrokeShowsItsLineFirstInBoundedFrames()
    {
        WindowRig w(withManuscript(text));
        QVERIFY(w.ready());
        w.rig.app->startManuscript();
        Shown shown;
        follow(w, shown);
        auto *fades = w.window->findChild<FadeClock *>();
        QVERIFY(fades);
        QQuickItem *flash = w.find(u"strikeFlash"_s);
        QVERIFY(flash && !flash->isVisible());

        // wrong keys (the accuracy changes, the struck key flashes) and right ones (all the
        // marks move) in turn, each after the screen fell idle
        for (int key = 0; key < 6; ++key) {
            settle(shown);
            QVERIFY(!fades->running());
            shown = {};
            const bool wrong = key % 2 == 0;
            const int caret = w.rig.engine().position();
            const QString hint = w.find(u"fingerHint"_s)->property("text").toString();
            w.type(wrong ? u"щ"_s : w.rig.engine().expected());
            QTRY_VERIFY(shown.frames() >= 1);
            QCOMPARE(flash->isVisible(), wrong);
            if (!wrong) {
                // the keystroke's own frame: the line, the hint of the key before
                QCOMPARE(std::pair(shown.carets.first(), shown.hints.first()),
                         std::pair(caret + 1, hint));
                QTRY_VERIFY(shown.hints.last() != hint); // then the rest
            }
            run(200);
            QVERIFY2(shown.frames() <= 10, qPrintable(u"%1 frames"_s.arg(shown.frames())));
        }
    }

    void aFastKeyIsNotHeldUpByTheFadesOfTheOneBefore()
    {
        WindowRig w(withManuscript(text));
        QVERIFY(w.ready());
        w.rig.app->startManuscript();
        Shown shown;
        follow(w, shown);
        const auto glows = [&w] {
            QList<qreal> opacities;
            for (QQuickItem *item : w.find(u"trainingKeys"_s)->childItems()) {
                if (item->objectName() == u"nextKey")
                    opacities << item->opacity();
            }
            std::sort(opacities.begin(), opacities.end());
            return opacities;
        };
        settle(shown);

        // a key, and its fades under way when the next one comes 15 ms later
        w.type(w.rig.engine().expected());
        QTRY_COMPARE(shown.hints.last(), NextKey::of(w.rig.engine().expected()).hint());
        run(15);
        QVERIFY(glows().last() < 1.0);
        shown = {};
        w.type(w.rig.engine().expected());

        // its own frame shows its line; the rest follows at once, the fades of the key
        // before at their ends, and no frame of a fade comes after
        QTRY_VERIFY(shown.frames() >= 1);
        QCOMPARE(shown.carets.first(), w.rig.engine().position());
        QTRY_COMPARE(shown.hints.last(), NextKey::of(w.rig.engine().expected()).hint());
        QCOMPARE(glows(), (QList<qreal>{0.0, 1.0}));
        const qsizetype frames = shown.frames();
        run(200);
        QCOMPARE(shown.frames(), frames);
        QVERIFY(frames <= 3);

        // a wrong key 15 ms after a right one still flashes in full, and then fades
        w.type(w.rig.engine().expected());
        QTRY_COMPARE(shown.hints.last(), NextKey::of(w.rig.engine().expected()).hint());
        run(15);
        QQuickItem *flash = w.find(u"strikeFlash"_s);
        w.type(u"щ"_s);
        QTRY_COMPARE(flash->opacity(), 0.85);
        run(200);
        QVERIFY(!flash->isVisible());
    }
};

QTEST_MAIN(TestFrames)
#include "test_frames.moc"
