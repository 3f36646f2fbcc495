#include "catalogue.h"

#include <atomic>

#include "database.h"
#include "pricing.h"
#include "search.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <string_view>

namespace kestro::server {

static std::atomic<int> searchRowCap{DefaultSearchRowCap};
int SearchRowCap() { return searchRowCap; }
void setSearchRowCap(int rows) { searchRowCap = std::max(1, rows); }

namespace {

constexpr FieldType I = FieldType::Int32;
constexpr FieldType F = FieldType::Float;
constexpr FieldType S = FieldType::WideString;

const char *stockSelect =
    "SELECT s.stokno, s.barkod, s.adi, s.marka, s.model, s.finishkod, s.kdv, s.kampanya, s.yeni, s.fiyat, "
    "s.kampfiyat, s.ekindirim, s.durum, s.resim_no, s.oem1, s.oem2, s.oem3, s.oem4, s.oemno, s.ureticikodu, "
    "s.digeradi, s.dpkod, s.birim, s.anagrup, s.ozelkod, s.eldeki, s.pkod, s.alinansiparis, s.verilensiparis "
    "FROM stoklar s ";

double accountDiscount(int carino)
{
    return scalar(QStringLiteral("SELECT indirim FROM cariler WHERE carino = ?"), {carino}, 0.0).toDouble();
}

// Positions in stockSelect (sOem1 to sOzelkod: the eleven texts from oem1 to ozelkod).
enum Src {
    sStokno, sBarkod, sAdi, sMarka, sModel, sFinishkod, sKdv, sKampanya, sYeni, sFiyat, sKampfiyat, sEkindirim,
    sDurum, sResim, sOem1, sOzelkod = sOem1 + 10, sEldeki, sPkod, sAlinan, sVerilen
};

// The text columns of stockSelect, in the order they are kept.
constexpr int textSources[] = {sBarkod, sAdi, sMarka, sModel, sFinishkod, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, sPkod};
constexpr int textCount = int(sizeof textSources / sizeof textSources[0]);

// The selected stocks as read, texts as UTF-8 in one buffer: no per-cell objects
// between the database and the result columns.
struct StockRows
{
    struct Row
    {
        qint64 stokno;
        int kdv, kampanya, yeni, durum;
        bool resim;
        double fiyat, kampfiyat, ekindirim, eldeki, alinan, verilen;
        std::array<std::pair<quint32, quint32>, textCount> text; // offset and length in `chars`
    };
    std::vector<Row> rows;
    std::string chars;

    std::string_view text(const Row &r, int i) const
    {
        return std::string_view(chars.data() + r.text[size_t(i)].first, r.text[size_t(i)].second);
    }

