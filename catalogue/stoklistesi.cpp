#include "stoklistesi.h"

#include "aramametni.h"
#include "background.h"
#include "datagrid.h"
#include "helpers.h"
#include "messages.h"
#include "numberformat.h"
#include "sepet.h"
#include "servercall.h"
#include "sepeteekle.h"
#include "sonucbilgisi.h"

#include <QMenu>
#include <QPainter>
#include <QVBoxLayout>

namespace kestro {

namespace {

const QString fiyatBilgisi = QStringLiteral("FiyatBilgisi");

std::vector<GridColumn> stokKolonlari()
{
    using C = GridColumn;
    std::vector<C> cols = {
        C::make("DURUM", "Durum", 1, true).withIcons(StokDurumIkonlari()),
        C::make("OEM1", "Oem1", 2, false).wrap(),
        C::make("OEM2", "Oem2", 2, false).wrap(),
        C::make("OEM3", "Oem3", 2, false).wrap(),
        C::make("BARKOD", "Barkod", 2, true),
        C::make("ADI", "Açıklama", 3, true),
        C::make("OEM4", "Oem4", 2, false),
        C::make("STOK_STOKNO", {}, 1, false).hiddenFromChooser(),
        C::make("FINISHKOD", "Finish Kod", 2, false),
        C::make("URETICIKODU", "Üretici Kod", 2, false),
        C::make("RESIM", "Resim", 1, true).withIcons(ResimIkonlari()),
        C::make("BARKOD_BARKODNO", {}, 1, false).hiddenFromChooser(),
        C::make("DIGERADI", "Diğer Adı", 3, false),
        C::make("DPKOD", {}, 2, false).hiddenFromChooser(),
        C::make("OEMNO", "Oem No", 2, false),
        C::make("BIRIM", "Birim", 1, false),
        C::make("MARKA", "Marka", 2, true),
        C::make("MODEL", "Model", 2, true),
        C::make("ANAGRUP", "Ana Grup", 2, false),
        C::make("OZELKOD", "Özel Kod", 2, true),
        C::make("KALAN", "Kalan", 1, false, CellKind::Number).hiddenFromChooser(),
        C::make("PKOD", {}, 1, false).hiddenFromChooser(),
        C::make("KDV", "KDV", 1, false, CellKind::Number),
        C::make("ALINANSIPARIS", "Alınan Sipariş", 1, false, CellKind::Number).hiddenFromChooser(),
        C::make("VERILENSIPARIS", "Verilen Sipariş", 1, false, CellKind::Number).hiddenFromChooser(),
        C::make("LISTEFIYAT1", "Liste Fiyatı", 2, true, CellKind::Money),
        C::make("KAMPFIYAT", "Kampanyalı Fiyat", 2, false, CellKind::Money),
        C::make("FIYAT", "Liste Fiyatı", 2, false, CellKind::Money),
        C::make("Y", "Yeni", 1, true).withIcons(EvetHayirIkonlari(true)),
        C::make("K", "Kampanyalı", 1, true).withIcons(EvetHayirIkonlari(false)),
        C::make("INDIRIMYAZI", "İndirim Oran", 2, true).align(Qt::AlignCenter),
        C::make("NETFIYAT", "Net Fiyatı", 2, true, CellKind::Money),
        C::make("KDVDAHIL", "KDV Dahil Fiyat", 3, true, CellKind::Money),
    };
    C info = C::make({}, "Fiyat Bilgisi", 2, false, CellKind::Custom);
    info.name = fiyatBilgisi;
    info.text = [](const DataSet &d, int row) {
        auto v = [&](const char *f) { return d.asDouble(row, d.fieldIndex(QLatin1String(f))); };
        return FiyatBilgisiMetni(v("LISTEFIYAT1"), v("KAMPFIYAT"), v("NETFIYAT"), v("KDVDAHIL"));
    };
    info.paint = [text = info.text](const GridCellPaint &p) {
        p.painter->fillRect(p.rect, p.background);
        p.painter->setPen(p.foreground);
        const QRect r = p.rect.adjusted(10, 0, -10, 0);
        const QString t = text(*p.data, p.row).trimmed();
        // The narrow column is 150 pixels: the font shrinks until the widest line fits.
        QFont f = p.painter->font();
        f.setBold(false);
        for (int i = 0; i < 4; ++i) {
            p.painter->setFont(f);
            if (p.painter->boundingRect(r, Qt::AlignRight | Qt::AlignVCenter, t).width() <= r.width())
                break;
            if (f.pixelSize() > 0)
                f.setPixelSize(std::max(8, f.pixelSize() - 1));
            else
                f.setPointSizeF(f.pointSizeF() * 0.9);
        }
        p.painter->drawText(r, Qt::AlignRight | Qt::AlignVCenter, t);
    };
    cols.push_back(info);
    return cols;
}

} // namespace

QString FiyatBilgisiMetni(double listeFiyati, double kampanyaliFiyat, double netFiyat, double kdvliFiyat)
{
    const QString f = QString::fromLatin1(ParaBicimi);
    const QString crlf = QStringLiteral("\r\n");
    QString t = QStringLiteral("Liste Fiyatı: ") + FormatFloat(f, listeFiyati) + crlf;
    if (kampanyaliFiyat > 0)
        t += QStringLiteral("Kampanyalı Fiyat: ") + FormatFloat(f, kampanyaliFiyat) + crlf;
    t += QStringLiteral("NetFiyat: ") + FormatFloat(f, netFiyat) + crlf;
    t += QStringLiteral("KDV li Fiyat: ") + FormatFloat(f, kdvliFiyat) + crlf;
    return t;
}

StokListesiSekmesi::StokListesiSekmesi(Sepet &sepet, SepeteEkleAkisi &ekle, AramaKutusu *araedit, QWidget *busy,
                                       QWidget *parent)
    : QWidget(parent), m_sepet(sepet), m_ekle(ekle), m_araedit(araedit), m_busy(busy)
{
    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    cxGrid1DBTableView1 = new DataGrid(this);
    cxGrid1DBTableView1->setObjectName(QStringLiteral("cxGrid1DBTableView1"));
    cxGrid1DBTableView1->setColumns(stokKolonlari());
    cxGrid1DBTableView1->setHeaderHeight(40);
    cxGrid1DBTableView1->setRowHeight(60);
    cxGrid1DBTableView1->addSummary("OEM1", SummaryKind::Count);
    root->addWidget(cxGrid1DBTableView1);

    popstok = new QMenu(this);
    auto sepeteEkle = [this] {
        GuvenliCalistir([this] { m_ekle.listedenEkle(*cxGrid1DBTableView1, stok, StokKaynagi::StokListesi); });
    };
    popstok->addAction(QStringLiteral("Sepete Ekle"), this, sepeteEkle);
    popstok->addSeparator();
    popstok->addAction(QStringLiteral("Sipariş Bakiyeleriniz"));
    popstok->addSeparator();
    siparisleriGoster = popstok->addAction(QStringLiteral("Siparişleri Göster"));
    popstok->addSeparator();
    stokHareketleri = popstok->addAction(QStringLiteral("Stok Hareketleri"));
    // The order and movement dialogs are not part of this program yet.
    siparisleriGoster->setEnabled(false);
    stokHareketleri->setEnabled(false);
    cxGrid1DBTableView1->setPopupMenu(popstok);
    connect(cxGrid1DBTableView1, &DataGrid::rowActivated, this, sepeteEkle);

    if (m_araedit)
        connect(m_araedit, &AramaKutusu::enterBasildi, this, [this] { aramaBaslat(); });

    m_loader = std::make_unique<TabLoader>(TabLoader::Steps
        {[this] {
             emit sekmeyiOneGetir();
             m_araedit->setEnabled(false);
             if (m_busy)
                 m_busy->show();
             cxGrid1DBTableView1->setDataSet(nullptr);
             cxGrid1DBTableView1->beginUpdate();
             cxGrid1DBTableView1->clearFilters();
         },
         [this] { return StokListesiGetir(m_text, m_result); },
         [this](bool failed) {
             // The worker filled a dataset of its own; it replaces the list here, on this thread.
             if (failed) {
                 if (stok.isOpen())
                     stok.emptyRows();
             } else {
                 stok = std::move(m_result);
                 emit captionChanged(QString::number(stok.rowCount()) + QStringLiteral("=Stok Listesi"));
             }
             m_araedit->setEnabled(true);
             cxGrid1DBTableView1->setDataSet(&stok);
             cxGrid1DBTableView1->endUpdate();
             m_araedit->selectAll();
             m_araedit->setFocus();
             if (m_busy)
                 m_busy->hide();
             if (failed)
                 emit captionChanged(QStringLiteral("Stok Listesi"));
         },
         true});
    cxGrid1DBTableView1->setDataSet(&stok);
}

void StokListesiSekmesi::kullaniciTipineGoreDuzenle(int musteriTipi)
{
    const bool temsilci = musteriTipi == 1 || musteriTipi == 2;
    for (const char *c : {"KALAN", "ALINANSIPARIS", "VERILENSIPARIS"}) {
        cxGrid1DBTableView1->setColumnVisible(QLatin1String(c), temsilci);
        cxGrid1DBTableView1->setColumnOffered(QLatin1String(c), temsilci);
    }
    m_kampanyasiz = musteriTipi == 4;
    if (m_kampanyasiz)
        for (const char *c : {"K", "KAMPFIYAT"}) {
            cxGrid1DBTableView1->setColumnVisible(QLatin1String(c), false);
            cxGrid1DBTableView1->setColumnOffered(QLatin1String(c), false);
        }
}

void StokListesiSekmesi::SpeedButton2Click()
{
    if (m_araedit->isEnabled())
        aramaBaslat();
}

void StokListesiSekmesi::aramaBaslat()
{
    if (!m_araedit->isEnabled() || m_loader->running())
        return;
    m_text = m_araedit->text();
    m_loader->start();
}

bool StokListesiSekmesi::StokListesiGetir(const QString &text, DataSet &into)
{
    bool failed = true;
    try {
        KlonlaCagir(m_sepet.bagc, 0, [&](TServerMethods1Client &proxy) {
            DataSet result = proxy.StokAraGetirVosk(text, m_sepet.sbilgi.kopyasi());
            if (!result.hasField(QStringLiteral("IND1")))
                return; // a result without the discount rates is no stock list
            FloatAlanlariBicimle(result);
            into = std::move(result);
            failed = false;
        });
    } catch (...) {
        failed = true;
    }
    return failed;
}

void StokListesiSekmesi::SpeedButton1Click()
{
    if (!m_araedit->isEnabled())
        return;
    if (stok.isOpen()) {
        stok.emptyRows();
        emit captionChanged(QStringLiteral("Stok Listesi"));
    }
    emit sekmeyiOneGetir();
    cxGrid1DBTableView1->clearFilters();
    m_araedit->clear();
    m_araedit->selectAll();
    m_araedit->setFocus();
}

void StokListesiSekmesi::cariDegisti()
{
    stok.emptyRows();
    emit captionChanged(QStringLiteral("0=Stok Listesi"));
}

void StokListesiSekmesi::StokKolonDuzenle(int windowWidth)
{
    DataGrid *g = cxGrid1DBTableView1;
    g->beginUpdate();
    m_wide = windowWidth >= 1153;
    for (const char *c : {"KDVDAHIL", "NETFIYAT", "LISTEFIYAT1"})
        g->setColumnVisible(QLatin1String(c), m_wide);
    // A user without campaigns never gets the campaign price back from a resize.
    g->setColumnVisible(QStringLiteral("KAMPFIYAT"), m_wide && !m_kampanyasiz);
    g->setColumnVisible(fiyatBilgisi, !m_wide);
    g->setRowHeight(m_wide ? 60 : 100);
    g->SutunGenislikAyarla(g->width());
    if (!m_wide) {
        for (const char *c : {"OEM1", "OEM2", "OEM3"})
            g->setColumnWidth(QLatin1String(c), 80);
        g->setColumnWidth(fiyatBilgisi, 150);
        g->setRowHeight(100);
        // The fixed 150 pixels come off the description, so the prices stay in view.
        int total = 0;
        for (const QString &key : g->visibleColumns())
            total += g->columnWidth(key);
        const int overflow = total - (g->width() - 30);
        if (overflow > 0)
            g->setColumnWidth(QStringLiteral("ADI"), std::max(80, g->columnWidth(QStringLiteral("ADI")) - overflow));
    }
    g->endUpdate();
}

void StokListesiSekmesi::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    if (m_araedit && m_araedit->isEnabled())
        StokKolonDuzenle(window()->width());
}

StokListesiSekmesi::~StokListesiSekmesi() = default;

} // namespace kestro
