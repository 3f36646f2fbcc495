#include "sepet.h"

#include "helpers.h"
#include "servercall.h"
#include "sonucbilgisi.h"

namespace kestro {

Sepet::Sepet(ServerConnection &c, TSonucBilgisi &s, QObject *parent) : QObject(parent), bagc(c), sbilgi(s) {}

bool Sepet::SepetYenile(DataSet &into)
{
    return KlonlaCagir(bagc, 1, [&](TServerMethods1Client &proxy) {
        DataSet loaded = proxy.SepetVer2(sbilgi.CARINO());
        FloatAlanlariBicimle(loaded);
        into = std::move(loaded);
    });
}

bool Sepet::SepetYenile() { return SepetYenile(sepet); }

void Sepet::SecimGonder(int sirano, int secim)
{
    try {
        KlonlaCagir(bagc, 1, [&](TServerMethods1Client &proxy) { proxy.SepetSecimGuncelle(sirano, secim); });
    } catch (...) {
        // The local flag stays; the next reload shows the server's state.
    }
}

} // namespace kestro
