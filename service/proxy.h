// Client of the application server's methods: one operation per method.
//
// Record arguments are handed over (the proxy owns and frees them); record
// results belong to the proxy's command of that method and live until the
// next call of the same method or the proxy's end, so callers copy them.
#pragma once

#include "dataset.h"
#include "records.h"
#include "sonucbilgisi.h"

#include <QHash>
#include <QJsonArray>

#include <memory>

namespace kestro {

class ServerConnection;

using SessionArg = std::unique_ptr<TSonucBilgisi>;

class TServerMethods1Client
{
public:
    explicit TServerMethods1Client(ServerConnection &connection);
    ~TServerMethods1Client();

    const TAcilisEkranlariki *AcilisEkranlarVer2();
    qint32 AcilisReklamAdet();
    const TAcilisEkran *AcilisREklamVer(qint32 sira);
    qint32 BakiyeDegistir(SessionArg k, qint32 stokno, qint32 sepetsirano, qint32 siparissirano,
                          double Adet, double Bakiye, const QString &barkod);
    qint32 BakiyeDuzenle(SessionArg k, qint32 stokno, qint32 sepetsirano, qint32 siparissirano,
                         double Adet, double Bakiye, const QString &barkod);
    qint32 BakiyeFiyatDegistir(SessionArg k, qint32 stokno, qint32 sepetsirano, qint32 siparissirano,
                               double Adet, double Bakiye, const QString &barkod, double fiyat, double ind);
    DataSet BakiyelerVer2(qint32 carino);
    DataSet BalonGetir(SessionArg bil);
    QByteArray BannerResimVer(qint64 &size);
    QByteArray BannerResimVer2(qint64 &size);
    QByteArray BannerResimVer3(qint64 &size);
    const TSonucBilgisi *BuyukGetir(const QString &idsi);
    DataSet CariAra(SessionArg bil, const QString &aranan);
    QString CariDurumVer(qint32 carino);
    DataSet CariEkstreVer(qint32 carino);
    DataSet CariSepetVer(SessionArg bil, qint32 n);
    QString CariVadeGunGecmismiBul(qint32 carino);
    qint32 EnVer(qint32 stokno);
    DataSet FaturaAltGetir(qint32 idnosu);
    DataSet FaturaGetir(qint32 carino, qint32 idnosu);
    DataSet KampanyaliVer2(qint32 cario, qint32 satici);
    DataSet KargolarVer(qint32 gn);
    DataSet KargoVer();
    QString KayanYaziGetir();
    qint32 MailGonserCari(const QString &idsi, const QString &baslik, const QString &firmaadi,
                          const QString &adres1, const QString &adres2, const QString &ilce,
                          const QString &sehir, const QString &telefon, const QString &fax,
                          const QString &vd, const QString &vn, const QString &yetkili,
                          const QString &kullaniciadi, const QString &sifre, const QString &mail,
                          const QString &kargoambar);
    qint32 MailGonserCariNormal(const QString &idsi, const QString &baslik, const QString &firmaadi,
                                const QString &adres1, const QString &adres2, const QString &ilce,
                                const QString &sehir, const QString &telefon, const QString &fax,
                                const QString &vd, const QString &vn, const QString &yetkili,
                                const QString &kullaniciadi, const QString &sifre, const QString &mail,
                                const QString &kargoambar, const QString &konu);
    const TMobilCariBilgisi *MobilCariBilgisiGetir(qint32 sirano, const QString &_idsi);
    DataSet OncekiSiparisler(qint32 carino);
    DataSet RaporAlinanSiparisler(SessionArg bilgi, double tarih1, double tarih2);
    DataSet RaporEnCokSatilanStoklar(SessionArg bilgi, double tarih1, double tarih2);
    QByteArray RaporGetir(qint32 raporno, qint32 bolum, qint32 idno, qint32 carino,
                          const QString &saticiadi, double tarih1, double tarih2, qint64 &size);
    QByteArray SAnalPosPdfVer(qint32 sirano, qint64 &boy);
    qint32 SanalposSiranoVer(qint32 idnosu);
    qint32 SepetEkle2(SessionArg bilgim, qint32 carino, qint32 stokno, const QString &barkod,
                      const QString &stokadi, double miktar, double kdv, double fiyat, double ind1,
                      qint32 verenid, qint32 k, double ind2, double ind3, double ind4);
    qint32 SepetGuncelle2(SessionArg bilgim, qint32 carino, qint32 stokno, const QString &barkod,
                          const QString &stokadi, double miktar, double kdv, double fiyat, double ind1,
                          qint32 verenid, qint32 _sepetsirano, double ind2, double ind3, double ind4);
    qint32 SepetHepsiniSil(SessionArg bilgi);
    qint32 SepetSatirSil(SessionArg bilgi, qint32 satirno, const QString &aciklamam);
    qint32 SepetSayisi(SessionArg bil);
    void SepetSecimGuncelle(qint32 sirano, qint32 secim);
    DataSet SepetVer2(qint32 carino);
    DataSet SiparisAyrintisi2(qint32 carino, qint32 idnosu);
    const TSiparisDipAyrinti *SiparisAytintisiDip(qint32 carino, qint32 siranosu);
    bool SiparisKaydet(SessionArg BB, qint32 _carino, qint32 _teslim, qint32 _kargo,
                       const QString &_aciklama, qint32 _verenid, qint32 _kargoyeni);
    DataSet StokAraGetirVosk(const QString &kod, SessionArg bilgi);
    DataSet StokHareketVer(qint32 carino, qint32 stokno);
    DataSet Tahsilat(qint32 idnosu);
    DataSet TeslimVer();
    DataSet TumSiparislerVer(qint32 carino, qint32 stokno);
    const TTusSonuclari *TusSonuclariVer(SessionArg bil);
    DataSet YenilerVer2(qint32 carino);

    // How many commands have been prepared (one per method used).
    int preparedCommandCount() const { return int(m_commands.size()); }

private:
    struct Command;
    Command &command(const char *method);
    QJsonArray callValues(const char *method, const QByteArray &body, int expected);
    DataSet callTable(const char *method, const QByteArray &body);
    QByteArray callStream(const char *method, const QByteArray &body, qint64 &size);
    qint32 callInt(const char *method, const QByteArray &body);
    QString callText(const char *method, const QByteArray &body);
    template <typename R>
    const R *callRecord(const char *method, const QByteArray &body);

    ServerConnection &m_connection;
    QHash<QByteArray, std::shared_ptr<Command>> m_commands;
};

} // namespace kestro
