// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout_switcher.h"
#include "xkb_input_source_provider.h"
#include "xvfb_server.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class TestXkbInputSourceProvider : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void listsTheConfiguredGroupsInOrder();
    void enforceRussianLocksTheRussianGroupAndIsNoticed();
    void changesByOthersAreNoticed();
    void withoutARussianLayoutNothingChanges();
    void noServerMeansNothingToList();

private:
    XvfbServer m_server;
};

void TestXkbInputSourceProvider::initTestCase()
{
    QVERIFY2(m_server.start(), qPrintable(m_server.error()));
}

void TestXkbInputSourceProvider::listsTheConfiguredGroupsInOrder()
{
    QVERIFY(m_server.setLayouts(u"us,ru"_s));
    XkbInputSourceProvider xkb(qPrintable(m_server.display()));
    QVERIFY(xkb.isConnected());

    const auto sources = xkb.enabledSources();
    QVERIFY(sources.has_value());
    QCOMPARE(sources->size(), 2);
    QCOMPARE(sources->at(0).identifier, u"English (US)"_s);
    QCOMPARE(sources->at(1).identifier, u"Russian"_s);
    QVERIFY(!sources->at(1).selectCapable.has_value());
}

void TestXkbInputSourceProvider::enforceRussianLocksTheRussianGroupAndIsNoticed()
{
    // given us,ru with the Latin group locked
    QVERIFY(m_server.setLayouts(u"us,ru"_s));
    XkbInputSourceProvider xkb(qPrintable(m_server.display()));
    xkb.select(0);
    QTRY_COMPARE(xkb.currentIndex(), std::optional<qsizetype>(0));
    QSignalSpy changed(&xkb, &InputSourceProvider::currentSourceChanged);

    // when the switcher enforces Russian
    LayoutSwitcher switcher(xkb);
    switcher.enforceRussian();

    // then the Russian group is locked and the change was announced
    QTRY_COMPARE(xkb.currentIndex(), std::optional<qsizetype>(1));
    QTRY_VERIFY(changed.size() >= 1);

}

void TestXkbInputSourceProvider::changesByOthersAreNoticed()
{
    QVERIFY(m_server.setLayouts(u"us,ru"_s));
    XkbInputSourceProvider watcher(qPrintable(m_server.display()));
    XkbInputSourceProvider other(qPrintable(m_server.display()));
    other.select(1);
    QTRY_COMPARE(watcher.currentIndex(), std::optional<qsizetype>(1));
    QSignalSpy changed(&watcher, &InputSourceProvider::currentSourceChanged);

    // when another client locks the Latin group
    other.select(0);

    // then the watcher hears of it on its event loop
    QTRY_VERIFY(changed.size() >= 1);
    QCOMPARE(watcher.currentIndex(), std::optional<qsizetype>(0));
}

void TestXkbInputSourceProvider::withoutARussianLayoutNothingChanges()
{
    QVERIFY(m_server.setLayouts(u"us"_s));
    XkbInputSourceProvider xkb(qPrintable(m_server.display()));
    QCOMPARE(xkb.enabledSources()->size(), 1);

    LayoutSwitcher(xkb).enforceRussian();

    QCOMPARE(xkb.currentIndex(), std::optional<qsizetype>(0));
}

void TestXkbInputSourceProvider::noServerMeansNothingToList()
{
    XkbInputSourceProvider xkb(":65000");
    QVERIFY(!xkb.isConnected());
    QVERIFY(!xkb.enabledSources().has_value());
    QVERIFY(!xkb.currentIndex().has_value());
    xkb.select(1); // must not crash
    LayoutSwitcher(xkb).enforceRussian();
}

QTEST_GUILESS_MAIN(TestXkbInputSourceProvider)
#include "test_xkb_input_source_provider.moc"
