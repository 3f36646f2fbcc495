// The new-stocks and campaign-stocks tabs: a list the server picks for the
// account, reloaded in the background every time the tab is shown.
#pragma once

#include "dataset.h"
#include "sepeteekle.h"

#include <QWidget>

#include <memory>

namespace kestro {

class DataGrid;
class Sepet;
class TabLoader;

class SecilmisStoklarSekmesi : public QWidget
{
    Q_OBJECT
public:
    // kaynak: YeniStoklar or Kampanyali.
    SecilmisStoklarSekmesi(StokKaynagi kaynak, Sepet &sepet, SepeteEkleAkisi &ekle, QWidget *busy,
                           QWidget *parent = nullptr);
    ~SecilmisStoklarSekmesi() override;

    DataSet liste; // YENILER or kampstok
    DataGrid *grid;

    void kullaniciTipineGoreDuzenle(int musteriTipi);
    void sekmeGosterildi(); // syenilerShow / skampanyaliShow
    bool Getir(DataSet &into); // YenilerGetir / KampanyalilarGetir; true on failure
    void kolonDuzenle();

signals:
    void captionChanged(const QString &caption);

protected:
    void resizeEvent(QResizeEvent *e) override;

private:
    StokKaynagi m_kaynak;
    Sepet &m_sepet;
    SepeteEkleAkisi &m_ekle;
    QWidget *m_busy;
    DataSet m_yuklenen; // filled by the worker, moved into `liste` by the continuation
    // Last, so it is destroyed first and waits for a load still writing the members above.
    std::unique_ptr<TabLoader> m_loader;
};

} // namespace kestro
