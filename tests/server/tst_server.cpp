// The real server over loopback HTTP, driven through the client's proxy.
#include "connection.h"
#include "errors.h"
#include "numberformat.h"
#include "proxy.h"
#include "testserver.h"

#include <QtConcurrent/QtConcurrent>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using namespace kestro;

namespace {

struct Client
{
    ServerConnection conn;
    std::unique_ptr<TServerMethods1Client> proxy;
    explicit Client(const test::TestServer &s)
    {
        s.configure(conn);
        conn.open();
        proxy = std::make_unique<TServerMethods1Client>(conn);
    }
    TServerMethods1Client *operator->() { return proxy.get(); }
};

} // namespace

class TestServerMethods : public QObject
{
    Q_OBJECT

    test::TestServer server;
    TSonucBilgisi bayi, bayi4, temsilci, yetkili;

    TSonucBilgisi signIn(const QString &machine, const QString &user)
    {
        if (!server.registerMachine(machine, user))
            qFatal("%s", qPrintable(server.lastError()));
        Client c(server);
        const TSonucBilgisi *r = c->BuyukGetir(machine);
        TSonucBilgisi s;
        s.Kopyala(*r);
        return s;
    }

    // Raw call: status and body, for what the proxy would never send.
    QPair<int, QByteArray> raw(const QString &method, const QByteArray &body)
    {
        ServerConnection c;
        server.configure(c);
        c.open();
        try {
            return {200, c.call(method, body)};
        } catch (const ServerError &e) {
            return {400, e.text().toUtf8()};
        }
    }

