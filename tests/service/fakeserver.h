// A loopback stand-in for the application server that answers each method
// with a result of its kind and records what it received; faults on request.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QJsonArray>
#include <QMutex>
#include <QString>

#include <functional>
#include <memory>
#include <thread>

namespace httplib { class Server; }

class FakeServer
{
public:
    enum class Fault { None, Slow, CloseMidAnswer, Malformed, WrongRecord, ShortStream, HttpError };

    explicit FakeServer(int port = 0); // 0: any free port
    ~FakeServer();
    int port() const { return m_port; }

    void setFault(const QString &method, Fault f);
    // Parameters of the last call of a method.
    QJsonArray lastParameters(const QString &method) const;
    int callCount(const QString &method) const;
    int platformNameCalls() const;

private:
    QByteArray answer(const QString &method, const QJsonArray &params);
    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
    int m_port = 0;
    mutable QMutex m_mutex;
    QHash<QString, Fault> m_faults;
    QHash<QString, QJsonArray> m_params;
    QHash<QString, int> m_calls;
    int m_platformCalls = 0;
};
