#include "simplehtml.h"
#include "simplehtmlcolor.h"

#include <QGuiApplication>
#include <QPalette>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

// Compact tree picture: TAG[attr=value,...]'text'(children...), '#' for text nodes.
QString Dump(const TSimpleHTMLNode *node)
{
    QString out = node->TagName().isEmpty() ? QStringLiteral("#") : node->TagName();
    if (node->AttributeCount() > 0) {
        QStringList attrs;
        for (int i = 0; i < node->AttributeCount(); ++i)
            attrs << node->AttributeName(i) + u'=' + node->Attributes(node->AttributeName(i));
        out += u'[' + attrs.join(u',') + u']';
    }
    if (!node->Text().isEmpty())
        out += u'\'' + node->Text() + u'\'';
    if (node->HasChildren()) {
        QStringList children;
        for (int i = 0; i < node->ChildCount(); ++i)
            children << Dump(node->Children(i));
        out += u'(' + children.join(u' ') + u')';
    }
    return out;
}

QFont FixedFont(int points = 10)
{
    QFont f(QStringLiteral("DejaVu Sans Mono"));
    f.setPointSize(points);
    f.setStyleHint(QFont::Monospace);
    return f;
}

// Bounding box of the pixels of one exact colour.
QRect ColourBounds(const QImage &img, QColor colour)
{
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) == colour)
                r |= QRect(x, y, 1, 1);
    return r;
}

// Pictures named by their colour: "red", "#00ff00", ...
void SolidPicture(TSimpleHTML *, const QString &uri, QImage &image)
{
    image = QImage(4, 4, QImage::Format_RGB32);
    image.fill(QColor(uri));
}

}

class TestSimpleHTML : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void output_data();
    void output();
    void entities_data();
    void entities();
    void markupRoundTrip();
    void colours_data();
    void colours();
    void styles_data();
    void styles();
    void imageLayout_data();
    void imageLayout();
    void textLayout_data();
    void textLayout();
    void links_data();
    void links();
    void imageSources();
    void treeEditing();
};

void TestSimpleHTML::parse_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("tree");

    QTest::newRow("plain text") << "Hello world" << true << "HTML'Hello world'";
    QTest::newRow("text, bold, text") << "a<b>bold</b>c" << true << "HTML(#'a' B'bold' #'c')";
    QTest::newRow("nested") << "<b>x<i>y</i></b>" << true << "HTML(B(#'x' I'y'))";
    QTest::newRow("img left open") << "<img src=\"x.png\">" << false << "HTML(IMG[src=x.png])";
    QTest::newRow("unquoted src keeps slash") << "<img src=x.png/>" << false << "HTML(IMG[src=x.png/])";
    QTest::newRow("quoted src closes") << "<img src=\"x.png\"/>" << true << "HTML(IMG[src=x.png])";
    QTest::newRow("self-closed keeps current") << "<b>a<br/>c</b>" << true << "HTML(B(#'a' BR #'c'))";
    QTest::newRow("closing without open") << "a</b>" << false << "HTML'a'";
    QTest::newRow("closing other element") << "<b>x</i>" << false << "HTML(B'x')";
    QTest::newRow("closing HTML at top") << "x</html>" << false << "HTML'x'";
    QTest::newRow("unterminated comment") << "a<!-- b" << false << "HTML(#'a')";
    QTest::newRow("comment") << "a<!-- <b> -->b" << true << "HTML(#'a' #'b')";
    QTest::newRow("comment end needs two chars") << "<!-->x-->y" << true << "HTML'y'";
    QTest::newRow("hyphen in attribute name") << "<font data-x=\"1\">a</font>" << false << "HTML";
    QTest::newRow("attribute without value dropped") << "<font color>a</font>" << true << "HTML(FONT'a')";
    QTest::newRow("later attribute replaces") << "<font color=\"red\" size=3 COLOR='blue'>a</font>" << true
                                              << "HTML(FONT[color=blue,size=3]'a')";
    QTest::newRow("empty value removes") << "<font color=\"red\" color=\"\">a</font>" << true << "HTML(FONT'a')";
    QTest::newRow("unknown entity dropped from value") << "<a href=\"x&foo;y&amp;z\">l</a>" << true
                                                       << "HTML(A[href=xy&z]'l')";
    QTest::newRow("spaces inside tags") << "<b \r\n\t>x</b >" << true << "HTML(B'x')";
    QTest::newRow("any script tag name") << "<ğ>x</Ğ>" << true << "HTML(Ğ'x')";
    QTest::newRow("unquoted value at end") << "<font size=3" << false << "HTML";
    QTest::newRow("missing closing quote") << "<font color=\"red>a</font>" << false << "HTML";
    QTest::newRow("equals then bracket") << "<font color= >a</font>" << false << "HTML";
    QTest::newRow("slash not closing") << "<br/ >" << false << "HTML";
    QTest::newRow("empty tag name") << "a < b" << false << "HTML(#'a ')";
    QTest::newRow("open at end") << "<b>x" << false << "HTML(B)";
    QTest::newRow("bare brackets and ampersand") << "a>b & c" << true << "HTML'a>b & c'";
    QTest::newRow("one decoding pass") << "&amp;lt;" << true << "HTML'&lt;'";
    QTest::newRow("unknown entity stays") << "&foo;&Amp;" << true << "HTML'&foo;&Amp;'";
    QTest::newRow("numeric zero stays") << "&#0;" << true << "HTML'&#0;'";
    QTest::newRow("hex numeric stays") << "&#x41;" << true << "HTML'&#x41;'";
    QTest::newRow("numeric wraps at 65536") << "&#65;&#65601;" << true << "HTML'AA'";
    QTest::newRow("entity then text in element") << "<b>&lt;x&gt;</b>" << true << "HTML(B'<x>')";

    const int depth = TSimpleHTML::MaxDepth;
    QTest::newRow("deepest nesting") << QString(QStringLiteral("<b>").repeated(depth) + u'x' +
                                                QStringLiteral("</b>").repeated(depth))
                                     << true << QString();
    QTest::newRow("too deep") << QString(QStringLiteral("<b>").repeated(depth + 1) + u'x' +
                                         QStringLiteral("</b>").repeated(depth + 1))
                              << false << QString();
}

