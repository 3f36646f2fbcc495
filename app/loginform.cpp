#include "loginform.h"

#include "background.h"
#include "connection.h"
#include "connectioncheck.h"
#include "deploymentsettings.h"
#include "dosyaindir.h"
#include "formistekyeni.h"
#include "gorunum.h"
#include "helpers.h"
#include "identity.h"
#include "messages.h"
#include "proxy.h"
#include "servercall.h"
#include "sonucbilgisi.h"
#include "surec.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGraphicsDropShadowEffect>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSettings>

namespace kestro {

namespace {

const QString kBolum = QStringLiteral("kullanici");
const QString kIsim = QStringLiteral("isim");
const QString kSifre = QStringLiteral("sifre");
// Written by QSettings as "hat%U0131rla"; a file holding the raw UTF-8 key reads back the same.
const QString kHatirla = QStringLiteral("hatırla");

const QString kHataliGiris = QStringLiteral("Kullanıcı Adı ve Şifre Hatalı Lütfen Tekrar Deneyiniz !");

Tgirisform::CariSecimi &cariSecimi()
{
    static Tgirisform::CariSecimi s;
    return s;
}

QLabel *kirmiziEtiket(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setAutoFillBackground(true);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, QColor(226, 10, 23));
    p.setColor(QPalette::WindowText, Qt::white);
    l->setPalette(p);
    l->setFont(TahomaYazi(13, true));
    return l;
}

} // namespace

void Tgirisform::setCariSecimi(CariSecimi secim) { cariSecimi() = std::move(secim); }

