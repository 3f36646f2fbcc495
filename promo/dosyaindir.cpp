#include "dosyaindir.h"

#include "background.h"
#include "deploymentsettings.h"
#include "messages.h"
#include "numberformat.h"
#include "surec.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QProgressBar>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>

#include <curl/curl.h>

#include <atomic>
#include <limits>

namespace kestro {

QString IndirmeBilgisi(qint64 okunan, qint64 toplam)
{
    // Fixed-point with two decimals, decimal comma, no thousands separators.
    QLocale tr = turkishLocale();
    tr.setNumberOptions(QLocale::OmitGroupSeparator);
    const double yuzde = double(okunan) / double(toplam) * 100.0;
    const double mb = 1024.0 * 1024.0;
    return QStringLiteral("Bilgi: %") + QStringLiteral("%1  İndirilen: %2/%3")
                                            .arg(tr.toString(yuzde, 'f', 2), tr.toString(okunan / mb, 'f', 2),
                                                 tr.toString(toplam / mb, 'f', 2))
           + QStringLiteral(" Mb");
}

QString IndirmeAdresi()
{
    QString host = DeploymentSettings::current().downloadHost;
    while (host.endsWith(QLatin1Char('/')))
        host.chop(1);
    return host + QStringLiteral("/exe/KestroSetup.exe");
}

QString KurulumDosyasiYolu()
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QDir().mkpath(dir);
    return QDir(dir).filePath(QStringLiteral("KestroSetup.exe"));
}

namespace {

struct Indirme
{
    QPointer<Tdosyaindir> dialog;
    std::atomic<bool> vazgec{false};
    QByteArray govde;
    QString hata;
    qint64 sonOkunan = -1;
};

size_t yaz(char *data, size_t size, size_t n, void *user)
{
    auto *d = static_cast<Indirme *>(user);
    d->govde.append(data, qsizetype(size * n));
    return size * n;
}

int ilerleme(void *user, curl_off_t dltotal, curl_off_t dlnow, curl_off_t, curl_off_t)
{
    auto *d = static_cast<Indirme *>(user);
    if (d->vazgec)
        return 1;
    if (dlnow != d->sonOkunan) {
        d->sonOkunan = dlnow;
        QPointer<Tdosyaindir> dlg = d->dialog;
        const qint64 toplam = dltotal, okunan = dlnow;
        QMetaObject::invokeMethod(dlg, [dlg, toplam, okunan] {
            if (dlg)
                dlg->NetHTTPClient1ReceiveData(toplam, okunan);
        }, Qt::QueuedConnection);
    }
    return 0;
}

void indir(const QString &adres, Indirme &d)
{
    CURL *h = curl_easy_init();
    if (!h) {
        d.hata = QStringLiteral("HTTP istemcisi başlatılamadı");
        return;
    }
    const QByteArray url = adres.toUtf8();
    curl_slist *basliklar = nullptr;
    basliklar = curl_slist_append(basliklar, "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,image/webp,image/apng,*/*;q=0.8");
    basliklar = curl_slist_append(basliklar, "Accept-Language: en-US,tr-TR;q=0.8,tr;q=0.6,en;q=0.4");
    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, basliklar);
    // Sends "Accept-Encoding: gzip, deflate" and decodes what comes back.
    curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "gzip, deflate");
    curl_easy_setopt(h, CURLOPT_USERAGENT, "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/60.0.3112.32 Safari/537.36");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_PROXY, "");
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, 60000L);
    // The response time-out: a minute without any data ends the request.
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, 60L);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, yaz);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &d);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, ilerleme);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &d);
    char hataMetni[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, hataMetni);

    const CURLcode rc = curl_easy_perform(h);
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    if (rc != CURLE_OK)
        d.hata = QString::fromLocal8Bit(hataMetni[0] ? hataMetni : curl_easy_strerror(rc));
    else if (status >= 400)
        // An error page is not a setup program: never save and start it.
        d.hata = QStringLiteral("Sunucu yanıtı %1").arg(status);
    curl_slist_free_all(basliklar);
    curl_easy_cleanup(h);
}

} // namespace

