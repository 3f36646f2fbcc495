// The proxy and the connection against a loopback stand-in server.
#include "connection.h"
#include "errors.h"
#include "fakeserver.h"
#include "proxy.h"

#include <QTcpServer>
#include <QtTest>

#include <functional>

using namespace kestro;

namespace {

SessionArg session()
{
    auto s = std::make_unique<TSonucBilgisi>();
    s->setCARINO(120);
    s->setADI(QStringLiteral("BAYI"));
    return s;
}

int deadPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort(); // closed again when probe goes
}

} // namespace

class TestProxy : public QObject
{
    Q_OBJECT

    std::unique_ptr<FakeServer> server;

    std::unique_ptr<ServerConnection> connection()
    {
        auto c = std::make_unique<ServerConnection>();
        c->HostName = QStringLiteral("127.0.0.1");
        c->Port = QString::number(server->port());
        c->responseTimeoutMs = 800;
        c->open();
        return c;
    }

private slots:
    void init() { server = std::make_unique<FakeServer>(); }
    void cleanup() { server.reset(); }

    void connectionParametersAndClone()
    {
        ServerConnection c;
        QCOMPARE(c.ConnectionName, QStringLiteral("DataSnapCONNECTION"));
        QCOMPARE(c.DriverName, QStringLiteral("DataSnap"));
        QCOMPARE(c.Port, QStringLiteral("9090"));
        QCOMPARE(c.CommunicationProtocol, QStringLiteral("tcp/ip"));
        QCOMPARE(c.DatasnapContext, QStringLiteral("datasnap/"));
        QCOMPARE(c.Filters, QStringLiteral("{}"));
        QCOMPARE(c.DSProxyPort, QStringLiteral("8090"));
        QVERIFY(!c.LoginPrompt);
        c.HostName = QStringLiteral("127.0.0.1");
        c.Port = QString::number(server->port());
        c.open();
        QVERIFY(c.connected());
        QCOMPARE(server->platformNameCalls(), 1);
        auto copy = c.clone();
        QCOMPARE(copy->Port, c.Port);
        QCOMPARE(copy->HostName, c.HostName);
        QVERIFY(!copy->connected());
        c.close();
        QVERIFY(!c.connected());
    }

