// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A keystroke costs a bounded number of frames: its own, and those of the
// short fade of the keys and the fingers, and then the screen falls idle.
#include "window_rig.h"

#include <QElapsedTimer>
#include <QQmlEngineExtensionPlugin>
#include <QTest>

Q_IMPORT_QML_PLUGIN(OlviPlugin)

using namespace Qt::StringLiterals;

class TestFrames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QQuickWindow::setGraphicsApi(QSGRendererInterface::Software); }

    void keystrokeFramesAreBounded()
    {
        const QString text = u"жук жаба ёж мёд лёд лось и ель вол у дома жук жаба ёж мёд лёд"_s;
        WindowRig w(withManuscript(text));
        QVERIFY(w.ready());
        w.rig.app->startManuscript();
        int frames = 0;
        QElapsedTimer sinceFrame;
        sinceFrame.start();
        QObject::connect(w.window, &QQuickWindow::afterRendering, w.window, [&] {
            ++frames;
            sinceFrame.restart();
        });
        // An idle screen renders nothing for longer than the fade lasts.
        const auto idle = [&] { return sinceFrame.elapsed() > 250; };

        // wrong keys (the accuracy changes, the struck key flashes) and right ones (all the
        // marks move) in turn
        QQuickItem *flash = w.find(u"strikeFlash"_s, w.find(u"key_щ"_s));
        QVERIFY(flash && !flash->isVisible());
        for (int key = 0; key < 6; ++key) {
            QTRY_VERIFY_WITH_TIMEOUT(idle(), 5000);
            frames = 0;
            const bool wrong = key % 2 == 0;
            w.type(wrong ? u"щ"_s : w.rig.engine().expected());
            QTRY_VERIFY(frames >= 1);
            QCOMPARE(flash->isVisible(), wrong);
            QTRY_VERIFY_WITH_TIMEOUT(idle(), 5000);
            QVERIFY2(frames <= 10, qPrintable(u"%1 frames"_s.arg(frames)));
        }
    }
};

QTEST_MAIN(TestFrames)
#include "test_frames.moc"