void TestSimpleHTML::parse()
{
    QFETCH(QString, html);
    QFETCH(bool, valid);
    QFETCH(QString, tree);
    TSimpleHTML doc(html);
    QCOMPARE(doc.IsValid(), valid);
    if (!tree.isEmpty())
        QCOMPARE(Dump(&doc), tree);
}

void TestSimpleHTML::output_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("innerText");
    QTest::addColumn<QString>("outerHTML");

    QTest::newRow("mixed") << "a<b>b</b>c" << "a b c" << "<HTML>a<B>b</B>c</HTML>";
    QTest::newRow("text only") << "x &lt; y" << "x < y" << "<HTML>x &lt; y</HTML>";
    QTest::newRow("empty elements") << "a<b></b><br/>" << "a  " << "<HTML>a<B/><BR/></HTML>";
    QTest::newRow("attributes encoded")
        << "<a href='say \"hi\" &amp; go' title=t>x</a>" << "x"
        << "<HTML><A href=\"say &quot;hi&quot; &amp; go\" title=\"t\">x</A></HTML>";
    QTest::newRow("non-ASCII with entity") << "<i>5&euro; &#215; 2</i>" << "5€ × 2" << "<HTML><I>5&euro; &times; 2</I></HTML>";
}

void TestSimpleHTML::output()
{
    QFETCH(QString, html);
    QFETCH(QString, innerText);
    QFETCH(QString, outerHTML);
    TSimpleHTML doc(html);
    QVERIFY(doc.IsValid());
    QCOMPARE(doc.InnerText(), innerText);
    QCOMPARE(doc.OuterHTML(), outerHTML);
}

