#include "tablecodec.h"

#include <simdjson.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <cmath>
#include <string_view>
#include <unordered_map>

namespace kestro {

using namespace simdjson;

namespace {

[[noreturn]] void fail(const QString &text) { throw TableError(text); }

QString qs(std::string_view v) { return QString::fromUtf8(v.data(), qsizetype(v.size())); }

// Raises on any simdjson error, with a Turkish text for the user.
template <typename T>
T take(simdjson_result<T> &&r)
{
    T value;
    if (std::move(r).get(value) != SUCCESS)
        fail(QStringLiteral("Tablo verisi bozuk"));
    return value;
}

void readDescriptors(ondemand::value v, DataSet &out)
{
    for (auto descResult : take(v.get_array())) {
        ondemand::array desc = take(descResult.get_array());
        QString name;
        int type = -1;
        int index = 0;
        for (auto item : desc) {
            if (index == 0)
                name = qs(take(item.get_string()));
            else if (index == 1)
                type = int(take(item.get_int64()));
            else
                break; // the other descriptor entries are not needed
            ++index;
        }
        if (name.isEmpty() || !isKnownFieldType(type))
            fail(QStringLiteral("Tablo sütun tanımı geçersiz: %1").arg(name));
        if (out.fieldIndex(name) >= 0)
            fail(QStringLiteral("Tablo sütunu iki kez tanımlı: %1").arg(name));
        out.addField(name, FieldType(type));
    }
}

void pushNull(DataSet::Column &c, DataSet::Storage storage)
{
    c.nulls.push_back(1);
    switch (storage) {
    case DataSet::Storage::Int: c.ints.push_back(0); break;
    case DataSet::Storage::Real: c.reals.push_back(0.0); break;
    case DataSet::Storage::Text: c.texts.emplace_back(); break;
    case DataSet::Storage::Bytes: c.bytes.emplace_back(); break;
    }
}

[[noreturn]] void wrongValue(const DataSet::Column &c, const char *what)
{
    fail(QStringLiteral("%1 sütununda %2 olmayan değer").arg(c.name, QLatin1String(what)));
}

// The common case is tried first; null and the rarer forms only on a type error,
// which leaves the value unconsumed.
void readColumn(ondemand::array values, DataSet::Column &c, size_t expectedRows)
{
    const DataSet::Storage storage = c.storage();
    c.nulls.reserve(expectedRows);
    switch (storage) {
    case DataSet::Storage::Int: c.ints.reserve(expectedRows); break;
    case DataSet::Storage::Real: c.reals.reserve(expectedRows); break;
    case DataSet::Storage::Text: c.texts.reserve(expectedRows); break;
    case DataSet::Storage::Bytes: c.bytes.reserve(expectedRows); break;
    }
    for (auto itemResult : values) {
        ondemand::value item = take(std::move(itemResult));
        switch (storage) {
        case DataSet::Storage::Int: {
            int64_t i = 0;
            if (item.get_int64().get(i) == SUCCESS) {
                c.ints.push_back(i);
                c.nulls.push_back(0);
                break;
            }
            if (take(item.is_null())) {
                pushNull(c, storage);
                break;
            }
            bool b = false;
            if (c.type == FieldType::Boolean && item.get_bool().get(b) == SUCCESS) {
                c.ints.push_back(b ? 1 : 0);
                c.nulls.push_back(0);
                break;
            }
            double d = 0;
            if (item.get_double().get(d) != SUCCESS || d != std::floor(d) || std::fabs(d) > 9.2e18)
                wrongValue(c, "tamsayı");
            c.ints.push_back(int64_t(d));
            c.nulls.push_back(0);
            break;
        }
        case DataSet::Storage::Real: {
            double d = 0;
            if (item.get_double().get(d) == SUCCESS) {
                c.reals.push_back(d);
                c.nulls.push_back(0);
            } else if (take(item.is_null())) {
                pushNull(c, storage);
            } else {
                wrongValue(c, "sayı");
            }
            break;
        }
        case DataSet::Storage::Text: {
            std::string_view sv;
            if (item.get_string().get(sv) == SUCCESS) {
                c.texts.appendUtf8(sv.data(), sv.size());
                c.nulls.push_back(0);
            } else if (take(item.is_null())) {
                pushNull(c, storage);
            } else {
                wrongValue(c, "metin");
            }
            break;
        }
        case DataSet::Storage::Bytes: {
            std::string_view sv;
            if (item.get_string().get(sv) == SUCCESS) {
                c.bytes.push_back(QByteArray::fromBase64(QByteArray(sv.data(), qsizetype(sv.size()))));
                c.nulls.push_back(0);
            } else if (take(item.is_null())) {
                pushNull(c, storage);
            } else {
                wrongValue(c, "ikili");
            }
            break;
        }
        }
    }
}

void readTable(ondemand::object table, DataSet &out)
{
    bool haveDescriptors = false;
    std::vector<bool> seen;
    size_t expectedRows = 0; // learnt from the first column, to reserve the others
    for (auto fieldResult : table) {
        ondemand::field field = take(std::move(fieldResult));
        const std::string_view key = take(field.unescaped_key());
        if (key == "table") {
            if (haveDescriptors)
                fail(QStringLiteral("Tablo tanımı iki kez geldi"));
            readDescriptors(field.value(), out);
            haveDescriptors = true;
            seen.assign(size_t(out.fieldCount()), false);
            continue;
        }
        if (!haveDescriptors)
            fail(QStringLiteral("Tablo tanımı sütunlardan önce gelmeli"));
        const int col = out.fieldIndex(qs(key));
        if (col < 0)
            continue; // a member the descriptors do not name carries nothing for us
        if (seen[size_t(col)])
            fail(QStringLiteral("Tablo sütunu iki kez geldi: %1").arg(qs(key)));
        seen[size_t(col)] = true;
        readColumn(take(field.value().get_array()), out.column(col), expectedRows);
        expectedRows = std::max(expectedRows, out.column(col).size());
    }
    if (!haveDescriptors)
        fail(QStringLiteral("Tablo tanımı yok"));
    size_t rows = 0;
    for (int c = 0; c < out.fieldCount(); ++c) {
        if (!seen[size_t(c)])
            fail(QStringLiteral("Tablo sütunu eksik: %1").arg(out.fieldName(c)));
        const size_t n = out.column(c).size();
        if (c == 0)
            rows = n;
        else if (n != rows)
            fail(QStringLiteral("Tablo sütunlarının uzunlukları farklı"));
    }
    if (rows > size_t(std::numeric_limits<int>::max()))
        fail(QStringLiteral("Tablo çok büyük"));
    out.finishBulkLoad(int(rows));
}

// simdjson reads up to SIMDJSON_PADDING bytes past the end; QByteArray's
// spare capacity is used when there is enough, else the text is copied once.
template <typename F>
void withPadded(const QByteArray &json, F &&f)
{
    static thread_local ondemand::parser parser;
    const size_t len = size_t(json.size());
    if (size_t(json.capacity()) >= len + SIMDJSON_PADDING) {
        padded_string_view view(json.constData(), len, size_t(json.capacity()));
        ondemand::document doc;
        if (parser.iterate(view).get(doc) != SUCCESS)
            fail(QStringLiteral("Tablo verisi bozuk"));
        f(doc);
    } else {
        padded_string copy(json.constData(), len);
        ondemand::document doc;
        if (parser.iterate(copy).get(doc) != SUCCESS)
            fail(QStringLiteral("Tablo verisi bozuk"));
        f(doc);
    }
}

template <typename F>
void guarded(DataSet &out, F &&f)
{
    try {
        f();
    } catch (const TableError &) {
        out.clear();
        throw;
    } catch (const simdjson_error &) {
        out.clear();
        fail(QStringLiteral("Tablo verisi bozuk"));
    }
}

} // namespace

void decodeTable(const QByteArray &json, DataSet &out)
{
    out.clear();
    guarded(out, [&] {
        withPadded(json, [&](ondemand::document &doc) {
            readTable(take(doc.get_object()), out);
        });
    });
}

void decodeTableAnswer(const QByteArray &answer, DataSet &out)
{
    out.clear();
    guarded(out, [&] {
        withPadded(answer, [&](ondemand::document &doc) {
            bool found = false;
            for (auto fieldResult : take(doc.get_object())) {
                ondemand::field field = take(std::move(fieldResult));
                const std::string_view key = take(field.unescaped_key());
                if (key == "error")
                    fail(qs(take(field.value().get_string())));
                if (key != "result" || found)
                    continue;
                ondemand::array result = take(field.value().get_array());
                for (auto item : result) {
                    if (found)
                        fail(QStringLiteral("Sunucu yanıtında beklenmeyen değer"));
                    ondemand::value v = take(std::move(item));
                    if (take(v.type()) == ondemand::json_type::null) {
                        found = true; // a missing table reads as an empty one
                        continue;
                    }
                    readTable(take(v.get_object()), out);
                    found = true;
                }
            }
            if (!found)
                fail(QStringLiteral("Sunucu yanıtında tablo yok"));
        });
    });
}

namespace {

// Writes at the end of a QByteArray through a raw pointer; the array is grown
// geometrically and cut to the written size at the end.
class Writer
{
public:
    explicit Writer(QByteArray &out) : m_out(out), m_size(out.size()) {}
    ~Writer() { m_out.resize(m_size); }

