#include "marquee.h"

#include "simplehtml.h"

#include <QCursor>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QMutexLocker>
#include <QPaintEvent>
#include <QPainter>
#include <QThread>
#include <QUrl>

#include <algorithm>

namespace {

int MulDiv(int a, int b, int c)
{
    const qint64 p = qint64(a) * b;
    return int((p >= 0 ? p + c / 2 : p - c / 2) / c);
}

int CrossPosition(TMarqueeAlignment alignment, int across, int itemAcross)
{
    switch (alignment) {
    case maLeftOrTop:
        return 0;
    case maRightOrBottom:
        return across - itemAcross;
    case maCenter:
        break;
    }
    return (across - itemAcross) / 2;
}

}

TRealTimeMarquee::TRealTimeMarquee(QWidget *parent) : QWidget(parent), fItems(std::make_unique<TMarqueeCollection>(this))
{
    // Every pixel is painted by PaintItems; skipping the erase lets scroll()
    // move what is on screen instead of repainting it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    resize(200, 20);
    fResolution = fInterval / 10;
    fTimer.setSingleShot(true);
    fTimer.setTimerType(Qt::PreciseTimer);
    connect(&fTimer, &QTimer::timeout, this, &TRealTimeMarquee::TimerTick);
    CaptureRenderSettings();
    fClientSize = size();
    RecomputeGaps();
}

TRealTimeMarquee::~TRealTimeMarquee()
{
    StopTimer();
    fItems.reset();
}

// ---------------------------------------------------------------- properties

void TRealTimeMarquee::SetActive(bool value)
{
    if (value == fActive)
        return;
    {
        QMutexLocker lock(&fCS);
        fActive = value;
    }
    UpdateTimer();
}

void TRealTimeMarquee::SetInterval(quint32 value)
{
    value = std::clamp(value, MinPeriod, MaxPeriod);
    if (value == fInterval)
        return;
    // An armed timer keeps its period; the next arming uses the new one.
    QMutexLocker lock(&fCS);
    fInterval = value;
    fResolution = fInterval / 10;
}

void TRealTimeMarquee::SetStep(quint8 value)
{
    QMutexLocker lock(&fCS);
    fStep = value == 0 ? 1 : value;
}

void TRealTimeMarquee::SetSpacing(quint8 value)
{
    QMutexLocker lock(&fCS);
    fSpacing = std::min<quint8>(value, 100);
    RecomputeGaps();
    if (fVisibleCount > 0) {
        Recalculate();
        Invalidate();
    }
}

void TRealTimeMarquee::SetLoopSpacing(quint8 value)
{
    QMutexLocker lock(&fCS);
    fLoopSpacing = std::min<quint8>(value, 100);
    RecomputeGaps();
    if (fVisibleCount > 0) {
        Recalculate();
        Invalidate();
    }
}

void TRealTimeMarquee::SetOrientation(TMarqueeOrientation value)
{
    if (value == fOrientation)
        return;
    {
        QMutexLocker lock(&fCS);
        fOrientation = value;
        RecomputeGaps();
        // Sizes along the new direction are different pictures.
        fItems->UnprepareAll();
    }
    Reset();
}

QColor TRealTimeMarquee::Color() const
{
    return palette().color(QPalette::Window);
}

void TRealTimeMarquee::SetColor(const QColor &value)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, value);
    setPalette(pal); // arrives as a palette change
}

QString TRealTimeMarquee::ActiveLink() const
{
    QMutexLocker lock(&fCS);
    return fActiveLink;
}

QFont TRealTimeMarquee::RenderFont() const
{
    QMutexLocker lock(&fCS);
    return fRenderFont;
}

QColor TRealTimeMarquee::RenderColor() const
{
    QMutexLocker lock(&fCS);
    return fRenderColor;
}

QColor TRealTimeMarquee::RenderTextColor() const
{
    QMutexLocker lock(&fCS);
    return fRenderTextColor;
}

bool TRealTimeMarquee::RenderRightToLeft() const
{
    QMutexLocker lock(&fCS);
    return fRenderRightToLeft;
}

QSize TRealTimeMarquee::ClientSize() const
{
    QMutexLocker lock(&fCS);
    return fClientSize;
}

void TRealTimeMarquee::CaptureRenderSettings()
{
    QMutexLocker lock(&fCS);
    fRenderFont = font();
    fRenderColor = palette().color(QPalette::Window);
    fRenderTextColor = palette().color(QPalette::WindowText);
    fRenderRightToLeft = layoutDirection() == Qt::RightToLeft;
}

