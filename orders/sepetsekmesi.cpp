#include "sepetsekmesi.h"

#include "background.h"
#include "datagrid.h"
#include "excelexport.h"
#include "helpers.h"
#include "messages.h"
#include "numberformat.h"
#include "onaysip.h"
#include "sepet.h"
#include "servercall.h"
#include "sonucbilgisi.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace kestro {

namespace {

std::vector<GridColumn> sepetKolonlari()
{
    using C = GridColumn;
    std::vector<C> cols = {
        C::make("SEC", "Seç", 1, true, CellKind::Check).hiddenFromChooser(),
        C::make("VERILISTARIHI", "Sipariş Tarihi", 1, true),
        C::make("BARKOD", "Barkod", 2, true),
        C::make("FINISHKOD", "FinishKod", 2, true),
        C::make("OEMNO", "OEMNo", 2, true),
        C::make("STOKADI", "Stok Açıklama", 3, true),
        C::make("MIKTAR", "Miktar", 1, true, CellKind::Number),
        C::make("BIRIMFIYAT", "Birim Fiyat", 1, true, CellKind::Money),
        C::make("TUTAR", "Tutar", 1, true, CellKind::Money),
        C::make("INDIRIMYAZI", "İndirim Oran", 2, true).align(Qt::AlignCenter),
        C::make("NETBIRIMFIYAT", "Net Fiyat", 1, true, CellKind::Money),
        C::make("KDV", {}, 1, true, CellKind::Number),
        C::make("VERGITUTARI", "Vergi Tutarı", 1, true, CellKind::Money),
        C::make("NETTUTAR", "Net Tutar", 1, true, CellKind::Money),
        C::make("VEREN", "Veren", 1, true),
        C::make("DURUM", "Durum", 1, true).withIcons(StokDurumIkonlari()),
    };
    // Hidden columns; the bookkeeping ones weigh nothing.
    const QList<std::tuple<const char *, const char *, int>> hidden = {
        {"SIRANO", nullptr, 0}, {"SIPARISNO", "Sipariş No", 0}, {"CARINO", nullptr, 0}, {"TARIH", "Tarih", 1},
        {"AKTAR", nullptr, 0}, {"STOKNO", nullptr, 0}, {"INDIRIMORANI1", "İndirim Oranı %", 1},
        {"INDIRIMORANI2", nullptr, 1}, {"INDIRIMORANI3", nullptr, 1}, {"INDIRIMTUTAR", "İndirim Tutar", 1},
        {"KUR", "Kur", 1}, {"KURTL", nullptr, 1}, {"VERENIDNO", nullptr, 1}, {"SAAT", "Saat", 1},
        {"TESLIMID", nullptr, 1}, {"KARGOID", nullptr, 1}, {"ACIKLAMA", "Açıklama", 1}, {"IDNO", nullptr, 1},
        {"VERENSIRANO", nullptr, 1}, {"CARIKOD", "Cari Kod", 1}, {"CARIADI", "Cari Adı", 1},
        {"OEM1", nullptr, 1}, {"OEM2", nullptr, 1}, {"OEM3", nullptr, 1}, {"OEM4", nullptr, 1},
        {"STOK_STOKNO", nullptr, 1}, {"URETICIKODU", nullptr, 1}, {"DIGERADI", nullptr, 1}, {"DPKOD", nullptr, 1},
        {"MARKA", "Marka", 1}, {"MODEL", "Model", 1}, {"ANAGRUP", "Ana Grup", 1}, {"OZELKOD", "Özel Kod", 1},
        {"PKOD", nullptr, 1}, {"KALAN", "Kalan", 1}, {"INDIRIMORANI4", nullptr, 0}};
    for (const auto &[field, caption, tag] : hidden) {
        C c = C::make(QString::fromLatin1(field), caption ? QString::fromUtf8(caption) : QString::fromLatin1(field),
                      tag, false);
        if (QByteArray(field).startsWith("INDIRIM") && QByteArray(field) != "INDIRIMYAZI")
            c.kind = CellKind::Money;
        cols.push_back(c);
    }
    return cols;
}

QLabel *valueLabel(QWidget *parent)
{
    auto *l = new QLabel(parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

} // namespace

SepetSekmesi::SepetSekmesi(Sepet &sepet, QWidget *busy, QWidget *parent)
    : QWidget(parent), m_sepet(sepet), m_busy(busy)
{
    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);

    cxGridDBTableView1 = new DataGrid(this);
    cxGridDBTableView1->setObjectName(QStringLiteral("cxGridDBTableView1"));
    cxGridDBTableView1->setColumns(sepetKolonlari());
    cxGridDBTableView1->setRowSelect(false); // cell focus: "Satır Değiştir" looks at the column
    cxGridDBTableView1->addSummary("VERILISTARIHI", SummaryKind::Count);
    cxGridDBTableView1->addSummary("MIKTAR", SummaryKind::Sum);
    cxGridDBTableView1->addSummary("NETTUTAR", SummaryKind::Sum);
    auto *menu = new QMenu(this);
    menu->addAction(QStringLiteral("Satır Değiştir"), this, [this] { GuvenliCalistir([this] { Deitir1Click(); }); });
    menu->addSeparator();
    menu->addAction(QStringLiteral("Satır Sil"), this, [this] { GuvenliCalistir([this] { SatrSil1Click(); }); });
    menu->addSeparator();
    menu->addAction(QStringLiteral("Hepsini Sil"), this, [this] { GuvenliCalistir([this] { HepsiniSil1Click(); }); });
    cxGridDBTableView1->setPopupMenu(menu);
    connect(cxGridDBTableView1, &DataGrid::rowActivated, this,
            [this] { GuvenliCalistir([this] { Deitir1Click(); }); });
    connect(cxGridDBTableView1, &DataGrid::resized, this, [this] {
        if (!cxGridDBTableView1->isEnabled())
            return;
        const QScreen *s = screen();
        if (s && s->geometry().width() > 1152)
            cxGridDBTableView1->SutunGenislikAyarla();
        else
            cxGridDBTableView1->bestFit();
    });
    root->addWidget(cxGridDBTableView1, 1);

    auto *panelsec = new QWidget(this);
    panelsec->setObjectName(QStringLiteral("panelsec"));
    auto *secRow = new QHBoxLayout(panelsec);
    Button4 = new QPushButton(QStringLiteral("Hepsini Seç"), panelsec);
    Button5 = new QPushButton(QStringLiteral("Seçimleri Kaldır"), panelsec);
    lbluyarbakiye = new QLabel(panelsec);
    lbluyarbakiye->setObjectName(QStringLiteral("lbluyarbakiye"));
    lbluyarbakiye->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
    secRow->addWidget(Button4);
    secRow->addWidget(Button5);
    secRow->addWidget(lbluyarbakiye, 1);
    root->addWidget(panelsec);

    auto *bottom = new QWidget(this);
    auto *bottomRow = new QHBoxLayout(bottom);
    Button1 = new QPushButton(QStringLiteral("Gönder"), bottom);
    Button2 = new QPushButton(QStringLiteral("Excel Kaydet"), bottom);
    Button1->setMinimumWidth(140);
    bottomRow->addWidget(Button1);
    bottomRow->addWidget(Button2);
    bottomRow->addStretch();
    // The totals box is kept hidden; its labels carry the totals for "Gönder".
    Mesaj = new QGroupBox(QStringLiteral("Mesaj"), bottom);
    auto *totals = new QGridLayout(Mesaj);
    aratoplaml = valueLabel(Mesaj);
    indiriml = valueLabel(Mesaj);
    nettutarl = valueLabel(Mesaj);
    vergil = valueLabel(Mesaj);
    geneltoplaml = valueLabel(Mesaj);
    geneltoplaml->setObjectName(QStringLiteral("geneltoplaml"));
    const QList<QPair<QString, QLabel *>> rows = {{QStringLiteral("Toplam:"), aratoplaml},
                                                  {QStringLiteral("İndirim Toplam:"), indiriml},
                                                  {QStringLiteral("Ara Toplam:"), nettutarl},
                                                  {QStringLiteral("Vergi:"), vergil},
                                                  {QStringLiteral("Genel Toplam:"), geneltoplaml}};
    for (int i = 0; i < rows.size(); ++i) {
        totals->addWidget(new QLabel(rows[i].first, Mesaj), i, 0);
        totals->addWidget(rows[i].second, i, 1);
    }
    Mesaj->setVisible(false);
    bottomRow->addWidget(Mesaj);
    root->addWidget(bottom);

    connect(Button4, &QPushButton::clicked, this, [this] { GuvenliCalistir([this] { Button4Click(); }); });
    connect(Button5, &QPushButton::clicked, this, [this] { GuvenliCalistir([this] { Button5Click(); }); });
    connect(Button1, &QPushButton::clicked, this, [this] { GuvenliCalistir([this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { GuvenliCalistir([this] { Button2Click(); }); });

    m_loader = std::make_unique<TabLoader>(TabLoader::Steps
        {[this] {
             lbluyarbakiye->clear();
             if (m_busy)
                 m_busy->show();
             cxGridDBTableView1->setEnabled(false);
             cxGridDBTableView1->setDataSet(nullptr);
             cxGridDBTableView1->beginUpdate();
             if (yuklemeBasliyor)
                 yuklemeBasliyor();
         },
         [this] {
             // The reload reports its own connection failure; a server error is reported at the end.
             m_sunucuHatasi = false;
             m_yuklendi = false;
             try {
                 m_yuklendi = m_sepet.SepetYenile(m_yuklenen);
                 return !m_yuklendi;
             } catch (...) {
                 m_sunucuHatasi = true;
                 return true;
             }
         },
         [this](bool) {
             // The worker filled a dataset of its own: the shared cart changes only on this thread.
             if (m_yuklendi)
                 m_sepet.sepet = std::move(m_yuklenen);
             emit captionChanged(QString::number(m_sepet.sepet.rowCount()) + QStringLiteral("=Sepet"));
             SepetToplamHesapla();
             cxGridDBTableView1->setEnabled(true);
             cxGridDBTableView1->setDataSet(&m_sepet.sepet);
             cxGridDBTableView1->endUpdate();
             if (m_busy)
                 m_busy->hide();
             if (m_sunucuHatasi)
                 HataVer(QStringLiteral("Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!"));
         },
         false});
    cxGridDBTableView1->setDataSet(&m_sepet.sepet);
    SepetToplamHesapla();
}

void SepetSekmesi::kullaniciTipineGoreDuzenle(int musteriTipi)
{
    const bool temsilci = musteriTipi == 1 || musteriTipi == 2;
    cxGridDBTableView1->setColumnVisible("KALAN", temsilci);
    cxGridDBTableView1->setColumnOffered("KALAN", temsilci);
    if (musteriTipi == 3) {
        cxGridDBTableView1->setColumnVisible("DURUM", false);
        cxGridDBTableView1->setColumnOffered("DURUM", false);
    }
}

void SepetSekmesi::ssepetShow() { m_loader->start(); }

bool SepetSekmesi::yukleniyor() const { return m_loader->running(); }

void SepetSekmesi::SepetToplamHesapla()
{
    toplamlar = kestro::SepetToplamHesapla(m_sepet.sepet);
    const QString f = QString::fromLatin1(ParaBicimi);
    aratoplaml->setText(FormatFloat(f, toplamlar.araToplam));
    indiriml->setText(FormatFloat(f, toplamlar.indirim));
    nettutarl->setText(FormatFloat(f, toplamlar.net));
    vergil->setText(FormatFloat(f, toplamlar.vergi));
    geneltoplaml->setText(FormatFloat(f, toplamlar.genel));
}

void SepetSekmesi::aramaKutusunaDon()
{
    if (m_araedit && m_araedit->isEnabled()) {
        m_araedit->selectAll();
        m_araedit->setFocus();
    }
}

void SepetSekmesi::secimleriAyarla(int secim)
{
    DataSet &d = m_sepet.sepet;
    const int sec = d.fieldIndex(QStringLiteral("SEC"));
    const int sirano = d.fieldIndex(QStringLiteral("SIRANO"));
    if (sec >= 0 && sirano >= 0) {
        for (int r = 0; r < d.rowCount(); ++r) {
            d.setCurrentRow(r);
            d.edit();
            d.setField(QStringLiteral("SEC"), secim);
            d.post();
            m_sepet.SecimGonder(int(d.asInt(r, sirano)), secim);
        }
    }
    SepetToplamHesapla();
    aramaKutusunaDon();
}

void SepetSekmesi::Button4Click() { secimleriAyarla(1); }
void SepetSekmesi::Button5Click() { secimleriAyarla(0); }

void SepetSekmesi::Deitir1Click()
{
    DataSet &d = m_sepet.sepet;
    const int row = cxGridDBTableView1->focusedRow();
    if (row < 0)
        return;
    const int sirano = int(cxGridDBTableView1->focusedValue(QStringLiteral("SIRANO")).toLongLong());
    d.locate(QStringLiteral("SIRANO"), sirano);
    const QString col = cxGridDBTableView1->focusedColumn();
    if (col.isEmpty() || cxGridDBTableView1->column(col).caption != QStringLiteral("Seç")) {
        emit satirDegistirIstendi(sirano);
        return;
    }
    const int secim = d.fieldInt(QStringLiteral("SEC")) == 0 ? 1 : 0;
    d.edit();
    d.setField(QStringLiteral("SEC"), secim);
    d.post();
    m_sepet.SecimGonder(sirano, secim);
    SepetToplamHesapla();
}

void SepetSekmesi::SatrSil1Click()
{
    DataSet &d = m_sepet.sepet;
    if (cxGridDBTableView1->focusedRow() < 0)
        return;
    const int sirano = int(cxGridDBTableView1->focusedValue(QStringLiteral("SIRANO")).toLongLong());
    d.locate(QStringLiteral("SIRANO"), sirano);
    if (!SoruSor(QStringLiteral("Satırı silmek istiyor musunuz "), MsgBtn::No))
        return;
    const QString note = d.fieldString(QStringLiteral("BARKOD")) + QLatin1Char('-') + d.fieldString(QStringLiteral("STOKADI"));
    if (!SunucuCagir(m_sepet.bagc, 1, [&](TServerMethods1Client &proxy) {
            proxy.SepetSatirSil(m_sepet.sbilgi.kopyasi(), sirano, note);
        }))
        return;
    m_sepet.SepetYenile();
    BilgiVer(QStringLiteral("Satır silindi !"));
}

void SepetSekmesi::HepsiniSil1Click()
{
    DataSet &d = m_sepet.sepet;
    if (!d.isOpen() || d.isEmpty())
        return;
    if (!SoruSor(QStringLiteral("Tüm Sepeti Silmek İstiyor musunuz "), MsgBtn::No))
        return;
    if (!SunucuCagir(m_sepet.bagc, 1,
                     [&](TServerMethods1Client &proxy) { proxy.SepetHepsiniSil(m_sepet.sbilgi.kopyasi()); }))
        return;
    BilgiVer(QStringLiteral("Sepet Silindi !"));
    m_sepet.SepetYenile();
}

bool SepetSekmesi::SiparisGonder(int kargoFirmasi, int kargoTuru, const QString &not_, int teslim)
{
    bool ok = false;
    SunucuCagir(m_sepet.bagc, 1, [&](TServerMethods1Client &proxy) {
        ok = proxy.SiparisKaydet(m_sepet.sbilgi.kopyasi(), m_sepet.sbilgi.CARINO(), teslim, kargoTuru, not_,
                                 m_sepet.sbilgi.Sirano(), kargoFirmasi);
    });
    return ok;
}

void SepetSekmesi::Button1Click()
{
    if (!SeciliVarmi(m_sepet.sepet)) {
        UyariVer(QStringLiteral("Gönderilecek Parça Yok "));
        return;
    }
    std::unique_ptr<TONAYSIP> dialog(TONAYSIP::Ac(window(), m_sepet.bagc, lbluyarbakiye->text(), m_sepet.sbilgi,
                                                  geneltoplaml->text()));
    if (ModalCalistir(*dialog) != QDialog::Accepted)
        return;
    if (SiparisGonder(dialog->KN, dialog->kt, dialog->aciklamagir->toPlainText(), dialog->td)) {
        BilgiVer(QStringLiteral("Siparişiniz Gönderildi !"));
        m_sepet.SepetYenile();
    } else {
        HataVer(QStringLiteral("Sipariş Göndermede Hata"));
    }
}

void SepetSekmesi::Button2Click() { ExcelKaydet(*cxGridDBTableView1, this); }

SepetSekmesi::~SepetSekmesi() = default;

} // namespace kestro
