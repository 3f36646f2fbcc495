// The real main window offscreen: sign-in, layout by user type, header lines,
// start-up task, menu and closing.
#include "gorunum.h"
#include "identity.h"
#include "loginform.h"
#include "aramametni.h"
#include "mainwindow.h"
#include "scriptedseam.h"
#include "sunucuortami.h"

#include <QAction>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QThread>
#include <QTimer>

using namespace kestro;

namespace {

// Answers the login dialog as a user would: types the name and password and presses "Giriş".
void girisYapacak(ScriptedSeam &seam, const QString &ad, const QString &sifre)
{
    seam.dialog = [ad, sifre](QDialog &d) {
        auto *g = qobject_cast<Tgirisform *>(&d);
        if (!g)
            return int(QDialog::Rejected);
        QTimer::singleShot(0, g, [g, ad, sifre] {
            QTest::keyClicks(g->adi, ad);
            QTest::keyClicks(g->sifre, sifre);
            QTest::mouseClick(g->Button1, Qt::LeftButton);
        });
        return d.exec();
    };
}

} // namespace

class TstAnaPencere : public QObject
{
    Q_OBJECT
    test::TestServer server;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        setBaglantiDenemeAraligi(0);
        QVERIFY2(server.start(), qPrintable(server.lastError()));
        istemciyiYonlendir(server);
    }

    void init() { QFile::remove(Tgirisform::AyarDosyasi()); }

    void girisVeDuzen_data()
    {
        QTest::addColumn<QString>("kullanici");
        QTest::addColumn<int>("tip");
        QTest::addColumn<bool>("temsilci");  // "Başka Cari Seç" and "Raporlar"
        QTest::addColumn<bool>("kampanyali"); // the campaign tab
        QTest::newRow("BAYI") << "BAYI" << 3 << false << true;
        QTest::newRow("BAYI4") << "BAYI4" << 4 << false << false;
        QTest::newRow("TEMSILCI") << "TEMSILCI" << 1 << true << true;
        QTest::newRow("YETKILI") << "YETKILI" << 2 << true << true;
    }

    void girisVeDuzen()
    {
        QFETCH(QString, kullanici);
        QFETCH(int, tip);
        QFETCH(bool, temsilci);
        QFETCH(bool, kampanyali);
        QVERIFY(server.registerMachine(BilgisayarIdAl(), kullanici));

        ScriptedSeam seam;
        SurecSonuSayaci son;
        girisYapacak(seam, kullanici.toLower(), QStringLiteral("1234"));
        TForm1 w;
        QList<int> kancaTipleri;
        w.duzenKancasiEkle([&](int t) { kancaTipleri << t; });
        QSignalSpy bitti(&w, &TForm1::baslangicBitti);
        QVERIFY(w.FormCreate());
        QCOMPARE(son.sayi, 0);
        QVERIFY(seam.shown.isEmpty());

        QCOMPARE(w.windowTitle(), QStringLiteral("Kestro Yedek Parça B2B Programı"));
        QCOMPARE(w.sbilgi.MusteriTipi(), tip);
        QCOMPARE(kancaTipleri, QList<int>{tip});
        QCOMPARE(!w.BaskaCariSec->isHidden(), temsilci);
        QCOMPARE(w.Raporlar1->isVisible(), temsilci);
        QCOMPARE(w.sekmeGorunur(TForm1::Sekme::KampanyaliStoklar), kampanyali);
        QVERIFY(!w.sekmeGorunur(TForm1::Sekme::SanalPos));
        QCOMPARE(w.bagc.Port, QString::number(server.port()));

        QTRY_COMPARE(bitti.count(), 1);
        QCOMPARE(w.lblkullanici->text(), kullanici);
        QVERIFY(!w.lblfirma->text().isEmpty());
        QCOMPARE(w.lblfirma->text(), w.sbilgi.CariAdi());
        QVERIFY(!w.sbilgi.SaticiAdi().isEmpty());
        QCOMPARE(w.lbltemsilci->text(), w.sbilgi.SaticiAdi() + " Telefonu: " + w.sbilgi.SaticiTelefon()
                                            + " email: " + w.sbilgi.SaticiMail());

        w.showMaximized();
        QTRY_VERIFY(w.isMaximized());
        QCOMPARE(w.sayfalar()->currentIndex(), int(TForm1::Sekme::StokListesi));
        QTRY_VERIFY(w.araedit->hasFocus());
        QVERIFY(server.registerMachine(BilgisayarIdAl(), QStringLiteral("BAYI")));
    }

    void sekmelerVeMenu()
    {
        TForm1 w;
        QStringList basliklar;
        for (int i = 0; i < TForm1::SekmeSayisi; ++i)
            basliklar << w.sekmeBasligi(TForm1::Sekme(i));
        QCOMPARE(basliklar, (QStringList{"Stok Listesi", "Sepet", "Önceki Siparişler", "Cari Ekstre", "Yeni Stoklar",
                                         "Kampanyalı Stoklar", "Duyurular", "Bakiyeler", "Sanal Pos"}));
        for (int i = 0; i < TForm1::SekmeSayisi; ++i) {
            QWidget *sayfa = w.sekmeSayfasi(TForm1::Sekme(i));
            QCOMPARE(w.sayfalar()->indexOf(sayfa), i);
            QVERIFY(sayfa->layout());
            QCOMPARE(sayfa->layout()->count(), 0); // empty until its feature fills it
        }
        w.sekmeBasligiYaz(TForm1::Sekme::Sepet, "3=Sepet");
        QCOMPARE(w.sayfalar()->tabText(1), QStringLiteral("3=Sepet"));

        QStringList menu;
        for (QAction *a : w.Genelmenu->actions())
            menu << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(menu, (QStringList{"Mail Gönder", "-", "Şifre Değiştirme İsteği", "-", QString(), "-", "Çıkış", "-", "Raporlar"}));
        QVERIFY(!w.Raporlar1->isVisible());

        for (int i = 0; i < TForm1::YuklemeSayisi; ++i)
            QVERIFY(w.mesgulGostergesi(TForm1::Yukleme(i))->isHidden());
        QCOMPARE(w.haberSeridi()->height(), 40);
        QCOMPARE(w.ustBannerSeridi()->maximumHeight(), 0);

        QTest::keyClicks(w.araedit, QStringLiteral("fren balatasi"));
        QCOMPARE(w.araedit->text(), QStringLiteral("FREN BALATASI"));
    }

    void baslangicAdimlari()
    {
        TForm1 w;
        w.sbilgi.setADI("BAYI");
        QStringList sira;
        QThread *ui = QThread::currentThread();
        bool isciUzerinde = true;
        w.baslangicAdimiEkle([&] {
            isciUzerinde = isciUzerinde && QThread::currentThread() != ui;
            sira << "bir:" + w.lblkullanici->text();
            throw std::runtime_error("a failing load");
        });
        w.baslangicAdimiEkle([&] {
            isciUzerinde = isciUzerinde && QThread::currentThread() != ui;
            sira << "iki";
        });
        w.baslangicSonuEkle([&] { sira << (QThread::currentThread() == ui ? "son" : "son (worker)"); });
        QSignalSpy bitti(&w, &TForm1::baslangicBitti);
        w.BaslangicGoreviniBaslat();
        QTRY_COMPARE(bitti.count(), 1);
        // The header lines come first, a failing step does not stop the next, the end runs on the UI thread.
        QCOMPARE(sira, (QStringList{"bir:BAYI", "iki", "son"}));
        QVERIFY(isciUzerinde);
    }

    void kapatma_data()
    {
        QTest::addColumn<int>("cevap");
        QTest::addColumn<int>("sonlanma");
        QTest::newRow("Evet") << int(mrYes) << 1;
        QTest::newRow("Hayır") << int(mrNo) << 0;
        QTest::newRow("closed box") << int(mrCancel) << 0;
    }

    void kapatma()
    {
        QFETCH(int, cevap);
        QFETCH(int, sonlanma);
        ScriptedSeam seam;
        seam.answer = [cevap](const MessageRequest &) { return cevap; };
        SurecSonuSayaci son;
        TForm1 w;
        w.show();
        w.G1Click();
        QCOMPARE(seam.shown.size(), 1);
        QCOMPARE(seam.shown[0].text, QStringLiteral("Programdan Çıkmak İstiyor musunuz ?"));
        QCOMPARE(seam.shown[0].type, MsgType::Confirmation);
        QCOMPARE(seam.shown[0].buttons, (QList<MsgBtn>{MsgBtn::Yes, MsgBtn::No}));
        QCOMPARE(seam.shown[0].defaultKind, MsgBtn::Yes);
        QCOMPARE(son.sayi, sonlanma);
        QVERIFY(w.isVisible()); // the window is never closed; only the process ends
    }

    void girisVazgecilirse()
    {
        ScriptedSeam seam;
        seam.dialog = [](QDialog &d) {
            auto *g = qobject_cast<Tgirisform *>(&d);
            QTimer::singleShot(0, g, [g] { QTest::mouseClick(g->Button2, Qt::LeftButton); });
            return d.exec();
        };
        SurecSonuSayaci son;
        TForm1 w;
        QVERIFY(!w.FormCreate());
        QVERIFY(son.sayi > 0);
    }
};

QTEST_MAIN(TstAnaPencere)
#include "tst_anapencere.moc"
