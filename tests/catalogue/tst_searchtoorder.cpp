// The daily path against the real server: search, add a stock, change it,
// select it, send the order through the confirmation dialog, find it in the
// order history.
#include "aramametni.h"
#include "connection.h"
#include "datagrid.h"
#include "deploymentsettings.h"
#include "fakeserver.h"
#include "helpers.h"
#include "moneyedit.h"
#include "onaysip.h"
#include "proxy.h"
#include "scriptedseam.h"
#include "sepet.h"
#include "sepeteekle.h"
#include "sepetsekmesi.h"
#include "stokayarinti.h"
#include "stoklistesi.h"
#include "testserver.h"
#include "tutarhesapla.h"
#include "yenikampanya.h"

#include "connectioncheck.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QtTest>

using namespace kestro;

// The stock list and cart tabs on one cart, as the main window holds them.
struct Tabs
{
    QWidget window;
    Sepet sepet;
    SepeteEkleAkisi ekle{sepet, &window};
    AramaKutusu araedit{&window};
    StokListesiSekmesi stokTab{sepet, ekle, &araedit, nullptr, &window};
    SepetSekmesi cartTab{sepet, nullptr, &window};
    Tabs(ServerConnection &c, TSonucBilgisi &s) : sepet(c, s) { cartTab.setAramaKutusu(&araedit); }
};

class TestSearchToOrder : public QObject
{
    Q_OBJECT

    test::TestServer server;
    ServerConnection bagc;
    TSonucBilgisi sbilgi;

private slots:
    void initTestCase()
    {
        setBaglantiDenemeAraligi(5);
        QVERIFY2(server.start(), qPrintable(server.lastError()));
        QVERIFY(server.registerMachine(QStringLiteral("E2E-PC"), QStringLiteral("BAYI")));
        DeploymentSettings::current() = DeploymentSettings::forLocalServer(server.host(), server.port());
        SunucuAdresleriniAyarla();
        server.configure(bagc);
        bagc.open();
        TServerMethods1Client proxy(bagc);
        const TSonucBilgisi *record = proxy.BuyukGetir(QStringLiteral("E2E-PC"));
        QVERIFY(record && record->Varmi());
        sbilgi.Kopyala(*record);
        bagc.close();
        QCOMPARE(sbilgi.ADI(), QStringLiteral("BAYI"));
    }

