#include "outbox.h"

#include "core.h"
#include "database.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

namespace kestro::server {

namespace {

const char *const requestKeys[] = {"idsi", "baslik", "firmaadi", "adres1", "adres2", "ilce", "sehir", "telefon", "fax",
                                   "vd", "vn", "yetkili", "kullaniciadi", "sifre", "mail", "kargoambar", "konu"};

void storeRequest(Call &c, int count, const QString &kind)
{
    QJsonObject o;
    for (int i = 0; i < count; ++i) {
        const QString v = c.text(i);
        if (v.size() > 20000)
            badRequest(QStringLiteral("%1 alanı çok uzun").arg(QLatin1String(requestKeys[i])));
        // The password a user asks for is not kept in the outbox.
        o.insert(QLatin1String(requestKeys[i]), i == 13 && !v.isEmpty() ? QStringLiteral("***") : v);
    }
    if (c.text(1).trimmed().isEmpty())
        badRequest(QStringLiteral("Başlık boş olamaz"));
    const QString recipient = scalar(QStringLiteral("SELECT deger FROM ayarlar WHERE anahtar = 'mail_alici'"), {},
                                     QStringLiteral("b2b@kestro.local")).toString();
    const int id = storeOutbox(kind, c.text(0), c.text(1), c.text(2), recipient,
                               QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)));
    c.addInt(id > 0 ? 1 : 0);
}

} // namespace

int storeOutbox(const QString &kind, const QString &machineId, const QString &subject, const QString &firm,
                const QString &recipient, const QString &content)
{
    Transaction t;
    const int id = scalar(QStringLiteral("INSERT INTO giden_kutusu (tarih, tur, bilgisayarid, baslik, firma, alici, icerik) "
                                         "VALUES (?, ?, ?, ?, ?, ?, ?) RETURNING id"),
                          {QDateTime::currentDateTime().toString(Qt::ISODate), kind, machineId, subject, firm, recipient,
                           content}).toInt();
    t.commit();
    return id;
}

QString outboxListing()
{
    QString out;
    QSqlQuery q = run(QStringLiteral("SELECT id, tarih, tur, bilgisayarid, baslik, firma, alici, icerik FROM giden_kutusu "
                                     "ORDER BY id"));
    while (q.next()) {
        out += QStringLiteral("#%1  %2  [%3]  kimlik: %4\n  Alıcı: %5\n  Başlık: %6\n  Firma: %7\n  İçerik: %8\n\n")
                   .arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                        q.value(6).toString(), q.value(4).toString(), q.value(5).toString(), q.value(7).toString());
    }
    return out;
}

void registerOutbox(Methods &m)
{
    std::vector<ArgKind> sixteen(16, ArgKind::Text);
    m.add(QStringLiteral("MailGonserCari"), sixteen, [](Call &c) { storeRequest(c, 16, QStringLiteral("istek")); });
    std::vector<ArgKind> seventeen(17, ArgKind::Text);
    m.add(QStringLiteral("MailGonserCariNormal"), seventeen, [](Call &c) { storeRequest(c, 17, QStringLiteral("mail")); });
}

} // namespace kestro::server
