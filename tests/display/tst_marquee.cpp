#include "marquee.h"

#include <QDesktopServices>
#include <QThread>
#include <QtTest>

namespace {

// Ticks are driven by the test, never by a clock.
class ManualMarquee : public TRealTimeMarquee
{
public:
    using TRealTimeMarquee::TRealTimeMarquee;

protected:
    void ArmTimer(int) override {}
    void DisarmTimer() override {}
};

const QColor kColours[] = {Qt::red, Qt::blue, Qt::green, Qt::yellow};

// Owner-drawn items: item i is a solid block of kColours[i], Tag wide and
// (square ? Tag : 10) high.
void AddBlocks(TRealTimeMarquee &m, const QList<int> &widths, bool square = false)
{
    m.OnDrawItem = [square](TRealTimeMarquee *, TMarqueeItem *item, TMarqueeBitmap &bitmap) {
        bitmap.Color = kColours[item->Index() % 4];
        bitmap.SetSize(item->Tag(), square ? item->Tag() : 10);
    };
    for (int w : widths) {
        TMarqueeItem *item = m.Items()->Add();
        item->SetStyle(msOwnerDraw);
        item->SetTag(w);
    }
}

void Ticks(TRealTimeMarquee &m, int n)
{
    for (int i = 0; i < n; ++i) {
        QVERIFY2(m.TimerArmed(), qPrintable(QStringLiteral("timer not armed before tick %1").arg(i)));
        m.TimerTick();
    }
}

QImage Render(TRealTimeMarquee &m)
{
    QImage img(m.size(), QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    m.PaintItems(p, img.rect());
    return img;
}

QRect ColourBounds(const QImage &img, QColor colour)
{
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) == colour)
                r |= QRect(x, y, 1, 1);
    return r;
}

}

class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void handle(const QUrl &url) { urls << url; }
};

class TestMarquee : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void visibleRun_data();
    void visibleRun();
    void numLoops_data();
    void numLoops();
    void stepAndInterval_data();
    void stepAndInterval();
    void clearAndAddWhileRunning();
    void showingItemChanged();
    void spacingChangeRelays();
    void itemsFromWorker();
    void pixels_data();
    void pixels();
    void stripPaintMatchesFullPaint();
    void links();
    void strings();
    void verticalTextRewraps();
};

void TestMarquee::defaults()
{
    ManualMarquee m;
    QCOMPARE(m.size(), QSize(200, 20));
    QCOMPARE(m.Active(), false);
    QCOMPARE(m.Interval(), 10u);
    QCOMPARE(m.Resolution(), 1u);
    QCOMPARE(m.Step(), 1);
    QCOMPARE(m.Spacing(), 100);
    QCOMPARE(m.LoopSpacing(), 100);
    QCOMPARE(m.NumLoops(), 0u);
    QCOMPARE(m.Orientation(), moHorizontal);
    QCOMPARE(m.Items()->Count(), 0);
    TMarqueeItem *item = m.Items()->Add();
    QCOMPARE(item->Alignment(), maCenter);
    QCOMPARE(item->Style(), msText);
    QCOMPARE(item->DisplayName(), QStringLiteral("TMarqueeItem"));
    item->SetText(QStringLiteral("Duyuru"));
    QCOMPARE(item->DisplayName(), QStringLiteral("Duyuru"));
    // Nothing runs until the control is shown and switched on.
    m.SetActive(true);
    QVERIFY(!m.TimerArmed());
    m.show();
    QVERIFY(m.TimerArmed());
}

