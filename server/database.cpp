#include "database.h"

#include "core.h"

#include <QFile>
#include <QMutex>
#include <QSqlError>
#include <QSqlRecord>
#include <QStringList>
#include <QThread>

#include <sqlite3.h>

#include <atomic>
#include <string>
#include <unordered_map>

namespace kestro::server {

namespace {

DbConfig g_config;
std::atomic<int> g_fts{-1};

QString connectionName()
{
    return QStringLiteral("kestro-%1").arg(quintptr(QThread::currentThreadId()));
}

void applyPostgres(QSqlDatabase &db, const QString &conninfo)
{
    QStringList rest;
    for (const QString &part : conninfo.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const int eq = part.indexOf(QLatin1Char('='));
        const QString key = part.left(eq).trimmed();
        const QString value = part.mid(eq + 1).trimmed();
        if (key == QLatin1String("host"))
            db.setHostName(value);
        else if (key == QLatin1String("port"))
            db.setPort(value.toInt());
        else if (key == QLatin1String("dbname"))
            db.setDatabaseName(value);
        else if (key == QLatin1String("user"))
            db.setUserName(value);
        else if (key == QLatin1String("password"))
            db.setPassword(value);
        else
            rest << part;
    }
    if (!rest.isEmpty())
        db.setConnectOptions(rest.join(QLatin1Char(';')));
}

// The schema, one entry per version. Placeholders: %ID% an auto-numbered key,
// %BLOB% a byte column, %REAL% a double.
const char *const migrations[] = {
    // 1: the whole model
    R"SQL(
CREATE TABLE saticilar (satici_no INTEGER PRIMARY KEY, adi TEXT NOT NULL, telefon TEXT NOT NULL, mail TEXT NOT NULL);
CREATE TABLE cariler (carino INTEGER PRIMARY KEY, carikod TEXT NOT NULL UNIQUE, cariadi TEXT NOT NULL,
  satici_no INTEGER NOT NULL, yetkili TEXT, adres1 TEXT, adres2 TEXT, ilce TEXT, il TEXT, ulke TEXT,
  tel1 TEXT, tel2 TEXT, fax1 TEXT, fax2 TEXT, gsm TEXT, email TEXT, vergidairesi TEXT, vergino TEXT,
  ozelkod TEXT, anagrup TEXT, altgrup TEXT, kod1 TEXT, kod2 TEXT, kod3 TEXT, kod4 TEXT, kod5 TEXT,
  indirim %REAL% NOT NULL, vade INTEGER NOT NULL, vadekontrolgun INTEGER NOT NULL, vadekontrolay INTEGER NOT NULL);
CREATE TABLE kullanicilar (sirano INTEGER PRIMARY KEY, adi TEXT NOT NULL UNIQUE, sifre TEXT NOT NULL,
  tip INTEGER NOT NULL, aktif INTEGER NOT NULL, carino INTEGER NOT NULL, satici_no INTEGER NOT NULL, mail TEXT NOT NULL);
CREATE TABLE bilgisayarlar (bilgisayarid TEXT PRIMARY KEY, sirano INTEGER NOT NULL, kayit_tarihi TEXT NOT NULL);
CREATE TABLE resimler (resim_no INTEGER PRIMARY KEY, tip TEXT NOT NULL, veri %BLOB% NOT NULL);
CREATE TABLE stoklar (stokno INTEGER PRIMARY KEY, barkod TEXT NOT NULL, adi TEXT NOT NULL, marka TEXT, model TEXT,
  finishkod TEXT, oem1 TEXT, oem2 TEXT, oem3 TEXT, oem4 TEXT, oemno TEXT, ureticikodu TEXT, digeradi TEXT,
  dpkod TEXT, birim TEXT, anagrup TEXT, ozelkod TEXT, pkod TEXT, kdv INTEGER NOT NULL, fiyat %REAL% NOT NULL,
  kampfiyat %REAL% NOT NULL, ekindirim %REAL% NOT NULL, kampanya INTEGER NOT NULL, yeni INTEGER NOT NULL,
  durum INTEGER NOT NULL, koli INTEGER NOT NULL, eldeki %REAL% NOT NULL, alinansiparis %REAL% NOT NULL,
  verilensiparis %REAL% NOT NULL, resim_no INTEGER, arama TEXT NOT NULL);
CREATE INDEX stoklar_barkod ON stoklar(barkod);
CREATE TABLE sepet (sirano %ID%, carino INTEGER NOT NULL, stokno INTEGER NOT NULL, barkod TEXT NOT NULL,
  stokadi TEXT NOT NULL, miktar %REAL% NOT NULL, birimfiyat %REAL% NOT NULL, kdv INTEGER NOT NULL,
  ind1 %REAL% NOT NULL, ind2 %REAL% NOT NULL, ind3 %REAL% NOT NULL, ind4 %REAL% NOT NULL,
  tutar %REAL% NOT NULL, indirimtutar %REAL% NOT NULL, nettutar %REAL% NOT NULL, netbirimfiyat %REAL% NOT NULL,
  vergitutari %REAL% NOT NULL, sec INTEGER NOT NULL, k INTEGER NOT NULL, verenid INTEGER NOT NULL, tarih TEXT NOT NULL);
CREATE UNIQUE INDEX sepet_hesap_stok ON sepet(carino, stokno);
CREATE TABLE teslim_cinsleri (id INTEGER PRIMARY KEY, adi TEXT NOT NULL);
CREATE TABLE kargo_cinsleri (id INTEGER PRIMARY KEY, adi TEXT NOT NULL);
CREATE TABLE kargo_firmalari (sirano INTEGER PRIMARY KEY, cins_id INTEGER NOT NULL, adi TEXT NOT NULL, uyari TEXT NOT NULL);
CREATE TABLE siparisler (idno %ID%, carino INTEGER NOT NULL, tarih TEXT NOT NULL, saat TEXT NOT NULL,
  teslim_id INTEGER NOT NULL, kargo_id INTEGER NOT NULL, kargofirma_id INTEGER NOT NULL, durum INTEGER NOT NULL,
  verenid INTEGER NOT NULL, verenin_notu TEXT NOT NULL, alan_notu TEXT NOT NULL, satici_notu TEXT NOT NULL,
  tutar %REAL% NOT NULL, indirimtutar %REAL% NOT NULL, nettutar %REAL% NOT NULL, vergi %REAL% NOT NULL);
CREATE INDEX siparisler_cari ON siparisler(carino);
CREATE TABLE siparis_satirlari (sirano %ID%, idno INTEGER NOT NULL, carino INTEGER NOT NULL, stokno INTEGER NOT NULL,
  barkod TEXT NOT NULL, stokadi TEXT NOT NULL, miktar %REAL% NOT NULL, teslimedilen %REAL% NOT NULL,
  kalan %REAL% NOT NULL, ilkfiyat %REAL% NOT NULL, birimfiyat %REAL% NOT NULL, kdv INTEGER NOT NULL,
  ind1 %REAL% NOT NULL, ind2 %REAL% NOT NULL, ind3 %REAL% NOT NULL, ind4 %REAL% NOT NULL,
  tutar %REAL% NOT NULL, indirimtutar %REAL% NOT NULL, nettutar %REAL% NOT NULL, netbirimfiyat %REAL% NOT NULL,
  vergitutari %REAL% NOT NULL, verenid INTEGER NOT NULL);
CREATE INDEX siparis_satirlari_siparis ON siparis_satirlari(idno);
CREATE INDEX siparis_satirlari_cari ON siparis_satirlari(carino, stokno);
CREATE TABLE evraklar (idno %ID%, carino INTEGER NOT NULL, tarih TEXT NOT NULL, turadi TEXT NOT NULL,
  evrakno TEXT NOT NULL, borc %REAL% NOT NULL, alacak %REAL% NOT NULL, aciklama TEXT NOT NULL, vade TEXT NOT NULL,
  siparis_idno INTEGER);
CREATE INDEX evraklar_cari ON evraklar(carino, tarih);
CREATE TABLE fatura_satirlari (id %ID%, idno INTEGER NOT NULL, stokno INTEGER NOT NULL, miktar %REAL% NOT NULL,
  birimfiyat %REAL% NOT NULL, ind1 %REAL% NOT NULL, ind2 %REAL% NOT NULL, kdv INTEGER NOT NULL,
  tutar %REAL% NOT NULL, toplamindirim %REAL% NOT NULL, nettutar %REAL% NOT NULL, vergi %REAL% NOT NULL);
CREATE INDEX fatura_satirlari_evrak ON fatura_satirlari(idno);
CREATE INDEX fatura_satirlari_stok ON fatura_satirlari(stokno);
CREATE TABLE tahsilat_satirlari (id %ID%, idno INTEGER NOT NULL, tarih TEXT NOT NULL, turu TEXT NOT NULL,
  cins TEXT NOT NULL, vade TEXT NOT NULL, tutar %REAL% NOT NULL, aciklama TEXT NOT NULL, evrakno TEXT NOT NULL,
  ref TEXT NOT NULL, saat TEXT NOT NULL);
CREATE INDEX tahsilat_satirlari_evrak ON tahsilat_satirlari(idno);
CREATE TABLE sanalpos (sirano %ID%, idno INTEGER NOT NULL UNIQUE, carino INTEGER NOT NULL, tarih TEXT NOT NULL,
  saat TEXT NOT NULL, tutar %REAL% NOT NULL, kart TEXT NOT NULL, banka TEXT NOT NULL, onaykodu TEXT NOT NULL);
CREATE TABLE duyurular (sirano INTEGER PRIMARY KEY, tur INTEGER NOT NULL, baslik TEXT NOT NULL, arama TEXT NOT NULL,
  resim %BLOB%);
CREATE TABLE bannerlar (no INTEGER PRIMARY KEY, veri %BLOB% NOT NULL);
CREATE TABLE ayarlar (anahtar TEXT PRIMARY KEY, deger TEXT NOT NULL);
CREATE TABLE giden_kutusu (id %ID%, tarih TEXT NOT NULL, tur TEXT NOT NULL, bilgisayarid TEXT NOT NULL,
  baslik TEXT NOT NULL, firma TEXT NOT NULL, alici TEXT NOT NULL, icerik TEXT NOT NULL);
)SQL",
    // 2: each stock's place in code order, the key of the search index
    R"SQL(
ALTER TABLE stoklar ADD COLUMN sira INTEGER;
CREATE UNIQUE INDEX stoklar_sira ON stoklar(sira);
)SQL",
};

