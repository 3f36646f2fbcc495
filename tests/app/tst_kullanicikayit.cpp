// The user request dialog against the real server: filling, validation, sending.
#include "connection.h"
#include "identity.h"
#include "kullanicikayit.h"
#include "proxy.h"
#include "scriptedseam.h"
#include "sunucuortami.h"

#include <QLabel>
#include <QLineEdit>
#include <QTcpServer>
#include <QTest>

using namespace kestro;

class TstKullaniciKayit : public QObject
{
    Q_OBJECT
    test::TestServer server;
    TSonucBilgisi oturum;
    TMobilCariBilgisi kart;

    void sunucuyaBagla(ServerConnection &c) { server.configure(c); }

    // Every box filled, then the named one blanked.
    static void doldur(Tkullanicikayit &d, const QString &bosKutu)
    {
        for (QLineEdit *e : d.findChildren<QLineEdit *>())
            e->setText(e->objectName() == bosKutu ? QStringLiteral("   ") : QStringLiteral("X ") + e->objectName());
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        setBaglantiDenemeAraligi(0);
        QVERIFY2(server.start(), qPrintable(server.lastError()));
        istemciyiYonlendir(server);
        ServerConnection c;
        sunucuyaBagla(c);
        c.open();
        TServerMethods1Client proxy(c);
        const TSonucBilgisi *b = proxy.BuyukGetir(BilgisayarIdAl());
        QVERIFY(b && b->Varmi());
        oturum.Kopyala(*b);
        const TMobilCariBilgisi *k = proxy.MobilCariBilgisiGetir(0, BilgisayarIdAl());
        QVERIFY(k);
        kart.Kopyala(*k);
        QVERIFY(!kart.ADRES1().isEmpty());
    }

    void sifreDegistirmeAcilisi()
    {
        ScriptedSeam seam;
        ServerConnection c;
        sunucuyaBagla(c);
        auto d = Tkullanicikayit::Ac(nullptr, c, oturum);
        QVERIFY(seam.shown.isEmpty());
        QCOMPARE(d->windowTitle(), QStringLiteral("Şifre Değiştirme İsteği"));
        QCOMPARE(d->durum, teski);
        QCOMPARE(d->lblbilgisayar->text(), "Bilgisayar ID: " + BilgisayarIdAl());
        QCOMPARE(d->kullaniciadi->text(), oturum.ADI());
        QCOMPARE(d->firmaadi->text(), oturum.CariAdi());
        const QStringList kutular{d->adres1->text(), d->adres2->text(), d->ilce->text(), d->sehir->text(),
                                  d->telefon->text(), d->fax->text(), d->vd->text(), d->vn->text()};
        QCOMPARE(kutular, (QStringList{kart.ADRES1(), kart.ADRES2(), kart.ILCE(), kart.SEHIR(), kart.TEL1(),
                                       kart.FAX1(), kart.VERGIDAIRESI(), kart.VERGINO()}));
        QVERIFY(d->yetkili->text().isEmpty());
        QVERIFY(d->sifre->text().isEmpty());
        QCOMPARE(d->sifre->echoMode(), QLineEdit::Normal);
    }

    void yeniKullaniciAcilisi()
    {
        ServerConnection c;
        sunucuyaBagla(c);
        auto d = Tkullanicikayit::Yeni(nullptr, c, oturum);
        QCOMPARE(d->windowTitle(), QStringLiteral("B2B İstek Formu"));
        QCOMPARE(d->durum, tyeni);
        for (QLineEdit *e : d->findChildren<QLineEdit *>())
            QVERIFY2(e->text().isEmpty(), qPrintable(e->objectName()));
    }

