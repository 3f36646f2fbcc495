#include "fakeserver.h"

#include "bytestream.h"
#include "dataset.h"
#include "marshal.h"
#include "tablecodec.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <httplib.h>

#include <chrono>

using namespace kestro;

namespace {

QByteArray tableAnswer()
{
    DataSet t;
    t.addField(QStringLiteral("IDNO"), FieldType::Int32);
    t.addField(QStringLiteral("ADI"), FieldType::WideString);
    t.addField(QStringLiteral("TUTAR"), FieldType::Float);
    for (int i = 1; i <= 3; ++i) {
        const int r = t.appendRow();
        t.setValue(r, 0, i);
        t.setValue(r, 1, QStringLiteral("Satır %1").arg(i));
        t.setValue(r, 2, i * 10.5);
    }
    QByteArray out = "{\"result\":[";
    encodeTable(t, out);
    out += "]}";
    return out;
}

QByteArray result(const QJsonArray &values)
{
    QJsonObject o;
    o.insert(QStringLiteral("result"), values);
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

const QSet<QString> &tableMethods()
{
    static const QSet<QString> s = {
        "BakiyelerVer2", "BalonGetir", "CariAra", "CariEkstreVer", "CariSepetVer", "FaturaAltGetir",
        "FaturaGetir", "KampanyaliVer2", "KargolarVer", "KargoVer", "OncekiSiparisler",
        "RaporAlinanSiparisler", "RaporEnCokSatilanStoklar", "SepetVer2", "SiparisAyrintisi2",
        "StokAraGetirVosk", "StokHareketVer", "Tahsilat", "TeslimVer", "TumSiparislerVer", "YenilerVer2"};
    return s;
}

} // namespace

FakeServer::FakeServer(int port) : m_server(std::make_unique<httplib::Server>())
{
    m_server->set_tcp_nodelay(true);
    m_server->set_keep_alive_max_count(10000);
    m_server->Get("/datasnap/rest/DSAdmin/GetPlatformName", [this](const httplib::Request &, httplib::Response &res) {
        {
            QMutexLocker lock(&m_mutex);
            ++m_platformCalls;
        }
        res.set_content(R"({"result":["Fake"]})", "application/json");
    });
    m_server->Post(R"(/datasnap/rest/TServerMethods1/(?:%22|")?(\w+)(?:%22|")?)",
                   [this](const httplib::Request &req, httplib::Response &res) {
        const QString method = QString::fromStdString(req.matches[1]);
        const QJsonArray params = QJsonDocument::fromJson(QByteArray::fromStdString(req.body))
                                      .object().value(QStringLiteral("_parameters")).toArray();
        Fault fault;
        {
            QMutexLocker lock(&m_mutex);
            m_params[method] = params;
            ++m_calls[method];
            fault = m_faults.value(method, Fault::None);
        }
        switch (fault) {
        case Fault::Slow:
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
            break;
        case Fault::CloseMidAnswer: {
            auto body = std::make_shared<std::string>(R"({"result":[{"table":[["A",6)");
            res.set_content_provider(100000, "application/json",
                                     [body](size_t offset, size_t, httplib::DataSink &sink) {
                                         if (offset == 0)
                                             sink.write(body->data(), body->size());
                                         return offset == 0 ? true : false;
                                     });
            return;
        }
        case Fault::Malformed:
            res.set_content("{\"result\":[", "application/json");
            return;
        case Fault::HttpError:
            res.status = 500;
            res.set_content(R"({"error":"Sunucuda hata: kayıt bulunamadı"})", "application/json");
            return;
        default:
            break;
        }
        res.set_content(answer(method, params).toStdString(), "application/json");
    });
    if (port == 0)
        m_port = m_server->bind_to_any_port("127.0.0.1");
    else if (m_server->bind_to_port("127.0.0.1", port))
        m_port = port;
    m_thread = std::thread([this] { m_server->listen_after_bind(); });
    while (!m_server->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

FakeServer::~FakeServer()
{
    m_server->stop();
    if (m_thread.joinable())
        m_thread.join();
}

void FakeServer::setFault(const QString &method, Fault f)
{
    QMutexLocker lock(&m_mutex);
    m_faults[method] = f;
}

QJsonArray FakeServer::lastParameters(const QString &method) const
{
    QMutexLocker lock(&m_mutex);
    return m_params.value(method);
}

int FakeServer::callCount(const QString &method) const
{
    QMutexLocker lock(&m_mutex);
    return m_calls.value(method);
}

int FakeServer::platformNameCalls() const
{
    QMutexLocker lock(&m_mutex);
    return m_platformCalls;
}

QByteArray FakeServer::answer(const QString &method, const QJsonArray &params)
{
    Fault fault;
    {
        QMutexLocker lock(&m_mutex);
        fault = m_faults.value(method, Fault::None);
    }
    if (tableMethods().contains(method))
        return tableAnswer();
    if (method == "BannerResimVer" || method == "BannerResimVer2" || method == "BannerResimVer3"
        || method == "RaporGetir" || method == "SAnalPosPdfVer") {
        QByteArray bytes(3000, 'P');
        const qint64 announced = fault == Fault::ShortStream ? 4096 : bytes.size();
        return result({double(announced), streamToJson(bytes)});
    }
    if (method == "BuyukGetir") {
        if (fault == Fault::WrongRecord) {
            TTusSonuclari t;
            return result({toJson(&t)});
        }
        if (params.at(0).toString() == QLatin1String("UNKNOWN"))
            return result({QJsonValue(QJsonValue::Null)});
        TSonucBilgisi s;
        s.setBILGISAYARID(params.at(0).toString());
        s.setADI(QStringLiteral("BAYI"));
        s.setVarmi(true);
        s.setMusteriTipi(3);
        s.setVersion(2);
        return result({toJson(&s)});
    }
    if (method == "SiparisAytintisiDip") {
        TSiparisDipAyrinti d;
        d.setDurumu(QStringLiteral("Onaylandı %1").arg(params.at(1).toInt()));
        return result({toJson(&d)});
    }
    if (method == "TusSonuclariVer") {
        TTusSonuclari t;
        t.setAlindi(4);
        return result({toJson(&t)});
    }
    if (method == "MobilCariBilgisiGetir") {
        TMobilCariBilgisi c;
        c.setCARIADI(QStringLiteral("Öz Oto"));
        return result({toJson(&c)});
    }
    if (method == "AcilisREklamVer") {
        TAcilisEkran e;
        e.setSiraNo(params.at(0).toInt());
        return result({toJson(&e)});
    }
    if (method == "AcilisEkranlarVer2") {
        TAcilisEkranlariki l;
        l.setEkranlar({TAcilisEkran{}, TAcilisEkran{}});
        return result({toJson(&l)});
    }
    if (method == "CariDurumVer" || method == "CariVadeGunGecmismiBul" || method == "KayanYaziGetir")
        return result({QStringLiteral("metin: %1").arg(method)});
    if (method == "SepetSecimGuncelle")
        return result({});
    if (method == "SiparisKaydet")
        return result({true});
    return result({params.size()}); // the int32 methods answer their argument count
}