    void allMethodsAnswerWithTheirKind()
    {
        auto c = connection();
        TServerMethods1Client p(*c);
        qint64 size = 0;
        // Each entry: method, the call, the number of parameters it must send.
        const QList<std::tuple<QString, std::function<void()>, int>> calls = {
            {"AcilisEkranlarVer2", [&] { QCOMPARE(p.AcilisEkranlarVer2()->Ekranlar().size(), 2); }, 0},
            {"AcilisReklamAdet", [&] { QCOMPARE(p.AcilisReklamAdet(), 0); }, 0},
            {"AcilisREklamVer", [&] { QCOMPARE(p.AcilisREklamVer(3)->SiraNo(), 3); }, 1},
            {"BakiyeDegistir", [&] { QCOMPARE(p.BakiyeDegistir(session(), 1, 2, 3, 4, 5, "B"), 7); }, 7},
            {"BakiyeDuzenle", [&] { QCOMPARE(p.BakiyeDuzenle(session(), 1, 2, 3, 4, 5, "B"), 7); }, 7},
            {"BakiyeFiyatDegistir", [&] { QCOMPARE(p.BakiyeFiyatDegistir(session(), 1, 2, 3, 4, 5, "B", 6, 7), 9); }, 9},
            {"BakiyelerVer2", [&] { QCOMPARE(p.BakiyelerVer2(120).rowCount(), 3); }, 1},
            {"BalonGetir", [&] { QCOMPARE(p.BalonGetir(session()).rowCount(), 3); }, 1},
            {"BannerResimVer", [&] { QCOMPARE(p.BannerResimVer(size).size(), 3000); }, 0},
            {"BannerResimVer2", [&] { QCOMPARE(p.BannerResimVer2(size).size(), 3000); }, 0},
            {"BannerResimVer3", [&] { QCOMPARE(p.BannerResimVer3(size).size(), 3000); QCOMPARE(size, 3000); }, 0},
            {"BuyukGetir", [&] { QCOMPARE(p.BuyukGetir("ID-1")->BILGISAYARID(), QStringLiteral("ID-1")); }, 1},
            {"CariAra", [&] { QCOMPARE(p.CariAra(session(), "öz").rowCount(), 3); }, 2},
            {"CariDurumVer", [&] { QCOMPARE(p.CariDurumVer(1), QStringLiteral("metin: CariDurumVer")); }, 1},
            {"CariEkstreVer", [&] { QCOMPARE(p.CariEkstreVer(1).rowCount(), 3); }, 1},
            {"CariSepetVer", [&] { QCOMPARE(p.CariSepetVer(session(), 2).rowCount(), 3); }, 2},
            {"CariVadeGunGecmismiBul", [&] { QVERIFY(!p.CariVadeGunGecmismiBul(1).isEmpty()); }, 1},
            {"EnVer", [&] { QCOMPARE(p.EnVer(5), 1); }, 1},
            {"FaturaAltGetir", [&] { QCOMPARE(p.FaturaAltGetir(1).rowCount(), 3); }, 1},
            {"FaturaGetir", [&] { QCOMPARE(p.FaturaGetir(1, 2).rowCount(), 3); }, 2},
            {"KampanyaliVer2", [&] { QCOMPARE(p.KampanyaliVer2(1, 3).rowCount(), 3); }, 2},
            {"KargolarVer", [&] { QCOMPARE(p.KargolarVer(1).rowCount(), 3); }, 1},
            {"KargoVer", [&] { QCOMPARE(p.KargoVer().rowCount(), 3); }, 0},
            {"KayanYaziGetir", [&] { QVERIFY(!p.KayanYaziGetir().isEmpty()); }, 0},
            {"MailGonserCari", [&] { QCOMPARE(p.MailGonserCari("1","2","3","4","5","6","7","8","9","10","11","12","13","14","15","16"), 16); }, 16},
            {"MailGonserCariNormal", [&] { QCOMPARE(p.MailGonserCariNormal("1","2","3","4","5","6","7","8","9","10","11","12","13","14","15","16","17"), 17); }, 17},
            {"MobilCariBilgisiGetir", [&] { QCOMPARE(p.MobilCariBilgisiGetir(1, "X")->CARIADI(), QStringLiteral("Öz Oto")); }, 2},
            {"OncekiSiparisler", [&] { QCOMPARE(p.OncekiSiparisler(1).rowCount(), 3); }, 1},
            {"RaporAlinanSiparisler", [&] { QCOMPARE(p.RaporAlinanSiparisler(session(), 46000.0, 46030.5).rowCount(), 3); }, 3},
            {"RaporEnCokSatilanStoklar", [&] { QCOMPARE(p.RaporEnCokSatilanStoklar(session(), 1, 2).rowCount(), 3); }, 3},
            {"RaporGetir", [&] { QCOMPARE(p.RaporGetir(6, 1, 2, 3, "Ali", 1, 2, size).size(), 3000); }, 7},
            {"SAnalPosPdfVer", [&] { QCOMPARE(p.SAnalPosPdfVer(5, size).size(), 3000); }, 1},
            {"SanalposSiranoVer", [&] { QCOMPARE(p.SanalposSiranoVer(5), 1); }, 1},
            {"SepetEkle2", [&] { QCOMPARE(p.SepetEkle2(session(), 1, 2, "B", "S", 1, 20, 10, 0, 7, 0, 0, 0, 0), 14); }, 14},
            {"SepetGuncelle2", [&] { QCOMPARE(p.SepetGuncelle2(session(), 1, 2, "B", "S", 1, 20, 10, 0, 7, 9, 0, 0, 0), 14); }, 14},
            {"SepetHepsiniSil", [&] { QCOMPARE(p.SepetHepsiniSil(session()), 1); }, 1},
            {"SepetSatirSil", [&] { QCOMPARE(p.SepetSatirSil(session(), 4, "x"), 3); }, 3},
            {"SepetSayisi", [&] { QCOMPARE(p.SepetSayisi(session()), 1); }, 1},
            {"SepetSecimGuncelle", [&] { p.SepetSecimGuncelle(4, 1); }, 2},
            {"SepetVer2", [&] { QCOMPARE(p.SepetVer2(1).rowCount(), 3); }, 1},
            {"SiparisAyrintisi2", [&] { QCOMPARE(p.SiparisAyrintisi2(1, 2).rowCount(), 3); }, 2},
            {"SiparisAytintisiDip", [&] { QCOMPARE(p.SiparisAytintisiDip(1, 8)->Durumu(), QStringLiteral("Onaylandı 8")); }, 2},
            {"SiparisKaydet", [&] { QVERIFY(p.SiparisKaydet(session(), 1, 2, 3, "not", 7, 0)); }, 7},
            {"StokAraGetirVosk", [&] { QCOMPARE(p.StokAraGetirVosk("FİLTRE", session()).rowCount(), 3); }, 2},
            {"StokHareketVer", [&] { QCOMPARE(p.StokHareketVer(1, 2).rowCount(), 3); }, 2},
            {"Tahsilat", [&] { QCOMPARE(p.Tahsilat(1).rowCount(), 3); }, 1},
            {"TeslimVer", [&] { QCOMPARE(p.TeslimVer().rowCount(), 3); }, 0},
            {"TumSiparislerVer", [&] { QCOMPARE(p.TumSiparislerVer(1, 0).rowCount(), 3); }, 2},
            {"TusSonuclariVer", [&] { QCOMPARE(p.TusSonuclariVer(session())->Alindi(), 4); }, 1},
            {"YenilerVer2", [&] { QCOMPARE(p.YenilerVer2(1).rowCount(), 3); }, 1},
        };
        QCOMPARE(calls.size(), 50);
        for (const auto &[method, call, paramCount] : calls) {
            try {
                call();
            } catch (const Error &e) {
                QFAIL(qPrintable(method + QStringLiteral(": ") + e.text()));
            }
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(method));
            QCOMPARE(server->callCount(method), 1);
            QCOMPARE(server->lastParameters(method).size(), paramCount);
        }
        QCOMPARE(p.preparedCommandCount(), 50);
        // The session record travels marshalled, the date as days since 1899-12-30.
        const QJsonArray rp = server->lastParameters("RaporAlinanSiparisler");
        QCOMPARE(rp.at(0).toObject().value("type").toString(), QStringLiteral("baglantiu.TSonucBilgisi"));
        QCOMPARE(rp.at(0).toObject().value("fields").toObject().value("FCARINO").toInt(), 120);
        QCOMPARE(rp.at(2).toDouble(), 46030.5);
        QCOMPARE(server->lastParameters("StokAraGetirVosk").at(0).toString(), QStringLiteral("FİLTRE"));
    }

    void missingSessionTravelsAsNull()
    {
        auto c = connection();
        TServerMethods1Client p(*c);
        p.SepetSayisi(nullptr);
        QVERIFY(server->lastParameters("SepetSayisi").at(0).isNull());
    }

    void oneCommandPerMethodAndRecordsOwnedByIt()
    {
        auto c = connection();
        TServerMethods1Client p(*c);
        const TSiparisDipAyrinti *first = p.SiparisAytintisiDip(1, 1);
        TSiparisDipAyrinti copy;
        copy.Kopyala(*first);
        const TSiparisDipAyrinti *second = p.SiparisAytintisiDip(1, 2);
        QCOMPARE(p.preparedCommandCount(), 1);
        QCOMPARE(copy.Durumu(), QStringLiteral("Onaylandı 1"));
        QCOMPARE(second->Durumu(), QStringLiteral("Onaylandı 2"));
        QCOMPARE(server->platformNameCalls(), 1); // both calls on the one open session
    }

    void nullRecordResultIsMissing()
    {
        auto c = connection();
        TServerMethods1Client p(*c);
        QVERIFY(p.BuyukGetir("UNKNOWN") == nullptr);
    }

    void faultsRaiseOneClearError_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("textPart");
        QTest::newRow("slow answer") << "EnVer" << int(FakeServer::Fault::Slow) << "zamanında";
        QTest::newRow("closes mid-answer") << "SepetVer2" << int(FakeServer::Fault::CloseMidAnswer) << "kesildi";
        QTest::newRow("malformed json") << "EnVer" << int(FakeServer::Fault::Malformed) << "çözülemedi";
        QTest::newRow("malformed table") << "SepetVer2" << int(FakeServer::Fault::Malformed) << "bozuk";
        QTest::newRow("record of wrong type") << "BuyukGetir" << int(FakeServer::Fault::WrongRecord) << "TSonucBilgisi";
        QTest::newRow("server error text") << "EnVer" << int(FakeServer::Fault::HttpError) << "kayıt bulunamadı";
    }

    void faultsRaiseOneClearError()
    {
        QFETCH(QString, method);
        QFETCH(int, fault);
        QFETCH(QString, textPart);
        server->setFault(method, FakeServer::Fault(fault));
        auto c = connection();
        TServerMethods1Client p(*c);
        try {
            if (method == "EnVer")
                p.EnVer(1);
            else if (method == "SepetVer2")
                p.SepetVer2(1);
            else
                p.BuyukGetir("X");
            QFAIL("no error raised");
        } catch (const ServerError &e) {
            QVERIFY2(e.text().contains(textPart), qPrintable(e.text()));
        }
    }

    void shortStreamIsDropped()
    {
        server->setFault("BannerResimVer", FakeServer::Fault::ShortStream);
        auto c = connection();
        TServerMethods1Client p(*c);
        qint64 size = 0;
        QVERIFY(p.BannerResimVer(size).isEmpty());
        QCOMPARE(size, 4096);
    }

    void openFailsClearlyOnDeadPort()
    {
        ServerConnection c;
        c.HostName = QStringLiteral("127.0.0.1");
        c.Port = QString::number(deadPort());
        try {
            c.open();
            QFAIL("opened a dead port");
        } catch (const ServerError &e) {
            QVERIFY2(e.text().contains(QStringLiteral("bağlanılamadı")), qPrintable(e.text()));
        }
        QVERIFY(!c.connected());
    }
};

QTEST_GUILESS_MAIN(TestProxy)
#include "tst_proxy.moc"