    void gonder_data()
    {
        QTest::addColumn<bool>("yeni");
        QTest::addColumn<QString>("bosKutu");
        QTest::addColumn<QString>("mesaj");
        const QList<std::pair<const char *, const char *>> zorunlu{
            {"firmaadi", "Firma Adı boş olamaz !"},   {"adres1", "Adres boş olamaz !"},
            {"ilce", "İlçe Adı boş olamaz !"},        {"sehir", "Şehir Adı boş olamaz !"},
            {"telefon", "Telefon  boş olamaz !"},     {"yetkili", "Yetkili  boş olamaz !"},
            {"kullaniciadi", "Kullanıcı  boş olamaz !"}, {"sifre", "Şifre  boş olamaz !"},
            {"mail", "Mail  boş olamaz !"}};
        for (const auto &[kutu, mesaj] : zorunlu)
            QTest::addRow("%s blank", kutu) << false << kutu << QString::fromUtf8(mesaj);
        for (const char *istege : {"adres2", "fax", "vd", "vn", "kargoambar"})
            QTest::addRow("%s blank is sent", istege) << false << istege << QString();
        QTest::newRow("new user request") << true << "fax" << QString();
    }

    void gonder()
    {
        QFETCH(bool, yeni);
        QFETCH(QString, bosKutu);
        QFETCH(QString, mesaj);
        ServerConnection c;
        sunucuyaBagla(c);
        auto d = yeni ? Tkullanicikayit::Yeni(nullptr, c, oturum) : Tkullanicikayit::Ac(nullptr, c, oturum);
        doldur(*d, bosKutu);
        const QString firma = QStringLiteral("Firma %1").arg(QTest::currentDataTag());
        if (bosKutu != "firmaadi")
            d->firmaadi->setText(firma);
        const QString onceki = gidenKutusu(server);

        ScriptedSeam seam;
        const bool gitti = d->Button2Click();
        QCOMPARE(seam.shown.size(), 1);
        const QString sonraki = gidenKutusu(server);
        if (!mesaj.isEmpty()) {
            QVERIFY(!gitti);
            QCOMPARE(seam.shown[0].text, mesaj);
            QCOMPARE(seam.shown[0].type, MsgType::Warning);
            auto *kutu = d->findChild<QLineEdit *>(bosKutu);
            QCOMPARE(kutu->selectedText(), kutu->text());
            QCOMPARE(sonraki, onceki);
        } else {
            QVERIFY(gitti);
            QCOMPARE(seam.shown[0].text, QStringLiteral("İsteğiniz Gönderildi!"));
            QCOMPARE(seam.shown[0].type, MsgType::Information);
            const QString eklenen = sonraki.mid(onceki.size());
            QVERIFY2(eklenen.contains("Firma: " + firma), qPrintable(eklenen));
            QVERIFY(eklenen.contains(yeni ? QStringLiteral("Başlık: B2B Yeni Kullanıcı İstek")
                                          : QStringLiteral("Başlık: Şifre Değiştirme İsteği")));
            QVERIFY(eklenen.contains("kimlik: " + BilgisayarIdAl()));
            QCOMPARE(d->result(), 0); // the dialog stays open for another send
        }
    }

    void sunucuYoksaGonderilmez()
    {
        QTcpServer bos;
        bos.listen(QHostAddress::LocalHost);
        const int port = bos.serverPort();
        bos.close();
        ServerConnection c;
        c.HostName = server.host();
        c.Port = QString::number(port);
        ScriptedSeam seam;
        auto d = Tkullanicikayit::Yeni(nullptr, c, oturum);
        doldur(*d, QString());
        QVERIFY(!d->Button2Click());
        QCOMPARE(seam.plainCount(), BaglantiDenemeSayisi);
        QCOMPARE(seam.shown.last().text, QStringLiteral("Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!"));
        QCOMPARE(seam.count(QStringLiteral("İsteğiniz Gönderildi!")), 0);
        QVERIFY(d->firmaadi->text().startsWith("X "));
    }
};

QTEST_MAIN(TstKullaniciKayit)
#include "tst_kullanicikayit.moc"
