// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile_json.h"

#include <QStringDecoder>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>
#include <vector>

namespace {

// ---------------------------------------------------------------- reading

// One parsed JSON value. A number keeps its text (a view into the document)
// until a field decides whether it wants an integer or a double.
struct Value
{
    enum class Kind { null, boolean, number, string, array, object };

    Kind kind = Kind::null;
    QByteArrayView raw; // the value's whole text in the document, kept for unknown members
    bool boolean = false;
    QByteArrayView number;
    QString string;
    std::vector<QString> keys;   // object member keys, parallel to `elements`
    std::vector<Value> elements; // array items or object member values

    // The member with this key; the last one when a key repeats, as most
    // readers do.
    [[nodiscard]] const Value *member(QStringView key) const
    {
        for (auto i = keys.size(); i > 0; --i) {
            if (keys[i - 1] == key)
                return &elements[i - 1];
        }
        return nullptr;
    }
};

// A recursive-descent reader of RFC 8259 JSON. It fails rather than guesses.
class Parser
{
public:
    explicit Parser(QByteArrayView text) : m_text(text) {}

    [[nodiscard]] std::optional<Value> document()
    {
        Value root;
        skipSpace();
        if (!parseValue(root, 0))
            return std::nullopt;
        skipSpace();
        if (m_pos != m_text.size())
            return std::nullopt;
        return root;
    }

private:
    // A profile nests three deep; the bound keeps hostile input from
    // exhausting the stack, and leaves room for unknown members of a later
    // version.
    static constexpr int maxDepth = 64;
    // A full profile holds some 4 000 values. The bound keeps a hostile 16 MiB
    // file (millions of tiny values) from costing gigabytes of memory.
    static constexpr qsizetype maxValues = 250'000;

    [[nodiscard]] bool atEnd() const { return m_pos >= m_text.size(); }
    [[nodiscard]] char peek() const { return atEnd() ? '\0' : m_text[m_pos]; }
    [[nodiscard]] bool peekDigit() const { return peek() >= '0' && peek() <= '9'; }

    bool consume(char c)
    {
        if (peek() != c || atEnd())
            return false;
        ++m_pos;
        return true;
    }

    void skipSpace()
    {
        while (!atEnd()) {
            const char c = m_text[m_pos];
            if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
                return;
            ++m_pos;
        }
    }

    bool literal(QByteArrayView word)
    {
        if (m_text.sliced(m_pos).startsWith(word)) {
            m_pos += word.size();
            return true;
        }
        return false;
    }

    bool parseValue(Value &out, int depth)
    {
        const qsizetype start = m_pos;
        if (!parseBareValue(out, depth))
            return false;
        out.raw = m_text.sliced(start, m_pos - start);
        return true;
    }

    bool parseBareValue(Value &out, int depth)
    {
        if (++m_values > maxValues)
            return false;
        switch (peek()) {
        case '{': return parseObject(out, depth + 1);
        case '[': return parseArray(out, depth + 1);
        case '"': out.kind = Value::Kind::string; return parseString(out.string);
        case 't': out.kind = Value::Kind::boolean; out.boolean = true; return literal("true");
        case 'f': out.kind = Value::Kind::boolean; return literal("false");
        case 'n': out.kind = Value::Kind::null; return literal("null");
        default: return parseNumber(out);
        }
    }

    bool parseObject(Value &out, int depth)
    {
        if (depth > maxDepth)
            return false;
        out.kind = Value::Kind::object;
        ++m_pos;
        skipSpace();
        if (consume('}'))
            return true;
        for (;;) {
            skipSpace();
            QString key;
            if (peek() != '"' || !parseString(key))
                return false;
            skipSpace();
            if (!consume(':'))
                return false;
            skipSpace();
            Value value;
            if (!parseValue(value, depth))
                return false;
            out.keys.push_back(std::move(key));
            out.elements.push_back(std::move(value));
            skipSpace();
            if (consume(','))
                continue;
            return consume('}');
        }
    }

    bool parseArray(Value &out, int depth)
    {
        if (depth > maxDepth)
            return false;
        out.kind = Value::Kind::array;
        ++m_pos;
        skipSpace();
        if (consume(']'))
            return true;
        for (;;) {
            skipSpace();
            Value value;
            if (!parseValue(value, depth))
                return false;
            out.elements.push_back(std::move(value));
            skipSpace();
            if (consume(','))
                continue;
            return consume(']');
        }
    }

