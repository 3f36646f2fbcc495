#include "mainwindow.h"

#include "aramametni.h"

#include "background.h"
#include "deploymentsettings.h"
#include "gorunum.h"
#include "helpers.h"
#include "identity.h"
#include "kullanicikayit.h"
#include "loginform.h"
#include "mailform.h"
#include "messages.h"
#include "surec.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QThread>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace kestro {

namespace {

struct SekmeTanimi
{
    const char *nesne;
    const char *baslik;
};

constexpr SekmeTanimi kSekmeler[TForm1::SekmeSayisi] = {
    {"sstoklistesi", "Stok Listesi"},   {"ssepet", "Sepet"},
    {"sonceki", "Önceki Siparişler"},   {"sekstre", "Cari Ekstre"},
    {"syeniler", "Yeni Stoklar"},       {"skampanyali", "Kampanyalı Stoklar"},
    {"sTabSheetduyuru", "Duyurular"},   {"sTabbakiyeler", "Bakiyeler"},
    {"ssanalpos", "Sanal Pos"},
};

constexpr const char *kMesgulAdlari[TForm1::YuklemeSayisi] = {
    "gifstokara", "gifyeniler", "gifkampanyali", "gifduyuru", "gifonceki", "gifsepet", "gifekstre",
};

QLabel *etiket(const QString &text, QWidget *parent, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto *l = new QLabel(text, parent);
    l->setAlignment(align);
    return l;
}

} // namespace

TForm1::TForm1(QWidget *parent) : QMainWindow(parent)
{
    UygulamaResimleriniYukle();
    setObjectName(QStringLiteral("Form1"));
    setFont(TahomaYazi(13, true));
    resize(1634, 725);

    auto *merkez = new QWidget(this);
    auto *lay = new QVBoxLayout(merkez);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);

    lay->addWidget(baslikPaneli());

    RxGIFAnimator2 = new QWidget(merkez);
    RxGIFAnimator2->setObjectName(QStringLiteral("RxGIFAnimator2"));
    RxGIFAnimator2->setFixedHeight(0);
    lay->addWidget(RxGIFAnimator2);

    lay->addWidget(aramaCubugu());

    PageControl1 = new QTabWidget(merkez);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    for (int i = 0; i < SekmeSayisi; ++i) {
        auto *sayfa = new QWidget(PageControl1);
        sayfa->setObjectName(QLatin1String(kSekmeler[i].nesne));
        auto *sl = new QVBoxLayout(sayfa);
        sl->setContentsMargins(0, 0, 0, 0);
        m_sayfalar[size_t(i)] = sayfa;
        m_adlar[size_t(i)] = QString::fromUtf8(kSekmeler[i].baslik);
        PageControl1->addTab(sayfa, m_adlar[size_t(i)]);
    }
    // The payment tab has no tab button; nothing in the program makes it current.
    PageControl1->setTabVisible(int(Sekme::SanalPos), false);
    PageControl1->setCurrentIndex(int(Sekme::StokListesi));
    lay->addWidget(PageControl1, 1);

    lay->addWidget(durumAciklamasi());

    Panel5 = new QWidget(merkez);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->setFixedHeight(40);
    auto *haberLay = new QVBoxLayout(Panel5);
    haberLay->setContentsMargins(0, 0, 0, 0);
    haberLay->setSpacing(0);
    lay->addWidget(Panel5);

    setCentralWidget(merkez);

    baslangicAdimiEkle([this] { AnaBilgiAl(); });
}

TForm1::~TForm1() = default;

