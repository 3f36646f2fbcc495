// Records in their JSON reflection form, both ways, against hand-written JSON.
#include "marshal.h"

#include <QJsonDocument>
#include <QtTest>

using namespace kestro;

namespace {

QJsonValue parse(const char *json)
{
    return QJsonDocument::fromJson(QByteArray(json)).object().value(QStringLiteral("v"));
}

} // namespace

class TestRecords : public QObject
{
    Q_OBJECT
private slots:
    void sessionRecordDefaults()
    {
        TSonucBilgisi s;
        QCOMPARE(s.MusteriTipi(), 1);
        QCOMPARE(s.Version(), 1);
        QCOMPARE(s.Varmi(), false);
        QCOMPARE(s.CARINO(), 0);
        QVERIFY(s.ADI().isEmpty());
    }

    void kopyalaCopiesEveryFieldAndStaysIndependent()
    {
        TSonucBilgisi a;
        a.setMusteriTipi(3);
        a.setVersion(2);
        a.setADI(QStringLiteral("BAYİ"));
        a.setVarmi(true);
        a.setCARINO(120);
        a.setDisip(QStringLiteral("10.0.0.1"));
        TSonucBilgisi b;
        b.Kopyala(a);
        QVERIFY(b == a);
        QCOMPARE(b.MusteriTipi(), 3);
        QCOMPARE(b.Version(), 2);
        a.setADI(QStringLiteral("X"));
        QCOMPARE(b.ADI(), QStringLiteral("BAYİ"));
    }