void TestSimpleHTML::entities_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("code");
    // HTML 4.01 code points.
    const QList<QPair<const char *, int>> table = {
        {"nbsp", 160},    {"copy", 169},    {"reg", 174},     {"trade", 8482},  {"sup1", 185},   {"sup2", 178},
        {"sup3", 179},    {"quot", 34},     {"amp", 38},      {"lt", 60},       {"gt", 62},      {"ndash", 8211},
        {"mdash", 8212},  {"lsquo", 8216},  {"rsquo", 8217},  {"ldquo", 8220},  {"rdquo", 8221}, {"bull", 8226},
        {"dagger", 8224}, {"Dagger", 8225}, {"prime", 8242},  {"Prime", 8243},  {"lsaquo", 8249}, {"rsaquo", 8250},
        {"tilde", 732},   {"circ", 710},    {"spades", 9824}, {"clubs", 9827},  {"hearts", 9829}, {"diams", 9830},
        {"loz", 9674},    {"larr", 8592},   {"rarr", 8594},   {"uarr", 8593},   {"darr", 8595},  {"harr", 8596},
        {"not", 172},     {"frac14", 188},  {"frac12", 189},  {"frac34", 190},  {"plusmn", 177}, {"laquo", 171},
        {"raquo", 187},   {"deg", 176},     {"ordf", 170},    {"ordm", 186},    {"iexcl", 161},  {"iquest", 191},
        {"euro", 8364},   {"cent", 162},    {"pound", 163},   {"yen", 165},     {"curren", 164}, {"sect", 167},
        {"para", 182},    {"macr", 175},    {"middot", 183},  {"micro", 181},   {"times", 215},  {"divide", 247},
    };
    QCOMPARE(table.size(), 60);
    for (const auto &e : table)
        QTest::newRow(e.first) << QString::fromLatin1(e.first) << e.second;
}

void TestSimpleHTML::entities()
{
    QFETCH(QString, name);
    QFETCH(int, code);
    const QString ch = QString(QChar(char16_t(code)));

    TSimpleHTML named(u'&' + name + u';');
    QCOMPARE(named.Text(), ch);
    TSimpleHTML numeric(QStringLiteral("&#%1;").arg(code));
    QCOMPARE(numeric.Text(), ch);
    // Output always uses the name, whichever way the character came in.
    QCOMPARE(numeric.InnerHTML(), u'&' + name + u';');
    TSimpleHTML inValue(QStringLiteral("<a href=\"&%1;\">x</a>").arg(name));
    QCOMPARE(inValue.Children(0)->Attributes(QStringLiteral("href")), ch);
}

void TestSimpleHTML::markupRoundTrip()
{
    const QString html = QStringLiteral(
        "Kampanya <font color=\"#ff0000\" size=\"+2\"><b>&laquo;50&nbsp;%&raquo;</b></font> "
        "<a href=\"https://example.com/?a=1&amp;b=2\">detay</a><img src=\"x\" width=\"3\"/> &copy; 2026 &amp;c");
    TSimpleHTML first(html);
    QVERIFY(first.IsValid());
    TSimpleHTML second(first.InnerHTML());
    QVERIFY(second.IsValid());
    QCOMPARE(second.InnerHTML(), first.InnerHTML());
    QCOMPARE(Dump(&second), Dump(&first));
}

void TestSimpleHTML::colours_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("expected");
    const QColor fallback(1, 2, 3);
    QTest::newRow("six digits") << "#FF8000" << QColor(255, 128, 0);
    QTest::newRow("three digits") << "#f80" << QColor(255, 136, 0);
    QTest::newRow("three digits as six") << "#ff8800" << QColor(255, 136, 0);
    QTest::newRow("four digits") << "#ff80" << fallback;
    QTest::newRow("bad hex digit") << "#gg0000" << fallback;
    QTest::newRow("lone hash") << "#" << fallback;
    QTest::newRow("name") << "red" << QColor(255, 0, 0);
    QTest::newRow("name any case") << "NaVy" << QColor(0, 0, 128);
    QTest::newRow("extended name") << "moneygreen" << QColor(0xC0, 0xDC, 0xC0);
    QTest::newRow("prefixed name") << "clRed" << fallback;
    QTest::newRow("unknown name") << "rebeccapurple" << fallback;
    QTest::newRow("empty") << "" << fallback;
    QTest::newRow("system colour") << "btnface" << QGuiApplication::palette().color(QPalette::Active, QPalette::Button);
}

void TestSimpleHTML::colours()
{
    QFETCH(QString, text);
    QFETCH(QColor, expected);
    QCOMPARE(SimpleHTMLColor::ParseColor(text, QColor(1, 2, 3)), expected);
}