QString dialect(QString sql)
{
    const bool pg = Db::isPostgres();
    sql.replace(QLatin1String("%ID%"), pg ? QLatin1String("SERIAL PRIMARY KEY") : QLatin1String("INTEGER PRIMARY KEY AUTOINCREMENT"));
    sql.replace(QLatin1String("%BLOB%"), pg ? QLatin1String("BYTEA") : QLatin1String("BLOB"));
    sql.replace(QLatin1String("%REAL%"), pg ? QLatin1String("DOUBLE PRECISION") : QLatin1String("REAL"));
    return sql;
}

[[noreturn]] void dbFailure(const QSqlError &e)
{
    qWarning("database: %s", qPrintable(e.text()));
    throw ApiError(500, QStringLiteral("Veritabanı hatası: %1").arg(e.text()));
}

// This thread's read-only connection and its prepared statements.
struct ReadConnection
{
    sqlite3 *db = nullptr;
    std::unordered_map<std::string, sqlite3_stmt *> statements;
    ~ReadConnection()
    {
        for (auto &s : statements)
            sqlite3_finalize(s.second);
        sqlite3_close(db);
    }
};

[[noreturn]] void readFailure(sqlite3 *db)
{
    const QString text = QString::fromUtf8(db ? sqlite3_errmsg(db) : "cannot open");
    qWarning("database: %s", qPrintable(text));
    throw ApiError(500, QStringLiteral("Veritabanı hatası: %1").arg(text));
}