void TestMarquee::visibleRun_data()
{
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<int>("spacing");
    QTest::addColumn<int>("loopSpacing");
    QTest::addColumn<int>("step");
    QTest::addColumn<QList<int>>("at");      // tick numbers, ascending
    QTest::addColumn<QList<int>>("visible"); // VisibleCount after that tick
    QTest::addColumn<QList<int>>("loops");   // LoopCount after that tick

    // Extent 200. One item 50 wide with the loop gap a full extent: the next
    // copy enters in the very tick the previous one has left.
    QTest::newRow("one item, full loop gap") << QList<int>{50} << 100 << 100 << 1 << QList<int>{1, 249, 250, 251, 499, 500}
                                             << QList<int>{1, 1, 1, 1, 1, 1} << QList<int>{0, 0, 1, 1, 1, 2};
    // Half-extent loop gap: two copies of the one item on screen at once.
    QTest::newRow("one item, half loop gap") << QList<int>{50} << 100 << 50 << 1 << QList<int>{149, 150, 249, 250, 299, 300}
                                             << QList<int>{1, 2, 2, 1, 1, 2} << QList<int>{0, 0, 0, 1, 1, 1};
    // Three items with 50-pixel gaps: 1 enters at 100, 2 at 200, 0 leaves at
    // 250, 1 at 350; at 450 item 2 leaves as item 0 comes back after the loop gap.
    QTest::newRow("three items") << QList<int>{50, 50, 50} << 25 << 100 << 1 << QList<int>{99, 100, 200, 250, 350, 449, 450, 550}
                                 << QList<int>{1, 2, 3, 2, 1, 1, 1, 2} << QList<int>{0, 0, 0, 0, 0, 0, 1, 1};
    QTest::newRow("step of five") << QList<int>{50} << 100 << 50 << 5 << QList<int>{29, 30, 49, 50}
                                  << QList<int>{1, 2, 2, 1} << QList<int>{0, 0, 0, 1};
}

void TestMarquee::visibleRun()
{
    QFETCH(QList<int>, widths);
    QFETCH(int, spacing);
    QFETCH(int, loopSpacing);
    QFETCH(int, step);
    QFETCH(QList<int>, at);
    QFETCH(QList<int>, visible);
    QFETCH(QList<int>, loops);

    ManualMarquee m;
    m.SetSpacing(quint8(spacing));
    m.SetLoopSpacing(quint8(loopSpacing));
    m.SetStep(quint8(step));
    AddBlocks(m, widths);
    m.show();
    m.SetActive(true);
    int done = 0;
    for (int k = 0; k < at.size(); ++k) {
        Ticks(m, at[k] - done);
        done = at[k];
        QVERIFY2(int(m.VisibleCount()) == visible[k], qPrintable(QStringLiteral("tick %1: visible %2, expected %3")
                                                                     .arg(done).arg(m.VisibleCount()).arg(visible[k])));
        QVERIFY2(int(m.LoopCount()) == loops[k], qPrintable(QStringLiteral("tick %1: loops %2").arg(done).arg(m.LoopCount())));
    }
}

void TestMarquee::numLoops_data()
{
    QTest::addColumn<int>("numLoops");
    QTest::addColumn<int>("visibleAtEnd");
    QTest::addColumn<bool>("activeAtEnd");
    QTest::addColumn<int>("loopCountAtEnd");

    QTest::newRow("endless") << 0 << 1 << true << 1;
    QTest::newRow("one loop") << 1 << 0 << false << 0;
    QTest::newRow("two loops") << 2 << 1 << true << 1;
}

void TestMarquee::numLoops()
{
    QFETCH(int, numLoops);
    QFETCH(int, visibleAtEnd);
    QFETCH(bool, activeAtEnd);
    QFETCH(int, loopCountAtEnd);

    // Three 50-pixel items, 100-pixel gaps: item 2 enters at tick 300 and has
    // left at tick 550, which is also when item 0 of a next loop would enter.
    ManualMarquee m;
    m.SetSpacing(50);
    m.SetNumLoops(quint32(numLoops));
    AddBlocks(m, {50, 50, 50});
    int wraps = 0;
    m.OnWrap = [&](TRealTimeMarquee *sender) {
        QCOMPARE(sender, &m);
        QCOMPARE(QThread::currentThread(), qApp->thread());
        ++wraps;
    };
    m.show();
    m.SetActive(true);
    Ticks(m, 549);
    QVERIFY(m.Items()->Items(2)->Showing());
    QVERIFY(!m.Items()->Items(0)->Showing());
    Ticks(m, 1);
    QCOMPARE(int(m.VisibleCount()), visibleAtEnd);
    QCOMPARE(m.Active(), activeAtEnd);
    QCOMPARE(m.TimerArmed(), activeAtEnd);
    QCOMPARE(int(m.LoopCount()), loopCountAtEnd);
    QCOMPARE(m.Items()->Items(0)->Showing(), activeAtEnd);
    // The wrap is posted to the UI thread, not delivered from inside the tick.
    QCOMPARE(wraps, 0);
    QCoreApplication::processEvents();
    QCOMPARE(wraps, 1);

    if (!activeAtEnd) {
        // Switching on again restarts from item 0.
        m.SetActive(true);
        Ticks(m, 1);
        QCOMPARE(m.VisibleCount(), 1u);
        QVERIFY(m.Items()->Items(0)->Showing());
        QVERIFY(!m.Items()->Items(2)->Showing());
    }
}