    void searchAddChangeSelectSend()
    {
        ScriptedSeam seam;
        Tabs t(bagc, sbilgi);
        auto &[window, sepet, ekle, araedit, stokTab, cartTab] = t;

        // Search.
        QSignalSpy caption(&stokTab, &StokListesiSekmesi::captionChanged);
        araedit.setText(QStringLiteral("FILTRESI"));
        QTest::keyClick(&araedit, Qt::Key_Return);
        QVERIFY(!araedit.isEnabled()); // searching
        QTRY_COMPARE(caption.count(), 1);
        const int rows = stokTab.stok.rowCount();
        QVERIFY(rows > 0);
        QCOMPARE(caption.last().first().toString(), QString::number(rows) + QStringLiteral("=Stok Listesi"));
        QVERIFY(araedit.isEnabled());
        QVERIFY(seam.shown.isEmpty());

        // Add the first row with two parcels.
        DataGrid *grid = stokTab.cxGrid1DBTableView1;
        grid->setFocusedRow(0);
        const int stokno = int(grid->focusedValue(QStringLiteral("STOK_STOKNO")).toLongLong());
        int koli = 0;
        double price = 0;
        std::array<double, 4> rates{};
        seam.dialog = [&](QDialog &d) {
            auto *entry = qobject_cast<Tstokayarinti *>(&d);
            if (!entry)
                return int(QDialog::Rejected);
            koli = entry->koliadet();
            price = entry->birimfiyat->value();
            rates = entry->oranlar();
            entry->adet->setValue(koli * 2);
            return int(QDialog::Accepted);
        };
        ekle.listedenEkle(*grid, stokTab.stok, StokKaynagi::StokListesi);
        QVERIFY(koli >= 1);
        QCOMPARE(sepet.sepet.rowCount(), 1);
        QCOMPARE(int(sepet.sepet.fieldInt(QStringLiteral("STOKNO"))), stokno);
        QCOMPARE(sepet.sepet.fieldDouble(QStringLiteral("MIKTAR")), double(koli * 2));

        // The server's amounts agree with the dialog's to the cent.
        const SatirTutari expected = TutarHesapla(price, koli * 2, rates, sepet.sepet.fieldDouble("KDV"));
        QCOMPARE(sepet.sepet.fieldDouble(QStringLiteral("NETTUTAR")), expected.net);
        QCOMPARE(sepet.sepet.fieldDouble(QStringLiteral("NETBIRIMFIYAT")), expected.netBirimFiyat);

        // The same stock again: the change path, with three parcels.
        int quantityShown = 0;
        seam.dialog = [&](QDialog &d) {
            auto *entry = qobject_cast<Tstokayarinti *>(&d);
            quantityShown = entry->adet->value();
            entry->adet->setValue(koli * 3);
            return int(QDialog::Accepted);
        };
        ekle.listedenEkle(*grid, stokTab.stok, StokKaynagi::StokListesi);
        QCOMPARE(quantityShown, koli * 2);
        QCOMPARE(sepet.sepet.rowCount(), 1);
        QCOMPARE(sepet.sepet.fieldDouble(QStringLiteral("MIKTAR")), double(koli * 3));

        // Nothing selected yet: no dialog.
        cartTab.Button1Click();
        QCOMPARE(seam.count(QStringLiteral("Gönderilecek Parça Yok ")), 1);

        // Select all, then send through the confirmation dialog.
        cartTab.Button4Click();
        QCOMPARE(sepet.sepet.asInt(0, sepet.sepet.fieldIndex("SEC")), 1);
        QVERIFY(cartTab.toplamlar.genel > 0);
        QString summary;
        seam.dialog = [&](QDialog &d) {
            auto *confirm = qobject_cast<TONAYSIP *>(&d);
            if (!confirm)
                return int(QDialog::Rejected);
            summary = confirm->Label2->text();
            // The second delivery kind comes preselected; a cargo kind with several companies.
            if (!confirm->teslimbox->checkedButton() || confirm->boxkargo->buttons().size() < 2)
                return int(QDialog::Rejected);
            confirm->Button1Click(); // no cargo kind yet
            confirm->boxkargo->buttons().at(1)->setChecked(true);
            confirm->boxkargoClick();
            confirm->Button1Click(); // no company yet
            confirm->kargocombo->setCurrentIndex(1);
            confirm->aciklamagir->setPlainText(QStringLiteral("Öğleden önce lütfen"));
            confirm->Button1Click();
            return confirm->result();
        };
        cartTab.Button1Click();
        QCOMPARE(seam.count(QStringLiteral("Lütfen Kargo Türünü Seçiniz !")), 1);
        QCOMPARE(seam.count(QStringLiteral("Lütfen Kargo  Seçiniz !")), 1);
        QCOMPARE(seam.count(QStringLiteral("Siparişiniz Gönderildi !")), 1);
        QVERIFY(summary.contains(QStringLiteral("Tutar    : ") + cartTab.geneltoplaml->text()));
        QCOMPARE(sepet.sepet.rowCount(), 0); // reloaded: the sent line is gone

        // The order is in the history with its line.
        bagc.open();
        TServerMethods1Client proxy(bagc);
        const DataSet orders = proxy.OncekiSiparisler(sbilgi.CARINO());
        QVERIFY(orders.rowCount() > 0);
        const int orderNo = int(orders.asInt(0, orders.fieldIndex("IDNO")));
        const DataSet lines = proxy.SiparisAyrintisi2(sbilgi.CARINO(), orderNo);
        QCOMPARE(lines.rowCount(), 1);
        QCOMPARE(int(lines.asInt(0, lines.fieldIndex("STOKNO"))), stokno);
        QCOMPARE(lines.asDouble(0, lines.fieldIndex("MIKTAR")), double(koli * 3));
        QCOMPARE(orders.asString(0, orders.fieldIndex("VERENINNOTU")), QStringLiteral("Öğleden önce lütfen"));
        bagc.close();
    }