int TRealTimeMarquee::Extent() const
{
    return fOrientation == moVertical ? fClientSize.height() : fClientSize.width();
}

void TRealTimeMarquee::RecomputeGaps()
{
    QMutexLocker lock(&fCS);
    fGapBetweenItems = MulDiv(Extent(), fSpacing, 100);
    fGapBetweenLoops = MulDiv(Extent(), fLoopSpacing, 100);
}

// ---------------------------------------------------------------- run control

void TRealTimeMarquee::Reset()
{
    QMutexLocker lock(&fCS);
    fVisibleCount = 0;
    fLoopsStarted = 0;
    fLoopsEnded = 0;
    Invalidate();
}

void TRealTimeMarquee::OnUiThread(std::function<void()> fn)
{
    if (QThread::currentThread() == thread())
        fn();
    else
        QMetaObject::invokeMethod(this, std::move(fn), Qt::QueuedConnection);
}

void TRealTimeMarquee::Invalidate()
{
    if (!testAttribute(Qt::WA_WState_Created))
        return;
    {
        QMutexLocker lock(&fCS);
        fFullRepaintPending = true;
    }
    OnUiThread([this] { update(); });
    RefreshCursorLater();
}

void TRealTimeMarquee::StartTimer()
{
    QMutexLocker lock(&fCS);
    if (fTimerArmed || !testAttribute(Qt::WA_WState_Created))
        return;
    fTimerArmed = true;
    const int ms = int(fInterval);
    OnUiThread([this, ms] {
        // A stop that came in between wins.
        if (fTimerArmed)
            ArmTimer(ms);
    });
}

void TRealTimeMarquee::StopTimer()
{
    QMutexLocker lock(&fCS);
    fTimerArmed = false;
    if (QThread::currentThread() == thread())
        DisarmTimer();
    else
        QMetaObject::invokeMethod(this, [this] {
            if (!fTimerArmed)
                DisarmTimer();
        }, Qt::QueuedConnection);
}

void TRealTimeMarquee::UpdateTimer()
{
    QMutexLocker lock(&fCS);
    if (fActive && testAttribute(Qt::WA_WState_Created) && fItems->Count() > 0)
        StartTimer();
    else
        StopTimer();
}

void TRealTimeMarquee::ArmTimer(int milliseconds)
{
    fTimer.start(milliseconds);
}

void TRealTimeMarquee::DisarmTimer()
{
    fTimer.stop();
}

void TRealTimeMarquee::TimerTick()
{
    bool wrapped = false;
    bool active = false;
    {
        QMutexLocker lock(&fCS);
        const int count = fItems->Count();
        if (!fTimerArmed || count == 0)
            return;
        fTimerArmed = false;
        const int extent = Extent();
        const int last = count - 1;

        // Items may have gone since the last tick without a recalculation.
        if (fNewestIndex > last || fOldestIndex > last)
            fVisibleCount = 0;
        if (fVisibleCount == 0) {
            fOldestIndex = fNewestIndex = 0;
            fOldestOffset = fNewestOffset = 0;
            ++fLoopsStarted;
            fVisibleCount = 1;
        }
        fOldestOffset += fStep;
        fNewestOffset += fStep;

        // Oldest item out.
        const int oldestSize = fItems->Items(fOldestIndex)->Size();
        if (fOldestOffset >= extent + oldestSize) {
            fOldestOffset -= oldestSize;
            --fVisibleCount;
            ++fOldestIndex;
            int gap = fGapBetweenItems;
            if (fOldestIndex >= count) {
                fOldestIndex = 0;
                wrapped = true;
                ++fLoopsEnded;
                if (fNumLoops != 0 && fLoopsEnded >= fNumLoops) {
                    fActive = false;
                    fLoopsStarted = 0;
                    fLoopsEnded = 0;
                }
                gap = fGapBetweenLoops;
            }
            fOldestOffset -= gap;
        }

        // Next item in.
        if (fActive) {
            const int gap = fNewestIndex == last ? fGapBetweenLoops : fGapBetweenItems;
            const int newestSize = fItems->Items(fNewestIndex)->Size();
            if (fNewestOffset >= newestSize + gap
                && (fNumLoops == 0 || fLoopsStarted < fNumLoops || fNewestIndex < last)) {
                fNewestOffset -= newestSize + gap;
                if (++fNewestIndex >= count) {
                    fNewestIndex = 0;
                    ++fLoopsStarted;
                }
                ++fVisibleCount;
            }
        }

        // Move what is on screen and let the paint event fill the uncovered strip.
        if (isVisible() && !fFullRepaintPending) {
            if (fOrientation == moVertical)
                scroll(0, -fStep);
            else if (fRenderRightToLeft)
                scroll(fStep, 0);
            else
                scroll(-fStep, 0);
        } else if (isVisible()) {
            update();
        }
        active = fActive;
    }

    if (fMouseIsInside && isEnabled())
        RefreshCursorLater();
    if (wrapped)
        QMetaObject::invokeMethod(this, [this] { DoWrap(); }, Qt::QueuedConnection);
    if (active)
        StartTimer();
}