Tgirisform::Tgirisform(QWidget *owner) : QDialog(owner)
{
    UygulamaResimleriniYukle();
    setObjectName(QStringLiteral("girisform"));
    setWindowTitle(QStringLiteral("Giriş"));
    // A top-level window of its own (own taskbar entry), with a tool window's plain border.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(368, 550);
    setFont(TahomaYazi(13, true));
    m_arkaPlan = QPixmap(QStringLiteral(":/app/giris.png"));

    Label1 = kirmiziEtiket(QStringLiteral(" Kullanıcı Adı:"), this);
    Label1->setGeometry(40, 244, 288, 24);
    adi = new QLineEdit(this);
    adi->setObjectName(QStringLiteral("adi"));
    adi->setGeometry(40, 270, 288, 30);
    Label2 = kirmiziEtiket(QStringLiteral(" Şifre:"), this);
    Label2->setGeometry(40, 310, 288, 24);
    sifre = new QLineEdit(this);
    sifre->setObjectName(QStringLiteral("sifre"));
    sifre->setGeometry(40, 336, 288, 30);
    sifre->setEchoMode(QLineEdit::Password);
    for (QLineEdit *e : {adi, sifre}) {
        BuyukHarfZorla(e);
        e->installEventFilter(this);
    }

    CheckBox1 = new QCheckBox(QStringLiteral("Beni hatırla"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(40, 374, 200, 22);
    CheckBox1->setChecked(true);
    QPalette cp = CheckBox1->palette();
    cp.setColor(QPalette::WindowText, Qt::white);
    CheckBox1->setPalette(cp);

    Button1 = new QPushButton(QStringLiteral("Giriş"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(40, 404, 120, 34);
    Image2 = new MesgulResmi(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->move(172, 409);
    Image2->hide();
    Button2 = new QPushButton(QStringLiteral("Vazgeç"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(208, 404, 120, 34);
    for (QPushButton *b : {Button1, Button2})
        b->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &Tgirisform::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Tgirisform::Button2Click);

    iletisim = new QLabel(this);
    iletisim->setObjectName(QStringLiteral("iletisim"));
    iletisim->setGeometry(8, 452, 352, 92);
    iletisim->setAlignment(Qt::AlignCenter);
    iletisim->setWordWrap(true);
    QFont arial;
    arial.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    arial.setPixelSize(15);
    arial.setBold(true);
    iletisim->setFont(arial);
    iletisim->setText(QStringLiteral("Kestro Otomotiv Yedek Parça\nSanayi Mah. Parça Cad. No: 1 İstanbul\n"
                                     "Tel: 0212 000 00 00\nb2b@kestro.example"));
    auto *golge = new QGraphicsDropShadowEffect(iletisim);
    golge->setColor(Qt::white);
    golge->setOffset(1, 1);
    golge->setBlurRadius(2);
    iletisim->setGraphicsEffect(golge);

    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());

    // FormCreate
    SunucuAdresleriniAyarla();
    idsi = BilgisayarIdAl();
    AyarOku();
    adi->setFocus();
}

Tgirisform::~Tgirisform() = default;

void Tgirisform::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawPixmap(rect(), m_arkaPlan);
}

QString Tgirisform::AyarDosyasi() { return QDir(VeriKlasoruAl()).filePath(QStringLiteral("ayar.ini")); }

void Tgirisform::AyarOku()
{
    if (!QFile::exists(AyarDosyasi()))
        return;
    QSettings ini(AyarDosyasi(), QSettings::IniFormat);
    ini.beginGroup(kBolum);
    CheckBox1->setChecked(ini.value(kHatirla, true).toBool());
    if (CheckBox1->isChecked()) {
        adi->setText(ini.value(kIsim).toString());
        sifre->setText(ini.value(kSifre).toString());
    }
}

void Tgirisform::AyarKaydet()
{
    const QString yol = AyarDosyasi();
    const QFile::Permissions yalnizSahibi = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    // The file holds a password: it exists with owner-only rights before anything is written,
    // and QSettings' atomic save keeps the rights of the file it replaces.
    if (!QFile::exists(yol)) {
        QFile f(yol);
        if (f.open(QIODevice::WriteOnly))
            f.close();
    }
    QFile::setPermissions(yol, yalnizSahibi);
    {
        QSettings ini(yol, QSettings::IniFormat);
        ini.beginGroup(kBolum);
        ini.setValue(kIsim, adi->text());
        // A password the user did not ask to remember is not kept on disk.
        if (CheckBox1->isChecked())
            ini.setValue(kSifre, sifre->text());
        else
            ini.remove(kSifre);
        ini.setValue(kHatirla, CheckBox1->isChecked());
        ini.endGroup();
        ini.sync();
    }
    QFile::setPermissions(yol, yalnizSahibi);
}

bool Tgirisform::eventFilter(QObject *o, QEvent *e)
{
    if (e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (o == adi) {
                adiKeyDown();
                return true;
            }
            if (o == sifre) {
                sifreKeyDown();
                return true;
            }
        }
    }
    return QDialog::eventFilter(o, e);
}

void Tgirisform::adiKeyDown()
{
    if (adi->text().trimmed().isEmpty()) {
        UyariVer(QStringLiteral("Lütfen kullanıcı adını giriniz !"));
        adi->selectAll();
        adi->setFocus();
        return;
    }
    sifre->selectAll();
    sifre->setFocus();
}

void Tgirisform::sifreKeyDown()
{
    if (sifre->text().trimmed().isEmpty()) {
        UyariVer(QStringLiteral("Lütfen kullanıcı şifresini giriniz !"));
        sifre->selectAll();
        sifre->setFocus();
        return;
    }
    Button1Click();
}

void Tgirisform::Button1Click()
{
    // Enter in the password box reaches here too; one attempt at a time.
    if (m_suruyor)
        return;
    m_suruyor = true;
    Button1->setText(QStringLiteral("Bağlanıyor..."));
    Button1->setEnabled(false);
    Image2->show();

    auto ip = std::make_shared<QString>();
    const DisIpAyarlari ayar = disIpAyarlari;
    QPointer<Tgirisform> self(this);
    ArkaPlanda([ip, ayar] { *ip = DisIpAl(ayar); })->Await([self, ip] {
        if (!self)
            return;
        self->Button1->setText(QStringLiteral("Giriş!"));
        self->Image2->hide();
        self->Devamet(*ip);
    });
}

void Tgirisform::Devamet(const QString &disIp)
{
    if (disIp.trimmed().isEmpty()) {
        HataVer(QStringLiteral("Bağlantı Kurulamıyor Lütfen Tekrar Deneyiniz !"));
        bosta(false);
        return;
    }
    Bilgim->setDisip(disIp);
    bagim->HostName = SunucuAdi;
    bagim->Port = DeploymentSettings::current().serverPort;

    Image2->show();
    std::shared_ptr<ServerConnection> clone = bagim->clone();
    auto basarili = std::make_shared<bool>(false);
    QPointer<Tgirisform> self(this);
    TSonucBilgisi *bilgi = Bilgim;
    const QString id = idsi;
    ArkaPlanda([clone, basarili, bilgi, id, disIp] {
        // Nothing else touches the session record until sign-in has ended.
        *basarili = GirisBilgisiAl(*clone, id, *bilgi, disIp);
    })->Await([self, basarili, disIp] {
        if (self)
            self->girisSonucu(*basarili, disIp);
    });
}

bool Tgirisform::GirisBilgisiAl(ServerConnection &clone, const QString &idsi, TSonucBilgisi &bilgi,
                                const QString &disIp)
{
    bool found = false;
    try {
        SunucuCagir(clone, 0, [&](TServerMethods1Client &proxy) {
            if (const TSonucBilgisi *kayit = proxy.BuyukGetir(idsi)) {
                bilgi.Kopyala(*kayit);
                found = true;
            }
        });
    } catch (...) {
        found = false;
    }
    if (!found)
        return false;
    bilgi.setBilgiSayarAdi(BilgisayarAdiAl());
    bilgi.setBilgisayarKullanici(KullaniciAdiAl());
    bilgi.setIcip(IcIpAl());
    bilgi.setBILGISAYARID(idsi);
    // The address fetched a moment ago; a second fetch would only add a failure point.
    bilgi.setDisip(disIp);
    return true;
}

void Tgirisform::bosta(bool adiSec)
{
    Image2->hide();
    Button1->setEnabled(true);
    m_suruyor = false;
    if (adiSec) {
        adi->selectAll();
        adi->setFocus();
    }
    emit girisBasarisiz();
}

void Tgirisform::girisSonucu(bool basarili, const QString &)
{
    Image2->hide();
    if (!basarili) {
        HataVer(QStringLiteral("Bağlantı Kurulamadı !"));
        bosta(true);
        return;
    }
    if (Bilgim->Version() != DeploymentSettings::current().clientVersion)
        YeniSurumIndir();
    if (!Bilgim->Varmi()) {
        IstekFormuAc();
        return;
    }
    if (adi->text() == Bilgim->ADI() && sifre->text() == Bilgim->SIFRE()) {
        AyarKaydet();
        if (Bilgim->AKTIF() == 1) {
            const int tip = Bilgim->MusteriTipi();
            if ((tip == SatisTemsilcisi || tip == FiyatYetkiliTemsilci) && !CariSecimiAc())
                return;
            m_suruyor = false;
            accept();
            return;
        }
    }
    UyariVer(kHataliGiris);
    bosta(true);
}

void Tgirisform::YeniSurumIndir()
{
    Tdosyaindir d(this, Bilgim->Version());
    d.bag = bagim;
    ModalCalistir(d);
}

void Tgirisform::IstekFormuAc()
{
    Tformistekyeni f(this);
    f.setWindowTitle(QStringLiteral("Kestro Yedek Parça B2B İstek Formu"));
    f.Navigate(QUrl(WebAdresi + QStringLiteral("formmailgonder.aspx?carino=0&kullanici= &id=") + idsi));
    ModalCalistir(f);
    SurecSonlandir();
    reject(); // only reached when the end is intercepted
}

bool Tgirisform::CariSecimiAc()
{
    if (!cariSecimi())
        return true;
    if (cariSecimi()(this, *bagim, *Bilgim))
        return true;
    SurecSonlandir();
    reject(); // only reached when the end is intercepted
    return false;
}

void Tgirisform::Button2Click()
{
    SurecSonlandir();
    reject(); // only reached when the end is intercepted
}

} // namespace kestro
