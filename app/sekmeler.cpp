#include "sekmeler.h"

#include "aramametni.h"
#include "gorunum.h"
#include "mainwindow.h"
#include "messages.h"
#include "sepet.h"
#include "sepeteekle.h"
#include "sepetsekmesi.h"
#include "stoklistesi.h"
#include "yenikampanya.h"

#include <QLayout>
#include <QPushButton>
#include <QTabWidget>

namespace kestro {

Sekmeler *Sekmeler::Kur(TForm1 &window) { return new Sekmeler(window); }

Sekmeler::Sekmeler(TForm1 &w) : QObject(&w), m_window(w)
{
    using S = TForm1::Sekme;
    using Y = TForm1::Yukleme;
    sepet = new Sepet(w.bagc, w.sbilgi, this);
    ekle = new SepeteEkleAkisi(*sepet, &w, this);

    auto put = [&](S s, QWidget *tab) { w.sekmeSayfasi(s)->layout()->addWidget(tab); };
    stokListesi = new StokListesiSekmesi(*sepet, *ekle, w.araedit, w.mesgulGostergesi(Y::StokAra));
    put(S::StokListesi, stokListesi);
    sepetSekmesi = new SepetSekmesi(*sepet, w.mesgulGostergesi(Y::Sepet));
    sepetSekmesi->setAramaKutusu(w.araedit);
    put(S::Sepet, sepetSekmesi);
    yeniStoklar = new SecilmisStoklarSekmesi(StokKaynagi::YeniStoklar, *sepet, *ekle, w.mesgulGostergesi(Y::YeniStoklar));
    put(S::YeniStoklar, yeniStoklar);
    kampanyali = new SecilmisStoklarSekmesi(StokKaynagi::Kampanyali, *sepet, *ekle,
                                            w.mesgulGostergesi(Y::KampanyaliStoklar));
    put(S::KampanyaliStoklar, kampanyali);

    connect(stokListesi, &StokListesiSekmesi::captionChanged, this,
            [&w](const QString &c) { w.sekmeBasligiYaz(S::StokListesi, c); });
    connect(sepetSekmesi, &SepetSekmesi::captionChanged, this,
            [&w](const QString &c) { w.sekmeBasligiYaz(S::Sepet, c); });
    connect(yeniStoklar, &SecilmisStoklarSekmesi::captionChanged, this,
            [&w](const QString &c) { w.sekmeBasligiYaz(S::YeniStoklar, c); });
    connect(kampanyali, &SecilmisStoklarSekmesi::captionChanged, this,
            [&w](const QString &c) { w.sekmeBasligiYaz(S::KampanyaliStoklar, c); });
    connect(stokListesi, &StokListesiSekmesi::sekmeyiOneGetir, this,
            [&w] { w.sayfalar()->setCurrentIndex(w.sekmeIndeksi(S::StokListesi)); });
    connect(sepetSekmesi, &SepetSekmesi::satirDegistirIstendi, this,
            [this](int sirano) { GuvenliCalistir([&] { ekle->SatirDegistir(sirano); }); });

    connect(w.btnara, &QPushButton::clicked, this, [this] { stokListesi->SpeedButton2Click(); });
    connect(w.btntemizle, &QPushButton::clicked, this, [this] { stokListesi->SpeedButton1Click(); });
    connect(w.sayfalar(), &QTabWidget::currentChanged, this, &Sekmeler::sekmeGosterildi);

    w.duzenKancasiEkle([this](int tip) {
        stokListesi->kullaniciTipineGoreDuzenle(tip);
        sepetSekmesi->kullaniciTipineGoreDuzenle(tip);
        yeniStoklar->kullaniciTipineGoreDuzenle(tip);
        kampanyali->kullaniciTipineGoreDuzenle(tip);
    });
}

void Sekmeler::sekmeGosterildi(int index)
{
    using S = TForm1::Sekme;
    if (index == m_window.sekmeIndeksi(S::Sepet))
        sepetSekmesi->ssepetShow();
    else if (index == m_window.sekmeIndeksi(S::YeniStoklar))
        yeniStoklar->sekmeGosterildi();
    else if (index == m_window.sekmeIndeksi(S::KampanyaliStoklar))
        kampanyali->sekmeGosterildi();
}

} // namespace kestro