QWidget *TForm1::baslikPaneli()
{
    auto *Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(100);
    Panel1->setAutoFillBackground(true);
    QPalette pal = Panel1->palette();
    pal.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(pal);

    auto *logo = new QLabel(Panel1);
    logo->setObjectName(QStringLiteral("Image1"));
    logo->setFixedSize(251, 100);
    logo->setPixmap(QPixmap(QStringLiteral(":/app/logo.png")));

    auto *bilgi = new QWidget(Panel1);
    auto *grid = new QGridLayout(bilgi);
    grid->setContentsMargins(8, 10, 8, 10);
    grid->setVerticalSpacing(4);
    const Qt::Alignment sag = Qt::AlignRight | Qt::AlignVCenter;
    grid->addWidget(etiket(QStringLiteral("Kullanıcı: "), bilgi, sag), 0, 0);
    grid->addWidget(etiket(QStringLiteral("Firma: "), bilgi, sag), 1, 0);
    grid->addWidget(etiket(QStringLiteral("Temsilci: "), bilgi, sag), 2, 0);
    lblkullanici = etiket(QString(), bilgi);
    lblkullanici->setObjectName(QStringLiteral("lblkullanici"));
    lblfirma = etiket(QString(), bilgi);
    lblfirma->setObjectName(QStringLiteral("lblfirma"));
    lbltemsilci = etiket(QString(), bilgi);
    lbltemsilci->setObjectName(QStringLiteral("lbltemsilci"));
    // Long header lines are cut rather than widening the window past the screen.
    for (QLabel *l : {lblkullanici, lblfirma, lbltemsilci})
        l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    grid->addWidget(lblkullanici, 0, 1);
    grid->addWidget(lblfirma, 1, 1);
    grid->addWidget(lbltemsilci, 2, 1);
    // Captions in about the first fifth of the grid's width.
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 4);

    GifResim1 = new QWidget(Panel1);
    GifResim1->setObjectName(QStringLiteral("GifResim1"));
    GifResim1->setFixedSize(409, 100);
    auto *bannerLay = new QVBoxLayout(GifResim1);
    bannerLay->setContentsMargins(0, 0, 0, 0);

    Genelmenu = new QMenu(this);
    Genelmenu->setObjectName(QStringLiteral("Genelmenu"));
    M1 = Genelmenu->addAction(QStringLiteral("Mail Gönder"), this, &TForm1::M1Click);
    Genelmenu->addSeparator();
    N4 = Genelmenu->addAction(QStringLiteral("Şifre Değiştirme İsteği"), this, &TForm1::N4Click);
    Genelmenu->addSeparator();
    WebSitesi1 = Genelmenu->addAction(QString(), this, &TForm1::WebSitesi1Click);
    Genelmenu->addSeparator();
    G1 = Genelmenu->addAction(QStringLiteral("Çıkış"), this, &TForm1::G1Click);
    Genelmenu->addSeparator();
    Raporlar1 = Genelmenu->addAction(QStringLiteral("Raporlar"));
    Raporlar1->setVisible(false);
    M1->setObjectName(QStringLiteral("M1"));
    N4->setObjectName(QStringLiteral("N4"));
    WebSitesi1->setObjectName(QStringLiteral("WebSitesi1"));
    G1->setObjectName(QStringLiteral("G1"));
    Raporlar1->setObjectName(QStringLiteral("Raporlar1"));

    SplitButton1 = new QToolButton(Panel1);
    SplitButton1->setObjectName(QStringLiteral("SplitButton1"));
    SplitButton1->setIcon(QIcon(QStringLiteral(":/app/menu.png")));
    SplitButton1->setIconSize(QSize(48, 48));
    SplitButton1->setMenu(Genelmenu);
    SplitButton1->setPopupMode(QToolButton::MenuButtonPopup);
    SplitButton1->setAutoRaise(true);
    connect(SplitButton1, &QToolButton::clicked, SplitButton1, &QToolButton::showMenu);

    auto *lay = new QHBoxLayout(Panel1);
    lay->setContentsMargins(0, 0, 6, 0);
    lay->addWidget(logo);
    lay->addWidget(bilgi, 1);
    lay->addWidget(GifResim1);
    lay->addWidget(SplitButton1);
    return Panel1;
}

