#include "kullanicikayit.h"

#include "connection.h"
#include "connectioncheck.h"
#include "errors.h"
#include "gorunum.h"
#include "identity.h"
#include "messages.h"
#include "proxy.h"
#include "servercall.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestro {

Tkullanicikayit::Tkullanicikayit(QWidget *AOwner, const ServerConnection &_c, const TSonucBilgisi &_b)
    : QDialog(AOwner), con(_c.clone())
{
    setObjectName(QStringLiteral("kullanicikayit"));
    setFont(TahomaYazi(13, true));
    resize(705, 514);

    auto kutu = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        return e;
    };
    firmaadi = kutu("firmaadi");
    adres1 = kutu("adres1");
    adres2 = kutu("adres2");
    ilce = kutu("ilce");
    sehir = kutu("sehir");
    telefon = kutu("telefon");
    fax = kutu("fax");
    vd = kutu("vd");
    vn = kutu("vn");
    yetkili = kutu("yetkili");
    kullaniciadi = kutu("kullaniciadi");
    sifre = kutu("sifre");
    mail = kutu("mail");
    kargoambar = kutu("kargoambar");

    lblbilgisayar = new QLabel(this);
    lblbilgisayar->setObjectName(QStringLiteral("lblbilgisayar"));

    auto *grid = new QGridLayout;
    int row = 0;
    auto baslik = [&](const QString &text) {
        auto *l = new QLabel(text, this);
        l->setFont(TahomaYazi(15, true));
        grid->addWidget(l, row++, 0, 1, 3);
    };
    auto satir = [&](const QString &label, QLineEdit *a, QLineEdit *b = nullptr) {
        auto *l = new QLabel(label, this);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(l, row, 0);
        if (b) {
            grid->addWidget(a, row, 1);
            grid->addWidget(b, row, 2);
        } else {
            grid->addWidget(a, row, 1, 1, 2);
        }
        ++row;
    };
    baslik(QStringLiteral("Firma Bilgileri"));
    satir(QStringLiteral("Firma Adı:"), firmaadi);
    satir(QStringLiteral("Adres:"), adres1);
    satir(QStringLiteral("Adres2:"), adres2);
    satir(QStringLiteral("İlçe/Şehir:"), ilce, sehir);
    satir(QStringLiteral("Telefon/Fax:"), telefon, fax);
    satir(QStringLiteral("Vergi Dairesi / No:"), vd, vn);
    satir(QStringLiteral("Yetkili:"), yetkili);
    baslik(QStringLiteral("Kullanıcı Bilgileri"));
    satir(QStringLiteral("Kullanıcı Adı:"), kullaniciadi);
    satir(QStringLiteral("Şifre:"), sifre);
    satir(QStringLiteral("Mail:"), mail);
    satir(QStringLiteral("Kargo Ambar:"), kargoambar);

    Button1 = new QPushButton(QStringLiteral("Kapat"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Gönder"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    for (QPushButton *b : {Button1, Button2})
        b->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &Tkullanicikayit::Button1Click);
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });

    auto *bar = new QHBoxLayout;
    bar->addStretch();
    bar->addWidget(Button1);
    bar->addWidget(Button2);
    auto *lay = new QVBoxLayout(this);
    lay->addWidget(lblbilgisayar);
    lay->addLayout(grid);
    lay->addStretch();
    lay->addLayout(bar);

    Bilgim.Kopyala(_b);
    _idsi = BilgisayarIdAl();
    lblbilgisayar->setText(QStringLiteral("Bilgisayar ID: ") + _idsi);

    if (AOwner) {
        const QRect r = AOwner->window()->frameGeometry();
        move(r.center() - rect().center());
    }
}

Tkullanicikayit::~Tkullanicikayit() = default;

std::unique_ptr<Tkullanicikayit> Tkullanicikayit::Ac(QWidget *AOwner, const ServerConnection &_c, const TSonucBilgisi &_b)
{
    std::unique_ptr<Tkullanicikayit> d(new Tkullanicikayit(AOwner, _c, _b));
    d->kullaniciadi->setText(d->Bilgim.ADI());
    d->firmaadi->setText(d->Bilgim.CariAdi());
    d->kartiDoldur();
    d->setWindowTitle(QStringLiteral("Şifre Değiştirme İsteği"));
    d->durum = teski;
    return d;
}

std::unique_ptr<Tkullanicikayit> Tkullanicikayit::Yeni(QWidget *AOwner, const ServerConnection &_c, const TSonucBilgisi &_b)
{
    std::unique_ptr<Tkullanicikayit> d(new Tkullanicikayit(AOwner, _c, _b));
    d->setWindowTitle(QStringLiteral("B2B İstek Formu"));
    d->durum = tyeni;
    return d;
}

void Tkullanicikayit::kartiDoldur()
{
    try {
        SunucuCagir(*con, 1, [&](TServerMethods1Client &proxy) {
            // No card for this computer: the address boxes stay empty.
            if (const TMobilCariBilgisi *kart = proxy.MobilCariBilgisiGetir(0, _idsi)) {
                adres1->setText(kart->ADRES1());
                adres2->setText(kart->ADRES2());
                ilce->setText(kart->ILCE());
                sehir->setText(kart->SEHIR());
                telefon->setText(kart->TEL1());
                fax->setText(kart->FAX1());
                vd->setText(kart->VERGIDAIRESI());
                vn->setText(kart->VERGINO());
            }
        });
    } catch (const Error &e) {
        HataVer(e.text());
    }
}

void Tkullanicikayit::Button1Click() { reject(); }

bool Tkullanicikayit::Button2Click()
{
    const struct
    {
        QLineEdit *kutu;
        const char *mesaj;
    } zorunlu[] = {
        {firmaadi, "Firma Adı boş olamaz !"},   {adres1, "Adres boş olamaz !"},
        {ilce, "İlçe Adı boş olamaz !"},        {sehir, "Şehir Adı boş olamaz !"},
        {telefon, "Telefon  boş olamaz !"},     {yetkili, "Yetkili  boş olamaz !"},
        {kullaniciadi, "Kullanıcı  boş olamaz !"}, {sifre, "Şifre  boş olamaz !"},
        {mail, "Mail  boş olamaz !"},
    };
    for (const auto &z : zorunlu)
        if (z.kutu->text().trimmed().isEmpty()) {
            z.kutu->selectAll();
            z.kutu->setFocus();
            UyariVer(QString::fromUtf8(z.mesaj));
            return false;
        }

    try {
        const bool opened = SunucuCagir(*con, 1, [&](TServerMethods1Client &proxy) {
            proxy.MailGonserCari(BilgisayarIdAl(),
                durum == teski ? QStringLiteral("Şifre Değiştirme İsteği") : QStringLiteral("B2B Yeni Kullanıcı İstek"),
                firmaadi->text(), adres1->text(), adres2->text(), ilce->text(), sehir->text(), telefon->text(),
                fax->text(), vd->text(), vn->text(), yetkili->text(), kullaniciadi->text(), sifre->text(), mail->text(),
                kargoambar->text());
        });
        if (!opened)
            return false;
    } catch (const Error &e) {
        // A failed call is reported as such, never as a sent request.
        HataVer(e.text());
        return false;
    }
    BilgiVer(QStringLiteral("İsteğiniz Gönderildi!"));
    return true;
}

} // namespace kestro
