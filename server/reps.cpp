// Representative tools: customer lists, order-state counters, staff reports.
#include "account.h"
#include "recordjson.h"
#include "database.h"
#include "marshal.h"
#include "records.h"
#include "reports.h"
#include "session.h"
#include "search.h"
#include "lines.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace kestro::server {

namespace {

constexpr FieldType I = FieldType::Int32;
constexpr FieldType F = FieldType::Float;
constexpr FieldType S = FieldType::WideString;
constexpr FieldType D = FieldType::Date;

const std::vector<Col> customerColumns = {
    {"CARINO", I}, {"CARIKOD", S}, {"CARIADI", S}, {"SATICISI", S}, {"TLBAKIYE", F}, {"DURUM", S}, {"SEPET", I},
    {"ALINDI", I}, {"ONAYLANDI", I}, {"GORULDU", I}, {"HAZIRLANDI", I}, {"PARCALIHAZIRLANDI", I}, {"OZELKOD", S},
    {"KOD1", S}, {"KOD2", S}, {"KOD3", S}, {"KOD4", S}, {"KOD5", S}, {"TEL1", S}, {"TEL2", S}, {"ILCE", S},
    {"IL", S}, {"GSM", S}, {"YETKILI", S}, {"INDIRIM", F}, {"VADE", I}, {"VADEKONTROLGUN", I},
    {"VADEKONTROLAY", I}, {"VERGIDAIRESI", S}, {"VERGINO", S}, {"ADRES1", S}, {"ADRES2", S}, {"ANAGRUP", S},
    {"ALTGRUP", S}, {"FAX1", S}, {"FAX2", S}, {"EMAIL", S}};

QString stateCount(int durum)
{
    return QStringLiteral("(SELECT COUNT(*) FROM siparisler o WHERE o.carino = c.carino AND o.durum = %1)").arg(durum);
}

DataSet customerTable(const QString &where, const QVariantList &binds, const QString &filter = {})
{
    QSqlQuery q = run(QStringLiteral(
        "SELECT c.carino, c.carikod, c.cariadi, sa.adi, (SELECT COALESCE(SUM(e.borc - e.alacak), 0) FROM evraklar e "
        "WHERE e.carino = c.carino), '', (SELECT COUNT(*) FROM sepet p WHERE p.carino = c.carino), %1, %2, %3, %4, %5, "
        "c.ozelkod, c.kod1, c.kod2, c.kod3, c.kod4, c.kod5, c.tel1, c.tel2, c.ilce, c.il, c.gsm, c.yetkili, c.indirim, "
        "c.vade, c.vadekontrolgun, c.vadekontrolay, c.vergidairesi, c.vergino, c.adres1, c.adres2, c.anagrup, "
        "c.altgrup, c.fax1, c.fax2, c.email FROM cariler c LEFT JOIN saticilar sa ON sa.satici_no = c.satici_no ")
                          .arg(stateCount(2), stateCount(3), stateCount(4), stateCount(6), stateCount(5))
                      + where + QStringLiteral(" ORDER BY c.cariadi"),
                      binds);
    DataSet t = tableFromQuery(q, customerColumns);
    const QStringList words = searchWords(filter);
    for (int r = t.rowCount() - 1; r >= 0; --r) {
        if (!words.isEmpty()) {
            const QString hay = searchText({t.asString(r, 1), t.asString(r, 2), t.asString(r, 20), t.asString(r, 21),
                                            t.asString(r, 3), t.asString(r, 12)});
            const QStringList tokens = hay.split(QLatin1Char(' '));
            bool all = true;
            for (const QString &w : words) {
                bool found = false;
                for (const QString &tok : tokens)
                    if (tok.startsWith(w) || (w.size() > 2 && tok.contains(w))) {
                        found = true;
                        break;
                    }
                all = all && found;
            }
            if (!all) {
                t.removeRow(r);
                continue;
            }
        }
        const double b = t.asDouble(r, 4);
        t.setValue(r, 5, b > 0.005 ? QStringLiteral("Borçlu") : b < -0.005 ? QStringLiteral("Alacaklı") : QString());
    }
    t.first();
    return t;
}

void requireRep(const SessionUser &u)
{
    if (!u.isRep())
        forbidden(QStringLiteral("Bu işlem yalnızca satış temsilcileri içindir"));
}

} // namespace

QString customerScope(const SessionUser &u, QVariantList &binds)
{
    if (!u.isRep()) {
        binds << u.carino;
        return QStringLiteral("c.carino = ?");
    }
    if (u.tip == 2)
        return QStringLiteral("1 = 1");
    binds << u.saticiNo;
    return QStringLiteral("c.satici_no = ?");
}

