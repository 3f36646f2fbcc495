#include "catalogue.h"

#include <atomic>

#include "database.h"
#include "pricing.h"
#include "search.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <iterator>

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
    "s.digeradi, s.dpkod, s.birim, s.anagrup, s.ozelkod, s.eldeki, s.pkod, s.alinansiparis, s.verilensiparis ";

// The index keys stocks by their place in code order, so its matches arrive in
// answer order: no sort, and reading stops at the row cap.
const char *ftsSearch =
    "FROM stok_ara JOIN stoklar s ON s.sira = stok_ara.rowid WHERE stok_ara MATCH ? "
    "ORDER BY stok_ara.rowid LIMIT ?";

double accountDiscount(int carino)
{
    if (Db::isPostgres())
        return scalar(QStringLiteral("SELECT indirim FROM cariler WHERE carino = ?"), {carino}, 0.0).toDouble();
    ReadQuery q("SELECT indirim FROM cariler WHERE carino = ?", {carino});
    return q.next() ? sqlite3_column_double(q.statement(), 0) : 0.0;
}

// Positions in stockSelect (sOem1 to sOzelkod: the eleven texts from oem1 to ozelkod).
enum Src {
    sStokno, sBarkod, sAdi, sMarka, sModel, sFinishkod, sKdv, sKampanya, sYeni, sFiyat, sKampfiyat, sEkindirim,
    sDurum, sResim, sOem1, sOzelkod = sOem1 + 10, sEldeki, sPkod, sAlinan, sVerilen
};

// The text columns of stockSelect and the result column each one fills.
constexpr int textSources[] = {sBarkod, sAdi, sMarka, sModel, sFinishkod, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, sPkod};
constexpr int textTargets[] = {1, 2, 3, 4, 5, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 35};
static_assert(std::size(textSources) == std::size(textTargets));

// Database text is UTF-8, as the column keeps it.
void appendCell(TextStore &out, const char *p, size_t n) { out.appendUtf8(p, n); }

struct SqliteSource
{
    sqlite3_stmt *st;
    qint64 integer(int i) const { return sqlite3_column_int64(st, i); }
    double real(int i) const { return sqlite3_column_double(st, i); }
    bool isNull(int i) const { return sqlite3_column_type(st, i) == SQLITE_NULL; }
    void text(int i, TextStore &out) const
    {
        const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(st, i));
        appendCell(out, p ? p : "", p ? size_t(sqlite3_column_bytes(st, i)) : 0);
    }
};

struct QtSource
{
    QSqlQuery &q;
    qint64 integer(int i) const { return q.value(i).toLongLong(); }
    double real(int i) const { return q.value(i).toDouble(); }
    bool isNull(int i) const { return q.value(i).isNull(); }
    void text(int i, TextStore &out) const { out.push_back(q.value(i).toString()); }
};

// The result table filled row by row straight from the query, priced for one
// account: the rows arrive in answer order, so nothing is kept in between.
class StockTableBuilder
{
public:
    StockTableBuilder(int carino, int userType)
        : m_cariInd(accountDiscount(carino)), m_userType(userType), m_staff(userType == 1 || userType == 2),
          m_t(emptyTable(stockColumns()))
    {
    }

    template<typename Source>
    void add(const Source &src)
    {
        const qint64 stokno = src.integer(sStokno);
        const int kdv = int(src.integer(sKdv));
        const double fiyat = src.real(sFiyat), kampfiyat = src.real(sKampfiyat), ekindirim = src.real(sEkindirim);
        const AccountPrice p = accountPrice(fiyat, kampfiyat, src.integer(sKampanya) > 0, ekindirim, m_cariInd, m_userType);
        const UnitAmounts a = unitAmounts(p.fiyat, p.ind, kdv);
        const double effective = 100.0 - (p.fiyat > 0 ? a.net / p.fiyat * 100.0 : 100.0);
        I(0).push_back(stokno);
        I(6).push_back(kdv);
        I(7).push_back(p.k);
        I(8).push_back(src.integer(sYeni));
        F(9).push_back(p.fiyat);
        F(10).push_back(a.net);
        F(11).push_back(a.kdvdahil);
        F(12).push_back(fiyat);
        F(13).push_back(p.k ? kampfiyat : 0.0);
        F(14).push_back(fiyat);
        for (int k = 0; k < 4; ++k)
            F(15 + k).push_back(p.ind[size_t(k)]);
        F(19).push_back(std::round(effective * 100.0) / 100.0);
        S(20).push_back(p.k ? QStringView(m_net) : QStringView(rateText(ekindirim, p.ind)));
        I(21).push_back(src.integer(sDurum));
        I(22).push_back(src.isNull(sResim) ? 0 : 1);
        // Stock on hand and order quantities are the distributor's own figures: staff only.
        F(34).push_back(m_staff ? src.real(sEldeki) : 0.0);
        F(36).push_back(m_staff ? src.real(sAlinan) : 0.0);
        F(37).push_back(m_staff ? src.real(sVerilen) : 0.0);
        for (size_t k = 0; k < std::size(textSources); ++k)
            src.text(textSources[k], S(textTargets[k]));
        const QByteArrayView code = S(1).utf8(size_t(m_rows));
        S(38).appendUtf8(code.data(), size_t(code.size()));
        ++m_rows;
    }

    DataSet finish()
    {
        for (int c = 0; c < m_t.fieldCount(); ++c)
            m_t.column(c).nulls.assign(size_t(m_rows), 0);
        m_t.finishBulkLoad(m_rows);
        m_t.first();
        return std::move(m_t);
    }

private:
    std::vector<qint64> &I(int c) { return m_t.column(c).ints; }
    std::vector<double> &F(int c) { return m_t.column(c).reals; }
    TextStore &S(int c) { return m_t.column(c).texts; }

    // The discount text depends only on the stock's own rate here (the account's is fixed).
    const QString &rateText(double ekindirim, const Rates &ind)
    {
        for (const auto &e : m_rateTexts)
            if (e.first == ekindirim)
                return e.second;
        m_rateTexts.emplace_back(ekindirim, indirimYazi(ind));
        return m_rateTexts.back().second;
    }

    const double m_cariInd;
    const int m_userType;
    const bool m_staff;
    DataSet m_t;
    int m_rows = 0;
    const QString m_net = QStringLiteral("Net");
    std::deque<std::pair<double, QString>> m_rateTexts; // stable references
};

DataSet readStockTable(const QString &sql, const QVariantList &binds, int carino, int userType)
{
    StockTableBuilder b(carino, userType);
    if (Db::isPostgres()) {
        QSqlQuery q = run(sql, binds);
        const QtSource src{q};
        while (q.next())
            b.add(src);
        return b.finish();
    }
    ReadQuery q(sql.toUtf8().constData(), binds);
    const SqliteSource src{q.statement()};
    while (q.next())
        b.add(src);
    return b.finish();
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
    return readStockTable(QString::fromLatin1(stockSelect) + QStringLiteral("FROM stoklar s ") + where + QLatin1Char(' ')
                              + orderLimit,
                          binds, carino, userType);
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
        return stockTable(where, binds, carino, userType, QStringLiteral("ORDER BY s.barkod, s.stokno LIMIT %1").arg(SearchRowCap()));
    }
    static const QString sql = QString::fromLatin1(stockSelect) + QString::fromLatin1(ftsSearch);
    return readStockTable(sql, {ftsExpression(words), SearchRowCap()}, carino, userType);
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
