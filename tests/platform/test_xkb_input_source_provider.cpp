// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout_switcher.h"
#include "xkb_input_source_provider.h"
#include "xvfb_server.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Locking a group and noticing other clients' changes are checked through
// AppState in test_app_state_x11.
class TestXkbInputSourceProvider : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY2(m_server.start(), qPrintable(m_server.error())); }

    void listsTheConfiguredGroupsInOrder()
    {
        QVERIFY(m_server.setLayouts(u"us,ru"_s));
        XkbInputSourceProvider xkb(qPrintable(m_server.display()));
        QVERIFY(xkb.isConnected());
        const auto sources = xkb.enabledSources();
        QVERIFY(sources);
        QCOMPARE(sources->size(), 2);
        QCOMPARE(sources->at(0).identifier, u"English (US)"_s);
        QCOMPARE(sources->at(1).identifier, u"Russian"_s);
        QVERIFY(!sources->at(1).selectCapable.has_value());
    }

    void withoutARussianLayoutNothingChanges()
    {
        QVERIFY(m_server.setLayouts(u"us"_s));
        XkbInputSourceProvider xkb(qPrintable(m_server.display()));
        QCOMPARE(xkb.enabledSources()->size(), 1);
        LayoutSwitcher(xkb).enforceRussian();
        QCOMPARE(xkb.currentIndex(), std::optional<qsizetype>(0));
    }

    void noServerMeansNothingToList()
    {
        XkbInputSourceProvider xkb(":65000");
        QVERIFY(!xkb.isConnected());
        QVERIFY(!xkb.enabledSources().has_value());
        QVERIFY(!xkb.currentIndex().has_value());
        xkb.select(1); // must not crash
        LayoutSwitcher(xkb).enforceRussian();
    }

private:
    XvfbServer m_server;
};

QTEST_GUILESS_MAIN(TestXkbInputSourceProvider)
#include "test_xkb_input_source_provider.moc"
