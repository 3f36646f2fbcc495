// Text cells of one column kept as UTF-8 in one buffer with offsets: a
// decoded column costs two allocations instead of one per cell, and text
// travels from the wire into the column and back without conversion.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace kestro {

class TextStore
{
public:
    TextStore() = default;
    TextStore(TextStore &&) noexcept = default;
    TextStore &operator=(TextStore &&) noexcept = default;
    TextStore(const TextStore &o);
    TextStore &operator=(const TextStore &o);

    size_t size() const { return m_refs.size(); }
    bool empty() const { return m_refs.empty(); }
    void clear()
    {
        m_refs.clear();
        m_used = 0;
    }
    void reserve(size_t cells) { m_refs.reserve(cells); }

    QString operator[](size_t i) const { return QString::fromUtf8(utf8(i)); }
    QByteArrayView utf8(size_t i) const
    {
        const Ref r = m_refs[i];
        return QByteArrayView(m_bytes.get() + r.start, qsizetype(r.length));
    }

    void push_back(QStringView s) { m_refs.push_back(store(s)); }
    void emplace_back() { m_refs.push_back({0, 0}); }
    // Valid UTF-8, as a JSON parser or the database hands it over.
    void appendUtf8(const char *data, size_t bytes) { m_refs.push_back(storeBytes(data, bytes)); }
    // Replacing a cell appends the new text; the old one stays until clear().
    void set(size_t i, QStringView s) { m_refs[i] = store(s); }
    void erase(size_t i) { m_refs.erase(m_refs.begin() + std::ptrdiff_t(i)); }

private:
    struct Ref
    {
        uint64_t start;
        uint32_t length;
    };
    Ref store(QStringView s);
    Ref storeBytes(const char *data, size_t bytes);
    std::unique_ptr<char[]> m_bytes;
    size_t m_used = 0;
    size_t m_capacity = 0;
    std::vector<Ref> m_refs;
};

} // namespace kestro
