// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile_json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <functional>
#include <limits>
#include <optional>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ProfileData)

namespace {

using Change = std::function<void(QJsonObject &)>;
const Change none = [](QJsonObject &) {};

// A document with every member, built with Qt's own JSON classes so that the
// test does not lean on the writer under test; the changes given, if any, are
// made to the top level, to key statistic "о" and to the first day.
QJsonObject fullObject(const Change &top = none, const Change &keyStat = none,
                       const Change &day = none)
{
    QJsonObject stat{{u"attempts"_s, 96}, {u"errors"_s, 2}, {u"errEMA"_s, 0.03},
                     {u"latencyEMA"_s, 0.27}};
    QJsonObject first{{u"date"_s, u"2026-01-02"_s}, {u"chars"_s, 412}, {u"errors"_s, 9},
                      {u"seconds"_s, 171.4}, {u"bestSpeed"_s, 158.2}};
    keyStat(stat);
    day(first);
    QJsonObject o{{u"keyStats"_s, QJsonObject{{u"о"_s, stat}}}, {u"days"_s, QJsonArray{first}},
                  {u"exercisesPassed"_s, QJsonObject{{u"1"_s, 3}}}, {u"currentLessonID"_s, 2},
                  {u"soundOn"_s, true}, {u"appearance"_s, u"dark"_s},
                  {u"manuscript"_s, u"Текст."_s}, {u"manuscriptChunk"_s, 0},
                  {u"physicalKeys"_s, true}, {u"speechOn"_s, true}};
    top(o);
    return o;
}

// The profile fullObject() holds.
ProfileData fullProfile()
{
    return {.keyStats = {{u"о"_s, KeyStat{96, 2, 0.03, 0.27}}},
            .days = {DayStat{u"2026-01-02"_s, 412, 9, 171.4, 158.2}},
            .exercisesPassed = {{1, 3}},
            .currentLessonID = 2,
            .appearance = Appearance::dark,
            .manuscript = u"Текст."_s,
            .manuscriptChunk = 0,
            .physicalKeys = true,
            .speechOn = true};
}

QByteArray compact(const QJsonObject &o)
{
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

// The full document with the text `from` replaced once by `to`: for numbers
// and bytes Qt's classes cannot produce.
QByteArray replaced(QByteArrayView from, QByteArrayView to)
{
    QByteArray text = compact(fullObject());
    const qsizetype at = text.indexOf(from);
    if (at < 0)
        qFatal("test data: %s is not in the document", from.toByteArray().constData());
    return text.replace(at, from.size(), to.toByteArray());
}

// The full document with the first day's characters written as `number`.
QByteArray chars(const QByteArray &number)
{
    return replaced("\"chars\":412", "\"chars\":" + number);
}

} // namespace

// The profile file. That whatever is read is written back unchanged is
// fuzz_profile's property, checked on its seed corpus of extreme values.
class TestProfileJson : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesKeysSortedAndIndentedAsQtDoes()
    {
        // more than one entry at every level, unknown members, an absent optional member
        ProfileData p = fullProfile();
        p.keyStats.insert(u","_s, KeyStat{5, 0, 0.5, 0.25, {{u"errorsToday"_s, "1"}}, u"01"_s});
        p.exercisesPassed = {{2, 1}, {10, 1}};
        p.extraMembers.insert(u"version"_s, "7");
        p.days[0].extraMembers.insert(u"corrections"_s, "3");
        p.manuscriptChunk.reset();
        const QJsonObject o = fullObject([](QJsonObject &o) {
            o[u"version"_s] = 7;
            o.remove(u"manuscriptChunk"_s);
            o[u"exercisesPassed"_s] = QJsonObject{{u"2"_s, 1}, {u"10"_s, 1}};
            QJsonObject keys = o[u"keyStats"_s].toObject();
            keys[u","_s] = QJsonObject{{u"attempts"_s, 5}, {u"errors"_s, 0}, {u"errEMA"_s, 0.5},
                                       {u"latencyEMA"_s, 0.25}, {u"errorsToday"_s, 1},
                                       {u"recent"_s, u"01"_s}};
            o[u"keyStats"_s] = keys;
        }, none, [](QJsonObject &d) { d[u"corrections"_s] = 3; });
        QCOMPARE(ProfileJson::encode(p), QJsonDocument(o).toJson(QJsonDocument::Indented));

        // JSON has no infinity: such a profile is not written at all
        p.days[0].seconds = std::numeric_limits<double>::infinity();
        QVERIFY(ProfileJson::encode(p).isEmpty());
    }

    void acceptedDocuments_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<ProfileData>("expected");
        const ProfileData full = fullProfile();
        // the full profile with one change made to it
        const auto with = [&full](const std::function<void(ProfileData &)> &change) {
            ProfileData p = full;
            change(p);
            return p;
        };

