// Money of one cart line and of the cart, the price-information text and
// the search box letters.
#include "aramametni.h"
#include "dataset.h"
#include "sepettoplam.h"
#include "stoklistesi.h"
#include "tutarhesapla.h"

#include <QtTest>

using namespace kestro;

// Key presses carrying Turkish letters, as a keyboard layout delivers them.
static void type(QWidget *w, const QString &text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

class TestAmounts : public QObject
{
    Q_OBJECT
private slots:
    void lineAmounts_data()
    {
        QTest::addColumn<double>("price");
        QTest::addColumn<double>("qty");
        QTest::addColumn<QList<double>>("rates");
        QTest::addColumn<double>("vat");
        QTest::addColumn<QList<double>>("expected"); // discount, net unit, VAT-incl unit, total
        QTest::newRow("two rates") << 100.0 << 2.0 << QList<double>{10, 5, 0, 0} << 18.0
                                   << QList<double>{29.0, 85.5, 100.89, 201.78};
        QTest::newRow("no rates") << 12.34 << 3.0 << QList<double>{0, 0, 0, 0} << 20.0
                                  << QList<double>{0.0, 12.34, 14.81, 44.43};
        QTest::newRow("four rates") << 250.0 << 6.0 << QList<double>{10, 10, 10, 10} << 20.0
                                    << QList<double>{515.85, 164.03, 196.84, 1181.04};
        QTest::newRow("half cent up") << 0.125 << 1.0 << QList<double>{0, 0, 0, 0} << 0.0
                                      << QList<double>{0.0, 0.13, 0.13, 0.13};
        QTest::newRow("zero quantity") << 10.0 << 0.0 << QList<double>{0, 0, 0, 0} << 20.0
                                       << QList<double>{0.0, 0.0, 0.0, 0.0};
    }

    void lineAmounts()
    {
        QFETCH(double, price);
        QFETCH(double, qty);
        QFETCH(QList<double>, rates);
        QFETCH(double, vat);
        QFETCH(QList<double>, expected);
        const SatirTutari t = TutarHesapla(price, qty, {rates[0], rates[1], rates[2], rates[3]}, vat);
        QCOMPARE(qRound64(t.indirimTutari * 100), qRound64(expected[0] * 100));
        QCOMPARE(t.netBirimFiyat, expected[1]);
        QCOMPARE(t.kdvDahilBirim, expected[2]);
        QCOMPARE(t.genelTutar, expected[3]);
    }

    void discountShownOnlyAboveOnePercent()
    {
        QVERIFY(!IndirimVarmi({0.5, 0, 0, 0}));
        QVERIFY(!IndirimVarmi({0.5, 0.5, 0, 0}));
        QVERIFY(IndirimVarmi({0.5, 0.6, 0, 0}));
    }

    void parcelRounding_data()
    {
        QTest::addColumn<int>("qty");
        QTest::addColumn<int>("parcel");
        QTest::addColumn<int>("expected");
        QTest::newRow("up to next multiple") << 8 << 6 << 12;
        QTest::newRow("already a multiple") << 12 << 6 << 12;
        QTest::newRow("parcel of one") << 7 << 1 << 7;
        QTest::newRow("parcel zero treated as one") << 7 << 0 << 7;
    }

    void parcelRounding()
    {
        QFETCH(int, qty);
        QFETCH(int, parcel);
        QFETCH(int, expected);
        QCOMPARE(KoliyeYuvarla(qty, parcel), expected);
    }

    void cartTotalsOfSelectedLines()
    {
        DataSet d;
        for (const char *f : {"SEC", "TUTAR", "INDIRIMTUTAR", "VERGITUTARI"})
            d.addField(QLatin1String(f), QByteArray(f) == "SEC" ? FieldType::Int32 : FieldType::Float);
        const QList<QList<double>> lines = {{1, 100, 10, 25.2}, {1, 50.25, 0, 9.05}, {0, 999, 9, 99}};
        for (const auto &l : lines) {
            const int r = d.appendRow();
            for (int c = 0; c < 4; ++c)
                d.setValue(r, c, l[c]);
        }
        SepetToplamlari t = SepetToplamHesapla(d);
        QCOMPARE(t.araToplam, 150.25);
        QCOMPARE(t.indirim, 10.0);
        QCOMPARE(t.net, 140.25);
        QCOMPARE(t.vergi, 34.25);
        QCOMPARE(t.genel, 174.5);
        for (int r = 0; r < d.rowCount(); ++r)
            d.setValue(r, 0, 0);
        t = SepetToplamHesapla(d);
        QCOMPARE(t.genel, 0.0);
    }

    void priceInformationText()
    {
        QCOMPARE(FiyatBilgisiMetni(1234.5, 0, 1000, 1200),
                 QStringLiteral("Liste Fiyatı: 1.234,50\r\nNetFiyat: 1.000,00\r\nKDV li Fiyat: 1.200,00\r\n"));
        QVERIFY(FiyatBilgisiMetni(20, 12.5, 10, 12).contains(QStringLiteral("\r\nKampanyalı Fiyat: 12,50\r\n")));
    }

    void searchBoxLetters()
    {
        AramaKutusu box;
        box.show();
        type(&box, QStringLiteral("şöğüçı"));
        QCOMPARE(box.text(), QStringLiteral("SOGUCI"));
        box.clear();
        type(&box, QStringLiteral("yağ filtre İç"));
        QCOMPARE(box.text(), QStringLiteral("YAG FILTRE IC"));
        QSignalSpy enter(&box, &AramaKutusu::enterBasildi);
        QTest::keyClick(&box, Qt::Key_Return);
        QCOMPARE(enter.count(), 1);
        box.setText(QStringLiteral("YAĞ")); // text put by the program is not replaced
        QCOMPARE(box.text(), QStringLiteral("YAĞ"));
    }
};

QTEST_MAIN(TestAmounts)
#include "tst_amounts.moc"
