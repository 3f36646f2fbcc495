#include "pricing.h"

#include "numberformat.h"

#include <QLocale>
#include <QStringList>

namespace kestro::server {

LineAmounts tutarHesapla(double birimfiyat, double miktar, const Rates &ind, int kdv)
{
    LineAmounts a;
    const long double gross = (long double)birimfiyat * miktar;
    long double v = gross;
    for (double r : ind)
        if (r > 0)
            v = v - v * r / 100.0L;
    a.nettutar = IkiHaneYuvarla(double(v));
    a.netbirimfiyat = miktar != 0 ? IkiHaneYuvarla(a.nettutar / miktar) : 0.0;
    a.tutar = IkiHaneYuvarla(double(gross));
    a.indirimtutar = IkiHaneYuvarla(a.tutar - a.nettutar);
    a.vergitutari = IkiHaneYuvarla(a.nettutar * kdv / 100.0);
    a.kdvdahil = IkiHaneYuvarla(a.netbirimfiyat * (kdv / 100.0 + 1.0));
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
