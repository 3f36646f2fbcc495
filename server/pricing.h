// Line amounts as the product entry dialog computes them, and account prices of a stock.
#pragma once

#include <QString>

#include <array>

namespace kestro::server {

using Rates = std::array<double, 4>;

struct LineAmounts
{
    double tutar = 0;         // gross, rounded to the cent
    double indirimtutar = 0;  // tutar - nettutar
    double nettutar = 0;
    double netbirimfiyat = 0;
    double vergitutari = 0;   // VAT on the net
    double kdvdahil = 0;      // VAT-inclusive net unit price
};

// IkiHaneYuvarla without its text round trip: the same value, fast enough for
// pricing every row of a search.
double kurusaYuvarla(double v);

// The rates one after the other, VAT on the net, rounded to the cent.
LineAmounts tutarHesapla(double birimfiyat, double miktar, const Rates &ind, int kdv);

// What a price list shows of tutarHesapla(birimfiyat, 1, ind, kdv): the same
// values with only the two roundings they need.
struct UnitAmounts
{
    double net = 0;       // nettutar and netbirimfiyat of one unit
    double kdvdahil = 0;
};
UnitAmounts unitAmounts(double birimfiyat, const Rates &ind, int kdv);

// "35+5" for the non-zero rates, empty when none.
QString indirimYazi(const Rates &ind);

// The price and rates an account gets for a stock.
struct AccountPrice
{
    double fiyat = 0;   // offered unit price
    Rates ind{};        // discount rates
    int k = 0;          // campaign flag as applied
};

// A campaign price applies unless the user type excludes campaigns (4); campaign
// prices are net, other prices carry the account's and the stock's discounts.
AccountPrice accountPrice(double listPrice, double campaignPrice, bool campaign, double stockDiscount,
                          double accountDiscount, int userType);

} // namespace kestro::server