void registerReps(Methods &m)
{
    using A = ArgKind;
    m.add(QStringLiteral("CariAra"), {A::Session, A::Text}, [](Call &c) {
        requireRep(c.user());
        QVariantList b;
        const QString scope = customerScope(c.user(), b);
        c.addTable(customerTable(QStringLiteral("WHERE ") + scope, b, c.text(1)));
    });
    m.add(QStringLiteral("CariSepetVer"), {A::Session, A::Int32}, [](Call &c) {
        requireRep(c.user());
        const int n = c.int32(1);
        if (n < 1 || n > 7)
            badRequest(QStringLiteral("Geçersiz durum kodu: %1 (1 ile 7 arası)").arg(n));
        QVariantList b;
        QString where = QStringLiteral("WHERE ") + customerScope(c.user(), b);
        if (n == 1) {
            where += QStringLiteral(" AND EXISTS (SELECT 1 FROM sepet p WHERE p.carino = c.carino)");
        } else {
            where += QStringLiteral(" AND EXISTS (SELECT 1 FROM siparisler o WHERE o.carino = c.carino AND o.durum = ?)");
            b << n;
        }
        c.addTable(customerTable(where, b));
    });
    m.add(QStringLiteral("SepetSayisi"), {A::Session}, [](Call &c) {
        QVariantList b;
        const QString scope = customerScope(c.user(), b);
        c.addInt(scalar(QStringLiteral("SELECT COUNT(*) FROM cariler c WHERE ") + scope
                            + QStringLiteral(" AND EXISTS (SELECT 1 FROM sepet p WHERE p.carino = c.carino)"),
                        b).toInt());
    });
    m.add(QStringLiteral("TusSonuclariVer"), {A::Session}, [](Call &c) {
        QVariantList b;
        const QString scope = customerScope(c.user(), b);
        QSqlQuery q = run(QStringLiteral("SELECT o.durum, COUNT(*) FROM siparisler o JOIN cariler c ON c.carino = o.carino "
                                         "WHERE ") + scope + QStringLiteral(" GROUP BY o.durum"),
                          b);
        TTusSonuclari t;
        while (q.next()) {
            const int n = q.value(1).toInt();
            switch (q.value(0).toInt()) {
            case 2: t.setAlindi(n); break;
            case 3: t.setOnaylandi(n); break;
            case 4: t.setGoruldu(n); break;
            case 5: t.setParcaliHazirlandi(n); break;
            case 6: t.setHazirlandi(n); break;
            case 7: t.setSevkEdildi(n); break;
            }
        }
        c.addJson(recordJson(t));
    });
    m.add(QStringLiteral("RaporAlinanSiparisler"), {A::Session, A::Double, A::Double}, [](Call &c) {
        requireRep(c.user());
        const DateRange r = dateRange(c.dbl(1), c.dbl(2));
        QVariantList b{r.from, r.to};
        const QString scope = customerScope(c.user(), b);
        QSqlQuery q = run(QStringLiteral(
            "SELECT sa.adi, o.idno, o.carino, o.tarih, 'TL', 1, o.verenid, k.adi, t.adi, u.adi, c.carikod, c.cariadi, "
            "o.durum, f.adi, o.vergi, o.nettutar, o.tutar FROM siparisler o JOIN cariler c ON c.carino = o.carino "
            "LEFT JOIN saticilar sa ON sa.satici_no = c.satici_no LEFT JOIN kullanicilar u ON u.sirano = o.verenid "
            "LEFT JOIN kargo_cinsleri k ON k.id = o.kargo_id LEFT JOIN teslim_cinsleri t ON t.id = o.teslim_id "
            "LEFT JOIN kargo_firmalari f ON f.sirano = o.kargofirma_id WHERE o.tarih >= ? AND o.tarih <= ? AND ")
                              + scope + QStringLiteral(" ORDER BY sa.adi, o.tarih, o.idno"),
                          b);
        DataSet t = tableFromQuery(q, {{"SATICIADI", S}, {"IDNO", F}, {"CARINO", I}, {"TARIH", D}, {"KUR", S},
                                       {"KURTL", F}, {"VERENIDNO", I}, {"KARGO", S}, {"TESLIM", S}, {"VEREN", S},
                                       {"CARIKOD", S}, {"CARIADI", S}, {"DURUM", S}, {"KARGOADI", S}, {"VERGI", F},
                                       {"NETTUTAR", F}, {"TUTAR", F}});
        for (int row = 0; row < t.rowCount(); ++row)
            t.setValue(row, 12, orderStateName(t.asString(row, 12).toInt()));
        c.addTable(t);
    });
    m.add(QStringLiteral("RaporEnCokSatilanStoklar"), {A::Session, A::Double, A::Double}, [](Call &c) {
        requireRep(c.user());
        const DateRange r = dateRange(c.dbl(1), c.dbl(2));
        QVariantList b{r.from, r.to};
        const QString scope = customerScope(c.user(), b);
        QSqlQuery q = run(QStringLiteral(
            "SELECT s.barkod, s.ureticikodu, s.adi, s.anagrup, SUM(l.miktar), SUM(l.nettutar), SUM(l.vergitutari), "
            "SUM(l.nettutar + l.vergitutari) FROM siparis_satirlari l JOIN siparisler o ON o.idno = l.idno "
            "JOIN stoklar s ON s.stokno = l.stokno JOIN cariler c ON c.carino = l.carino "
            "WHERE o.tarih >= ? AND o.tarih <= ? AND ") + scope
                              + QStringLiteral(" GROUP BY s.stokno, s.barkod, s.ureticikodu, s.adi, s.anagrup "
                                               "ORDER BY SUM(l.miktar) DESC, s.barkod LIMIT 1000"),
                          b);
        c.addTable(tableFromQuery(q, {{"BARKOD", S}, {"KOD", S}, {"ADI", S}, {"DEPARTMAN", S}, {"MIKTAR", F},
                                      {"NETTUTAR", F}, {"TLVERGI", F}, {"TUTAR", F}}));
    });
}

} // namespace kestro::server
