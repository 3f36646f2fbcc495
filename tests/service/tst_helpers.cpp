// Rounding and number patterns, URL encoding, identity rules, data folder.
#include "errors.h"
#include "helpers.h"
#include "identity.h"
#include "numberformat.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace kestro;

namespace {

class FakeSystem : public SystemInfo
{
public:
    QString name, user, ip;
    QString serial;
    bool serialFails = false;
    QList<Adapter> nics;

    QString computerName() const override { return name; }
    QString userName() const override { return user; }
    QString localIPv4() const override { return ip; }
    QString systemDiskSerial() const override
    {
        if (serialFails)
            throw Error(QStringLiteral("no management service"));
        return serial;
    }
    QList<Adapter> adapters() const override { return nics; }
};

SystemInfo::Adapter nic(QByteArray hex)
{
    return {true, QByteArray::fromHex(hex)};
}

} // namespace

class TestHelpers : public QObject
{
    Q_OBJECT
private slots:
    void ikiHaneYuvarla_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("expected");
        QTest::newRow("1234.567") << 1234.567 << 1234.57;
        QTest::newRow("0.125 half up") << 0.125 << 0.13;
        QTest::newRow("zero") << 0.0 << 0.0;
        QTest::newRow("below one") << 0.5 << 0.5;
        QTest::newRow("0.004 to zero") << 0.004 << 0.0;
        QTest::newRow("negative half away") << -0.125 << -0.13;
        QTest::newRow("negative large") << -1234.565 << -1234.57; // stored as -1234.56500000000005
        QTest::newRow("as stored 1.005") << 1.005 << 1.0;         // stored as 1.00499999999999989
        QTest::newRow("millions") << 1234567.891 << 1234567.89;
        QTest::newRow("carry") << 9.999 << 10.0;
    }

    void ikiHaneYuvarla()
    {
        QFETCH(double, value);
        QFETCH(double, expected);
        QCOMPARE(IkiHaneYuvarla(value), expected);
    }

    void formatPatterns_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("money") << "#,###,##0.00" << 1234.5 << "1.234,50";
        QTest::newRow("money small") << "#,###,##0.00" << 0.5 << "0,50";
        QTest::newRow("money millions") << "#,###,##0.00" << 1234567.891 << "1.234.567,89";
        QTest::newRow("money negative") << "#,###,##0.00" << -1234.5 << "-1.234,50";
        QTest::newRow("money zero") << "#,###,##0.00" << 0.0 << "0,00";
        QTest::newRow("negative rounds to zero") << "#,###,##0.00" << -0.001 << "0,00";
        QTest::newRow("grand total") << "#,###,##00.00" << 5.0 << "05,00";
        QTest::newRow("grand total large") << "#,###,##00.00" << 12345.678 << "12.345,68";
        QTest::newRow("no leading zero") << "#,###,##.00" << 0.5 << ",50";
    }

    void formatPatterns()
    {
        QFETCH(QString, pattern);
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(FormatFloat(pattern, value), expected);
    }

    void urlKodla_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("expected");
        QTest::newRow("query with blanks and Turkish")
            << "http://pos.example.com/moravikart.html?carino=12&firmasi=Öz Oto&bakiye=1.234,50"
            << "http://pos.example.com/moravikart.html?carino=12&firmasi=%C3%96z%20Oto&bakiye=1.234,50";
        QTest::newRow("plus kept in query only")
            << "http://h:81/a+b/c d.html?x=1+2" << "http://h:81/a%2Bb/c%20d.html?x=1+2";
        QTest::newRow("specials") << "http://h/p?q=<\"{|}\\^[]`*#%>"
                                  << "http://h/p?q=%3C%22%7B%7C%7D%5C%5E%5B%5D%60%2A%23%25%3E";
        QTest::newRow("no path") << "http://h?a=b c" << "http://h?a=b%20c";
        QTest::newRow("plain stays") << "http://h/a/b.html?k=v&z=1" << "http://h/a/b.html?k=v&z=1";
    }

    void urlKodla()
    {
        QFETCH(QString, url);
        QFETCH(QString, expected);
        QCOMPARE(UrlKodla(url), expected);
    }

    void identityFromDiskSerial()
    {
        FakeSystem sys;
        sys.serial = QStringLiteral("  wd-wx41 a5 ");
        sys.nics = {nic("001A2B3C4D5E")};
        QCOMPARE(BilgisayarIdAl(sys, {}), QStringLiteral("WD-WX41A5"));
    }

    void identityFallsBackToAdapter()
    {
        FakeSystem sys;
        sys.serialFails = true;
        sys.nics = {nic("001A2B3C4D5E")};
        QCOMPARE(BilgisayarIdAl(sys, {}), QStringLiteral("00-1A-2B-3C-4D-5E"));
        sys.serialFails = false;
        sys.serial = QStringLiteral("   "); // blank serial: also the adapter
        QCOMPARE(BilgisayarIdAl(sys, {}), QStringLiteral("00-1A-2B-3C-4D-5E"));
    }

    void identityEmptyWhenBothFail()
    {
        FakeSystem sys;
        sys.serialFails = true;
        QCOMPARE(BilgisayarIdAl(sys, {}), QString());
        sys.nics = {SystemInfo::Adapter{false, {}}, nic("001A2B3C4D5E")};
        QCOMPARE(BilgisayarIdAl(sys, {}), QString()); // a failed first adapter ends the search
    }

    void sharedSerialMapsToOneIdentity()
    {
        FakeSystem sys;
        sys.serial = QStringLiteral("shared 01");
        SharedIdentityTable table{{QStringLiteral("SHARED01"), QStringLiteral("X2")}, QStringLiteral("OFIS-ORTAK")};
        QCOMPARE(BilgisayarIdAl(sys, table), QStringLiteral("OFIS-ORTAK"));
        sys.serial = QStringLiteral("OTHER");
        QCOMPARE(BilgisayarIdAl(sys, table), QStringLiteral("OTHER"));
    }

    void adapterRules()
    {
        FakeSystem sys;
        sys.nics = {nic("000000000000"), nic("000000000000")};
        QCOMPARE(MacAdresiAl(sys), QStringLiteral("00-00-00-00-00-00"));
        sys.nics = {nic("000000000000"), nic("A1B2C3D4E5F6"), nic("111111111111")};
        QCOMPARE(MacAdresiAl(sys), QStringLiteral("A1-B2-C3-D4-E5-F6"));
        sys.nics.clear();
        QCOMPARE(MacAdresiAl(sys), QString());
    }

    void localNamesAndAddress()
    {
        FakeSystem sys;
        QCOMPARE(IcIpAl(sys), QStringLiteral("127.0.0.1")); // no address
        sys.ip = QStringLiteral("192.168.1.20");
        QCOMPARE(IcIpAl(sys), QStringLiteral("192.168.1.20"));
        sys.user = QStringLiteral("a-very-long-user-name");
        QCOMPARE(KullaniciAdiAl(sys), QString());
        sys.user = QStringLiteral("ali");
        QCOMPARE(KullaniciAdiAl(sys), QStringLiteral("ali"));
    }

    void dataFolderCreatedOnce()
    {
        QTemporaryDir home;
        qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
        const QString dir = VeriKlasoruAl();
        QCOMPARE(dir, home.path() + QStringLiteral("/kestro"));
        QVERIFY(QFileInfo(dir).isDir());
        QCOMPARE(VeriKlasoruAl(), dir);
        QVERIFY(!dir.endsWith(QLatin1Char('/')));
    }
};

QTEST_GUILESS_MAIN(TestHelpers)
#include "tst_helpers.moc"