    char *room(qsizetype n)
    {
        if (m_size + n > m_out.size())
            m_out.resize(std::max(m_size + n, m_out.size() * 2 + 4096));
        return m_out.data() + m_size;
    }
    void done(char *end) { m_size = end - m_out.data(); }
    void raw(const char *s, qsizetype n)
    {
        std::memcpy(room(n), s, size_t(n));
        m_size += n;
    }
    void raw(char c) { raw(&c, 1); }

    void text(QStringView s) { utf8Text(s.toUtf8()); }

    // Text that is UTF-8 already: only the JSON escapes are written.
    void utf8Text(QByteArrayView s)
    {
        static const char hex[] = "0123456789abcdef";
        const qsizetype n = s.size();
        char *w = room(6 * n + 2);
        *w++ = '"';
        const char *p = s.data();
        for (qsizetype i = 0; i < n; ++i) {
            const auto c = static_cast<unsigned char>(p[i]);
            if (c >= 0x20 && c != '"' && c != '\\') {
                *w++ = char(c);
                continue;
            }
            *w++ = '\\';
            switch (c) {
            case '"': *w++ = '"'; break;
            case '\\': *w++ = '\\'; break;
            case '\n': *w++ = 'n'; break;
            case '\r': *w++ = 'r'; break;
            case '\t': *w++ = 't'; break;
            default:
                *w++ = 'u';
                *w++ = '0';
                *w++ = '0';
                *w++ = hex[c >> 4];
                *w++ = hex[c & 15];
            }
        }
        *w++ = '"';
        done(w);
    }

