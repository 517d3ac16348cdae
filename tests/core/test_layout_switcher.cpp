// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fake_input_sources.h"
#include "layout_switcher.h"

#include <QTest>

using namespace Qt::StringLiterals;

using Sources = std::optional<QList<InputSource>>;
using Index = std::optional<qsizetype>;

class TestLayoutSwitcher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void russianTest_data()
    {
        QTest::addColumn<QString>("identifier");
        QTest::addColumn<bool>("russian");

        QTest::newRow("xkb name") << "Russian" << true;
        QTest::newRow("any case") << "rUsSiAn (phonetic)" << true;
        QTest::newRow("inside an id") << "com.apple.keylayout.Russian-PC" << true;
        QTest::newRow("latin") << "English (US)" << false;
        QTest::newRow("a code as the name is not enough") << "ru" << false;
        QTest::newRow("empty") << "" << false;
    }

    void russianTest()
    {
        QFETCH(QString, identifier);
        QTEST(LayoutSwitcher::isRussian(InputSource{identifier, {}}), "russian");
    }

    void enforceRussian_data()
    {
        QTest::addColumn<Sources>("sources");
        QTest::addColumn<Index>("current");
        QTest::addColumn<QList<qsizetype>>("selected");
        const auto src = [](const QString &id, std::optional<bool> selectable = std::nullopt) {
            return InputSource{id, selectable};
        };
        const InputSource us = src(u"English (US)"_s);
        const InputSource ru = src(u"Russian"_s);
        using Selected = QList<qsizetype>;

        QTest::newRow("already russian") << Sources({us, src(u"RUSSIAN (typewriter)"_s)})
                                         << Index(1) << Selected{};
        QTest::newRow("latin, one russian") << Sources({us, ru}) << Index(0) << Selected{1};
        QTest::newRow("latin, no russian") << Sources({us, src(u"German"_s)}) << Index(0)
                                           << Selected{};
        QTest::newRow("first russian wins")
            << Sources({us, src(u"Russian (phonetic)"_s), ru}) << Index(0) << Selected{1};
        QTest::newRow("unselectable russian passed over")
            << Sources({us, src(u"Russian"_s, false), src(u"Russian (typewriter)"_s, true)})
            << Index(0) << Selected{2};
        QTest::newRow("no current source") << Sources({us, ru}) << Index() << Selected{};
        QTest::newRow("current without identifier") << Sources({src(QString()), ru}) << Index(0)
                                                    << Selected{};
        QTest::newRow("list cannot be made") << Sources() << Index(0) << Selected{};
        QTest::newRow("nameless sources skipped") << Sources({us, src(QString()), ru}) << Index(0)
                                                  << Selected{2};
    }

    void enforceRussian()
    {
        FakeInputSources fake;
        QFETCH(Sources, sources);
        QFETCH(Index, current);
        fake.sources = sources;
        fake.current = current;
        LayoutSwitcher(fake).enforceRussian();
        QTEST(fake.selected, "selected");
    }
};

QTEST_GUILESS_MAIN(TestLayoutSwitcher)
#include "test_layout_switcher.moc"
