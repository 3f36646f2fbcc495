// Mail dialog, comma-text, update progress text and the update download
// against the real server.
#include "connection.h"
#include "dosyaindir.h"
#include "identity.h"
#include "mailform.h"
#include "scriptedseam.h"
#include "sunucuortami.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using namespace kestro;

namespace {

int bosPort()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost);
    return s.serverPort();
}

// The stored fields of the last outbox entry.
QJsonObject sonGiden(const test::TestServer &server)
{
    const QString liste = gidenKutusu(server);
    const int i = liste.lastIndexOf(QStringLiteral("İçerik: "));
    if (i < 0)
        return {};
    const QString json = liste.mid(i + 8).section(QLatin1Char('\n'), 0, 0);
    return QJsonDocument::fromJson(json.toUtf8()).object();
}

} // namespace

class TstPromo : public QObject
{
    Q_OBJECT
    test::TestServer server;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        setBaglantiDenemeAraligi(0);
        QVERIFY2(server.start(), qPrintable(server.lastError()));
    }
    void init() { istemciyiYonlendir(server); }

    void virgulluMetin_data()
    {
        QTest::addColumn<QStringList>("satirlar");
        QTest::addColumn<QString>("metin");
        QTest::newRow("one word") << QStringList{"Merhaba"} << "Merhaba";
        QTest::newRow("blank inside") << QStringList{"iki kelime"} << "\"iki kelime\"";
        QTest::newRow("comma") << QStringList{"a,b"} << "\"a,b\"";
        QTest::newRow("quote doubled") << QStringList{"15\" jant"} << "\"15\"\" jant\"";
        QTest::newRow("bare quote") << QStringList{"a\"b"} << "\"a\"\"b\"";
        QTest::newRow("tab") << QStringList{"a\tb"} << "\"a\tb\"";
        QTest::newRow("Turkish letters stay bare") << QStringList{"ŞİŞLİ"} << "ŞİŞLİ";
        QTest::newRow("lines joined") << QStringList{"Sayın yetkili", "fren", "", "teşekkürler."}
                                      << "\"Sayın yetkili\",fren,,teşekkürler.";
    }

    void virgulluMetin()
    {
        QFETCH(QStringList, satirlar);
        QFETCH(QString, metin);
        QCOMPARE(VirgulluMetin(satirlar), metin);
    }

    void metinSatirlari_data()
    {
        QTest::addColumn<QString>("metin");
        QTest::addColumn<QStringList>("satirlar");
        QTest::newRow("final break") << "a\nb\n" << QStringList{"a", "b"};
        QTest::newRow("empty line inside") << "a\n\nb" << QStringList{"a", "", "b"};
        QTest::newRow("empty") << "" << QStringList{};
    }

    void metinSatirlari()
    {
        QFETCH(QString, metin);
        QFETCH(QStringList, satirlar);
        QCOMPARE(MetinSatirlari(metin), satirlar);
    }

    void mailDogrulama_data()
    {
        QTest::addColumn<QString>("baslik");
        QTest::addColumn<QString>("konu");
        QTest::addColumn<QString>("mesaj");
        QTest::newRow("blank subject with a message") << "   " << "bir mesaj" << "Lütfen Başlık Giriniz !";
        QTest::newRow("blank message") << "Konu" << " \n \n" << "Lütfen Konu Giriniz !";
    }

    void mailDogrulama()
    {
        QFETCH(QString, baslik);
        QFETCH(QString, konu);
        QFETCH(QString, mesaj);
        ServerConnection c;
        server.configure(c);
        ScriptedSeam seam;
        Tmailform f(nullptr, c);
        f.baslik->setText(baslik);
        f.konu->setPlainText(konu);
        f.Button2Click();
        QCOMPARE(seam.shown.size(), 1);
        QCOMPARE(seam.shown[0].text, mesaj);
        QCOMPARE(seam.shown[0].type, MsgType::Warning);
        QVERIFY(f.Button2->isEnabled());
    }

    void mailGonderilir()
    {
        ServerConnection c;
        server.configure(c);
        ScriptedSeam seam;
        Tmailform f(nullptr, c);
        QSignalSpy bitti(&f, &Tmailform::gonderimBitti);
        f.baslik->setText(QStringLiteral("Fiyat sorusu"));
        f.konu->setPlainText(QStringLiteral("Sayın yetkili,\nfren\nbalata \"ön\"\n"));
        f.Button2Click();
        QVERIFY(!f.Button2->isEnabled());
        f.Button1Click(); // refused while the mail is on its way
        QCOMPARE(f.result(), 0);
        QVERIFY(!f.close());
        QTRY_COMPARE(bitti.count(), 1);
        QCOMPARE(bitti[0][0].toBool(), true);
        QCOMPARE(seam.shown.size(), 1);
        QCOMPARE(seam.shown[0].text, QStringLiteral("Mail Gönderildi !"));
        QCOMPARE(seam.shown[0].type, MsgType::Information);
        QVERIFY(f.Button2->isEnabled());

        const QJsonObject giden = sonGiden(server);
        QCOMPARE(giden.value("baslik").toString(), QStringLiteral("Fiyat sorusu"));
        QCOMPARE(giden.value("konu").toString(), QStringLiteral("\"Sayın yetkili,\",fren,\"balata \"\"ön\"\"\""));
        QCOMPARE(giden.value("idsi").toString(), BilgisayarIdAl());
        QVERIFY(!giden.value("firmaadi").toString().isEmpty());
        QCOMPARE(giden.value("kargoambar").toString(), QString());

        // The same dialog sends again.
        f.baslik->setText(QStringLiteral("İkinci"));
        f.Button2Click();
        QTRY_COMPARE(bitti.count(), 2);
        QCOMPARE(sonGiden(server).value("baslik").toString(), QStringLiteral("İkinci"));
        f.Button1Click();
        QCOMPARE(f.result(), int(QDialog::Rejected));
    }

    void mailSunucuYoksa()
    {
        ServerConnection c;
        c.HostName = server.host();
        c.Port = QString::number(bosPort());
        ScriptedSeam seam;
        Tmailform f(nullptr, c);
        QSignalSpy bitti(&f, &Tmailform::gonderimBitti);
        f.baslik->setText(QStringLiteral("Konu"));
        f.konu->setPlainText(QStringLiteral("mesaj"));
        f.Button2Click();
        QTRY_COMPARE(bitti.count(), 1);
        QCOMPARE(bitti[0][0].toBool(), false);
        QCOMPARE(seam.shown.last().text, QStringLiteral("Mail Göndermede Hata\nLütfen Tekrar Deneyin !"));
        QCOMPARE(seam.shown.last().type, MsgType::Error);
        QCOMPARE(f.baslik->text(), QStringLiteral("Konu"));
        QVERIFY(f.Button2->isEnabled());
    }

    void indirmeBilgisi_data()
    {
        QTest::addColumn<qint64>("okunan");
        QTest::addColumn<qint64>("toplam");
        QTest::addColumn<QString>("metin");
        QTest::newRow("start") << qint64(0) << qint64(2 * 1048576) << "Bilgi: %0,00  İndirilen: 0,00/2,00 Mb";
        QTest::newRow("half") << qint64(524288) << qint64(1048576) << "Bilgi: %50,00  İndirilen: 0,50/1,00 Mb";
        QTest::newRow("a third") << qint64(1000) << qint64(3000) << "Bilgi: %33,33  İndirilen: 0,00/0,00 Mb";
        QTest::newRow("large, no grouping") << qint64(3221225472LL) << qint64(3221225472LL)
                                            << "Bilgi: %100,00  İndirilen: 3072,00/3072,00 Mb";
    }

    void indirmeBilgisi()
    {
        QFETCH(qint64, okunan);
        QFETCH(qint64, toplam);
        QFETCH(QString, metin);
        QCOMPARE(IndirmeBilgisi(okunan, toplam), metin);
    }

    void ilerleme()
    {
        Tdosyaindir d(nullptr, 3);
        QCOMPARE(d.sLabel1->text(), QStringLiteral("Kestro Yedek Parça B2B Programının\nYeni versiyonu indirilecektir\n"
                                                   "Lütfen Bekleyiniz...!\nVersion: 3-2"));
        QCOMPARE(d.adres, server.baseUrl() + "exe/KestroSetup.exe");
        d.NetHTTPClient1ReceiveData(4000, 1000);
        QCOMPARE(d.bilgi->text(), IndirmeBilgisi(1000, 4000));
        QCOMPARE(d.ProgressBar1->maximum(), 4000);
        QCOMPARE(d.ProgressBar1->value(), 1000);
        // Without a content length nothing changes.
        d.NetHTTPClient1ReceiveData(0, 3000);
        QCOMPARE(d.bilgi->text(), IndirmeBilgisi(1000, 4000));
        QCOMPARE(d.ProgressBar1->value(), 1000);
    }

    void indirmeVeKurulum()
    {
        // The served "setup program" records how it was started.
        QTemporaryDir klasor;
        const QString iz = klasor.filePath("iz.txt");
        QFile kurulum(klasor.filePath("KestroSetup.exe"));
        QVERIFY(kurulum.open(QIODevice::WriteOnly));
        kurulum.write(QStringLiteral("#!/bin/sh\necho \"$@\" >> '%1'\n").arg(iz).toUtf8());
        kurulum.close();
        test::TestServer::Options o;
        o.extraArgs = {"--setup-folder", klasor.path()};
        test::TestServer indirme(o);
        QVERIFY2(indirme.start(), qPrintable(indirme.lastError()));
        istemciyiYonlendir(indirme);

        QFile eski(KurulumDosyasiYolu());
        QVERIFY(eski.open(QIODevice::WriteOnly));
        eski.write("an older setup");
        eski.close();

        ScriptedSeam seam;
        SurecSonuSayaci son;
        Tdosyaindir d(nullptr, 3);
        QSignalSpy baslatildi(&d, &Tdosyaindir::kurulumBaslatildi);
        d.FormActivate();
        d.FormActivate(); // a second activation starts nothing
        QTRY_COMPARE(son.sayi, 1);
        QCOMPARE(baslatildi.count(), 1);
        QVERIFY(baslatildi[0][1].toBool());
        QVERIFY(seam.shown.isEmpty());
        QFile kaydedilen(KurulumDosyasiYolu());
        QVERIFY(kaydedilen.open(QIODevice::ReadOnly));
        QVERIFY(kaydedilen.readAll().startsWith("#!/bin/sh"));
        QFile izDosyasi(iz);
        QTRY_VERIFY(izDosyasi.exists() && izDosyasi.size() > 0);
        QVERIFY(izDosyasi.open(QIODevice::ReadOnly));
        QCOMPARE(izDosyasi.readAll(), QByteArray("/silent\n"));
        const qint64 boy = kaydedilen.size();
        QCOMPARE(d.bilgi->text(), IndirmeBilgisi(boy, boy));
        QCOMPARE(son.sayi, 1);
    }

    void indirmeHatasi_data()
    {
        QTest::addColumn<bool>("sunucuVar");
        QTest::addColumn<QString>("hata");
        QTest::newRow("no setup file: 404 is not started") << true << "Sunucu yanıtı 404";
        QTest::newRow("refused connection") << false << "";
    }

    void indirmeHatasi()
    {
        QFETCH(bool, sunucuVar);
        QFETCH(QString, hata);
        if (!sunucuVar)
            DeploymentSettings::current().downloadHost = QStringLiteral("http://127.0.0.1:%1").arg(bosPort());
        QFile::remove(KurulumDosyasiYolu());
        ScriptedSeam seam;
        SurecSonuSayaci son;
        Tdosyaindir d(nullptr, 3);
        QSignalSpy baslatildi(&d, &Tdosyaindir::kurulumBaslatildi);
        d.FormActivate();
        QTRY_COMPARE(son.sayi, 1);
        QCOMPARE(seam.shown.size(), 1);
        QCOMPARE(seam.shown[0].type, MsgType::Error);
        QVERIFY(seam.shown[0].text.startsWith(QStringLiteral("Hata Oluştu !\nHata: ")));
        QVERIFY(seam.shown[0].text.size() > QStringLiteral("Hata Oluştu !\nHata: ").size());
        if (!hata.isEmpty())
            QCOMPARE(seam.shown[0].text, QStringLiteral("Hata Oluştu !\nHata: ") + hata);
        QCOMPARE(baslatildi.count(), 0);
        QVERIFY(!QFile::exists(KurulumDosyasiYolu()));
    }
};

QTEST_MAIN(TstPromo)
#include "tst_promo.moc"