void TestSimpleHTML::styles_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<int>("points");
    QTest::addColumn<uint>("flags");
    QTest::addColumn<QString>("font"); // b/i/u/s letters expected on

    QTest::newRow("size plus") << "<font size=\"+2\">x</font>" << 12 << 0u << "";
    QTest::newRow("size absolute") << "<font size=\"2\">x</font>" << 2 << 0u << "";
    QTest::newRow("size minus") << "<font size=-3>x</font>" << 7 << 0u << "";
    QTest::newRow("size not a number") << "<font size=big>x</font>" << 10 << 0u << "";
    QTest::newRow("size clamped") << "<font size=-40>x</font>" << 1 << 0u << "";
    QTest::newRow("sup") << "<sup>x</sup>" << 7 << uint(TextFlag::Superscript) << "";
    QTest::newRow("sub") << "<sub>x</sub>" << 7 << uint(TextFlag::Subscript) << "";
    QTest::newRow("small rounds") << "<small>x</small>" << 8 << 0u << "";
    QTest::newRow("big rounds") << "<big>x</big>" << 13 << 0u << "";
    QTest::newRow("strong") << "<strong>x</strong>" << 10 << 0u << "b";
    QTest::newRow("italic") << "<i>x</i>" << 10 << 0u << "i";
    QTest::newRow("underline") << "<u>x</u>" << 10 << 0u << "u";
    QTest::newRow("strike") << "<strike>x</strike>" << 10 << 0u << "s";
    QTest::newRow("dir rtl any case") << "<span dir=\"rTl\">x</span>" << 10 << uint(TextFlag::RtlReading) << "";
    QTest::newRow("anchor has no style") << "<a href=\"h\">x</a>" << 10 << 0u << "";
}

void TestSimpleHTML::styles()
{
    QFETCH(QString, html);
    QFETCH(int, points);
    QFETCH(uint, flags);
    QFETCH(QString, font);
    TSimpleHTML doc(html);
    QVERIFY(doc.IsValid());
    QImage img(4, 4, QImage::Format_RGB32);
    QPainter p(&img);
    p.setFont(FixedFont(10));
    TCanvas canvas(p);
    {
        TCanvasRecall recall(&canvas);
        doc.Children(0)->ApplyStyle(canvas);
        QCOMPARE(p.font().pointSize(), points);
        QCOMPARE(uint(canvas.TextFlags), flags);
        QCOMPARE(p.font().bold(), font.contains(u'b'));
        QCOMPARE(p.font().italic(), font.contains(u'i'));
        QCOMPARE(p.font().underline(), font.contains(u'u'));
        QCOMPARE(p.font().strikeOut(), font.contains(u's'));
    }
    // The recall puts everything back for the next sibling.
    QCOMPARE(p.font(), FixedFont(10));
    QCOMPARE(canvas.TextFlags, 0u);
}

void TestSimpleHTML::imageLayout_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QSize>("extent");
    QTest::addColumn<QRect>("red");
    QTest::addColumn<QRect>("green");
    QTest::addColumn<QRect>("blue");

    // Drawn into (10, 0, 180 x 40).
    const QString row = QStringLiteral("<img src=\"red\" width=20 height=10 hspace=2 vspace=\"3\"/>"
                                       "<sup><img src=\"#00ff00\" width=10 height=10 vspace=\"1\"/></sup>"
                                       "<sub><img src=\"blue\" width=\"10\" height=\"10\" vspace=\"1\"/></sub>");
    QTest::newRow("left to right") << row << QSize(44, 16) << QRect(12, 15, 20, 10) << QRect(34, 1, 10, 10)
                                   << QRect(44, 29, 10, 10);
    QTest::newRow("right to left") << QStringLiteral("<span dir=rtl>%1</span>").arg(row) << QSize(44, 16)
                                   << QRect(168, 15, 20, 10) << QRect(156, 1, 10, 10) << QRect(146, 29, 10, 10);
    QTest::newRow("picture size when no attributes") << QStringLiteral("<img src=\"red\"/>") << QSize(4, 4)
                                                     << QRect(10, 18, 4, 4) << QRect() << QRect();
    QTest::newRow("bad numbers count as zero") << QStringLiteral("<img src=\"red\" width=abc height=5 hspace=-3 />")
                                               << QSize(0, 5) << QRect() << QRect() << QRect();
}

