#include "resim.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QMovie>
#include <QPainter>
#include <QPointer>
#include <QThreadPool>

#include <curl/curl.h>

#include <csetjmp>
#include <cstdio>
#include <mutex>

#include <jpeglib.h>

namespace kestro {

// ---- TResim ----------------------------------------------------------------

TResim::TResim(QWidget *parent) : QWidget(parent) {}

void TResim::setPicture(const QPixmap &p)
{
    fPicture = p;
    if (fAutoSize && !p.isNull())
        resize(p.deviceIndependentSize().toSize());
    DoChange();
}

void TResim::DoChange()
{
    update();
    emit Changed(this);
}

void TResim::setStretch(bool v) { fStretch = v; update(); }
void TResim::setProportional(bool v) { fProportional = v; update(); }
void TResim::setCenter(bool v) { fCenter = v; update(); }
void TResim::setAutoSize(bool v)
{
    fAutoSize = v;
    if (v && !fPicture.isNull())
        resize(fPicture.deviceIndependentSize().toSize());
}

void TResim::setTransparent(bool v)
{
    fTransparent = v;
    setAttribute(Qt::WA_NoSystemBackground, v);
    setAutoFillBackground(!v);
    update();
}

QSize TResim::sizeHint() const
{
    return fPicture.isNull() ? QSize(100, 100) : fPicture.deviceIndependentSize().toSize();
}

QRect TResim::destRect() const
{
    if (fPicture.isNull())
        return {};
    QSize s = fPicture.deviceIndependentSize().toSize();
    const QSize area = size();
    if (fStretch) {
        s = fProportional ? s.scaled(area, Qt::KeepAspectRatio) : area;
    } else if (fProportional && (s.width() > area.width() || s.height() > area.height())) {
        // Proportional alone only shrinks a picture that does not fit.
        s = s.scaled(area, Qt::KeepAspectRatio);
    }
    QPoint at(0, 0);
    if (fCenter)
        at = QPoint((area.width() - s.width()) / 2, (area.height() - s.height()) / 2);
    return QRect(at, s);
}

void TResim::paintEvent(QPaintEvent *)
{
    if (fPicture.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(destRect(), fPicture);
}

// ---- decoding --------------------------------------------------------------

namespace {

struct JpegError
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void jpegErrorExit(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<JpegError *>(cinfo->err)->jump, 1);
}

void jpegSilent(j_common_ptr) {}

// Only plain C objects live between setjmp and any longjmp back to it; the
// QImage is the caller's, so a jump skips no destructor.
bool decodeJpeg(const QByteArray &data, QImage &out)
{
    jpeg_decompress_struct cinfo;
    JpegError jerr;
    cinfo.err = jpeg_std_error(&jerr.pub);
    jerr.pub.error_exit = jpegErrorExit;
    jerr.pub.output_message = jpegSilent;
    if (setjmp(jerr.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char *>(data.constData()), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBX;
    jpeg_start_decompress(&cinfo);
    out = QImage(int(cinfo.output_width), int(cinfo.output_height), QImage::Format_RGBX8888);
    if (out.isNull())
        jpegErrorExit(reinterpret_cast<j_common_ptr>(&cinfo));
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out.scanLine(int(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
        if (cmyk) {
            // Adobe writes CMYK inverted: each channel times K gives RGB.
            uchar *px = row;
            for (JDIMENSION x = 0; x < cinfo.output_width; ++x, px += 4) {
                const int k = px[3];
                px[0] = uchar(px[0] * k / 255);
                px[1] = uchar(px[1] * k / 255);
                px[2] = uchar(px[2] * k / 255);
                px[3] = 255;
            }
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

} // namespace

QImage JpegCoz(const QByteArray &data)
{
    QImage img;
    if (data.isEmpty() || !decodeJpeg(data, img))
        return {};
    return img;
}

QImage ResimCoz(const QByteArray &contentType, const QByteArray &body)
{
    const QByteArray kind = contentType.mid(6).toLower();
    if (kind == "jpeg" || kind == "jpg")
        return JpegCoz(body);
    if (kind == "bmp")
        return QImage::fromData(body, "BMP");
    if (kind == "png")
        return QImage::fromData(body, "PNG");
    return {};
}

// ---- TAsyncResim -----------------------------------------------------------

struct TAsyncResim::Fetch
{
    std::atomic<bool> iptal{false}; // the only field both threads touch
    QByteArray url;                 // set before the worker starts
    // Worker-owned until the completion is queued:
    QByteArray body;
    QByteArray contentType;
    bool ok = false;
    // User-interface thread only:
    QPointer<TAsyncResim> owner;
};

namespace {

size_t onBody(char *data, size_t size, size_t n, void *user)
{
    auto *f = static_cast<QByteArray *>(user);
    f->append(data, qsizetype(size * n));
    return size * n;
}

int onProgress(void *user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<std::atomic<bool> *>(user)->load() ? 1 : 0; // non-zero aborts the transfer
}

void curlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

} // namespace

TAsyncResim::TAsyncResim(QWidget *parent) : TResim(parent)
{
    setStretch(true);
    setProportional(true);
    setCenter(true);
    setTransparent(true);
}

TAsyncResim::~TAsyncResim()
{
    // The worker only sees the shared state, so no wait is needed: it aborts
    // at its next progress call and its completion finds no owner.
    if (fCurrent)
        fCurrent->iptal = true;
}

void TAsyncResim::setUrl(const QString &url)
{
    if (url == FUrl)
        return;
    FUrl = url;
    if (!url.isEmpty())
        start();
}

void TAsyncResim::start()
{
    curlOnce();
    // A newer address supersedes a transfer still running.
    if (fCurrent)
        fCurrent->iptal = true;
    auto f = std::make_shared<Fetch>();
    f->url = FUrl.toUtf8();
    f->owner = this;
    fCurrent = f;
    QThreadPool::globalInstance()->start([f] {
        CURL *h = curl_easy_init();
        if (h) {
            curl_easy_setopt(h, CURLOPT_URL, f->url.constData());
            curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
            curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
            curl_easy_setopt(h, CURLOPT_TCP_NODELAY, 1L);
            curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, 15L);
            curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L); // a stalled server gives up after 60 s
            curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, 60L);
            curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, onBody);
            curl_easy_setopt(h, CURLOPT_WRITEDATA, &f->body);
            curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
            curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, onProgress);
            curl_easy_setopt(h, CURLOPT_XFERINFODATA, &f->iptal);
            const CURLcode rc = curl_easy_perform(h);
            long status = 0;
            curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
            char *ct = nullptr;
            curl_easy_getinfo(h, CURLINFO_CONTENT_TYPE, &ct);
            if (ct)
                f->contentType = QByteArray(ct);
            f->ok = rc == CURLE_OK && status >= 200 && status < 300;
            curl_easy_cleanup(h);
        }
        if (f->iptal)
            return;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [f] {
                if (f->iptal || !f->owner)
                    return;
                f->owner->complete(f);
            },
            Qt::QueuedConnection);
    });
}

void TAsyncResim::complete(const std::shared_ptr<Fetch> &f)
{
    if (f != fCurrent)
        return;
    fCurrent.reset();
    bool decoded = false;
    if (f->ok && !f->body.isEmpty()) {
        const QImage img = ResimCoz(f->contentType, f->body);
        if (!img.isNull()) {
            setPicture(QPixmap::fromImage(img));
            decoded = true;
        }
    }
    emit Geldi(this, decoded);
}

// ---- TGifResim -------------------------------------------------------------

TGifResim::TGifResim(QWidget *parent) : TResim(parent) {}

TGifResim::~TGifResim() { dropMovie(); }

void TGifResim::dropMovie()
{
    if (fMovie) {
        fMovie->stop();
        delete fMovie;
        fMovie = nullptr;
    }
    delete fBuffer;
    fBuffer = nullptr;
}

bool TGifResim::LoadFromData(const QByteArray &data)
{
    QBuffer probe;
    probe.setData(data);
    probe.open(QIODevice::ReadOnly);
    const QByteArray format = QImageReader::imageFormat(&probe);
    if (format == "gif") {
        dropMovie();
        fData = data;
        fBuffer = new QBuffer(&fData);
        fBuffer->open(QIODevice::ReadOnly);
        fMovie = new QMovie(fBuffer, "gif");
        if (!fMovie->isValid() || !fMovie->jumpToFrame(0)) {
            dropMovie();
            return false;
        }
        connect(fMovie, &QMovie::frameChanged, this, [this] { setPicture(fMovie->currentPixmap()); });
        setPicture(fMovie->currentPixmap());
        return true;
    }
    const QImage img = QImage::fromData(data);
    if (img.isNull())
        return false;
    dropMovie();
    fData.clear();
    setPicture(QPixmap::fromImage(img));
    return true;
}

bool TGifResim::LoadFromFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && LoadFromData(f.readAll());
}

bool TGifResim::isGif() const { return fMovie && !Picture().isNull(); }

bool TGifResim::isAnimating() const { return fMovie && fMovie->state() == QMovie::Running; }

void TGifResim::setAnimate(bool v)
{
    if (v == FAnimate)
        return;
    FAnimate = v;
    applyAnimation();
}

void TGifResim::applyAnimation()
{
    if (!isGif())
        return; // another kind of picture only records the flag
    setTransparent(true);
    if (FAnimate) {
        if (fMovie->state() == QMovie::Paused)
            fMovie->setPaused(false);
        else if (fMovie->state() == QMovie::NotRunning)
            fMovie->start();
    } else if (fMovie->state() == QMovie::Running) {
        fMovie->setPaused(true);
    }
}

void TGifResim::GosterAnim()
{
    setAnimate(true);
    show();
}

void TGifResim::GizleDurdur()
{
    hide();
    setAnimate(false);
}

} // namespace kestro
