#include "catalogue.h"

#include "database.h"
#include "pricing.h"
#include "search.h"

#include <algorithm>
#include <cmath>

namespace kestro::server {

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
    const double cariInd = accountDiscount(carino);
    QSqlQuery q = run(QString::fromLatin1(stockSelect) + where + QLatin1Char(' ') + orderLimit, binds);
    DataSet t = emptyTable(stockColumns());
    // Direct column writes: this is the search's hot path.
    auto col = [&](int c) -> DataSet::Column & { return t.column(c); };
    int rows = 0;
    const bool staff = userType == 1 || userType == 2;
    while (q.next()) {
        const double liste = q.value(9).toDouble();
        const double kamp = q.value(10).toDouble();
        const bool kampanya = q.value(7).toInt() > 0;
        const AccountPrice p = accountPrice(liste, kamp, kampanya, q.value(11).toDouble(), cariInd, userType);
        const int kdv = q.value(6).toInt();
        const LineAmounts a = tutarHesapla(p.fiyat, 1, p.ind, kdv);
        double effective = 100.0 - (p.fiyat > 0 ? a.nettutar / p.fiyat * 100.0 : 100.0);
        auto putI = [&](int c, qint64 v) { col(c).ints.push_back(v); col(c).nulls.push_back(0); };
        auto putF = [&](int c, double v) { col(c).reals.push_back(v); col(c).nulls.push_back(0); };
        auto putS = [&](int c, const QString &v) { col(c).texts.push_back(v); col(c).nulls.push_back(0); };
        putI(0, q.value(0).toInt());
        putS(1, q.value(1).toString());
        putS(2, q.value(2).toString());
        putS(3, q.value(3).toString());
        putS(4, q.value(4).toString());
        putS(5, q.value(5).toString());
        putI(6, kdv);
        putI(7, p.k);
        putI(8, q.value(8).toInt());
        putF(9, p.fiyat);
        putF(10, a.netbirimfiyat);
        putF(11, a.kdvdahil);
        putF(12, liste);
        putF(13, p.k ? kamp : 0.0);
        putF(14, liste);
        for (int i = 0; i < 4; ++i)
            putF(15 + i, p.ind[size_t(i)]);
        putF(19, std::round(effective * 100.0) / 100.0);
        putS(20, p.k ? QStringLiteral("Net") : indirimYazi(p.ind));
        putI(21, q.value(12).toInt());
        putI(22, q.value(13).isNull() ? 0 : 1);
        for (int c = 23; c <= 33; ++c)
            putS(c, q.value(c - 9).toString());
        // Stock on hand and order quantities are the distributor's own figures: staff only.
        putF(34, staff ? q.value(25).toDouble() : 0.0);
        putS(35, q.value(26).toString());
        putF(36, staff ? q.value(27).toDouble() : 0.0);
        putF(37, staff ? q.value(28).toDouble() : 0.0);
        putS(38, q.value(1).toString());
        ++rows;
    }
    t.finishBulkLoad(rows);
    t.first();
    return t;
}

void registerCatalogue(Methods &m)
{
    m.add(QStringLiteral("StokAraGetirVosk"), {ArgKind::Text, ArgKind::Session}, [](Call &c) {
        const SessionUser &u = c.user();
        const QStringList words = searchWords(c.text(0));
        if (words.isEmpty()) {
            c.addTable(stockTable(QString(), {}, u.carino, u.tip,
                                  QStringLiteral("ORDER BY s.stokno LIMIT %1").arg(EmptySearchRows)));
            return;
        }
        if (Db::hasFts()) {
            c.addTable(stockTable(QStringLiteral("WHERE s.stokno IN (SELECT rowid FROM stok_ara WHERE stok_ara MATCH ?)"),
                                  {ftsExpression(words)}, u.carino, u.tip,
                                  QStringLiteral("ORDER BY s.barkod LIMIT %1").arg(SearchRowCap)));
            return;
        }
        // Without FTS (PostgreSQL): each word must start a word of the search text.
        QString where = QStringLiteral("WHERE 1=1");
        QVariantList binds;
        for (const QString &w : words) {
            where += QStringLiteral(" AND (' ' || s.arama) LIKE ?");
            binds << QStringLiteral("%% %1%").arg(w);
        }
        c.addTable(stockTable(where, binds, u.carino, u.tip,
                              QStringLiteral("ORDER BY s.barkod LIMIT %1").arg(SearchRowCap)));
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
