// The stock list tab: searching on the server in the background and the
// width-dependent layout of the result grid.
#pragma once

#include "dataset.h"

#include <QWidget>

#include <memory>

class QAbstractButton;
class QMenu;

namespace kestro {

class AramaKutusu;
class DataGrid;
class Sepet;
class SepeteEkleAkisi;
class TabLoader;

class StokListesiSekmesi : public QWidget
{
    Q_OBJECT
public:
    StokListesiSekmesi(Sepet &sepet, SepeteEkleAkisi &ekle, AramaKutusu *araedit, QWidget *busy,
                       QWidget *parent = nullptr);
    ~StokListesiSekmesi() override;

    DataSet stok;
    DataGrid *cxGrid1DBTableView1;
    QMenu *popstok;

    void kullaniciTipineGoreDuzenle(int musteriTipi);

    void SpeedButton2Click(); // "Ara": a search when no search runs
    void SpeedButton1Click(); // "Temizle"
    // Re-lays the grid for the main window's width (wide from 1153 pixels).
    void StokKolonDuzenle(int windowWidth);
    // The work of a search; true on failure.
    bool StokListesiGetir(const QString &text, DataSet &into);
    // The customer account changed: the list is emptied.
    void cariDegisti();

    // Enabled when the popup's order and movement dialogs exist.
    QAction *siparisleriGoster = nullptr;
    QAction *stokHareketleri = nullptr;

signals:
    void captionChanged(const QString &caption);
    void sekmeyiOneGetir();

protected:
    void resizeEvent(QResizeEvent *e) override;

private:
    void aramaBaslat();
    Sepet &m_sepet;
    SepeteEkleAkisi &m_ekle;
    AramaKutusu *m_araedit;
    QWidget *m_busy;
    QString m_text;
    DataSet m_result;
    bool m_wide = true;
    bool m_kampanyasiz = false;
    // Last, so it is destroyed first and waits for a load still writing the members above.
    std::unique_ptr<TabLoader> m_loader;
};

// The text of the narrow layout's price-information cell.
QString FiyatBilgisiMetni(double listeFiyati, double kampanyaliFiyat, double netFiyat, double kdvliFiyat);

} // namespace kestro
