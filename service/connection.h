// Connection to the application server (the window's `bagc` and its clones).
//
// Open starts a keep-alive HTTP session and checks that the server answers;
// calls reuse that one session. One thread uses a connection at a time.
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

namespace kestro {

class ServerConnection
{
public:
    ServerConnection();
    ~ServerConnection();
    ServerConnection(const ServerConnection &) = delete;
    ServerConnection &operator=(const ServerConnection &) = delete;

    // Connection parameters.
    QString ConnectionName = QStringLiteral("DataSnapCONNECTION");
    QString DriverName = QStringLiteral("DataSnap");
    bool LoginPrompt = false;
    QString CommunicationProtocol = QStringLiteral("tcp/ip");
    QString Port = QStringLiteral("9090");
    QString HostName;
    QString DatasnapContext = QStringLiteral("datasnap/");
    QString Filters = QStringLiteral("{}");
    QString DSProxyPort = QStringLiteral("8090");
    int connectTimeoutMs = 5000;
    int responseTimeoutMs = 30000; // direct actions block the window for at most this long

    // A new, closed connection with the same parameters.
    std::unique_ptr<ServerConnection> clone() const;

    // Raises ServerError with a clear text when the server does not answer.
    void open();
    void close();
    bool connected() const;

    // POSTs one method call; answers the body of a successful (200) answer.
    // Raises ServerError with the server's text or the transport's.
    QByteArray call(const QString &method, const QByteArray &body);

    // The call address of a method, relative to the server.
    QString methodPath(const QString &method) const;
    QString baseUrl() const;

private:
    QByteArray perform(const QByteArray &url, const QByteArray *postBody, long *status);
    struct Curl;
    std::unique_ptr<Curl> m_curl;
};

} // namespace kestro
