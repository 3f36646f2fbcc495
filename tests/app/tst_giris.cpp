// Sign-in against the real server: every outcome through the message seam,
// and the settings file.
#include "connection.h"
#include "dosyaindir.h"
#include "formistekyeni.h"
#include "gorunum.h"
#include "identity.h"
#include "loginform.h"
#include "scriptedseam.h"
#include "sonucbilgisi.h"
#include "sunucuortami.h"

#include <httplib.h>

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTcpServer>
#include <QTest>
#include <QThreadPool>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <sys/stat.h>

using namespace kestro;

namespace {

const QString kHatali = QStringLiteral("Kullanıcı Adı ve Şifre Hatalı Lütfen Tekrar Deneyiniz !");

// One login dialog wired to its own connection and session record, as the main window does.
struct Giris
{
    ServerConnection bagc;
    TSonucBilgisi bilgi;
    Tgirisform form;
    Giris()
    {
        form.bagim = &bagc;
        form.Bilgim = &bilgi;
    }
    void yaz(const QString &ad, const QString &sifre)
    {
        form.adi->setText(ad);
        form.sifre->setText(sifre);
    }
    bool bitti() const { return form.result() == QDialog::Accepted || !form.girisSuruyor(); }
};

int bosPort()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost);
    return s.serverPort();
}

QSettings ayarlar() { return QSettings(Tgirisform::AyarDosyasi(), QSettings::IniFormat); }

} // namespace

