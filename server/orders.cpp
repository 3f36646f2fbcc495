// Orders: sending the selected cart lines, history, footers, open balances.
#include "core.h"
#include "recordjson.h"
#include "database.h"
#include "lines.h"
#include "marshal.h"
#include "pricing.h"
#include "records.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

namespace kestro::server {

namespace {

constexpr FieldType I = FieldType::Int32;
constexpr FieldType F = FieldType::Float;
constexpr FieldType S = FieldType::WideString;
constexpr FieldType D = FieldType::Date;

// The balance line `sirano` of order `idno`, checked to belong to the caller's account.
void checkBalanceLine(const Call &c, int sirano, int idno)
{
    const QVariant carino = scalar(QStringLiteral("SELECT carino FROM siparis_satirlari WHERE sirano = ? AND idno = ?"),
                                   {sirano, idno});
    if (!carino.isValid())
        notFound(QStringLiteral("Bakiye satırı bulunamadı: %1").arg(sirano));
    if (carino.toInt() != c.user().carino)
        forbidden(QStringLiteral("Bu cari hesap için işlem yetkiniz yok"));
}

void recomputeOrder(int idno)
{
    run(QStringLiteral("UPDATE siparisler SET tutar = (SELECT COALESCE(SUM(nettutar + vergitutari), 0) FROM "
                       "siparis_satirlari WHERE idno = ?), indirimtutar = (SELECT COALESCE(SUM(indirimtutar), 0) FROM "
                       "siparis_satirlari WHERE idno = ?), nettutar = (SELECT COALESCE(SUM(nettutar), 0) FROM "
                       "siparis_satirlari WHERE idno = ?), vergi = (SELECT COALESCE(SUM(vergitutari), 0) FROM "
                       "siparis_satirlari WHERE idno = ?) WHERE idno = ?"),
        {idno, idno, idno, idno, idno});
}

} // namespace

void registerOrders(Methods &m)
{
    using A = ArgKind;
    m.add(QStringLiteral("TeslimVer"), {}, [](Call &c) {
        QSqlQuery q = run(QStringLiteral("SELECT id, adi FROM teslim_cinsleri ORDER BY id"));
        c.addTable(tableFromQuery(q, {{"ID", I}, {"ADI", S}}));
    });
    m.add(QStringLiteral("KargoVer"), {}, [](Call &c) {
        QSqlQuery q = run(QStringLiteral("SELECT id, adi FROM kargo_cinsleri ORDER BY id"));
        c.addTable(tableFromQuery(q, {{"ID", I}, {"ADI", S}}));
    });
    m.add(QStringLiteral("KargolarVer"), {A::Int32}, [](Call &c) {
        QSqlQuery q = run(QStringLiteral("SELECT sirano, adi, uyari, cins_id FROM kargo_firmalari WHERE cins_id = ? "
                                         "ORDER BY adi"),
                          {c.int32(0)});
        c.addTable(tableFromQuery(q, {{"SIRANO", I}, {"ADI", S}, {"UYARI", S}, {"CINSID", I}}));
    });

    // BB, _carino, _teslim, _kargo, _aciklama, _verenid, _kargoyeni
    m.add(QStringLiteral("SiparisKaydet"), {A::Session, A::Int32, A::Int32, A::Int32, A::Text, A::Int32, A::Int32},
          [](Call &c) {
              const SessionUser &u = c.user();
              const int carino = c.int32(1), teslim = c.int32(2), kargo = c.int32(3), verenid = c.int32(5),
                        firma = c.int32(6);
              if (carino != u.carino)
                  forbidden(QStringLiteral("Bu cari hesap için işlem yetkiniz yok"));
              if (verenid != u.sirano)
                  forbidden(QStringLiteral("Veren kullanıcı oturumla uyuşmuyor"));
              const QString note = c.text(4);
              if (note.size() > 4000)
                  badRequest(QStringLiteral("Sipariş notu en çok 4000 karakter olabilir"));
              if (scalar(QStringLiteral("SELECT COUNT(*) FROM teslim_cinsleri WHERE id = ?"), {teslim}).toInt() == 0)
                  badRequest(QStringLiteral("Geçersiz teslim şekli: %1").arg(teslim));
              if (scalar(QStringLiteral("SELECT COUNT(*) FROM kargo_firmalari WHERE sirano = ? AND cins_id = ?"),
                         {firma, kargo}).toInt() == 0)
                  badRequest(QStringLiteral("Geçersiz kargo seçimi: tür %1, firma %2").arg(kargo).arg(firma));

              Transaction t;
              const int selected = scalar(QStringLiteral("SELECT COUNT(*) FROM sepet WHERE carino = ? AND sec = 1"),
                                          {carino}).toInt();
              if (selected == 0) {
                  c.addBool(false);
                  return;
              }
              const QDateTime when = QDateTime::currentDateTime();
              const int idno = scalar(QStringLiteral(
                  "INSERT INTO siparisler (carino, tarih, saat, teslim_id, kargo_id, kargofirma_id, durum, verenid, "
                  "verenin_notu, alan_notu, satici_notu, tutar, indirimtutar, nettutar, vergi) "
                  "VALUES (?, ?, ?, ?, ?, ?, 2, ?, ?, '', '', 0, 0, 0, 0) RETURNING idno"),
                  {carino, when.date().toString(Qt::ISODate), when.time().toString(QStringLiteral("HH:mm:ss")), teslim,
                   kargo, firma, verenid, note}).toInt();
              run(QStringLiteral(
                  "INSERT INTO siparis_satirlari (idno, carino, stokno, barkod, stokadi, miktar, teslimedilen, kalan, "
                  "ilkfiyat, birimfiyat, kdv, ind1, ind2, ind3, ind4, tutar, indirimtutar, nettutar, netbirimfiyat, "
                  "vergitutari, verenid) SELECT ?, carino, stokno, barkod, stokadi, miktar, 0, miktar, birimfiyat, "
                  "birimfiyat, kdv, ind1, ind2, ind3, ind4, tutar, indirimtutar, nettutar, netbirimfiyat, vergitutari, "
                  "verenid FROM sepet WHERE carino = ? AND sec = 1 ORDER BY sirano"),
                  {idno, carino});
              run(QStringLiteral("UPDATE stoklar SET alinansiparis = alinansiparis + (SELECT SUM(p.miktar) FROM sepet p "
                                 "WHERE p.carino = ? AND p.sec = 1 AND p.stokno = stoklar.stokno) WHERE stokno IN "
                                 "(SELECT stokno FROM sepet WHERE carino = ? AND sec = 1)"),
                  {carino, carino});
              run(QStringLiteral("DELETE FROM sepet WHERE carino = ? AND sec = 1"), {carino});
              recomputeOrder(idno);
              t.commit();
              c.addBool(true);
          });

    m.add(QStringLiteral("OncekiSiparisler"), {A::Int32}, [](Call &c) {
        QSqlQuery q = run(QStringLiteral(
            "SELECT o.carino, o.idno, o.tarih, 'TL', 1, o.verenid, k.adi, t.adi, u.adi, c.carikod, c.cariadi, o.vergi, "
            "o.nettutar, o.tutar, o.durum, f.adi, o.verenin_notu, o.alan_notu FROM siparisler o "
            "JOIN cariler c ON c.carino = o.carino LEFT JOIN kullanicilar u ON u.sirano = o.verenid "
            "LEFT JOIN kargo_cinsleri k ON k.id = o.kargo_id LEFT JOIN teslim_cinsleri t ON t.id = o.teslim_id "
            "LEFT JOIN kargo_firmalari f ON f.sirano = o.kargofirma_id WHERE o.carino = ? ORDER BY o.idno DESC"),
            {c.int32(0)});
        DataSet table = tableFromQuery(q, {{"CARINO", I}, {"IDNO", I}, {"TARIH", D}, {"KUR", S}, {"KURTL", F},
                                           {"VERENIDNO", I}, {"KARGO", S}, {"TESLIM", S}, {"VEREN", S},
                                           {"CARIKOD", S}, {"CARIADI", S}, {"VERGI", F}, {"NETTUTAR", F},
                                           {"TUTAR", F}, {"DURUM", S}, {"KARGOADI", S}, {"VERENINNOTU", S},
                                           {"ALANNOTU", S}});
        const int durum = table.fieldIndex(QStringLiteral("DURUM"));
        for (int r = 0; r < table.rowCount(); ++r)
            table.setValue(r, durum, orderStateName(table.asString(r, durum).toInt()));
        c.addTable(table);
    });
    m.add(QStringLiteral("SiparisAyrintisi2"), {A::Int32, A::Int32}, [](Call &c) {
        c.addTable(orderLineTable(QStringLiteral("WHERE l.carino = ? AND l.idno = ? ORDER BY l.sirano"),
                                  {c.int32(0), c.int32(1)}));
    });
    m.add(QStringLiteral("TumSiparislerVer"), {A::Int32, A::Int32}, [](Call &c) {
        // Stock 0 lists the lines of every order of the account.
        c.addTable(orderLineTable(QStringLiteral("WHERE l.carino = ? AND (? = 0 OR l.stokno = ?) "
                                                 "ORDER BY l.idno DESC, l.sirano"),
                                  {c.int32(0), c.int32(1), c.int32(1)}));
    });
    m.add(QStringLiteral("BakiyelerVer2"), {A::Int32}, [](Call &c) {
        c.addTable(orderLineTable(QStringLiteral("WHERE l.carino = ? AND l.kalan > 0 ORDER BY l.idno, l.sirano"),
                                  {c.int32(0)}));
    });
    m.add(QStringLiteral("SiparisAytintisiDip"), {A::Int32, A::Int32}, [](Call &c) {
        // Account 0 looks the order up by its number alone (the balances dialog sends 0).
        QSqlQuery q = run(QStringLiteral(
            "SELECT o.verenin_notu, o.durum, u.adi, f.adi, o.alan_notu, t.adi, k.adi, o.satici_notu FROM siparisler o "
            "LEFT JOIN kullanicilar u ON u.sirano = o.verenid LEFT JOIN kargo_firmalari f ON f.sirano = o.kargofirma_id "
            "LEFT JOIN teslim_cinsleri t ON t.id = o.teslim_id LEFT JOIN kargo_cinsleri k ON k.id = o.kargo_id "
            "WHERE o.idno = ? AND (? = 0 OR o.carino = ?)"),
            {c.int32(1), c.int32(0), c.int32(0)});
        if (!q.next()) {
            c.addJson(QByteArrayLiteral("null"));
            return;
        }
        TSiparisDipAyrinti d;
        d.setSizinMesaj(q.value(0).toString());
        d.setDurumu(orderStateName(q.value(1).toInt()));
        d.setVeren(q.value(2).toString());
        d.setKargo(q.value(3).toString());
        d.setBizimMesaj(q.value(4).toString());
        d.setTeslimCinsi(q.value(5).toString());
        d.setKargoCinsi(q.value(6).toString());
        d.setSaticiNotu(q.value(7).toString());
        c.addJson(recordJson(d));
    });

    // k, stokno, sepetsirano, siparissirano, Adet, Bakiye, barkod
    const std::vector<ArgKind> balanceArgs = {A::Session, A::Int32, A::Int32, A::Int32, A::Double, A::Double, A::Text};
    m.add(QStringLiteral("BakiyeDuzenle"), balanceArgs, [](Call &c) {
        // Deleting a balance cancels what is still owed; delivered quantities stay.
        const int sirano = c.int32(2), idno = c.int32(3);
        Transaction t;
        checkBalanceLine(c, sirano, idno);
        run(QStringLiteral("UPDATE stoklar SET alinansiparis = MAX(0, alinansiparis - (SELECT kalan FROM "
                           "siparis_satirlari WHERE sirano = ?)) WHERE stokno = (SELECT stokno FROM siparis_satirlari "
                           "WHERE sirano = ?)").replace(QLatin1String("MAX("), Db::isPostgres() ? QLatin1String("GREATEST(") : QLatin1String("MAX(")),
            {sirano, sirano});
        run(QStringLiteral("UPDATE siparis_satirlari SET kalan = 0 WHERE sirano = ?"), {sirano});
        t.commit();
        c.addInt(1);
    });
    m.add(QStringLiteral("BakiyeDegistir"), balanceArgs, [](Call &c) {
        const int sirano = c.int32(2), idno = c.int32(3);
        const double yeni = c.dbl(5);
        checkQuantity(yeni);
        Transaction t;
        checkBalanceLine(c, sirano, idno);
        QSqlQuery q = run(QStringLiteral("SELECT teslimedilen, kalan, birimfiyat, ind1, ind2, ind3, ind4, kdv, stokno "
                                         "FROM siparis_satirlari WHERE sirano = ?"), {sirano});
        q.next();
        const double teslim = q.value(0).toDouble(), eski = q.value(1).toDouble();
        const Rates ind{q.value(3).toDouble(), q.value(4).toDouble(), q.value(5).toDouble(), q.value(6).toDouble()};
        const double miktar = teslim + yeni;
        const LineAmounts a = tutarHesapla(q.value(2).toDouble(), miktar, ind, q.value(7).toInt());
        const int stokno = q.value(8).toInt();
        run(QStringLiteral("UPDATE siparis_satirlari SET miktar = ?, kalan = ?, tutar = ?, indirimtutar = ?, "
                           "nettutar = ?, netbirimfiyat = ?, vergitutari = ? WHERE sirano = ?"),
            {miktar, yeni, a.tutar, a.indirimtutar, a.nettutar, a.netbirimfiyat, a.vergitutari, sirano});
        run(QStringLiteral("UPDATE stoklar SET alinansiparis = alinansiparis + ? WHERE stokno = ?"), {yeni - eski, stokno});
        recomputeOrder(idno);
        t.commit();
        c.addInt(1);
    });
    m.add(QStringLiteral("BakiyeFiyatDegistir"),
          {A::Session, A::Int32, A::Int32, A::Int32, A::Double, A::Double, A::Text, A::Double, A::Double},
          [](Call &c) {
              if (c.user().tip != 2)
                  forbidden(QStringLiteral("Fiyat değiştirme yetkiniz yok"));
              const int sirano = c.int32(2), idno = c.int32(3);
              const double fiyat = c.dbl(7), ind = c.dbl(8);
              if (!(fiyat > 0) || fiyat > 1e9)
                  badRequest(QStringLiteral("Geçersiz birim fiyat: %1").arg(fiyat));
              if (ind < 0 || ind > 100)
                  badRequest(QStringLiteral("Geçersiz indirim oranı: %1").arg(ind));
              Transaction t;
              checkBalanceLine(c, sirano, idno);
              QSqlQuery q = run(QStringLiteral("SELECT miktar, kdv FROM siparis_satirlari WHERE sirano = ?"), {sirano});
              q.next();
              const Rates rates{ind, 0, 0, 0};
              const LineAmounts a = tutarHesapla(fiyat, q.value(0).toDouble(), rates, q.value(1).toInt());
              run(QStringLiteral("UPDATE siparis_satirlari SET birimfiyat = ?, ind1 = ?, ind2 = 0, ind3 = 0, ind4 = 0, "
                                 "tutar = ?, indirimtutar = ?, nettutar = ?, netbirimfiyat = ?, vergitutari = ? "
                                 "WHERE sirano = ?"),
                  {fiyat, ind, a.tutar, a.indirimtutar, a.nettutar, a.netbirimfiyat, a.vergitutari, sirano});
              recomputeOrder(idno);
              t.commit();
              c.addInt(1);
          });
}

} // namespace kestro::server