QWidget *TForm1::aramaCubugu()
{
    auto *Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedHeight(35);

    auto *simge = new QLabel(Panel2);
    simge->setPixmap(QPixmap(QStringLiteral(":/app/ara.png")));

    araedit = new AramaKutusu(Panel2);
    araedit->setObjectName(QStringLiteral("araedit"));
    araedit->setFixedWidth(340);

    btnara = new QPushButton(QIcon(QStringLiteral(":/app/ara.png")), QString(), Panel2);
    btnara->setObjectName(QStringLiteral("btnara"));
    btnara->setToolTip(QStringLiteral("Ara"));
    btntemizle = new QPushButton(QIcon(QStringLiteral(":/app/temizle.png")), QString(), Panel2);
    btntemizle->setObjectName(QStringLiteral("btntemizle"));
    btntemizle->setToolTip(QStringLiteral("Temizle"));
    for (QPushButton *b : {btnara, btntemizle}) {
        b->setFlat(true);
        b->setFixedSize(30, 30);
        b->setIconSize(QSize(24, 24));
    }

    BaskaCariSec = new QPushButton(QIcon(QStringLiteral(":/app/cari.png")), QStringLiteral("Başka Cari Seç"), Panel2);
    BaskaCariSec->setObjectName(QStringLiteral("BaskaCariSec"));
    BaskaCariSec->setVisible(false);

    auto *lay = new QHBoxLayout(Panel2);
    lay->setContentsMargins(6, 2, 6, 2);
    lay->addWidget(simge);
    lay->addWidget(araedit);
    lay->addWidget(btnara);
    lay->addWidget(btntemizle);
    lay->addWidget(BaskaCariSec);
    for (int i = 0; i < YuklemeSayisi; ++i) {
        auto *m = new MesgulResmi(Panel2);
        m->setObjectName(QLatin1String(kMesgulAdlari[i]));
        m->setVisible(false);
        m_mesgul[size_t(i)] = m;
        lay->addWidget(m);
    }
    lay->addStretch();
    return Panel2;
}

QWidget *TForm1::durumAciklamasi()
{
    auto *Panel4 = new QWidget(this);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setFixedHeight(27);
    auto *lay = new QHBoxLayout(Panel4);
    lay->setContentsMargins(6, 0, 6, 0);
    lay->setSpacing(2);
    lay->addWidget(etiket(QStringLiteral("Durum Açıklaması:    "), Panel4));
    const struct
    {
        const char *resim;
        const char *yazi;
    } kalemler[] = {
        {"durum_mevcut", " Stok mevcut  "},     {"durum_kritik", " Kritik Seviye "},
        {"durum_telefon", " Telefon Açınız  "}, {"durum_yolda", " Yolda  "},
        {"durum_tedarik", " Tedarik Sürecinde "}, {"durum_ozel", " Özel Sipariş  "},
        {"durum_yok", " Yok  "},
    };
    for (const auto &k : kalemler) {
        auto *r = new QLabel(Panel4);
        r->setPixmap(QPixmap(QStringLiteral(":/app/%1.png").arg(QLatin1String(k.resim))));
        lay->addWidget(r);
        lay->addWidget(etiket(QString::fromUtf8(k.yazi), Panel4));
    }
    lay->addStretch();
    return Panel4;
}

QWidget *TForm1::sekmeSayfasi(Sekme s) const { return m_sayfalar[size_t(s)]; }

void TForm1::sekmeBasligiYaz(Sekme s, const QString &caption) { PageControl1->setTabText(int(s), caption); }

QString TForm1::sekmeBasligi(Sekme s) const { return PageControl1->tabText(int(s)); }

bool TForm1::sekmeGorunur(Sekme s) const { return PageControl1->isTabVisible(int(s)); }

void TForm1::duzenKancasiEkle(DuzenKancasi kanca) { m_duzenKancalari.push_back(std::move(kanca)); }

void TForm1::baslangicAdimiEkle(BaslangicAdimi adim) { m_baslangicAdimlari.push_back(std::move(adim)); }

void TForm1::baslangicSonuEkle(std::function<void()> devam) { m_baslangicSonu.push_back(std::move(devam)); }