Tdosyaindir::Tdosyaindir(QWidget *owner, int _y) : QDialog(owner)
{
    setObjectName(QStringLiteral("dosyaindir"));
    setWindowTitle(QStringLiteral("Dosya İndir"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(543, 309);

    QFont tahoma;
    tahoma.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});

    sLabel1 = new QLabel(this);
    sLabel1->setObjectName(QStringLiteral("sLabel1"));
    sLabel1->setAlignment(Qt::AlignCenter);
    sLabel1->setWordWrap(true);
    QFont buyuk = tahoma;
    buyuk.setPixelSize(27);
    sLabel1->setFont(buyuk);
    sLabel1->setText(QStringLiteral("Kestro Yedek Parça B2B Programının\nYeni versiyonu indirilecektir\n"
                                    "Lütfen Bekleyiniz...!\nVersion: %1-%2")
                         .arg(_y)
                         .arg(2));

    auto *Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    bilgi = new QLabel(Panel1);
    bilgi->setObjectName(QStringLiteral("bilgi"));
    QFont kalin = tahoma;
    kalin.setPixelSize(13);
    kalin.setBold(true);
    bilgi->setFont(kalin);
    ProgressBar1 = new QProgressBar(Panel1);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    auto *panelLay = new QVBoxLayout(Panel1);
    panelLay->addWidget(bilgi);
    panelLay->addWidget(ProgressBar1);

    auto *lay = new QVBoxLayout(this);
    lay->addWidget(sLabel1, 1);
    lay->addWidget(Panel1);

    adres = IndirmeAdresi();
    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}

Tdosyaindir::~Tdosyaindir() = default;

bool Tdosyaindir::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate || e->type() == QEvent::Show)
        // After the window is up, so the message is on screen before the download starts.
        QTimer::singleShot(0, this, &Tdosyaindir::FormActivate);
    return QDialog::event(e);
}

void Tdosyaindir::FormActivate()
{
    if (basladi)
        return;
    basladi = true;

    const QString hedef = KurulumDosyasiYolu();
    if (QFile::exists(hedef))
        QFile::remove(hedef);

    auto d = std::make_shared<Indirme>();
    d->dialog = this;
    const QString url = adres;
    QPointer<Tdosyaindir> self(this);
    ArkaPlanda([d, url] { indir(url, *d); })->Await([self, d] {
        if (self)
            self->indirmeBitti(d->govde, d->hata);
    });
}

void Tdosyaindir::NetHTTPClient1ReceiveData(qint64 toplam, qint64 okunan)
{
    if (toplam <= 0)
        return;
    bilgi->setText(IndirmeBilgisi(okunan, toplam));
    // The bar's range is an int: count in kilobytes beyond 2 GB.
    const qint64 olcek = toplam > std::numeric_limits<int>::max() ? 1024 : 1;
    ProgressBar1->setMaximum(int(toplam / olcek));
    ProgressBar1->setValue(int(okunan / olcek));
}

void Tdosyaindir::NetHTTPClient1RequestError(const QString &hata)
{
    HataVer(QStringLiteral("Hata Oluştu !\nHata: ") + hata);
    SurecSonlandir();
}

void Tdosyaindir::indirmeBitti(const QByteArray &govde, const QString &hata)
{
    if (!hata.isEmpty()) {
        NetHTTPClient1RequestError(hata);
        return;
    }
    const QString hedef = KurulumDosyasiYolu();
    QFile f(hedef);
    bool calisti = false;
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(govde) == govde.size()) {
        f.close();
        // On Linux the saved program must be executable before it can be started.
        f.setPermissions(f.permissions() | QFile::ExeOwner | QFile::ExeUser);
        calisti = QProcess::startDetached(hedef, {QStringLiteral("/silent")});
    } else {
        NetHTTPClient1RequestError(f.errorString());
        return;
    }
    emit kurulumBaslatildi(hedef, calisti);
    SurecSonlandir();
}

} // namespace kestro
