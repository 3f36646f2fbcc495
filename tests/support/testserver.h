// A real kestro-server for tests: its own loopback port and a fresh SQLite database.
//
//   kestro::test::TestServer server;          // nothing runs yet
//   QVERIFY2(server.start(), qPrintable(server.lastError()));
//   server.registerMachine("TEST-PC-1", "BAYI"); // bind an identity to a demonstration user
//   kestro::ServerConnection c;
//   server.configure(c);                       // HostName and Port of this server
//   c.open();  kestro::TServerMethods1Client proxy(c);  ...
//
// The demonstration data is the server's own (users BAYI type 3, BAYI4 type 4,
// TEMSILCI type 1, YETKILI type 2, PASIF inactive; password 1234), seeded with
// few stocks for speed. Seeding runs once per test process into a template
// file; every start copies it, so each server begins with the same data.
// The destructor kills the process and removes the database.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace kestro {
class ServerConnection;
}

namespace kestro::test {

class TestServer
{
public:
    struct Options
    {
        int seedStocks = 300;      // stocks of the demonstration catalogue
        int expectedVersion = 2;   // the server's --expected-version
        QStringList extraArgs;     // further command line options
        int startTimeoutMs = 30000;
    };

    TestServer();
    explicit TestServer(const Options &options);
    ~TestServer();
    TestServer(const TestServer &) = delete;
    TestServer &operator=(const TestServer &) = delete;

    // Starts the server and waits until GetPlatformName answers. False with lastError() on failure.
    bool start();
    // Kills the server (the database stays until destruction); start() runs it again on the same data.
    void stop();
    bool running() const;

    // Binds a machine identity to a user with the server's register command.
    bool registerMachine(const QString &machineId, const QString &userName);

    QString host() const { return QStringLiteral("127.0.0.1"); }
    int port() const { return m_port; }
    QString baseUrl() const; // "http://127.0.0.1:PORT/"
    QString databasePath() const;
    QString lastError() const { return m_error; }
    // The server's standard error so far (for failure messages).
    QString serverLog() const;

    // Points a client connection at this server.
    void configure(ServerConnection &connection) const;

    static QString serverBinary();

private:
    bool prepareDatabase();
    Options m_options;
    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_process;
    int m_port = 0;
    QString m_error;
    bool m_prepared = false;
};

} // namespace kestro::test