    // Reads one row from `src`, which answers integer(i), real(i), isNull(i) and utf8(i, out).
    template<typename Source>
    void add(const Source &src)
    {
        Row r;
        r.stokno = src.integer(sStokno);
        r.kdv = int(src.integer(sKdv));
        r.kampanya = int(src.integer(sKampanya));
        r.yeni = int(src.integer(sYeni));
        r.durum = int(src.integer(sDurum));
        r.resim = !src.isNull(sResim);
        r.fiyat = src.real(sFiyat);
        r.kampfiyat = src.real(sKampfiyat);
        r.ekindirim = src.real(sEkindirim);
        r.eldeki = src.real(sEldeki);
        r.alinan = src.real(sAlinan);
        r.verilen = src.real(sVerilen);
        for (int i = 0; i < textCount; ++i) {
            const size_t at = chars.size();
            src.utf8(textSources[i], chars);
            r.text[size_t(i)] = {quint32(at), quint32(chars.size() - at)};
        }
        rows.push_back(r);
    }
};

struct SqliteSource
{
    sqlite3_stmt *st;
    qint64 integer(int i) const { return sqlite3_column_int64(st, i); }
    double real(int i) const { return sqlite3_column_double(st, i); }
    bool isNull(int i) const { return sqlite3_column_type(st, i) == SQLITE_NULL; }
    void utf8(int i, std::string &out) const
    {
        const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(st, i));
        if (p)
            out.append(p, size_t(sqlite3_column_bytes(st, i)));
    }
};

struct QtSource
{
    QSqlQuery &q;
    qint64 integer(int i) const { return q.value(i).toLongLong(); }
    double real(int i) const { return q.value(i).toDouble(); }
    bool isNull(int i) const { return q.value(i).isNull(); }
    void utf8(int i, std::string &out) const
    {
        const QByteArray u = q.value(i).toString().toUtf8();
        out.append(u.constData(), size_t(u.size()));
    }
};

StockRows readStocks(const QString &sql, const QVariantList &binds)
{
    StockRows out;
    if (Db::isPostgres()) {
        QSqlQuery q = run(sql, binds);
        const QtSource src{q};
        while (q.next())
            out.add(src);
        return out;
    }
    ReadQuery q(sql.toUtf8().constData(), binds);
    const SqliteSource src{q.statement()};
    while (q.next())
        out.add(src);
    return out;
}

// The result table of `order` (indexes into rows), priced for the account.
DataSet stockTable(const StockRows &in, const std::vector<quint32> &order, int carino, int userType)
{
    const double cariInd = accountDiscount(carino);
    const bool staff = userType == 1 || userType == 2;
    const int n = int(order.size());
    DataSet t = emptyTable(stockColumns());
    const int cols = t.fieldCount();
    for (int c = 0; c < cols; ++c) {
        DataSet::Column &col = t.column(c);
        col.nulls.assign(size_t(n), 0);
        switch (col.storage()) {
        case DataSet::Storage::Int: col.ints.reserve(size_t(n)); break;
        case DataSet::Storage::Real: col.reals.reserve(size_t(n)); break;
        default: col.texts.reserve(size_t(n)); break;
        }
    }
    auto I = [&](int c) -> std::vector<qint64> & { return t.column(c).ints; };
    auto F = [&](int c) -> std::vector<double> & { return t.column(c).reals; };
    auto S = [&](int c) -> TextStore & { return t.column(c).texts; };
    // Result column of each kept text.
    static constexpr int textTargets[textCount] = {1, 2, 3, 4, 5, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 35};
    // The discount text depends only on the stock's own rate here (the account's is fixed).
    std::vector<std::pair<double, QString>> rateTexts;
    const QString net = QStringLiteral("Net");

    for (const quint32 i : order) {
        const StockRows::Row &r = in.rows[i];
        const AccountPrice p = accountPrice(r.fiyat, r.kampfiyat, r.kampanya > 0, r.ekindirim, cariInd, userType);
        const UnitAmounts a = unitAmounts(p.fiyat, p.ind, r.kdv);
        const double effective = 100.0 - (p.fiyat > 0 ? a.net / p.fiyat * 100.0 : 100.0);
        I(0).push_back(r.stokno);
        I(6).push_back(r.kdv);
        I(7).push_back(p.k);
        I(8).push_back(r.yeni);
        F(9).push_back(p.fiyat);
        F(10).push_back(a.net);
        F(11).push_back(a.kdvdahil);
        F(12).push_back(r.fiyat);
        F(13).push_back(p.k ? r.kampfiyat : 0.0);
        F(14).push_back(r.fiyat);
        for (int k = 0; k < 4; ++k)
            F(15 + k).push_back(p.ind[size_t(k)]);
        F(19).push_back(std::round(effective * 100.0) / 100.0);
        if (p.k) {
            S(20).push_back(net);
        } else {
            auto it = std::find_if(rateTexts.begin(), rateTexts.end(), [&](const auto &e) { return e.first == r.ekindirim; });
            if (it == rateTexts.end()) {
                rateTexts.emplace_back(r.ekindirim, indirimYazi(p.ind));
                it = rateTexts.end() - 1;
            }
            S(20).push_back(it->second);
        }
        I(21).push_back(r.durum);
        I(22).push_back(r.resim ? 1 : 0);
        // Stock on hand and order quantities are the distributor's own figures: staff only.
        F(34).push_back(staff ? r.eldeki : 0.0);
        F(36).push_back(staff ? r.alinan : 0.0);
        F(37).push_back(staff ? r.verilen : 0.0);
        for (int k = 0; k < textCount; ++k) {
            const std::string_view v = in.text(r, k);
            S(textTargets[k]).appendUtf8(v.data(), v.size());
        }
        const std::string_view barkod = in.text(r, 0);
        S(38).appendUtf8(barkod.data(), barkod.size());
    }
    t.finishBulkLoad(n);
    t.first();
    return t;
}

std::vector<quint32> inReadOrder(const StockRows &rows)
{
    std::vector<quint32> order(rows.rows.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = quint32(i);
    return order;
}

} // namespace

const std::vector<Col> &stockColumns()
{
    static const std::vector<Col> cols = {
        {"STOK_STOKNO", I}, {"BARKOD", S}, {"ADI", S}, {"MARKA", S}, {"MODEL", S}, {"FINISHKOD", S},
        {"KDV", I}, {"K", I}, {"Y", I}, {"FIYAT", F}, {"NETFIYAT", F}, {"KDVDAHIL", F}, {"LISTEFIYAT1", F},
        {"KAMPFIYAT", F}, {"ESKIFIYAT", F}, {"IND1", F}, {"IND2", F}, {"IND3", F}, {"IND4", F},
        {"INDIRIM", F}, {"INDIRIMYAZI", S}, {"DURUM", I}, {"RESIM", I}, {"OEM1", S}, {"OEM2", S},
        {"OEM3", S}, {"OEM4", S}, {"OEMNO", S}, {"URETICIKODU", S}, {"DIGERADI", S}, {"DPKOD", S},
        {"BIRIM", S}, {"ANAGRUP", S}, {"OZELKOD", S}, {"KALAN", F}, {"PKOD", S}, {"ALINANSIPARIS", F},
        {"VERILENSIPARIS", F}, {"BARKOD_BARKODNO", S}};
    return cols;
}

DataSet stockTable(const QString &where, const QVariantList &binds, int carino, int userType,
                   const QString &orderLimit)
{
    const StockRows rows = readStocks(QString::fromLatin1(stockSelect) + where + QLatin1Char(' ') + orderLimit, binds);
    return stockTable(rows, inReadOrder(rows), carino, userType);
}

DataSet searchStocks(const QString &text, int carino, int userType)
{
    const QStringList words = searchWords(text);
    if (words.isEmpty())
        return stockTable(QString(), {}, carino, userType, QStringLiteral("ORDER BY s.stokno LIMIT %1").arg(EmptySearchRows));
    if (!Db::hasFts()) {
        // Without FTS (PostgreSQL): each word must start a word of the search text.
        QString where = QStringLiteral("WHERE 1=1");
        QVariantList binds;
        for (const QString &w : words) {
            where += QStringLiteral(" AND (' ' || s.arama) LIKE ?");
            binds << QStringLiteral("%% %1%").arg(w);
        }
        return stockTable(where, binds, carino, userType, QStringLiteral("ORDER BY s.barkod LIMIT %1").arg(SearchRowCap()));
    }
    // The matches in rowid order straight from the index, sorted here by code:
    // cheaper than SQLite's sorter, which copies every selected column.
    static const QString sql = QString::fromLatin1(stockSelect)
        + QStringLiteral("WHERE s.stokno IN (SELECT rowid FROM stok_ara WHERE stok_ara MATCH ?)");
    const StockRows rows = readStocks(sql, {ftsExpression(words)});
    std::vector<quint32> order = inReadOrder(rows);
    // Binary order of the UTF-8 codes, as SQLite's ORDER BY barkod; equal codes by stock number.
    auto before = [&](quint32 a, quint32 b) {
        const StockRows::Row &x = rows.rows[a], &y = rows.rows[b];
        const int c = rows.text(x, 0).compare(rows.text(y, 0));
        return c != 0 ? c < 0 : x.stokno < y.stokno;
    };
    if (order.size() > size_t(SearchRowCap())) {
        std::partial_sort(order.begin(), order.begin() + SearchRowCap(), order.end(), before);
        order.resize(size_t(SearchRowCap()));
    } else {
        std::sort(order.begin(), order.end(), before);
    }
    return stockTable(rows, order, carino, userType);
}

void registerCatalogue(Methods &m)
{
    m.add(QStringLiteral("StokAraGetirVosk"), {ArgKind::Text, ArgKind::Session}, [](Call &c) {
        c.addTable(searchStocks(c.text(0), c.user().carino, c.user().tip));
    });
    m.add(QStringLiteral("YenilerVer2"), {ArgKind::Int32}, [](Call &c) {
        c.addTable(stockTable(QStringLiteral("WHERE s.yeni = 1"), {}, c.int32(0), 3,
                              QStringLiteral("ORDER BY s.stokno DESC")));
    });
    m.add(QStringLiteral("KampanyaliVer2"), {ArgKind::Int32, ArgKind::Int32}, [](Call &c) {
        // The caller passes its user type; customers without campaigns get none.
        const int tip = c.int32(1);
        c.addTable(stockTable(QStringLiteral("WHERE s.kampanya > 0 AND s.kampfiyat > 0 AND ? <> 4"), {tip},
                              c.int32(0), tip == 4 ? 4 : 3, QStringLiteral("ORDER BY s.barkod")));
    });
    m.add(QStringLiteral("EnVer"), {ArgKind::Int32}, [](Call &c) {
        const QVariant koli = scalar(QStringLiteral("SELECT koli FROM stoklar WHERE stokno = ?"), {c.int32(0)});
        if (!koli.isValid())
            notFound(QStringLiteral("Stok bulunamadı: %1").arg(c.int32(0)));
        c.addInt(std::max(1, koli.toInt()));
    });
}

} // namespace kestro::server
