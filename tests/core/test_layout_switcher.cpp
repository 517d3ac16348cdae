// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fake_input_sources.h"
#include "layout_switcher.h"

#include <QTest>

using namespace Qt::StringLiterals;

using Sources = std::optional<QList<InputSource>>;
using Index = std::optional<qsizetype>;
using Selected = QList<qsizetype>;

// Which layout is selected to keep the exercise Russian; a layout is Russian by
// its name here (by its code in test_session_bus).
class TestLayoutSwitcher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void enforceRussian_data()
    {
        QTest::addColumn<Sources>("sources");
        QTest::addColumn<Index>("current");
        QTest::addColumn<Selected>("selected");
        const auto src = [](const QString &id, std::optional<bool> selectable = std::nullopt) {
            return InputSource{id, selectable};
        };
        const InputSource us = src(u"English (US)"_s);
        const InputSource ru = src(u"Russian"_s);

        QTest::newRow("already russian, any case")
            << Sources({us, ru, src(u"rUsSiAn (typewriter)"_s)}) << Index(2) << Selected{};
        QTest::newRow("russian inside an id")
            << Sources({us, src(u"com.apple.keylayout.Russian-PC"_s)}) << Index(0) << Selected{1};
        QTest::newRow("no russian") << Sources({us, src(u"German"_s)}) << Index(0) << Selected{};
        QTest::newRow("first russian wins")
            << Sources({us, src(u"Russian (phonetic)"_s), ru}) << Index(0) << Selected{1};
        QTest::newRow("nameless, and a code for a name, are not russian")
            << Sources({us, src(QString()), src(u"ru"_s), ru}) << Index(0) << Selected{3};
        QTest::newRow("unselectable russian passed over")
            << Sources({us, src(u"Russian"_s, false), src(u"Russian (typewriter)"_s, true)})
            << Index(0) << Selected{2};
        QTest::newRow("no current source") << Sources({us, ru}) << Index() << Selected{};
        QTest::newRow("current without a name") << Sources({src(QString()), ru}) << Index(0)
                                                << Selected{};
        QTest::newRow("list cannot be made") << Sources() << Index(0) << Selected{};
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