        QByteArray spaced = compact(fullObject());
        spaced.replace(",", " ,\n\t").replace(":", " : ");
        QTest::newRow("white space") << " \r\n\t" + spaced << full;
        QTest::newRow("unknown members at every level") << compact(fullObject(
            [](QJsonObject &o) {
                o[u"version"_s] = 7;
                o[u"extra"_s] = QJsonObject{{u"nested"_s, QJsonArray{1, u"x"_s, QJsonValue()}}};
            },
            [](QJsonObject &k) { k[u"future"_s] = true; },
            [](QJsonObject &d) { d[u"weekday"_s] = u"пт"_s; })) << with([](ProfileData &p) {
            p.extraMembers = {{u"extra"_s, "{\"nested\":[1,\"x\",null]}"}, {u"version"_s, "7"}};
            p.keyStats[u"о"_s].extraMembers = {{u"future"_s, "true"}};
            p.days[0].extraMembers = {{u"weekday"_s, "\"пт\""}};
        });
        QTest::newRow("recent outcomes")
            << compact(fullObject(none, [](QJsonObject &k) { k[u"recent"_s] = u"0010"_s; }))
            << with([](ProfileData &p) { p.keyStats[u"о"_s].recent = u"0010"_s; });
        QTest::newRow("the day a key was last typed")
            << compact(fullObject(none, [](QJsonObject &k) { k[u"lastDay"_s] = u"2026-12-05"_s; }))
            << with([](ProfileData &p) { p.keyStats[u"о"_s].lastDay = u"2026-12-05"_s; });
        QTest::newRow("UTF-8 byte order mark") << "\xEF\xBB\xBF" + compact(fullObject()) << full;
        QTest::newRow("null optional members") << compact(fullObject([](QJsonObject &o) {
            for (const QString &key :
                 {u"appearance"_s, u"manuscript"_s, u"manuscriptChunk"_s, u"physicalKeys"_s,
                  u"speechOn"_s})
                o[key] = QJsonValue();
        })) << ProfileData{.keyStats = full.keyStats, .days = full.days,
                           .exercisesPassed = full.exercisesPassed, .currentLessonID = 2,
                           .appearance = {}, .manuscript = {}, .manuscriptChunk = {}};
        QTest::newRow("escapes")
            << replaced("\"Текст.\"", "\"a\\/b \\\"q\\\" \\\\ \\u0436\\n\\ud83d\\ude00\"")
            << with([](ProfileData &p) { p.manuscript = u"a/b \"q\" \\ ж\n😀"_s; });
        for (const char *n : {"4.12e2", "412.000", "41200E-2"})
            QTest::addRow("integer %s", n) << chars(n) << full;
        QTest::newRow("64-bit limits exactly")
            << replaced("\"currentLessonID\":2", "\"currentLessonID\":-9223372036854775808")
            << with([](ProfileData &p) { p.currentLessonID = std::numeric_limits<qint64>::min(); });
        QTest::newRow("integer with a million zeros and a larger exponent")
            << chars("412" + QByteArray(1'000'001, '0') + "e-1000001") << full;
        QTest::newRow("double too small for a double")
            << replaced("\"seconds\":171.4", "\"seconds\":1e-400")
            << with([](ProfileData &p) { p.days[0].seconds = 0.0; });
        QTest::newRow("beyond 2^53 with a fraction, exactly")
            << chars("9007199254740993.0")
            << with([](ProfileData &p) { p.days[0].chars = (qint64(1) << 53) + 1; });
        QTest::newRow("lesson ids as decimal keys")
            << replaced("{\"1\":3}", "{\"2\":1,\"10\":4,\"-3\":0}")
            << with([](ProfileData &p) { p.exercisesPassed = {{2, 1}, {10, 4}, {-3, 0}}; });
        QByteArray padded = compact(fullObject());
        padded.append(ProfileJson::maxDocumentSize - padded.size(), '\n');
        QTest::newRow("exactly at the size limit") << padded << full;
    }

    void acceptedDocuments()
    {
        QFETCH(QByteArray, document);
        QFETCH(ProfileData, expected);
        QCOMPARE(ProfileJson::decode(document), std::optional(expected));
    }

    void rejectedDocuments_data()
    {
        QTest::addColumn<QByteArray>("document");

        // the full document itself is accepted; every row breaks exactly one thing
        // member `key` of the top level, of key statistic "о" or of the first day
        enum Where { top, keyStat, day };
        const auto edit = [](Where where, const QString &key, std::optional<QJsonValue> value) {
            const Change apply = [&](QJsonObject &m) {
                value ? void(m[key] = *value) : m.remove(key);
            };
            const auto at = [&](Where w) { return where == w ? apply : none; };
            return compact(fullObject(at(top), at(keyStat), at(day)));
        };
        const QList<std::pair<Where, QStringList>> required = {
            {top, {"keyStats", "days", "exercisesPassed", "currentLessonID", "soundOn"}},
            {keyStat, {"attempts", "errors", "errEMA", "latencyEMA"}},
            {day, {"date", "chars", "errors", "seconds", "bestSpeed"}}};
        for (const auto &[where, keys] : required) {
            for (const QString &key : keys)
                QTest::addRow("%d without %s", where, qPrintable(key)) << edit(where, key, {});
        }
        // of each reader one value of the wrong kind, and of each whole-number field a fraction
        const QList<std::tuple<Where, QString, QJsonValue>> wrongType = {
            {top, u"keyStats"_s, QJsonArray()},        {top, u"days"_s, QJsonObject()},
            {top, u"exercisesPassed"_s, QJsonArray()}, {top, u"currentLessonID"_s, u"2"_s},
            {top, u"currentLessonID"_s, 2.5},          {top, u"soundOn"_s, 1},
            {top, u"appearance"_s, 1},                 {top, u"appearance"_s, u"sepia"_s},
            {top, u"manuscript"_s, 5},                 {top, u"manuscriptChunk"_s, u"0"_s},
            {top, u"manuscriptChunk"_s, 0.5},          {keyStat, u"attempts"_s, 1.5},
            {keyStat, u"errors"_s, 0.5},               {keyStat, u"errEMA"_s, u"0.1"_s},
            {keyStat, u"recent"_s, 10},                {keyStat, u"recent"_s, u"01x"_s},
            {keyStat, u"lastDay"_s, 20261205},         {keyStat, u"lastDay"_s, u"5 декабря"_s},
            {day, u"date"_s, 20260102},                {day, u"chars"_s, 12.5},
            {day, u"errors"_s, 1.5},                   {day, u"bestSpeed"_s, QJsonValue()},
            {top, u"physicalKeys"_s, 1},               {top, u"speechOn"_s, u"yes"_s},
        };
        for (const auto &[where, key, v] : wrongType) {
            const QByteArray json = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
            QTest::addRow("%d %s holding %s", where, qPrintable(key), json.constData())
                    << edit(where, key, v);
        }

        QTest::newRow("key statistic not an object")
            << replaced("{\"attempts\"", "5,\"x\":{\"attempts\"");
        QTest::newRow("day not an object") << replaced("[{", "[7,{");
        QTest::newRow("pass count a string") << replaced("{\"1\":3}", "{\"1\":\"3\"}");
        QTest::newRow("pass count with a fraction") << replaced("{\"1\":3}", "{\"1\":3.5}");
        for (const char *key : {"1x", "", "+1", "١", "99999999999999999999"}) {
            QTest::addRow("lesson id \"%s\"", key)
                    << replaced("{\"1\":3}", QByteArray("{\"") + key + "\":3}");
        }

        QTest::newRow("integer beyond 64 bits") << chars("9223372036854775808");
        QTest::newRow("integer beyond 64 bits by exponent") << chars("1e19");
        QTest::newRow("tiny fraction") << chars("412.0000000000000001");
        QTest::newRow("fraction by exponent") << chars("4125e-1");
        QTest::newRow("fraction with a million zeros and a larger exponent")
            << chars("1" + QByteArray(1'000'009, '0') + "e-2000000");
        QTest::newRow("double out of range") << replaced("\"seconds\":171.4", "\"seconds\":1e400");

        const QByteArray good = compact(fullObject());
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("last brace missing") << good.chopped(1);
        QTest::newRow("trailing garbage") << good + "x";
        QTest::newRow("two byte order marks") << "\xEF\xBB\xBF\xEF\xBB\xBF" + good;
        QTest::newRow("trailing comma") << replaced("{\"1\":3}", "{\"1\":3,}");
        QTest::newRow("array at the top") << QByteArray("[" + good + "]");
        QTest::newRow("NaN") << replaced("\"seconds\":171.4", "\"seconds\":NaN");
        QTest::newRow("leading zero") << chars("0412");
        QTest::newRow("raw line break in a string") << replaced("Текст.", "Те\nкст.");
        QTest::newRow("unknown escape") << replaced("Текст.", "Те\\xкст.");
        QTest::newRow("short unicode escape") << replaced("Текст.", "\\u04");
        QTest::newRow("lone high surrogate") << replaced("Текст.", "\\ud83d.");
        QTest::newRow("lone low surrogate") << replaced("Текст.", "\\ude00");
        QTest::newRow("invalid UTF-8") << replaced("Текст.", "\xff\xfe");
        QTest::newRow("nesting 65 deep")
                << "{\"x\":" + QByteArray(64, '[') + QByteArray(64, ']') + "," + good.sliced(1);

        QByteArray manyValues = "{\"x\":[0";
        for (int i = 0; i < 250'000; ++i)
            manyValues += ",0";
        QTest::newRow("250 000 values in an unknown member") << manyValues + "]," + good.sliced(1);

        // a valid profile padded with white space one byte past the size limit
        QTest::newRow("over the size limit")
                << good + QByteArray(ProfileJson::maxDocumentSize + 1 - good.size(), ' ');
    }

    void rejectedDocuments()
    {
        QFETCH(QByteArray, document);
        QVERIFY(!ProfileJson::decode(document));
    }
};

QTEST_GUILESS_MAIN(TestProfileJson)
#include "test_profile_json.moc"
