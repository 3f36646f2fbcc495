#include "marqueeitem.h"

#include "marquee.h"
#include "simplehtml.h"

#include <QFontMetrics>
#include <QMutexLocker>
#include <QRegularExpression>

#include <algorithm>

namespace {

// An item's picture is kept to this size; a runaway text or markup would
// otherwise ask for gigabytes.
constexpr int MaxBitmapSide = 1 << 18;
constexpr qint64 MaxBitmapPixels = qint64(1) << 24;

QSize BoundedBitmapSize(int width, int height)
{
    width = std::clamp(width, 0, MaxBitmapSide);
    height = std::clamp(height, 0, MaxBitmapSide);
    if (height > 0 && qint64(width) * height > MaxBitmapPixels)
        width = int(MaxBitmapPixels / height);
    return QSize(width, height);
}

}

void TMarqueeBitmap::SetSize(int width, int height)
{
    const QSize s = BoundedBitmapSize(width, height);
    if (s.isEmpty()) {
        Image = QImage();
        return;
    }
    Image = QImage(s, QImage::Format_RGB32);
    Image.fill(Color);
}

// ---------------------------------------------------------------- TMarqueeItem

TMarqueeItem::TMarqueeItem(TMarqueeCollection *collection) : fCollection(collection)
{
}

TMarqueeItem::~TMarqueeItem() = default;

TRealTimeMarquee *TMarqueeItem::Marquee() const
{
    return fCollection ? fCollection->Marquee() : nullptr;
}

int TMarqueeItem::Index() const
{
    return fCollection ? fCollection->IndexOf(this) : -1;
}

void TMarqueeItem::SetText(const QString &value)
{
    if (value == fText)
        return;
    QMutexLocker lock(&Marquee()->fCS);
    fText = value;
    if (fPrepared)
        Unprepare();
    Changed();
}

void TMarqueeItem::SetStyle(TMarqueeStyle value)
{
    if (value == fStyle)
        return;
    QMutexLocker lock(&Marquee()->fCS);
    fStyle = value;
    if (fPrepared)
        Unprepare();
    Changed();
}

void TMarqueeItem::SetAlignment(TMarqueeAlignment value)
{
    if (value == fAlignment)
        return;
    QMutexLocker lock(&Marquee()->fCS);
    fAlignment = value;
    // Only a vertical text item lays its lines out by the alignment.
    if (Marquee()->Orientation() == moVertical)
        Unprepare();
    Changed();
}

void TMarqueeItem::Changed()
{
    if (fCollection)
        fCollection->Changed(this);
}

bool TMarqueeItem::Showing() const
{
    TRealTimeMarquee *m = Marquee();
    QMutexLocker lock(&m->fCS);
    if (m->fVisibleCount == 0)
        return false;
    if (m->fVisibleCount > quint32(fCollection->Count()))
        return true;
    const int i = Index();
    if (m->fOldestIndex <= m->fNewestIndex)
        return m->fOldestIndex <= i && i <= m->fNewestIndex;
    return i >= m->fOldestIndex || i <= m->fNewestIndex;
}

QString TMarqueeItem::DisplayName() const
{
    return fText.isEmpty() ? QStringLiteral("TMarqueeItem") : fText;
}

int TMarqueeItem::Size()
{
    return Marquee()->Orientation() == moVertical ? Height() : Width();
}

int TMarqueeItem::Width()
{
    if (!fPrepared)
        Prepare();
    return fSize.width();
}

int TMarqueeItem::Height()
{
    if (!fPrepared)
        Prepare();
    return fSize.height();
}

void TMarqueeItem::Assign(const TMarqueeItem &source)
{
    QMutexLocker lock(&Marquee()->fCS);
    SetText(source.Text());
    SetStyle(source.Style());
}

void TMarqueeItem::DrawAt(QPainter &painter, int x, int y, const QRect &clip)
{
    if (!fPrepared)
        Prepare();
    const QRect target = QRect(QPoint(x, y), fSize).intersected(clip);
    if (target.isEmpty() || fBitmap.Image.isNull())
        return;
    painter.drawImage(target.topLeft(), fBitmap.Image, target.translated(-x, -y));
}

