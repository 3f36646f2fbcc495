// JSON reflection form of the wire records:
// {"type":"UNIT.CLASS","id":N,"fields":{"FNAME":VALUE,...}}, null for a missing record.
#pragma once

#include "records.h"
#include "sonucbilgisi.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>

#include <memory>
#include "errors.h"

namespace kestro {

// Raised when a marshalled value does not match the expected record.
class MarshalError : public Error
{
public:
    using Error::Error;
};

namespace marshal_detail {

void appendText(QByteArray &out, const QString &v);
void appendNumber(QByteArray &out, double v);
inline void appendValue(QByteArray &out, const QString &v, int &) { appendText(out, v); }
inline void appendValue(QByteArray &out, qint32 v, int &) { out += QByteArray::number(v); }
inline void appendValue(QByteArray &out, double v, int &) { appendNumber(out, v); }
inline void appendValue(QByteArray &out, bool v, int &) { out += v ? "true" : "false"; }
void appendValue(QByteArray &out, const TAcilisEkranListesi &v, int &nextId);

inline QJsonValue toJsonValue(const QString &v, int &) { return v; }
inline QJsonValue toJsonValue(qint32 v, int &) { return v; }
inline QJsonValue toJsonValue(double v, int &) { return v; }
inline QJsonValue toJsonValue(bool v, int &) { return v; }
QJsonValue toJsonValue(const TAcilisEkranListesi &v, int &nextId);

void fromJsonValue(const QJsonValue &j, QString &out, const char *field);
void fromJsonValue(const QJsonValue &j, qint32 &out, const char *field);
void fromJsonValue(const QJsonValue &j, double &out, const char *field);
void fromJsonValue(const QJsonValue &j, bool &out, const char *field);
void fromJsonValue(const QJsonValue &j, TAcilisEkranListesi &out, const char *field);

QJsonObject fieldsOf(const QJsonValue &j, const char *typeName);

} // namespace marshal_detail

template <typename R>
QJsonObject marshalRecord(const R &r, int &nextId)
{
    QJsonObject o;
    o.insert(QStringLiteral("type"), QString::fromLatin1(R::typeName));
    o.insert(QStringLiteral("id"), nextId++);
    QJsonObject fields;
    r.visitFields([&](const char *name, const auto &value) {
        fields.insert(QLatin1String(name), marshal_detail::toJsonValue(value, nextId));
    });
    o.insert(QStringLiteral("fields"), fields);
    return o;
}

// Writes a record as JSON text with its fields in declaration order (a
// QJsonObject would sort them by name).
template <typename R>
void appendRecordJson(QByteArray &out, const R &r, int &nextId)
{
    out += "{\"type\":\"";
    out += R::typeName;
    out += "\",\"id\":";
    out += QByteArray::number(nextId++);
    out += ",\"fields\":{";
    bool first = true;
    r.visitFields([&](const char *name, const auto &value) {
        if (!first)
            out += ',';
        first = false;
        out += '"';
        out += name;
        out += "\":";
        marshal_detail::appendValue(out, value, nextId);
    });
    out += "}}";
}

// The JSON text of a record; nullptr gives null.
template <typename R>
void appendRecordJson(QByteArray &out, const R *r)
{
    if (!r) {
        out += "null";
        return;
    }
    int id = 1;
    appendRecordJson(out, *r, id);
}

// A record as a JSON value; nullptr gives null.
template <typename R>
QJsonValue toJson(const R *r)
{
    if (!r)
        return QJsonValue(QJsonValue::Null);
    int id = 1;
    return marshalRecord(*r, id);
}

// Reads a record; null gives nullptr. Raises MarshalError on a wrong type or field.
// Fields missing from the JSON keep their construction defaults.
template <typename R>
std::unique_ptr<R> fromJson(const QJsonValue &j)
{
    if (j.isNull() || j.isUndefined())
        return nullptr;
    const QJsonObject fields = marshal_detail::fieldsOf(j, R::typeName);
    auto r = std::make_unique<R>();
    r->visitFields([&](const char *name, auto &value) {
        const QJsonValue f = fields.value(QLatin1String(name));
        if (!f.isUndefined())
            marshal_detail::fromJsonValue(f, value, name);
    });
    return r;
}

} // namespace kestro
