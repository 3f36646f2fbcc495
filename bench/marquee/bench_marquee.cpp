// CPU time of a 1600 x 40 news strip scrolling one long markup item at the
// default 10 ms interval, next to two reference widgets driven the same way:
// one that only scrolls a pre-rendered picture by a pixel and paints the
// uncovered column, and one that redraws its whole text every tick.
// Prints each as percent of one core.

#include "marquee.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

constexpr QSize kStrip(1600, 40);
constexpr int kInterval = 10;

QString NewsMarkup()
{
    const QString one = QStringLiteral(
        "<b>Duyuru:</b> Yeni fiyat listesi yayınlandı &bull; "
        "<font color=\"#c00000\">Kampanyalı ürünlerde <b>%20</b> indirim</font> &bull; "
        "<a href=\"https://kestro.example/haber/1\">Kargo firması değişikliği</a> &bull; "
        "Sipariş saatleri 08:30&ndash;17:30 &bull; <i>Stoklar her gün 06:00&rsquo;da güncellenir</i> &bull; ");
    return one.repeated(6);
}

QString NewsText()
{
    const QString one = QStringLiteral(
        "Duyuru: Yeni fiyat listesi yayınlandı • Kampanyalı ürünlerde %20 indirim • "
        "Kargo firması değişikliği • Sipariş saatleri 08:30–17:30 • Stoklar her gün 06:00’da güncellenir • ");
    return one.repeated(6);
}

double CpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + ts.tv_nsec / 1e9;
}

// Runs the event loop for the given time and returns the process's CPU use
// over it in percent of one core.
double Measure(QWidget &w, int seconds)
{
    w.setWindowTitle(QStringLiteral("bench"));
    w.resize(kStrip);
    w.show();
    {
        QEventLoop settle;
        QTimer::singleShot(1000, &settle, &QEventLoop::quit);
        settle.exec();
    }
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    QElapsedTimer wall;
    const double cpu0 = CpuSeconds();
    wall.start();
    loop.exec();
    const double cpu = CpuSeconds() - cpu0;
    const double elapsed = wall.nsecsElapsed() / 1e9;
    w.hide();
    return 100.0 * cpu / elapsed;
}

// One-shot precise timer re-armed per tick, as the marquee does.
class Ticker : public QWidget
{
public:
    Ticker()
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
        fTimer.setSingleShot(true);
        fTimer.setTimerType(Qt::PreciseTimer);
        connect(&fTimer, &QTimer::timeout, this, [this] {
            Tick();
            fTimer.start(kInterval);
        });
        fTimer.start(kInterval);
    }

protected:
    virtual void Tick() = 0;
    int fOffset = 0;

private:
    QTimer fTimer;
};

class BareScroll : public Ticker
{
public:
    BareScroll() : fPicture(kStrip.width() * 3, kStrip.height())
    {
        fPicture.fill(Qt::white);
        QPainter p(&fPicture);
        p.drawText(fPicture.rect(), Qt::AlignVCenter | Qt::AlignLeft, NewsText());
    }

protected:
    void Tick() override
    {
        ++fOffset;
        scroll(-1, 0);
    }
    void paintEvent(QPaintEvent *e) override
    {
        QPainter p(this);
        const QRect r = e->rect();
        const int source = (fOffset + r.x()) % fPicture.width();
        p.drawPixmap(r.topLeft(), fPicture, QRect(source, r.y(), r.width(), r.height()));
    }

private:
    QPixmap fPicture;
};

class TextRedraw : public Ticker
{
protected:
    void Tick() override
    {
        ++fOffset;
        update();
    }
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.drawText(QRect(width() - fOffset, 0, 1 << 20, height()), Qt::AlignVCenter | Qt::AlignLeft, fText);
    }

private:
    QString fText = NewsText();
};

}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;

    TRealTimeMarquee marquee;
    marquee.SetColor(Qt::white);
    TMarqueeItem *item = marquee.Items()->Add();
    item->SetStyle(msHTML);
    item->SetText(NewsMarkup());
    marquee.SetActive(true);
    const int itemWidth = item->Width();
    const double strip = Measure(marquee, seconds);
    marquee.SetActive(false);

    BareScroll bare;
    const double scrollOnly = Measure(bare, seconds);
    TextRedraw redraw;
    const double redrawText = Measure(redraw, seconds);

    std::printf("platform %s, strip %dx%d, item %d px wide, %d ms interval, %d s each\n",
                qPrintable(QGuiApplication::platformName()), kStrip.width(), kStrip.height(), itemWidth, kInterval,
                seconds);
    std::printf("marquee (TRealTimeMarquee, HTML item): %5.2f %% of one core\n", strip);
    std::printf("reference, bare pixmap scroll:        %5.2f %% of one core\n", scrollOnly);
    std::printf("reference, text redrawn every tick:   %5.2f %% of one core\n", redrawText);
    std::printf("marquee / bare scroll: %.2f, marquee / text redraw: %.2f\n", strip / scrollOnly, strip / redrawText);
    return 0;
}