void TestMarquee::stepAndInterval_data()
{
    QTest::addColumn<int>("stepIn");
    QTest::addColumn<int>("stepOut");
    QTest::addColumn<uint>("intervalIn");
    QTest::addColumn<uint>("intervalOut");

    QTest::newRow("step 0 is 1, interval 0 to minimum") << 0 << 1 << 0u << TRealTimeMarquee::MinPeriod;
    QTest::newRow("in range") << 7 << 7 << 25u << 25u;
    QTest::newRow("interval above maximum") << 255 << 255 << 5000000u << TRealTimeMarquee::MaxPeriod;
}

void TestMarquee::stepAndInterval()
{
    QFETCH(int, stepIn);
    QFETCH(int, stepOut);
    QFETCH(uint, intervalIn);
    QFETCH(uint, intervalOut);
    ManualMarquee m;
    m.SetStep(quint8(stepIn));
    QCOMPARE(int(m.Step()), stepOut);
    m.SetInterval(intervalIn);
    QCOMPARE(m.Interval(), quint32(intervalOut));
    QCOMPARE(m.Resolution(), quint32(intervalOut / 10));
}

void TestMarquee::clearAndAddWhileRunning()
{
    ManualMarquee m;
    AddBlocks(m, {50, 50});
    m.show();
    m.SetActive(true);
    Ticks(m, 300);
    QCOMPARE(m.VisibleCount(), 1u);

    m.Items()->Clear();
    QVERIFY(!m.TimerArmed());
    QCOMPARE(m.VisibleCount(), 0u);
    m.TimerTick(); // a stray tick with nothing to show does nothing
    QVERIFY(!m.TimerArmed());

    TMarqueeItem *item = m.Items()->Add();
    item->SetStyle(msOwnerDraw);
    item->SetTag(30);
    QVERIFY(m.TimerArmed());
    Ticks(m, 10);
    // A new run: the item has entered 10 pixels from the right edge.
    QCOMPARE(ColourBounds(Render(m), Qt::red), QRect(190, 5, 10, 10));
}

void TestMarquee::showingItemChanged()
{
    ManualMarquee m;
    AddBlocks(m, {50, 40});
    m.SetSpacing(10); // 20-pixel gap: both on screen from tick 70
    m.show();
    m.SetActive(true);
    Ticks(m, 100);
    QCOMPARE(m.VisibleCount(), 2u);
    QCOMPARE(ColourBounds(Render(m), Qt::red), QRect(100, 5, 50, 10));
    QCOMPARE(ColourBounds(Render(m), Qt::blue), QRect(170, 5, 30, 10));

    // The older item grows while showing: the newest stays put, the older
    // one is laid out again behind it.
    TMarqueeItem *first = m.Items()->Items(0);
    first->SetTag(80);
    first->SetText(QStringLiteral("re-render"));
    QCOMPARE(m.VisibleCount(), 2u);
    QCOMPARE(ColourBounds(Render(m), Qt::blue), QRect(170, 5, 30, 10));
    QCOMPARE(ColourBounds(Render(m), Qt::red), QRect(70, 5, 80, 10));
    // And it leaves once its new trailing edge has gone: 70 + 80 = 150 more ticks.
    Ticks(m, 149);
    QVERIFY(first->Showing());
    Ticks(m, 1);
    QVERIFY(!first->Showing());
}

void TestMarquee::spacingChangeRelays()
{
    ManualMarquee m;
    AddBlocks(m, {50, 40});
    m.SetSpacing(10);
    m.show();
    m.SetActive(true);
    Ticks(m, 100);
    QCOMPARE(m.VisibleCount(), 2u);
    // With a full-extent gap the older item would lie beyond the left edge.
    m.SetSpacing(100);
    QCOMPARE(m.VisibleCount(), 1u);
    QVERIFY(!m.Items()->Items(0)->Showing());
    QCOMPARE(ColourBounds(Render(m), Qt::blue), QRect(170, 5, 30, 10));
    QCOMPARE(ColourBounds(Render(m), Qt::red), QRect());
    // Back to the narrow gap: the older item is laid out behind it again.
    m.SetSpacing(10);
    QCOMPARE(m.VisibleCount(), 2u);
    QCOMPARE(ColourBounds(Render(m), Qt::red), QRect(100, 5, 50, 10));
}

