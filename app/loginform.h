// The login dialog: asks the server for this computer's registration and
// checks the typed name and password against the record it returns.
#pragma once

#include "externalip.h"

#include <QDialog>
#include <QPixmap>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kestro {

class MesgulResmi;
class ServerConnection;
class TSonucBilgisi;

class Tgirisform : public QDialog
{
    Q_OBJECT
public:
    explicit Tgirisform(QWidget *owner = nullptr);
    ~Tgirisform() override;

    // Set by the opener: the main window's connection and session record themselves.
    ServerConnection *bagim = nullptr;
    TSonucBilgisi *Bilgim = nullptr;
    // This computer's identity, taken once at creation.
    QString idsi;
    // Where the external address comes from (the echo service, bounded retries).
    DisIpAyarlari disIpAyarlari = DisIpAyarlari::deployed();

    QLabel *Label1 = nullptr;   // " Kullanıcı Adı:"
    QLabel *Label2 = nullptr;   // " Şifre:"
    QLabel *iletisim = nullptr; // the distributor's contact block
    QLineEdit *adi = nullptr;
    QLineEdit *sifre = nullptr;
    QCheckBox *CheckBox1 = nullptr; // "Beni hatırla"
    QPushButton *Button1 = nullptr; // "Giriş"
    QPushButton *Button2 = nullptr; // "Vazgeç"
    MesgulResmi *Image2 = nullptr;  // busy picture

    // ayar.ini in the per-user data folder.
    static QString AyarDosyasi();
    void AyarOku();
    void AyarKaydet();

    void Button1Click();
    void Button2Click();
    void Devamet(const QString &disIp);
    // True from "Giriş" until the attempt has ended; a second one cannot start meanwhile.
    bool girisSuruyor() const { return m_suruyor; }

    // The customer selection for representatives (types 1 and 2): answers
    // false when the user cancels it. Until one is installed they keep their own account.
    using CariSecimi = std::function<bool(QWidget *owner, ServerConnection &bag, TSonucBilgisi &bilgi)>;
    static void setCariSecimi(CariSecimi secim);

signals:
    // Back in the idle state after a failed attempt (its message has been shown).
    void girisBasarisiz();

protected:
    void paintEvent(QPaintEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    // Runs on a worker: the server's record for `idsi`, then this computer's details.
    static bool GirisBilgisiAl(ServerConnection &clone, const QString &idsi, TSonucBilgisi &bilgi,
                               const QString &disIp);
    void girisSonucu(bool basarili, const QString &disIp);
    void bosta(bool adiSec);
    void YeniSurumIndir();
    void IstekFormuAc();
    bool CariSecimiAc();
    void adiKeyDown();
    void sifreKeyDown();

    QPixmap m_arkaPlan;
    bool m_suruyor = false;
};

} // namespace kestro