    void cartCommands()
    {
        ScriptedSeam seam;
        QWidget window;
        Sepet sepet(bagc, sbilgi);
        SepeteEkleAkisi ekle(sepet, &window);
        SepetSekmesi cartTab(sepet, nullptr, &window);
        // Two lines straight from a search.
        DataSet found;
        {
            bagc.open();
            TServerMethods1Client proxy(bagc);
            found = proxy.StokAraGetirVosk(QStringLiteral("BUJI"), sbilgi.kopyasi());
            bagc.close();
        }
        QVERIFY(found.rowCount() >= 2);
        for (int r = 0; r < 2; ++r) {
            found.setCurrentRow(r);
            ekle.SatirEkle(found, 4, found.fieldDouble("FIYAT"), found.fieldDouble("IND1"), 0, 0, 0);
        }
        QCOMPARE(sepet.sepet.rowCount(), 2);
        // The tab's own load: in the background, then caption and totals.
        QSignalSpy cartCaption(&cartTab, &SepetSekmesi::captionChanged);
        cartTab.ssepetShow();
        QVERIFY(!cartTab.cxGridDBTableView1->isEnabled());
        QTRY_COMPARE(cartCaption.count(), 1);
        QCOMPARE(cartCaption.last().first().toString(), QStringLiteral("2=Sepet"));
        QVERIFY(cartTab.cxGridDBTableView1->isEnabled());
        QCOMPARE(cartTab.cxGridDBTableView1->model()->rowCount(), 2);
        QCOMPARE(cartTab.geneltoplaml->text(), QStringLiteral("0,00")); // nothing selected

        // The "Seç" cell toggles the selection; another cell asks for the change dialog.
        QTableView *view = cartTab.cxGridDBTableView1->view();
        view->setCurrentIndex(view->model()->index(0, 0));
        cartTab.Deitir1Click();
        QCOMPARE(sepet.sepet.asInt(0, sepet.sepet.fieldIndex("SEC")), 1);
        QVERIFY(cartTab.toplamlar.genel > 0);
        QSignalSpy change(&cartTab, &SepetSekmesi::satirDegistirIstendi);
        view->setCurrentIndex(view->model()->index(0, 5));
        cartTab.Deitir1Click();
        QCOMPARE(change.count(), 1);
        sepet.SepetYenile();
        QCOMPARE(sepet.sepet.asInt(0, sepet.sepet.fieldIndex("SEC")), 1); // mirrored on the server

        // Deleting a line: "Hayır" keeps it, "Evet" removes it.
        view->setCurrentIndex(view->model()->index(1, 5));
        seam.answer = [](const MessageRequest &r) { return r.buttons.contains(MsgBtn::No) ? int(mrNo) : int(mrOk); };
        cartTab.SatrSil1Click();
        QCOMPARE(sepet.sepet.rowCount(), 2);
        QCOMPARE(seam.shown.last().defaultKind, MsgBtn::No);
        seam.answer = {};
        view->setCurrentIndex(view->model()->index(1, 5));
        cartTab.SatrSil1Click();
        QCOMPARE(seam.count(QStringLiteral("Satır silindi !")), 1);
        QCOMPARE(sepet.sepet.rowCount(), 1);

        // Delete all, then nothing left to ask about.
        cartTab.HepsiniSil1Click();
        QCOMPARE(seam.count(QStringLiteral("Sepet Silindi !")), 1);
        QCOMPARE(sepet.sepet.rowCount(), 0);
        const int shown = seam.shown.size();
        cartTab.HepsiniSil1Click();
        QCOMPARE(seam.shown.size(), shown);
    }

    void newAndCampaignListsLoadOnShow()
    {
        ScriptedSeam seam;
        QWidget window;
        Sepet sepet(bagc, sbilgi);
        SepeteEkleAkisi ekle(sepet, &window);
        for (const auto &[kaynak, ad] : {std::pair{StokKaynagi::YeniStoklar, QStringLiteral("=Yeni Stoklar")},
                                         std::pair{StokKaynagi::Kampanyali, QStringLiteral("=Kampanyalı")}}) {
            SecilmisStoklarSekmesi tab(kaynak, sepet, ekle, nullptr, &window);
            QSignalSpy caption(&tab, &SecilmisStoklarSekmesi::captionChanged);
            tab.sekmeGosterildi();
            QTRY_COMPARE(caption.count(), 1);
            QVERIFY(tab.liste.rowCount() > 0);
            QCOMPARE(caption.last().first().toString(), QString::number(tab.liste.rowCount()) + ad);
            QVERIFY(tab.liste.hasField(QStringLiteral("IND1")));
            tab.sekmeGosterildi(); // shown again: loaded again
            QTRY_COMPARE(caption.count(), 2);
        }
        QVERIFY(seam.shown.isEmpty());
    }

