// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "characters.h"
#include "course.h"
#include "prose.h"
#include "russian_layout.h"
#include "words.h"

#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

// The course material: the letters its lessons teach and the built-in texts.
class TestCourse : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lessonsUnlockEveryLetterOnce()
    {
        const QStringList all = Course::unlockedLetters(28);
        QCOMPARE(all.size(), 33); // no mark, no letter twice
        QCOMPARE(QSet<QString>(all.cbegin(), all.cend()).size(), 33);
        for (const QString &letter : all)
            QVERIFY2(Characters::isCyrillic(letter) && !Characters::isUpper(letter),
                     qPrintable(letter));
    }

    void everyBuiltInTextCanBeTyped()
    {
        QStringList texts = Words::common() + Words::properNames() + Words::yoWords();
        for (const Excerpt &e : Prose::excerpts())
            texts << e.text;
        for (const QString &text : std::as_const(texts)) {
            for (const QString &c : Characters::split(text))
                QVERIFY2(RussianLayout::canType(c), qPrintable(u"'%1' in %2"_s.arg(c, text)));
        }
    }
};

QTEST_GUILESS_MAIN(TestCourse)
#include "test_course.moc"
