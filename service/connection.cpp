#include "connection.h"

#include "errors.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include <curl/curl.h>

namespace kestro {

namespace {

constexpr qsizetype MaxAnswerBytes = qsizetype(1) << 30;

struct CurlGlobal
{
    CurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
};

size_t appendBody(char *data, size_t size, size_t n, void *user)
{
    auto *body = static_cast<QByteArray *>(user);
    const size_t bytes = size * n;
    if (body->size() + qsizetype(bytes) > MaxAnswerBytes)
        return 0; // aborts the transfer
    body->append(data, qsizetype(bytes));
    return bytes;
}

size_t readHeader(char *data, size_t size, size_t n, void *user)
{
    // Reserve the body once from Content-Length, so big tables are not regrown.
    const size_t bytes = size * n;
    const QByteArray line = QByteArray(data, qsizetype(bytes)).trimmed();
    if (line.size() > 15 && line.left(15).compare("content-length:", Qt::CaseInsensitive) == 0) {
        bool ok = false;
        const qint64 len = line.mid(15).trimmed().toLongLong(&ok);
        if (ok && len > 0 && len < MaxAnswerBytes)
            static_cast<QByteArray *>(user)->reserve(qsizetype(len) + 64);
    }
    return bytes;
}

QString errorText(const QByteArray &body, long status)
{
    QJsonParseError pe{};
    const QJsonDocument doc = QJsonDocument::fromJson(body, &pe);
    const QString text = doc.object().value(QStringLiteral("error")).toString();
    if (!text.isEmpty())
        return text;
    return QStringLiteral("Sunucu hata bildirdi (HTTP %1)").arg(status);
}

} // namespace

struct ServerConnection::Curl
{
    CURL *handle = nullptr;
    curl_slist *headers = nullptr;
    char error[CURL_ERROR_SIZE] = {};
    ~Curl()
    {
        if (handle)
            curl_easy_cleanup(handle);
        if (headers)
            curl_slist_free_all(headers);
    }
};

ServerConnection::ServerConnection()
{
    static CurlGlobal global;
}

ServerConnection::~ServerConnection() = default;

std::unique_ptr<ServerConnection> ServerConnection::clone() const
{
    auto c = std::make_unique<ServerConnection>();
    c->ConnectionName = ConnectionName;
    c->DriverName = DriverName;
    c->LoginPrompt = LoginPrompt;
    c->CommunicationProtocol = CommunicationProtocol;
    c->Port = Port;
    c->HostName = HostName;
    c->DatasnapContext = DatasnapContext;
    c->Filters = Filters;
    c->DSProxyPort = DSProxyPort;
    c->connectTimeoutMs = connectTimeoutMs;
    c->responseTimeoutMs = responseTimeoutMs;
    return c;
}

QString ServerConnection::baseUrl() const
{
    return QStringLiteral("http://%1:%2/").arg(HostName, Port);
}

QString ServerConnection::methodPath(const QString &method) const
{
    return DatasnapContext + QStringLiteral("rest/TServerMethods1/%22")
        + QString::fromLatin1(QUrl::toPercentEncoding(method)) + QStringLiteral("%22");
}

bool ServerConnection::connected() const { return m_curl != nullptr; }

void ServerConnection::close() { m_curl.reset(); }

void ServerConnection::open()
{
    close();
    if (HostName.trimmed().isEmpty())
        throw ServerError(QStringLiteral("Sunucu adresi tanımlı değil"));
    auto curl = std::make_unique<Curl>();
    curl->handle = curl_easy_init();
    if (!curl->handle)
        throw ServerError(QStringLiteral("Bağlantı hazırlanamadı"));
    CURL *h = curl->handle;
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_TCP_NODELAY, 1L);
    curl_easy_setopt(h, CURLOPT_TCP_KEEPALIVE, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, long(connectTimeoutMs));
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, long(responseTimeoutMs));
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, curl->error);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, readHeader);
    curl_easy_setopt(h, CURLOPT_PROXY, "");
    curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "");
    curl->headers = curl_slist_append(curl->headers, "Content-Type: application/json; charset=utf-8");
    curl->headers = curl_slist_append(curl->headers, "Expect:");
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, curl->headers);
    m_curl = std::move(curl);

    long status = 0;
    QByteArray body;
    try {
        body = perform((baseUrl() + DatasnapContext + QStringLiteral("rest/DSAdmin/GetPlatformName")).toUtf8(),
                       nullptr, &status);
    } catch (...) {
        close();
        throw;
    }
    if (status != 200) {
        close();
        throw ServerError(QStringLiteral("Sunucu bağlantıyı kabul etmedi (HTTP %1)").arg(status));
    }
    const QJsonDocument doc = QJsonDocument::fromJson(body);
    if (!doc.isObject() || !doc.object().value(QStringLiteral("result")).isArray()) {
        close();
        throw ServerError(QStringLiteral("Sunucu tanınmayan bir yanıt verdi"));
    }
}

QByteArray ServerConnection::perform(const QByteArray &url, const QByteArray *postBody, long *status)
{
    if (!m_curl)
        throw ServerError(QStringLiteral("Bağlantı açık değil"));
    CURL *h = m_curl->handle;
    QByteArray body;
    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &body);
    if (postBody) {
        curl_easy_setopt(h, CURLOPT_POST, 1L);
        curl_easy_setopt(h, CURLOPT_POSTFIELDS, postBody->constData());
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(postBody->size()));
    } else {
        curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    }
    m_curl->error[0] = 0;
    const CURLcode rc = curl_easy_perform(h);
    if (rc != CURLE_OK) {
        const QString detail = m_curl->error[0] ? QString::fromUtf8(m_curl->error)
                                                : QString::fromUtf8(curl_easy_strerror(rc));
        QString text;
        switch (rc) {
        case CURLE_COULDNT_CONNECT:
        case CURLE_COULDNT_RESOLVE_HOST:
            text = QStringLiteral("Sunucuya bağlanılamadı (%1:%2): %3").arg(HostName, Port, detail);
            break;
        case CURLE_OPERATION_TIMEDOUT:
            text = QStringLiteral("Sunucu zamanında yanıt vermedi: %1").arg(detail);
            break;
        case CURLE_WRITE_ERROR:
            text = QStringLiteral("Sunucu yanıtı çok büyük");
            break;
        default:
            text = QStringLiteral("Sunucu ile iletişim kesildi: %1").arg(detail);
        }
        // A failed transfer may leave the session in an unknown state.
        close();
        throw ServerError(text);
    }
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, status);
    return body;
}

QByteArray ServerConnection::call(const QString &method, const QByteArray &body)
{
    long status = 0;
    QByteArray answer = perform((baseUrl() + methodPath(method)).toUtf8(), &body, &status);
    if (status != 200)
        throw ServerError(errorText(answer, status));
    return answer;
}

} // namespace kestro
