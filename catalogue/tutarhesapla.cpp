#include "tutarhesapla.h"

#include "numberformat.h"

#include <cmath>

namespace kestro {

SatirTutari TutarHesapla(double birimFiyat, double miktar, const std::array<double, 4> &oranlar, double kdvOrani)
{
    SatirTutari t;
    const long double gross = static_cast<long double>(birimFiyat) * miktar;
    long double v = gross;
    for (double rate : oranlar)
        if (rate > 0)
            v -= v * rate / 100.0L;
    t.brut = double(gross);
    t.indirimTutari = double(gross - v);
    t.net = IkiHaneYuvarla(double(v));
    t.netBirimFiyat = miktar != 0 ? IkiHaneYuvarla(t.net / miktar) : 0.0;
    if (!std::isfinite(t.netBirimFiyat))
        t.netBirimFiyat = 0.0;
    t.kdvDahilBirim = IkiHaneYuvarla(t.netBirimFiyat * (kdvOrani / 100.0 + 1.0));
    t.genelTutar = IkiHaneYuvarla(t.kdvDahilBirim * miktar);
    return t;
}

bool IndirimVarmi(const std::array<double, 4> &oranlar)
{
    return oranlar[0] + oranlar[1] + oranlar[2] + oranlar[3] > 1.0;
}

int KoliyeYuvarla(int miktar, int koliAdet)
{
    if (koliAdet <= 1)
        return miktar;
    const int kalan = miktar % koliAdet;
    return kalan == 0 ? miktar : miktar + koliAdet - kalan;
}

} // namespace kestro
