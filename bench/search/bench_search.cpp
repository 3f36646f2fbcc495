// Search benchmark: a kestro-server with 100,000 stocks, 1/8/32 concurrent
// clients calling StokAraGetirVosk, and the same FTS5 query run directly on
// the database file through SQLite's C API; prints q/s, p50/p99 and the
// ratio of the server's p50 to the direct one.
//
//   bench_search [stocks [text...]]   (default 100000 stocks, four typical texts)
#include "connection.h"
#include "proxy.h"
#include "search.h"
#include "testserver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

using namespace kestro;

namespace {

struct Stats
{
    double p50 = 0, p99 = 0, qps = 0;
    size_t rows = 0;
};

Stats summarise(std::vector<double> ms, double wallMs, size_t rows)
{
    std::sort(ms.begin(), ms.end());
    Stats s;
    s.p50 = ms[ms.size() / 2];
    s.p99 = ms[std::min(ms.size() - 1, size_t(ms.size() * 0.99))];
    s.qps = ms.size() / (wallMs / 1000.0);
    s.rows = rows;
    return s;
}

// The direct reference: the search's FTS5 query on SQLite's C API (mapped
// pages, as the server reads), the same rows in the same order (the index is
// keyed by each stock's place in code order), every value of every row fetched.
Stats direct(const QString &dbPath, const QString &text, int repeats)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(dbPath).constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(dbPath));
        std::exit(1);
    }
    sqlite3_exec(db, "PRAGMA mmap_size=1073741824", nullptr, nullptr, nullptr);
    sqlite3_stmt *st = nullptr;
    const char *sql =
        "SELECT s.stokno, s.barkod, s.adi, s.marka, s.model, s.finishkod, s.kdv, s.kampanya, s.yeni, s.fiyat, "
        "s.kampfiyat, s.ekindirim, s.durum, s.resim_no, s.oem1, s.oem2, s.oem3, s.oem4, s.oemno, s.ureticikodu, "
        "s.digeradi, s.dpkod, s.birim, s.anagrup, s.ozelkod, s.eldeki, s.pkod, s.alinansiparis, s.verilensiparis "
        "FROM stok_ara JOIN stoklar s ON s.sira = stok_ara.rowid WHERE stok_ara MATCH ? "
        "ORDER BY stok_ara.rowid LIMIT 10000";
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
    const QByteArray expr = server::ftsExpression(server::searchWords(text)).toUtf8();
    std::vector<double> ms;
    size_t rows = 0;
    QElapsedTimer wall;
    wall.start();
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer t;
        t.start();
        sqlite3_bind_text(st, 1, expr.constData(), int(expr.size()), SQLITE_STATIC);
        rows = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int c = 0; c < 29; ++c) {
                if (sqlite3_column_type(st, c) == SQLITE_TEXT) {
                    sqlite3_column_text(st, c);
                    sqlite3_column_bytes(st, c);
                } else {
                    sqlite3_column_double(st, c);
                }
            }
            ++rows;
        }
        sqlite3_reset(st);
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    const double w = wall.nsecsElapsed() / 1e6;
    sqlite3_finalize(st);
    sqlite3_close(db);
    return summarise(ms, w, rows);
}

Stats viaServer(const test::TestServer &srv, const TSonucBilgisi &session, const QString &text, int clients, int perClient)
{
    std::vector<std::vector<double>> per{size_t(clients)};
    std::atomic<size_t> rows{0};
    QElapsedTimer wall;
    wall.start();
    std::vector<std::thread> threads;
    for (int c = 0; c < clients; ++c) {
        threads.emplace_back([&, c] {
            ServerConnection conn;
            srv.configure(conn);
            conn.open();
            TServerMethods1Client proxy(conn);
            for (int i = 0; i < perClient; ++i) {
                QElapsedTimer t;
                t.start();
                DataSet d = proxy.StokAraGetirVosk(text, session.kopyasi());
                per[size_t(c)].push_back(t.nsecsElapsed() / 1e6);
                rows = size_t(d.rowCount());
            }
        });
    }
    for (auto &t : threads)
        t.join();
    std::vector<double> all;
    for (auto &v : per)
        all.insert(all.end(), v.begin(), v.end());
    return summarise(all, wall.nsecsElapsed() / 1e6, rows);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int stocks = argc > 1 ? std::atoi(argv[1]) : 100000;
    test::TestServer::Options opt;
    opt.seedStocks = stocks;
    opt.startTimeoutMs = 600000;
    test::TestServer srv(opt);
    QElapsedTimer seed;
    seed.start();
    if (!srv.start()) {
        std::fprintf(stderr, "%s\n", qPrintable(srv.lastError()));
        return 1;
    }
    std::printf("server with %d stocks ready in %.1f s (%d hardware threads)\n", stocks, seed.elapsed() / 1000.0,
                int(std::thread::hardware_concurrency()));
    srv.registerMachine(QStringLiteral("BENCH-PC"), QStringLiteral("BAYI"));
    TSonucBilgisi session;
    {
        ServerConnection c;
        srv.configure(c);
        c.open();
        TServerMethods1Client p(c);
        session.Kopyala(*p.BuyukGetir(QStringLiteral("BENCH-PC")));
    }
    QString oem;
    {
        ServerConnection c;
        srv.configure(c);
        c.open();
        TServerMethods1Client p(c);
        DataSet d = p.StokAraGetirVosk(QStringLiteral("16-07"), session.kopyasi());
        oem = d.rowCount() ? d.asString(0, d.fieldIndex(QStringLiteral("OEM1"))) : QStringLiteral("1607");
    }
    QStringList texts = {oem, QStringLiteral("BOSCH FREN"), QStringLiteral("AMORTISOR"), QStringLiteral("FILTRESI")};
    if (argc > 2) {
        texts.clear();
        for (int i = 2; i < argc; ++i)
            texts << QString::fromLocal8Bit(argv[i]);
    }
    std::printf("%-14s %6s | %9s %9s | %7s %9s %9s %9s | %9s\n", "query", "rows", "direct50", "direct99", "clients",
                "q/s", "p50 ms", "p99 ms", "p50/dir");
    for (const QString &t : texts) {
        const Stats d = direct(srv.databasePath(), t, 30);
        for (int clients : {1, 8, 32}) {
            const int per = std::max(4, 120 / clients);
            const Stats s = viaServer(srv, session, t, clients, per);
            std::printf("%-14s %6zu | %9.2f %9.2f | %7d %9.1f %9.2f %9.2f | %9.2f\n", qPrintable(t.left(14)), s.rows,
                        d.p50, d.p99, clients, s.qps, s.p50, s.p99, s.p50 / d.p50);
            std::fflush(stdout);
        }
    }
    return 0;
}
