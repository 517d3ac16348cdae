// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile_csv.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestProfileCsv : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oneRowPerDay_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("row");
        QTest::newRow("plain") << u"2026-12-06"_s << u"2026-12-06,1500,12,7.5,215.4"_s;
        // a date from a hostile file is never a formula, and stays one field
        QTest::newRow("formula") << u"=HYPERLINK(\"http://x\",\"a\")"_s
            << u"\"'=HYPERLINK(\"\"http://x\"\",\"\"a\"\")\",1500,12,7.5,215.4"_s;
        QTest::newRow("plus") << u"+1"_s << u"'+1,1500,12,7.5,215.4"_s;
        QTest::newRow("minus") << u"-1+1"_s << u"'-1+1,1500,12,7.5,215.4"_s;
        QTest::newRow("at") << u"@SUM(A1)"_s << u"'@SUM(A1),1500,12,7.5,215.4"_s;
        QTest::newRow("tab") << u"\t=1"_s << u"'\t=1,1500,12,7.5,215.4"_s;
        QTest::newRow("line break") << u"1\r\n=2"_s << u"\"1\r\n=2\",1500,12,7.5,215.4"_s;
    }

    void oneRowPerDay()
    {
        QFETCH(QString, date);
        QFETCH(QString, row);
        const DayStat day{date, 1500, 12, 450.0, 215.42};
        const QByteArray table = ProfileCsv::days({day, day});

        // a byte order mark, the header, and the same row twice, each ended by CR LF
        const QString header = u"Дата,Знаков,Ошибок,Минут,Лучшая скорость (зн/мин)\r\n"_s;
        QCOMPARE(table, "\xEF\xBB\xBF" + (header + row + u"\r\n"_s + row + u"\r\n"_s).toUtf8());
    }
};

QTEST_APPLESS_MAIN(TestProfileCsv)
#include "test_profile_csv.moc"