void TestMarquee::itemsFromWorker()
{
    ManualMarquee m;
    m.SetActive(true);
    m.show();
    AddBlocks(m, {});
    // The news load fills the strip from a worker inside the update bracket.
    QThread *worker = QThread::create([&m] {
        m.Items()->BeginUpdate();
        m.Items()->Clear();
        for (int w : {30, 20}) {
            TMarqueeItem *item = m.Items()->Add();
            item->SetStyle(msOwnerDraw);
            item->SetTag(w);
        }
        m.Items()->EndUpdate();
    });
    worker->start();
    QVERIFY(worker->wait(10000));
    delete worker;
    QCoreApplication::processEvents();
    QCOMPARE(m.Items()->Count(), 2);
    Ticks(m, 20);
    QCOMPARE(ColourBounds(Render(m), Qt::red), QRect(180, 5, 20, 10));
}

void TestMarquee::pixels_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<bool>("rtl");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QRect>("red");
    QTest::addColumn<QRect>("blue");

    // Square blocks 30 (red) and 20 (blue), item gap 20, after 60 ticks: red's
    // leading edge is 60 from the entry edge, blue entered 10 ticks ago.
    QTest::newRow("left to right") << false << false << int(maCenter) << QRect(140, 5, 30, 30) << QRect(190, 10, 10, 20);
    QTest::newRow("right to left") << false << true << int(maCenter) << QRect(30, 5, 30, 30) << QRect(0, 10, 10, 20);
    QTest::newRow("top aligned") << false << false << int(maLeftOrTop) << QRect(140, 0, 30, 30) << QRect(190, 0, 10, 20);
    QTest::newRow("bottom aligned") << false << false << int(maRightOrBottom) << QRect(140, 10, 30, 30) << QRect(190, 20, 10, 20);
    QTest::newRow("vertical") << true << false << int(maCenter) << QRect(5, 140, 30, 30) << QRect(10, 190, 20, 10);
}

void TestMarquee::pixels()
{
    QFETCH(bool, vertical);
    QFETCH(bool, rtl);
    QFETCH(int, alignment);
    QFETCH(QRect, red);
    QFETCH(QRect, blue);

    ManualMarquee m;
    m.resize(vertical ? QSize(40, 200) : QSize(200, 40));
    if (rtl)
        m.setLayoutDirection(Qt::RightToLeft);
    if (vertical)
        m.SetOrientation(moVertical);
    m.SetSpacing(10);
    m.SetColor(Qt::black);
    AddBlocks(m, {30, 20}, true);
    for (int i = 0; i < 2; ++i)
        m.Items()->Items(i)->SetAlignment(TMarqueeAlignment(alignment));
    m.show();
    m.SetActive(true);
    Ticks(m, 60);
    const QImage img = Render(m);
    QCOMPARE(ColourBounds(img, Qt::red), red);
    QCOMPARE(ColourBounds(img, Qt::blue), blue);
    // Everything else is the control's colour.
    int stray = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            stray += c != Qt::black && c != Qt::red && c != Qt::blue;
        }
    QCOMPARE(stray, 0);
}

void TestMarquee::stripPaintMatchesFullPaint()
{
    // Moving yesterday's pixels by the step and painting only the uncovered
    // strip must give what a full repaint gives, also across item and loop gaps.
    ManualMarquee m;
    m.resize(120, 20);
    m.SetSpacing(10);
    m.SetLoopSpacing(30);
    m.SetStep(3);
    AddBlocks(m, {25, 7, 40});
    m.show();
    m.SetActive(true);
    QImage screen = Render(m);
    for (int tick = 0; tick < 200; ++tick) {
        m.TimerTick();
        QImage moved(screen.size(), screen.format());
        {
            QPainter p(&moved);
            p.drawImage(-3, 0, screen);
            m.PaintItems(p, QRect(117, 0, 3, 20));
        }
        screen = moved;
        QVERIFY2(screen == Render(m), qPrintable(QStringLiteral("differs after tick %1").arg(tick + 1)));
    }
}

