#include "pricing.h"

#include "numberformat.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <QStringList>

namespace kestro::server {

double kurusaYuvarla(double v)
{
    if (!std::isfinite(v) || std::fabs(v) >= 1e15)
        return IkiHaneYuvarla(v);
    // Exact ties at the cent are the values with v * 8 odd (x.125, x.375, ...);
    // v * 100 is exact for them, so round() gives half away from zero.
    const double e = v * 8;
    if (e == std::floor(e) && std::fmod(e, 2.0) != 0)
        return std::round(v * 100) / 100;
    // Otherwise the correctly rounded two-decimal text of the stored value.
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2);
    double out = 0;
    std::from_chars(buf, r.ptr, out);
    return out == 0 ? 0.0 : out; // no negative zero
}

LineAmounts tutarHesapla(double birimfiyat, double miktar, const Rates &ind, int kdv)
{
    LineAmounts a;
    const long double gross = (long double)birimfiyat * miktar;
    long double v = gross;
    for (double r : ind)
        if (r > 0)
            v = v - v * r / 100.0L;
    a.nettutar = kurusaYuvarla(double(v));
    a.netbirimfiyat = miktar != 0 ? kurusaYuvarla(a.nettutar / miktar) : 0.0;
    a.tutar = kurusaYuvarla(double(gross));
    a.indirimtutar = kurusaYuvarla(a.tutar - a.nettutar);
    a.vergitutari = kurusaYuvarla(a.nettutar * kdv / 100.0);
    a.kdvdahil = kurusaYuvarla(a.netbirimfiyat * (kdv / 100.0 + 1.0));
    return a;
}

UnitAmounts unitAmounts(double birimfiyat, const Rates &ind, int kdv)
{
    // tutarHesapla's steps for miktar 1; rounding a rounded amount again changes nothing.
    long double v = birimfiyat;
    for (double r : ind)
        if (r > 0)
            v = v - v * r / 100.0L;
    UnitAmounts a;
    a.net = kurusaYuvarla(double(v));
    a.kdvdahil = kurusaYuvarla(a.net * (kdv / 100.0 + 1.0));
    return a;
}

QString indirimYazi(const Rates &ind)
{
    QStringList parts;
    for (double r : ind)
        if (r > 0)
            parts << QLocale::c().toString(r, 'g', 6);
    return parts.join(QLatin1Char('+'));
}

AccountPrice accountPrice(double listPrice, double campaignPrice, bool campaign, double stockDiscount,
                          double accountDiscount, int userType)
{
    AccountPrice p;
    if (campaign && campaignPrice > 0 && userType != 4) {
        p.fiyat = campaignPrice;
        p.k = 1;
        return p;
    }
    p.fiyat = listPrice;
    p.ind = {accountDiscount, stockDiscount, 0, 0};
    return p;
}

} // namespace kestro::server
