// The main path from search through cart to order on PostgreSQL. Runs against
// KESTRO_TEST_POSTGRES (a libpq string of a role that may create databases) or
// the local server's default socket; skipped when neither answers.
#include "connection.h"
#include "proxy.h"
#include "testserver.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTcpServer>
#include <QThread>
#include <QtTest>

using namespace kestro;

namespace {

QString adminConninfo()
{
    const QString env = qEnvironmentVariable("KESTRO_TEST_POSTGRES");
    return env.isEmpty() ? QStringLiteral("host=/var/run/postgresql dbname=postgres") : env;
}

// The connection string with dbname replaced.
QString withDatabase(const QString &conninfo, const QString &dbname)
{
    QStringList parts;
    for (const QString &p : conninfo.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        if (!p.startsWith(QLatin1String("dbname=")))
            parts << p;
    parts << QStringLiteral("dbname=") + dbname;
    return parts.join(QLatin1Char(' '));
}

bool openAdmin(QSqlDatabase &db, const QString &conninfo)
{
    db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("admin"));
    QStringList rest;
    for (const QString &p : conninfo.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString key = p.section(QLatin1Char('='), 0, 0), value = p.section(QLatin1Char('='), 1);
        if (key == QLatin1String("host")) db.setHostName(value);
        else if (key == QLatin1String("port")) db.setPort(value.toInt());
        else if (key == QLatin1String("dbname")) db.setDatabaseName(value);
        else if (key == QLatin1String("user")) db.setUserName(value);
        else if (key == QLatin1String("password")) db.setPassword(value);
        else rest << p;
    }
    db.setConnectOptions(rest.join(QLatin1Char(';')) + QStringLiteral(";connect_timeout=3"));
    return db.open();
}

} // namespace

class TestPostgres : public QObject
{
    Q_OBJECT

    QString m_admin;
    QString m_dbname;
    QString m_conninfo;
    QProcess m_server;
    int m_port = 0;

    void configure(ServerConnection &c) const
    {
        c.HostName = QStringLiteral("127.0.0.1");
        c.Port = QString::number(m_port);
    }

