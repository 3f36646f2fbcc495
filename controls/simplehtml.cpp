#include "simplehtml.h"

#include "simplehtmlcolor.h"
#include "simplehtmlentities.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QImageReader>

#include <algorithm>

namespace {

bool IsSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// Rounded a * b / c, halves away from zero.
int MulDiv(int a, int b, int c)
{
    const qint64 p = qint64(a) * b;
    const qint64 r = (p >= 0 ? p + c / 2 : p - c / 2) / c;
    return int(r);
}

int FontSize(const QFont &f)
{
    return f.pointSize() > 0 ? f.pointSize() : f.pixelSize();
}

void SetFontSize(QFont &f, int size)
{
    size = std::clamp(size, SimpleHTMLLimits::MinPointSize, SimpleHTMLLimits::MaxPointSize);
    if (f.pointSize() > 0 || f.pixelSize() <= 0)
        f.setPointSize(size);
    else
        f.setPixelSize(size);
}

void ScaleFont(TCanvas &canvas, int percent)
{
    QFont f = canvas.Painter.font();
    SetFontSize(f, MulDiv(FontSize(f), percent, 100));
    canvas.Painter.setFont(f);
}

int AttributeNumber(const TSimpleHTMLNode &node, const QString &name)
{
    bool ok = false;
    const int v = node.Attributes(name).trimmed().toInt(&ok);
    return ok ? std::clamp(v, 0, SimpleHTMLLimits::MaxImageSide) : 0;
}

int ClampExtent(qint64 v)
{
    return int(std::clamp<qint64>(v, 0, SimpleHTMLLimits::MaxExtent));
}

// Edges of a rectangle with an exclusive right and bottom, as the layout
// arithmetic is written.
struct Edges
{
    int left, top, right, bottom;
    explicit Edges(const QRect &r) : left(r.x()), top(r.y()), right(r.x() + r.width()), bottom(r.y() + r.height()) {}
    QRect ToRect() const { return QRect(left, top, right - left, bottom - top); }
};

int VerticalPlace(const TCanvas &canvas, const Edges &e, int height)
{
    if (canvas.Superscript())
        return e.top;
    if (canvas.Subscript())
        return e.bottom - height;
    return (e.top + e.bottom - height) / 2;
}

void Advance(const TCanvas &canvas, QRect &rect, int width)
{
    Edges e(rect);
    if (canvas.RightToLeft())
        e.right -= width;
    else
        e.left += width;
    rect = e.ToRect();
}

}

// ---------------------------------------------------------------- TSimpleHTMLNode

TSimpleHTMLNode::TSimpleHTMLNode(TSimpleHTMLNode *parent, const QString &tagName)
    : fParent(parent), fTagName(tagName)
{
}

TSimpleHTMLNode::~TSimpleHTMLNode() = default;

TSimpleHTML *TSimpleHTMLNode::Document() const
{
    return fParent ? fParent->Document() : nullptr;
}

int TSimpleHTMLNode::Index() const
{
    if (!fParent)
        return 0;
    for (int i = 0; i < fParent->ChildCount(); ++i)
        if (fParent->Children(i) == this)
            return i;
    return 0;
}

TSimpleHTMLNode *TSimpleHTMLNode::AddChild(const QString &tagName)
{
    fChildren.push_back(std::make_unique<TSimpleHTMLNode>(this, tagName));
    return fChildren.back().get();
}

void TSimpleHTMLNode::RemoveChild(int index)
{
    if (index >= 0 && index < ChildCount())
        fChildren.erase(fChildren.begin() + index);
}

void TSimpleHTMLNode::RemoveAllChildren()
{
    fChildren.clear();
}

QString TSimpleHTMLNode::Attributes(const QString &name) const
{
    for (const auto &a : fAttributes)
        if (a.first.compare(name, Qt::CaseInsensitive) == 0)
            return a.second;
    return {};
}