    // Appends the raw bytes [from, to) as UTF-8, failing on malformed UTF-8
    // (overlong forms and encoded surrogates included).
    bool appendUtf8(QString &out, qsizetype from, qsizetype to)
    {
        if (from == to)
            return true;
        // A byte order mark inside a string is text, not a marker to drop.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless
                                                        | QStringDecoder::Flag::ConvertInitialBom);
        out += decoder.decode(m_text.sliced(from, to - from));
        return !decoder.hasError();
    }

    bool parseHex4(char16_t &unit)
    {
        if (m_text.size() - m_pos < 4)
            return false;
        unit = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = m_text[m_pos++];
            int digit = 0;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            else
                return false;
            unit = char16_t(unit * 16 + digit);
        }
        return true;
    }

    bool parseEscape(QString &out)
    {
        if (atEnd())
            return false;
        switch (m_text[m_pos++]) {
        case '"': out += u'"'; return true;
        case '\\': out += u'\\'; return true;
        case '/': out += u'/'; return true;
        case 'b': out += u'\b'; return true;
        case 'f': out += u'\f'; return true;
        case 'n': out += u'\n'; return true;
        case 'r': out += u'\r'; return true;
        case 't': out += u'\t'; return true;
        case 'u': break;
        default: return false;
        }
        char16_t unit = 0;
        if (!parseHex4(unit))
            return false;
        if (QChar::isLowSurrogate(unit))
            return false;
        if (QChar::isHighSurrogate(unit)) {
            // Only a whole surrogate pair makes a character.
            char16_t low = 0;
            if (!literal("\\u") || !parseHex4(low) || !QChar::isLowSurrogate(low))
                return false;
            out += QChar(unit);
            out += QChar(low);
            return true;
        }
        out += QChar(unit);
        return true;
    }

    bool parseString(QString &out)
    {
        ++m_pos; // the opening quote
        qsizetype runStart = m_pos;
        while (!atEnd()) {
            const auto c = static_cast<unsigned char>(m_text[m_pos]);
            if (c == '"') {
                if (!appendUtf8(out, runStart, m_pos))
                    return false;
                ++m_pos;
                return true;
            }
            if (c < 0x20)
                return false;
            if (c == '\\') {
                if (!appendUtf8(out, runStart, m_pos))
                    return false;
                ++m_pos;
                if (!parseEscape(out))
                    return false;
                runStart = m_pos;
                continue;
            }
            ++m_pos;
        }
        return false;
    }

    void skipDigits()
    {
        while (peekDigit())
            ++m_pos;
    }

    bool parseNumber(Value &out)
    {
        const qsizetype start = m_pos;
        consume('-');
        if (!peekDigit())
            return false;
        if (!consume('0'))
            skipDigits();
        if (consume('.')) {
            if (!peekDigit())
                return false;
            skipDigits();
        }
        if (peek() == 'e' || peek() == 'E') {
            ++m_pos;
            if (!consume('+'))
                consume('-');
            if (!peekDigit())
                return false;
            skipDigits();
        }
        out.kind = Value::Kind::number;
        out.number = m_text.sliced(start, m_pos - start);
        return true;
    }

    QByteArrayView m_text;
    qsizetype m_pos = 0;
    qsizetype m_values = 0;
};

// A JSON number token as its sign, its significant digits and the place of
// the decimal point: the value is 0.<digits> × 10^point. The digits start
// with a non-zero one; there are none for zero.
struct Decimal
{
    bool negative = false;
    QByteArray digits;
    qint64 point = 0;
};

