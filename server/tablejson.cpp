#include "tablejson.h"

#include "tablecodec.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace kestro::server {

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

    void text(QStringView s)
    {
        static const char hex[] = "0123456789abcdef";
        const qsizetype n = s.size();
        char *w = room(6 * n + 2); // \u00XX is the longest form of one unit
        *w++ = '"';
        const char16_t *p = s.utf16();
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t c = p[i];
            if (c < 0x80) {
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
            } else if (c < 0x800) {
                *w++ = char(0xC0 | (c >> 6));
                *w++ = char(0x80 | (c & 0x3F));
            } else if (c >= 0xD800 && c <= 0xDFFF) {
                // Surrogates, paired or not: the generic encoder's conversion decides.
                slowText(s);
                return;
            } else {
                *w++ = char(0xE0 | (c >> 12));
                *w++ = char(0x80 | ((c >> 6) & 0x3F));
                *w++ = char(0x80 | (c & 0x3F));
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
    void slowText(QStringView s)
    {
        m_out.resize(m_size);
        appendJsonString(m_out, s);
        m_size = m_out.size();
    }

    QByteArray &m_out;
    qsizetype m_size;
};

} // namespace

void appendTableJson(const DataSet &t, QByteArray &out)
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
            case DataSet::Storage::Text: w.text(col.texts.view(size_t(r))); break;
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

} // namespace kestro::server