void TestSimpleHTML::imageLayout()
{
    QFETCH(QString, html);
    QFETCH(QSize, extent);
    QFETCH(QRect, red);
    QFETCH(QRect, green);
    QFETCH(QRect, blue);

    TSimpleHTML doc(html);
    doc.OnGetImage = SolidPicture;
    QImage img(200, 40, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setFont(FixedFont(10));
    p.setBrush(Qt::NoBrush);
    TCanvas canvas(p);
    QVERIFY(doc.IsValid());
    QCOMPARE(doc.Extend(canvas), extent);
    doc.Draw(canvas, QRect(10, 0, 180, 40));
    p.end();
    QCOMPARE(ColourBounds(img, Qt::red), red);
    QCOMPARE(ColourBounds(img, QColor(0, 255, 0)), green);
    QCOMPARE(ColourBounds(img, Qt::blue), blue);
}

void TestSimpleHTML::textLayout_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<int>("points");   // size of the background run
    QTest::addColumn<QString>("before"); // base-size text in front of it
    QTest::addColumn<QString>("run");
    QTest::addColumn<QString>("place"); // top / bottom / centre
    QTest::addColumn<bool>("rtl");

    QTest::newRow("background centred") << "ab<font bgcolor=\"#0000ff\">Hi</font>" << 10 << "ab" << "Hi" << "centre" << false;
    QTest::newRow("superscript at top") << "ab<sup><font bgcolor=\"blue\">Hi</font></sup>" << 7 << "ab" << "Hi" << "top" << false;
    QTest::newRow("subscript at bottom") << "ab<sub><font bgcolor=\"blue\">Hi</font></sub>" << 7 << "ab" << "Hi" << "bottom" << false;
    QTest::newRow("right to left") << "<b dir=rtl>ab<font bgcolor=\"#00f\">Hi</font></b>" << 10 << "ab" << "Hi" << "centre" << true;
}

void TestSimpleHTML::textLayout()
{
    QFETCH(QString, html);
    QFETCH(int, points);
    QFETCH(QString, before);
    QFETCH(QString, run);
    QFETCH(QString, place);
    QFETCH(bool, rtl);

    TSimpleHTML doc(html);
    QVERIFY(doc.IsValid());
    QImage img(200, 40, QImage::Format_RGB32);
    img.fill(Qt::white);
    QFont base = FixedFont(10);
    if (rtl)
        base.setBold(true);
    QFont small = base;
    small.setPointSize(points);
    const QFontMetrics fmBase(base, &img);
    const QFontMetrics fmRun(small, &img);

    QPainter p(&img);
    p.setFont(FixedFont(10));
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush); // clear: only the BGCOLOR run gets a background
    TCanvas canvas(p);
    const QRect area(10, 0, 180, 40);
    doc.Draw(canvas, area);
    p.end();

    const int w = fmRun.horizontalAdvance(run), h = fmRun.height();
    const int x = rtl ? area.x() + area.width() - fmBase.horizontalAdvance(before) - w
                      : area.x() + fmBase.horizontalAdvance(before);
    const int y = place == u"top" ? 0 : place == u"bottom" ? 40 - h : (40 - h) / 2;
    QCOMPARE(ColourBounds(img, Qt::blue), QRect(x, y, w, h));
    // The text over the background is drawn too.
    const QImage runPixels = img.copy(x, y, w, h);
    bool inked = false;
    for (int yy = 0; yy < h && !inked; ++yy)
        for (int xx = 0; xx < w && !inked; ++xx)
            inked = runPixels.pixelColor(xx, yy) != Qt::blue;
    QVERIFY(inked);
}

void TestSimpleHTML::links_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("place");
    QTest::addColumn<bool>("rtl");

    QTest::newRow("plain") << "ab<a href=\"L\">link</a>x" << 10 << "ab" << "centre" << false;
    QTest::newRow("inside sup") << "ab<sup><a href=\"L\">link</a></sup>" << 7 << "ab" << "top" << false;
    QTest::newRow("inside sub") << "ab<sub><a href=\"L\">link</a></sub>" << 7 << "ab" << "bottom" << false;
    QTest::newRow("right to left") << "<span dir=rtl>ab<a href=\"L\">link</a></span>" << 10 << "ab" << "centre" << true;
    QTest::newRow("after an image") << "<img width=7 height=3 src=\"red\"/><a href=\"L\"><b>link</b></a>" << 10 << ""
                                    << "centre" << false;
}

