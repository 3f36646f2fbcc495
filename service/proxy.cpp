#include "proxy.h"

#include "bytestream.h"
#include "connection.h"
#include "marshal.h"
#include "tablecodec.h"

#include <QBuffer>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>

namespace kestro {

// A prepared server-method command: its address, and the record it last returned.
struct TServerMethods1Client::Command
{
    QString method;
    std::shared_ptr<void> record;
};

namespace {

// Request bodies are written as text, so records keep their field order.
void arg(QByteArray &out, qint32 v) { out += QByteArray::number(v); }
void arg(QByteArray &out, double v) { appendJsonNumber(out, v); }
void arg(QByteArray &out, const QString &v) { appendJsonString(out, v); }
void arg(QByteArray &out, const SessionArg &v) { appendRecordJson(out, v.get()); }

template <typename... A>
QByteArray params(const A &...a)
{
    QByteArray out = "{\"_parameters\":[";
    bool first = true;
    auto one = [&](const auto &v) {
        if (!first)
            out += ',';
        first = false;
        arg(out, v);
    };
    (one(a), ...);
    out += "]}";
    return out;
}

const QByteArray noParameters = "{\"_parameters\":[]}";

[[noreturn]] void badAnswer(const char *method)
{
    throw ServerError(QStringLiteral("Sunucunun %1 yanıtı beklenen biçimde değil").arg(QLatin1String(method)));
}

qint32 toInt32(const QJsonValue &v, const char *method)
{
    const double d = v.toDouble(std::numeric_limits<double>::quiet_NaN());
    if (!v.isDouble() || d != std::floor(d) || d < std::numeric_limits<qint32>::min()
        || d > std::numeric_limits<qint32>::max())
        badAnswer(method);
    return qint32(d);
}

qint64 toInt64(const QJsonValue &v, const char *method)
{
    const double d = v.toDouble(std::numeric_limits<double>::quiet_NaN());
    if (!v.isDouble() || d != std::floor(d) || std::fabs(d) > 9.0e15)
        badAnswer(method);
    return qint64(d);
}

} // namespace

TServerMethods1Client::TServerMethods1Client(ServerConnection &connection) : m_connection(connection) {}

TServerMethods1Client::~TServerMethods1Client() = default;

TServerMethods1Client::Command &TServerMethods1Client::command(const char *method)
{
    auto &slot = m_commands[QByteArray(method)];
    if (!slot) {
        slot = std::make_shared<Command>();
        slot->method = QString::fromLatin1(method);
    }
    return *slot;
}

QJsonArray TServerMethods1Client::callValues(const char *method, const QByteArray &body, int expected)
{
    const QByteArray answer = m_connection.call(command(method).method, body);
    QJsonParseError pe{};
    const QJsonDocument doc = QJsonDocument::fromJson(answer, &pe);
    if (pe.error != QJsonParseError::NoError || !doc.isObject())
        throw ServerError(QStringLiteral("Sunucu yanıtı çözülemedi (%1)").arg(QLatin1String(method)));
    const QJsonObject o = doc.object();
    if (o.contains(QStringLiteral("error")))
        throw ServerError(o.value(QStringLiteral("error")).toString());
    const QJsonValue result = o.value(QStringLiteral("result"));
    if (!result.isArray() || result.toArray().size() != expected)
        badAnswer(method);
    return result.toArray();
}

DataSet TServerMethods1Client::callTable(const char *method, const QByteArray &body)
{
    command(method);
    const QByteArray answer = m_connection.call(command(method).method, body);
    DataSet table;
    try {
        decodeTableAnswer(answer, table);
    } catch (const Error &e) {
        throw ServerError(e.text());
    }
    return table;
}

QByteArray TServerMethods1Client::callStream(const char *method, const QByteArray &body, qint64 &size)
{
    const QJsonArray r = callValues(method, body, 2);
    size = toInt64(r.at(0), method);
    QByteArray bytes;
    try {
        bytes = streamFromJson(r.at(1));
    } catch (const Error &e) {
        throw ServerError(e.text());
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return readStreamBlocks(buffer, size);
}

qint32 TServerMethods1Client::callInt(const char *method, const QByteArray &body)
{
    return toInt32(callValues(method, body, 1).at(0), method);
}

QString TServerMethods1Client::callText(const char *method, const QByteArray &body)
{
    const QJsonValue v = callValues(method, body, 1).at(0);
    if (v.isNull())
        return {};
    if (!v.isString())
        badAnswer(method);
    return v.toString();
}

template <typename R>
const R *TServerMethods1Client::callRecord(const char *method, const QByteArray &body)
{
    Command &cmd = command(method);
    cmd.record.reset(); // the previous result dies with the next call
    const QJsonValue v = callValues(method, body, 1).at(0);
    std::unique_ptr<R> r;
    try {
        r = fromJson<R>(v);
    } catch (const Error &e) {
        throw ServerError(e.text());
    }
    const R *raw = r.get();
    cmd.record = std::shared_ptr<R>(std::move(r));
    return raw;
}

const TAcilisEkranlariki *TServerMethods1Client::AcilisEkranlarVer2()
{
    return callRecord<TAcilisEkranlariki>("AcilisEkranlarVer2", noParameters);
}

qint32 TServerMethods1Client::AcilisReklamAdet() { return callInt("AcilisReklamAdet", noParameters); }

const TAcilisEkran *TServerMethods1Client::AcilisREklamVer(qint32 sira)
{
    return callRecord<TAcilisEkran>("AcilisREklamVer", params(sira));
}

qint32 TServerMethods1Client::BakiyeDegistir(SessionArg k, qint32 stokno, qint32 sepetsirano,
                                             qint32 siparissirano, double Adet, double Bakiye,
                                             const QString &barkod)
{
    return callInt("BakiyeDegistir", params(k, stokno, sepetsirano, siparissirano, Adet, Bakiye, barkod));
}

qint32 TServerMethods1Client::BakiyeDuzenle(SessionArg k, qint32 stokno, qint32 sepetsirano,
                                            qint32 siparissirano, double Adet, double Bakiye,
                                            const QString &barkod)
{
    return callInt("BakiyeDuzenle", params(k, stokno, sepetsirano, siparissirano, Adet, Bakiye, barkod));
}

qint32 TServerMethods1Client::BakiyeFiyatDegistir(SessionArg k, qint32 stokno, qint32 sepetsirano,
                                                  qint32 siparissirano, double Adet, double Bakiye,
                                                  const QString &barkod, double fiyat, double ind)
{
    return callInt("BakiyeFiyatDegistir",
                   params(k, stokno, sepetsirano, siparissirano, Adet, Bakiye, barkod, fiyat, ind));
}

DataSet TServerMethods1Client::BakiyelerVer2(qint32 carino) { return callTable("BakiyelerVer2", params(carino)); }
DataSet TServerMethods1Client::BalonGetir(SessionArg bil) { return callTable("BalonGetir", params(bil)); }

QByteArray TServerMethods1Client::BannerResimVer(qint64 &size) { return callStream("BannerResimVer", noParameters, size); }
QByteArray TServerMethods1Client::BannerResimVer2(qint64 &size) { return callStream("BannerResimVer2", noParameters, size); }
QByteArray TServerMethods1Client::BannerResimVer3(qint64 &size) { return callStream("BannerResimVer3", noParameters, size); }

const TSonucBilgisi *TServerMethods1Client::BuyukGetir(const QString &idsi)
{
    return callRecord<TSonucBilgisi>("BuyukGetir", params(idsi));
}

DataSet TServerMethods1Client::CariAra(SessionArg bil, const QString &aranan)
{
    return callTable("CariAra", params(bil, aranan));
}

QString TServerMethods1Client::CariDurumVer(qint32 carino) { return callText("CariDurumVer", params(carino)); }
DataSet TServerMethods1Client::CariEkstreVer(qint32 carino) { return callTable("CariEkstreVer", params(carino)); }
DataSet TServerMethods1Client::CariSepetVer(SessionArg bil, qint32 n) { return callTable("CariSepetVer", params(bil, n)); }

QString TServerMethods1Client::CariVadeGunGecmismiBul(qint32 carino)
{
    return callText("CariVadeGunGecmismiBul", params(carino));
}

qint32 TServerMethods1Client::EnVer(qint32 stokno) { return callInt("EnVer", params(stokno)); }
DataSet TServerMethods1Client::FaturaAltGetir(qint32 idnosu) { return callTable("FaturaAltGetir", params(idnosu)); }

DataSet TServerMethods1Client::FaturaGetir(qint32 carino, qint32 idnosu)
{
    return callTable("FaturaGetir", params(carino, idnosu));
}

DataSet TServerMethods1Client::KampanyaliVer2(qint32 cario, qint32 satici)
{
    return callTable("KampanyaliVer2", params(cario, satici));
}

DataSet TServerMethods1Client::KargolarVer(qint32 gn) { return callTable("KargolarVer", params(gn)); }
DataSet TServerMethods1Client::KargoVer() { return callTable("KargoVer", noParameters); }
QString TServerMethods1Client::KayanYaziGetir() { return callText("KayanYaziGetir", noParameters); }

qint32 TServerMethods1Client::MailGonserCari(const QString &idsi, const QString &baslik, const QString &firmaadi,
                                             const QString &adres1, const QString &adres2, const QString &ilce,
                                             const QString &sehir, const QString &telefon, const QString &fax,
                                             const QString &vd, const QString &vn, const QString &yetkili,
                                             const QString &kullaniciadi, const QString &sifre,
                                             const QString &mail, const QString &kargoambar)
{
    return callInt("MailGonserCari", params(idsi, baslik, firmaadi, adres1, adres2, ilce, sehir, telefon, fax,
                                            vd, vn, yetkili, kullaniciadi, sifre, mail, kargoambar));
}

qint32 TServerMethods1Client::MailGonserCariNormal(const QString &idsi, const QString &baslik,
                                                   const QString &firmaadi, const QString &adres1,
                                                   const QString &adres2, const QString &ilce,
                                                   const QString &sehir, const QString &telefon,
                                                   const QString &fax, const QString &vd, const QString &vn,
                                                   const QString &yetkili, const QString &kullaniciadi,
                                                   const QString &sifre, const QString &mail,
                                                   const QString &kargoambar, const QString &konu)
{
    return callInt("MailGonserCariNormal", params(idsi, baslik, firmaadi, adres1, adres2, ilce, sehir, telefon,
                                                  fax, vd, vn, yetkili, kullaniciadi, sifre, mail, kargoambar,
                                                  konu));
}

const TMobilCariBilgisi *TServerMethods1Client::MobilCariBilgisiGetir(qint32 sirano, const QString &_idsi)
{
    return callRecord<TMobilCariBilgisi>("MobilCariBilgisiGetir", params(sirano, _idsi));
}

DataSet TServerMethods1Client::OncekiSiparisler(qint32 carino) { return callTable("OncekiSiparisler", params(carino)); }

DataSet TServerMethods1Client::RaporAlinanSiparisler(SessionArg bilgi, double tarih1, double tarih2)
{
    return callTable("RaporAlinanSiparisler", params(bilgi, tarih1, tarih2));
}

DataSet TServerMethods1Client::RaporEnCokSatilanStoklar(SessionArg bilgi, double tarih1, double tarih2)
{
    return callTable("RaporEnCokSatilanStoklar", params(bilgi, tarih1, tarih2));
}

QByteArray TServerMethods1Client::RaporGetir(qint32 raporno, qint32 bolum, qint32 idno, qint32 carino,
                                             const QString &saticiadi, double tarih1, double tarih2,
                                             qint64 &size)
{
    return callStream("RaporGetir", params(raporno, bolum, idno, carino, saticiadi, tarih1, tarih2), size);
}

QByteArray TServerMethods1Client::SAnalPosPdfVer(qint32 sirano, qint64 &boy)
{
    return callStream("SAnalPosPdfVer", params(sirano), boy);
}

qint32 TServerMethods1Client::SanalposSiranoVer(qint32 idnosu) { return callInt("SanalposSiranoVer", params(idnosu)); }

qint32 TServerMethods1Client::SepetEkle2(SessionArg bilgim, qint32 carino, qint32 stokno, const QString &barkod,
                                         const QString &stokadi, double miktar, double kdv, double fiyat,
                                         double ind1, qint32 verenid, qint32 k, double ind2, double ind3,
                                         double ind4)
{
    return callInt("SepetEkle2", params(bilgim, carino, stokno, barkod, stokadi, miktar, kdv, fiyat, ind1, verenid,
                                        k, ind2, ind3, ind4));
}

qint32 TServerMethods1Client::SepetGuncelle2(SessionArg bilgim, qint32 carino, qint32 stokno,
                                             const QString &barkod, const QString &stokadi, double miktar,
                                             double kdv, double fiyat, double ind1, qint32 verenid,
                                             qint32 _sepetsirano, double ind2, double ind3, double ind4)
{
    return callInt("SepetGuncelle2", params(bilgim, carino, stokno, barkod, stokadi, miktar, kdv, fiyat, ind1,
                                            verenid, _sepetsirano, ind2, ind3, ind4));
}

qint32 TServerMethods1Client::SepetHepsiniSil(SessionArg bilgi) { return callInt("SepetHepsiniSil", params(bilgi)); }

qint32 TServerMethods1Client::SepetSatirSil(SessionArg bilgi, qint32 satirno, const QString &aciklamam)
{
    return callInt("SepetSatirSil", params(bilgi, satirno, aciklamam));
}

qint32 TServerMethods1Client::SepetSayisi(SessionArg bil) { return callInt("SepetSayisi", params(bil)); }

void TServerMethods1Client::SepetSecimGuncelle(qint32 sirano, qint32 secim)
{
    callValues("SepetSecimGuncelle", params(sirano, secim), 0);
}

DataSet TServerMethods1Client::SepetVer2(qint32 carino) { return callTable("SepetVer2", params(carino)); }

DataSet TServerMethods1Client::SiparisAyrintisi2(qint32 carino, qint32 idnosu)
{
    return callTable("SiparisAyrintisi2", params(carino, idnosu));
}

const TSiparisDipAyrinti *TServerMethods1Client::SiparisAytintisiDip(qint32 carino, qint32 siranosu)
{
    return callRecord<TSiparisDipAyrinti>("SiparisAytintisiDip", params(carino, siranosu));
}

bool TServerMethods1Client::SiparisKaydet(SessionArg BB, qint32 _carino, qint32 _teslim, qint32 _kargo,
                                          const QString &_aciklama, qint32 _verenid, qint32 _kargoyeni)
{
    const QJsonValue v = callValues("SiparisKaydet",
                                    params(BB, _carino, _teslim, _kargo, _aciklama, _verenid, _kargoyeni), 1)
                             .at(0);
    if (!v.isBool())
        badAnswer("SiparisKaydet");
    return v.toBool();
}

DataSet TServerMethods1Client::StokAraGetirVosk(const QString &kod, SessionArg bilgi)
{
    return callTable("StokAraGetirVosk", params(kod, bilgi));
}

DataSet TServerMethods1Client::StokHareketVer(qint32 carino, qint32 stokno)
{
    return callTable("StokHareketVer", params(carino, stokno));
}

DataSet TServerMethods1Client::Tahsilat(qint32 idnosu) { return callTable("Tahsilat", params(idnosu)); }
DataSet TServerMethods1Client::TeslimVer() { return callTable("TeslimVer", noParameters); }

DataSet TServerMethods1Client::TumSiparislerVer(qint32 carino, qint32 stokno)
{
    return callTable("TumSiparislerVer", params(carino, stokno));
}

const TTusSonuclari *TServerMethods1Client::TusSonuclariVer(SessionArg bil)
{
    return callRecord<TTusSonuclari>("TusSonuclariVer", params(bil));
}

DataSet TServerMethods1Client::YenilerVer2(qint32 carino) { return callTable("YenilerVer2", params(carino)); }

} // namespace kestro
