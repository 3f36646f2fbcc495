// Totals of the selected cart lines, rounded to the cent after every step.
#pragma once

namespace kestro {

class DataSet;

struct SepetToplamlari
{
    double araToplam = 0; // sum of TUTAR
    double indirim = 0;   // sum of INDIRIMTUTAR
    double vergi = 0;     // sum of VERGITUTARI
    double net = 0;       // subtotal minus discount
    double genel = 0;     // net plus VAT
};

// Lines with SEC = 1 only; the cursor is left after the last line.
SepetToplamlari SepetToplamHesapla(DataSet &sepet);

} // namespace kestro
