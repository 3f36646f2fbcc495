// The feature tabs of the main window: the cart shared by the lists, the
// add-to-cart flow, the stock list, cart, new and campaign tabs; their loads
// on show, captions, busy indicators and columns by user type.
#pragma once

#include <QObject>

#include <memory>

namespace kestro {

class SecilmisStoklarSekmesi;
class Sepet;
class SepeteEkleAkisi;
class SepetSekmesi;
class StokListesiSekmesi;
class TForm1;

class Sekmeler : public QObject
{
    Q_OBJECT
public:
    // Installs the tabs into the window; call before FormCreate. The window owns the result.
    static Sekmeler *Kur(TForm1 &window);

    Sepet *sepet;
    SepeteEkleAkisi *ekle;
    StokListesiSekmesi *stokListesi;
    SepetSekmesi *sepetSekmesi;
    SecilmisStoklarSekmesi *yeniStoklar;
    SecilmisStoklarSekmesi *kampanyali;

private:
    explicit Sekmeler(TForm1 &window);
    void sekmeGosterildi(int index);
    TForm1 &m_window;
};

} // namespace kestro
