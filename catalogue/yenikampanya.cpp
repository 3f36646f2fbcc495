#include "yenikampanya.h"

#include "background.h"
#include "datagrid.h"
#include "helpers.h"
#include "messages.h"
#include "sepet.h"
#include "servercall.h"
#include "sonucbilgisi.h"

#include <QScreen>
#include <QVBoxLayout>

namespace kestro {

namespace {

using C = GridColumn;

// The columns both lists share at their start.
std::vector<C> ortakKolonlar(bool resim)
{
    std::vector<C> cols = {
        C::make("OEM1", "Oem1", 2, false), C::make("OEM2", "Oem2", 2, false), C::make("OEM3", "Oem3", 2, false),
        C::make("BARKOD", "Barkod", 2, true), C::make("ADI", "Açıklama", 3, true), C::make("OEM4", "Oem4", 2, false),
        C::make("STOK_STOKNO", {}, 1, false).hiddenFromChooser(),
    };
    if (resim)
        cols.push_back(C::make("RESIM", "Resim", 1, true).withIcons(ResimIkonlari()));
    const std::vector<C> rest = {
        C::make("FINISHKOD", "Finish Kod", 2, true), C::make("URETICIKODU", "Üretici Kod", 2, false),
        C::make("BARKOD_BARKODNO", {}, 1, false).hiddenFromChooser(), C::make("DIGERADI", "Diğer Adı", 3, false),
        C::make("DPKOD", {}, 2, false).hiddenFromChooser(), C::make("OEMNO", "Oem No", 2, false),
        C::make("BIRIM", "Birim", 1, true), C::make("MARKA", "Marka", 2, true), C::make("MODEL", "Model", 2, true),
        C::make("ANAGRUP", "Ana Grup", 2, false), C::make("OZELKOD", "Özel Kod", 2, false),
        C::make("KALAN", "Kalan", 1, false, CellKind::Number).hiddenFromChooser(),
        C::make("PKOD", {}, 1, false).hiddenFromChooser(), C::make("KDV", "KDV", 1, false, CellKind::Number),
        C::make("ALINANSIPARIS", "Alınan Sipariş", 1, false, CellKind::Number).hiddenFromChooser(),
        C::make("VERILENSIPARIS", "Verilen Sipariş", 1, false, CellKind::Number).hiddenFromChooser(),
    };
    cols.insert(cols.end(), rest.begin(), rest.end());
    return cols;
}

std::vector<C> yeniKolonlari()
{
    std::vector<C> cols = ortakKolonlar(false);
    const std::vector<C> tail = {
        C::make("FIYAT", "Liste Fiyatı2", 2, false, CellKind::Money),
        C::make("K", "Kampanyalı", 1, true).withIcons(EvetHayirIkonlari(true)),
        C::make("LISTEFIYAT1", "Liste Fiyatı", 2, true, CellKind::Money),
        C::make("KAMPFIYAT", "Kampanyalı Fiyatı", 2, true, CellKind::Money),
        C::make("INDIRIMYAZI", "Indirim Oran", 2, true).align(Qt::AlignCenter),
        C::make("INDIRIM", "İndirim Oran", 1, false).hiddenFromChooser(),
        C::make("NETFIYAT", "Net Fiyatı", 2, true, CellKind::Money),
        C::make("KDVDAHIL", "KDV Dahil Fiyat", 2, true, CellKind::Money),
    };
    cols.insert(cols.end(), tail.begin(), tail.end());
    return cols;
}

std::vector<C> kampanyaKolonlari()
{
    std::vector<C> cols = ortakKolonlar(true);
    const std::vector<C> tail = {
        C::make("ESKIFIYAT", "Liste Fiyatı", 2, true, CellKind::Money),
        C::make("FIYAT", "Kampanyalı Fiyatı", 2, true, CellKind::Money),
        C::make("Y", "Yeni", 1, true).withIcons(EvetHayirIkonlari(true)),
        C::make("K", "Kampanyalı", 1, true).withIcons(EvetHayirIkonlari(false)),
        C::make("INDIRIM", "İndirim Oran", 1, false).hiddenFromChooser(),
        C::make("INDIRIMYAZI", "İndirim Oran", 2, true).align(Qt::AlignCenter),
        C::make("NETFIYAT", "Net Fiyatı", 2, true, CellKind::Money),
        C::make("KDVDAHIL", "KDV Dahil Fiyat", 2, true, CellKind::Money),
        C::make("DURUM", "Durum", 1, true).withIcons(StokDurumIkonlari()),
    };
    cols.insert(cols.end(), tail.begin(), tail.end());
    return cols;
}

} // namespace

SecilmisStoklarSekmesi::SecilmisStoklarSekmesi(StokKaynagi kaynak, Sepet &sepet, SepeteEkleAkisi &ekle,
                                               QWidget *busy, QWidget *parent)
    : QWidget(parent), m_kaynak(kaynak), m_sepet(sepet), m_ekle(ekle), m_busy(busy)
{
    const bool yeni = kaynak == StokKaynagi::YeniStoklar;
    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    grid = new DataGrid(this);
    grid->setObjectName(yeni ? QStringLiteral("cxGridDBTableView5") : QStringLiteral("cxGridDBTableViewkampanyali"));
    grid->setColumns(yeni ? yeniKolonlari() : kampanyaKolonlari());
    grid->setHeaderHeight(40);
    grid->setRowHeight(40);
    grid->addSummary("OEM1", SummaryKind::Count);
    root->addWidget(grid);
    connect(grid, &DataGrid::rowActivated, this,
            [this] { GuvenliCalistir([this] { m_ekle.listedenEkle(*grid, liste, m_kaynak); }); });

    const QString ad = yeni ? QStringLiteral("=Yeni Stoklar") : QStringLiteral("=Kampanyalı");
    m_loader = std::make_unique<TabLoader>(TabLoader::Steps{[this] {
                                  if (m_busy)
                                      m_busy->show();
                                  grid->setEnabled(false);
                                  grid->setDataSet(nullptr);
                                  grid->beginUpdate();
                              },
                              [this] { return Getir(m_yuklenen); },
                              [this, ad](bool failed) {
                                  if (!failed) {
                                      liste = std::move(m_yuklenen);
                                      emit captionChanged(QString::number(liste.rowCount()) + ad);
                                  }
                                  grid->setDataSet(&liste);
                                  grid->endUpdate();
                                  grid->setEnabled(true);
                                  if (m_busy)
                                      m_busy->hide();
                              },
                              true});
    grid->setDataSet(&liste);
}

void SecilmisStoklarSekmesi::kullaniciTipineGoreDuzenle(int musteriTipi)
{
    const bool temsilci = musteriTipi == 1 || musteriTipi == 2;
    for (const char *c : {"KALAN", "ALINANSIPARIS", "VERILENSIPARIS"}) {
        grid->setColumnVisible(QLatin1String(c), temsilci);
        grid->setColumnOffered(QLatin1String(c), temsilci);
    }
    if (musteriTipi == 4 && m_kaynak == StokKaynagi::YeniStoklar)
        for (const char *c : {"K", "KAMPFIYAT"}) {
            grid->setColumnVisible(QLatin1String(c), false);
            grid->setColumnOffered(QLatin1String(c), false);
        }
}

void SecilmisStoklarSekmesi::sekmeGosterildi() { m_loader->start(); }

bool SecilmisStoklarSekmesi::Getir(DataSet &into)
{
    // An error of the call itself leaves the work; the loader counts it as a failed load.
    return !KlonlaCagir(m_sepet.bagc, 0, [&](TServerMethods1Client &proxy) {
        DataSet result = m_kaynak == StokKaynagi::YeniStoklar
            ? proxy.YenilerVer2(m_sepet.sbilgi.CARINO())
            : proxy.KampanyaliVer2(m_sepet.sbilgi.CARINO(), m_sepet.sbilgi.MusteriTipi());
        FloatAlanlariBicimle(result);
        into = std::move(result);
    });
}

void SecilmisStoklarSekmesi::kolonDuzenle()
{
    const QScreen *s = screen();
    if (s && s->geometry().width() > 1152)
        grid->SutunGenislikAyarla();
    else
        grid->bestFit();
}

void SecilmisStoklarSekmesi::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    // The campaign grid waits for its load to end; the new-stocks grid does not.
    if (m_kaynak == StokKaynagi::YeniStoklar || grid->isEnabled())
        kolonDuzenle();
}

SecilmisStoklarSekmesi::~SecilmisStoklarSekmesi() = default;

} // namespace kestro