void TestMarquee::links()
{
    ManualMarquee m;
    m.resize(300, 30);
    QFont f(QStringLiteral("DejaVu Sans Mono"));
    f.setPointSize(10);
    m.setFont(f);
    QStringList images;
    m.OnImage = [&](TRealTimeMarquee *, const QString &uri, QImage &image) {
        images << uri;
        image = QImage(8, 8, QImage::Format_RGB32);
        image.fill(Qt::red);
    };
    TMarqueeItem *item = m.Items()->Add();
    item->SetStyle(msHTML);
    item->SetText(QStringLiteral("<img src=\"logo\"/> <a href=\"https://kestro.example/haber\">Haber</a> | "
                                 "<a href=\"/etc/passwd\">dosya</a>"));
    m.show();
    m.SetActive(true);
    Ticks(m, 290);
    QCOMPARE(images, QStringList{QStringLiteral("logo")});
    QVERIFY(item->Links());
    QCOMPARE(item->Links()->Count(), 2);

    const int x0 = 300 - 290, y0 = (30 - item->Height()) / 2;
    const QPoint onWeb = item->Links()->Bounds(0).center() + QPoint(x0, y0);
    const QPoint onFile = item->Links()->Bounds(1).center() + QPoint(x0, y0);
    const QPoint outside(x0 + 2, 15);
    QCOMPARE(m.LinkAtPoint(onWeb), QStringLiteral("https://kestro.example/haber"));
    QCOMPARE(m.LinkAtPoint(outside), QString());

    QStringList clicks, links;
    m.OnClick = [&](TRealTimeMarquee *) { clicks << QStringLiteral("click"); };
    m.OnLink = [&](TRealTimeMarquee *, const QString &link) { links << link; };
    QTest::mouseClick(&m, Qt::LeftButton, {}, outside);
    QCOMPARE(clicks.size(), 1);
    QVERIFY(links.isEmpty());
    QTest::mouseClick(&m, Qt::LeftButton, {}, onWeb);
    QCOMPARE(clicks.size(), 2);
    QCOMPARE(links, QStringList{QStringLiteral("https://kestro.example/haber")});

    // Without a handler web links go to the desktop; local paths never do.
    m.OnLink = nullptr;
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "handle");
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "handle");
    QTest::mouseClick(&m, Qt::LeftButton, {}, onWeb);
    QTest::mouseClick(&m, Qt::LeftButton, {}, onFile);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(catcher.urls, QList<QUrl>{QUrl(QStringLiteral("https://kestro.example/haber"))});
}

void TestMarquee::strings()
{
    ManualMarquee m;
    m.Items()->Add()->SetText(QStringLiteral("bir"));
    TMarqueeItem *second = m.Items()->Add();
    second->SetText(QStringLiteral("iki\nüç"));
    second->SetStyle(msOwnerDraw);
    second->SetTag(9);
    QStringList saved;
    m.Items()->SaveToStrings(saved);
    QCOMPARE(saved, QStringList({QStringLiteral("bir"), QStringLiteral("iki"), QStringLiteral("üç")}));

    ManualMarquee other;
    other.Items()->Add()->SetText(QStringLiteral("old"));
    other.Items()->LoadFromStrings(saved, msHTML);
    QCOMPARE(other.Items()->Count(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(other.Items()->Items(i)->Text(), saved[i]);
        QCOMPARE(other.Items()->Items(i)->Style(), msHTML);
        QCOMPARE(other.Items()->Items(i)->Tag(), 0);
    }
}

void TestMarquee::verticalTextRewraps()
{
    const QString text = QStringLiteral("Yeni fiyat listesi yayınlandı, kampanyalı ürünler sepette");
    for (const bool vertical : {true, false}) {
        ManualMarquee m;
        m.resize(120, 200);
        if (vertical)
            m.SetOrientation(moVertical);
        TMarqueeItem *item = m.Items()->Add();
        item->SetText(text);
        m.show();
        const QSize before(item->Width(), item->Height());
        m.resize(400, 200);
        QCOMPARE(item->Prepared(), !vertical);
        const QSize after(item->Width(), item->Height());
        const int line = QFontMetrics(m.font()).height();
        if (vertical) {
            // Wrapped at 120 minus a character, then fewer lines at 400.
            QVERIFY(before.width() <= 120);
            QVERIFY(before.height() >= 3 * line);
            QVERIFY(after.height() < before.height());
        } else {
            QCOMPARE(after, before);
            QVERIFY(before.height() < 2 * line);
        }
    }
}

QTEST_MAIN(TestMarquee)
#include "tst_marquee.moc"
