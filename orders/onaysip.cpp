#include "onaysip.h"

#include "messages.h"
#include "servercall.h"
#include "sonucbilgisi.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kestro {

TONAYSIP *TONAYSIP::Ac(QWidget *AOwner, ServerConnection &_c, const QString &mesaj, TSonucBilgisi &_sbilgi,
                       const QString &_toplam)
{
    auto *d = new TONAYSIP(AOwner, _c, _sbilgi);
    d->toplam = _toplam;
    d->Label3->setText(mesaj);
    d->Label2->setText(QStringLiteral("Kullanıcı: ") + _sbilgi.ADI() + QStringLiteral("\r\n")
                       + QStringLiteral("Cari     : ") + _sbilgi.CariAdi() + QStringLiteral("\r\n")
                       + QStringLiteral("Tutar    : ") + _toplam);
    d->TeslimKargoYukle();
    return d;
}

TONAYSIP::TONAYSIP(QWidget *owner, ServerConnection &c, TSonucBilgisi &s) : QDialog(owner), bagc(c), sbilgi(s)
{
    setObjectName(QStringLiteral("ONAYSIP"));
    setWindowTitle(QStringLiteral("Sipariş Onay"));
    setWindowFlag(Qt::Tool);
    resize(900, 560);

    auto *root = new QHBoxLayout(this);
    auto *left = new QVBoxLayout;
    teslimboxGroup = new QGroupBox(QStringLiteral("Teslim Durumu"), this);
    teslimLayout = new QVBoxLayout(teslimboxGroup);
    teslimbox = new QButtonGroup(this);
    boxkargoGroup = new QGroupBox(QStringLiteral("Kargo Türleri"), this);
    kargoLayout = new QVBoxLayout(boxkargoGroup);
    boxkargo = new QButtonGroup(this);
    auto *kargoGroup = new QGroupBox(QStringLiteral("Kargo"), this);
    auto *kargoBox = new QVBoxLayout(kargoGroup);
    kargocombo = new QComboBox(kargoGroup);
    kargocombo->setObjectName(QStringLiteral("kargocombo"));
    kargocombo->setEditable(false);
    uyarikargo = new QLabel(kargoGroup);
    uyarikargo->setObjectName(QStringLiteral("uyarikargo"));
    uyarikargo->setWordWrap(true);
    uyarikargo->setStyleSheet(QStringLiteral("color: #c00000;"));
    kargoBox->addWidget(kargocombo);
    kargoBox->addWidget(uyarikargo);
    auto *mesajGroup = new QGroupBox(QStringLiteral("Mesaj"), this);
    auto *mesajBox = new QVBoxLayout(mesajGroup);
    aciklamagir = new QPlainTextEdit(mesajGroup);
    aciklamagir->setObjectName(QStringLiteral("aciklamagir"));
    mesajBox->addWidget(aciklamagir);
    left->addWidget(teslimboxGroup);
    left->addWidget(boxkargoGroup);
    left->addWidget(kargoGroup);
    left->addWidget(mesajGroup, 1);

    auto *right = new QVBoxLayout;
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont summary = Label2->font();
    summary.setFamily(QStringLiteral("DejaVu Sans Mono"));
    summary.setPointSizeF(summary.pointSizeF() * 1.3);
    Label2->setFont(summary);
    // Left-aligned, so the padded captions line up their colons.
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Label2->setContentsMargins(40, 0, 0, 0);
    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setWordWrap(true);
    Label3->setStyleSheet(QStringLiteral("color: #c00000;"));
    Label1 = new QLabel(QStringLiteral("Yukarıda bilgileri verilen siparişi onaylıyor musunuz ?"), this);
    Label1->setAlignment(Qt::AlignCenter);
    auto *buttons = new QHBoxLayout;
    Button1 = new QPushButton(QStringLiteral("Evet"), this);
    Button2 = new QPushButton(QStringLiteral("Hayır"), this);
    Button1->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addStretch();
    right->addWidget(Label2, 1);
    right->addWidget(Label3);
    right->addWidget(Label1);
    right->addLayout(buttons);
    root->addLayout(left, 2);
    root->addLayout(right, 3);

    connect(boxkargo, &QButtonGroup::idClicked, this, [this] { boxkargoClick(); });
    connect(kargocombo, &QComboBox::currentIndexChanged, this, [this] { kargocomboChange(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
}

void TONAYSIP::fillRadioGroup(QButtonGroup *group, QVBoxLayout *layout, const DataSet &rows)
{
    for (QAbstractButton *b : group->buttons()) {
        group->removeButton(b);
        delete b;
    }
    if (rows.fieldCount() < 2)
        return;
    for (int r = 0; r < rows.rowCount(); ++r) {
        auto *b = new QRadioButton(rows.asString(r, 1), layout->parentWidget());
        group->addButton(b, int(rows.asInt(r, 0)));
        layout->addWidget(b);
    }
}

void TONAYSIP::TeslimKargoYukle()
{
    // Both lists on one clone of the connection; either list failing leaves the other.
    GuvenliCalistir([&] {
        KlonlaCagir(bagc, 1, [&](TServerMethods1Client &proxy) {
            GuvenliCalistir([&] { fillRadioGroup(teslimbox, teslimLayout, proxy.TeslimVer()); });
            // The second kind is the usual one; with a single kind that one.
            const QList<QAbstractButton *> teslim = teslimbox->buttons();
            if (teslim.size() > 1)
                teslim.at(1)->setChecked(true);
            else if (teslim.size() == 1)
                teslim.at(0)->setChecked(true);
            GuvenliCalistir([&] { fillRadioGroup(boxkargo, kargoLayout, proxy.KargoVer()); });
        });
    });
}

void TONAYSIP::boxkargoClick()
{
    uyarikargo->clear();
    if (boxkargo->checkedButton())
        KargolariYukle(boxkargo->checkedId());
}

void TONAYSIP::KargolariYukle(int kargoTuru)
{
    bool opened = false;
    const bool loaded = GuvenliCalistir([&] {
        opened = SunucuCagir(bagc, 1, [&](TServerMethods1Client &proxy) { kargo = proxy.KargolarVer(kargoTuru); });
    });
    if (!opened)
        return;
    if (!loaded)
        kargo.clear();
    const QSignalBlocker block(kargocombo);
    kargocombo->clear();
    kargocombo->addItem(QStringLiteral(" "));
    const int adi = kargo.fieldIndex(QStringLiteral("ADI"));
    for (int r = 0; adi >= 0 && r < kargo.rowCount(); ++r)
        kargocombo->addItem(kargo.asString(r, adi));
    kargocombo->setCurrentIndex(-1);
    if (kargocombo->count() == 2) {
        kargocombo->setCurrentIndex(1);
        kargocomboChange();
    }
}

void TONAYSIP::kargocomboChange()
{
    uyarikargo->clear();
    if (kargo.locate(QStringLiteral("ADI"), kargocombo->currentText()))
        uyarikargo->setText(kargo.fieldString(QStringLiteral("UYARI")));
}

void TONAYSIP::Button1Click()
{
    if (!teslimbox->checkedButton()) {
        UyariVer(QStringLiteral("Lütfen Teslim Durumu Seçiniz !"));
        return;
    }
    if (!boxkargo->checkedButton()) {
        UyariVer(QStringLiteral("Lütfen Kargo Türünü Seçiniz !"));
        return;
    }
    if (kargocombo->currentIndex() <= 0) {
        UyariVer(QStringLiteral("Lütfen Kargo  Seçiniz !"));
        kargocombo->setFocus();
        return;
    }
    if (kargo.locate(QStringLiteral("ADI"), kargocombo->currentText()))
        KN = int(kargo.fieldInt(QStringLiteral("SIRANO")));
    td = teslimbox->checkedId();
    kt = boxkargo->checkedId();
    done(QDialog::Accepted);
}

} // namespace kestro
