// Shows the display controls side by side: the news strip (HTML item), the
// banner strip (owner-drawn item), a vertical text marquee and a TSimpleHTML
// snippet drawn straight into a widget. With --screenshot FILE the window is
// captured after a few seconds of scrolling and the program ends.

#include "marquee.h"
#include "simplehtml.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>

namespace {

// A TSimpleHTML document laid out in one line across the widget.
class HtmlView : public QWidget
{
public:
    explicit HtmlView(const QString &html) : fHtml(html) { setFixedHeight(30); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(0xf4, 0xf4, 0xf0));
        p.setFont(font());
        p.setPen(Qt::black);
        p.setBrush(Qt::NoBrush);
        TSimpleHTML doc(fHtml);
        doc.OnGetImage = [](TSimpleHTML *, const QString &uri, QImage &image) {
            image = QImage(16, 16, QImage::Format_ARGB32);
            image.fill(QColor(uri));
        };
        TCanvas canvas(p);
        doc.Draw(canvas, rect().adjusted(8, 0, -8, 0));
    }

private:
    QString fHtml;
};

}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCommandLineParser cli;
    cli.addHelpOption();
    QCommandLineOption shot(QStringLiteral("screenshot"), QStringLiteral("Save the window to FILE and quit."),
                            QStringLiteral("FILE"));
    cli.addOption(shot);
    cli.process(app);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Kestro — görüntü denetimleri"));
    auto *layout = new QVBoxLayout(&window);

    auto caption = [&](const QString &text) {
        auto *l = new QLabel(text);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        layout->addWidget(l);
    };

    caption(QStringLiteral("Haber bandı (HTML)"));
    auto *news = new TRealTimeMarquee;
    news->setMinimumSize(720, 28);
    news->SetColor(QColor(0xff, 0xfb, 0xe6));
    news->SetStep(2);
    news->SetLoopSpacing(10);
    TMarqueeItem *item = news->Items()->Add();
    item->SetStyle(msHTML);
    item->SetText(QStringLiteral(
        "<b>Duyuru:</b> Yeni fiyat listesi yayınlandı &bull; <font color=\"#c00000\">Kampanyalı ürünlerde "
        "<b>%20</b> indirim</font> &bull; <a href=\"https://kestro.example/haber\"><u>Kargo değişikliği</u></a> "
        "&bull; Sipariş saatleri 08:30&ndash;17:30 &bull; H<sub>2</sub>O m<sup>2</sup> "
        "<font bgcolor=\"navy\" color=\"white\"> YENİ </font>"));
    layout->addWidget(news);

    caption(QStringLiteral("Banner (sahibi çizer)"));
    auto *banner = new TRealTimeMarquee;
    banner->setMinimumSize(720, 48);
    banner->SetSpacing(5);
    banner->SetLoopSpacing(5);
    banner->OnDrawItem = [](TRealTimeMarquee *, TMarqueeItem *it, TMarqueeBitmap &bitmap) {
        bitmap.SetSize(260, 44);
        QPainter p(&bitmap.Image);
        QLinearGradient g(0, 0, 260, 0);
        g.setColorAt(0, QColor::fromHsv((it->Index() * 70) % 360, 160, 230));
        g.setColorAt(1, QColor::fromHsv((it->Index() * 70 + 40) % 360, 200, 160));
        p.fillRect(bitmap.Image.rect(), g);
        p.setPen(Qt::white);
        QFont f = bitmap.Font;
        f.setPointSize(14);
        f.setBold(true);
        p.setFont(f);
        p.drawText(bitmap.Image.rect(), Qt::AlignCenter, it->Text());
    };
    for (const char *t : {"Fren Balatası", "Yağ Filtresi", "Amortisör", "Debriyaj Seti"}) {
        TMarqueeItem *b = banner->Items()->Add();
        b->SetText(QString::fromUtf8(t));
        b->SetStyle(msOwnerDraw);
    }
    layout->addWidget(banner);

    auto *row = new QHBoxLayout;
    auto *vertical = new TRealTimeMarquee;
    vertical->setFixedSize(220, 120);
    vertical->SetOrientation(moVertical);
    vertical->SetSpacing(10);
    vertical->SetColor(Qt::white);
    vertical->Items()->LoadFromStrings(
        {QStringLiteral("Siparişleriniz saat 15:00'e kadar aynı gün kargoda."),
         QStringLiteral("Bakiye ekstrenizi Hesap sekmesinden indirebilirsiniz."),
         QStringLiteral("Yeni ürünler her pazartesi listede.")},
        msText);
    for (int i = 0; i < vertical->Items()->Count(); ++i)
        vertical->Items()->Items(i)->SetAlignment(maLeftOrTop);
    row->addWidget(vertical);
    auto *html = new HtmlView(QStringLiteral(
        "<img src=\"#2a7\"/> <b>TSimpleHTML</b>: <i>italik</i>, <u>altı çizili</u>, <s>üstü çizili</s>, "
        "<font size=\"+3\" color=\"teal\">büyük</font>, x<sup>2</sup>, a<sub>i</sub>, "
        "<font bgcolor=\"yellow\">&laquo;zemin&raquo;</font> &euro; &copy;"));
    row->addWidget(html, 1, Qt::AlignVCenter);
    layout->addLayout(row);

    for (TRealTimeMarquee *m : {news, banner, vertical})
        m->SetActive(true);
    news->OnLink = [](TRealTimeMarquee *, const QString &link) { std::printf("link: %s\n", qPrintable(link)); };

    window.show();
    if (cli.isSet(shot)) {
        const QString file = cli.value(shot);
        QTimer::singleShot(4500, &window, [&window, file] {
            const bool ok = window.grab().save(file);
            std::printf("%s %s\n", ok ? "saved" : "could not save", qPrintable(file));
            QApplication::exit(ok ? 0 : 1);
        });
    }
    return app.exec();
}