void TRealTimeMarquee::ForEachVisible(const std::function<bool(TMarqueeItem *, int, int, int)> &visit)
{
    QMutexLocker lock(&fCS);
    const int count = fItems->Count();
    if (fVisibleCount == 0 || count == 0 || fNewestIndex >= count)
        return;
    const int w = fClientSize.width(), h = fClientSize.height();
    const bool vertical = fOrientation == moVertical;
    const bool rtl = !vertical && fRenderRightToLeft;

    int index = fNewestIndex;
    TMarqueeItem *item = fItems->Items(index);
    int along = vertical ? h - fNewestOffset : rtl ? fNewestOffset - item->Width() : w - fNewestOffset;
    for (quint32 k = 0; k < fVisibleCount; ++k) {
        const int cross = vertical ? CrossPosition(item->Alignment(), w, item->Width())
                                   : CrossPosition(item->Alignment(), h, item->Height());
        const int x = vertical ? cross : along;
        const int y = vertical ? along : cross;
        if (!visit(item, x, y, index) || k + 1 == fVisibleCount)
            return;
        const int gap = index == 0 ? fGapBetweenLoops : fGapBetweenItems;
        const int drawnSize = item->Size();
        index = index == 0 ? count - 1 : index - 1;
        item = fItems->Items(index);
        if (rtl)
            along += drawnSize + gap;
        else
            along -= gap + item->Size();
    }
}

void TRealTimeMarquee::PaintItems(QPainter &painter, const QRect &rect)
{
    QMutexLocker lock(&fCS);
    painter.fillRect(rect, fRenderColor);
    const bool vertical = fOrientation == moVertical;
    const bool rtl = !vertical && fRenderRightToLeft;
    ForEachVisible([&](TMarqueeItem *item, int x, int y, int index) {
        item->DrawAt(painter, x, y, rect);
        // Stop once the next (older) item would lie wholly outside rect.
        const int gap = index == 0 ? fGapBetweenLoops : fGapBetweenItems;
        if (vertical)
            return y - gap >= rect.top();
        if (rtl)
            return x + item->Width() + gap <= rect.x() + rect.width();
        return x - gap >= rect.left();
    });
}

QString TRealTimeMarquee::LinkAtPoint(const QPoint &p)
{
    QMutexLocker lock(&fCS);
    QString found;
    ForEachVisible([&](TMarqueeItem *item, int x, int y, int) {
        found = item->LinkAt(p.x() - x, p.y() - y);
        return found.isEmpty();
    });
    return found;
}

void TRealTimeMarquee::Recalculate()
{
    QMutexLocker lock(&fCS);
    if (fVisibleCount == 0)
        return;
    fVisibleCount = 0;
    const int count = fItems->Count();
    if (count == 0)
        return;
    const int last = count - 1;
    fNewestIndex = std::min(fNewestIndex, last);
    while (fNewestIndex > 0 && !fItems->Items(fNewestIndex)->Prepared())
        --fNewestIndex;

    // Walk back from the newest item, whose leading edge stays where it is,
    // counting every item that still reaches into the strip. The run never
    // extends before the loop it started with.
    const int extent = Extent();
    qint64 loops = fLoopsStarted;
    int index = fNewestIndex;
    int lead = fNewestOffset;
    for (int guard = 0; guard < (1 << 16); ++guard) {
        ++fVisibleCount;
        fOldestIndex = index;
        fOldestOffset = lead;
        const int gap = index == 0 ? fGapBetweenLoops : fGapBetweenItems;
        if (index == 0 && --loops <= 0)
            break;
        const int previous = index == 0 ? last : index - 1;
        if (lead + gap >= extent)
            break; // its trailing edge has already left
        index = previous;
        lead += gap + fItems->Items(index)->Size();
    }
}