    void sessionRecordFromHandWrittenJson()
    {
        const QJsonValue v = parse(R"({"v":{"type":"baglantiu.TSonucBilgisi","id":1,"fields":{
            "FBILGISAYARID":"WD-WX41A5","FSaticiMail":"s@k.com","FSirano":7,"FCariAdi":"Öz Oto",
            "FSIFRE":"1234","FSaticiNo":3,"FCARINO":120,"FAKTIF":1,"FKullanicimail":"u@k.com",
            "FADI":"BAYI","FSaticiTelefon":"555","Fcarikod":"120.01","FVarmi":true,"FSaticiAdi":"Ali",
            "FBilgiSayarAdi":"PC1","FDisip":"1.2.3.4","FIcip":"10.0.0.2","FBilgisayarKullanici":"ali",
            "FMusteriTipi":3,"FVersion":2}}})");
        const auto s = fromJson<TSonucBilgisi>(v);
        QVERIFY(s);
        QCOMPARE(s->BILGISAYARID(), QStringLiteral("WD-WX41A5"));
        QCOMPARE(s->CariAdi(), QStringLiteral("Öz Oto"));
        QCOMPARE(s->CARINO(), 120);
        QCOMPARE(s->Varmi(), true);
        QCOMPARE(s->carikod(), QStringLiteral("120.01"));
        QCOMPARE(s->MusteriTipi(), 3);
        QCOMPARE(s->Version(), 2);

        // And back: the same type, id and every field in declaration order.
        const QJsonObject o = toJson(s.get()).toObject();
        QCOMPARE(o.value("type").toString(), QStringLiteral("baglantiu.TSonucBilgisi"));
        QCOMPARE(o.value("id").toInt(), 1);
        QCOMPARE(o.value("fields").toObject().size(), 20);
        auto back = fromJson<TSonucBilgisi>(o);
        QVERIFY(*back == *s);
    }

    void fieldOrderIsDeclarationOrder()
    {
        // QJsonObject sorts keys, so the order is checked on the visitor directly.
        QStringList names;
        TSonucBilgisi s;
        s.visitFields([&](const char *n, const auto &) { names << QLatin1String(n); });
        QCOMPARE(names.first(), QStringLiteral("FBILGISAYARID"));
        QCOMPARE(names.at(2), QStringLiteral("FSirano"));
        QCOMPARE(names.at(11), QStringLiteral("Fcarikod"));
        QCOMPARE(names.last(), QStringLiteral("FVersion"));
        QCOMPARE(names.size(), 20);
    }

    void otherRecordsRoundTrip()
    {
        const auto dip = fromJson<TSiparisDipAyrinti>(parse(R"({"v":{"type":"baglantiu.TSiparisDipAyrinti","id":1,
            "fields":{"FSizinMesaj":"acil","FDurumu":"Onaylandı","FVeren":"BAYI","FKargo":"Yurtiçi",
            "FBizimMesaj":"","FTeslimCinsi":"Kargo","FKargoCinsi":"Alıcı Ödemeli","FSaticiNotu":"not"}}})"));
        QCOMPARE(dip->Durumu(), QStringLiteral("Onaylandı"));
        QCOMPARE(dip->KargoCinsi(), QStringLiteral("Alıcı Ödemeli"));
        QVERIFY(*fromJson<TSiparisDipAyrinti>(toJson(dip.get())) == *dip);

        const auto tus = fromJson<TTusSonuclari>(parse(R"({"v":{"type":"baglantiu.TTusSonuclari","id":1,
            "fields":{"FAlindi":4,"FOnaylandi":3,"FParcaliHazirlandi":2,"FSevkEdildi":1,"FHazirlandi":5,"FGoruldu":6}}})"));
        QCOMPARE(tus->Alindi(), 4);
        QCOMPARE(tus->Goruldu(), 6);
        QVERIFY(*fromJson<TTusSonuclari>(toJson(tus.get())) == *tus);

        const auto cari = fromJson<TMobilCariBilgisi>(parse(R"({"v":{"type":"mobilstokunit.TMobilCariBilgisi","id":1,
            "fields":{"FCARIADI":"Öz Oto","FTLBORC":1500.25,"FTLALACAK":250.5,"FCARINO":120,"FTLBAKIYE":1249.75,"FILCE":"Çankaya"}}})"));
        QCOMPARE(cari->CARIADI(), QStringLiteral("Öz Oto"));
        QCOMPARE(cari->TLBAKIYE(), 1249.75);
        QCOMPARE(cari->ILCE(), QStringLiteral("Çankaya"));
        QVERIFY(cari->SEHIR().isEmpty()); // missing fields keep their defaults
        QVERIFY(*fromJson<TMobilCariBilgisi>(toJson(cari.get())) == *cari);
    }

    void announcementListWithNestedRecords()
    {
        const auto list = fromJson<TAcilisEkranlariki>(parse(R"({"v":{"type":"mobilstokunit.TAcilisEkranlariki","id":1,
            "fields":{"FEkranlar":[
              {"type":"mobilstokunit.TAcilisEkran","id":2,"fields":{"FSiraNo":1,"FResim":"FFD8","FBaslik":"Kampanya","FArama":"KAMPANYA"}},
              {"type":"mobilstokunit.TAcilisEkran","id":3,"fields":{"FSiraNo":2,"FResim":"","FBaslik":"Yeni","FArama":"YENİ"}}]}}})"));
        QCOMPARE(list->Ekranlar().size(), 2);
        QCOMPARE(list->Ekranlar().at(1).Arama(), QStringLiteral("YENİ"));
        const QJsonObject o = toJson(list.get()).toObject();
        const QJsonArray items = o.value("fields").toObject().value("FEkranlar").toArray();
        QCOMPARE(items.at(0).toObject().value("id").toInt(), 2); // ids number the objects of one value
        QCOMPARE(items.at(1).toObject().value("id").toInt(), 3);
        QVERIFY(*fromJson<TAcilisEkranlariki>(o) == *list);
    }

    void writtenTextKeepsDeclarationOrder()
    {
        TSonucBilgisi s;
        s.setADI(QStringLiteral("BAYİ \"1\""));
        QByteArray text;
        appendRecordJson(text, &s);
        QVERIFY(text.startsWith(R"({"type":"baglantiu.TSonucBilgisi","id":1,"fields":{"FBILGISAYARID":"","FSaticiMail":"",)"));
        QVERIFY(text.indexOf("\"FMusteriTipi\":1") < text.indexOf("\"FVersion\":1"));
        const auto back = fromJson<TSonucBilgisi>(QJsonDocument::fromJson("{\"v\":" + text + "}").object().value("v"));
        QVERIFY(back && *back == s);
        TAcilisEkranlariki list;
        list.setEkranlar({TAcilisEkran{}, TAcilisEkran{}});
        QByteArray nested;
        appendRecordJson(nested, &list);
        QVERIFY(nested.contains(R"("FEkranlar":[{"type":"mobilstokunit.TAcilisEkran","id":2,)"));
        QVERIFY(nested.contains(R"({"type":"mobilstokunit.TAcilisEkran","id":3,)"));
        QByteArray none;
        appendRecordJson<TSonucBilgisi>(none, nullptr);
        QCOMPARE(none, QByteArray("null"));
    }

    void nullIsMissingRecordBothWays()
    {
        QVERIFY(toJson<TSonucBilgisi>(nullptr).isNull());
        QVERIFY(!fromJson<TSonucBilgisi>(QJsonValue(QJsonValue::Null)));
    }

    void wrongInputRaises_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("wrong type") << QByteArray(R"({"v":{"type":"baglantiu.TTusSonuclari","id":1,"fields":{}}})");
        QTest::newRow("no fields") << QByteArray(R"({"v":{"type":"baglantiu.TSonucBilgisi","id":1}})");
        QTest::newRow("not an object") << QByteArray(R"({"v":[1,2]})");
        QTest::newRow("text for int") << QByteArray(R"({"v":{"type":"baglantiu.TSonucBilgisi","id":1,"fields":{"FCARINO":"12"}}})");
        QTest::newRow("fraction for int") << QByteArray(R"({"v":{"type":"baglantiu.TSonucBilgisi","id":1,"fields":{"FCARINO":1.5}}})");
        QTest::newRow("int out of range") << QByteArray(R"({"v":{"type":"baglantiu.TSonucBilgisi","id":1,"fields":{"FCARINO":3000000000}}})");
        QTest::newRow("number for bool") << QByteArray(R"({"v":{"type":"baglantiu.TSonucBilgisi","id":1,"fields":{"FVarmi":1}}})");
    }

    void wrongInputRaises()
    {
        QFETCH(QByteArray, json);
        QVERIFY_THROWS_EXCEPTION(MarshalError, fromJson<TSonucBilgisi>(parse(json.constData())));
    }
};

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
