#include "testserver.h"

#include "connection.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QHostAddress>
#include <QMutex>
#include <QTcpServer>
#include <QThread>

#include <map>

namespace kestro::test {

namespace {

int freePort()
{
    QTcpServer s;
    if (!s.listen(QHostAddress::LocalHost, 0))
        return 0;
    return s.serverPort();
}

// One seeded template per stock count and process.
QString templateFor(int stocks, QString &error)
{
    static QMutex mutex;
    static std::map<int, QString> templates;
    static QTemporaryDir dir;
    QMutexLocker lock(&mutex);
    auto it = templates.find(stocks);
    if (it != templates.end())
        return it->second;
    const QString path = dir.filePath(QStringLiteral("template-%1.sqlite").arg(stocks));
    QProcess p;
    p.start(TestServer::serverBinary(), {QStringLiteral("outbox"), QStringLiteral("--database"), path,
                                         QStringLiteral("--seed-stocks"), QString::number(stocks)});
    if (!p.waitForFinished(120000) || p.exitCode() != 0) {
        error = QStringLiteral("seeding failed: %1").arg(QString::fromUtf8(p.readAllStandardError()));
        return {};
    }
    templates[stocks] = path;
    return path;
}

} // namespace

TestServer::TestServer() : TestServer(Options{}) {}

TestServer::TestServer(const Options &options) : m_options(options) {}

TestServer::~TestServer() { stop(); }

QString TestServer::serverBinary() { return QStringLiteral(KESTRO_SERVER_BIN); }

QString TestServer::databasePath() const { return m_dir.filePath(QStringLiteral("kestro.sqlite")); }

QString TestServer::baseUrl() const { return QStringLiteral("http://127.0.0.1:%1/").arg(m_port); }

bool TestServer::prepareDatabase()
{
    if (m_prepared)
        return true;
    const QString tpl = templateFor(m_options.seedStocks, m_error);
    if (tpl.isEmpty())
        return false;
    if (!QFile::copy(tpl, databasePath())) {
        m_error = QStringLiteral("cannot copy the seeded database");
        return false;
    }
    QFile::setPermissions(databasePath(), QFile::ReadOwner | QFile::WriteOwner);
    m_prepared = true;
    return true;
}

bool TestServer::start()
{
    stop();
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return false;
    }
    if (!prepareDatabase())
        return false;
    for (int attempt = 0; attempt < 5; ++attempt) {
        m_port = freePort();
        m_process = std::make_unique<QProcess>();
        m_process->setProcessChannelMode(QProcess::SeparateChannels);
        QStringList args = {QStringLiteral("--listen"), host(), QStringLiteral("--port"), QString::number(m_port),
                            QStringLiteral("--database"), databasePath(), QStringLiteral("--expected-version"),
                            QString::number(m_options.expectedVersion), QStringLiteral("--threads"), QStringLiteral("8")};
        args += m_options.extraArgs;
        m_process->start(serverBinary(), args);
        if (!m_process->waitForStarted(5000)) {
            m_error = QStringLiteral("cannot start %1").arg(serverBinary());
            return false;
        }
        QDeadlineTimer deadline(m_options.startTimeoutMs);
        while (!deadline.hasExpired() && m_process->state() == QProcess::Running) {
            ServerConnection c;
            configure(c);
            c.connectTimeoutMs = 500;
            try {
                c.open();
                return true;
            } catch (...) {
                QThread::msleep(30);
            }
        }
        m_error = QStringLiteral("the server did not answer: %1").arg(serverLog());
        stop();
        // A port taken between the probe and the start: try another one.
    }
    return false;
}

void TestServer::stop()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
    m_process.reset();
}

bool TestServer::running() const { return m_process && m_process->state() == QProcess::Running; }

QString TestServer::serverLog() const
{
    return m_process ? QString::fromUtf8(m_process->readAllStandardError()) : QString();
}

bool TestServer::registerMachine(const QString &machineId, const QString &userName)
{
    if (!prepareDatabase())
        return false;
    QProcess p;
    p.start(serverBinary(), {QStringLiteral("register"), QStringLiteral("--database"), databasePath(),
                             QStringLiteral("--machine-id"), machineId, QStringLiteral("--user"), userName});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
        m_error = QStringLiteral("register failed: %1").arg(QString::fromUtf8(p.readAllStandardError()));
        return false;
    }
    return true;
}

void TestServer::configure(ServerConnection &connection) const
{
    connection.HostName = host();
    connection.Port = QString::number(m_port);
}

} // namespace kestro::test
