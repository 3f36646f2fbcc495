// Picture controls: TResim paints a picture; TAsyncResim fetches it over HTTP;
// TGifResim can animate a GIF.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <atomic>
#include <memory>

class QMovie;
class QBuffer;

namespace kestro {

// A plain picture control: the picture with the usual Stretch, Proportional,
// Center, Transparent and AutoSize properties.
class TResim : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool Stretch READ Stretch WRITE setStretch)
    Q_PROPERTY(bool Proportional READ Proportional WRITE setProportional)
    Q_PROPERTY(bool Center READ Center WRITE setCenter)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
public:
    explicit TResim(QWidget *parent = nullptr);

    const QPixmap &Picture() const { return fPicture; }
    void setPicture(const QPixmap &p);

    bool Stretch() const { return fStretch; }
    void setStretch(bool v);
    bool Proportional() const { return fProportional; }
    void setProportional(bool v);
    bool Center() const { return fCenter; }
    void setCenter(bool v);
    bool Transparent() const { return fTransparent; }
    void setTransparent(bool v);
    bool AutoSize() const { return fAutoSize; }
    void setAutoSize(bool v);

    // Where the picture lands inside the control.
    QRect destRect() const;
    QSize sizeHint() const override;

signals:
    void Changed(kestro::TResim *sender);

protected:
    virtual void DoChange();
    void paintEvent(QPaintEvent *) override;

private:
    QPixmap fPicture;
    bool fStretch = false;
    bool fProportional = false;
    bool fCenter = false;
    bool fTransparent = false;
    bool fAutoSize = false;
};

// Decoders as the web image uses them. Both return a null image on bad data.
// JPEG goes through libjpeg directly; a corrupt stream never ends the process.
QImage JpegCoz(const QByteArray &data);
// The content-type rule: the first 6 characters ("image/") dropped, the rest
// lower-cased; "jpeg"/"jpg" JPEG, "bmp" bitmap, "png" PNG, anything else
// (parameters after the subtype included) nothing.
QImage ResimCoz(const QByteArray &contentType, const QByteArray &body);

// A picture fetched from Url without blocking the user interface. The
// transfer runs on a pool thread with libcurl; destroying the control (or
// setting another Url) aborts it from curl's progress callback, and a late
// completion never reaches the control. Failures keep the previous picture.
class TAsyncResim : public TResim
{
    Q_OBJECT
    Q_PROPERTY(QString Url READ Url WRITE setUrl)
public:
    explicit TAsyncResim(QWidget *parent = nullptr);
    ~TAsyncResim() override;

    QString Url() const { return FUrl; }
    void setUrl(const QString &url);

signals:
    // A fetch ended (decoded or not); for callers that wait on the picture.
    void Geldi(kestro::TAsyncResim *sender, bool decoded);

private:
    struct Fetch;
    void start();
    void complete(const std::shared_ptr<Fetch> &f);

    QString FUrl;
    std::shared_ptr<Fetch> fCurrent; // the running transfer; its cancel flag is `iptal`
};

// A picture that can animate an animated GIF.
class TGifResim : public TResim
{
    Q_OBJECT
    Q_PROPERTY(bool Animate READ Animate WRITE setAnimate)
public:
    explicit TGifResim(QWidget *parent = nullptr);
    ~TGifResim() override;

    // Loads a picture of any kind Qt reads; a GIF keeps its frames.
    bool LoadFromData(const QByteArray &data);
    bool LoadFromFile(const QString &path);
    // Holds a non-empty GIF image.
    bool isGif() const;
    bool isAnimating() const;

    bool Animate() const { return FAnimate; }
    void setAnimate(bool v);
    void GosterAnim(); // Animate := true, then show
    void GizleDurdur(); // hide, then Animate := false

private:
    void applyAnimation();
    void dropMovie();
    bool FAnimate = false;
    QMovie *fMovie = nullptr;
    QBuffer *fBuffer = nullptr;
    QByteArray fData;
};

} // namespace kestro
