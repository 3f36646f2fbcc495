#include "sepeteekle.h"

#include "datagrid.h"
#include "dataset.h"
#include "messages.h"
#include "moneyedit.h"
#include "sepet.h"
#include "servercall.h"
#include "sonucbilgisi.h"
#include "stokayarinti.h"

#include <QLabel>
#include <QSpinBox>

#include <memory>

namespace kestro {

SepeteEkleAkisi::SepeteEkleAkisi(Sepet &sepet, QWidget *window, QObject *parent)
    : QObject(parent), m_sepet(sepet), m_window(window)
{
}

int SepeteEkleAkisi::KoliAdetiAl(int stokno)
{
    int n = 1;
    try {
        KlonlaCagir(m_sepet.bagc, 0, [&](TServerMethods1Client &proxy) { n = proxy.EnVer(stokno); });
    } catch (...) {
        n = 1; // the server cannot tell
    }
    return n;
}

void SepeteEkleAkisi::listedenEkle(DataGrid &grid, DataSet &liste, StokKaynagi kaynak)
{
    if (grid.focusedRow() < 0)
        return;
    const int stokno = int(grid.focusedValue(QStringLiteral("STOK_STOKNO")).toLongLong());
    liste.locate(QStringLiteral("STOK_STOKNO"), stokno);
    DataSet &sepet = m_sepet.sepet;
    // Without a cart to look in, the stock counts as not in the cart.
    if (!sepet.isOpen())
        m_sepet.SepetYenile();
    const int stoknoCol = sepet.fieldIndex(QStringLiteral("STOKNO"));
    const int siranoCol = sepet.fieldIndex(QStringLiteral("SIRANO"));
    for (int r = 0; stoknoCol >= 0 && siranoCol >= 0 && r < sepet.rowCount(); ++r) {
        if (sepet.asInt(r, stoknoCol) == stokno) {
            SatirDegistir(int(sepet.asInt(r, siranoCol)));
            return;
        }
    }
    SepeteEkle(liste, kaynak, stokno);
}

namespace {

// Header labels, VAT, price and the four rates from a list row or a cart line.
void dialogDoldur(Tstokayarinti &d, const DataSet &ds, const char *adi, const char *fiyat, const char *oran)
{
    auto text = [&](const char *f) { return ds.fieldString(QLatin1String(f)); };
    d.barkod->setText(text("BARKOD"));
    d.adi->setText(text(adi));
    d.marka->setText(text("MARKA"));
    d.finishkod->setText(text("FINISHKOD"));
    d.model->setText(text("MODEL"));
    d.kdvoran = ds.fieldDouble(QStringLiteral("KDV"));
    d.birimfiyat->setValue(ds.fieldDouble(QLatin1String(fiyat)));
    ParaEdit *edits[] = {d.edindirim1, d.edindirim2, d.edindirim3, d.edindirim4};
    for (int i = 0; i < 4; ++i)
        edits[i]->setValue(ds.fieldDouble(QLatin1String(oran) + QString::number(i + 1)));
}

} // namespace

Tstokayarinti *SepeteEkleAkisi::dialogAc(int stokno)
{
    Tstokayarinti *d = Tstokayarinti::Ac(m_window, stokno);
    d->setKoliadet(KoliAdetiAl(stokno));
    const int tip = m_sepet.sbilgi.MusteriTipi();
    d->setFiyatDegistirilebilir(tip == 1 || tip == 2);
    return d;
}

void SepeteEkleAkisi::SepeteEkle(DataSet &liste, StokKaynagi kaynak, int stokno)
{
    std::unique_ptr<Tstokayarinti> d(dialogAc(stokno));
    dialogDoldur(*d, liste, "ADI", "FIYAT", "IND");
    d->kdvlifiyat = liste.fieldDouble(QStringLiteral("KDVDAHIL"));
    const bool kampanya = liste.fieldDouble(QStringLiteral("K")) > 0;
    const QString yazi = liste.fieldString(QStringLiteral("INDIRIMYAZI"));
    switch (kaynak) {
    case StokKaynagi::StokListesi:
        d->Label2->setText(kampanya ? QStringLiteral("Kampanyalı Fiyat:") : QStringLiteral("Fiyat:"));
        d->indirimoran->setText(kampanya ? QStringLiteral("Kampanyalı ") + yazi : QStringLiteral("İndirim: %") + yazi);
        break;
    case StokKaynagi::YeniStoklar:
        d->Label2->setText(kampanya ? QStringLiteral("Kampanyalı Fiyat:") : QStringLiteral("Fiyat:"));
        d->indirimoran->setText(kampanya ? QStringLiteral("Kampanyalı ") + yazi
                                         : QStringLiteral("İndirim:  % ") + yazi);
        break;
    case StokKaynagi::Kampanyali:
        d->Label2->setText(QStringLiteral("Kampanyalı Fiyat:"));
        d->indirimoran->setText(QStringLiteral("Kampanyalı ") + yazi);
        break;
    }
    const int tip = m_sepet.sbilgi.MusteriTipi();
    d->setIndirimPaneliGorunur((tip == 1 || tip == 2) && kaynak != StokKaynagi::Kampanyali);
    if (ModalCalistir(*d) != QDialog::Accepted)
        return;
    SatirEkle(liste, d->miktar(), d->birimfiyat->value(), d->edindirim1->value(), d->edindirim2->value(),
              d->edindirim3->value(), d->edindirim4->value());
}

void SepeteEkleAkisi::SatirDegistir(int sirano)
{
    DataSet &sepet = m_sepet.sepet;
    if (!sepet.locate(QStringLiteral("SIRANO"), sirano))
        return;
    std::unique_ptr<Tstokayarinti> d(dialogAc(int(sepet.fieldInt(QStringLiteral("STOKNO")))));
    dialogDoldur(*d, sepet, "STOKADI", "BIRIMFIYAT", "INDIRIMORANI");
    d->adet->setValue(int(sepet.fieldDouble(QStringLiteral("MIKTAR"))));
    d->Label2->setText(QStringLiteral("Fiyat:"));
    d->indirimoran->setText(QStringLiteral("İndirim:"));
    const int tip = m_sepet.sbilgi.MusteriTipi();
    d->setIndirimPaneliGorunur(tip == 1 || tip == 2);
    if (ModalCalistir(*d) == QDialog::Accepted)
        SatirGuncelle(sirano, d->miktar(), d->birimfiyat->value());
    m_sepet.SepetYenile();
}

void SepeteEkleAkisi::SatirEkle(DataSet &liste, double miktar, double fiyat, double ind1, double ind2,
                                double ind3, double ind4)
{
    int result = 0;
    SunucuCagir(m_sepet.bagc, 1, [&](TServerMethods1Client &proxy) {
        result = proxy.SepetEkle2(m_sepet.sbilgi.kopyasi(), m_sepet.sbilgi.CARINO(),
                                  int(liste.fieldInt(QStringLiteral("STOK_STOKNO"))),
                                  liste.fieldString(QStringLiteral("BARKOD")), liste.fieldString(QStringLiteral("ADI")),
                                  miktar, double(qint64(liste.fieldDouble(QStringLiteral("KDV")))), fiyat, ind1,
                                  m_sepet.sbilgi.Sirano(), int(liste.fieldDouble(QStringLiteral("K"))), ind2, ind3,
                                  ind4);
    });
    if (result == 1)
        m_sepet.SepetYenile();
}

void SepeteEkleAkisi::SatirGuncelle(int sirano, double miktar, double fiyat)
{
    DataSet &sepet = m_sepet.sepet;
    sepet.locate(QStringLiteral("SIRANO"), sirano);
    int result = 0;
    SunucuCagir(m_sepet.bagc, 1, [&](TServerMethods1Client &proxy) {
        result = proxy.SepetGuncelle2(m_sepet.sbilgi.kopyasi(), m_sepet.sbilgi.CARINO(), 0,
                                      sepet.fieldString(QStringLiteral("BARKOD")),
                                      sepet.fieldString(QStringLiteral("STOKADI")), miktar,
                                      double(qint64(sepet.fieldDouble(QStringLiteral("KDV")))), fiyat,
                                      sepet.fieldDouble(QStringLiteral("INDIRIMORANI1")), m_sepet.sbilgi.Sirano(),
                                      sirano, sepet.fieldDouble(QStringLiteral("INDIRIMORANI2")),
                                      sepet.fieldDouble(QStringLiteral("INDIRIMORANI3")),
                                      sepet.fieldDouble(QStringLiteral("INDIRIMORANI4")));
    });
    if (result == 1)
        m_sepet.SepetYenile();
}

} // namespace kestro
