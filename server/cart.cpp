// The server-held cart: one per account, amounts computed here.
#include "core.h"
#include "database.h"
#include "lines.h"
#include "pricing.h"

#include <QDateTime>

namespace kestro::server {

namespace {

struct StockPrice
{
    QString barkod, adi;
    int kdv = 0;
    AccountPrice price;
};

StockPrice stockPriceFor(int stokno, int carino, int tip)
{
    QSqlQuery q = run(QStringLiteral("SELECT s.barkod, s.adi, s.kdv, s.fiyat, s.kampfiyat, s.kampanya, s.ekindirim, "
                                     "c.indirim FROM stoklar s, cariler c WHERE s.stokno = ? AND c.carino = ?"),
                      {stokno, carino});
    if (!q.next())
        notFound(QStringLiteral("Stok bulunamadı: %1").arg(stokno));
    StockPrice p;
    p.barkod = q.value(0).toString();
    p.adi = q.value(1).toString();
    p.kdv = q.value(2).toInt();
    p.price = accountPrice(q.value(3).toDouble(), q.value(4).toDouble(), q.value(5).toInt() > 0,
                           q.value(6).toDouble(), q.value(7).toDouble(), tip);
    return p;
}

// A representative may set price and rates; a customer gets the account's own.
void takeRepTerms(const Call &c, const SessionUser &u, AccountPrice &p, double fiyat, const Rates &ind)
{
    Q_UNUSED(c);
    if (!u.isRep())
        return;
    if (!(fiyat > 0) || fiyat > 1e9)
        badRequest(QStringLiteral("Geçersiz birim fiyat: %1").arg(fiyat));
    for (double r : ind)
        if (r < 0 || r > 100)
            badRequest(QStringLiteral("Geçersiz indirim oranı: %1").arg(r));
    p.fiyat = fiyat;
    p.ind = ind;
}

void checkActor(const Call &c, int carino, int verenid)
{
    if (carino != c.user().carino)
        forbidden(QStringLiteral("Bu cari hesap için işlem yetkiniz yok"));
    if (verenid != c.user().sirano)
        forbidden(QStringLiteral("Veren kullanıcı oturumla uyuşmuyor"));
}

QString now() { return QDateTime::currentDateTime().toString(Qt::ISODate); }

} // namespace

void registerCart(Methods &m)
{
    using A = ArgKind;
    // bilgim, carino, stokno, barkod, stokadi, miktar, kdv, fiyat, ind1, verenid, k, ind2, ind3, ind4
    m.add(QStringLiteral("SepetEkle2"),
          {A::Session, A::Int32, A::Int32, A::Text, A::Text, A::Double, A::Double, A::Double, A::Double, A::Int32,
           A::Int32, A::Double, A::Double, A::Double},
          [](Call &c) {
              const SessionUser &u = c.user();
              const int carino = c.int32(1), stokno = c.int32(2), verenid = c.int32(9);
              const double miktar = c.dbl(5);
              checkActor(c, carino, verenid);
              checkQuantity(miktar);
              Transaction t;
              StockPrice sp = stockPriceFor(stokno, carino, u.tip);
              takeRepTerms(c, u, sp.price, c.dbl(7), {c.dbl(8), c.dbl(11), c.dbl(12), c.dbl(13)});
              // One line per stock: adding a stock already in the cart adds to its quantity.
              const QVariant had = scalar(QStringLiteral("SELECT miktar FROM sepet WHERE carino = ? AND stokno = ?"),
                                          {carino, stokno});
              const double total = miktar + (had.isValid() ? had.toDouble() : 0.0);
              checkQuantity(total);
              const LineAmounts a = tutarHesapla(sp.price.fiyat, total, sp.price.ind, sp.kdv);
              run(QStringLiteral(
                      "INSERT INTO sepet (carino, stokno, barkod, stokadi, miktar, birimfiyat, kdv, ind1, ind2, ind3, "
                      "ind4, tutar, indirimtutar, nettutar, netbirimfiyat, vergitutari, sec, k, verenid, tarih) "
                      "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,0,?,?,?) ON CONFLICT (carino, stokno) DO UPDATE SET "
                      "miktar = excluded.miktar, birimfiyat = excluded.birimfiyat, ind1 = excluded.ind1, "
                      "ind2 = excluded.ind2, ind3 = excluded.ind3, ind4 = excluded.ind4, tutar = excluded.tutar, "
                      "indirimtutar = excluded.indirimtutar, nettutar = excluded.nettutar, "
                      "netbirimfiyat = excluded.netbirimfiyat, vergitutari = excluded.vergitutari, "
                      "verenid = excluded.verenid"),
                  {carino, stokno, sp.barkod, sp.adi, total, sp.price.fiyat, sp.kdv, sp.price.ind[0], sp.price.ind[1],
                   sp.price.ind[2], sp.price.ind[3], a.tutar, a.indirimtutar, a.nettutar, a.netbirimfiyat,
                   a.vergitutari, sp.price.k, verenid, now()});
              t.commit();
              c.addInt(1);
          });
    // bilgim, carino, stokno, barkod, stokadi, miktar, kdv, fiyat, ind1, verenid, _sepetsirano, ind2, ind3, ind4
    m.add(QStringLiteral("SepetGuncelle2"),
          {A::Session, A::Int32, A::Int32, A::Text, A::Text, A::Double, A::Double, A::Double, A::Double, A::Int32,
           A::Int32, A::Double, A::Double, A::Double},
          [](Call &c) {
              const SessionUser &u = c.user();
              const int carino = c.int32(1), verenid = c.int32(9), sepetsirano = c.int32(10);
              const double miktar = c.dbl(5);
              checkActor(c, carino, verenid);
              checkQuantity(miktar);
              Transaction t;
              QSqlQuery q = run(QStringLiteral("SELECT stokno, birimfiyat, ind1, ind2, ind3, ind4, kdv FROM sepet "
                                               "WHERE sirano = ? AND carino = ?"),
                                {sepetsirano, carino});
              if (!q.next())
                  notFound(QStringLiteral("Sepet satırı bulunamadı: %1").arg(sepetsirano));
              AccountPrice p;
              p.fiyat = q.value(1).toDouble();
              p.ind = {q.value(2).toDouble(), q.value(3).toDouble(), q.value(4).toDouble(), q.value(5).toDouble()};
              const int kdv = q.value(6).toInt();
              takeRepTerms(c, u, p, c.dbl(7), {c.dbl(8), c.dbl(11), c.dbl(12), c.dbl(13)});
              const LineAmounts a = tutarHesapla(p.fiyat, miktar, p.ind, kdv);
              run(QStringLiteral("UPDATE sepet SET miktar = ?, birimfiyat = ?, ind1 = ?, ind2 = ?, ind3 = ?, ind4 = ?, "
                                 "tutar = ?, indirimtutar = ?, nettutar = ?, netbirimfiyat = ?, vergitutari = ?, "
                                 "verenid = ? WHERE sirano = ?"),
                  {miktar, p.fiyat, p.ind[0], p.ind[1], p.ind[2], p.ind[3], a.tutar, a.indirimtutar, a.nettutar,
                   a.netbirimfiyat, a.vergitutari, verenid, sepetsirano});
              t.commit();
              c.addInt(1);
          });
    m.add(QStringLiteral("SepetHepsiniSil"), {A::Session}, [](Call &c) {
        Transaction t;
        const int n = run(QStringLiteral("DELETE FROM sepet WHERE carino = ?"), {c.user().carino}).numRowsAffected();
        t.commit();
        c.addInt(n > 0 ? 1 : 0);
    });
    m.add(QStringLiteral("SepetSatirSil"), {A::Session, A::Int32, A::Text}, [](Call &c) {
        Transaction t;
        const int n = run(QStringLiteral("DELETE FROM sepet WHERE sirano = ? AND carino = ?"),
                          {c.int32(1), c.user().carino}).numRowsAffected();
        t.commit();
        c.addInt(n > 0 ? 1 : 0);
    });
    m.add(QStringLiteral("SepetSecimGuncelle"), {A::Int32, A::Int32}, [](Call &c) {
        const int secim = c.int32(1);
        if (secim != 0 && secim != 1)
            badRequest(QStringLiteral("Seçim 0 ya da 1 olmalı"));
        Transaction t;
        const int n = run(QStringLiteral("UPDATE sepet SET sec = ? WHERE sirano = ?"), {secim, c.int32(0)})
                          .numRowsAffected();
        if (n == 0)
            notFound(QStringLiteral("Sepet satırı bulunamadı: %1").arg(c.int32(0)));
        t.commit();
    });
    m.add(QStringLiteral("SepetVer2"), {A::Int32}, [](Call &c) { c.addTable(cartTable(c.int32(0))); });
}

} // namespace kestro::server
