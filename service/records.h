// Wire records exchanged with the application server besides the session record.
#pragma once

#include "recordfields.h"

#include <QList>

namespace kestro {

#define KESTRO_SIPARISDIP_FIELDS(X) \
    X(QString, SizinMesaj, {})      \
    X(QString, Durumu, {})          \
    X(QString, Veren, {})           \
    X(QString, Kargo, {})           \
    X(QString, BizimMesaj, {})      \
    X(QString, TeslimCinsi, {})     \
    X(QString, KargoCinsi, {})      \
    X(QString, SaticiNotu, {})

// Footer of one order.
class TSiparisDipAyrinti
{
    KESTRO_RECORD_BODY(TSiparisDipAyrinti, KESTRO_SIPARISDIP_FIELDS)
public:
    static constexpr const char *typeName = "baglantiu.TSiparisDipAyrinti";
};

#define KESTRO_TUSSONUCLARI_FIELDS(X) \
    X(qint32, Alindi, 0)              \
    X(qint32, Onaylandi, 0)           \
    X(qint32, ParcaliHazirlandi, 0)   \
    X(qint32, SevkEdildi, 0)          \
    X(qint32, Hazirlandi, 0)          \
    X(qint32, Goruldu, 0)

// Order counts by state.
class TTusSonuclari
{
    KESTRO_RECORD_BODY(TTusSonuclari, KESTRO_TUSSONUCLARI_FIELDS)
public:
    static constexpr const char *typeName = "baglantiu.TTusSonuclari";
};

#define KESTRO_MOBILCARI_FIELDS(X)  \
    X(QString, BILGISAYARID, {})    \
    X(QString, SEHIR, {})           \
    X(QString, FAX1, {})            \
    X(QString, SATICIMAIL, {})      \
    X(QString, SATICIADI, {})       \
    X(QString, CARIADI, {})         \
    X(QString, EMAIL, {})           \
    X(QString, VERGIDAIRESI, {})    \
    X(QString, YETKILI, {})         \
    X(QString, AltGrup, {})         \
    X(QString, TEL2, {})            \
    X(QString, SIFRE, {})           \
    X(QString, GSM, {})             \
    X(QString, TEL1, {})            \
    X(QString, ADRES2, {})          \
    X(double, TLBORC, 0.0)          \
    X(double, TLALACAK, 0.0)        \
    X(QString, ADRES1, {})          \
    X(QString, ULKE, {})            \
    X(QString, AnaGrup, {})         \
    X(qint32, CARINO, 0)            \
    X(double, TLBAKIYE, 0.0)        \
    X(QString, VERGINO, {})         \
    X(QString, MAIL, {})            \
    X(QString, OzelKod, {})         \
    X(QString, KULLANICIADI, {})    \
    X(QString, SATICITELEFON, {})   \
    X(QString, CARIKOD, {})         \
    X(QString, FAX2, {})            \
    X(QString, ILCE, {})

// A customer account card.
class TMobilCariBilgisi
{
    KESTRO_RECORD_BODY(TMobilCariBilgisi, KESTRO_MOBILCARI_FIELDS)
public:
    static constexpr const char *typeName = "mobilstokunit.TMobilCariBilgisi";
};

#define KESTRO_ACILISEKRAN_FIELDS(X) \
    X(qint32, SiraNo, 0)             \
    X(QString, Resim, {})            \
    X(QString, Baslik, {})           \
    X(QString, Arama, {})

// One opening screen or announcement item; the picture travels as hex text.
class TAcilisEkran
{
    KESTRO_RECORD_BODY(TAcilisEkran, KESTRO_ACILISEKRAN_FIELDS)
public:
    static constexpr const char *typeName = "mobilstokunit.TAcilisEkran";
};

using TAcilisEkranListesi = QList<TAcilisEkran>;

#define KESTRO_ACILISEKRANLARIKI_FIELDS(X) X(TAcilisEkranListesi, Ekranlar, {})

// The list of announcements.
class TAcilisEkranlariki
{
    KESTRO_RECORD_BODY(TAcilisEkranlariki, KESTRO_ACILISEKRANLARIKI_FIELDS)
public:
    static constexpr const char *typeName = "mobilstokunit.TAcilisEkranlariki";
};

} // namespace kestro
