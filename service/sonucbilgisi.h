// The session record: who is signed in, for which account, from which computer.
#pragma once

#include "recordfields.h"

#include <memory>

namespace kestro {

#define KESTRO_SONUCBILGISI_FIELDS(X)     \
    X(QString, BILGISAYARID, {})          \
    X(QString, SaticiMail, {})            \
    X(qint32, Sirano, 0)                  \
    X(QString, CariAdi, {})               \
    X(QString, SIFRE, {})                 \
    X(qint32, SaticiNo, 0)                \
    X(qint32, CARINO, 0)                  \
    X(qint32, AKTIF, 0)                   \
    X(QString, Kullanicimail, {})         \
    X(QString, ADI, {})                   \
    X(QString, SaticiTelefon, {})         \
    X(QString, carikod, {})               \
    X(bool, Varmi, false)                 \
    X(QString, SaticiAdi, {})             \
    X(QString, BilgiSayarAdi, {})         \
    X(QString, Disip, {})                 \
    X(QString, Icip, {})                  \
    X(QString, BilgisayarKullanici, {})   \
    X(qint32, MusteriTipi, 1)             \
    X(qint32, Version, 1)

class TSonucBilgisi
{
    KESTRO_RECORD_BODY(TSonucBilgisi, KESTRO_SONUCBILGISI_FIELDS)

public:
    static constexpr const char *typeName = "baglantiu.TSonucBilgisi";

    // A fresh, independent copy to hand to the proxy.
    std::unique_ptr<TSonucBilgisi> kopyasi() const
    {
        auto c = std::make_unique<TSonucBilgisi>();
        c->Kopyala(*this);
        return c;
    }
};

// User types of MusteriTipi.
enum MusteriTipiKodu : qint32 {
    SatisTemsilcisi = 1,
    FiyatYetkiliTemsilci = 2,
    MusteriKullanici = 3,
    KampanyasizMusteri = 4,
};

} // namespace kestro
