#include "textstore.h"

#include <QStringDecoder>

#include <algorithm>

namespace kestro {

TextStore::TextStore(const TextStore &o) { *this = o; }

TextStore &TextStore::operator=(const TextStore &o)
{
    if (this == &o)
        return *this;
    m_refs = o.m_refs;
    m_used = o.m_used;
    m_capacity = o.m_used;
    m_chars.reset(m_used ? new char16_t[m_used] : nullptr);
    if (m_used)
        std::memcpy(m_chars.get(), o.m_chars.get(), m_used * sizeof(char16_t));
    return *this;
}

char16_t *TextStore::room(size_t units)
{
    if (m_used + units > m_capacity) {
        const size_t capacity = std::max({m_capacity * 2, m_used + units, size_t(4096)});
        std::unique_ptr<char16_t[]> bigger(new char16_t[capacity]); // not zero-filled
        if (m_used)
            std::memcpy(bigger.get(), m_chars.get(), m_used * sizeof(char16_t));
        m_chars = std::move(bigger);
        m_capacity = capacity;
    }
    return m_chars.get() + m_used;
}

TextStore::Ref TextStore::store(QStringView s)
{
    char16_t *out = room(size_t(s.size()));
    if (!s.isEmpty())
        std::memcpy(out, s.utf16(), size_t(s.size()) * sizeof(char16_t));
    const Ref r{m_used, uint32_t(s.size())};
    m_used += size_t(s.size());
    return r;
}

void TextStore::appendUtf8(const char *data, size_t bytes)
{
    // UTF-16 never needs more units than UTF-8 has bytes.
    static thread_local QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QChar *begin = reinterpret_cast<QChar *>(room(bytes));
    QChar *end = decoder.appendToBuffer(begin, QByteArrayView(data, qsizetype(bytes)));
    const size_t length = size_t(end - begin);
    m_refs.push_back({m_used, uint32_t(length)});
    m_used += length;
}

} // namespace kestro