bool TSimpleHTMLNode::HasAttribute(const QString &name) const
{
    return std::any_of(fAttributes.begin(), fAttributes.end(),
                       [&](const auto &a) { return a.first.compare(name, Qt::CaseInsensitive) == 0; });
}

void TSimpleHTMLNode::SetAttribute(const QString &name, const QString &value)
{
    for (qsizetype i = 0; i < fAttributes.size(); ++i)
        if (fAttributes[i].first.compare(name, Qt::CaseInsensitive) == 0) {
            if (value.isEmpty())
                fAttributes.removeAt(i);
            else
                fAttributes[i].second = value;
            return;
        }
    if (!value.isEmpty())
        fAttributes.append({name, value});
}

QString TSimpleHTMLNode::InnerText() const
{
    if (!HasChildren())
        return fText;
    QString result;
    for (const auto &child : fChildren) {
        if (!result.isEmpty())
            result += u' ';
        result += child->InnerText();
    }
    return result;
}

QString TSimpleHTMLNode::InnerHTML() const
{
    if (!HasChildren())
        return SimpleHTMLEntities::Encode(fText);
    QString result;
    for (const auto &child : fChildren)
        result += child->OuterHTML();
    return result;
}

QString TSimpleHTMLNode::OuterHTML() const
{
    if (fTagName.isEmpty())
        return InnerHTML();
    QString result = u'<' + fTagName;
    for (const auto &a : fAttributes)
        result += u' ' + a.first + QStringLiteral("=\"") + SimpleHTMLEntities::Encode(a.second) + u'"';
    const QString inner = InnerHTML();
    if (inner.isEmpty())
        return result + QStringLiteral("/>");
    return result + u'>' + inner + QStringLiteral("</") + fTagName + u'>';
}

void TSimpleHTMLNode::ApplyStyle(TCanvas &canvas) const
{
    QPainter &p = canvas.Painter;
    if (HasAttribute(QStringLiteral("DIR"))) {
        const QString dir = Attributes(QStringLiteral("DIR"));
        if (dir.compare(u"RTL", Qt::CaseInsensitive) == 0)
            canvas.SetFlag(TextFlag::RtlReading, true);
        else if (dir.compare(u"LTR", Qt::CaseInsensitive) == 0)
            canvas.SetFlag(TextFlag::RtlReading, false);
    }
    const QString &t = fTagName;
    if (t == u"FONT") {
        QFont f = p.font();
        if (HasAttribute(QStringLiteral("FACE")))
            f.setFamily(Attributes(QStringLiteral("FACE")));
        if (HasAttribute(QStringLiteral("SIZE"))) {
            const QString v = Attributes(QStringLiteral("SIZE"));
            const bool relative = v.startsWith(u'+') || v.startsWith(u'-');
            bool ok = false;
            const int n = v.toInt(&ok);
            if (ok)
                SetFontSize(f, relative ? FontSize(f) + n : n);
        }
        p.setFont(f);
        if (HasAttribute(QStringLiteral("COLOR"))) {
            QPen pen = p.pen();
            pen.setColor(SimpleHTMLColor::ParseColor(Attributes(QStringLiteral("COLOR")), pen.color()));
            p.setPen(pen);
        }
        if (HasAttribute(QStringLiteral("BGCOLOR"))) {
            // Giving a clear brush a colour makes it solid, so the text gets its background.
            const QColor c = SimpleHTMLColor::ParseColor(Attributes(QStringLiteral("BGCOLOR")), p.brush().color());
            p.setBrush(QBrush(c, Qt::SolidPattern));
        }
    } else if (t == u"B" || t == u"STRONG" || t == u"I" || t == u"U" || t == u"S" || t == u"STRIKE") {
        QFont f = p.font();
        if (t == u"B" || t == u"STRONG")
            f.setBold(true);
        else if (t == u"I")
            f.setItalic(true);
        else if (t == u"U")
            f.setUnderline(true);
        else
            f.setStrikeOut(true);
        p.setFont(f);
    } else if (t == u"SUP") {
        ScaleFont(canvas, 70);
        canvas.SetFlag(TextFlag::Superscript, true);
    } else if (t == u"SUB") {
        ScaleFont(canvas, 70);
        canvas.SetFlag(TextFlag::Subscript, true);
    } else if (t == u"SMALL") {
        ScaleFont(canvas, 75);
    } else if (t == u"BIG") {
        ScaleFont(canvas, 125);
    }
}

