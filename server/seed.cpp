#include "seed.h"

#include "core.h"
#include "database.h"
#include "gif.h"
#include "pricing.h"
#include "search.h"
#include "numberformat.h"

#include <QSqlError>

#include <QBuffer>
#include <QDate>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include <cmath>

namespace kestro::server {

namespace {

// A small generator of our own: the same data on every machine and library.
class Rng
{
public:
    explicit Rng(quint64 seed) : s(seed) {}
    quint32 next()
    {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return quint32(s >> 16);
    }
    int range(int lo, int hi) { return lo + int(next() % quint32(hi - lo + 1)); }
    bool chance(int percent) { return range(1, 100) <= percent; }
    template <typename T, size_t N> const T &pick(const T (&a)[N]) { return a[next() % N]; }

private:
    quint64 s;
};

struct Part
{
    const char *adi;
    const char *digeradi;
    const char *grup;
    int basePrice;
    int koli;
};

const Part parts[] = {
    {"YAĞ FİLTRESİ", "OIL FILTER", "FİLTRE", 180, 10}, {"HAVA FİLTRESİ", "AIR FILTER", "FİLTRE", 240, 10},
    {"POLEN FİLTRESİ", "CABIN FILTER", "FİLTRE", 200, 10}, {"YAKIT FİLTRESİ", "FUEL FILTER", "FİLTRE", 320, 5},
    {"FREN BALATASI ÖN", "BRAKE PAD FRONT", "FREN", 950, 1}, {"FREN BALATASI ARKA", "BRAKE PAD REAR", "FREN", 780, 1},
    {"FREN DİSKİ ÖN", "BRAKE DISC FRONT", "FREN", 1650, 2}, {"FREN KALİPERİ", "BRAKE CALIPER", "FREN", 2900, 1},
    {"DEBRİYAJ SETİ", "CLUTCH KIT", "DEBRİYAJ", 5400, 1}, {"DEBRİYAJ RULMANI", "RELEASE BEARING", "DEBRİYAJ", 1100, 1},
    {"AMORTİSÖR ÖN", "SHOCK ABSORBER FRONT", "SÜSPANSİYON", 2300, 2}, {"AMORTİSÖR ARKA", "SHOCK ABSORBER REAR", "SÜSPANSİYON", 1900, 2},
    {"ROT BAŞI", "TIE ROD END", "SÜSPANSİYON", 450, 2}, {"ROTİL", "BALL JOINT", "SÜSPANSİYON", 520, 2},
    {"SALINCAK", "CONTROL ARM", "SÜSPANSİYON", 1800, 1}, {"TRİGER SETİ", "TIMING BELT KIT", "MOTOR", 3600, 1},
    {"DEVİRDAİM POMPASI", "WATER PUMP", "SOĞUTMA", 1500, 1}, {"TERMOSTAT", "THERMOSTAT", "SOĞUTMA", 420, 5},
    {"RADYATÖR", "RADIATOR", "SOĞUTMA", 3900, 1}, {"BUJİ", "SPARK PLUG", "ATEŞLEME", 160, 4},
    {"ATEŞLEME BOBİNİ", "IGNITION COIL", "ATEŞLEME", 1350, 1}, {"MOTOR TAKOZU", "ENGINE MOUNT", "MOTOR", 850, 1},
    {"AKS KÖRÜĞÜ", "CV BOOT", "AKTARMA", 260, 2}, {"TEKER RULMANI", "WHEEL BEARING", "AKTARMA", 980, 1},
    {"V KAYIŞI", "V-RIBBED BELT", "MOTOR", 380, 5}, {"SİLİNDİR KAPAK CONTASI", "HEAD GASKET", "MOTOR", 1250, 1},
    {"MARŞ MOTORU", "STARTER MOTOR", "ELEKTRİK", 6200, 1}, {"ALTERNATÖR", "ALTERNATOR", "ELEKTRİK", 7800, 1},
    {"FAR AMPULÜ H7", "HEADLAMP BULB", "AYDINLATMA", 90, 10}, {"SİLECEK SÜPÜRGESİ", "WIPER BLADE", "AYDINLATMA", 210, 2},
    {"ABS SENSÖRÜ", "ABS SENSOR", "ELEKTRİK", 690, 1}, {"YAKIT POMPASI", "FUEL PUMP", "YAKIT", 2700, 1},
    {"ENJEKTÖR", "INJECTOR", "YAKIT", 4300, 1}, {"STABİLİZATÖR ÇUBUĞU", "STABILISER LINK", "SÜSPANSİYON", 340, 2},
    {"KLİMA KOMPRESÖRÜ", "AC COMPRESSOR", "SOĞUTMA", 9800, 1}, {"EGZOZ CONTASI", "EXHAUST GASKET", "EGZOZ", 120, 5},
};

const char *const brands[] = {"BOSCH", "MANN", "FILTRON", "VALEO", "SACHS", "TRW", "FEBI", "LEMFÖRDER", "MAHLE",
                              "GATES", "NGK", "BREMBO", "SKF", "CONTITECH", "DELPHI", "MAGNETI MARELLI"};
const char *const models[] = {"FIAT DOBLO 1.3 MJT", "FIAT EGEA 1.6 MJT", "RENAULT CLIO IV 1.5 DCI", "RENAULT MEGANE III",
                              "FORD FOCUS III 1.6 TDCI", "FORD TRANSIT 2.2 TDCI", "VW PASSAT B7 1.6 TDI",
                              "VW GOLF VII 1.6 TDI", "TOYOTA COROLLA 1.4 D4D", "HYUNDAI I20 1.4", "OPEL ASTRA J 1.3 CDTI",
                              "PEUGEOT 301 1.6 HDI", "DACIA DUSTER 1.5 DCI", "HONDA CIVIC FD6 1.6", "MERCEDES SPRINTER 313",
                              "ŞAHİN 1.6", "DOĞAN SLX", "TOFAŞ KARTAL"};
const char *const firmPrefix[] = {"ÖZ", "YILDIZ", "AKIN", "GÜVEN", "ÇELİK", "DOĞAN", "ŞAHİN", "KARA", "ERDEM", "TUNA",
                                  "ASLAN", "ÖZTÜRK", "KOÇ", "AYDIN", "GÜNEŞ", "BAŞARAN", "ULUSOY", "EGE", "ANADOLU", "MARMARA"};
const char *const firmSuffix[] = {"OTO YEDEK PARÇA LTD. ŞTİ.", "OTOMOTİV SAN. TİC. A.Ş.", "OTO SANAYİ", "YEDEK PARÇA",
                                  "MOTORLU ARAÇLAR TİC.", "OTO ELEKTRİK"};
const char *const cities[][2] = {{"İSTANBUL", "İKİTELLİ"}, {"ANKARA", "OSTİM"}, {"İZMİR", "BORNOVA"}, {"BURSA", "NİLÜFER"},
                                 {"KONYA", "KARATAY"}, {"ADANA", "SEYHAN"}, {"KAYSERİ", "MELİKGAZİ"}, {"ESKİŞEHİR", "ODUNPAZARI"},
                                 {"SAMSUN", "İLKADIM"}, {"TRABZON", "ORTAHİSAR"}, {"ANTALYA", "KEPEZ"}, {"GAZİANTEP", "ŞEHİTKAMİL"}};

QByteArray imageBytes(const QImage &img, const char *format, int quality = 85)
{
    QByteArray out;
    QBuffer b(&out);
    b.open(QIODevice::WriteOnly);
    img.save(&b, format, quality);
    return out;
}

QImage card(int w, int h, const QColor &a, const QColor &b, const QString &title, const QString &sub)
{
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    p.fillRect(img.rect(), g);
    p.setPen(Qt::white);
    QFont f(QStringLiteral("DejaVu Sans"), std::max(8, h / 8), QFont::Bold);
    p.setFont(f);
    p.drawText(img.rect().adjusted(8, 0, -8, -h / 4), Qt::AlignCenter | Qt::TextWordWrap, title);
    f.setPointSize(std::max(6, h / 14));
    f.setBold(false);
    p.setFont(f);
    p.drawText(img.rect().adjusted(8, h / 2, -8, -4), Qt::AlignCenter | Qt::TextWordWrap, sub);
    return img;
}

QString money(double v) { return QString::number(v, 'f', 2); }

void exec(QSqlQuery &q, const QVariantList &v)
{
    for (int i = 0; i < v.size(); ++i)
        q.bindValue(i, bindable(v.at(i)));
    if (!q.exec())
        throw ApiError(500, QStringLiteral("Tanıtım verisi yazılamadı: %1").arg(q.lastError().text()));
}

QSqlQuery prepared(const QString &sql)
{
    QSqlQuery q(Db::connection());
    if (!q.prepare(sql))
        throw ApiError(500, QStringLiteral("Tanıtım verisi hazırlanamadı: %1").arg(q.lastError().text()));
    return q;
}

void seedReference()
{
    run(QStringLiteral("INSERT INTO saticilar VALUES (1, 'Ahmet Yılmaz', '0532 111 22 33', 'ahmet.yilmaz@kestro.local'), "
                       "(2, 'Mehmet Demir', '0533 222 33 44', 'mehmet.demir@kestro.local'), "
                       "(3, 'Ayşe Kaya', '0535 333 44 55', 'ayse.kaya@kestro.local'), "
                       "(4, 'Fatma Şahin', '0536 444 55 66', 'fatma.sahin@kestro.local')"));
    run(QStringLiteral("INSERT INTO teslim_cinsleri VALUES (1, 'Kargo ile Gönderim'), (2, 'Depodan Teslim'), "
                       "(3, 'Ambar ile Gönderim'), (4, 'Servis Aracı ile')"));
    run(QStringLiteral("INSERT INTO kargo_cinsleri VALUES (1, 'Alıcı Ödemeli'), (2, 'Gönderici Ödemeli'), (3, 'Anlaşmalı Kargo')"));
    run(QStringLiteral(
        "INSERT INTO kargo_firmalari VALUES "
        "(1, 1, 'Yurtiçi Kargo', 'Saat 16:00''dan sonra verilen siparişler ertesi iş günü çıkar.'), "
        "(2, 1, 'Aras Kargo', ''), (3, 1, 'MNG Kargo', 'Hacimli paketlerde desi farkı alıcıya yansıtılır.'), "
        "(4, 2, 'Sürat Kargo', 'Gönderici ödemeli gönderiler yalnızca 5.000 TL üzeri siparişlerde.'), "
        "(5, 2, 'PTT Kargo', ''), (6, 3, 'Horoz Lojistik', 'Anlaşmalı gönderiler haftada iki gün çıkar: Salı ve Cuma.'), "
        "(7, 3, 'Yurtiçi Kargo Anlaşmalı', '')"));
    run(QStringLiteral("INSERT INTO ayarlar VALUES ('kayanyazi', ?), ('mail_alici', 'b2b@kestro.local')"),
        {QStringLiteral("<b>Kestro Yedek Parça</b> &nbsp; <font color=\"#C00000\">Fren grubunda %15 kampanya!</font> &nbsp; "
                        "<i>Saat 16:00'ya kadar verilen siparişler aynı gün kargoda.</i> &nbsp; "
                        "<b>Yeni ürünler:</b> MANN ve BOSCH filtrelerinde yeni modeller eklendi.")});
}

void seedAccounts(Rng &r, int count)
{
    QSqlQuery q = prepared(QStringLiteral("INSERT INTO cariler VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    const int indirim[] = {20, 25, 30, 35, 40};
    const int vade[] = {30, 45, 60, 90};
    for (int i = 0; i < count; ++i) {
        const int carino = 100 + i;
        const auto &city = cities[i % int(std::size(cities))];
        const QString name = QStringLiteral("%1 %2").arg(QString::fromUtf8(r.pick(firmPrefix)), QString::fromUtf8(r.pick(firmSuffix)));
        const QString tel = QStringLiteral("0%1 %2 %3 %4").arg(r.range(212, 488)).arg(r.range(200, 999)).arg(r.range(10, 99)).arg(r.range(10, 99));
        exec(q, {carino, QStringLiteral("120.01.%1").arg(carino, 4, 10, QLatin1Char('0')), name, 1 + i % 4,
                 QStringLiteral("Yetkili %1").arg(QString::fromUtf8(r.pick(firmPrefix))),
                 QStringLiteral("%1. Sanayi Sitesi %2. Blok No:%3").arg(r.range(1, 5)).arg(r.range(1, 30)).arg(r.range(1, 99)),
                 QString(), QString::fromUtf8(city[1]), QString::fromUtf8(city[0]), QStringLiteral("TÜRKİYE"), tel, QString(),
                 tel, QString(), QStringLiteral("05%1 %2 %3 %4").arg(r.range(30, 55)).arg(r.range(100, 999)).arg(r.range(10, 99)).arg(r.range(10, 99)),
                 QStringLiteral("muhasebe%1@ornekbayi.local").arg(carino), QStringLiteral("%1 V.D.").arg(QString::fromUtf8(city[1])),
                 QStringLiteral("%1").arg(1000000000LL + qint64(r.next() % 899999999)), QString(QChar(QLatin1Char('A' + i % 3))),
                 QStringLiteral("BAYİ"), QString::fromUtf8(city[0]), QString(), QString(), QString(), QString(), QString(),
                 indirim[i % 5], vade[i % 4], 1, 0});
    }
    run(QStringLiteral("INSERT INTO kullanicilar VALUES (1, 'BAYI', '1234', 3, 1, 100, 1, 'bayi@ornekbayi.local'), "
                       "(2, 'BAYI4', '1234', 4, 1, 101, 2, 'bayi4@ornekbayi.local'), "
                       "(3, 'TEMSILCI', '1234', 1, 1, 100, 1, 'ahmet.yilmaz@kestro.local'), "
                       "(4, 'YETKILI', '1234', 2, 1, 101, 2, 'mehmet.demir@kestro.local'), "
                       "(5, 'PASIF', '1234', 3, 0, 102, 3, 'pasif@ornekbayi.local')"));
}

void seedPictures()
{
    QSqlQuery q = prepared(QStringLiteral("INSERT INTO resimler VALUES (?, ?, ?)"));
    for (int i = 0; i < int(std::size(parts)); ++i) {
        const QImage img = card(320, 240, QColor::fromHsv((i * 37) % 360, 160, 170), QColor(40, 40, 60),
                                QString::fromUtf8(parts[i].adi), QString::fromUtf8(parts[i].grup));
        const bool png = i % 5 == 0;
        exec(q, {i + 1, png ? QStringLiteral("image/png") : QStringLiteral("image/jpeg"),
                 imageBytes(img, png ? "PNG" : "JPG")});
    }
}

QString partNumber(Rng &r, int style)
{
    switch (style) {
    case 0: return QStringLiteral("%1-%2").arg(r.range(10, 99)).arg(r.range(10, 9999), 2, 10, QLatin1Char('0'));
    case 1: return QStringLiteral("%1.%2.%3").arg(r.range(0, 9)).arg(r.range(100, 999)).arg(r.range(100, 999));
    case 2: return QStringLiteral("%1%2/%3").arg(QChar(QLatin1Char('A' + r.range(0, 25)))).arg(r.range(100, 999)).arg(r.range(1, 99));
    default: return QString::number(r.range(100000, 9999999));
    }
}

void seedStocks(Rng &r, int count)
{
    // The place in code order (the last column) and the search index come from renumberStocks.
    QSqlQuery q = prepared(QStringLiteral("INSERT INTO stoklar VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,NULL)"));
    for (int stokno = 1; stokno <= count; ++stokno) {
        const int pi = (stokno - 1) % int(std::size(parts));
        const Part &p = parts[pi];
        const QString marka = QString::fromUtf8(r.pick(brands));
        const QString model = QString::fromUtf8(r.pick(models));
        // The first stock has a fixed, punctuated code so the part-number search can be shown.
        const QString barkod = stokno == 1 ? QStringLiteral("16-07") : partNumber(r, r.range(0, 3));
        const QString oem1 = QString::number(r.range(10000000, 99999999));
        const QString oem2 = r.chance(50) ? QString::number(r.range(1000000, 9999999)) : QString();
        const QString oem3 = r.chance(20) ? QStringLiteral("%1 %2").arg(r.range(100, 999)).arg(r.range(100, 999)) : QString();
        const QString uretici = partNumber(r, 2);
        const QString finish = QStringLiteral("FN%1").arg(r.range(10000, 99999));
        const QString adi = QStringLiteral("%1 %2").arg(QString::fromUtf8(p.adi), model.section(QLatin1Char(' '), 0, 1));
        const double fiyat = std::round(p.basePrice * (0.6 + r.range(0, 100) / 100.0)) + 0.90;
        const bool kampanya = r.chance(3);
        const double kampfiyat = kampanya ? std::round(fiyat * 0.8) + 0.90 : 0.0;
        const int d = r.range(1, 100);
        const int durum = d <= 60 ? 1 : d <= 70 ? 0 : d <= 75 ? 2 : d <= 85 ? 3 : d <= 90 ? 4 : 5;
        const double eldeki = durum == 1 ? r.range(1, 200) : 0;
        const QVariant resim = r.chance(40) ? QVariant(pi + 1) : QVariant(QMetaType::fromType<int>());
        const QStringList fields = {barkod, adi, marka, model, finish, oem1, oem2, oem3, QString(), oem1, uretici,
                                    QString::fromUtf8(p.digeradi)};
        exec(q, {stokno, barkod, adi, marka, model, finish, oem1, oem2, oem3, QString(), oem1, uretici,
                 QString::fromUtf8(p.digeradi), QStringLiteral("DP%1").arg(stokno, 6, 10, QLatin1Char('0')),
                 pi == 8 || pi == 15 ? QStringLiteral("TAKIM") : QStringLiteral("ADET"), QString::fromUtf8(p.grup),
                 QString(QChar(QLatin1Char('A' + r.range(0, 2)))), QStringLiteral("P%1").arg(r.range(1, 9)), 20, fiyat,
                 kampfiyat, r.chance(30) ? double(r.range(1, 2) * 5) : 0.0, kampanya ? 1 : 0, r.chance(2) ? 1 : 0,
                 durum, p.koli, eldeki, double(r.range(0, 3) * r.range(0, 5)),
                 double(durum == 3 || durum == 5 ? r.range(10, 100) : 0), resim, searchText(fields)});
    }
    renumberStocks();
}

struct SeedStock
{
    int stokno;
    QString barkod, adi;
    double fiyat;
    double ekindirim;
};

void seedHistory(Rng &r, int stockCount, int accounts)
{
    const QDate today = QDate::currentDate();
    QSqlQuery order = prepared(QStringLiteral(
        "INSERT INTO siparisler (carino, tarih, saat, teslim_id, kargo_id, kargofirma_id, durum, verenid, verenin_notu, "
        "alan_notu, satici_notu, tutar, indirimtutar, nettutar, vergi) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?) RETURNING idno"));
    QSqlQuery line = prepared(QStringLiteral(
        "INSERT INTO siparis_satirlari (idno, carino, stokno, barkod, stokadi, miktar, teslimedilen, kalan, ilkfiyat, "
        "birimfiyat, kdv, ind1, ind2, ind3, ind4, tutar, indirimtutar, nettutar, netbirimfiyat, vergitutari, verenid) "
        "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    QSqlQuery doc = prepared(QStringLiteral(
        "INSERT INTO evraklar (carino, tarih, turadi, evrakno, borc, alacak, aciklama, vade, siparis_idno) "
        "VALUES (?,?,?,?,?,?,?,?,?) RETURNING idno"));
    QSqlQuery inv = prepared(QStringLiteral(
        "INSERT INTO fatura_satirlari (idno, stokno, miktar, birimfiyat, ind1, ind2, kdv, tutar, toplamindirim, nettutar, vergi) "
        "VALUES (?,?,?,?,?,?,?,?,?,?,?)"));
    QSqlQuery tah = prepared(QStringLiteral(
        "INSERT INTO tahsilat_satirlari (idno, tarih, turu, cins, vade, tutar, aciklama, evrakno, ref, saat) VALUES (?,?,?,?,?,?,?,?,?,?)"));
    QSqlQuery pos = prepared(QStringLiteral(
        "INSERT INTO sanalpos (idno, carino, tarih, saat, tutar, kart, banka, onaykodu) VALUES (?,?,?,?,?,?,?,?)"));
    auto lastId = [](QSqlQuery &q) { q.next(); const int id = q.value(0).toInt(); q.finish(); return id; };
    static const char *const banks[] = {"Ziraat Bankası", "Garanti BBVA", "İş Bankası", "Akbank"};
    static const char *const notes[] = {"", "", "Acil lütfen", "Öğleden önce teslim", "Faturayı e-posta ile gönderin", ""};
    int evrakSira = 1, tahSira = 1;
    for (int a = 0; a < accounts; ++a) {
        const int carino = 100 + a;
        const double cariInd = (a % 5) * 5 + 20;
        const int vade = (a % 4 == 0) ? 30 : (a % 4 == 1) ? 45 : (a % 4 == 2) ? 60 : 90;
        const QDate open = today.addDays(-200);
        const double opening = r.range(0, 40) * 250.0;
        doc.finish();
        exec(doc, {carino, open.toString(Qt::ISODate), QStringLiteral("Açılış Fişi"),
                   QStringLiteral("AF-%1").arg(evrakSira++, 6, 10, QLatin1Char('0')), opening, 0.0,
                   QStringLiteral("Devreden bakiye"), open.addDays(vade).toString(Qt::ISODate), QVariant()});
        lastId(doc);
        if (a >= 60)
            continue;
        double invoiced = opening;
        const int orders = r.range(3, 8);
        const int verenid = a == 0 ? 1 : a == 1 ? 2 : (a % 4 == 0 ? 3 : 4);
        for (int o = 0; o < orders; ++o) {
            const QDate day = today.addDays(-r.range(1, 180));
            const int durum = r.range(2, 7);
            const int kargo = r.range(1, 3);
            const int firma = kargo == 1 ? r.range(1, 3) : kargo == 2 ? r.range(4, 5) : r.range(6, 7);
            order.finish();
            exec(order, {carino, day.toString(Qt::ISODate), QStringLiteral("%1:%2:00").arg(r.range(8, 18), 2, 10, QLatin1Char('0')).arg(r.range(0, 59), 2, 10, QLatin1Char('0')),
                         r.range(1, 4), kargo, firma, durum, verenid, QString::fromUtf8(r.pick(notes)),
                         durum >= 4 ? QStringLiteral("Siparişiniz işleme alındı.") : QString(),
                         durum >= 3 ? QStringLiteral("Müşteri aranarak teyit alındı.") : QString(), 0.0, 0.0, 0.0, 0.0});
            const int idno = lastId(order);
            double tutar = 0, indirim = 0, net = 0, vergi = 0;
            struct Delivered { int stokno; double miktar, fiyat, ind1, ind2; LineAmounts a; };
            std::vector<Delivered> delivered;
            const int lines = r.range(1, 6);
            for (int l = 0; l < lines; ++l) {
                const int stokno = r.range(1, stockCount);
                QSqlQuery s = run(QStringLiteral("SELECT barkod, adi, fiyat, ekindirim FROM stoklar WHERE stokno = ?"), {stokno});
                s.next();
                const double miktar = r.range(1, 10);
                const Rates ind{cariInd, s.value(3).toDouble(), 0, 0};
                const double fiyat = s.value(2).toDouble();
                const LineAmounts la = tutarHesapla(fiyat, miktar, ind, 20);
                double teslim = durum == 7 ? miktar : durum == 5 ? std::floor(miktar / 2) : 0;
                if (durum == 7 && r.chance(15))
                    teslim = std::max(0.0, miktar - 1); // a shipped order may still owe a piece
                exec(line, {idno, carino, stokno, s.value(0), s.value(1), miktar, teslim, miktar - teslim, fiyat, fiyat, 20,
                            ind[0], ind[1], 0.0, 0.0, la.tutar, la.indirimtutar, la.nettutar, la.netbirimfiyat,
                            la.vergitutari, verenid});
                tutar += la.nettutar + la.vergitutari;
                indirim += la.indirimtutar;
                net += la.nettutar;
                vergi += la.vergitutari;
                if (teslim > 0)
                    delivered.push_back({stokno, teslim, fiyat, ind[0], ind[1], tutarHesapla(fiyat, teslim, ind, 20)});
            }
            run(QStringLiteral("UPDATE siparisler SET tutar = ?, indirimtutar = ?, nettutar = ?, vergi = ? WHERE idno = ?"),
                {IkiHaneYuvarla(tutar), IkiHaneYuvarla(indirim), IkiHaneYuvarla(net), IkiHaneYuvarla(vergi), idno});
            if (delivered.empty())
                continue;
            // What was delivered is invoiced the day after the order.
            double borc = 0;
            for (const Delivered &d : delivered)
                borc += d.a.nettutar + d.a.vergitutari;
            borc = IkiHaneYuvarla(borc);
            const QDate invDay = day.addDays(1);
            doc.finish();
            exec(doc, {carino, invDay.toString(Qt::ISODate), QStringLiteral("Satış Faturası"),
                       QStringLiteral("SF-%1").arg(evrakSira++, 6, 10, QLatin1Char('0')), borc, 0.0,
                       QStringLiteral("Sipariş %1").arg(idno), invDay.addDays(vade).toString(Qt::ISODate), idno});
            const int fid = lastId(doc);
            for (const Delivered &d : delivered)
                exec(inv, {fid, d.stokno, d.miktar, d.fiyat, d.ind1, d.ind2, 20, d.a.tutar, d.a.indirimtutar, d.a.nettutar,
                           d.a.vergitutari});
            invoiced += borc;
        }
        // Collections pay off part of what was invoiced; some by card through the virtual POS.
        const int payments = r.range(1, 3);
        for (int p = 0; p < payments; ++p) {
            const double amount = IkiHaneYuvarla(invoiced * r.range(10, 30) / 100.0);
            if (amount < 1)
                continue;
            const QDate day = today.addDays(-r.range(1, 150));
            const bool card = r.chance(50);
            const QString no = QStringLiteral("TH-%1").arg(tahSira++, 6, 10, QLatin1Char('0'));
            doc.finish();
            exec(doc, {carino, day.toString(Qt::ISODate), QStringLiteral("Tahsilat"), no, 0.0, amount,
                       card ? QStringLiteral("Sanal POS tahsilatı") : QStringLiteral("Havale / EFT"),
                       day.toString(Qt::ISODate), QVariant()});
            const int tid = lastId(doc);
            const QString saat = QStringLiteral("%1:%2").arg(r.range(9, 17), 2, 10, QLatin1Char('0')).arg(r.range(0, 59), 2, 10, QLatin1Char('0'));
            exec(tah, {tid, day.toString(Qt::ISODate), QStringLiteral("Tahsilat"), card ? QStringLiteral("Kredi Kartı") : QStringLiteral("Havale"),
                       day.toString(Qt::ISODate), amount, card ? QStringLiteral("Sanal POS") : QStringLiteral("Banka havalesi"),
                       no, QStringLiteral("R%1").arg(r.range(100000, 999999)), saat});
            if (card)
                exec(pos, {tid, carino, day.toString(Qt::ISODate), saat, amount,
                           QStringLiteral("5421 **** **** %1").arg(r.range(1000, 9999)),
                           QString::fromUtf8(r.pick(banks)),
                           QString::number(r.range(100000, 999999))});
        }
    }
}

void seedPromotions()
{
    QSqlQuery d = prepared(QStringLiteral("INSERT INTO duyurular VALUES (?, ?, ?, ?, ?)"));
    struct Item { int tur; const char *baslik; const char *arama; QColor a, b; };
    const Item items[] = {
        {1, "Fren Grubunda Kampanya", "#KAMPANYA#", QColor(190, 20, 20), QColor(60, 0, 0)},
        {1, "Yeni Ürünler Stokta", "#YENİ#", QColor(20, 120, 60), QColor(0, 40, 20)},
        {1, "Fren Balatalarında Yeni Modeller", "FREN BALATASI", QColor(30, 60, 160), QColor(0, 10, 50)},
        {1, "MANN Filtre Haftası", "MANN", QColor(200, 140, 0), QColor(80, 40, 0)},
        {2, "Kampanyalı Ürünleri Kaçırmayın", "#KAMPANYA#", QColor(160, 0, 80), QColor(40, 0, 30)},
        {2, "Yeni Gelen Ürünler", "#YENİ#", QColor(0, 110, 140), QColor(0, 30, 50)},
        {2, "Yağ Filtrelerinde Fırsat", "YAG FILTRESI", QColor(120, 90, 0), QColor(30, 20, 0)},
    };
    int no = 1;
    for (const Item &i : items) {
        const QImage img = card(600, 300, i.a, i.b, QString::fromUtf8(i.baslik), QStringLiteral("Kestro Yedek Parça B2B"));
        exec(d, {no++, i.tur, QString::fromUtf8(i.baslik), QString::fromUtf8(i.arama), imageBytes(img, "JPG")});
    }
    QSqlQuery b = prepared(QStringLiteral("INSERT INTO bannerlar VALUES (?, ?)"));
    QList<QImage> frames;
    const char *texts[] = {"Fren grubunda %15 indirim", "Filtrelerde yeni modeller", "Aynı gün kargo"};
    for (int i = 0; i < 3; ++i)
        frames << card(409, 100, QColor::fromHsv(i * 110, 200, 180), QColor(20, 20, 40), QString::fromUtf8(texts[i]),
                       QStringLiteral("Kestro Yedek Parça"));
    exec(b, {1, encodeGif(frames, 150)});
    QList<QImage> strip;
    for (int i = 0; i < 2; ++i)
        strip << card(1200, 60, QColor::fromHsv(200 + i * 40, 180, 160), QColor(10, 10, 30),
                      i == 0 ? QStringLiteral("KESTRO B2B — Siparişleriniz 7/24 açık") : QStringLiteral("Kampanyalı ürünler için Kampanyalı Stoklar sekmesine bakınız"),
                      QString());
    exec(b, {2, encodeGif(strip, 300)});
    exec(b, {3, imageBytes(card(1600, 40, QColor(0, 60, 120), QColor(0, 20, 40),
                                QStringLiteral("BOSCH • MANN • VALEO • SACHS • TRW • BREMBO • SKF • NGK"), QString()),
                           "BMP")});
}

} // namespace

void seedDemonstration(const SeedOptions &opt)
{
    Rng r(20240611);
    Transaction t;
    seedReference();
    seedAccounts(r, opt.accounts);
    seedPictures();
    seedStocks(r, std::max(10, opt.stocks));
    seedHistory(r, std::max(10, opt.stocks), std::min(opt.accounts, 200));
    seedPromotions();
    t.commit();
}

} // namespace kestro::server
