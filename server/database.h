// Database access: one connection per thread, bound queries, transactions, migrations.
#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <cstdint>

struct sqlite3_stmt;

namespace kestro::server {

struct DbConfig
{
    QString sqlitePath;   // used when postgres is empty
    QString postgres;     // libpq connection string "host=... dbname=... user=..."
};

class Db
{
public:
    static void configure(const DbConfig &cfg);
    static bool isPostgres();
    static bool hasFts();
    // This thread's connection, opened on first use.
    static QSqlDatabase connection();
};

// A read query on this thread's second, read-only SQLite connection, through
// the C API: for hot reads where Qt SQL's per-cell QVariants cost more than
// the query itself. Statements are prepared once per thread; the destructor
// resets it, so no read transaction outlives the call. SQLite only.
class ReadQuery
{
public:
    ReadQuery(const char *sql, const QVariantList &binds = {});
    ~ReadQuery();
    ReadQuery(const ReadQuery &) = delete;
    ReadQuery &operator=(const ReadQuery &) = delete;

    bool next(); // false after the last row; a failure raises ApiError 500
    sqlite3_stmt *statement() const { return m_stmt; }

private:
    sqlite3_stmt *m_stmt;
};

// A value ready to bind: null texts become empty texts.
QVariant bindable(const QVariant &v);

// Runs a statement with bound values; a database failure raises ApiError 500.
QSqlQuery run(const QString &sql, const QVariantList &binds = {});
// The first column of the first row, or `fallback` when there is no row.
QVariant scalar(const QString &sql, const QVariantList &binds = {}, const QVariant &fallback = {});

// A write transaction on this thread's connection; rolls back unless committed.
class Transaction
{
public:
    Transaction();
    ~Transaction();
    void commit();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

private:
    bool m_open = false;
};

// Brings the schema to the current version; answers true when the database was empty.
bool migrate();
int schemaVersion();

// Gives every stock its place in code order (stoklar.sira: binary order of
// barkod, then stokno) and rebuilds the search index keyed by that place, so
// matches come out of the index already in answer order. Run inside a
// transaction after stocks are added or their codes or search texts change.
void renumberStocks();

} // namespace kestro::server
