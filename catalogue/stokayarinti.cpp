#include "stokayarinti.h"

#include "resim.h"
#include "helpers.h"
#include "moneyedit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace kestro {

namespace {

QLabel *captionLabel(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

ParaEdit *moneyEdit(QWidget *parent)
{
    auto *e = new ParaEdit(parent);
    e->setReadOnly(true);
    e->setMinimumWidth(140);
    return e;
}

} // namespace

Tstokayarinti *Tstokayarinti::Ac(QWidget *AOwner, int _stokno) { return new Tstokayarinti(AOwner, _stokno); }

Tstokayarinti::Tstokayarinti(QWidget *owner, int stokno) : QDialog(owner), m_stokno(stokno)
{
    setObjectName(QStringLiteral("stokayarinti"));
    setWindowTitle(QStringLiteral("Sepete Ekle"));
    resize(820, 640);

    auto *root = new QVBoxLayout(this);

    // Header strip: what the product is.
    auto *header = new QGridLayout;
    barkod = new QLabel(this);
    adi = new QLabel(this);
    finishkod = new QLabel(this);
    marka = new QLabel(this);
    model = new QLabel(this);
    const QList<QPair<QString, QLabel *>> heads = {{QStringLiteral("Barkod:"), barkod},
                                                   {QStringLiteral("Açıklama:"), adi},
                                                   {QStringLiteral("Finish Kod:"), finishkod},
                                                   {QStringLiteral("Marka:"), marka},
                                                   {QStringLiteral("Model:"), model}};
    for (int i = 0; i < heads.size(); ++i) {
        header->addWidget(captionLabel(heads[i].first, this), i, 0);
        heads[i].second->setObjectName(heads[i].first.chopped(1));
        heads[i].second->setTextInteractionFlags(Qt::TextSelectableByMouse);
        header->addWidget(heads[i].second, i, 1);
    }
    header->setColumnStretch(1, 1);
    root->addLayout(header);

    AsyncResim1 = new TAsyncResim(this);
    AsyncResim1->setMinimumSize(320, 240);
    AsyncResim1->setProportional(true);
    AsyncResim1->setCenter(true);
    root->addWidget(AsyncResim1, 1);

    // Quantity and amounts.
    auto *amounts = new QGridLayout;
    adet = new QSpinBox(this);
    adet->setObjectName(QStringLiteral("adet"));
    adet->setRange(1, 10000);
    adet->setValue(1);
    adet->setSingleStep(1);
    adet->setMinimumWidth(120);
    adet->setAlignment(Qt::AlignRight);
    birimfiyat = moneyEdit(this);
    birimfiyat->setObjectName(QStringLiteral("birimfiyat"));
    indtutar = moneyEdit(this);
    indtutar->setObjectName(QStringLiteral("indtutar"));
    kdvdahiltutar = moneyEdit(this);
    kdvdahiltutar->setObjectName(QStringLiteral("kdvdahiltutar"));
    geneltutar = moneyEdit(this);
    geneltutar->setObjectName(QStringLiteral("geneltutar"));
    Label2 = captionLabel(QStringLiteral("Fiyat:"), this);
    indirimoran = captionLabel(QStringLiteral("İndirim:"), this);
    amounts->addWidget(captionLabel(QStringLiteral("Adet:"), this), 0, 0);
    amounts->addWidget(adet, 0, 1);
    amounts->addWidget(Label2, 0, 2);
    amounts->addWidget(birimfiyat, 0, 3);
    amounts->addWidget(indirimoran, 1, 0);
    amounts->addWidget(indtutar, 1, 1);
    amounts->addWidget(captionLabel(QStringLiteral("KDV Dahil:"), this), 1, 2);
    amounts->addWidget(kdvdahiltutar, 1, 3);
    amounts->addWidget(captionLabel(QStringLiteral("Tutar:"), this), 2, 2);
    amounts->addWidget(geneltutar, 2, 3);
    root->addLayout(amounts);

    GridPanel2 = new QWidget(this);
    auto *discounts = new QHBoxLayout(GridPanel2);
    discounts->setContentsMargins(0, 0, 0, 0);
    edindirim1 = moneyEdit(GridPanel2);
    edindirim2 = moneyEdit(GridPanel2);
    edindirim3 = moneyEdit(GridPanel2);
    edindirim4 = moneyEdit(GridPanel2);
    const QStringList iskCaptions = {QStringLiteral("İsk"), QStringLiteral("İsk2"), QStringLiteral("İsk3"),
                                     QStringLiteral("İsk4")};
    const QList<ParaEdit *> isk = {edindirim1, edindirim2, edindirim3, edindirim4};
    for (int i = 0; i < 4; ++i) {
        isk[i]->setObjectName(QStringLiteral("edindirim%1").arg(i + 1));
        isk[i]->setMinimumWidth(80);
        discounts->addWidget(captionLabel(iskCaptions[i], GridPanel2));
        discounts->addWidget(isk[i]);
    }
    GridPanel2->setVisible(false);
    root->addWidget(GridPanel2);

    auto *buttons = new QHBoxLayout;
    ParcaliTus1 = new QPushButton(QStringLiteral("Sipariş ekle"), this);
    ParcaliTus2 = new QPushButton(QStringLiteral("Vazgeç"), this);
    ParcaliTus1->setAutoDefault(false);
    ParcaliTus2->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(ParcaliTus1);
    buttons->addWidget(ParcaliTus2);
    root->addLayout(buttons);

    connect(adet, &QSpinBox::valueChanged, this, [this] { TutarHesapla(); });
    adet->installEventFilter(this);
    birimfiyat->installEventFilter(this);
    for (ParaEdit *e : {birimfiyat, indtutar, kdvdahiltutar, geneltutar, edindirim1, edindirim2, edindirim3,
                        edindirim4})
        connect(e, &ParaEdit::keyReleased, this, [this](int key) {
            if (key == Qt::Key_F4)
                KdvCikar();
            TutarHesapla();
        });
    connect(ParcaliTus1, &QPushButton::clicked, this, [this] {
        adetExit();
        done(QDialog::Accepted);
    });
    connect(ParcaliTus2, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
    adet->setFocus();
}

void Tstokayarinti::setKoliadet(int n)
{
    // A parcel quantity below 1 would make the rounding divide by zero.
    n = std::max(1, n);
    m_koliadet = n;
    adet->setSingleStep(n);
    adet->setValue(n);
    adet->setMinimum(n);
}

void Tstokayarinti::setFiyatDegistirilebilir(bool on)
{
    for (ParaEdit *e : {birimfiyat, edindirim1, edindirim2, edindirim3, edindirim4})
        e->setReadOnly(!on);
}

void Tstokayarinti::setIndirimPaneliGorunur(bool on) { GridPanel2->setVisible(on); }

std::array<double, 4> Tstokayarinti::oranlar() const
{
    return {edindirim1->value(), edindirim2->value(), edindirim3->value(), edindirim4->value()};
}

int Tstokayarinti::miktar() const
{
    // What the box shows, also while a typed value is not yet committed.
    bool ok = false;
    const int typed = adet->cleanText().toInt(&ok);
    return ok ? typed : adet->value();
}

SatirTutari Tstokayarinti::TutarHesapla()
{
    const SatirTutari t = kestro::TutarHesapla(birimfiyat->value(), miktar(), oranlar(), kdvoran);
    indtutar->setValue(t.indirimTutari);
    kdvdahiltutar->setValue(t.kdvDahilBirim);
    geneltutar->setValue(t.genelTutar);
    return t;
}

void Tstokayarinti::adetExit()
{
    const int q = miktar();
    const int rounded = std::clamp(KoliyeYuvarla(q, m_koliadet), adet->minimum(), adet->maximum());
    if (rounded != adet->value() || q != adet->value())
        adet->setValue(rounded);
}

void Tstokayarinti::KdvCikar() { birimfiyat->setValue(birimfiyat->value() / 1.2); }

void Tstokayarinti::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (m_shown)
        return;
    m_shown = true;
    const bool indirim = IndirimVarmi(oranlar());
    indirimoran->setVisible(indirim);
    indtutar->setVisible(indirim);
    TutarHesapla();
    AsyncResim1->setUrl(ResimAdresi + QString::number(m_stokno));
    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
    adet->setFocus();
    QTimer::singleShot(0, adet, &QSpinBox::selectAll);
}

bool Tstokayarinti::eventFilter(QObject *o, QEvent *e)
{
    if (e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(e)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (o == adet && enter) {
            // Enter accepts like "Sipariş ekle", with the same parcel rounding.
            adetExit();
            done(QDialog::Accepted);
            return true;
        }
        if (o == birimfiyat && enter)
            return true;
    }
    if (o == adet && e->type() == QEvent::FocusOut)
        adetExit();
    return QDialog::eventFilter(o, e);
}

} // namespace kestro