TSimpleHTMLNode::ImageBox TSimpleHTMLNode::ImageBoxOf() const
{
    static const QImage kEmpty;
    TSimpleHTML *doc = Document();
    const QImage *image = doc ? &doc->GetImage(Attributes(QStringLiteral("SRC"))) : &kEmpty;
    const int side = SimpleHTMLLimits::MaxImageSide;
    ImageBox box{image,
                 HasAttribute(QStringLiteral("WIDTH")) ? AttributeNumber(*this, QStringLiteral("WIDTH"))
                                                       : std::min(image->width(), side),
                 HasAttribute(QStringLiteral("HEIGHT")) ? AttributeNumber(*this, QStringLiteral("HEIGHT"))
                                                        : std::min(image->height(), side),
                 AttributeNumber(*this, QStringLiteral("HSPACE")), AttributeNumber(*this, QStringLiteral("VSPACE"))};
    return box;
}

QSize TSimpleHTMLNode::MeasureStyled(TCanvas &canvas) const
{
    if (HasChildren()) {
        qint64 width = 0;
        int height = 0;
        for (const auto &child : fChildren) {
            const QSize s = child->Extend(canvas);
            width += s.width();
            height = std::max(height, s.height());
        }
        return QSize(ClampExtent(width), height);
    }
    if (fTagName == u"IMG") {
        const ImageBox b = ImageBoxOf();
        return QSize(b.width + 2 * b.hspace, b.height + 2 * b.vspace);
    }
    if (fText.isEmpty())
        return QSize(0, 0);
    const QFontMetrics fm = canvas.Painter.fontMetrics();
    return QSize(ClampExtent(fm.horizontalAdvance(fText)), fm.height());
}

QSize TSimpleHTMLNode::Extend(TCanvas &canvas) const
{
    TCanvasRecall recall(&canvas);
    ApplyStyle(canvas);
    return MeasureStyled(canvas);
}

void TSimpleHTMLNode::Draw(TCanvas &canvas, const QRect &area) const
{
    // DUR used to stall drawing for half a second while pumping window messages;
    // inside a paint under the marquee's lock that only invites re-entrancy, so
    // it is laid out like any other element.
    TCanvasRecall recall(&canvas);
    ApplyStyle(canvas);
    QPainter &p = canvas.Painter;

    if (HasChildren()) {
        QRect rect = area;
        for (const auto &child : fChildren) {
            child->Draw(canvas, rect);
            Advance(canvas, rect, child->Extend(canvas).width());
        }
        return;
    }

    const Edges e(area);
    if (fTagName == u"IMG") {
        const ImageBox b = ImageBoxOf();
        const int left = canvas.RightToLeft() ? e.right - b.width - b.hspace : e.left + b.hspace;
        int top;
        if (canvas.Superscript())
            top = e.top + b.vspace;
        else if (canvas.Subscript())
            top = e.bottom - b.height - b.vspace;
        else
            top = (e.top + e.bottom - b.height) / 2;
        if (!b.image->isNull() && b.width > 0 && b.height > 0)
            p.drawImage(QRect(left, top, b.width, b.height), *b.image);
        return;
    }

    if (fText.isEmpty())
        return;
    const QFontMetrics fm = p.fontMetrics();
    const int width = fm.horizontalAdvance(fText);
    const int height = fm.height();
    const QRect box(canvas.RightToLeft() ? e.right - width : e.left, VerticalPlace(canvas, e, height), width, height);
    if (p.brush().style() == Qt::SolidPattern)
        p.fillRect(box, p.brush().color());
    const int flags = Qt::TextSingleLine | Qt::TextDontClip | Qt::AlignAbsolute | Qt::AlignLeft | Qt::AlignTop
        | (canvas.RightToLeft() ? Qt::TextForceRightToLeft : Qt::TextForceLeftToRight);
    p.drawText(box, flags, fText);
}

