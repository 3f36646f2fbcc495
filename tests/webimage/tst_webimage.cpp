#include "resim.h"

#include <QBuffer>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <httplib.h>
#include <jpeglib.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>

using namespace kestro;

namespace {

// A w x h JPEG of one colour, written with libjpeg.
QByteArray makeJpeg(int w, int h, QColor c)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char *mem = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &mem, &size);
    cinfo.image_width = JDIMENSION(w);
    cinfo.image_height = JDIMENSION(h);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(size_t(w) * 3);
    for (int x = 0; x < w; ++x) {
        row[size_t(x) * 3] = uchar(c.red());
        row[size_t(x) * 3 + 1] = uchar(c.green());
        row[size_t(x) * 3 + 2] = uchar(c.blue());
    }
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray out(reinterpret_cast<const char *>(mem), qsizetype(size));
    std::free(mem);
    return out;
}

QByteArray encode(const QImage &img, const char *format)
{
    QByteArray out;
    QBuffer b(&out);
    b.open(QIODevice::WriteOnly);
    img.save(&b, format);
    return out;
}

QImage solid(int w, int h, QColor c)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

// Two 1x1 frames, black then white, looping.
QByteArray animatedGif()
{
    const unsigned char bytes[] = {
        'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 0xff, 0xff, 0xff,
        0x21, 0xff, 0x0b, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0,
        0x21, 0xf9, 4, 0, 2, 0, 0, 0, 0x2c, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0,
        0x21, 0xf9, 4, 0, 2, 0, 0, 0, 0x2c, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x4c, 0x01, 0,
        0x3b};
    return QByteArray(reinterpret_cast<const char *>(bytes), sizeof bytes);
}

bool closeTo(QColor a, QColor b)
{
    return qAbs(a.red() - b.red()) < 8 && qAbs(a.green() - b.green()) < 8 && qAbs(a.blue() - b.blue()) < 8;
}

// Loopback picture server: fixed answers, hit counts, and a slow answer that
// notices when the client goes away.
class PictureServer
{
public:
    PictureServer()
    {
        srv.set_tcp_nodelay(true);
        add("/jpeg", "image/jpeg", makeJpeg(40, 30, QColor(200, 30, 30)));
        add("/JPEG", "image/JPEG", makeJpeg(20, 10, QColor(30, 30, 200)));
        add("/png", "image/png", encode(solid(12, 8, QColor(20, 180, 40)), "PNG"));
        add("/bmp", "image/bmp", encode(solid(6, 6, QColor(20, 20, 20)), "BMP"));
        add("/pnggif", "image/gif", encode(solid(12, 8, Qt::yellow), "PNG"));
        add("/pngparam", "image/png; charset=binary", encode(solid(12, 8, Qt::yellow), "PNG"));
        add("/bad", "image/jpeg", QByteArray("\xff\xd8\xff\xe0 this is no picture at all", 30));
        add("/html", "text/html", QByteArray("<html></html>"));
        add("/empty", "image/png", QByteArray());
        srv.Get("/missing", [this](const httplib::Request &, httplib::Response &res) {
            count("/missing");
            res.status = 404;
            res.set_content("yok", "image/png");
        });
        srv.Get("/slow", [this](const httplib::Request &, httplib::Response &res) {
            count("/slow");
            slowStarted = true;
            res.set_chunked_content_provider("image/png", [this](size_t, httplib::DataSink &sink) {
                for (int i = 0; i < 1000; ++i) { // gives up after about 20 s
                    if (!sink.write("x", 1)) {
                        slowAborted = true;
                        return false;
                    }
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
                }
                sink.done();
                return true;
            });
        });
        port = srv.bind_to_any_port("127.0.0.1");
        thread = std::thread([this] { srv.listen_after_bind(); });
    }
    ~PictureServer()
    {
        srv.stop();
        thread.join();
    }
    QString url(const char *path) const { return QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(QLatin1String(path)); }
    int hits(const std::string &path)
    {
        std::lock_guard<std::mutex> l(mu);
        return counts[path];
    }
    std::atomic<bool> slowStarted{false}, slowAborted{false};

private:
    void count(const std::string &p)
    {
        std::lock_guard<std::mutex> l(mu);
        ++counts[p];
    }
    void add(const std::string &path, const std::string &type, const QByteArray &body)
    {
        srv.Get(path, [this, path, type, body](const httplib::Request &, httplib::Response &res) {
            count(path);
            res.set_content(body.toStdString(), type);
        });
    }
    httplib::Server srv;
    std::thread thread;
    std::mutex mu;
    std::map<std::string, int> counts;
    int port = 0;
};

} // namespace

class TstWebImage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { server = new PictureServer; }
    void cleanupTestCase() { delete server; }
    void contentTypeRule_data();
    void contentTypeRule();
    void corruptJpegNeverCrashes_data();
    void corruptJpegNeverCrashes();
    void fetchesAndDecodes_data();
    void fetchesAndDecodes();
    void failuresKeepThePicture_data();
    void failuresKeepThePicture();
    void sameUrlTwiceFetchesOnce();
    void newerUrlWins();
    void destroyAbortsRunningTransfer();
    void gifAnimation();
    void pictureLayout();