QString TMarqueeItem::LinkAt(int x, int y) const
{
    if (!fPrepared || fStyle != msHTML || !fLinks || fLinks->Count() == 0)
        return {};
    const int i = fLinks->IndexOfLinkAt(x, y);
    return i >= 0 ? fLinks->Links(i) : QString();
}

void TMarqueeItem::Unprepare()
{
    QMutexLocker lock(&Marquee()->fCS);
    if (!fPrepared)
        return;
    fPrepared = false;
    if (fLinks)
        fLinks->Clear();
    fBitmap.Image = QImage();
    fSize = QSize(0, 0);
}

void TMarqueeItem::Prepare()
{
    // Rendering may be started by any thread that asks for a size; the control's
    // lock keeps two of them from rendering the same item at once.
    QMutexLocker lock(&Marquee()->fCS);
    if (fLinks)
        fLinks->Clear();
    switch (fStyle) {
    case msText:
        PrepareText();
        break;
    case msHTML:
        PrepareHTML();
        break;
    case msOwnerDraw:
        PrepareOwnerDraw();
        break;
    }
    fPrepared = true;
}

void TMarqueeItem::SetBitmapSize(int width, int height)
{
    TRealTimeMarquee *m = Marquee();
    fBitmap.Color = m->RenderColor();
    fBitmap.Font = m->RenderFont();
    fBitmap.SetSize(width, height);
    fSize = fBitmap.Image.isNull() ? BoundedBitmapSize(width, height) : fBitmap.Image.size();
}

void TMarqueeItem::PrepareText()
{
    TRealTimeMarquee *m = Marquee();
    const bool vertical = m->Orientation() == moVertical;
    const bool rtl = m->RenderRightToLeft();
    int flags = Qt::TextExpandTabs | Qt::TextDontClip;
    if (vertical) {
        int align = fAlignment == maLeftOrTop ? Qt::AlignLeft : fAlignment == maRightOrBottom ? Qt::AlignRight : Qt::AlignHCenter;
        if (rtl && align != Qt::AlignHCenter)
            align = align == Qt::AlignLeft ? Qt::AlignRight : Qt::AlignLeft;
        flags |= align | Qt::AlignAbsolute | Qt::TextWordWrap;
    } else {
        flags |= Qt::AlignHCenter | Qt::TextSingleLine;
    }
    flags |= rtl ? Qt::TextForceRightToLeft : Qt::TextForceLeftToRight;

    // Measured on an image like the one drawn into, so both use the same resolution.
    QImage probe(1, 1, QImage::Format_RGB32);
    const QFontMetrics fm(m->RenderFont(), &probe);
    const int avg = std::max(1, fm.averageCharWidth());
    const int layoutWidth = vertical ? std::max(1, m->ClientSize().width() - avg) : MaxBitmapSide;
    const QRect measured = fm.boundingRect(QRect(0, 0, layoutWidth, 0), flags, fText);
    SetBitmapSize(measured.width() + avg, measured.height());
    if (fBitmap.Image.isNull())
        return;

    QPainter p(&fBitmap.Image);
    p.setFont(m->RenderFont());
    p.setPen(m->RenderTextColor());
    p.setBrush(Qt::NoBrush);
    const QRect r(avg / 2, 0, fBitmap.Image.width() - 2 * (avg / 2), fBitmap.Image.height());
    p.drawText(r, flags, fText);
}

void TMarqueeItem::PrepareHTML()
{
    TRealTimeMarquee *m = Marquee();
    TSimpleHTML doc(fText);
    doc.OnGetImage = [m](TSimpleHTML *, const QString &uri, QImage &image) { m->DoImage(uri, image); };

    QSize size;
    int avg = 1;
    {
        QImage probe(1, 1, QImage::Format_RGB32);
        QPainter p(&probe);
        p.setFont(m->RenderFont());
        p.setPen(m->RenderTextColor());
        TCanvas canvas(p);
        size = doc.Extend(canvas);
        avg = std::max(1, p.fontMetrics().averageCharWidth());
    }
    SetBitmapSize(size.width() + avg, size.height());
    if (fBitmap.Image.isNull())
        return;

    QPainter p(&fBitmap.Image);
    p.setFont(m->RenderFont());
    p.setPen(m->RenderTextColor());
    p.setBrush(QBrush(m->RenderColor(), Qt::SolidPattern));
    TCanvas canvas(p);
    canvas.SetFlag(TextFlag::RtlReading, m->RenderRightToLeft());
    const QRect r(avg / 2, 0, fBitmap.Image.width() - 2 * (avg / 2), fBitmap.Image.height());
    doc.Draw(canvas, r);
    if (!fLinks)
        fLinks = std::make_unique<TSimpleLinks>();
    doc.CollectLinks(canvas, r, *fLinks);
}