void TRealTimeMarquee::ItemChanged(TMarqueeItem *item)
{
    QMutexLocker lock(&fCS);
    if (!item) {
        if (fVisibleCount > 0) {
            Recalculate();
            Invalidate();
        }
        UpdateTimer();
    } else if (item->Showing()) {
        Recalculate();
        Invalidate();
    }
}

// ---------------------------------------------------------------- events

void TRealTimeMarquee::DoMouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TRealTimeMarquee::DoMouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TRealTimeMarquee::DoWrap()
{
    if (OnWrap)
        OnWrap(this);
}

void TRealTimeMarquee::DoLink(const QString &link)
{
    if (OnLink) {
        OnLink(this, link);
        return;
    }
    // Link texts come from the server's markup: hand only web and mail
    // addresses to the desktop, never a local file or program.
    const QUrl url = QUrl::fromUserInput(link);
    const QString scheme = url.scheme().toLower();
    if (url.isValid() && (scheme == u"http" || scheme == u"https" || scheme == u"mailto"))
        QDesktopServices::openUrl(url);
}

void TRealTimeMarquee::DoImage(const QString &uri, QImage &image)
{
    if (OnImage) {
        OnImage(this, uri, image);
        return;
    }
    LoadImageFile(uri, image);
}

void TRealTimeMarquee::DoDrawItem(TMarqueeItem *item, TMarqueeBitmap &bitmap)
{
    if (OnDrawItem)
        OnDrawItem(this, item, bitmap);
}

void TRealTimeMarquee::paintEvent(QPaintEvent *event)
{
    QMutexLocker lock(&fCS);
    QPainter p(this);
    PaintItems(p, event->rect());
    if (event->rect().contains(rect()))
        fFullRepaintPending = false;
}

void TRealTimeMarquee::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    QMutexLocker lock(&fCS);
    fClientSize = size();
    // Vertical text wraps at the client width, so it is laid out again.
    if (fOrientation == moVertical)
        fItems->UnprepareAll();
    RecomputeGaps();
    Recalculate();
    fFullRepaintPending = true;
}

void TRealTimeMarquee::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    const QEvent::Type t = event->type();
    if (t == QEvent::PaletteChange || t == QEvent::FontChange || t == QEvent::LayoutDirectionChange) {
        QMutexLocker lock(&fCS);
        fItems->UnprepareAll();
        CaptureRenderSettings();
        Recalculate();
        Invalidate();
    } else if (t == QEvent::EnabledChange) {
        RefreshCursorLater();
    }
}

void TRealTimeMarquee::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    {
        QMutexLocker lock(&fCS);
        fFullRepaintPending = true;
    }
    UpdateTimer();
}

void TRealTimeMarquee::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    fMouseIsInside = true;
    RefreshCursor(event->position().toPoint());
    DoMouseEnter();
}

void TRealTimeMarquee::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    fMouseIsInside = false;
    {
        QMutexLocker lock(&fCS);
        fActiveLink.clear();
    }
    unsetCursor();
    DoMouseLeave();
}

void TRealTimeMarquee::RefreshCursor(const QPoint &pos)
{
    if (!isEnabled())
        return;
    QString link;
    {
        QMutexLocker lock(&fCS);
        fActiveLink = LinkAtPoint(pos);
        link = fActiveLink;
    }
    if (link.isEmpty())
        unsetCursor();
    else
        setCursor(Qt::PointingHandCursor);
}

void TRealTimeMarquee::RefreshCursorLater()
{
    if (!fMouseIsInside)
        return;
    // The links move under a still mouse, so the cursor is looked up again.
    QMetaObject::invokeMethod(this, [this] {
        if (fMouseIsInside)
            RefreshCursor(mapFromGlobal(QCursor::pos()));
    }, Qt::QueuedConnection);
}

void TRealTimeMarquee::mouseMoveEvent(QMouseEvent *event)
{
    QWidget::mouseMoveEvent(event);
    RefreshCursor(event->position().toPoint());
}

void TRealTimeMarquee::mousePressEvent(QMouseEvent *event)
{
    QWidget::mousePressEvent(event);
    fPressedInside = event->button() == Qt::LeftButton;
    RefreshCursor(event->position().toPoint());
}

void TRealTimeMarquee::mouseReleaseEvent(QMouseEvent *event)
{
    QWidget::mouseReleaseEvent(event);
    const bool click = fPressedInside && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    fPressedInside = false;
    if (!click)
        return;
    if (OnClick)
        OnClick(this);
    const QString link = ActiveLink();
    if (!link.isEmpty())
        DoLink(link);
}