private:
    PictureServer *server = nullptr;
};

void TstWebImage::contentTypeRule_data()
{
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QSize>("size"); // invalid: nothing decoded
    const QByteArray png = encode(solid(5, 4, Qt::red), "PNG");
    const QByteArray jpg = makeJpeg(7, 3, Qt::blue);
    const QByteArray bmp = encode(solid(2, 9, Qt::green), "BMP");
    QTest::newRow("png") << QByteArray("image/png") << png << QSize(5, 4);
    QTest::newRow("png as gif") << QByteArray("image/gif") << png << QSize();
    QTest::newRow("jpeg") << QByteArray("image/jpeg") << jpg << QSize(7, 3);
    QTest::newRow("jpg") << QByteArray("image/jpg") << jpg << QSize(7, 3);
    QTest::newRow("JPEG capitals") << QByteArray("image/JPEG") << jpg << QSize(7, 3);
    QTest::newRow("bmp") << QByteArray("image/bmp") << bmp << QSize(2, 9);
    QTest::newRow("parameters") << QByteArray("image/png; charset=binary") << png << QSize();
    QTest::newRow("jpeg body as png") << QByteArray("image/png") << jpg << QSize();
    QTest::newRow("text") << QByteArray("text/html") << png << QSize();
    QTest::newRow("none") << QByteArray() << png << QSize();
}

void TstWebImage::contentTypeRule()
{
    QFETCH(QByteArray, type);
    QFETCH(QByteArray, body);
    QFETCH(QSize, size);
    const QImage img = ResimCoz(type, body);
    QCOMPARE(img.isNull() ? QSize() : img.size(), size);
}

void TstWebImage::corruptJpegNeverCrashes_data()
{
    QTest::addColumn<QByteArray>("data");
    const QByteArray good = makeJpeg(64, 64, Qt::red);
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("marker only") << QByteArray("\xff\xd8", 2);
    QTest::newRow("garbage") << QByteArray(500, '\x5a');
    QTest::newRow("header cut") << good.left(40);
    QByteArray badSof = good;
    const qsizetype sof = badSof.indexOf(QByteArray("\xff\xc0", 2));
    badSof[sof + 5] = 0; // height 0
    badSof[sof + 6] = 0;
    QTest::newRow("zero height") << badSof;
    QByteArray badHuff = good;
    const qsizetype dht = badHuff.indexOf(QByteArray("\xff\xc4", 2));
    for (int i = 4; i < 40; ++i)
        badHuff[dht + i] = '\xff';
    QTest::newRow("broken tables") << badHuff;
}

void TstWebImage::corruptJpegNeverCrashes()
{
    QFETCH(QByteArray, data);
    QVERIFY(JpegCoz(data).isNull());
    // A good picture still decodes afterwards: no state left behind.
    const QImage ok = JpegCoz(makeJpeg(16, 8, QColor(10, 200, 10)));
    QCOMPARE(ok.size(), QSize(16, 8));
    QVERIFY(closeTo(ok.pixelColor(8, 4), QColor(10, 200, 10)));
}

void TstWebImage::fetchesAndDecodes_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("jpeg") << "/jpeg" << QSize(40, 30) << QColor(200, 30, 30);
    QTest::newRow("JPEG capitals") << "/JPEG" << QSize(20, 10) << QColor(30, 30, 200);
    QTest::newRow("png") << "/png" << QSize(12, 8) << QColor(20, 180, 40);
    QTest::newRow("bmp") << "/bmp" << QSize(6, 6) << QColor(20, 20, 20);
}

void TstWebImage::fetchesAndDecodes()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QFETCH(QColor, colour);
    TAsyncResim r;
    QVERIFY(r.Stretch() && r.Proportional() && r.Center() && r.Transparent());
    QSignalSpy done(&r, &TAsyncResim::Geldi);
    QSignalSpy changed(&r, &TResim::Changed);
    r.setUrl(server->url(path.toLatin1()));
    QTRY_COMPARE(done.count(), 1);
    QCOMPARE(done.first().at(1).toBool(), true);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(r.Picture().size(), size);
    QVERIFY(closeTo(r.Picture().toImage().pixelColor(size.width() / 2, size.height() / 2), colour));
}

void TstWebImage::failuresKeepThePicture_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("png announced as gif") << "/pnggif";
    QTest::newRow("type with parameters") << "/pngparam";
    QTest::newRow("undecodable") << "/bad";
    QTest::newRow("wrong type") << "/html";
    QTest::newRow("empty body") << "/empty";
    QTest::newRow("404") << "/missing";
}