    void integer(qint64 v)
    {
        char *w = room(24);
        done(std::to_chars(w, w + 24, v).ptr);
    }

    void real(double v)
    {
        if (!std::isfinite(v)) {
            raw("null", 4);
            return;
        }
        char *w = room(32);
        done(std::to_chars(w, w + 32, v).ptr);
    }

private:
    QByteArray &m_out;
    qsizetype m_size;
};

} // namespace

void appendJsonString(QByteArray &out, QStringView s)
{
    Writer w(out);
    w.text(s);
}

void appendJsonNumber(QByteArray &out, double v)
{
    if (!std::isfinite(v)) {
        out.append("null", 4);
        return;
    }
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, qsizetype(r.ptr - buf));
}

void encodeTable(const DataSet &t, QByteArray &out)
{
    Writer w(out);
    const int cols = t.fieldCount();
    const int rows = t.rowCount();
    w.raw("{\"table\":[", 10);
    for (int c = 0; c < cols; ++c) {
        if (c)
            w.raw(',');
        w.raw('[');
        w.text(t.fieldName(c));
        w.raw(',');
        w.integer(int(t.fieldType(c)));
        w.raw(',');
        w.integer(c);
        static const char rest[] = ",0,0,0,0,0,true,false,0,false,false]";
        w.raw(rest, sizeof rest - 1);
    }
    w.raw(']');
    for (int c = 0; c < cols; ++c) {
        const DataSet::Column &col = t.column(c);
        w.raw(',');
        w.text(col.name);
        w.raw(":[", 2);
        const DataSet::Storage storage = col.storage();
        const bool boolean = col.type == FieldType::Boolean;
        for (int r = 0; r < rows; ++r) {
            if (r)
                w.raw(',');
            if (col.nulls[size_t(r)]) {
                w.raw("null", 4);
                continue;
            }
            switch (storage) {
            case DataSet::Storage::Int:
                if (boolean) {
                    if (col.ints[size_t(r)])
                        w.raw("true", 4);
                    else
                        w.raw("false", 5);
                } else {
                    w.integer(col.ints[size_t(r)]);
                }
                break;
            case DataSet::Storage::Real: w.real(col.reals[size_t(r)]); break;
            case DataSet::Storage::Text: w.utf8Text(col.texts.utf8(size_t(r))); break;
            case DataSet::Storage::Bytes: {
                const QByteArray b = col.bytes[size_t(r)].toBase64();
                w.raw('"');
                w.raw(b.constData(), b.size());
                w.raw('"');
                break;
            }
            }
        }
        w.raw(']');
    }
    w.raw('}');
}

QByteArray encodeTable(const DataSet &t)
{
    QByteArray out;
    out.reserve(64 + t.rowCount() * t.fieldCount() * 8);
    encodeTable(t, out);
    return out;
}

} // namespace kestro