    bool runCommand(const QStringList &args)
    {
        QProcess p;
        p.start(test::TestServer::serverBinary(), args);
        return p.waitForFinished(300000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }

private slots:
    void initTestCase()
    {
        if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
            QSKIP("Qt's PostgreSQL driver is not installed");
        m_admin = adminConninfo();
        {
            QSqlDatabase db;
            if (!openAdmin(db, m_admin))
                QSKIP(qPrintable(QStringLiteral("no PostgreSQL server: %1").arg(db.lastError().text())));
            m_dbname = QStringLiteral("kestro_test_%1").arg(QCoreApplication::applicationPid());
            QSqlQuery q(db);
            QVERIFY2(q.exec(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(m_dbname)), qPrintable(q.lastError().text()));
            QVERIFY2(q.exec(QStringLiteral("CREATE DATABASE %1").arg(m_dbname)), qPrintable(q.lastError().text()));
        }
        m_conninfo = withDatabase(m_admin, m_dbname);
        // The first command migrates and seeds the new database.
        QVERIFY(runCommand({QStringLiteral("register"), QStringLiteral("--postgres"), m_conninfo,
                            QStringLiteral("--seed-stocks"), QStringLiteral("300"), QStringLiteral("--machine-id"),
                            QStringLiteral("PG-BAYI"), QStringLiteral("--user"), QStringLiteral("BAYI")}));
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        m_port = probe.serverPort();
        probe.close();
        m_server.start(test::TestServer::serverBinary(),
                       {QStringLiteral("--postgres"), m_conninfo, QStringLiteral("--listen"), QStringLiteral("127.0.0.1"),
                        QStringLiteral("--port"), QString::number(m_port), QStringLiteral("--threads"), QStringLiteral("4")});
        QVERIFY(m_server.waitForStarted());
        QDeadlineTimer deadline(30000);
        bool up = false;
        while (!up && !deadline.hasExpired() && m_server.state() == QProcess::Running) {
            ServerConnection c;
            configure(c);
            c.connectTimeoutMs = 500;
            try {
                c.open();
                up = true;
            } catch (...) {
                QThread::msleep(50);
            }
        }
        QVERIFY2(up, m_server.readAllStandardError().constData());
    }

    void cleanupTestCase()
    {
        if (m_server.state() != QProcess::NotRunning) {
            m_server.kill();
            m_server.waitForFinished();
        }
        if (m_dbname.isEmpty())
            return;
        {
            QSqlDatabase db = QSqlDatabase::database(QStringLiteral("admin"));
            QSqlQuery q(db);
            q.exec(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(m_dbname));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("admin"));
    }

    void searchCartOrder()
    {
        ServerConnection conn;
        configure(conn);
        conn.open();
        TServerMethods1Client c(conn);
        TSonucBilgisi bayi;
        bayi.Kopyala(*c.BuyukGetir(QStringLiteral("PG-BAYI")));
        QVERIFY(bayi.Varmi());

        // The search without FTS: folded words as prefixes, punctuation ignored.
        for (const QString &text : {QStringLiteral("yağ filtresi"), QStringLiteral("16.07")}) {
            const DataSet found = c.StokAraGetirVosk(text, bayi.kopyasi());
            QVERIFY2(found.rowCount() > 0, qPrintable(text));
        }
        QCOMPARE(c.StokAraGetirVosk(QStringLiteral("' OR 1=1; --"), bayi.kopyasi()).rowCount(), 0);

        c.SepetHepsiniSil(bayi.kopyasi());
        DataSet s = c.StokAraGetirVosk(QStringLiteral("FREN BALATASI"), bayi.kopyasi());
        QVERIFY(s.rowCount() >= 1);
        s.first();
        const int stokno = int(s.fieldInt(QStringLiteral("STOK_STOKNO")));
        const int kdv = int(s.fieldInt(QStringLiteral("KDV")));
        const double fiyat = s.fieldDouble(QStringLiteral("FIYAT"));
        QCOMPARE(c.SepetEkle2(bayi.kopyasi(), bayi.CARINO(), stokno, s.fieldString(QStringLiteral("BARKOD")),
                              s.fieldString(QStringLiteral("ADI")), 2, kdv, fiyat, 0, bayi.Sirano(), 0, 0, 0, 0),
                 1);
        DataSet cart = c.SepetVer2(bayi.CARINO());
        QCOMPARE(cart.rowCount(), 1);
        QCOMPARE(cart.fieldDouble(QStringLiteral("MIKTAR")), 2.0);
        QCOMPARE(cart.fieldDouble(QStringLiteral("BIRIMFIYAT")), fiyat);
        c.SepetSecimGuncelle(int(cart.fieldInt(QStringLiteral("SIRANO"))), 1);

        const int before = c.OncekiSiparisler(bayi.CARINO()).rowCount();
        QVERIFY(c.SiparisKaydet(bayi.kopyasi(), bayi.CARINO(), 1, 1, QStringLiteral("pg 'not'"), bayi.Sirano(), 1));
        QCOMPARE(c.SepetVer2(bayi.CARINO()).rowCount(), 0);
        DataSet orders = c.OncekiSiparisler(bayi.CARINO());
        QCOMPARE(orders.rowCount(), before + 1);
        orders.first();
        QCOMPARE(orders.fieldString(QStringLiteral("VERENINNOTU")), QStringLiteral("pg 'not'"));
        DataSet lines = c.SiparisAyrintisi2(bayi.CARINO(), int(orders.fieldInt(QStringLiteral("IDNO"))));
        QCOMPARE(lines.rowCount(), 1);
        QCOMPARE(int(lines.fieldInt(QStringLiteral("STOK_STOKNO"))), stokno);
        QCOMPARE(cart.fieldDouble(QStringLiteral("NETTUTAR")), lines.fieldDouble(QStringLiteral("NETTUTAR")));
    }
};

QTEST_GUILESS_MAIN(TestPostgres)
#include "tst_postgres.moc"
