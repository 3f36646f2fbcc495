// The program update download: fetches the new setup program, starts it
// silently and ends the process.
#pragma once

#include <QByteArray>
#include <QDialog>
#include <QString>

class QLabel;
class QProgressBar;
class QWidget;

namespace kestro {

class ServerConnection;

// The progress line for `okunan` of `toplam` bytes (toplam > 0).
QString IndirmeBilgisi(qint64 okunan, qint64 toplam);

// The download address: the download host and "/exe/KestroSetup.exe".
QString IndirmeAdresi();

// Where the setup program is saved (the local data folder, created if missing).
QString KurulumDosyasiYolu();

class Tdosyaindir : public QDialog
{
    Q_OBJECT
public:
    // Yeni: `_y` is the version the server expects.
    Tdosyaindir(QWidget *owner, int _y);
    ~Tdosyaindir() override;

    QLabel *sLabel1 = nullptr;
    QLabel *bilgi = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    ServerConnection *bag = nullptr; // given by the caller; the download does not use it
    bool basladi = false;
    QString adres;

    // Starts the download once; later activations do nothing.
    void FormActivate();

    // Each receive-data event: progress text and bar, only with a known length.
    void NetHTTPClient1ReceiveData(qint64 toplam, qint64 okunan);
    // A failed request: the message, then the end of the process.
    void NetHTTPClient1RequestError(const QString &hata);

signals:
    // The saved file has been started (or failed to start); the process ends next.
    void kurulumBaslatildi(const QString &yol, bool basladi);

protected:
    bool event(QEvent *e) override;

private:
    void indirmeBitti(const QByteArray &govde, const QString &hata);
};

} // namespace kestro
