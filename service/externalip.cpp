#include "externalip.h"

#include "deploymentsettings.h"

#include <QByteArray>
#include <QThread>

#include <curl/curl.h>

namespace kestro {

DisIpAyarlari DisIpAyarlari::deployed()
{
    DisIpAyarlari s;
    s.url = DeploymentSettings::current().echoUrl;
    return s;
}

static size_t collect(char *data, size_t size, size_t n, void *user)
{
    auto *body = static_cast<QByteArray *>(user);
    if (body->size() > 4096)
        return 0; // an address is short; anything longer is not one
    body->append(data, qsizetype(size * n));
    return size * n;
}

QString DisIpAl(const DisIpAyarlari &s)
{
    const QByteArray url = s.url.toUtf8();
    for (int attempt = 0; attempt < s.attempts; ++attempt) {
        if (attempt > 0)
            QThread::msleep(ulong(s.retryDelayMs));
        CURL *h = curl_easy_init();
        if (!h)
            continue;
        QByteArray body;
        curl_easy_setopt(h, CURLOPT_URL, url.constData());
        curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(h, CURLOPT_PROXY, "");
        curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, long(s.connectTimeoutMs));
        curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, long(s.connectTimeoutMs + s.readTimeoutMs));
        curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, collect);
        curl_easy_setopt(h, CURLOPT_WRITEDATA, &body);
        const CURLcode rc = curl_easy_perform(h);
        long status = 0;
        curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
        curl_easy_cleanup(h);
        if (rc == CURLE_OK && status == 200)
            return QString::fromUtf8(body).trimmed();
    }
    return {};
}

} // namespace kestro