void TstWebImage::failuresKeepThePicture()
{
    QFETCH(QString, path);
    TAsyncResim r;
    QSignalSpy done(&r, &TAsyncResim::Geldi);
    r.setUrl(server->url("/png"));
    QTRY_COMPARE(done.count(), 1);
    const QImage before = r.Picture().toImage();
    QSignalSpy changed(&r, &TResim::Changed);
    r.setUrl(server->url(path.toLatin1()));
    QTRY_COMPARE(done.count(), 2);
    QCOMPARE(done.last().at(1).toBool(), false);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(r.Picture().toImage(), before);
}

void TstWebImage::sameUrlTwiceFetchesOnce()
{
    TAsyncResim r;
    QSignalSpy done(&r, &TAsyncResim::Geldi);
    r.setUrl(QString()); // empty: nothing starts
    const int before = server->hits("/jpeg");
    r.setUrl(server->url("/jpeg"));
    r.setUrl(server->url("/jpeg"));
    QTRY_COMPARE(done.count(), 1);
    r.setUrl(server->url("/jpeg"));
    r.setUrl(server->url("/png")); // a later fetch, to know the earlier ones are through
    QTRY_COMPARE(done.count(), 2);
    QCOMPARE(server->hits("/jpeg") - before, 1);
    QCOMPARE(r.Picture().size(), QSize(12, 8));
}

void TstWebImage::newerUrlWins()
{
    // The slow answer is still coming when the next address is set: it is
    // abandoned and the newer picture stays.
    server->slowAborted = false;
    server->slowStarted = false;
    TAsyncResim r;
    QSignalSpy done(&r, &TAsyncResim::Geldi);
    r.setUrl(server->url("/slow"));
    QTRY_VERIFY(server->slowStarted);
    r.setUrl(server->url("/jpeg"));
    QTRY_COMPARE(done.count(), 1);
    QCOMPARE(r.Picture().size(), QSize(40, 30));
    QTRY_VERIFY(server->slowAborted);
    QCOMPARE(done.count(), 1);
}

void TstWebImage::destroyAbortsRunningTransfer()
{
    server->slowAborted = false;
    server->slowStarted = false;
    auto *r = new TAsyncResim;
    QPointer<TAsyncResim> guard(r);
    r->setUrl(server->url("/slow"));
    QTRY_VERIFY(server->slowStarted);
    delete r;
    QVERIFY(!guard);
    QTRY_VERIFY_WITH_TIMEOUT(server->slowAborted, 10000);
    QCoreApplication::processEvents(); // a queued completion, if any, must find no control
}

void TstWebImage::gifAnimation()
{
    TGifResim g;
    g.resize(20, 20);
    QVERIFY(g.LoadFromData(encode(solid(4, 4, Qt::red), "BMP")));
    QVERIFY(!g.isGif());
    g.setAnimate(true); // a bitmap only records the flag
    QVERIFY(g.Animate());
    QVERIFY(!g.isAnimating());
    QVERIFY(!g.Transparent());

    QVERIFY(g.LoadFromData(animatedGif()));
    QVERIFY(g.isGif());
    QCOMPARE(g.Picture().size(), QSize(1, 1));
    QVERIFY(!g.isAnimating()); // the value did not change
    g.setAnimate(true);
    QVERIFY(!g.isAnimating());
    g.setAnimate(false);
    g.setAnimate(true);
    QVERIFY(g.isAnimating());
    QVERIFY(g.Transparent());
    // The frames follow each other: black, then white.
    QTRY_COMPARE(g.Picture().toImage().pixelColor(0, 0), QColor(Qt::white));
    QTRY_COMPARE(g.Picture().toImage().pixelColor(0, 0), QColor(Qt::black));

    g.show();
    g.GizleDurdur();
    QVERIFY(g.isHidden());
    QVERIFY(!g.Animate());
    QVERIFY(!g.isAnimating());
    g.GosterAnim();
    QVERIFY(!g.isHidden());
    QVERIFY(g.isAnimating());
    QVERIFY(!g.LoadFromData(QByteArray("no picture")));
    QVERIFY(g.isGif()); // a failed load keeps the GIF
}

void TstWebImage::pictureLayout()
{
    TResim r;
    r.resize(100, 50);
    r.setPicture(QPixmap::fromImage(solid(20, 10, Qt::red)));
    QCOMPARE(r.destRect(), QRect(0, 0, 20, 10));
    r.setCenter(true);
    QCOMPARE(r.destRect(), QRect(40, 20, 20, 10));
    r.setStretch(true);
    QCOMPARE(r.destRect(), QRect(0, 0, 100, 50));
    r.setPicture(QPixmap::fromImage(solid(20, 20, Qt::red)));
    r.setProportional(true);
    QCOMPARE(r.destRect(), QRect(25, 0, 50, 50));
    r.setStretch(false); // proportional alone only shrinks
    QCOMPARE(r.destRect(), QRect(40, 15, 20, 20));
    r.setAutoSize(true);
    QCOMPARE(r.size(), QSize(20, 20));
}

QTEST_MAIN(TstWebImage)
#include "tst_webimage.moc"
