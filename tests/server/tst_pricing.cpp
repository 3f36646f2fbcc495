// The server's cent rounding and line amounts against the client's routine.
#include "numberformat.h"
#include "pricing.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace kestro;
using namespace kestro::server;
Q_DECLARE_METATYPE(kestro::server::Rates)

class TestPricing : public QObject
{
    Q_OBJECT
private slots:
    void roundingMatchesClient_data()
    {
        QTest::addColumn<double>("v");
        for (double v : {0.125, 0.375, -0.125, 2.675, 1.005, 1.015, 0.005, -0.005, 1234567.895, 0.0, -2.5, 99.995,
                         1e14 + 0.125})
            QTest::newRow(qPrintable(QString::number(v, 'g', 17))) << v;
    }
    void roundingMatchesClient()
    {
        QFETCH(double, v);
        QCOMPARE(kurusaYuvarla(v), IkiHaneYuvarla(v));
    }
    void roundingMatchesClientOnManyAmounts()
    {
        QRandomGenerator g(7);
        for (int i = 0; i < 200000; ++i) {
            // Prices, products of prices and quantities, and discounted amounts.
            const double v = (g.bounded(2000000) - 1000000) / 1000.0 * (1.0 - g.bounded(100) / 137.0);
            if (kurusaYuvarla(v) != IkiHaneYuvarla(v))
                QFAIL(qPrintable(QString::number(v, 'g', 17)));
        }
    }
    void unitAmountsAsLineAmounts()
    {
        QRandomGenerator g(11);
        const int vat[] = {0, 1, 8, 10, 18, 20};
        for (int i = 0; i < 100000; ++i) {
            const double fiyat = g.bounded(10000000) / 100.0;
            const Rates ind{g.bounded(4000) / 100.0, double(g.bounded(3) * 5), i % 7 ? 0.0 : 2.5, 0};
            const int kdv = vat[g.bounded(6)];
            const LineAmounts a = tutarHesapla(fiyat, 1, ind, kdv);
            const UnitAmounts u = unitAmounts(fiyat, ind, kdv);
            if (u.net != a.nettutar || u.net != a.netbirimfiyat || u.kdvdahil != a.kdvdahil)
                QFAIL(qPrintable(QStringLiteral("%1 %2 %3").arg(fiyat, 0, 'g', 17).arg(ind[0]).arg(kdv)));
        }
    }
    void lineAmounts_data()
    {
        QTest::addColumn<double>("fiyat");
        QTest::addColumn<double>("miktar");
        QTest::addColumn<Rates>("ind");
        QTest::addColumn<double>("net");
        QTest::addColumn<double>("vergi");
        // 100 x 3 = 300; -10 % = 270; -5 % = 256.5; VAT 20 % = 51.3
        QTest::newRow("two rates") << 100.0 << 3.0 << Rates{10, 5, 0, 0} << 256.5 << 51.3;
        QTest::newRow("no rates") << 19.99 << 7.0 << Rates{0, 0, 0, 0} << 139.93 << 27.99;
        QTest::newRow("rates in order") << 33.33 << 1.0 << Rates{35, 0, 10, 2.5} << 19.01 << 3.8;
    }
    void lineAmounts()
    {
        QFETCH(double, fiyat);
        QFETCH(double, miktar);
        QFETCH(Rates, ind);
        QFETCH(double, net);
        QFETCH(double, vergi);
        const LineAmounts a = tutarHesapla(fiyat, miktar, ind, 20);
        QCOMPARE(a.nettutar, net);
        QCOMPARE(a.vergitutari, vergi);
        QCOMPARE(a.indirimtutar, IkiHaneYuvarla(a.tutar - a.nettutar));
    }
};

QTEST_MAIN(TestPricing)
#include "tst_pricing.moc"
