// Order confirmation: delivery kind, cargo kind and company, a note, and
// the summary of who orders what for which account.
#pragma once

#include "dataset.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;

namespace kestro {

class ServerConnection;
class TSonucBilgisi;

class TONAYSIP : public QDialog
{
    Q_OBJECT
public:
    // Creates and fills the dialog; loads the delivery and cargo kinds from the server.
    static TONAYSIP *Ac(QWidget *AOwner, ServerConnection &_c, const QString &mesaj, TSonucBilgisi &_sbilgi,
                        const QString &_toplam);

    // Valid after "Evet" succeeded.
    int td = 0; // delivery kind id
    int kt = 0; // cargo kind id
    int KN = 0; // cargo company id
    QString toplam;

    QGroupBox *teslimboxGroup, *boxkargoGroup;
    QButtonGroup *teslimbox, *boxkargo;
    QComboBox *kargocombo;
    QLabel *uyarikargo, *Label1, *Label2, *Label3;
    QPlainTextEdit *aciklamagir;
    QPushButton *Button1, *Button2;
    DataSet kargo;

    void boxkargoClick();
    void kargocomboChange();
    void Button1Click();

private:
    TONAYSIP(QWidget *owner, ServerConnection &c, TSonucBilgisi &s);
    void TeslimKargoYukle();
    void KargolariYukle(int kargoTuru);
    static void fillRadioGroup(QButtonGroup *group, QVBoxLayout *layout, const DataSet &rows);
    ServerConnection &bagc;
    TSonucBilgisi &sbilgi;
    QVBoxLayout *teslimLayout, *kargoLayout;
};

} // namespace kestro