Decimal decimal(QByteArrayView token)
{
    Decimal d;
    d.negative = token.startsWith('-');
    if (d.negative)
        token = token.sliced(1);
    const auto digitAt = [&token](qsizetype i) {
        return i < token.size() && token[i] >= '0' && token[i] <= '9';
    };

    qsizetype i = 0;
    while (digitAt(i))
        d.digits += token[i++];
    d.point = d.digits.size();
    if (i < token.size() && token[i] == '.') {
        ++i;
        while (digitAt(i))
            d.digits += token[i++];
    }
    if (i < token.size() && (token[i] == 'e' || token[i] == 'E')) {
        ++i;
        const bool negativeExponent = i < token.size() && token[i] == '-';
        if (i < token.size() && (token[i] == '-' || token[i] == '+'))
            ++i;
        // No text in memory holds 10^17 digits, so an exponent past that
        // moves the point beyond anything the digits could make up for: the
        // number is too large or a fraction either way. Growing no further
        // keeps the sum below from overflowing without changing any outcome.
        qint64 exponent = 0;
        for (; digitAt(i); ++i) {
            if (exponent < 100'000'000'000'000'000)
                exponent = exponent * 10 + (token[i] - '0');
        }
        d.point += negativeExponent ? -exponent : exponent;
    }

    qsizetype lead = 0;
    while (lead < d.digits.size() && d.digits[lead] == '0')
        ++lead;
    d.digits.remove(0, lead);
    d.point = d.digits.isEmpty() ? 0 : d.point - lead;
    return d;
}

// The exact value of a JSON number token if it is a whole number in the
// 64-bit range, judged on its decimal digits so that nothing is rounded.
std::optional<qint64> wholeNumber(QByteArrayView token)
{
    const Decimal d = decimal(token);
    if (d.digits.isEmpty())
        return 0;
    if (d.point <= 0)
        return std::nullopt; // 0.xxx with a non-zero digit
    if (d.point > 19)
        return std::nullopt; // beyond 64 bits
    for (qsizetype k = d.point; k < d.digits.size(); ++k) {
        if (d.digits[k] != '0')
            return std::nullopt; // a fraction
    }
    QByteArray whole = d.digits.left(d.point);
    whole.append(d.point - whole.size(), '0');
    if (d.negative)
        whole.prepend('-');

    qint64 value = 0;
    const auto [end, ec] = std::from_chars(whole.cbegin(), whole.cend(), value);
    if (ec != std::errc() || end != whole.cend())
        return std::nullopt;
    return value;
}

std::optional<double> finiteNumber(QByteArrayView token)
{
    double value = 0.0;
    const auto [end, ec] = std::from_chars(token.begin(), token.end(), value);
    if (end != token.end())
        return std::nullopt;
    if (ec == std::errc::result_out_of_range) {
        // Out of range is either too small for a double, which rounds to
        // zero, or too large, which has no value; the first has its decimal
        // point before its first digit, the second far after it.
        const Decimal d = decimal(token);
        if (d.point > 0)
            return std::nullopt;
        return d.negative ? -0.0 : 0.0;
    }
    if (ec != std::errc() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// A lesson id as a member key: optional minus sign and decimal digits only.
std::optional<qint64> lessonId(const QString &key)
{
    const QByteArray latin = key.toLatin1();
    if (latin.isEmpty() || latin.size() != key.size())
        return std::nullopt;
    for (qsizetype i = 0; i < latin.size(); ++i) {
        const char c = latin[i];
        if (!(c >= '0' && c <= '9') && !(c == '-' && i == 0))
            return std::nullopt;
    }
    qint64 id = 0;
    const auto [end, ec] = std::from_chars(latin.cbegin(), latin.cend(), id);
    if (ec != std::errc() || end != latin.cend())
        return std::nullopt;
    return id;
}

// ---------------------------------------------------------------- writing

// Emits indented JSON; the caller supplies members already in key order.
class Writer
{
public:
    bool ok = true;
    QByteArray out;

    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }

    void key(QStringView name)
    {
        item();
        string(name);
        out += ": ";
    }
    // Starts an array element.
    void item()
    {
        if (!m_first.back())
            out += ',';
        m_first.back() = false;
        newline();
    }

    void integer(qint64 value) { out += QByteArray::number(value); }
    // A value as JSON text, written as it is.
    void raw(QByteArrayView json) { out += json; }
    void boolean(bool value) { out += value ? "true" : "false"; }

    void number(double value)
    {
        if (!std::isfinite(value)) {
            ok = false;
            return;
        }
        // to_chars without a precision writes the shortest text that reads
        // back to exactly this double.
        char buffer[32];
        const auto result = std::to_chars(std::begin(buffer), std::end(buffer), value);
        out.append(buffer, result.ptr - buffer);
    }

    void string(QStringView text)
    {
        out += '"';
        const QByteArray utf8 = text.toUtf8();
        // Copy runs that need no escaping in one go: a manuscript is long.
        qsizetype run = 0;
        for (qsizetype i = 0; i < utf8.size(); ++i) {
            const auto c = static_cast<unsigned char>(utf8[i]);
            if (c >= 0x20 && c != '"' && c != '\\')
                continue;
            out.append(utf8.constData() + run, i - run);
            run = i + 1;
            switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            default: {
                static constexpr char hex[] = "0123456789abcdef";
                out += "\\u00";
                out += hex[c >> 4];
                out += hex[c & 0xf];
            }
            }
        }
        out.append(utf8.constData() + run, utf8.size() - run);
        out += '"';
    }

private:
    void open(char bracket)
    {
        out += bracket;
        m_first.push_back(true);
    }
    void close(char bracket)
    {
        const bool empty = m_first.back();
        m_first.pop_back();
        if (!empty)
            newline();
        out += bracket;
    }
    void newline()
    {
        out += '\n';
        out.append(qsizetype(m_first.size()) * 4, ' ');
    }

    std::vector<bool> m_first; // per open bracket: no member written yet
};

// Writes the unknown members of one object among the known ones, so that all
// stay in key order: before each known member, the unknown ones that sort
// before it. An unknown member named like a known one is never written twice:
// the known member wins.
class ExtraMembers
{
public:
    ExtraMembers(Writer &w, const QMap<QString, QByteArray> &members)
        : m_w(w), m_it(members.cbegin()), m_end(members.cend())
    {
    }

    void before(QStringView known)
    {
        for (; m_it != m_end && QStringView(m_it.key()) < known; ++m_it)
            write();
        if (m_it != m_end && m_it.key() == known)
            ++m_it;
    }

    void rest()
    {
        for (; m_it != m_end; ++m_it)
            write();
    }

private:
    void write()
    {
        m_w.key(m_it.key());
        m_w.raw(m_it.value());
    }

    Writer &m_w;
    QMap<QString, QByteArray>::const_iterator m_it;
    QMap<QString, QByteArray>::const_iterator m_end;
};

// ---------------------------------------------------------------- the schema

// A JSON value as the value of one field, and back. `from` fails on a value
// of the wrong type or out of the field's range.
struct AsWhole
{
    static bool from(const Value &v, qint64 &out)
    {
        const auto n = v.kind == Value::Kind::number ? wholeNumber(v.number) : std::nullopt;
        return n && (out = *n, true);
    }
    static void to(Writer &w, qint64 value) { w.integer(value); }
};

struct AsNumber
{
    static bool from(const Value &v, double &out)
    {
        const auto d = v.kind == Value::Kind::number ? finiteNumber(v.number) : std::nullopt;
        return d && (out = *d, true);
    }
    static void to(Writer &w, double value) { w.number(value); }
};

struct AsBool
{
    static bool from(const Value &v, bool &out)
    {
        return v.kind == Value::Kind::boolean && (out = v.boolean, true);
    }
    static void to(Writer &w, bool value) { w.boolean(value); }
};

struct AsText
{
    static bool from(const Value &v, QString &out)
    {
        return v.kind == Value::Kind::string && (out = v.string, true);
    }
    static void to(Writer &w, const QString &value) { w.string(value); }
};

// A key's last outcomes: "0" and "1" only.
struct AsOutcomes : AsText
{
    static bool from(const Value &v, QString &out)
    {
        return AsText::from(v, out) && std::all_of(out.cbegin(), out.cend(), [](QChar c) {
                   return c == u'0' || c == u'1';
               });
    }
};

// A day as "yyyy-MM-dd".
struct AsDayKey : AsText
{
    static bool from(const Value &v, QString &out)
    {
        return AsText::from(v, out) && dateForDayKey(out);
    }
};

struct AsAppearance
{
    static bool from(const Value &v, Appearance &out)
    {
        const auto a = v.kind == Value::Kind::string ? appearanceFromRaw(v.string) : std::nullopt;
        return a && (out = *a, true);
    }
    static void to(Writer &w, Appearance value) { w.string(appearanceRawValue(value)); }
};

// How one member of a record is read and written. The reader and the writer
// both walk a record's table, which lists its members in the order of their
// keys: the order they are written in.
template <typename Record>
struct Member
{
    QStringView key;
    // `value` is the member's, or null when the document has none; false
    // refuses the whole document.
    bool (*read)(const Value *value, Record &record);
    // Writes the key and the value, unless the member is left out.
    void (*write)(Writer &w, QStringView key, const Record &record);
};

// A member every document has.
template <typename As, auto field, typename Record>
constexpr Member<Record> required(QStringView key)
{
    return {key, [](const Value *v, Record &r) { return v && As::from(*v, r.*field); },
            [](Writer &w, QStringView k, const Record &r) {
                w.key(k);
                As::to(w, r.*field);
            }};
}

// A member held in a std::optional: absent (or null) when it has no value.
template <typename As, auto field, typename Record>
constexpr Member<Record> whenPresent(QStringView key)
{
    return {key,
            [](const Value *v, Record &r) {
                if (!v || v->kind == Value::Kind::null)
                    return true;
                return As::from(*v, (r.*field).emplace());
            },
            [](Writer &w, QStringView k, const Record &r) {
                if (!(r.*field))
                    return;
                w.key(k);
                As::to(w, *(r.*field));
            }};
}

// A member left out while it holds its type's empty value (false, ""), and
// read as that when absent (or null): files written before it was kept.
template <typename As, auto field, typename Record>
constexpr Member<Record> unlessEmpty(QStringView key)
{
    return {key,
            [](const Value *v, Record &r) {
                return !v || v->kind == Value::Kind::null || As::from(*v, r.*field);
            },
            [](Writer &w, QStringView k, const Record &r) {
                if (r.*field == std::remove_cvref_t<decltype(r.*field)>{})
                    return;
                w.key(k);
                As::to(w, r.*field);
            }};
}

template <typename Record, size_t N>
using Table = Member<Record>[N];

// The members of `object` whose keys are not in `members`, as their JSON text.
template <typename Record, size_t N>
QMap<QString, QByteArray> unknownMembers(const Value &object, const Table<Record, N> &members)
{
    QMap<QString, QByteArray> extra;
    for (size_t i = 0; i < object.keys.size(); ++i) {
        const QString &key = object.keys[i];
        if (std::none_of(std::begin(members), std::end(members),
                         [&key](const Member<Record> &m) { return m.key == key; }))
            extra.insert(key, object.elements[i].raw.toByteArray()); // a repeated key: the last
    }
    return extra;
}

template <typename Record, size_t N>
bool readRecord(const Value &v, Record &record, const Table<Record, N> &members)
{
    if (v.kind != Value::Kind::object)
        return false;
    for (const Member<Record> &m : members) {
        if (!m.read(v.member(m.key), record))
            return false;
    }
    record.extraMembers = unknownMembers(v, members);
    return true;
}

template <typename Record, size_t N>
void writeRecord(Writer &w, const Record &record, const Table<Record, N> &members)
{
    w.beginObject();
    ExtraMembers extra(w, record.extraMembers);
    for (const Member<Record> &m : members) {
        extra.before(m.key);
        m.write(w, m.key, record);
    }
    extra.rest();
    w.endObject();
}

constexpr Member<KeyStat> keyStatMembers[] = {
    required<AsWhole, &KeyStat::attempts, KeyStat>(u"attempts"),
    required<AsNumber, &KeyStat::errEMA, KeyStat>(u"errEMA"),
    required<AsWhole, &KeyStat::errors, KeyStat>(u"errors"),
    // written once a key has events; older files lack both
    unlessEmpty<AsDayKey, &KeyStat::lastDay, KeyStat>(u"lastDay"),
    required<AsNumber, &KeyStat::latencyEMA, KeyStat>(u"latencyEMA"),
    unlessEmpty<AsOutcomes, &KeyStat::recent, KeyStat>(u"recent"),
};

constexpr Member<DayStat> dayStatMembers[] = {
    required<AsNumber, &DayStat::bestSpeed, DayStat>(u"bestSpeed"),
    required<AsWhole, &DayStat::chars, DayStat>(u"chars"),
    required<AsText, &DayStat::date, DayStat>(u"date"),
    required<AsWhole, &DayStat::errors, DayStat>(u"errors"),
    required<AsNumber, &DayStat::seconds, DayStat>(u"seconds"),
};

// The key statistics: an object of records by character.
struct AsKeyStats
{
    static bool from(const Value &v, QMap<QString, KeyStat> &out)
    {
        if (v.kind != Value::Kind::object)
            return false;
        for (size_t i = 0; i < v.keys.size(); ++i) {
            KeyStat stat;
            if (!readRecord(v.elements[i], stat, keyStatMembers))
                return false;
            out.insert(v.keys[i], stat);
        }
        return true;
    }
    static void to(Writer &w, const QMap<QString, KeyStat> &stats)
    {
        w.beginObject();
        for (auto it = stats.cbegin(); it != stats.cend(); ++it) {
            w.key(it.key());
            writeRecord(w, *it, keyStatMembers);
        }
        w.endObject();
    }
};

// The day records: an array, in their order.
struct AsDays
{
    static bool from(const Value &v, QList<DayStat> &out)
    {
        if (v.kind != Value::Kind::array)
            return false;
        out.reserve(qsizetype(v.elements.size()));
        for (const Value &element : v.elements) {
            if (!readRecord(element, out.emplace_back(), dayStatMembers))
                return false;
        }
        return true;
    }
    static void to(Writer &w, const QList<DayStat> &days)
    {
        w.beginArray();
        for (const DayStat &day : days) {
            w.item();
            writeRecord(w, day, dayStatMembers);
        }
        w.endArray();
    }
};

// The passed exercises: an object of counts by lesson id.
struct AsPassed
{
    static bool from(const Value &v, QMap<qint64, qint64> &out)
    {
        if (v.kind != Value::Kind::object)
            return false;
        for (size_t i = 0; i < v.keys.size(); ++i) {
            const std::optional<qint64> id = lessonId(v.keys[i]);
            qint64 count = 0;
            if (!id || !AsWhole::from(v.elements[i], count))
                return false;
            out.insert(*id, count);
        }
        return true;
    }
    static void to(Writer &w, const QMap<qint64, qint64> &passed)
    {
        // Lesson ids become member keys, so they sort as texts ("10" before "2").
        QList<std::pair<QString, qint64>> byKey;
        for (auto it = passed.cbegin(); it != passed.cend(); ++it)
            byKey.append({QString::number(it.key()), it.value()});
        std::sort(byKey.begin(), byKey.end());
        w.beginObject();
        for (const auto &[id, count] : byKey) {
            w.key(id);
            w.integer(count);
        }
        w.endObject();
    }
};

constexpr Member<ProfileData> profileMembers[] = {
    whenPresent<AsAppearance, &ProfileData::appearance, ProfileData>(u"appearance"),
    required<AsWhole, &ProfileData::currentLessonID, ProfileData>(u"currentLessonID"),
    required<AsDays, &ProfileData::days, ProfileData>(u"days"),
    required<AsPassed, &ProfileData::exercisesPassed, ProfileData>(u"exercisesPassed"),
    required<AsKeyStats, &ProfileData::keyStats, ProfileData>(u"keyStats"),
    whenPresent<AsText, &ProfileData::manuscript, ProfileData>(u"manuscript"),
    whenPresent<AsWhole, &ProfileData::manuscriptChunk, ProfileData>(u"manuscriptChunk"),
    unlessEmpty<AsBool, &ProfileData::physicalKeys, ProfileData>(u"physicalKeys"),
    required<AsBool, &ProfileData::soundOn, ProfileData>(u"soundOn"),
    unlessEmpty<AsBool, &ProfileData::speechOn, ProfileData>(u"speechOn"),
};

} // namespace

namespace ProfileJson {

QByteArray encode(const ProfileData &profile)
{
    Writer w;
    writeRecord(w, profile, profileMembers);
    w.out += '\n';
    return w.ok ? w.out : QByteArray();
}

std::optional<QByteArray> encodeReadable(const ProfileData &profile)
{
    QByteArray bytes = encode(profile);
    if (bytes.isEmpty() || bytes.size() > maxDocumentSize || !decode(bytes))
        return std::nullopt;
    return bytes;
}

std::optional<ProfileData> decode(QByteArrayView document)
{
    if (document.size() > maxDocumentSize)
        return std::nullopt;
    // Some editors put a byte order mark before UTF-8; it is no part of the JSON.
    if (document.startsWith("\xEF\xBB\xBF"))
        document = document.sliced(3);
    const std::optional<Value> root = Parser(document).document();
    ProfileData profile;
    if (!root || !readRecord(*root, profile, profileMembers))
        return std::nullopt;
    return profile;
}

} // namespace ProfileJson
