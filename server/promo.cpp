// Announcements, opening advertisements, banners, the news strip and tab counts.
#include "core.h"
#include "recordjson.h"
#include "database.h"
#include "marshal.h"
#include "records.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace kestro::server {

namespace {

enum DuyuruTuru { Duyuru = 1, AcilisReklami = 2 };

TAcilisEkran screenFrom(QSqlQuery &q)
{
    TAcilisEkran e;
    e.setSiraNo(q.value(0).toInt());
    e.setBaslik(q.value(1).toString());
    e.setArama(q.value(2).toString());
    e.setResim(QString::fromLatin1(q.value(3).toByteArray().toHex().toUpper()));
    return e;
}


void addBanner(Call &c, int no)
{
    // No banner is size 0, which the client takes as "nothing to show".
    c.addStream(scalar(QStringLiteral("SELECT veri FROM bannerlar WHERE no = ?"), {no}).toByteArray());
}

} // namespace

void registerPromo(Methods &m)
{
    using A = ArgKind;
    m.add(QStringLiteral("AcilisEkranlarVer2"), {}, [](Call &c) {
        QSqlQuery q = run(QStringLiteral("SELECT sirano, baslik, arama, resim FROM duyurular WHERE tur = ? ORDER BY sirano"),
                          {int(Duyuru)});
        TAcilisEkranlariki list;
        TAcilisEkranListesi items;
        while (q.next())
            items.append(screenFrom(q));
        list.setEkranlar(items);
        c.addJson(recordJson(list));
    });
    m.add(QStringLiteral("AcilisReklamAdet"), {}, [](Call &c) {
        c.addInt(scalar(QStringLiteral("SELECT COUNT(*) FROM duyurular WHERE tur = ?"), {int(AcilisReklami)}).toInt());
    });
    m.add(QStringLiteral("AcilisREklamVer"), {A::Int32}, [](Call &c) {
        // 0-based position among the opening advertisements; past the end there is none.
        const int sira = c.int32(0);
        if (sira < 0) {
            c.addJson(QByteArrayLiteral("null"));
            return;
        }
        QSqlQuery q = run(QStringLiteral("SELECT sirano, baslik, arama, resim FROM duyurular WHERE tur = ? "
                                         "ORDER BY sirano LIMIT 1 OFFSET ?"),
                          {int(AcilisReklami), sira});
        if (!q.next()) {
            c.addJson(QByteArrayLiteral("null"));
            return;
        }
        const TAcilisEkran e = screenFrom(q);
        c.addJson(recordJson(e));
    });
    m.add(QStringLiteral("BannerResimVer"), {}, [](Call &c) { addBanner(c, 1); });
    m.add(QStringLiteral("BannerResimVer2"), {}, [](Call &c) { addBanner(c, 2); });
    m.add(QStringLiteral("BannerResimVer3"), {}, [](Call &c) { addBanner(c, 3); });
    m.add(QStringLiteral("KayanYaziGetir"), {}, [](Call &c) {
        c.addText(scalar(QStringLiteral("SELECT deger FROM ayarlar WHERE anahtar = 'kayanyazi'"), {}, QString()).toString());
    });
    m.add(QStringLiteral("BalonGetir"), {A::Session}, [](Call &c) {
        // Counts by column position: cart lines, new stocks, campaign stocks, announcements, open balance quantity.
        const int carino = c.user().carino;
        DataSet t = emptyTable({{"SEPET", FieldType::Int32}, {"YENI", FieldType::Int32}, {"KAMPANYA", FieldType::Int32},
                                {"DUYURU", FieldType::Int32}, {"BAKIYE", FieldType::Float}});
        const int row = t.appendRow();
        t.setValue(row, 0, scalar(QStringLiteral("SELECT COUNT(*) FROM sepet WHERE carino = ?"), {carino}));
        t.setValue(row, 1, scalar(QStringLiteral("SELECT COUNT(*) FROM stoklar WHERE yeni = 1")));
        t.setValue(row, 2, c.user().tip == 4 ? QVariant(0)
                                             : scalar(QStringLiteral("SELECT COUNT(*) FROM stoklar WHERE kampanya > 0 "
                                                                     "AND kampfiyat > 0")));
        t.setValue(row, 3, scalar(QStringLiteral("SELECT COUNT(*) FROM duyurular WHERE tur = ?"), {int(Duyuru)}));
        t.setValue(row, 4, scalar(QStringLiteral("SELECT COALESCE(SUM(kalan), 0) FROM siparis_satirlari WHERE carino = ? "
                                                 "AND kalan > 0"), {carino}));
        c.addTable(t);
    });
}

} // namespace kestro::server
