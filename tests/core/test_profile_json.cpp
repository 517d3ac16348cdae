// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile_json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <cmath>
#include <functional>
#include <optional>
#include <limits>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ProfileData)

namespace {

constexpr qint64 int64Max = std::numeric_limits<qint64>::max();
constexpr qint64 int64Min = std::numeric_limits<qint64>::min();

using Change = std::function<void(QJsonObject &)>;

// A document with every member, built with Qt's own JSON classes so that the
// test does not lean on the writer under test; the changes given, if any, are
// made to the top level, to key statistic "о" and to the first day.
QJsonObject fullObject(const Change &top = {}, const Change &keyStat = {}, const Change &day = {})
{
    QJsonObject stat{{u"attempts"_s, 96}, {u"errors"_s, 2}, {u"errEMA"_s, 0.03},
                     {u"latencyEMA"_s, 0.27}};
    QJsonObject first{{u"date"_s, u"2026-01-02"_s}, {u"chars"_s, 412}, {u"errors"_s, 9},
                      {u"seconds"_s, 171.4}, {u"bestSpeed"_s, 158.2}};
    if (keyStat)
        keyStat(stat);
    if (day)
        day(first);
    QJsonObject o{
        {u"keyStats"_s, QJsonObject{{u"о"_s, stat}}},
        {u"days"_s, QJsonArray{first}},
        {u"exercisesPassed"_s, QJsonObject{{u"1"_s, 3}}},
        {u"currentLessonID"_s, 2},
        {u"soundOn"_s, true},
        {u"appearance"_s, u"dark"_s},
        {u"manuscript"_s, u"Текст."_s},
        {u"manuscriptChunk"_s, 0},
        {u"physicalKeys"_s, true},
    };
    if (top)
        top(o);
    return o;
}

ProfileData fullProfile()
{
    ProfileData p;
    p.keyStats.insert(u"о"_s, KeyStat{96, 2, 0.03, 0.27});
    p.days.append(DayStat{u"2026-01-02"_s, 412, 9, 171.4, 158.2});
    p.exercisesPassed.insert(1, 3);
    p.currentLessonID = 2;
    p.soundOn = true;
    p.appearance = Appearance::dark;
    p.manuscript = u"Текст."_s;
    p.manuscriptChunk = 0;
    p.physicalKeys = true;
    return p;
}

QByteArray compact(const QJsonObject &o)
{
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

// The full document with changes made to it, as for fullObject().
QByteArray changed(const Change &top, const Change &keyStat = {}, const Change &day = {})
{
    return compact(fullObject(top, keyStat, day));
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

} // namespace

class TestProfileJson : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newProfileFile()
    {
        // only the required members, human-readable
        const QByteArray text = ProfileJson::encode(ProfileData());
        QCOMPARE(text, QByteArray("{\n"
                                  "    \"currentLessonID\": 1,\n"
                                  "    \"days\": [],\n"
                                  "    \"exercisesPassed\": {},\n"
                                  "    \"keyStats\": {},\n"
                                  "    \"soundOn\": true\n"
                                  "}\n"));
        QCOMPARE(ProfileJson::decode(text), ProfileData());
    }

    void roundTripOfARichProfile()
    {
        // awkward texts, extreme doubles and 64-bit counts
        ProfileData p;
        p.keyStats.insert(u"ж"_s, KeyStat{int64Max, int64Max - 1, 0.1 + 0.2, 1.0 / 3.0});
        p.keyStats.insert(u"ё"_s, KeyStat{(qint64(1) << 53) + 1, 0, 1e-300, 5e-324});
        p.keyStats.insert(u"\""_s, KeyStat{5, 1, std::numeric_limits<double>::max(), 0.27});
        p.keyStats.insert(u"\\"_s, KeyStat{7, 7, 1.0, 4.999999999999999});
        p.keyStats.insert(u" "_s, KeyStat{1, 0, 0.0, 0.0});
        p.keyStats.insert(u"👍🏽"_s, KeyStat{1, 0, 0.15, 0.3});
        p.days.append(DayStat{u"2025-12-31"_s, int64Min, -1, 1e300, 123456.789});
        p.days.append(DayStat{u"2026-01-01"_s, 0, 0, 0.0, 0.0});
        p.days.append(DayStat{u"2026-01-02"_s, 412, 9, 171.4, 1e20});
        p.exercisesPassed = {{-1, 1}, {2, 3}, {10, int64Max}, {int64Max, 0}};
        p.currentLessonID = int64Min;
        p.soundOn = false;
        p.appearance = Appearance::light;
        p.manuscript = u"«Ёлка», сказал он, — \"да\"\nи\tвсё\r\n\\ / \u0001 конец"_s;
        p.manuscriptChunk = int64Max;
        // members of a later version, at the ends and between known ones
        p.extraMembers = {{u"Ёж"_s, "[\n        1,\n        \"ж\"\n    ]"},
                          {u"daysGoal"_s, "{\"weekly\": 5e0}"},
                          {u"a"_s, "null"}};
        p.keyStats[u"ж"_s].extraMembers = {{u"b"_s, "true"}, {u"z"_s, "\"\""}};
        // nothing is lost and writing again gives the same bytes
        const QByteArray text = ProfileJson::encode(p);
        const std::optional<ProfileData> back = ProfileJson::decode(text);
        QVERIFY(back);
        QCOMPARE(*back, p);
        QCOMPARE(ProfileJson::encode(*back), text);
        QVERIFY(text.contains("\"ж\": {")); // keys stay readable characters
        QVERIFY(text.contains("0.30000000000000004"));
        QVERIFY(text.contains("9223372036854775807"));
        QVERIFY(text.indexOf("\"days\"") < text.indexOf("\"daysGoal\": {\"weekly\": 5e0}"));
        QVERIFY(text.indexOf("\"daysGoal\"") < text.indexOf("\"exercisesPassed\""));

        for (Appearance a : allAppearances()) {
            p.appearance = a;
            QCOMPARE(ProfileJson::decode(ProfileJson::encode(p))->appearance, a);
        }
    }

    void keysAreSortedAndIndented()
    {
        // given more than one entry at every level, Qt's own writer sorts keys the same way
        ProfileData p = fullProfile();
        p.keyStats.insert(u","_s, KeyStat{5, 0, 0.5, 0.25});
        p.keyStats[u","_s].extraMembers.insert(u"errorsToday"_s, "1");
        p.exercisesPassed = {{2, 1}, {10, 1}};
        p.extraMembers.insert(u"version"_s, "7");
        QJsonObject o = fullObject();
        o[u"version"_s] = 7;
        QJsonObject keys = o[u"keyStats"_s].toObject();
        keys[u","_s] = QJsonObject{{u"attempts"_s, 5}, {u"errors"_s, 0}, {u"errEMA"_s, 0.5},
                                   {u"latencyEMA"_s, 0.25}, {u"errorsToday"_s, 1}};
        o[u"keyStats"_s] = keys;
        o[u"exercisesPassed"_s] = QJsonObject{{u"2"_s, 1}, {u"10"_s, 1}};
        QCOMPARE(ProfileJson::encode(p), QJsonDocument(o).toJson(QJsonDocument::Indented));
    }

    void nonFiniteNumbersAreNotWritten()
    {
        ProfileData p;
        p.days.append(DayStat{u"2026-01-02"_s, 1, 0, std::nan(""), 1.0});
        QVERIFY(ProfileJson::encode(p).isEmpty());
        p.days.clear();
        p.keyStats.insert(u"а"_s, KeyStat{1, 0, 0.0, std::numeric_limits<double>::infinity()});
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

        QTest::newRow("compact, as Qt writes it") << compact(fullObject()) << full;
        QTest::newRow("any order and white space")
            << QByteArray(" \r\n\t{ \"soundOn\" :true , \"manuscriptChunk\":0,"
                          "\"manuscript\":\"Текст.\",\n\n\"keyStats\":{\"о\":{\"latencyEMA\":0.27,"
                          "\"errEMA\":0.03,\"errors\":2,\"attempts\":96}},\"exercisesPassed\":"
                          "{\"1\":3},\"days\":[{\"seconds\":171.4,\"errors\":9,\"date\":"
                          "\"2026-01-02\",\"chars\":412,\"bestSpeed\":158.2}],"
                          "\"currentLessonID\":2,\"physicalKeys\":true,\"appearance\":\"dark\"}\n\n")
            << full;
        QTest::newRow("unknown members at every level") << changed(
            [](QJsonObject &o) {
                o[u"version"_s] = 7;
                o[u"extra"_s] = QJsonObject{{u"nested"_s, QJsonArray{1, u"x"_s, QJsonValue()}}};
            },
            [](QJsonObject &k) { k[u"future"_s] = true; },
            [](QJsonObject &d) { d[u"weekday"_s] = u"пт"_s; }) << with([](ProfileData &p) {
            p.extraMembers = {{u"extra"_s, "{\"nested\":[1,\"x\",null]}"}, {u"version"_s, "7"}};
            p.keyStats[u"о"_s].extraMembers = {{u"future"_s, "true"}};
        });
        QTest::newRow("UTF-8 byte order mark") << "\xEF\xBB\xBF" + compact(fullObject()) << full;
        QTest::newRow("null optional members") << changed([](QJsonObject &o) {
            for (const QString &key : {u"appearance"_s, u"manuscript"_s, u"manuscriptChunk"_s})
                o[key] = QJsonValue();
        }) << with([](ProfileData &p) {
            p.appearance.reset();
            p.manuscript.reset();
            p.manuscriptChunk.reset();
        });
        QTest::newRow("escapes")
            << replaced("\"Текст.\"", "\"a\\/b \\\"q\\\" \\\\ \\u0436\\n\\ud83d\\ude00\"")
            << with([](ProfileData &p) { p.manuscript = u"a/b \"q\" \\ ж\n😀"_s; });
        QTest::newRow("escaped key") << replaced("\"о\"", "\"\\u043e\"") << full;
        QTest::newRow("whole numbers in double fields")
            << replaced("\"seconds\":171.4", "\"seconds\":12")
            << with([](ProfileData &p) { p.days[0].seconds = 12.0; });
        for (const char *n : {"4.12e2", "412.000", "41200E-2"}) {
            QTest::addRow("integer %s", n)
                << replaced("\"chars\":412", QByteArray("\"chars\":") + n) << full;
        }
        QTest::newRow("64-bit limits exactly")
            << replaced("\"currentLessonID\":2", "\"currentLessonID\":-9223372036854775808")
            << with([](ProfileData &p) { p.currentLessonID = int64Min; });
        QTest::newRow("integer with a million zeros and a larger exponent")
            << replaced("\"chars\":412", "\"chars\":412" + QByteArray(1'000'001, '0') + "e-1000001")
            << full;
        QTest::newRow("double too small for a double")
            << replaced("\"seconds\":171.4", "\"seconds\":1e-400")
            << with([](ProfileData &p) { p.days[0].seconds = 0.0; });
        QTest::newRow("beyond 2^53 with a fraction, exactly")
            << replaced("\"chars\":412", "\"chars\":9007199254740993.0")
            << with([](ProfileData &p) { p.days[0].chars = (qint64(1) << 53) + 1; });
        QTest::newRow("lesson ids as decimal keys")
            << replaced("{\"1\":3}", "{\"2\":1,\"10\":4,\"-3\":0}")
            << with([](ProfileData &p) { p.exercisesPassed = {{2, 1}, {10, 4}, {-3, 0}}; });
        QByteArray padded = compact(fullObject());
        padded.append(ProfileJson::maxDocumentSize - padded.size(), '\n');
        QTest::newRow("exactly at the size limit") << padded << full;
        QTest::newRow("required members only")
            << QByteArray("{\"keyStats\":{},\"days\":[],\"exercisesPassed\":{},"
                          "\"currentLessonID\":1,\"soundOn\":false}")
            << [] {
                   ProfileData p;
                   p.soundOn = false;
                   return p;
               }();
    }

    void acceptedDocuments()
    {
        QFETCH(QByteArray, document);
        QFETCH(ProfileData, expected);
        const std::optional<ProfileData> profile = ProfileJson::decode(document);
        QVERIFY(profile);
        QCOMPARE(*profile, expected);
    }

    void rejectedDocuments_data()
    {
        QTest::addColumn<QByteArray>("document");

        // the full document itself is fine; every row breaks exactly one thing
        QVERIFY(ProfileJson::decode(compact(fullObject())));

        // member `key` of the top level, of key statistic "о" or of the first day
        enum Where { top, keyStat, day };
        const auto edit = [](Where where, const QString &key, std::optional<QJsonValue> value) {
            const Change apply = [&](QJsonObject &m) {
                value ? void(m[key] = *value) : m.remove(key);
            };
            const auto at = [&](Where w) { return where == w ? apply : Change(); };
            return changed(at(top), at(keyStat), at(day));
        };
        const auto value = [](const QJsonValue &v) {
            return QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
        };
        const QList<std::pair<Where, QStringList>> required = {
            {top, {"keyStats", "days", "exercisesPassed", "currentLessonID", "soundOn"}},
            {keyStat, {"attempts", "errors", "errEMA", "latencyEMA"}},
            {day, {"date", "chars", "errors", "seconds", "bestSpeed"}}};
        for (const auto &[where, keys] : required) {
            for (const QString &key : keys)
                QTest::addRow("%d without %s", where, qPrintable(key)) << edit(where, key, {});
        }
        const QList<std::tuple<Where, QString, QJsonValue>> wrongType = {
            {top, u"keyStats"_s, QJsonArray()},        {top, u"days"_s, QJsonObject()},
            {top, u"exercisesPassed"_s, QJsonArray()}, {top, u"currentLessonID"_s, u"2"_s},
            {top, u"currentLessonID"_s, QJsonValue()}, {top, u"currentLessonID"_s, 2.5},
            {top, u"soundOn"_s, 1},                    {top, u"soundOn"_s, u"true"_s},
            {top, u"appearance"_s, 1},                 {top, u"appearance"_s, u"sepia"_s},
            {top, u"appearance"_s, u"Dark"_s},         {top, u"manuscript"_s, 5},
            {top, u"manuscript"_s, QJsonArray{u"a"_s}}, {top, u"manuscriptChunk"_s, u"0"_s},
            {top, u"manuscriptChunk"_s, 0.5},          {keyStat, u"attempts"_s, u"96"_s},
            {keyStat, u"attempts"_s, 1.5},             {keyStat, u"errors"_s, true},
            {keyStat, u"errEMA"_s, u"0.1"_s},          {keyStat, u"errEMA"_s, QJsonValue()},
            {keyStat, u"latencyEMA"_s, QJsonObject()}, {day, u"date"_s, 20260102},
            {day, u"chars"_s, 12.5},                   {day, u"chars"_s, u"412"_s},
            {day, u"errors"_s, false},                 {day, u"seconds"_s, u"1"_s},
            {day, u"bestSpeed"_s, QJsonValue()},       {top, u"physicalKeys"_s, 1},
        };
        for (const auto &[where, key, v] : wrongType) {
            QTest::addRow("%d %s holding %s", where, qPrintable(key), value(v).constData())
                    << edit(where, key, v);
        }

        QTest::newRow("key statistic not an object")
            << replaced("{\"attempts\"", "5,\"x\":{\"attempts\"");
        QTest::newRow("day not an object") << replaced("[{", "[7,{");
        QTest::newRow("pass count a string") << replaced("{\"1\":3}", "{\"1\":\"3\"}");
        QTest::newRow("pass count with a fraction") << replaced("{\"1\":3}", "{\"1\":3.5}");
        for (const char *key : {"x1", "1x", "", " 1", "1.0", "+1", "١", "99999999999999999999"}) {
            QTest::addRow("lesson id \"%s\"", key)
                    << replaced("{\"1\":3}", QByteArray("{\"") + key + "\":3}");
        }

        QTest::newRow("integer beyond 64 bits")
                << replaced("\"currentLessonID\":2", "\"currentLessonID\":9223372036854775808");
        QTest::newRow("integer beyond 64 bits by exponent")
                << replaced("\"chars\":412", "\"chars\":1e19");
        QTest::newRow("tiny fraction")
            << replaced("\"chars\":412", "\"chars\":412.0000000000000001");
        QTest::newRow("fraction by exponent") << replaced("\"chars\":412", "\"chars\":4125e-1");
        QTest::newRow("fraction with a million zeros and a larger exponent")
            << replaced("\"chars\":412",
                        "\"chars\":1" + QByteArray(1'000'009, '0') + "e-2000000");
        QTest::newRow("double out of range") << replaced("\"seconds\":171.4", "\"seconds\":1e400");

        const QByteArray good = compact(fullObject());
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("only white space") << QByteArray(" \n ");
        QTest::newRow("truncated") << good.left(good.size() / 2);
        QTest::newRow("last brace missing") << good.chopped(1);
        QTest::newRow("trailing garbage") << good + "x";
        QTest::newRow("two byte order marks") << "\xEF\xBB\xBF\xEF\xBB\xBF" + good;
        QTest::newRow("two documents") << good + good;
        QTest::newRow("trailing comma") << replaced("{\"1\":3}", "{\"1\":3,}");
        QTest::newRow("array at the top") << QByteArray("[" + good + "]");
        QTest::newRow("null document") << QByteArray("null");
        QTest::newRow("single quotes") << replaced("\"dark\"", "'dark'");
        QTest::newRow("NaN") << replaced("\"seconds\":171.4", "\"seconds\":NaN");
        QTest::newRow("leading zero") << replaced("\"chars\":412", "\"chars\":0412");
        QTest::newRow("bare fraction") << replaced("\"seconds\":171.4", "\"seconds\":.4");
        QTest::newRow("plus sign") << replaced("\"chars\":412", "\"chars\":+412");
        QTest::newRow("raw line break in a string") << replaced("Текст.", "Те\nкст.");
        QTest::newRow("unknown escape") << replaced("Текст.", "Те\\xкст.");
        QTest::newRow("short unicode escape") << replaced("Текст.", "\\u04");
        QTest::newRow("lone high surrogate") << replaced("Текст.", "\\ud83d.");
        QTest::newRow("lone low surrogate") << replaced("Текст.", "\\ude00");
        QTest::newRow("invalid UTF-8") << replaced("Текст.", "\xff\xfe");
        QTest::newRow("invalid UTF-8 in a key") << replaced("\"о\"", "\"\xd0\"");
        QTest::newRow("overlong UTF-8") << replaced("Текст.", "\xc0\xaf");
        QTest::newRow("UTF-8 surrogate") << replaced("Текст.", "\xed\xa0\x80");
        QTest::newRow("deep nesting") << QByteArray(100000, '[');
        QTest::newRow("deep nesting in an unknown member")
                << "{\"x\":" + QByteArray(200, '[') + QByteArray(200, ']') + "," + good.sliced(1);

        QByteArray manyValues = "{\"x\":[0";
        for (int i = 0; i < 250'000; ++i)
            manyValues += ",0";
        QTest::newRow("250 000 values in an unknown member") << manyValues + "]," + good.sliced(1);

        // a valid profile padded with white space past the size limit
        QByteArray huge = good;
        huge.append(17 * 1024 * 1024 - huge.size(), ' ');
        QTest::newRow("17 MiB") << huge;
    }

    void rejectedDocuments()
    {
        QFETCH(QByteArray, document);
        QVERIFY(!ProfileJson::decode(document));
    }
};

QTEST_GUILESS_MAIN(TestProfileJson)
#include "test_profile_json.moc"
