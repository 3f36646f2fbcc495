// Amounts of one product entry: discount rates one after the other, VAT on
// the net, each result rounded to the cent.
#pragma once

#include <array>

namespace kestro {

struct SatirTutari
{
    double brut = 0;          // unit price × quantity
    double indirimTutari = 0; // gross minus what the rates left, not rounded
    double net = 0;
    double netBirimFiyat = 0;
    double kdvDahilBirim = 0; // VAT-inclusive net unit price
    double genelTutar = 0;    // line total
};

// Each rate above 0 applies to what the previous ones left.
SatirTutari TutarHesapla(double birimFiyat, double miktar, const std::array<double, 4> &oranlar, double kdvOrani);

// True when the rates add up to more than 1 (percent).
bool IndirimVarmi(const std::array<double, 4> &oranlar);

// The quantity raised to the next multiple of the parcel quantity.
int KoliyeYuvarla(int miktar, int koliAdet);

} // namespace kestro
