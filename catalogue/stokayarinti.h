// The product entry dialog: quantity in parcel multiples, price, discounts
// and the resulting amounts of one cart line.
#pragma once

#include "tutarhesapla.h"

#include <QDialog>

class QGridLayout;
class QLabel;
class QPushButton;
class QSpinBox;
class QWidget;

namespace kestro {

class ParaEdit;
class TAsyncResim;

class Tstokayarinti : public QDialog
{
    Q_OBJECT
public:
    // Creates the dialog for one stock; the caller fills it, runs it and reads it.
    static Tstokayarinti *Ac(QWidget *AOwner, int _stokno);

    int stokno() const { return m_stokno; }
    int koliadet() const { return m_koliadet; }
    void setKoliadet(int n);
    double kdvoran = 0;
    double kdvlifiyat = 0; // kept for callers; the dialog does not show it

    // Representatives may change the price and the discount rates.
    void setFiyatDegistirilebilir(bool on);
    void setIndirimPaneliGorunur(bool on);

    // Header labels and captions.
    QLabel *barkod, *adi, *finishkod, *marka, *model;
    QLabel *Label2;      // price caption
    QLabel *indirimoran; // discount caption
    QSpinBox *adet;
    ParaEdit *birimfiyat, *indtutar, *kdvdahiltutar, *geneltutar;
    ParaEdit *edindirim1, *edindirim2, *edindirim3, *edindirim4;
    QWidget *GridPanel2; // the discount panel
    TAsyncResim *AsyncResim1;
    QPushButton *ParcaliTus1, *ParcaliTus2;

    std::array<double, 4> oranlar() const;
    int miktar() const; // the quantity as the box holds it
    SatirTutari TutarHesapla();

protected:
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    explicit Tstokayarinti(QWidget *owner, int stokno);
    void adetExit();
    void KdvCikar();
    int m_stokno;
    int m_koliadet = 1;
    bool m_shown = false;
};

} // namespace kestro
