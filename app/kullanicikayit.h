// The user request dialog: a password change request for the signed-in
// account, or a new user request, sent to the server as a request mail.
#pragma once

#include "sonucbilgisi.h"

#include <QDialog>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kestro {

class ServerConnection;

enum TIstek { tyeni = 0, teski = 1 };

class Tkullanicikayit : public QDialog
{
    Q_OBJECT
public:
    // Password change request, filled from the session and the account card.
    static std::unique_ptr<Tkullanicikayit> Ac(QWidget *AOwner, const ServerConnection &_c, const TSonucBilgisi &_b);
    // New user request, all boxes empty.
    static std::unique_ptr<Tkullanicikayit> Yeni(QWidget *AOwner, const ServerConnection &_c, const TSonucBilgisi &_b);
    ~Tkullanicikayit() override;

    TIstek durum = tyeni;
    QString _idsi;

    QLabel *lblbilgisayar = nullptr; // "Bilgisayar ID: ..."
    QLineEdit *firmaadi = nullptr, *adres1 = nullptr, *adres2 = nullptr, *ilce = nullptr, *sehir = nullptr,
              *telefon = nullptr, *fax = nullptr, *vd = nullptr, *vn = nullptr, *yetkili = nullptr,
              *kullaniciadi = nullptr, *sifre = nullptr, *mail = nullptr, *kargoambar = nullptr;
    QPushButton *Button1 = nullptr; // "Kapat"
    QPushButton *Button2 = nullptr; // "Gönder"

    void Button1Click();
    // Answers whether the request reached the server.
    bool Button2Click();

private:
    Tkullanicikayit(QWidget *AOwner, const ServerConnection &_c, const TSonucBilgisi &_b);
    void kartiDoldur();

    std::unique_ptr<ServerConnection> con;
    TSonucBilgisi Bilgim;
};

} // namespace kestro
