#include "dispatch.h"

#include "marshal.h"
#include "session.h"
#include "tablecodec.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>

namespace kestro::server {

namespace {

const char *kindName(ArgKind k)
{
    switch (k) {
    case ArgKind::Int32: return "tamsayı";
    case ArgKind::Double: return "sayı";
    case ArgKind::Text: return "metin";
    case ArgKind::Session: return "oturum kaydı";
    }
    return "?";
}

void checkArg(const MethodDef &def, int i, const QJsonValue &v)
{
    const ArgKind k = def.args[size_t(i)];
    bool ok = false;
    switch (k) {
    case ArgKind::Int32: {
        const double d = v.toDouble(std::numeric_limits<double>::quiet_NaN());
        ok = v.isDouble() && d == std::floor(d) && d >= std::numeric_limits<qint32>::min()
            && d <= std::numeric_limits<qint32>::max();
        break;
    }
    case ArgKind::Double: ok = v.isDouble() && std::isfinite(v.toDouble()); break;
    case ArgKind::Text: ok = v.isString(); break;
    case ArgKind::Session: ok = v.isObject() || v.isNull(); break;
    }
    if (!ok)
        badRequest(QStringLiteral("%1: %2. parametre %3 olmalı").arg(def.name).arg(i + 1).arg(QLatin1String(kindName(k))));
}

} // namespace

QByteArray errorBody(const QString &text)
{
    QByteArray out("{\"error\":");
    appendJsonString(out, text);
    out.append('}');
    return out;
}

Answer dispatchCall(const Methods &methods, const Settings &settings, const QString &method, const QByteArray &body)
{
    try {
        const MethodDef *def = methods.find(method);
        if (!def)
            notFound(QStringLiteral("Bilinmeyen sunucu yöntemi: %1").arg(method));
        QJsonParseError pe{};
        const QJsonDocument doc = QJsonDocument::fromJson(body, &pe);
        if (pe.error != QJsonParseError::NoError || !doc.isObject())
            badRequest(QStringLiteral("İstek gövdesi geçerli bir JSON nesnesi değil"));
        const QJsonValue pv = doc.object().value(QStringLiteral("_parameters"));
        if (!pv.isArray() && !(pv.isUndefined() && def->args.empty()))
            badRequest(QStringLiteral("İstekte _parameters dizisi yok"));
        const QJsonArray params = pv.toArray();
        if (params.size() != int(def->args.size()))
            badRequest(QStringLiteral("%1: %2 parametre bekleniyordu, %3 geldi")
                           .arg(def->name).arg(def->args.size()).arg(params.size()));
        for (int i = 0; i < params.size(); ++i)
            checkArg(*def, i, params.at(i));

        Call call(params, settings);
        for (int i = 0; i < int(def->args.size()); ++i) {
            if (def->args[size_t(i)] != ArgKind::Session)
                continue;
            try {
                call.parsedRecord = fromJson<TSonucBilgisi>(params.at(i));
            } catch (const MarshalError &e) {
                badRequest(QStringLiteral("Oturum kaydı okunamadı: %1").arg(e.text()));
            }
            if (!call.parsedRecord)
                throw ApiError(401, QStringLiteral("Oturum kaydı gönderilmedi"));
            call.recordIndex = i;
            call.m_user = checkSession(*call.parsedRecord);
        }
        def->handler(call);
        QByteArray out("{\"result\":[");
        out.append(call.result());
        out.append("]}");
        return {200, out};
    } catch (const ApiError &e) {
        return {e.status(), errorBody(e.text())};
    } catch (const std::exception &e) {
        qWarning("call %s failed: %s", qPrintable(method), e.what());
        return {500, errorBody(QStringLiteral("Sunucu hatası: %1").arg(QString::fromUtf8(e.what())))};
    }
}

} // namespace kestro::server