void TSimpleHTMLNode::CollectLinksInto(TCanvas &canvas, const QRect &area, TSimpleLinks &links, int &added) const
{
    TCanvasRecall recall(&canvas);
    ApplyStyle(canvas);
    if (fTagName == u"A" && HasAttribute(QStringLiteral("HREF"))) {
        const QSize s = MeasureStyled(canvas);
        const Edges e(area);
        const int left = canvas.RightToLeft() ? e.right - s.width() : e.left;
        links.Add(Attributes(QStringLiteral("HREF")),
                  QRect(left, VerticalPlace(canvas, e, s.height()), s.width(), s.height()));
        ++added;
        return;
    }
    if (!HasChildren())
        return;
    QRect rect = area;
    for (const auto &child : fChildren) {
        child->CollectLinksInto(canvas, rect, links, added);
        Advance(canvas, rect, child->Extend(canvas).width());
    }
}

// ---------------------------------------------------------------- TSimpleHTML

TSimpleHTML::TSimpleHTML(const QString &html) : TSimpleHTMLNode(nullptr, QStringLiteral("HTML"))
{
    fParsed = Parse(html);
}

TSimpleHTML::~TSimpleHTML() = default;

TSimpleHTML *TSimpleHTML::Document() const
{
    return const_cast<TSimpleHTML *>(this);
}

int TSimpleHTML::CollectLinks(TCanvas &canvas, const QRect &rect, TSimpleLinks &links)
{
    int added = 0;
    CollectLinksInto(canvas, rect, links, added);
    return added;
}

const QImage &TSimpleHTML::GetImage(const QString &source)
{
    auto it = fImages.find(source);
    if (it != fImages.end())
        return it.value();
    it = fImages.insert(source, QImage());
    QImage picture;
    DoGetImage(source, picture);
    // Re-find: a handler may itself have asked for other pictures.
    it = fImages.find(source);
    it.value() = picture;
    return it.value();
}

void TSimpleHTML::DoGetImage(const QString &uri, QImage &image)
{
    if (OnGetImage) {
        OnGetImage(this, uri, image);
        return;
    }
    LoadImageFile(uri, image);
}

void LoadImageFile(const QString &uri, QImage &image)
{
    // Only plain files of picture size: a source naming a device or a FIFO
    // would otherwise block the paint.
    const QFileInfo info(uri);
    if (uri.isEmpty() || !info.isFile() || info.size() > SimpleHTMLLimits::MaxImageFileBytes)
        return;
    QImageReader reader(uri);
    QImage loaded;
    if (reader.read(&loaded))
        image = loaded;
}

