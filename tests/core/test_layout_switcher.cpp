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

    void theLearnersLayoutIsRestoredOnlyWhileOlvisStands()
    {
        // the learner in German (2): Olvi selects Russian twice, the learner
        // having gone to English (0) at a result card in between
        FakeInputSources fake;
        fake.sources = QList<InputSource>{{u"English (US)"_s, {}}, {u"Russian"_s, {}},
                                          {u"German"_s, {}}};
        fake.current = 2;
        LayoutSwitcher switcher(fake);
        switcher.enforceRussian();
        fake.switchByUser(0);
        switcher.enforceRussian();
        switcher.enforceRussian(); // Russian already: nothing to remember
        switcher.restoreLearnerLayout();
        QCOMPARE(fake.selected, (Selected{1, 1, 0}));
        switcher.restoreLearnerLayout(); // once only
        QCOMPARE(fake.selected.size(), 3);

        // a layout the learner chose after Olvi's switch is theirs to keep
        fake.switchByUser(2);
        switcher.enforceRussian();
        fake.switchByUser(0);
        switcher.restoreLearnerLayout();
        QCOMPARE(fake.selected, (Selected{1, 1, 0, 1}));
    }
};

QTEST_GUILESS_MAIN(TestLayoutSwitcher)
#include "test_layout_switcher.moc"