sqlite3_stmt *readStatement(const char *sql)
{
    static thread_local ReadConnection rc;
    if (!rc.db) {
        const QByteArray path = QFile::encodeName(g_config.sqlitePath);
        sqlite3 *db = nullptr;
        // No per-connection mutex: the connection never leaves its thread.
        if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
            sqlite3_close(db);
            readFailure(nullptr);
        }
        sqlite3_busy_timeout(db, 10000);
        // Mapped pages are shared by all threads' connections and read without
        // a copy; the catalogue's rows are scattered over the whole file.
        sqlite3_exec(db, "PRAGMA mmap_size=1073741824", nullptr, nullptr, nullptr);
        rc.db = db;
    }
    auto it = rc.statements.find(sql);
    if (it != rc.statements.end())
        return it->second;
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v3(rc.db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK)
        readFailure(rc.db);
    rc.statements.emplace(sql, stmt);
    return stmt;
}

} // namespace

ReadQuery::ReadQuery(const char *sql, const QVariantList &binds) : m_stmt(readStatement(sql))
{
    for (int i = 0; i < binds.size(); ++i) {
        const QVariant &v = binds.at(i);
        int rc;
        switch (v.metaType().id()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::Bool: rc = sqlite3_bind_int64(m_stmt, i + 1, v.toLongLong()); break;
        case QMetaType::Double: rc = sqlite3_bind_double(m_stmt, i + 1, v.toDouble()); break;
        default: {
            const QByteArray u = v.toString().toUtf8();
            rc = sqlite3_bind_text(m_stmt, i + 1, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        }
        }
        if (rc != SQLITE_OK)
            readFailure(sqlite3_db_handle(m_stmt));
    }
}

ReadQuery::~ReadQuery()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

bool ReadQuery::next()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        readFailure(sqlite3_db_handle(m_stmt));
    return false;
}

void Db::configure(const DbConfig &cfg)
{
    // Before SQLite starts: without allocation statistics its allocator takes
    // no global mutex, which the worker threads otherwise contend on.
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    g_config = cfg;
}

bool Db::isPostgres() { return !g_config.postgres.isEmpty(); }

bool Db::hasFts()
{
    int v = g_fts.load();
    if (v < 0) {
        v = 0;
        if (!isPostgres()) {
            QSqlQuery q(connection());
            v = (q.exec(QStringLiteral("SELECT sqlite_compileoption_used('ENABLE_FTS5')")) && q.next()
                 && q.value(0).toInt() == 1) ? 1 : 0;
        }
        g_fts = v;
    }
    return v == 1;
}

