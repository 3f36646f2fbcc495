#include "textstore.h"

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
    m_bytes.reset(m_used ? new char[m_used] : nullptr);
    if (m_used)
        std::memcpy(m_bytes.get(), o.m_bytes.get(), m_used);
    return *this;
}

TextStore::Ref TextStore::storeBytes(const char *data, size_t bytes)
{
    if (m_used + bytes > m_capacity) {
        const size_t capacity = std::max({m_capacity * 2, m_used + bytes, size_t(4096)});
        std::unique_ptr<char[]> bigger(new char[capacity]); // not zero-filled
        if (m_used)
            std::memcpy(bigger.get(), m_bytes.get(), m_used);
        m_bytes = std::move(bigger);
        m_capacity = capacity;
    }
    if (bytes)
        std::memcpy(m_bytes.get() + m_used, data, bytes);
    const Ref r{m_used, uint32_t(bytes)};
    m_used += bytes;
    return r;
}

TextStore::Ref TextStore::store(QStringView s)
{
    const QByteArray u = s.toUtf8();
    return storeBytes(u.constData(), size_t(u.size()));
}

} // namespace kestro