void TestSimpleHTML::links()
{
    QFETCH(QString, html);
    QFETCH(int, points);
    QFETCH(QString, before);
    QFETCH(QString, place);
    QFETCH(bool, rtl);

    TSimpleHTML doc(html);
    doc.OnGetImage = SolidPicture;
    QVERIFY(doc.IsValid());
    QImage img(200, 40, QImage::Format_RGB32);
    QPainter p(&img);
    p.setFont(FixedFont(10));
    TCanvas canvas(p);
    TSimpleLinks links;
    links.Add(QStringLiteral("kept"), QRect(0, 0, 1, 1)); // collecting appends
    const QRect area(10, 0, 180, 40);
    QCOMPARE(doc.CollectLinks(canvas, area, links), 1);
    QCOMPARE(links.Count(), 2);
    QCOMPARE(links.Links(1), QStringLiteral("L"));

    QFont f = FixedFont(points);
    if (html.contains(QStringLiteral("<b>")))
        f.setBold(true);
    const QFontMetrics fm(f, &img);
    const QFontMetrics fmBase(FixedFont(10), &img);
    const int w = fm.horizontalAdvance(QStringLiteral("link")), h = fm.height();
    const int lead = html.startsWith(QStringLiteral("<img")) ? 7 : fmBase.horizontalAdvance(before);
    const int x = rtl ? area.x() + area.width() - lead - w : area.x() + lead;
    const int y = place == u"top" ? 0 : place == u"bottom" ? 40 - h : (40 - h) / 2;
    QCOMPARE(links.Bounds(1), QRect(x, y, w, h));
    QCOMPARE(links.IndexOfLinkAt(x + 1, y + 1), 1);
    QCOMPARE(links.IndexOfLinkAt(x - 1, y + 1), -1);
}

void TestSimpleHTML::imageSources()
{
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("p.png"));
    QImage(6, 5, QImage::Format_RGB32).save(png);
    const QString broken = dir.filePath(QStringLiteral("broken.png"));
    {
        QFile f(broken);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a picture");
    }
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    QCOMPARE(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);

    // Without a handler pictures come from plain files only; a FIFO would block the paint.
    TSimpleHTML doc(QStringLiteral("<img src=\"%1\"/><img src=\"%2\" width=\"3\"/><img src=\"%3\"/><img src=\"%4\"/>")
                        .arg(png, broken, fifo, dir.path()));
    QVERIFY(doc.IsValid());
    QCOMPARE(doc.GetImage(png).size(), QSize(6, 5));
    QVERIFY(doc.GetImage(broken).isNull());
    QVERIFY(doc.GetImage(fifo).isNull());
    QImage img(50, 20, QImage::Format_RGB32);
    QPainter p(&img);
    TCanvas canvas(p);
    QCOMPARE(doc.Extend(canvas), QSize(9, 5));

    // With a handler each source is asked for once and cached by exact text.
    QStringList asked;
    TSimpleHTML cached(QStringLiteral("<img src=\"red\"/><img src=\"red\"/><img src=\"Red\"/>"));
    cached.OnGetImage = [&](TSimpleHTML *sender, const QString &uri, QImage &image) {
        QCOMPARE(sender, &cached);
        asked << uri;
        SolidPicture(sender, uri, image);
    };
    QCOMPARE(cached.Extend(canvas), QSize(12, 4));
    QCOMPARE(cached.Extend(canvas), QSize(12, 4));
    QCOMPARE(asked, QStringList({QStringLiteral("red"), QStringLiteral("Red")}));
}

void TestSimpleHTML::treeEditing()
{
    TSimpleHTML doc(QStringLiteral("<b>x</b><i>y</i>"));
    TSimpleHTMLNode *u = doc.AddChild(QStringLiteral("U"));
    u->SetText(QStringLiteral("z"));
    QCOMPARE(u->Index(), 2);
    QCOMPARE(u->Document(), &doc);
    QCOMPARE(doc.Index(), 0);
    QCOMPARE(doc.InnerHTML(), QStringLiteral("<B>x</B><I>y</I><U>z</U>"));
    doc.RemoveChild(0);
    QCOMPARE(u->Index(), 1);
    QCOMPARE(doc.InnerHTML(), QStringLiteral("<I>y</I><U>z</U>"));
    doc.RemoveAllChildren();
    QVERIFY(!doc.HasChildren());
    doc.RemoveAllChildren();
    QCOMPARE(doc.OuterHTML(), QStringLiteral("<HTML/>"));
}

QTEST_MAIN(TestSimpleHTML)
#include "tst_simplehtml.moc"