    void columnsByUserType_data()
    {
        QTest::addColumn<int>("tip");
        QTest::addColumn<bool>("kalan");
        QTest::addColumn<bool>("durum");
        QTest::addColumn<bool>("kampanya");
        QTest::newRow("representative") << 1 << true << true << true;
        QTest::newRow("price authority") << 2 << true << true << true;
        QTest::newRow("customer") << 3 << false << false << true;
        QTest::newRow("no campaigns") << 4 << false << true << false;
    }

    void columnsByUserType()
    {
        QFETCH(int, tip);
        QFETCH(bool, kalan);
        QFETCH(bool, durum);
        QFETCH(bool, kampanya);
        Tabs t(bagc, sbilgi);
        auto &[window, sepet, ekle, araedit, stokTab, cartTab] = t;
        stokTab.kullaniciTipineGoreDuzenle(tip);
        cartTab.kullaniciTipineGoreDuzenle(tip);
        DataGrid *stok = stokTab.cxGrid1DBTableView1;
        DataGrid *cart = cartTab.cxGridDBTableView1;
        for (const char *c : {"KALAN", "ALINANSIPARIS", "VERILENSIPARIS"}) {
            QCOMPARE(stok->isColumnVisible(c), kalan);
            QCOMPARE(stok->isColumnOffered(c), kalan);
        }
        QCOMPARE(cart->isColumnVisible("KALAN"), kalan);
        QCOMPARE(cart->isColumnVisible("DURUM"), durum);
        QCOMPARE(cart->isColumnOffered("DURUM"), durum);
        QCOMPARE(stok->isColumnVisible("K"), kampanya);
        QCOMPARE(stok->isColumnOffered("KAMPFIYAT"), kampanya);
    }

    void widthDecidesThePriceColumns()
    {
        Tabs t(bagc, sbilgi);
        DataGrid *g = t.stokTab.cxGrid1DBTableView1;
        t.stokTab.StokKolonDuzenle(1152);
        QVERIFY(g->isColumnVisible("FiyatBilgisi"));
        QVERIFY(!g->isColumnVisible("NETFIYAT"));
        QCOMPARE(g->rowHeight(), 100);
        t.stokTab.StokKolonDuzenle(1153);
        QVERIFY(!g->isColumnVisible("FiyatBilgisi"));
        for (const char *c : {"KDVDAHIL", "NETFIYAT", "KAMPFIYAT", "LISTEFIYAT1"})
            QVERIFY(g->isColumnVisible(c));
        QCOMPARE(g->rowHeight(), 60);
        t.stokTab.kullaniciTipineGoreDuzenle(4); // no campaigns: a resize must not bring the price back
        t.stokTab.StokKolonDuzenle(1600);
        QVERIFY(!g->isColumnVisible("KAMPFIYAT"));
        QVERIFY(g->isColumnVisible("NETFIYAT"));
    }

    void failedSearchEmptiesListAndSaysSoOnce_data()
    {
        QTest::addColumn<bool>("deadServer");
        QTest::addColumn<int>("attemptMessages"); // -1: not counted
        QTest::newRow("nothing listens") << true << 11;
        // The stand-in server answers every table method with a table that has no IND1.
        QTest::newRow("answer without rates") << false << -1;
    }

    void failedSearchEmptiesListAndSaysSoOnce()
    {
        QFETCH(bool, deadServer);
        QFETCH(int, attemptMessages);
        std::unique_ptr<FakeServer> fake(deadServer ? nullptr : new FakeServer);
        ScriptedSeam seam;
        ServerConnection c;
        c.HostName = QStringLiteral("127.0.0.1");
        c.Port = fake ? QString::number(fake->port()) : QStringLiteral("1");
        Tabs t(c, sbilgi);
        auto &[window_, sepet, ekle, araedit, stokTab, cartTab] = t;
        QSignalSpy caption(&stokTab, &StokListesiSekmesi::captionChanged);
        QTest::keyClick(&araedit, Qt::Key_Return);
        QTRY_COMPARE(caption.count(), 1);
        QCOMPARE(caption.last().first().toString(), QStringLiteral("Stok Listesi"));
        QCOMPARE(seam.count(QStringLiteral("Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!")), 1);
        if (attemptMessages >= 0)
            QCOMPARE(seam.plainCount(), attemptMessages);
        QCOMPARE(stokTab.stok.rowCount(), 0);
        QVERIFY(araedit.isEnabled());
    }
};

QTEST_MAIN(TestSearchToOrder)
#include "tst_searchtoorder.moc"
