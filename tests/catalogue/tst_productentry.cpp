// The product entry dialog: parcel multiples, amounts, F4, Enter.
#include "moneyedit.h"
#include "stokayarinti.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using namespace kestro;

class TestProductEntry : public QObject
{
    Q_OBJECT

    std::unique_ptr<Tstokayarinti> dialog(int koli, double price, std::array<double, 4> rates = {0, 0, 0, 0})
    {
        std::unique_ptr<Tstokayarinti> d(Tstokayarinti::Ac(nullptr, 1607));
        d->setKoliadet(koli);
        d->kdvoran = 18;
        d->birimfiyat->setValue(price);
        d->edindirim1->setValue(rates[0]);
        d->edindirim2->setValue(rates[1]);
        d->edindirim3->setValue(rates[2]);
        d->edindirim4->setValue(rates[3]);
        return d;
    }

private slots:
    void parcelQuantityBoundsAndSteps()
    {
        auto d = dialog(6, 10);
        d->show();
        QVERIFY(QTest::qWaitForWindowExposed(d.get()));
        QCOMPARE(d->adet->value(), 6);
        QCOMPARE(d->adet->minimum(), 6);
        QCOMPARE(d->adet->maximum(), 10000);
        d->adet->selectAll();
        QTest::keyClicks(d->adet, QStringLiteral("8"));
        d->ParcaliTus2->setFocus(); // leaving the box rounds up to the parcel multiple
        QTRY_COMPARE(d->adet->value(), 12);
        d->adet->stepUp();
        QCOMPARE(d->adet->value(), 18);
    }

    void cartLineBelowParcelShowsParcel()
    {
        auto d = dialog(6, 10);
        d->adet->setValue(4);
        QCOMPARE(d->adet->value(), 6);
    }

    void zeroParcelIsOne()
    {
        auto d = dialog(0, 10);
        QCOMPARE(d->koliadet(), 1);
        QCOMPARE(d->adet->value(), 1);
    }

    void amountsFollowQuantity()
    {
        auto d = dialog(1, 100, {10, 5, 0, 0});
        d->show();
        QVERIFY(QTest::qWaitForWindowExposed(d.get()));
        d->adet->setValue(2);
        QCOMPARE(d->indtutar->text(), QStringLiteral("29,00"));
        QCOMPARE(d->kdvdahiltutar->text(), QStringLiteral("100,89"));
        QCOMPARE(d->geneltutar->text(), QStringLiteral("201,78"));
        QVERIFY(d->indtutar->isVisible());
        QVERIFY(d->indirimoran->isVisible());
    }

    void smallDiscountHidden()
    {
        auto d = dialog(1, 100, {0.5, 0, 0, 0});
        d->show();
        QVERIFY(QTest::qWaitForWindowExposed(d.get()));
        QVERIFY(!d->indtutar->isVisible());
        QVERIFY(!d->indirimoran->isVisible());
    }

    void f4TakesVatOut()
    {
        auto d = dialog(1, 120);
        d->show();
        QVERIFY(QTest::qWaitForWindowExposed(d.get()));
        QVERIFY(d->birimfiyat->isReadOnly());
        d->birimfiyat->setFocus();
        QTest::keyClick(d->birimfiyat, Qt::Key_F4);
        QCOMPARE(d->birimfiyat->value(), 100.0);
        QCOMPARE(d->kdvdahiltutar->text(), QStringLiteral("118,00"));
    }

    void representativesEditPrice()
    {
        auto d = dialog(1, 50);
        d->setFiyatDegistirilebilir(true);
        d->show();
        QVERIFY(QTest::qWaitForWindowExposed(d.get()));
        d->birimfiyat->selectAll();
        QTest::keyClicks(d->birimfiyat, QStringLiteral("75,5"));
        QCOMPARE(d->birimfiyat->value(), 75.5);
        QCOMPARE(d->kdvdahiltutar->text(), QStringLiteral("89,09"));
    }

    void enterAcceptsWithParcelRounding()
    {
        auto d = dialog(6, 10);
        d->show();
        QVERIFY(QTest::qWaitForWindowExposed(d.get()));
        d->adet->setFocus();
        d->adet->selectAll();
        QTest::keyClicks(d->adet, QStringLiteral("7"));
        QTest::keyClick(d->adet, Qt::Key_Return);
        QCOMPARE(d->result(), int(QDialog::Accepted));
        QCOMPARE(d->miktar(), 12);
    }

    void cancelRejects()
    {
        auto d = dialog(1, 10);
        d->show();
        QTest::mouseClick(d->ParcaliTus2, Qt::LeftButton);
        QCOMPARE(d->result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TestProductEntry)
#include "tst_productentry.moc"