class TstGiris : public QObject
{
    Q_OBJECT
    test::TestServer server;
    QString kimlik;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        setBaglantiDenemeAraligi(0);
        QVERIFY2(server.start(), qPrintable(server.lastError()));
        kimlik = BilgisayarIdAl();
        QVERIFY(!kimlik.isEmpty());
    }

    void init()
    {
        istemciyiYonlendir(server);
        QFile::remove(Tgirisform::AyarDosyasi());
        Tgirisform::setCariSecimi(nullptr);
    }

    void girisSonuclari_data()
    {
        QTest::addColumn<QString>("kayitli"); // the user this computer is registered to
        QTest::addColumn<QString>("ad");
        QTest::addColumn<QString>("sifre");
        QTest::addColumn<bool>("kabul");
        QTest::addColumn<bool>("ayarYazildi");

        QTest::newRow("bayi, small letters forced to capitals") << "BAYI" << "bayi" << "1234" << true << true;
        QTest::newRow("bayi4") << "BAYI4" << "BAYI4" << "1234" << true << true;
        QTest::newRow("representative keeps own account") << "TEMSILCI" << "TEMSILCI" << "1234" << true << true;
        QTest::newRow("wrong password") << "BAYI" << "BAYI" << "4321" << false << false;
        QTest::newRow("another user's name") << "BAYI" << "BAYI4" << "1234" << false << false;
        QTest::newRow("trailing blank is not trimmed") << "BAYI" << "BAYI " << "1234" << false << false;
        QTest::newRow("inactive account") << "PASIF" << "PASIF" << "1234" << false << true;
    }

    void girisSonuclari()
    {
        QFETCH(QString, kayitli);
        QFETCH(QString, ad);
        QFETCH(QString, sifre);
        QFETCH(bool, kabul);
        QFETCH(bool, ayarYazildi);
        QVERIFY2(server.registerMachine(kimlik, kayitli), qPrintable(server.lastError()));

        ScriptedSeam seam;
        SurecSonuSayaci son;
        Giris g;
        g.yaz(ad, sifre);
        g.form.Button1Click();
        QCOMPARE(g.form.Button1->text(), QStringLiteral("Bağlanıyor..."));
        QVERIFY(!g.form.Button1->isEnabled());
        QTRY_VERIFY(g.bitti());

        QCOMPARE(son.sayi, 0);
        QCOMPARE(QFile::exists(Tgirisform::AyarDosyasi()), ayarYazildi);
        if (kabul) {
            QCOMPARE(g.form.result(), int(QDialog::Accepted));
            QVERIFY(seam.shown.isEmpty());
            QCOMPARE(g.bilgi.ADI(), ad.toUpper());
            QCOMPARE(g.bilgi.BILGISAYARID(), kimlik);
            QCOMPARE(g.bilgi.Disip(), QStringLiteral("127.0.0.1"));
            QCOMPARE(ayarlar().value("kullanici/isim").toString(), ad.toUpper());
            QCOMPARE(ayarlar().value("kullanici/sifre").toString(), sifre);
            QCOMPARE(ayarlar().value(QStringLiteral("kullanici/hatırla")).toBool(), true);
        } else {
            QCOMPARE(seam.shown.size(), 1);
            QCOMPARE(seam.shown[0].text, kHatali);
            QCOMPARE(seam.shown[0].type, MsgType::Warning);
            QVERIFY(g.form.Button1->isEnabled());
            QCOMPARE(g.form.adi->selectedText(), g.form.adi->text());
            QVERIFY(g.form.result() != QDialog::Accepted);
        }
        QVERIFY(server.registerMachine(kimlik, QStringLiteral("BAYI")));
    }

    void disAdresYok()
    {
        ScriptedSeam seam;
        Giris g;
        g.form.disIpAyarlari.url = QStringLiteral("http://127.0.0.1:%1/ip").arg(bosPort());
        g.form.disIpAyarlari.attempts = 1;
        g.yaz("BAYI", "1234");
        g.form.Button1Click();
        QTRY_VERIFY(g.bitti());
        QCOMPARE(seam.shown.size(), 1);
        QCOMPARE(seam.shown[0].text, QStringLiteral("Bağlantı Kurulamıyor Lütfen Tekrar Deneyiniz !"));
        QCOMPARE(seam.shown[0].type, MsgType::Error);
        QVERIFY(g.form.Button1->isEnabled());
        QVERIFY(g.form.result() != QDialog::Accepted);
    }

    void sunucuYok()
    {
        DeploymentSettings::current().serverPort = QString::number(bosPort());
        ScriptedSeam seam;
        Giris g;
        g.yaz("BAYI", "1234");
        g.form.Button1Click();
        QTRY_VERIFY(g.bitti());
        QCOMPARE(seam.plainCount(), BaglantiDenemeSayisi);
        QCOMPARE(seam.shown.size(), BaglantiDenemeSayisi + 1);
        QCOMPARE(seam.shown.last().text, QStringLiteral("Bağlantı Kurulamadı !"));
        QCOMPARE(seam.shown.last().type, MsgType::Error);
        QVERIFY(g.form.Button1->isEnabled());
        QCOMPARE(g.form.adi->selectedText(), QStringLiteral("BAYI"));
    }

    void kayitsizBilgisayar()
    {
        ScriptedSeam seam;
        QString baslik, adres;
        seam.dialog = [&](QDialog &d) {
            if (auto *f = qobject_cast<Tformistekyeni *>(&d)) {
                baslik = f->windowTitle();
                adres = f->adres().toString(QUrl::FullyEncoded);
            }
            return int(QDialog::Rejected);
        };
        SurecSonuSayaci son;
        Giris g;
        g.form.idsi = QStringLiteral("KAYITSIZ-PC-1");
        g.yaz("BAYI", "1234");
        g.form.Button1Click();
        QTRY_VERIFY(son.sayi > 0);
        QCOMPARE(baslik, QStringLiteral("Kestro Yedek Parça B2B İstek Formu"));
        QCOMPARE(adres, server.baseUrl() + QStringLiteral("formmailgonder.aspx?carino=0&kullanici=%20&id=KAYITSIZ-PC-1"));
        QVERIFY(seam.shown.isEmpty());
        QVERIFY(g.form.result() != QDialog::Accepted);
        QVERIFY(!QFile::exists(Tgirisform::AyarDosyasi()));
    }

    void yeniSurumIstenir()
    {
        test::TestServer::Options o;
        o.expectedVersion = 3;
        test::TestServer yeni(o);
        QVERIFY2(yeni.start(), qPrintable(yeni.lastError()));
        istemciyiYonlendir(yeni);

        ScriptedSeam seam;
        QStringList acilanlar;
        QString mesaj;
        seam.dialog = [&](QDialog &d) {
            acilanlar << d.metaObject()->className();
            if (auto *di = qobject_cast<Tdosyaindir *>(&d))
                mesaj = di->sLabel1->text();
            return int(QDialog::Rejected);
        };
        Giris g;
        g.yaz("BAYI", "1234");
        g.form.Button1Click();
        QTRY_VERIFY(g.bitti());
        QCOMPARE(acilanlar, QStringList{"kestro::Tdosyaindir"});
        QVERIFY(mesaj.endsWith(QStringLiteral("Version: 3-2")));
        // Sign-in goes on once the update dialog has returned.
        QCOMPARE(g.form.result(), int(QDialog::Accepted));
    }

    void cariSecimi_data()
    {
        QTest::addColumn<bool>("secildi");
        QTest::newRow("chosen") << true;
        QTest::newRow("cancelled") << false;
    }

    void cariSecimi()
    {
        QFETCH(bool, secildi);
        QVERIFY(server.registerMachine(kimlik, QStringLiteral("YETKILI")));
        int tip = 0;
        Tgirisform::setCariSecimi([&](QWidget *, ServerConnection &, TSonucBilgisi &b) {
            tip = b.MusteriTipi();
            return secildi;
        });
        ScriptedSeam seam;
        SurecSonuSayaci son;
        Giris g;
        g.yaz("YETKILI", "1234");
        g.form.Button1Click();
        QTRY_VERIFY(g.bitti() || son.sayi > 0);
        QCOMPARE(tip, int(FiyatYetkiliTemsilci));
        QCOMPARE(g.form.result() == QDialog::Accepted, secildi);
        QCOMPARE(son.sayi > 0, !secildi);
        QVERIFY(server.registerMachine(kimlik, QStringLiteral("BAYI")));
    }

    void ikinciGirisBaslamaz()
    {
        // An echo service that holds its answer until released keeps the first attempt running.
        httplib::Server echo;
        std::mutex m;
        std::condition_variable cv;
        bool birak = false;
        std::atomic<int> istek{0};
        echo.Get("/ip", [&](const httplib::Request &, httplib::Response &res) {
            ++istek;
            std::unique_lock<std::mutex> l(m);
            cv.wait(l, [&] { return birak; });
            res.set_content("127.0.0.1", "text/plain");
        });
        const int port = echo.bind_to_any_port("127.0.0.1");
        std::thread t([&] { echo.listen_after_bind(); });
        auto serbest = qScopeGuard([&] {
            {
                std::lock_guard<std::mutex> l(m);
                birak = true;
            }
            cv.notify_all();
            echo.stop();
            t.join();
        });

        ScriptedSeam seam;
        Giris g;
        g.form.disIpAyarlari.url = QStringLiteral("http://127.0.0.1:%1/ip").arg(port);
        g.yaz("BAYI", "1234");
        g.form.Button1Click();
        QTRY_COMPARE(istek.load(), 1);
        const int calisan = QThreadPool::globalInstance()->activeThreadCount();
        QTest::keyClick(g.form.sifre, Qt::Key_Return);
        g.form.Button1Click();
        QCOMPARE(QThreadPool::globalInstance()->activeThreadCount(), calisan);
        {
            std::lock_guard<std::mutex> l(m);
            birak = true;
        }
        cv.notify_all();
        QTRY_COMPARE(g.form.result(), int(QDialog::Accepted));
        QCOMPARE(istek.load(), 1);
        QVERIFY(seam.shown.isEmpty());
    }

    void enterTusu_data()
    {
        QTest::addColumn<QString>("ad");
        QTest::addColumn<QString>("sifre");
        QTest::addColumn<QString>("kutu");
        QTest::addColumn<QString>("mesaj");
        QTest::addColumn<bool>("girisBasladi");
        QTest::newRow("empty name") << "  " << "1234" << "adi" << "Lütfen kullanıcı adını giriniz !" << false;
        QTest::newRow("empty password") << "BAYI" << " " << "sifre" << "Lütfen kullanıcı şifresini giriniz !" << false;
        QTest::newRow("name filled") << "BAYI" << "1234" << "adi" << "" << false;
        QTest::newRow("password filled") << "BAYI" << "1234" << "sifre" << "" << true;
    }

    void enterTusu()
    {
        QFETCH(QString, ad);
        QFETCH(QString, sifre);
        QFETCH(QString, kutu);
        QFETCH(QString, mesaj);
        QFETCH(bool, girisBasladi);
        ScriptedSeam seam;
        Giris g;
        g.yaz(ad, sifre);
        QLineEdit *e = kutu == "adi" ? g.form.adi : g.form.sifre;
        QTest::keyClick(e, Qt::Key_Return);
        QCOMPARE(g.form.girisSuruyor(), girisBasladi);
        if (mesaj.isEmpty()) {
            QVERIFY(seam.shown.isEmpty());
        } else {
            QCOMPARE(seam.shown.size(), 1);
            QCOMPARE(seam.shown[0].text, mesaj);
            QCOMPARE(e->selectedText(), e->text());
        }
        if (girisBasladi)
            QTRY_COMPARE(g.form.result(), int(QDialog::Accepted));
        else if (kutu == "adi" && mesaj.isEmpty())
            QCOMPARE(g.form.sifre->selectedText(), sifre); // on to the password box
    }

    void ayarDosyasi_data()
    {
        QTest::addColumn<bool>("hatirla");
        QTest::addColumn<bool>("eskiDosya"); // a file left world-readable by an older version
        QTest::newRow("remembered, new file") << true << false;
        QTest::newRow("not remembered, new file") << false << false;
        QTest::newRow("remembered, old readable file") << true << true;
    }

    void ayarDosyasi()
    {
        QFETCH(bool, hatirla);
        QFETCH(bool, eskiDosya);
        const QString yol = Tgirisform::AyarDosyasi();
        if (eskiDosya) {
            QFile f(yol);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("[kullanici]\nisim=ESKI\n");
            f.close();
            QVERIFY(QFile::setPermissions(yol, QFile::Permissions(0x6644)));
        }
        const mode_t eski = umask(022);
        {
            Tgirisform g;
            g.adi->setText("BAYI");
            g.sifre->setText("1234");
            g.CheckBox1->setChecked(hatirla);
            g.AyarKaydet();
        }
        umask(eski);

        struct stat st{};
        QCOMPARE(stat(QFile::encodeName(yol).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0600));
        QSettings ini = ayarlar();
        QCOMPARE(ini.value("kullanici/isim").toString(), QStringLiteral("BAYI"));
        QCOMPARE(ini.contains("kullanici/sifre"), hatirla);

        Tgirisform sonraki;
        QCOMPARE(sonraki.CheckBox1->isChecked(), hatirla);
        QCOMPARE(sonraki.adi->text(), hatirla ? QStringLiteral("BAYI") : QString());
        QCOMPARE(sonraki.sifre->text(), hatirla ? QStringLiteral("1234") : QString());
    }

    void ayarDosyasiOkunur_data()
    {
        QTest::addColumn<QByteArray>("icerik");
        QTest::addColumn<bool>("hatirla");
        QTest::addColumn<QString>("ad");
        QTest::newRow("raw UTF-8 key, off") << QByteArray("[kullanici]\r\nisim=BAYI\r\nsifre=1234\r\nhat\xc4\xb1rla=0\r\n") << false << "";
        // QSettings caches a file by size and time: the rows differ in size so each is read afresh.
        QTest::newRow("raw UTF-8 key, on") << QByteArray("[kullanici]\r\nisim=BAYI\r\nsifre=1234\r\nhat\xc4\xb1rla=true\r\n") << true << "BAYI";
        QTest::newRow("no remember key") << QByteArray("[kullanici]\r\nisim=BAYI4\r\n") << true << "BAYI4";
        QTest::newRow("empty file") << QByteArray() << true << "";
    }

    void ayarDosyasiOkunur()
    {
        QFETCH(QByteArray, icerik);
        QFETCH(bool, hatirla);
        QFETCH(QString, ad);
        QFile f(Tgirisform::AyarDosyasi());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(icerik);
        f.close();
        Tgirisform g;
        QCOMPARE(g.CheckBox1->isChecked(), hatirla);
        QCOMPARE(g.adi->text(), ad);
    }

    void dosyaYoksaBosKutular()
    {
        Tgirisform g;
        QVERIFY(g.CheckBox1->isChecked());
        QVERIFY(g.adi->text().isEmpty());
        QVERIFY(g.sifre->text().isEmpty());
        QCOMPARE(g.sifre->echoMode(), QLineEdit::Password);
    }
};

QTEST_MAIN(TstGiris)
#include "tst_giris.moc"
