#include "sepet.h"

#include "connection.h"
#include "connectioncheck.h"
#include "helpers.h"
#include "proxy.h"
#include "sonucbilgisi.h"

namespace kestro {

Sepet::Sepet(ServerConnection &c, TSonucBilgisi &s, QObject *parent) : QObject(parent), bagc(c), sbilgi(s) {}

bool Sepet::SepetYenile(DataSet &into)
{
    auto clone = bagc.clone();
    if (!BaglantiKontrol(*clone, 1))
        return false;
    TServerMethods1Client proxy(*clone);
    DataSet loaded = proxy.SepetVer2(sbilgi.CARINO());
    FloatAlanlariBicimle(loaded);
    into = std::move(loaded);
    clone->close();
    return true;
}

bool Sepet::SepetYenile() { return SepetYenile(sepet); }

void Sepet::SecimGonder(int sirano, int secim)
{
    auto clone = bagc.clone();
    if (!BaglantiKontrol(*clone, 1))
        return;
    try {
        TServerMethods1Client proxy(*clone);
        proxy.SepetSecimGuncelle(sirano, secim);
    } catch (...) {
        // The local flag stays; the next reload shows the server's state.
    }
    clone->close();
}

} // namespace kestro
