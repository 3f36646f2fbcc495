// The main window: header, search bar, the feature tabs, status legend and
// news strip; runs the sign-in and the start-up task.
//
// Feature code plugs in between construction and FormCreate():
//   - a tab's widget goes into sekmeSayfasi(Sekme) (an empty page with a layout),
//   - its load shows mesgulGostergesi(Yukleme) while it runs,
//   - its caption is written with sekmeBasligiYaz(),
//   - column changes by user type register with duzenKancasiEkle(),
//   - start-up loads register with baslangicAdimiEkle() (they run on one worker,
//     in order, after the header lines) and baslangicSonuEkle() (UI thread, at the end).
#pragma once

#include "connection.h"
#include "sonucbilgisi.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace kestro {

class AramaKutusu;
class MesgulResmi;

class TForm1 : public QMainWindow
{
    Q_OBJECT
public:
    // The tabs, in their order on the page control.
    enum class Sekme { StokListesi, Sepet, OncekiSiparisler, CariEkstre, YeniStoklar, KampanyaliStoklar,
                       Duyurular, Bakiyeler, SanalPos };
    static constexpr int SekmeSayisi = 9;
    // The loads with a busy indicator in the search bar, in its order.
    enum class Yukleme { StokAra, YeniStoklar, KampanyaliStoklar, Duyurular, OncekiSiparisler, Sepet, CariEkstre };
    static constexpr int YuklemeSayisi = 7;

    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // Identity, connection settings, sign-in, layout, start-up task. False when
    // sign-in ended the process (only observable when that end is intercepted).
    bool FormCreate();
    bool OturumAc();
    void KullaniciTipineGoreDuzenle();
    // Header lines from the session record; callable from a worker (waits for the UI thread).
    void AnaBilgiAl();
    void BaslangicGoreviniBaslat();

    // Extension points.
    QTabWidget *sayfalar() const { return PageControl1; }
    QWidget *sekmeSayfasi(Sekme s) const;
    int sekmeIndeksi(Sekme s) const { return int(s); }
    void sekmeBasligiYaz(Sekme s, const QString &caption);
    QString sekmeBasligi(Sekme s) const;
    bool sekmeGorunur(Sekme s) const;
    MesgulResmi *mesgulGostergesi(Yukleme y) const { return m_mesgul[size_t(y)]; }
    QWidget *haberSeridi() const { return Panel5; }        // news strip, 40 px
    QWidget *ustBannerSeridi() const { return RxGIFAnimator2; } // upper banner strip, 0 px until filled
    QWidget *baslikBanneri() const { return GifResim1; }   // header banner area, 409 × 100
    using DuzenKancasi = std::function<void(int musteriTipi)>;
    void duzenKancasiEkle(DuzenKancasi kanca);
    using BaslangicAdimi = std::function<void()>;
    void baslangicAdimiEkle(BaslangicAdimi adim);
    void baslangicSonuEkle(std::function<void()> devam);

    ServerConnection bagc;
    TSonucBilgisi sbilgi;
    qint32 _acilisadet = 0;
    bool _acilisgoruldu = false;

    QLabel *lblkullanici = nullptr, *lblfirma = nullptr, *lbltemsilci = nullptr;
    AramaKutusu *araedit = nullptr;
    QPushButton *btnara = nullptr, *btntemizle = nullptr, *BaskaCariSec = nullptr;
    QToolButton *SplitButton1 = nullptr;
    QMenu *Genelmenu = nullptr;
    QAction *M1 = nullptr, *N4 = nullptr, *WebSitesi1 = nullptr, *G1 = nullptr, *Raporlar1 = nullptr;

    void G1Click();
    void M1Click();
    void N4Click();
    void WebSitesi1Click();

signals:
    // The start-up task's work and continuations have all run.
    void baslangicBitti();

protected:
    // FormCloseQuery
    void closeEvent(QCloseEvent *e) override;
    void showEvent(QShowEvent *e) override;

private:
    QWidget *baslikPaneli();
    QWidget *aramaCubugu();
    QWidget *durumAciklamasi();

    QTabWidget *PageControl1 = nullptr;
    std::array<QWidget *, SekmeSayisi> m_sayfalar{};
    std::array<QString, SekmeSayisi> m_adlar;
    std::array<MesgulResmi *, YuklemeSayisi> m_mesgul{};
    QWidget *Panel5 = nullptr;
    QWidget *RxGIFAnimator2 = nullptr;
    QWidget *GifResim1 = nullptr;
    std::vector<DuzenKancasi> m_duzenKancalari;
    std::vector<BaslangicAdimi> m_baslangicAdimlari;
    std::vector<std::function<void()>> m_baslangicSonu;
    bool m_ilkGosterim = true;
};

} // namespace kestro