QSqlDatabase Db::connection()
{
    const QString name = connectionName();
    if (QSqlDatabase::contains(name)) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen())
            return db;
    }
    QSqlDatabase db;
    if (isPostgres()) {
        db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        applyPostgres(db, g_config.postgres);
    } else {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(g_config.sqlitePath);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    }
    if (!db.open())
        dbFailure(db.lastError());
    if (!isPostgres()) {
        QSqlQuery q(db);
        q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        q.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
        q.exec(QStringLiteral("PRAGMA foreign_keys=ON"));
    }
    return db;
}

QVariant bindable(const QVariant &v)
{
    // A null QString binds as SQL NULL; the columns keep texts as '' instead.
    if (v.metaType().id() == QMetaType::QString && v.toString().isNull())
        return QVariant(QString::fromLatin1(""));
    return v;
}

QSqlQuery run(const QString &sql, const QVariantList &binds)
{
    QSqlQuery q(Db::connection());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        dbFailure(q.lastError());
    for (int i = 0; i < binds.size(); ++i)
        q.bindValue(i, bindable(binds.at(i)));
    if (!q.exec())
        dbFailure(q.lastError());
    return q;
}

QVariant scalar(const QString &sql, const QVariantList &binds, const QVariant &fallback)
{
    QSqlQuery q = run(sql, binds);
    return q.next() ? q.value(0) : fallback;
}

Transaction::Transaction()
{
    // IMMEDIATE takes the write lock at once, so two writers queue on the
    // busy timeout instead of failing when one upgrades a read lock.
    QSqlQuery q(Db::connection());
    if (!q.exec(Db::isPostgres() ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE")))
        dbFailure(q.lastError());
    m_open = true;
}

Transaction::~Transaction()
{
    if (m_open) {
        QSqlQuery q(Db::connection());
        q.exec(QStringLiteral("ROLLBACK"));
    }
}

void Transaction::commit()
{
    QSqlQuery q(Db::connection());
    if (!q.exec(QStringLiteral("COMMIT")))
        dbFailure(q.lastError());
    m_open = false;
}

int schemaVersion()
{
    QSqlQuery q(Db::connection());
    if (!q.exec(QStringLiteral("SELECT surum FROM sema_surumu")) || !q.next())
        return 0;
    return q.value(0).toInt();
}

bool migrate()
{
    QSqlDatabase db = Db::connection();
    {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS sema_surumu (surum INTEGER NOT NULL)")))
            dbFailure(q.lastError());
    }
    const int current = schemaVersion();
    const int target = int(sizeof(migrations) / sizeof(migrations[0]));
    for (int v = current; v < target; ++v) {
        Transaction t;
        for (const QString &stmt : dialect(QString::fromUtf8(migrations[v])).split(QLatin1Char(';'))) {
            if (stmt.trimmed().isEmpty())
                continue;
            QSqlQuery q(db);
            if (!q.exec(stmt))
                dbFailure(q.lastError());
        }
        if (v == 0 && Db::hasFts()) {
            QSqlQuery q(db);
            if (!q.exec(QStringLiteral("CREATE VIRTUAL TABLE stok_ara USING fts5(metin, content='', "
                                       "tokenize=\"unicode61 remove_diacritics 2\")")))
                dbFailure(q.lastError());
        }
        if (v == 1)
            renumberStocks(); // the index was keyed by stokno before
        run(QStringLiteral("DELETE FROM sema_surumu"));
        run(QStringLiteral("INSERT INTO sema_surumu (surum) VALUES (?)"), {v + 1});
        t.commit();
    }
    // Stocks written from outside since the last start have no place yet.
    if (current != 0 && scalar(QStringLiteral("SELECT 1 FROM stoklar WHERE sira IS NULL LIMIT 1")).isValid()) {
        Transaction t;
        renumberStocks();
        t.commit();
    }
    return current == 0;
}

void renumberStocks()
{
    // Cleared first: the unique index refuses a place another stock still holds.
    run(QStringLiteral("UPDATE stoklar SET sira = NULL"));
    run(QStringLiteral("UPDATE stoklar SET sira = r.n FROM (SELECT stokno, ROW_NUMBER() OVER (ORDER BY barkod, stokno) AS n "
                       "FROM stoklar) r WHERE r.stokno = stoklar.stokno"));
    if (!Db::hasFts())
        return;
    run(QStringLiteral("INSERT INTO stok_ara (stok_ara) VALUES ('delete-all')"));
    run(QStringLiteral("INSERT INTO stok_ara (rowid, metin) SELECT sira, arama FROM stoklar"));
}

} // namespace kestro::server
