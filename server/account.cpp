#include "account.h"
#include "recordjson.h"

#include "database.h"
#include "marshal.h"
#include "records.h"

#include <QDate>
#include <QJsonDocument>
#include <QJsonObject>

namespace kestro::server {

namespace {

constexpr FieldType I = FieldType::Int32;
constexpr FieldType F = FieldType::Float;
constexpr FieldType S = FieldType::WideString;
constexpr FieldType D = FieldType::Date;

void requireAccount(int carino)
{
    if (!accountExists(carino))
        notFound(QStringLiteral("Cari hesap bulunamadı: %1").arg(carino));
}

} // namespace

bool accountExists(int carino)
{
    return scalar(QStringLiteral("SELECT COUNT(*) FROM cariler WHERE carino = ?"), {carino}).toInt() > 0;
}

double accountBalance(int carino)
{
    return scalar(QStringLiteral("SELECT COALESCE(SUM(borc - alacak), 0) FROM evraklar WHERE carino = ?"), {carino})
        .toDouble();
}

void registerAccount(Methods &m)
{
    using A = ArgKind;
    m.add(QStringLiteral("CariEkstreVer"), {A::Int32}, [](Call &c) {
        QSqlQuery q = run(QStringLiteral("SELECT carino, tarih, turadi, evrakno, borc, alacak, 'TL', 0, ' ', idno, "
                                         "aciklama FROM evraklar WHERE carino = ? ORDER BY tarih, idno"),
                          {c.int32(0)});
        c.addTable(tableFromQuery(q, {{"CARINO", I}, {"TARIH", D}, {"TURADI", S}, {"EVRAK", S}, {"BORC", F},
                                      {"ALACAK", F}, {"KUR", S}, {"BAKIYE", F}, {"D", S}, {"IDNO", I},
                                      {"ACIKLAMA", S}}));
    });
    m.add(QStringLiteral("FaturaGetir"), {A::Int32, A::Int32}, [](Call &c) {
        QSqlQuery q = run(QStringLiteral(
            "SELECT s.oemno, s.adi, s.finishkod, s.marka, s.model, s.anagrup, s.birim, f.miktar, f.birimfiyat, f.tutar, "
            "f.ind1, f.ind2, f.kdv, f.toplamindirim, 0, CASE WHEN f.miktar <> 0 THEN ROUND(f.nettutar / f.miktar, 2) "
            "ELSE 0 END, f.nettutar, s.ozelkod, s.barkod, e.tarih, e.turadi, e.evrakno, f.vergi, e.evrakno, e.tarih, "
            "e.aciklama, '10:00:00', 30, COALESCE(o.idno, 0), o.tarih, 'Satış İrsaliyesi', 0, 0, 0, 0, 0, 0, "
            "f.birimfiyat, f.vergi, f.tutar, '', '', '', 0, 0, f.toplamindirim, 0, "
            "CASE WHEN f.miktar <> 0 THEN ROUND(f.nettutar / f.miktar, 2) ELSE 0 END, f.nettutar, 1, 1, 1, c.carikod, "
            "1, e.carino, 'TL', sa.adi, s.ureticikodu, s.dpkod, s.adi, s.pkod, e.evrakno, f.id "
            "FROM fatura_satirlari f JOIN evraklar e ON e.idno = f.idno JOIN stoklar s ON s.stokno = f.stokno "
            "JOIN cariler c ON c.carino = e.carino LEFT JOIN saticilar sa ON sa.satici_no = c.satici_no "
            "LEFT JOIN siparisler o ON o.idno = e.siparis_idno WHERE e.carino = ? AND e.idno = ? ORDER BY f.id"),
            {c.int32(0), c.int32(1)});
        c.addTable(tableFromQuery(q, {
            {"OEMNO", S}, {"STOKADI", S}, {"FINISHKOD", S}, {"MARKA", S}, {"MODEL", S}, {"ANAGRUP", S}, {"BIRIM", S},
            {"STOKHAR_MIKTAR", F}, {"STOKHAR_TLBIRIMFIYATI", F}, {"STOKHAR_TLTUTAR", F}, {"STOKHAR_INDIRIM1", F},
            {"STOKHAR_INDIRIM2", F}, {"KDV", I}, {"STOKHAR_TOPLAMINDIRIM", F}, {"STOKHAR_TOPLAMMASRAF", F},
            {"STOKHAR_NETTLBIRIMFIYATI", F}, {"STOKHAR_NETTLTUTAR", F}, {"OZELKOD", S}, {"BARKOD", S},
            {"STOKHAR_HAREKETTARIHI", D}, {"STOKHAR_HAREKETTIPI2", S}, {"EVRAKNO", S}, {"STOKHAR_TLVERGI", F},
            {"IRSALIYEEVRAKNO", S}, {"STOKHAR_IRSTARIHI", D}, {"SATIRACIKLMASI", S}, {"STOKHAR_SAAT", S},
            {"STOKHAR_VADE", I}, {"SIPARISEVRAKNO", I}, {"SIPARISTARIHI", D}, {"IRSALIYETIP2", S},
            {"STOKHAR_INDIRIM3", F}, {"STOKHAR_INDIRIM4", F}, {"STOKHAR_INDIRIM5", F}, {"STOKHAR_INDIRIM6", F},
            {"STOKHAR_INDIRIM7", F}, {"STOKHAR_INDIRIM8", F}, {"STOKHAR_DOVIZBIRIMFIYATI", F},
            {"STOKHAR_DOVIZVERGI", F}, {"STOKHAR_DOVIZTUTAR", F}, {"STOKHAR_PARTI", S}, {"STOKHAR_BEDEN", S},
            {"STOKHAR_RENK", S}, {"STOKHAR_MASRAF1", F}, {"STOKHAR_MASRAF2", F}, {"STOKHAR_DOVIZTOPLAMINDIRIM", F},
            {"STOKHAR_DOVIZTOPLAMMASRAF", F}, {"STOKHAR_NETDOVIZBIRIMFIYATI", F}, {"STOKHAR_NETDOVIZTUTAR", F},
            {"STOKHAR_KURTL", F}, {"SIPARISTIPI", I}, {"IRSALIYETIPINO", I}, {"STOKCARIKOD", S}, {"SUBE_NO", I},
            {"STOKHAR_CARINO", I}, {"KUR_KURSIMGE", S}, {"SATICIADI", S}, {"URETICIKODU", S}, {"DPKOD", S},
            {"ENADI", S}, {"PKOD", S}, {"BELGENO", S}, {"IDNO", I}}));
    });
    m.add(QStringLiteral("FaturaAltGetir"), {A::Int32}, [](Call &c) {
        QSqlQuery q = run(QStringLiteral(
            "SELECT COALESCE(SUM(tutar), 0), COALESCE(SUM(toplamindirim), 0), COALESCE(SUM(nettutar), 0), "
            "COALESCE(SUM(nettutar + vergi), 0), COALESCE(SUM(vergi), 0) FROM fatura_satirlari WHERE idno = ?"),
            {c.int32(0)});
        c.addTable(tableFromQuery(q, {{"TOPLAM", F}, {"TOPLAMINDIRIM", F}, {"MATRAH", F}, {"KDVDAHIL", F},
                                      {"KDVTUTAR", F}}));
    });
    m.add(QStringLiteral("Tahsilat"), {A::Int32}, [](Call &c) {
        QSqlQuery q = run(QStringLiteral("SELECT tarih, turu, cins, vade, tutar, aciklama, evrakno, ref, saat, 'TL', 1, "
                                         "tutar FROM tahsilat_satirlari WHERE idno = ? ORDER BY id"),
                          {c.int32(0)});
        c.addTable(tableFromQuery(q, {{"Tarih", D}, {"Türü", S}, {"Cins", S}, {"Vade", D}, {"Tutar", F},
                                      {"Açıklama", S}, {"EvrakNo", S}, {"Ref", S}, {"Saat", S}, {"Kur", S},
                                      {"KurTL", F}, {"Döviz Tutar", F}}));
    });
    m.add(QStringLiteral("SanalposSiranoVer"), {A::Int32}, [](Call &c) {
        c.addInt(scalar(QStringLiteral("SELECT sirano FROM sanalpos WHERE idno = ?"), {c.int32(0)}, 0).toInt());
    });
    m.add(QStringLiteral("CariDurumVer"), {A::Int32}, [](Call &c) {
        requireAccount(c.int32(0));
        c.addText(paraYazi(accountBalance(c.int32(0))));
    });
    m.add(QStringLiteral("CariVadeGunGecmismiBul"), {A::Int32}, [](Call &c) {
        const int carino = c.int32(0);
        requireAccount(carino);
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        // What fell due before today, less every payment: payments settle the oldest debts first.
        const double due = scalar(QStringLiteral("SELECT COALESCE(SUM(borc), 0) FROM evraklar WHERE carino = ? AND vade < ?"),
                                  {carino, today}).toDouble();
        const double paid = scalar(QStringLiteral("SELECT COALESCE(SUM(alacak), 0) FROM evraklar WHERE carino = ?"),
                                   {carino}).toDouble();
        const double overdue = due - paid;
        if (overdue < 0.005) {
            c.addText(QString());
            return;
        }
        const QString oldest = scalar(QStringLiteral("SELECT MIN(vade) FROM evraklar WHERE carino = ? AND borc > 0 "
                                                     "AND vade < ?"), {carino, today}).toString();
        const int days = int(QDate::fromString(oldest, Qt::ISODate).daysTo(QDate::currentDate()));
        c.addText(QStringLiteral("Vadesi geçmiş %1 TL bakiyeniz bulunmaktadır (en eski vade %2 gün önce). "
                                 "Lütfen ödemenizi yapınız.").arg(paraYazi(overdue)).arg(days));
    });
    m.add(QStringLiteral("StokHareketVer"), {A::Int32, A::Int32}, [](Call &c) {
        QSqlQuery q = run(QStringLiteral(
            "SELECT e.tarih, e.turadi, substr(e.evrakno, 1, 2), CAST(substr(e.evrakno, 4) AS INTEGER), f.miktar, "
            "f.birimfiyat, f.vergi, f.tutar, f.toplamindirim, CASE WHEN f.miktar <> 0 THEN ROUND(f.nettutar / f.miktar, 2) "
            "ELSE 0 END, f.nettutar, CASE WHEN f.miktar <> 0 THEN ROUND((f.nettutar + f.vergi) / f.miktar, 2) ELSE 0 END, "
            "f.nettutar + f.vergi, s.barkod, f.ind1, f.ind2, 0, 0, 0, 0, 0, 0, 0, 0, 0, e.vade, c.carikod, sa.adi "
            "FROM fatura_satirlari f JOIN evraklar e ON e.idno = f.idno JOIN stoklar s ON s.stokno = f.stokno "
            "JOIN cariler c ON c.carino = e.carino LEFT JOIN saticilar sa ON sa.satici_no = c.satici_no "
            "WHERE e.carino = ? AND f.stokno = ? ORDER BY e.tarih, f.id"),
            {c.int32(0), c.int32(1)});
        c.addTable(tableFromQuery(q, {
            {"TARIH", D}, {"TURU", S}, {"EVRAKSERI", S}, {"EVRAKSIRA", I}, {"MIKTAR", F}, {"TLBIRIMFIYAT", F},
            {"TLVERGI", F}, {"TLTUTAR", F}, {"TOPLAMINDIRIM", F}, {"NETBIRIMFIYAT", F}, {"NETTLTUTAR", F},
            {"KDVDAHILBIRIMFIYAT", F}, {"KDVDAHILTUTAR", F}, {"BARKOD", S}, {"INDIRIM1", F}, {"INDIRIM2", F},
            {"INDIRIM3", F}, {"INDIRIM4", F}, {"INDIRIM5", F}, {"INDIRIM6", F}, {"INDIRIM7", F}, {"INDIRIM8", F},
            {"MASRAF1", F}, {"MASRAF2", F}, {"TOPLAMMASRAF", F}, {"VADE", D}, {"STOKCARIKOD", S}, {"SATICI", S}}));
    });
    m.add(QStringLiteral("MobilCariBilgisiGetir"), {A::Int32, A::Text}, [](Call &c) {
        // Sequence 0: the account of the user this machine is registered to; otherwise that user's.
        const int sirano = c.int32(0);
        QSqlQuery q = run(QStringLiteral(
            "SELECT b.bilgisayarid, c.il, c.fax1, sa.mail, sa.adi, c.cariadi, c.email, c.vergidairesi, c.yetkili, "
            "c.altgrup, c.tel2, u.sifre, c.gsm, c.tel1, c.adres2, c.ulke, c.anagrup, c.carino, c.vergino, u.mail, "
            "c.ozelkod, u.adi, sa.telefon, c.carikod, c.fax2, c.ilce FROM bilgisayarlar b "
            "JOIN kullanicilar u ON u.sirano = b.sirano JOIN cariler c ON c.carino = u.carino "
            "LEFT JOIN saticilar sa ON sa.satici_no = c.satici_no WHERE b.bilgisayarid = ? AND (? = 0 OR u.sirano = ?)"),
            {c.text(1), sirano, sirano});
        if (!q.next()) {
            c.addJson(QByteArrayLiteral("null"));
            return;
        }
        TMobilCariBilgisi r;
        r.setBILGISAYARID(q.value(0).toString());
        r.setSEHIR(q.value(1).toString());
        r.setFAX1(q.value(2).toString());
        r.setSATICIMAIL(q.value(3).toString());
        r.setSATICIADI(q.value(4).toString());
        r.setCARIADI(q.value(5).toString());
        r.setEMAIL(q.value(6).toString());
        r.setVERGIDAIRESI(q.value(7).toString());
        r.setYETKILI(q.value(8).toString());
        r.setAltGrup(q.value(9).toString());
        r.setTEL2(q.value(10).toString());
        r.setSIFRE(q.value(11).toString());
        r.setGSM(q.value(12).toString());
        r.setTEL1(q.value(13).toString());
        r.setADRES2(q.value(14).toString());
        r.setULKE(q.value(15).toString());
        r.setAnaGrup(q.value(16).toString());
        const int carino = q.value(17).toInt();
        r.setCARINO(carino);
        r.setVERGINO(q.value(18).toString());
        r.setMAIL(q.value(19).toString());
        r.setOzelKod(q.value(20).toString());
        r.setKULLANICIADI(q.value(21).toString());
        r.setSATICITELEFON(q.value(22).toString());
        r.setCARIKOD(q.value(23).toString());
        r.setFAX2(q.value(24).toString());
        r.setILCE(q.value(25).toString());
        r.setADRES1(scalar(QStringLiteral("SELECT adres1 FROM cariler WHERE carino = ?"), {carino}).toString());
        const double borc = scalar(QStringLiteral("SELECT COALESCE(SUM(borc), 0) FROM evraklar WHERE carino = ?"), {carino}).toDouble();
        const double alacak = scalar(QStringLiteral("SELECT COALESCE(SUM(alacak), 0) FROM evraklar WHERE carino = ?"), {carino}).toDouble();
        r.setTLBORC(borc);
        r.setTLALACAK(alacak);
        r.setTLBAKIYE(borc - alacak);
        c.addJson(recordJson(r));
    });
}

} // namespace kestro::server