    // Stocks whose search text has a word starting with each of `words`, in code
    // order (bytes of the code, then stock number), read from the database file
    // without the search index.
    QList<qint64> scanInCodeOrder(const QStringList &words)
    {
        QList<qint64> out;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("scan"));
            db.setDatabaseName(server.databasePath());
            if (!db.open())
                return out;
            QString sql = QStringLiteral("SELECT stokno FROM stoklar WHERE 1=1");
            for (int i = 0; i < words.size(); ++i)
                sql += QStringLiteral(" AND (' ' || arama) LIKE ?");
            QSqlQuery q(db);
            q.prepare(sql + QStringLiteral(" ORDER BY barkod, stokno"));
            for (int i = 0; i < words.size(); ++i)
                q.bindValue(i, QStringLiteral("%% %1%").arg(words.at(i)));
            q.exec();
            while (q.next())
                out << q.value(0).toLongLong();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("scan"));
        return out;
    }

    static QList<qint64> stocksOf(const DataSet &t)
    {
        QList<qint64> out;
        const int col = t.fieldIndex(QStringLiteral("STOK_STOKNO"));
        for (int r = 0; r < t.rowCount(); ++r)
            out << t.asInt(r, col);
        return out;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(server.start(), qPrintable(server.lastError()));
        bayi = signIn(QStringLiteral("TEST-BAYI"), QStringLiteral("BAYI"));
        bayi4 = signIn(QStringLiteral("TEST-BAYI4"), QStringLiteral("BAYI4"));
        temsilci = signIn(QStringLiteral("TEST-TEMSILCI"), QStringLiteral("TEMSILCI"));
        yetkili = signIn(QStringLiteral("TEST-YETKILI"), QStringLiteral("YETKILI"));
    }

    void signInRecord()
    {
        QVERIFY(bayi.Varmi());
        QCOMPARE(bayi.Version(), 2);
        QCOMPARE(bayi.ADI(), QStringLiteral("BAYI"));
        QCOMPARE(bayi.SIFRE(), QStringLiteral("1234"));
        QCOMPARE(bayi.MusteriTipi(), 3);
        QCOMPARE(bayi.AKTIF(), 1);
        QVERIFY(bayi.CARINO() > 0);
        QVERIFY(!bayi.CariAdi().isEmpty());
        QVERIFY(!bayi.SaticiAdi().isEmpty());
        QCOMPARE(bayi4.MusteriTipi(), 4);
        QCOMPARE(temsilci.MusteriTipi(), 1);
        QCOMPARE(yetkili.MusteriTipi(), 2);
        Client c(server);
        const TSonucBilgisi *unknown = c->BuyukGetir(QStringLiteral("NO-SUCH-MACHINE"));
        QVERIFY(unknown);
        QVERIFY(!unknown->Varmi());
        QCOMPARE(unknown->Version(), 2);
    }

    void search_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("expected");
        QTest::newRow("turkish folded") << "YAG FILTRESI" << "ADI" << "YAĞ FİLTRESİ";
        QTest::newRow("turkish as typed") << "yağ filtresi" << "ADI" << "YAĞ FİLTRESİ";
        QTest::newRow("prefix") << "AMORT" << "ADI" << "AMORTİSÖR";
        QTest::newRow("dash") << "16-07" << "BARKOD" << "16-07";
        QTest::newRow("dot") << "16.07" << "BARKOD" << "16-07";
        QTest::newRow("slash") << "16/07" << "BARKOD" << "16-07";
        QTest::newRow("bare") << "1607" << "BARKOD" << "16-07";
        QTest::newRow("other name") << "OIL FILTER" << "ADI" << "YAĞ FİLTRESİ";
    }
    void search()
    {
        QFETCH(QString, text);
        QFETCH(QString, field);
        QFETCH(QString, expected);
        Client c(server);
        DataSet t = c->StokAraGetirVosk(text, bayi.kopyasi());
        QVERIFY2(t.rowCount() > 0, qPrintable(text));
        const int col = t.fieldIndex(field);
        bool found = false;
        for (int r = 0; r < t.rowCount(); ++r)
            found = found || t.asString(r, col).contains(expected);
        QVERIFY2(found, qPrintable(text));
    }

    void searchIsBoundedAndSafe_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxRows");
        QTest::newRow("empty") << "" << 100;
        QTest::newRow("quotes and sql") << "' OR 1=1; DROP TABLE stoklar; --" << 0;
        QTest::newRow("fts syntax") << "\"NEAR(a b)\" * OR" << 0;
        QTest::newRow("nothing") << "ZZZQQQXXX" << 0;
    }
    void searchIsBoundedAndSafe()
    {
        QFETCH(QString, text);
        QFETCH(int, maxRows);
        Client c(server);
        DataSet t = c->StokAraGetirVosk(text, bayi.kopyasi());
        QVERIFY(t.rowCount() <= maxRows);
        if (text.isEmpty())
            QCOMPARE(t.rowCount(), 100);
        QVERIFY(c->StokAraGetirVosk(QStringLiteral("FILTRESI"), bayi.kopyasi()).rowCount() > 0);
    }

    void searchGivesEveryMatchInCodeOrder_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("one word") << "FILTRESI" << QStringList{"FILTRESI"};
        QTest::newRow("prefix") << "AMORT" << QStringList{"AMORT"};
        QTest::newRow("two words") << "BOSCH FREN" << QStringList{"BOSCH", "FREN"};
        QTest::newRow("turkish") << "yağ filtresi" << QStringList{"YAG", "FILTRESI"};
        QTest::newRow("part number") << "16-07" << QStringList{"1607"};
    }
    void searchGivesEveryMatchInCodeOrder()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, words);
        const QList<qint64> expected = scanInCodeOrder(words);
        QVERIFY(!expected.isEmpty());
        Client c(server);
        QCOMPARE(stocksOf(c->StokAraGetirVosk(text, bayi.kopyasi())), expected);
    }

    void cartToOrderToHistory()
    {
        Client c(server);
        c->SepetHepsiniSil(bayi.kopyasi());
        DataSet s = c->StokAraGetirVosk(QStringLiteral("FREN BALATASI"), bayi.kopyasi());
        QVERIFY(s.rowCount() >= 2);
        s.first();
        const int stokno = int(s.fieldInt(QStringLiteral("STOK_STOKNO")));
        const double fiyat = s.fieldDouble(QStringLiteral("FIYAT"));
        const double ind1 = s.fieldDouble(QStringLiteral("IND1")), ind2 = s.fieldDouble(QStringLiteral("IND2"));
        const int kdv = int(s.fieldInt(QStringLiteral("KDV")));
        QVERIFY(ind1 > 0); // the account's discount applies
        const int koli = c->EnVer(stokno);
        QVERIFY(koli >= 1);
        const double miktar = 3 * koli;
        // A customer cannot choose its price: the server keeps its own.
        QCOMPARE(c->SepetEkle2(bayi.kopyasi(), bayi.CARINO(), stokno, s.fieldString(QStringLiteral("BARKOD")),
                               s.fieldString(QStringLiteral("ADI")), miktar, kdv, 0.01, 99, bayi.Sirano(), 0, 0, 0, 0),
                 1);
        s.next();
        const int other = int(s.fieldInt(QStringLiteral("STOK_STOKNO")));
        QCOMPARE(c->SepetEkle2(bayi.kopyasi(), bayi.CARINO(), other, s.fieldString(QStringLiteral("BARKOD")),
                               s.fieldString(QStringLiteral("ADI")), 1, kdv, s.fieldDouble(QStringLiteral("FIYAT")), 0,
                               bayi.Sirano(), 0, 0, 0, 0),
                 1);
        DataSet cart = c->SepetVer2(bayi.CARINO());
        QCOMPARE(cart.rowCount(), 2);
        QVERIFY(cart.locate(QStringLiteral("STOKNO"), stokno));
        // The amounts of the product entry dialog: rates one after the other, VAT on the net.
        double v = fiyat * miktar;
        for (double r : {ind1, ind2})
            if (r > 0)
                v -= v * r / 100;
        const double net = IkiHaneYuvarla(v);
        QCOMPARE(cart.fieldDouble(QStringLiteral("BIRIMFIYAT")), fiyat);
        QCOMPARE(cart.fieldDouble(QStringLiteral("NETTUTAR")), net);
        QCOMPARE(cart.fieldDouble(QStringLiteral("TUTAR")), IkiHaneYuvarla(fiyat * miktar));
        QCOMPARE(cart.fieldDouble(QStringLiteral("VERGITUTARI")), IkiHaneYuvarla(net * kdv / 100));
        QCOMPARE(cart.fieldDouble(QStringLiteral("NETBIRIMFIYAT")), IkiHaneYuvarla(net / miktar));
        const int line = int(cart.fieldInt(QStringLiteral("SIRANO")));

        // Changing the line keeps one line and recomputes it.
        QCOMPARE(c->SepetGuncelle2(bayi.kopyasi(), bayi.CARINO(), 0, {}, {}, miktar + koli, kdv, fiyat, ind1,
                                   bayi.Sirano(), line, ind2, 0, 0),
                 1);
        cart = c->SepetVer2(bayi.CARINO());
        QCOMPARE(cart.rowCount(), 2);
        QVERIFY(cart.locate(QStringLiteral("SIRANO"), line));
        QCOMPARE(cart.fieldDouble(QStringLiteral("MIKTAR")), miktar + koli);

        // Nothing selected: no order.
        QVERIFY(!c->SiparisKaydet(bayi.kopyasi(), bayi.CARINO(), 1, 1, QStringLiteral("not"), bayi.Sirano(), 1));
        c->SepetSecimGuncelle(line, 1);
        QCOMPARE(c->SepetVer2(bayi.CARINO()).rowCount(), 2);
        const int ordersBefore = c->OncekiSiparisler(bayi.CARINO()).rowCount();
        QVERIFY(c->SiparisKaydet(bayi.kopyasi(), bayi.CARINO(), 1, 1, QStringLiteral("Acil 'lütfen'"), bayi.Sirano(), 1));

        // Exactly the selected line left the cart.
        cart = c->SepetVer2(bayi.CARINO());
        QCOMPARE(cart.rowCount(), 1);
        QCOMPARE(int(cart.fieldInt(QStringLiteral("STOKNO"))), other);

        DataSet orders = c->OncekiSiparisler(bayi.CARINO());
        QCOMPARE(orders.rowCount(), ordersBefore + 1);
        orders.first(); // newest first
        const int idno = int(orders.fieldInt(QStringLiteral("IDNO")));
        QCOMPARE(orders.fieldString(QStringLiteral("VERENINNOTU")), QStringLiteral("Acil 'lütfen'"));
        DataSet lines = c->SiparisAyrintisi2(bayi.CARINO(), idno);
        QCOMPARE(lines.rowCount(), 1);
        QCOMPARE(int(lines.fieldInt(QStringLiteral("STOK_STOKNO"))), stokno);
        QCOMPARE(lines.fieldDouble(QStringLiteral("KALAN")), miktar + koli);
        const double lineNet = lines.fieldDouble(QStringLiteral("NETTUTAR"));
        const double lineVat = lines.fieldDouble(QStringLiteral("VERGITUTARI"));
        QCOMPARE(orders.fieldDouble(QStringLiteral("NETTUTAR")), lineNet);
        QCOMPARE(orders.fieldDouble(QStringLiteral("TUTAR")), IkiHaneYuvarla(lineNet + lineVat));
        const TSiparisDipAyrinti *dip = c->SiparisAytintisiDip(bayi.CARINO(), idno);
        QVERIFY(dip);
        QCOMPARE(dip->SizinMesaj(), QStringLiteral("Acil 'lütfen'"));
        QCOMPARE(dip->Durumu(), QStringLiteral("Alındı"));
        QVERIFY(!dip->Kargo().isEmpty());
        QVERIFY(!c->SiparisAytintisiDip(bayi.CARINO() + 1, idno)); // another account's number finds nothing
        QCOMPARE(c->TumSiparislerVer(bayi.CARINO(), stokno).rowCount() >= 1, true);

        // The undelivered quantity is a balance the change methods edit.
        DataSet bal = c->BakiyelerVer2(bayi.CARINO());
        QVERIFY(bal.locate(QStringLiteral("STOKHAR_NO"), idno));
        const int bline = int(bal.fieldInt(QStringLiteral("SIRANO")));
        QCOMPARE(c->BakiyeDegistir(bayi.kopyasi(), stokno, bline, idno, 2, 2, {}), 1);
        lines = c->SiparisAyrintisi2(bayi.CARINO(), idno);
        QCOMPARE(lines.fieldDouble(QStringLiteral("KALAN")), 2.0);
        QCOMPARE(c->BakiyeDuzenle(bayi.kopyasi(), stokno, bline, idno, 2, 2, {}), 1);
        bal = c->BakiyelerVer2(bayi.CARINO());
        QVERIFY(!bal.locate(QStringLiteral("SIRANO"), bline));
        c->SepetHepsiniSil(bayi.kopyasi());
        QCOMPARE(c->SepetVer2(bayi.CARINO()).rowCount(), 0);
    }

    void requiredFields_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QStringList>("fields");
        const QStringList stock = {"STOK_STOKNO", "BARKOD", "ADI", "MARKA", "MODEL", "FINISHKOD", "KDV", "K", "Y",
                                   "FIYAT", "NETFIYAT", "KDVDAHIL", "LISTEFIYAT1", "KAMPFIYAT", "IND1", "IND2", "IND3",
                                   "IND4", "INDIRIMYAZI", "DURUM", "RESIM", "OEM1", "OEMNO", "URETICIKODU", "KALAN",
                                   "ALINANSIPARIS", "VERILENSIPARIS"};
        QTest::newRow("search") << "StokAraGetirVosk" << stock;
        QTest::newRow("new") << "YenilerVer2" << stock;
        QTest::newRow("campaign") << "KampanyaliVer2" << (stock + QStringList{"ESKIFIYAT"});
        QTest::newRow("orders") << "OncekiSiparisler"
                                << QStringList{"CARINO", "IDNO", "TARIH", "KARGO", "TESLIM", "VEREN", "VERGI",
                                               "NETTUTAR", "TUTAR", "DURUM", "KARGOADI", "VERENINNOTU", "ALANNOTU"};
        QTest::newRow("balances") << "BakiyelerVer2"
                                  << QStringList{"STOK_STOKNO", "SIRANO", "STOKHAR_NO", "IDNO", "MIKTAR", "KALAN",
                                                 "TESLIMEDILEN", "ELDEKI", "BIRIMFIYAT", "INDIRIMORANI1", "ILKFIYAT",
                                                 "TUTAR", "INDIRIMTUTAR", "DURUM"};
        QTest::newRow("statement") << "CariEkstreVer"
                                   << QStringList{"TARIH", "TURADI", "EVRAK", "BORC", "ALACAK", "KUR", "BAKIYE", "D",
                                                  "IDNO", "ACIKLAMA", "CARINO"};
        QTest::newRow("delivery") << "TeslimVer" << QStringList{"ID", "ADI"};
        QTest::newRow("cargo companies") << "KargolarVer" << QStringList{"SIRANO", "ADI", "UYARI"};
        QTest::newRow("customers") << "CariAra"
                                   << QStringList{"CARINO", "CARIKOD", "CARIADI", "SATICISI", "TLBAKIYE", "DURUM",
                                                  "SEPET", "ALINDI", "ONAYLANDI", "GORULDU", "HAZIRLANDI",
                                                  "PARCALIHAZIRLANDI", "INDIRIM", "VADE", "EMAIL"};
        QTest::newRow("report orders") << "RaporAlinanSiparisler"
                                       << QStringList{"SATICIADI", "IDNO", "CARINO", "TARIH", "TUTAR", "DURUM"};
        QTest::newRow("report stocks") << "RaporEnCokSatilanStoklar"
                                       << QStringList{"BARKOD", "KOD", "ADI", "DEPARTMAN", "MIKTAR", "NETTUTAR",
                                                      "TLVERGI", "TUTAR"};
        QTest::newRow("counts") << "BalonGetir" << QStringList{};
    }
    void requiredFields()
    {
        QFETCH(QString, method);
        QFETCH(QStringList, fields);
        Client c(server);
        const TSonucBilgisi &rep = yetkili;
        const double from = QDate(1899, 12, 30).daysTo(QDate::currentDate().addDays(-365));
        const double to = QDate(1899, 12, 30).daysTo(QDate::currentDate());
        DataSet t;
        if (method == "StokAraGetirVosk") t = c->StokAraGetirVosk(QStringLiteral("FILTRESI"), bayi.kopyasi());
        else if (method == "YenilerVer2") t = c->YenilerVer2(bayi.CARINO());
        else if (method == "KampanyaliVer2") t = c->KampanyaliVer2(bayi.CARINO(), 3);
        else if (method == "OncekiSiparisler") t = c->OncekiSiparisler(bayi.CARINO());
        else if (method == "BakiyelerVer2") t = c->BakiyelerVer2(bayi.CARINO());
        else if (method == "CariEkstreVer") t = c->CariEkstreVer(bayi.CARINO());
        else if (method == "TeslimVer") t = c->TeslimVer();
        else if (method == "KargolarVer") t = c->KargolarVer(1);
        else if (method == "CariAra") t = c->CariAra(rep.kopyasi(), QString());
        else if (method == "RaporAlinanSiparisler") t = c->RaporAlinanSiparisler(rep.kopyasi(), from, to);
        else if (method == "RaporEnCokSatilanStoklar") t = c->RaporEnCokSatilanStoklar(rep.kopyasi(), from, to);
        else if (method == "BalonGetir") {
            t = c->BalonGetir(bayi.kopyasi());
            QCOMPARE(t.rowCount(), 1);
            QCOMPARE(t.fieldType(0), FieldType::Int32);
            QCOMPARE(t.fieldType(4), FieldType::Float);
        }
        QVERIFY2(t.rowCount() > 0, qPrintable(method));
        for (const QString &f : fields)
            QVERIFY2(t.hasField(f), qPrintable(method + ": " + f));
        for (const char *money : {"FIYAT", "TUTAR", "BORC", "NETTUTAR"})
            if (t.hasField(money))
                QCOMPARE(t.fieldType(t.fieldIndex(money)), FieldType::Float);
    }

    void statementAgreesWithDocuments()
    {
        Client c(server);
        DataSet e = c->CariEkstreVer(bayi.CARINO());
        bool sawInvoice = false, sawCollection = false;
        for (e.first(); !e.eof(); e.next()) {
            const QString kind = e.fieldString(QStringLiteral("TURADI"));
            const int id = int(e.fieldInt(QStringLiteral("IDNO")));
            if (kind.contains(QStringLiteral("Fatura"))) {
                DataSet alt = c->FaturaAltGetir(id);
                QCOMPARE(alt.fieldDouble(QStringLiteral("KDVDAHIL")), e.fieldDouble(QStringLiteral("BORC")));
                QVERIFY(c->FaturaGetir(bayi.CARINO(), id).rowCount() > 0);
                QCOMPARE(c->FaturaGetir(bayi.CARINO() + 1, id).rowCount(), 0);
                sawInvoice = true;
            } else if (kind == QStringLiteral("Tahsilat")) {
                DataSet t = c->Tahsilat(id);
                double sum = 0;
                for (t.first(); !t.eof(); t.next())
                    sum += t.fieldDouble(QStringLiteral("Tutar"));
                QCOMPARE(sum, e.fieldDouble(QStringLiteral("ALACAK")));
                QVERIFY(t.hasField(QStringLiteral("Türü")) && t.hasField(QStringLiteral("Açıklama")));
                const int receipt = c->SanalposSiranoVer(id);
                if (receipt > 0) {
                    qint64 size = 0;
                    const QByteArray pdf = c->SAnalPosPdfVer(receipt, size);
                    QCOMPARE(pdf.size(), size);
                    QVERIFY(pdf.startsWith("%PDF"));
                }
                sawCollection = true;
            }
        }
        QVERIFY(sawInvoice && sawCollection);
    }

    void streams()
    {
        Client c(server);
        qint64 size = 0;
        QVERIFY(c->BannerResimVer(size).startsWith("GIF89a"));
        QVERIFY(QImage::fromData(c->BannerResimVer2(size)).width() > 0);
        const QByteArray bmp = c->BannerResimVer3(size);
        QVERIFY(bmp.startsWith("BM"));
        QVERIFY(!QImage::fromData(bmp, "BMP").isNull());
        const double day = QDate(1899, 12, 30).daysTo(QDate::currentDate());
        for (int carino : {bayi.CARINO(), 0}) {
            const QByteArray pdf = c->RaporGetir(6, 6, yetkili.Sirano(), carino, QStringLiteral("."), day, day, size);
            QVERIFY(pdf.startsWith("%PDF"));
            QCOMPARE(pdf.size(), size);
        }
        QVERIFY(c->RaporGetir(7, 7, yetkili.Sirano(), bayi.CARINO(), QString(), day - 365, day, size).startsWith("%PDF"));
        const TAcilisEkranlariki *a = c->AcilisEkranlarVer2();
        QVERIFY(a && !a->Ekranlar().isEmpty());
        const QByteArray pic = QByteArray::fromHex(a->Ekranlar().first().Resim().toLatin1());
        QVERIFY(!QImage::fromData(pic).isNull());
        QVERIFY(c->AcilisReklamAdet() > 0);
        QVERIFY(c->AcilisREklamVer(0));
        QVERIFY(!c->AcilisREklamVer(c->AcilisReklamAdet()));
        QVERIFY(!c->KayanYaziGetir().isEmpty());
    }

    void refusals_data()
    {
        QTest::addColumn<int>("who");
        QTest::addColumn<QString>("what");
        QTest::newRow("unregistered machine") << 0 << "machine";
        QTest::newRow("other account") << 0 << "account";
        QTest::newRow("rep's foreign customer") << 1 << "account";
        QTest::newRow("dealer lists customers") << 0 << "customers";
        QTest::newRow("price change without authority") << 1 << "price";
        QTest::newRow("wrong password") << 0 << "password";
    }
    void refusals()
    {
        QFETCH(int, who);
        QFETCH(QString, what);
        Client c(server);
        TSonucBilgisi s;
        s.Kopyala(who == 0 ? bayi : temsilci);
        if (what == "machine")
            s.setBILGISAYARID(QStringLiteral("SOMEONE-ELSE"));
        if (what == "password")
            s.setSIFRE(QStringLiteral("9999"));
        if (what == "account")
            s.setCARINO(who == 0 ? bayi4.CARINO() : yetkili.CARINO()); // 101 belongs to another representative
        const int before = c->SepetVer2(s.CARINO()).rowCount();
        QVERIFY_THROWS_EXCEPTION(ServerError, {
            if (what == "customers")
                c->CariAra(s.kopyasi(), QString());
            else if (what == "price")
                c->BakiyeFiyatDegistir(s.kopyasi(), 0, 1, 1, 1, 1, {}, 1, 0);
            else
                c->SepetEkle2(s.kopyasi(), s.CARINO(), 1, {}, {}, 1, 20, 10, 0, s.Sirano(), 0, 0, 0, 0);
        });
        QCOMPARE(c->SepetVer2(s.CARINO()).rowCount(), before);
    }

    void inactiveUserIsRefused()
    {
        const TSonucBilgisi pasif = signIn(QStringLiteral("TEST-PASIF"), QStringLiteral("PASIF"));
        QCOMPARE(pasif.AKTIF(), 0);
        Client c(server);
        QVERIFY_THROWS_EXCEPTION(ServerError, c->SepetSayisi(pasif.kopyasi()));
    }

    void badInput_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("malformed json") << "EnVer" << QByteArray("{\"_parameters\":[1");
        QTest::newRow("not an object") << "EnVer" << QByteArray("[1]");
        QTest::newRow("too few") << "EnVer" << QByteArray("{\"_parameters\":[]}");
        QTest::newRow("too many") << "EnVer" << QByteArray("{\"_parameters\":[1,2]}");
        QTest::newRow("text for int") << "EnVer" << QByteArray("{\"_parameters\":[\"1\"]}");
        QTest::newRow("fraction for int") << "EnVer" << QByteArray("{\"_parameters\":[1.5]}");
        QTest::newRow("int out of range") << "EnVer" << QByteArray("{\"_parameters\":[99999999999]}");
        QTest::newRow("unknown method") << "DropEverything" << QByteArray("{\"_parameters\":[]}");
        QTest::newRow("record of wrong type") << "SepetSayisi"
                                              << QByteArray("{\"_parameters\":[{\"type\":\"x.Y\",\"id\":1,\"fields\":{}}]}");
        QTest::newRow("missing record") << "SepetSayisi" << QByteArray("{\"_parameters\":[null]}");
        QTest::newRow("selection 7") << "SepetSecimGuncelle" << QByteArray("{\"_parameters\":[1,7]}");
        QTest::newRow("huge body") << "EnVer" << (QByteArray("{\"_parameters\":[\"") + QByteArray(6 * 1024 * 1024, 'a') + "\"]}");
    }
    void badInput()
    {
        QFETCH(QString, method);
        QFETCH(QByteArray, body);
        const auto [status, answer] = raw(method, body);
        QCOMPARE(status, 400);
        QVERIFY2(!answer.isEmpty(), "a clear text");
        Client c(server);
        QCOMPARE(c->EnVer(1) >= 1, true); // still serving
    }

    void absurdQuantities_data()
    {
        QTest::addColumn<double>("miktar");
        QTest::newRow("negative") << -5.0;
        QTest::newRow("zero") << 0.0;
        QTest::newRow("fraction") << 1.5;
        QTest::newRow("absurd") << 1e12;
    }
    void absurdQuantities()
    {
        QFETCH(double, miktar);
        Client c(server);
        c->SepetHepsiniSil(bayi.kopyasi());
        QVERIFY_THROWS_EXCEPTION(ServerError, c->SepetEkle2(bayi.kopyasi(), bayi.CARINO(), 2, {}, {}, miktar, 20, 10, 0,
                                                            bayi.Sirano(), 0, 0, 0, 0));
        QCOMPARE(c->SepetVer2(bayi.CARINO()).rowCount(), 0);
    }

    void concurrentClientsLoseNothing()
    {
        {
            Client c(server);
            c->SepetHepsiniSil(bayi.kopyasi());
        }
        const int adds = 16;
        QList<int> calls;
        for (int i = 0; i < adds; ++i)
            calls << i;
        // Every client adds one piece of stock 3 and one of its own stock.
        QtConcurrent::blockingMap(calls, [&](int i) {
            Client c(server);
            c->SepetEkle2(bayi.kopyasi(), bayi.CARINO(), 3, {}, {}, 1, 20, 1, 0, bayi.Sirano(), 0, 0, 0, 0);
            c->SepetEkle2(bayi.kopyasi(), bayi.CARINO(), 10 + i, {}, {}, 1, 20, 1, 0, bayi.Sirano(), 0, 0, 0, 0);
        });
        Client c(server);
        DataSet cart = c->SepetVer2(bayi.CARINO());
        QCOMPARE(cart.rowCount(), adds + 1);
        QVERIFY(cart.locate(QStringLiteral("STOKNO"), 3));
        QCOMPARE(cart.fieldDouble(QStringLiteral("MIKTAR")), double(adds));
        for (cart.first(); !cart.eof(); cart.next())
            c->SepetSecimGuncelle(int(cart.fieldInt(QStringLiteral("SIRANO"))), 1);
        const int before = c->OncekiSiparisler(bayi.CARINO()).rowCount();
        QAtomicInt saved;
        QtConcurrent::blockingMap(calls, [&](int) {
            Client k(server);
            if (k->SiparisKaydet(bayi.kopyasi(), bayi.CARINO(), 1, 1, {}, bayi.Sirano(), 1))
                saved.ref();
        });
        QCOMPARE(saved.loadRelaxed(), 1);
        QCOMPARE(c->OncekiSiparisler(bayi.CARINO()).rowCount(), before + 1);
        QCOMPARE(c->SepetVer2(bayi.CARINO()).rowCount(), 0);
    }

    void representativeTools()
    {
        Client c(server);
        DataSet all = c->CariAra(yetkili.kopyasi(), QString());
        DataSet own = c->CariAra(temsilci.kopyasi(), QString());
        QVERIFY(own.rowCount() > 0 && own.rowCount() < all.rowCount());
        DataSet found = c->CariAra(yetkili.kopyasi(), bayi.CariAdi().left(4));
        QVERIFY(found.locate(QStringLiteral("CARINO"), bayi.CARINO()));
        const TTusSonuclari *t = c->TusSonuclariVer(yetkili.kopyasi());
        QVERIFY(t);
        const int alindi = t->Alindi();
        QCOMPARE(c->CariSepetVer(yetkili.kopyasi(), 2).rowCount() > 0, alindi > 0);
        QVERIFY_THROWS_EXCEPTION(ServerError, c->CariSepetVer(yetkili.kopyasi(), 9));
        QCOMPARE(c->CariDurumVer(bayi.CARINO()).contains(QLatin1Char(',')), true);
        const TMobilCariBilgisi *card = c->MobilCariBilgisiGetir(0, QStringLiteral("TEST-BAYI"));
        QVERIFY(card);
        QCOMPARE(card->CARINO(), bayi.CARINO());
        QVERIFY(!c->MobilCariBilgisiGetir(0, QStringLiteral("NO-SUCH-MACHINE")));
        QCOMPARE(c->MailGonserCariNormal(QStringLiteral("TEST-BAYI"), QStringLiteral("Konu"), {}, {}, {}, {}, {}, {}, {},
                                         {}, {}, {}, {}, {}, {}, {}, QStringLiteral("mesaj")),
                 1);
    }

    // A stock written straight into the database (as another program would)
    // takes its place in code order and becomes searchable at the next start.
    void stockAddedFromOutsideIsFoundAfterRestart()
    {
        server.stop();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("outside"));
            db.setDatabaseName(server.databasePath());
            QVERIFY(db.open());
            QVERIFY(db.transaction());
            QSqlQuery q(db);
            QVERIFY(q.prepare(QStringLiteral(
                "INSERT INTO stoklar (stokno, barkod, adi, kdv, fiyat, kampfiyat, ekindirim, kampanya, yeni, durum, koli, "
                "eldeki, alinansiparis, verilensiparis, arama) SELECT MAX(stokno) + 1, '00-0001', 'ZZYENI FILTRESI', 20, "
                "10, 0, 0, 0, 0, 1, 1, 0, 0, 0, '00 0001 000001 ZZYENI FILTRESI' FROM stoklar")));
            QVERIFY(q.exec());
            QVERIFY(db.commit());
        }
        QSqlDatabase::removeDatabase(QStringLiteral("outside"));
        QVERIFY2(server.start(), qPrintable(server.lastError()));
        Client c(server);
        const DataSet found = c->StokAraGetirVosk(QStringLiteral("zzyeni"), bayi.kopyasi());
        QCOMPARE(found.rowCount(), 1);
        QCOMPARE(found.asString(0, found.fieldIndex(QStringLiteral("BARKOD"))), QStringLiteral("00-0001"));
        QCOMPARE(stocksOf(c->StokAraGetirVosk(QStringLiteral("FILTRESI"), bayi.kopyasi())),
                 scanInCodeOrder({QStringLiteral("FILTRESI")}));
    }
};

QTEST_MAIN(TestServerMethods)
#include "tst_server.moc"