bool TSimpleHTML::Parse(const QString &s)
{
    TSimpleHTMLNode *cur = this;
    int depth = 0;
    QString pending;
    const qsizetype n = s.size();
    qsizetype i = 0;
    qsizetype last = 0;  // start of the characters not yet added to pending
    qsizetype semi = -1; // next ';' after the current '&' (n when there is none)

    auto storePending = [&](bool closingNext) {
        if (pending.isEmpty())
            return;
        if (!cur->HasChildren() && closingNext)
            cur->SetText(pending);
        else
            cur->AddChild(QString())->SetText(pending);
        pending.clear();
    };
    auto skipSpace = [&] {
        while (i < n && IsSpace(s.at(i)))
            ++i;
    };
    auto readName = [&]() -> QString {
        const qsizetype start = i;
        while (i < n && s.at(i).isLetterOrNumber())
            ++i;
        return s.mid(start, i - start);
    };

    while (i < n) {
        const QChar c = s.at(i);
        if (c == u'&') {
            if (semi <= i) {
                semi = s.indexOf(u';', i + 1);
                if (semi < 0)
                    semi = n;
            }
            if (semi < n) {
                if (auto ch = SimpleHTMLEntities::Decode(QStringView(s).mid(i + 1, semi - i - 1))) {
                    pending += QStringView(s).mid(last, i - last);
                    pending += *ch;
                    i = semi + 1;
                    last = i;
                    continue;
                }
            }
            ++i;
            continue;
        }
        if (c != u'<') {
            ++i;
            continue;
        }

        pending += QStringView(s).mid(last, i - last);
        storePending(i + 1 < n && s.at(i + 1) == u'/');
        ++i;
        const bool closing = i < n && s.at(i) == u'/';
        if (closing)
            ++i;

        if (!closing && QStringView(s).mid(i, 3) == u"!--") {
            const qsizetype end = s.indexOf(u"-->", i + 3);
            if (end < 0)
                return false;
            i = end + 3;
            last = i;
            continue;
        }

        const QString name = readName().toUpper();
        if (name.isEmpty())
            return false;
        skipSpace();

        if (closing) {
            if (i >= n || s.at(i) != u'>' || name != cur->TagName() || !cur->Parent())
                return false;
            cur = cur->Parent();
            --depth;
            ++i;
            last = i;
            continue;
        }

        QList<QPair<QString, QString>> attributes;
        auto setAttribute = [&](const QString &attr, const QString &value) {
            for (qsizetype k = 0; k < attributes.size(); ++k)
                if (attributes[k].first.compare(attr, Qt::CaseInsensitive) == 0) {
                    if (value.isEmpty())
                        attributes.removeAt(k);
                    else
                        attributes[k].second = value;
                    return;
                }
            if (!value.isEmpty())
                attributes.append({attr, value});
        };
        while (i < n && s.at(i) != u'>' && s.at(i) != u'/') {
            const QString attr = readName();
            if (attr.isEmpty())
                return false;
            skipSpace();
            QString value;
            if (i < n && s.at(i) == u'=') {
                ++i;
                while (i < n && s.at(i) == u' ')
                    ++i;
                if (i >= n || s.at(i) == u'>')
                    return false;
                const QChar q = s.at(i);
                if (q == u'"' || q == u'\'') {
                    const qsizetype close = s.indexOf(q, i + 1);
                    if (close < 0)
                        return false;
                    value = s.mid(i + 1, close - i - 1);
                    i = close + 1;
                } else {
                    const qsizetype start = i++;
                    while (i < n && s.at(i) != u' ' && s.at(i) != u'>')
                        ++i;
                    if (i >= n)
                        return false;
                    value = s.mid(start, i - start);
                }
                skipSpace();
            }
            setAttribute(attr, SimpleHTMLEntities::DecodeAttribute(value));
        }
        if (i >= n)
            return false;
        const bool selfClosing = s.at(i) == u'/';
        if (selfClosing && (i + 1 >= n || s.at(i + 1) != u'>'))
            return false;
        // Nesting is bounded so measuring and drawing, which recurse, stay on the stack.
        if (!selfClosing && depth >= MaxDepth)
            return false;
        TSimpleHTMLNode *element = cur->AddChild(name);
        for (const auto &a : attributes)
            element->SetAttribute(a.first, a.second);
        if (selfClosing) {
            i += 2;
        } else {
            cur = element;
            ++depth;
            ++i;
        }
        last = i;
    }

    if (cur != this)
        return false;
    pending += QStringView(s).mid(last);
    if (!pending.isEmpty()) {
        if (!HasChildren())
            SetText(pending);
        else
            AddChild(QString())->SetText(pending);
    }
    return true;
}
