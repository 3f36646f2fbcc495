#include "lines.h"

#include "database.h"
#include "pricing.h"

#include <cmath>

namespace kestro::server {

namespace {

constexpr FieldType I = FieldType::Int32;
constexpr FieldType F = FieldType::Float;
constexpr FieldType S = FieldType::WideString;
constexpr FieldType D = FieldType::Date;
constexpr FieldType DT = FieldType::DateTime;

std::vector<Col> lineColumns(bool order)
{
    std::vector<Col> c = {
        {"SIRANO", I}, {"SEC", I}, {"VERILISTARIHI", DT}, {"BARKOD", S}, {"FINISHKOD", S}, {"OEMNO", S},
        {"STOKADI", S}, {"MIKTAR", F}, {"BIRIMFIYAT", F}, {"TUTAR", F}, {"INDIRIMYAZI", S},
        {"NETBIRIMFIYAT", F}, {"KDV", I}, {"VERGITUTARI", F}, {"NETTUTAR", F}, {"VEREN", S}, {"DURUM", I},
        {"SIPARISNO", I}, {"CARINO", I}, {"TARIH", D}, {"AKTAR", I}, {"STOKNO", I}, {"INDIRIMORANI1", F},
        {"INDIRIMORANI2", F}, {"INDIRIMORANI3", F}, {"INDIRIMORANI4", F}, {"INDIRIMTUTAR", F}, {"KUR", S},
        {"KURTL", F}, {"VERENIDNO", I}, {"SAAT", S}, {"TESLIMID", I}, {"KARGOID", I}, {"ACIKLAMA", S},
        {"IDNO", I}, {"VERENSIRANO", I}, {"CARIKOD", S}, {"CARIADI", S}, {"OEM1", S}, {"OEM2", S},
        {"OEM3", S}, {"OEM4", S}, {"STOK_STOKNO", I}, {"URETICIKODU", S}, {"DIGERADI", S}, {"DPKOD", S},
        {"MARKA", S}, {"MODEL", S}, {"ANAGRUP", S}, {"OZELKOD", S}, {"PKOD", S}, {"KALAN", F}};
    if (order) {
        const std::vector<Col> more = {{"TESLIMEDILEN", F}, {"ELDEKI", F}, {"ILKFIYAT", F},
                                       {"ALINANSIPARIS", F}, {"VERILENSIPARIS", F}, {"STOKHAR_NO", I},
                                       {"TESLIM", S}, {"KARGO", S}};
        c.insert(c.end(), more.begin(), more.end());
    }
    return c;
}

void fillDiscountText(DataSet &t)
{
    const int yazi = t.fieldIndex(QStringLiteral("INDIRIMYAZI"));
    const int r1 = t.fieldIndex(QStringLiteral("INDIRIMORANI1"));
    for (int row = 0; row < t.rowCount(); ++row) {
        Rates r{};
        for (int i = 0; i < 4; ++i)
            r[size_t(i)] = t.asDouble(row, r1 + i);
        t.setValue(row, yazi, indirimYazi(r));
    }
}

const char *stockPart = "s.oem1, s.oem2, s.oem3, s.oem4, %1.stokno, s.ureticikodu, s.digeradi, s.dpkod, s.marka, "
                        "s.model, s.anagrup, s.ozelkod, s.pkod";

} // namespace

DataSet cartTable(int carino)
{
    const QString sql = QStringLiteral(
        "SELECT p.sirano, p.sec, p.tarih, p.barkod, s.finishkod, s.oemno, p.stokadi, p.miktar, p.birimfiyat, "
        "p.tutar, '', p.netbirimfiyat, p.kdv, p.vergitutari, p.nettutar, u.adi, s.durum, 0, p.carino, "
        "substr(p.tarih, 1, 10), 0, p.stokno, p.ind1, p.ind2, p.ind3, p.ind4, p.indirimtutar, 'TL', 1, "
        "p.verenid, substr(p.tarih, 12, 8), 0, 0, '', p.sirano, p.verenid, c.carikod, c.cariadi, %1, s.eldeki "
        "FROM sepet p JOIN stoklar s ON s.stokno = p.stokno JOIN cariler c ON c.carino = p.carino "
        "LEFT JOIN kullanicilar u ON u.sirano = p.verenid WHERE p.carino = ? ORDER BY p.sirano")
                            .arg(QString::fromLatin1(stockPart).arg(QLatin1String("p")));
    QSqlQuery q = run(sql, {carino});
    DataSet t = tableFromQuery(q, lineColumns(false));
    fillDiscountText(t);
    return t;
}

DataSet orderLineTable(const QString &where, const QVariantList &binds)
{
    const QString sql = QStringLiteral(
        "SELECT l.sirano, 1, o.tarih || 'T' || o.saat, l.barkod, s.finishkod, s.oemno, l.stokadi, l.miktar, "
        "l.birimfiyat, l.tutar, '', l.netbirimfiyat, l.kdv, l.vergitutari, l.nettutar, u.adi, s.durum, l.idno, "
        "l.carino, o.tarih, 0, l.stokno, l.ind1, l.ind2, l.ind3, l.ind4, l.indirimtutar, 'TL', 1, l.verenid, "
        "o.saat, o.teslim_id, o.kargo_id, o.verenin_notu, l.idno, l.verenid, c.carikod, c.cariadi, %1, l.kalan, "
        "l.teslimedilen, s.eldeki, l.ilkfiyat, s.alinansiparis, s.verilensiparis, l.idno, t.adi, k.adi "
        "FROM siparis_satirlari l JOIN siparisler o ON o.idno = l.idno JOIN stoklar s ON s.stokno = l.stokno "
        "JOIN cariler c ON c.carino = l.carino LEFT JOIN kullanicilar u ON u.sirano = l.verenid "
        "LEFT JOIN teslim_cinsleri t ON t.id = o.teslim_id LEFT JOIN kargo_cinsleri k ON k.id = o.kargo_id ")
                            .arg(QString::fromLatin1(stockPart).arg(QLatin1String("l")))
        + where;
    QSqlQuery q = run(sql, binds);
    DataSet t = tableFromQuery(q, lineColumns(true));
    fillDiscountText(t);
    return t;
}

QString orderStateName(int durum)
{
    switch (durum) {
    case 2: return QStringLiteral("Alındı");
    case 3: return QStringLiteral("Onaylandı");
    case 4: return QStringLiteral("Görüldü");
    case 5: return QStringLiteral("Parçalı Hazırlandı");
    case 6: return QStringLiteral("Hazırlandı");
    case 7: return QStringLiteral("Sevk Edildi");
    }
    return QStringLiteral("Bilinmiyor");
}

void checkQuantity(double miktar)
{
    if (!(miktar > 0) || miktar > MaxLineQuantity || miktar != std::floor(miktar))
        badRequest(QStringLiteral("Geçersiz miktar: %1 (1 ile %2 arasında tam sayı olmalı)")
                       .arg(miktar).arg(MaxLineQuantity));
}

} // namespace kestro::server