bool TForm1::FormCreate()
{
    _acilisadet = 0;
    _acilisgoruldu = false;
    QApplication::setApplicationName(QStringLiteral("Kestro Yedek Parça B2B"));
    setWindowTitle(QStringLiteral("Kestro Yedek Parça B2B Programı"));
    QApplication::setFont(TahomaYazi(15, false), "QMessageBox");

    sbilgi.setBilgiSayarAdi(BilgisayarAdiAl());
    sbilgi.setBilgisayarKullanici(KullaniciAdiAl());
    sbilgi.setIcip(IcIpAl());
    sbilgi.setBILGISAYARID(BilgisayarIdAl());

    bagc.HostName = SunucuAdi;
    bagc.Port = DeploymentSettings::current().serverPort;
    WebSitesi1->setText(DeploymentSettings::current().webAddress);

    if (!OturumAc())
        return false;
    BaslangicGoreviniBaslat();
    return true;
}

bool TForm1::OturumAc()
{
    {
        Tgirisform giris;
        giris.bagim = &bagc;
        giris.Bilgim = &sbilgi;
        if (ModalCalistir(giris) != QDialog::Accepted) {
            SurecSonlandir();
            return false;
        }
    }
    if (sbilgi.Disip().trimmed().isEmpty()) {
        SurecSonlandir();
        return false;
    }
    KullaniciTipineGoreDuzenle();
    return true;
}

void TForm1::KullaniciTipineGoreDuzenle()
{
    const int tip = sbilgi.MusteriTipi();
    const bool temsilci = tip == SatisTemsilcisi || tip == FiyatYetkiliTemsilci;
    BaskaCariSec->setVisible(temsilci);
    Raporlar1->setVisible(temsilci);
    PageControl1->setTabVisible(int(Sekme::KampanyaliStoklar), tip != KampanyasizMusteri);
    for (const DuzenKancasi &kanca : m_duzenKancalari)
        kanca(tip);
}

void TForm1::AnaBilgiAl()
{
    auto yaz = [this] {
        lblkullanici->setText(sbilgi.ADI());
        lblfirma->setText(sbilgi.CariAdi());
        lbltemsilci->setText(sbilgi.SaticiAdi() + QStringLiteral(" Telefonu: ") + sbilgi.SaticiTelefon()
                             + QStringLiteral(" email: ") + sbilgi.SaticiMail());
    };
    if (QThread::currentThread() == thread())
        yaz();
    else
        QMetaObject::invokeMethod(this, yaz, Qt::BlockingQueuedConnection);
}

void TForm1::BaslangicGoreviniBaslat()
{
    // One worker, the steps in order; a failing step does not stop the others.
    const std::vector<BaslangicAdimi> adimlar = m_baslangicAdimlari;
    QPointer<TForm1> self(this);
    ArkaPlanda([adimlar] {
        for (const BaslangicAdimi &adim : adimlar) {
            try {
                adim();
            } catch (...) {
            }
        }
    })->Await([self] {
        if (!self)
            return;
        for (const auto &devam : self->m_baslangicSonu)
            devam();
        emit self->baslangicBitti();
    });
}

void TForm1::closeEvent(QCloseEvent *e)
{
    e->ignore();
    if (SoruSor(QStringLiteral("Programdan Çıkmak İstiyor musunuz ?"), MsgBtn::Yes))
        SurecSonlandir();
}

void TForm1::showEvent(QShowEvent *e)
{
    QMainWindow::showEvent(e);
    if (m_ilkGosterim) {
        m_ilkGosterim = false;
        PageControl1->setCurrentIndex(int(Sekme::StokListesi));
        araedit->setFocus();
    }
}

void TForm1::G1Click() { close(); }

void TForm1::M1Click()
{
    Tmailform f(this, bagc);
    ModalCalistir(f);
}

void TForm1::N4Click()
{
    std::unique_ptr<Tkullanicikayit> d = Tkullanicikayit::Ac(this, bagc, sbilgi);
    ModalCalistir(*d);
}

void TForm1::WebSitesi1Click()
{
    QDesktopServices::openUrl(QUrl(WebSitesi1->text()));
    araedit->selectAll();
    araedit->setFocus();
}

} // namespace kestro
