#include "marshal.h"

#include "tablecodec.h"

#include <cmath>
#include <limits>

namespace kestro::marshal_detail {

static MarshalError fieldError(const char *field, const char *expected)
{
    return MarshalError(QStringLiteral("Kayıt alanı %1 için %2 bekleniyordu")
                            .arg(QLatin1String(field), QLatin1String(expected)));
}

void appendText(QByteArray &out, const QString &v) { appendJsonString(out, v); }
void appendNumber(QByteArray &out, double v) { appendJsonNumber(out, v); }

void appendValue(QByteArray &out, const TAcilisEkranListesi &v, int &nextId)
{
    out += '[';
    for (qsizetype i = 0; i < v.size(); ++i) {
        if (i)
            out += ',';
        appendRecordJson(out, v.at(i), nextId);
    }
    out += ']';
}

QJsonValue toJsonValue(const TAcilisEkranListesi &v, int &nextId)
{
    QJsonArray a;
    for (const TAcilisEkran &e : v)
        a.append(marshalRecord(e, nextId));
    return a;
}

void fromJsonValue(const QJsonValue &j, QString &out, const char *field)
{
    if (j.isNull()) {
        out.clear();
        return;
    }
    if (!j.isString())
        throw fieldError(field, "metin");
    out = j.toString();
}

void fromJsonValue(const QJsonValue &j, qint32 &out, const char *field)
{
    const double d = j.toDouble(std::numeric_limits<double>::quiet_NaN());
    if (!j.isDouble() || std::isnan(d) || d != std::floor(d)
        || d < std::numeric_limits<qint32>::min() || d > std::numeric_limits<qint32>::max())
        throw fieldError(field, "tamsayı");
    out = static_cast<qint32>(d);
}

void fromJsonValue(const QJsonValue &j, double &out, const char *field)
{
    if (!j.isDouble())
        throw fieldError(field, "sayı");
    out = j.toDouble();
}

void fromJsonValue(const QJsonValue &j, bool &out, const char *field)
{
    if (!j.isBool())
        throw fieldError(field, "mantıksal değer");
    out = j.toBool();
}

void fromJsonValue(const QJsonValue &j, TAcilisEkranListesi &out, const char *field)
{
    out.clear();
    if (j.isNull())
        return;
    if (!j.isArray())
        throw fieldError(field, "kayıt dizisi");
    for (const QJsonValue &item : j.toArray()) {
        auto e = fromJson<TAcilisEkran>(item);
        out.append(e ? *e : TAcilisEkran{});
    }
}

QJsonObject fieldsOf(const QJsonValue &j, const char *typeName)
{
    if (!j.isObject())
        throw MarshalError(QStringLiteral("%1 kaydı bekleniyordu").arg(QLatin1String(typeName)));
    const QJsonObject o = j.toObject();
    const QString type = o.value(QStringLiteral("type")).toString();
    if (type != QLatin1String(typeName))
        throw MarshalError(QStringLiteral("%1 kaydı bekleniyordu, gelen: %2")
                               .arg(QLatin1String(typeName), type.isEmpty() ? QStringLiteral("?") : type));
    const QJsonValue fields = o.value(QStringLiteral("fields"));
    if (!fields.isObject())
        throw MarshalError(QStringLiteral("%1 kaydının alanları yok").arg(QLatin1String(typeName)));
    return fields.toObject();
}

} // namespace kestro::marshal_detail
