// Putting a stock into the server-held cart: look the stock up in the cart,
// open the product entry dialog on the list row or the cart line, send the
// new or changed line and reload the cart.
#pragma once

#include <QObject>

namespace kestro {

class DataGrid;
class DataSet;
class Sepet;
class Tstokayarinti;

// Which list a row comes from; the dialog's captions and panels differ.
enum class StokKaynagi { StokListesi, YeniStoklar, Kampanyali };

class SepeteEkleAkisi : public QObject
{
    Q_OBJECT
public:
    SepeteEkleAkisi(Sepet &sepet, QWidget *window, QObject *parent = nullptr);

    // A double click on a list: the focused row's stock goes to the cart.
    void listedenEkle(DataGrid &grid, DataSet &liste, StokKaynagi kaynak);
    // The list's add path for the stock on the list's current row.
    void SepeteEkle(DataSet &liste, StokKaynagi kaynak, int stokno);
    // Change of the cart line with this SIRANO.
    void SatirDegistir(int sirano);

    void SatirEkle(DataSet &liste, double miktar, double fiyat, double ind1, double ind2, double ind3, double ind4);
    void SatirGuncelle(int sirano, double miktar, double fiyat);
    int KoliAdetiAl(int stokno);

private:
    Tstokayarinti *dialogAc(int stokno);
    Sepet &m_sepet;
    QWidget *m_window;
};

} // namespace kestro
