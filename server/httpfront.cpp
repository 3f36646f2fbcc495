#include "httpfront.h"

#include "dispatch.h"
#include "web.h"

#include <httplib.h>

#include <QUrl>

#include <sys/socket.h>

namespace kestro::server {

namespace {

const char *jsonType = "application/json; charset=utf-8";

QString methodName(const std::string &raw)
{
    // The client sends the name in double quotes, percent-encoded; accept it bare too.
    QString name = QUrl::fromPercentEncoding(QByteArray::fromStdString(raw));
    if (name.size() >= 2 && name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')))
        name = name.mid(1, name.size() - 2);
    return name;
}

} // namespace

int serveHttp(const ListenOptions &opt, const Methods &methods, const Settings &settings)
{
    httplib::Server http;
    http.set_tcp_nodelay(true);
    http.set_keep_alive_max_count(100000);
    http.set_keep_alive_timeout(30);
    http.set_payload_max_length(opt.maxBody);
    http.set_read_timeout(30, 0);
    const int threads = opt.threads;
    http.new_task_queue = [threads] { return new httplib::ThreadPool(size_t(threads)); };
    socket_t listening = INVALID_SOCKET;
    http.set_socket_options([&listening](socket_t sock) {
        httplib::default_socket_options(sock);
        listening = sock;
    });

    http.Get("/datasnap/rest/DSAdmin/GetPlatformName", [](const httplib::Request &, httplib::Response &res) {
        res.set_content("{\"result\":[\"Kestro B2B Sunucusu (Linux)\"]}", jsonType);
    });
    http.Post(R"(/datasnap/rest/TServerMethods1/(.+))",
              [&methods, &settings](const httplib::Request &req, httplib::Response &res) {
                  const Answer a = dispatchCall(methods, settings, methodName(req.matches[1]),
                                                QByteArray::fromStdString(req.body));
                  res.status = a.status;
                  res.set_content(a.body.constData(), size_t(a.body.size()), jsonType);
              });
    registerWeb(http, settings);
    http.set_error_handler([](const httplib::Request &, httplib::Response &res) {
        // A body over the cap or an unknown address: keep the JSON error form.
        if (res.body.empty()) {
            const QByteArray b = errorBody(res.status == 413 ? QStringLiteral("İstek gövdesi çok büyük")
                                                             : QStringLiteral("Bulunamadı"));
            res.set_content(b.constData(), size_t(b.size()), jsonType);
        }
    });
    http.set_exception_handler([](const httplib::Request &, httplib::Response &res, std::exception_ptr) {
        res.status = 500;
        const QByteArray b = errorBody(QStringLiteral("Sunucu hatası"));
        res.set_content(b.constData(), size_t(b.size()), jsonType);
    });

    if (!http.bind_to_port(opt.address.toStdString(), opt.port)) {
        qCritical("kestro-server: cannot listen on %s:%d", qPrintable(opt.address), opt.port);
        return 2;
    }
    // The library listens with a backlog of 5: more clients connecting at once
    // lose their SYN and wait a full second for its retry. Listening again
    // only raises the backlog.
    if (listening != INVALID_SOCKET)
        ::listen(listening, SOMAXCONN);
    qInfo("kestro-server: listening on %s:%d", qPrintable(opt.address), opt.port);
    return http.listen_after_bind() ? 0 : 1;
}

} // namespace kestro::server
