// Feeds generated and mutated markup to the simple HTML parser, its layout and
// output, and to a marquee HTML item, for a given number of seconds.
//
//   kestro-fuzz-display [seconds=60] [seed]
//
// Stops with a report (and exit code 1) when a round trip through InnerHTML
// changes the markup or one input takes longer than the watchdog allows;
// memory and undefined-behaviour faults are reported by the sanitizers.

#include "marquee.h"
#include "simplehtml.h"
#include "simplehtmlcolor.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>

namespace {

std::mt19937_64 rng;

int Pick(int n)
{
    return int(rng() % quint64(std::max(1, n)));
}

bool Chance(int percent)
{
    return Pick(100) < percent;
}

template <typename T, size_t N>
const T &OneOf(const T (&items)[N])
{
    return items[Pick(int(N))];
}

const char *const kTags[] = {"b", "i", "u", "s", "strike", "strong", "font", "sup", "sub", "small",
                             "big", "a", "img", "dur", "span", "html", "x1", "FoNt", "ğ", "br"};
const char *const kAttrs[] = {"size", "color", "bgcolor", "face", "dir", "href", "src", "width",
                              "height", "hspace", "vspace", "SIZE", "Dir", "x"};
const char *const kValues[] = {"+2", "-3", "7", "0", "-2147483648", "2147483647", "99999", "abc", "#fff",
                               "#FF8000", "#ff80", "red", "btnface", "rtl", "LTR", "img", "pic", "",
                               "&amp;", "&foo;", "x&#65;y", "1e9", " 5", "+", "-"};
const char *const kEntities[] = {"&nbsp;", "&amp;", "&lt;", "&gt;", "&quot;", "&euro;", "&Dagger;", "&#0;",
                                 "&#65;", "&#65601;", "&#x41;", "&#55296;", "&foo;", "&", "&;", "&#;",
                                 "&amp;lt;", "&#99999999999999999999;"};
const char *const kNoise[] = {"<", ">", "/", "&", ";", "=", "\"", "'", "<!--", "-->", "</", "/>", " ", "\t",
                              "\r\n", "<>", "< b>", "</>"};

QString RandomText()
{
    QString s;
    const int n = Pick(12);
    for (int i = 0; i < n; ++i) {
        switch (Pick(6)) {
        case 0:
            s += QChar(char16_t(0x20 + Pick(0x5f)));
            break;
        case 1:
            s += QChar(char16_t(0xa0 + Pick(0x2000))); // Latin, Greek, Hebrew, Arabic, ...
            break;
        case 2:
            s += QChar(char16_t(Pick(0x10000))); // anything, lone surrogates included
            break;
        case 3:
            s += QStringLiteral("Kampanya ");
            break;
        case 4:
            s += QString::fromUtf8("שלום مرحبا ");
            break;
        default:
            s += QString::fromLatin1(OneOf(kEntities));
            break;
        }
    }
    return s;
}

QString RandomAttribute()
{
    QString a = u' ' + QString::fromLatin1(OneOf(kAttrs));
    switch (Pick(5)) {
    case 0:
        return a;
    case 1:
        return a + QStringLiteral("=") + QString::fromUtf8(OneOf(kValues));
    case 2:
        return a + QStringLiteral("='") + QString::fromUtf8(OneOf(kValues)) + u'\'';
    default:
        return a + QStringLiteral("=\"") + QString::fromUtf8(OneOf(kValues)) + u'"';
    }
}

QString Generate(int depth)
{
    QString s;
    const int parts = 1 + Pick(6);
    for (int i = 0; i < parts; ++i) {
        const int kind = Pick(10);
        if (kind < 3) {
            s += RandomText();
        } else if (kind < 8 && depth < 12) {
            const QString tag = QString::fromUtf8(OneOf(kTags));
            QString open = u'<' + tag;
            for (int a = Pick(4); a > 0; --a)
                open += RandomAttribute();
            if (Chance(20))
                s += open + QStringLiteral("/>");
            else
                s += open + u'>' + Generate(depth + 1) + QStringLiteral("</") + (Chance(95) ? tag : QStringLiteral("b")) + u'>';
        } else if (kind == 8) {
            s += QStringLiteral("<!--") + RandomText() + (Chance(90) ? QStringLiteral("-->") : QString());
        } else {
            s += QString::fromLatin1(OneOf(kNoise));
        }
    }
    return s;
}

QString Mutate(QString s, const QList<QString> &corpus)
{
    const int edits = 1 + Pick(8);
    for (int e = 0; e < edits; ++e) {
        const int pos = s.isEmpty() ? 0 : Pick(int(s.size()));
        switch (Pick(7)) {
        case 0:
            if (!s.isEmpty())
                s.remove(pos, 1 + Pick(8));
            break;
        case 1:
            s.insert(pos, QString::fromLatin1(OneOf(kNoise)));
            break;
        case 2:
            if (!s.isEmpty())
                s[pos] = QChar(char16_t(Pick(0x10000)));
            break;
        case 3:
            s.insert(pos, s.mid(Pick(int(s.size()) + 1), Pick(64)));
            break;
        case 4:
            if (!corpus.isEmpty()) {
                const QString &other = corpus[Pick(int(corpus.size()))];
                s = s.left(pos) + other.mid(Pick(int(other.size()) + 1));
            }
            break;
        case 5:
            s.insert(pos, Generate(0));
            break;
        default:
            s.insert(pos, QString::fromLatin1(OneOf(kEntities)));
            break;
        }
    }
    if (s.size() > 200000)
        s.truncate(200000);
    return s;
}

// A deep or wide input now and then, to reach the limits.
QString Extreme()
{
    switch (Pick(4)) {
    case 0:
        return QStringLiteral("<b>").repeated(Pick(400)) + u'x' + QStringLiteral("</b>").repeated(Pick(400));
    case 1:
        return QStringLiteral("&").repeated(Pick(50000)) + (Chance(50) ? QStringLiteral(";") : QString());
    case 2:
        return QStringLiteral("<img src=\"p\" width=8192 height=8192 hspace=8192 vspace=8192/>").repeated(1 + Pick(600));
    default:
        return QStringLiteral("<font size=+400><big><big>") + QString(20000, u'W') + QStringLiteral("</big></big></font>");
    }
}

void Fail(const char *what, const QString &input)
{
    std::fprintf(stderr, "FAILED: %s\ninput (%lld chars): %s\n", what, qlonglong(input.size()),
                 input.left(4000).toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

void Exercise(const QString &input, QImage &surface, TRealTimeMarquee &marquee, bool withMarquee)
{
    TSimpleHTML doc(input);
    if (Chance(80)) {
        doc.OnGetImage = [](TSimpleHTML *, const QString &uri, QImage &image) {
            if (uri.size() % 3 == 0)
                return; // empty picture
            image = QImage(1 + int(uri.size() % 17), 1 + int(uri.size() % 11), QImage::Format_ARGB32);
            image.fill(Qt::darkGreen);
        };
    }
    const QString inner = doc.InnerHTML();
    const QString outer = doc.OuterHTML();
    const QString text = doc.InnerText();
    Q_UNUSED(outer);
    Q_UNUSED(text);
    if (doc.IsValid()) {
        TSimpleHTML again(inner);
        if (!again.IsValid())
            Fail("InnerHTML of a valid document does not parse", input);
        if (again.InnerHTML() != inner)
            Fail("InnerHTML round trip changed the markup", input);
    }

    surface.fill(Qt::white);
    QPainter p(&surface);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSize(1 + Pick(30));
    p.setFont(f);
    if (Chance(50))
        p.setBrush(QBrush(Qt::yellow));
    TCanvas canvas(p);
    if (Chance(30))
        canvas.SetFlag(TextFlag::RtlReading, true);
    const QSize size = doc.Extend(canvas);
    if (size.width() < 0 || size.height() < 0 || size.width() > SimpleHTMLLimits::MaxExtent)
        Fail("extent out of range", input);
    const QRect area(Pick(50) - 10, Pick(20) - 5, Pick(500), Pick(60));
    doc.Draw(canvas, area);
    TSimpleLinks links;
    const int added = doc.CollectLinks(canvas, area, links);
    if (added != links.Count())
        Fail("link count mismatch", input);
    for (int i = 0; i < links.Count(); ++i)
        (void)links.IndexOfLinkAt(links.Bounds(i).x(), links.Bounds(i).y());
    p.end();

    if (withMarquee) {
        TMarqueeItem *item = marquee.Items()->Items(0);
        item->SetText(input);
        for (int t = 0; t < 5; ++t)
            marquee.TimerTick();
        (void)marquee.LinkAtPoint(QPoint(Pick(400), Pick(30)));
        QPainter mp(&surface);
        marquee.PaintItems(mp, QRect(0, 0, 400, 30));
    }
}

// Drives ticks by hand: the fuzz loop is the clock.
class FuzzMarquee : public TRealTimeMarquee
{
protected:
    void ArmTimer(int) override {}
    void DisarmTimer() override {}
};

}

// Font fallback warnings for random scripts would drown the report.
void QuietMessages(QtMsgType type, const QMessageLogContext &, const QString &msg)
{
    if (type == QtFatalMsg || type == QtCriticalMsg)
        std::fprintf(stderr, "%s\n", msg.toLocal8Bit().constData());
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietMessages);
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    const quint64 seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : quint64(std::random_device{}());
    rng.seed(seed);
    std::printf("seed %llu, %d s\n", (unsigned long long)seed, seconds);
    std::fflush(stdout);

    FuzzMarquee marquee;
    marquee.resize(400, 30);
    marquee.Items()->Add()->SetStyle(msHTML);
    marquee.SetStep(7);
    marquee.show();
    marquee.SetActive(true);

    // A watchdog: one input must never take this long.
    std::atomic<qint64> started{0};
    std::atomic<bool> done{false};
    std::thread watchdog([&] {
        using namespace std::chrono;
        while (!done) {
            std::this_thread::sleep_for(milliseconds(500));
            const qint64 s = started.load();
            const qint64 now = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
            if (s != 0 && now - s > 20000) {
                std::fprintf(stderr, "FAILED: input running for over 20 s (hang)\n");
                std::abort();
            }
        }
    });

    QImage surface(400, 60, QImage::Format_RGB32);
    QList<QString> corpus;
    QElapsedTimer clock;
    clock.start();
    quint64 inputs = 0, valid = 0;
    while (clock.elapsed() < qint64(seconds) * 1000) {
        QString input;
        const int how = Pick(100);
        if (how < 2)
            input = Extreme();
        else if (how < 45 || corpus.isEmpty())
            input = Generate(0);
        else
            input = Mutate(corpus[Pick(int(corpus.size()))], corpus);
        started = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now().time_since_epoch()).count();
        Exercise(input, surface, marquee, inputs % 8 == 0);
        started = 0;
        if (TSimpleHTML(input).IsValid())
            ++valid;
        if (corpus.size() < 2000 && input.size() < 5000)
            corpus.append(input);
        else if (input.size() < 5000)
            corpus[Pick(int(corpus.size()))] = input;
        ++inputs;
        if (inputs % 20000 == 0) {
            std::printf("%llu inputs, %lld s\n", (unsigned long long)inputs, qlonglong(clock.elapsed() / 1000));
            std::fflush(stdout);
        }
        // Colour names go through the application palette: exercise that path too.
        (void)SimpleHTMLColor::ParseColor(input.left(12), Qt::black);
    }
    done = true;
    watchdog.join();
    std::printf("done: %llu inputs (%llu valid) in %.1f s, seed %llu\n", (unsigned long long)inputs,
                (unsigned long long)valid, clock.elapsed() / 1000.0, (unsigned long long)seed);
    return 0;
}
