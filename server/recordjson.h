// Records in their marshalled form with the fields in declaration order
// (QJsonObject would sort them by name).
#pragma once

#include "records.h"
#include "sonucbilgisi.h"
#include "tablecodec.h"

#include <QByteArray>

namespace kestro::server {

namespace detail {

inline void value(QByteArray &o, const QString &v, int &) { appendJsonString(o, v); }
inline void value(QByteArray &o, qint32 v, int &) { o.append(QByteArray::number(v)); }
inline void value(QByteArray &o, double v, int &) { appendJsonNumber(o, v); }
inline void value(QByteArray &o, bool v, int &) { o.append(v ? "true" : "false"); }
void value(QByteArray &o, const TAcilisEkranListesi &v, int &nextId);

template <typename R>
void record(QByteArray &o, const R &r, int &nextId)
{
    o.append("{\"type\":");
    appendJsonString(o, QString::fromLatin1(R::typeName));
    o.append(",\"id\":");
    o.append(QByteArray::number(nextId++));
    o.append(",\"fields\":{");
    bool first = true;
    r.visitFields([&](const char *name, const auto &v) {
        if (!first)
            o.append(',');
        first = false;
        appendJsonString(o, QString::fromLatin1(name));
        o.append(':');
        value(o, v, nextId);
    });
    o.append("}}");
}

inline void value(QByteArray &o, const TAcilisEkranListesi &v, int &nextId)
{
    o.append('[');
    for (int i = 0; i < v.size(); ++i) {
        if (i)
            o.append(',');
        record(o, v.at(i), nextId);
    }
    o.append(']');
}

} // namespace detail

template <typename R>
QByteArray recordJson(const R &r)
{
    QByteArray o;
    int id = 1;
    detail::record(o, r, id);
    return o;
}

} // namespace kestro::server