void TMarqueeItem::PrepareOwnerDraw()
{
    TRealTimeMarquee *m = Marquee();
    fBitmap.Color = m->RenderColor();
    fBitmap.Font = m->RenderFont();
    fBitmap.Image = QImage();
    m->DoDrawItem(this, fBitmap);
    const QSize bounded = BoundedBitmapSize(fBitmap.Image.width(), fBitmap.Image.height());
    if (bounded != fBitmap.Image.size())
        fBitmap.Image = fBitmap.Image.copy(QRect(QPoint(0, 0), bounded));
    fSize = fBitmap.Image.size();
}

// ---------------------------------------------------------------- TMarqueeCollection

TMarqueeCollection::TMarqueeCollection(TRealTimeMarquee *owner) : fOwner(owner)
{
}

TMarqueeCollection::~TMarqueeCollection()
{
    qDeleteAll(fItems);
}

TMarqueeItem *TMarqueeCollection::Add()
{
    return Insert(Count());
}

TMarqueeItem *TMarqueeCollection::Insert(int index)
{
    QMutexLocker lock(&fOwner->fCS);
    auto *item = new TMarqueeItem(this);
    fItems.insert(std::clamp(index, 0, Count()), item);
    Changed(nullptr);
    return item;
}

void TMarqueeCollection::Delete(int index)
{
    QMutexLocker lock(&fOwner->fCS);
    if (index < 0 || index >= Count())
        return;
    delete fItems.takeAt(index);
    Changed(nullptr);
}

void TMarqueeCollection::Clear()
{
    BeginUpdate();
    qDeleteAll(fItems);
    fItems.clear();
    EndUpdate();
}

void TMarqueeCollection::Assign(const TMarqueeCollection &source)
{
    if (&source == this)
        return;
    BeginUpdate();
    qDeleteAll(fItems);
    fItems.clear();
    for (const TMarqueeItem *from : source.fItems) {
        auto *item = new TMarqueeItem(this);
        fItems.append(item);
        item->Assign(*from);
    }
    EndUpdate();
}

void TMarqueeCollection::BeginUpdate()
{
    fOwner->fCS.lock();
    ++fUpdateCount;
}

void TMarqueeCollection::EndUpdate()
{
    if (--fUpdateCount == 0)
        Update(nullptr);
    fOwner->fCS.unlock();
}

void TMarqueeCollection::Changed(TMarqueeItem *item)
{
    if (fUpdateCount == 0)
        Update(item);
}

void TMarqueeCollection::Update(TMarqueeItem *item)
{
    fOwner->ItemChanged(item);
}

void TMarqueeCollection::UnprepareAll()
{
    QMutexLocker lock(&fOwner->fCS);
    for (TMarqueeItem *item : fItems)
        item->Unprepare();
}

void TMarqueeCollection::LoadFromStrings(const QStringList &strings, TMarqueeTextStyle textStyle)
{
    BeginUpdate();
    qDeleteAll(fItems);
    fItems.clear();
    for (const QString &line : strings) {
        auto *item = new TMarqueeItem(this);
        fItems.append(item);
        item->SetText(line);
        item->SetStyle(textStyle);
    }
    EndUpdate();
}

void TMarqueeCollection::SaveToStrings(QStringList &strings) const
{
    // One line per entry: a text holding line breaks becomes several lines, as
    // it would in a text file.
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    strings.clear();
    for (const TMarqueeItem *item : fItems)
        strings.append(item->Text().split(lineBreak));
}
