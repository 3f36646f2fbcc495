// The cart tab: the cart grid, selection commands, deletes, totals, the
// overdue-balance warning and "Gönder".
#pragma once

#include "dataset.h"
#include "sepettoplam.h"

#include <QWidget>

#include <atomic>
#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace kestro {

class DataGrid;
class Sepet;
class TabLoader;

class SepetSekmesi : public QWidget
{
    Q_OBJECT
public:
    SepetSekmesi(Sepet &sepet, QWidget *busy, QWidget *parent = nullptr);
    ~SepetSekmesi() override;

    // The search box the commands give the focus back to.
    void setAramaKutusu(QLineEdit *araedit) { m_araedit = araedit; }
    // Columns by user type.
    void kullaniciTipineGoreDuzenle(int musteriTipi);

    // The tab was shown: reload in the background.
    void ssepetShow();
    bool yukleniyor() const;

    void Button4Click(); // "Hepsini Seç"
    void Button5Click(); // "Seçimleri Kaldır"
    void SatrSil1Click();
    void HepsiniSil1Click();
    void Button1Click(); // "Gönder"
    void Button2Click(); // "Excel Kaydet"
    void Deitir1Click(); // "Satır Değiştir", also the grid's double click
    void SepetToplamHesapla();
    bool SiparisGonder(int kargoFirmasi, int kargoTuru, const QString &not_, int teslim);

    DataGrid *cxGridDBTableView1;
    QLabel *lbluyarbakiye;
    QLabel *aratoplaml, *indiriml, *nettutarl, *vergil, *geneltoplaml;
    QPushButton *Button1, *Button2, *Button4, *Button5;
    QGroupBox *Mesaj;
    SepetToplamlari toplamlar;

    // Runs before each load's work starts (the overdue-balance check hooks in here).
    std::function<void()> yuklemeBasliyor;

signals:
    void captionChanged(const QString &caption);
    void satirDegistirIstendi(int sirano);

private:
    void aramaKutusunaDon();
    void secimleriAyarla(int secim);
    Sepet &m_sepet;
    QWidget *m_busy;
    QLineEdit *m_araedit = nullptr;
    std::atomic<bool> m_sunucuHatasi{false};
    bool m_yuklendi = false;
    DataSet m_yuklenen; // filled by the worker, moved into the cart by the continuation
    // Last, so it is destroyed first and waits for a load still writing the members above.
    std::unique_ptr<TabLoader> m_loader;
};

} // namespace kestro
