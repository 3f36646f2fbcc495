#pragma once

#include "marqueeitem.h"

#include <QRecursiveMutex>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class TRealTimeMarquee;

using TMarqueeNotifyEvent = std::function<void(TRealTimeMarquee *sender)>;
using TMarqueeDrawItemEvent = std::function<void(TRealTimeMarquee *sender, TMarqueeItem *item, TMarqueeBitmap &bitmap)>;
using TMarqueeLinkEvent = std::function<void(TRealTimeMarquee *sender, const QString &link)>;
using TMarqueeImageEvent = std::function<void(TRealTimeMarquee *sender, const QString &uri, QImage &image)>;

// Scrolls its items through the client area one step per timer tick. Items are
// rendered once into a picture of their own; a tick moves the pixels already on
// screen and paints only the uncovered strip. All scrolling state is guarded by
// one recursive lock, so items may be changed from a worker thread.
class TRealTimeMarquee : public QWidget
{
    Q_OBJECT

public:
    // The timer periods the control accepts, in ms.
    static constexpr quint32 MinPeriod = 1;
    static constexpr quint32 MaxPeriod = 1000000;

    explicit TRealTimeMarquee(QWidget *parent = nullptr);
    ~TRealTimeMarquee() override;

    bool Active() const { return fActive; }
    void SetActive(bool value);
    quint32 Interval() const { return fInterval; }
    void SetInterval(quint32 value);
    quint32 Resolution() const { return fResolution; }
    quint8 Step() const { return fStep; }
    void SetStep(quint8 value);
    quint8 Spacing() const { return fSpacing; }
    void SetSpacing(quint8 value);
    quint8 LoopSpacing() const { return fLoopSpacing; }
    void SetLoopSpacing(quint8 value);
    quint32 NumLoops() const { return fNumLoops; }
    void SetNumLoops(quint32 value) { fNumLoops = value; }
    TMarqueeOrientation Orientation() const { return fOrientation; }
    void SetOrientation(TMarqueeOrientation value);
    TMarqueeCollection *Items() const { return fItems.get(); }
    void SetItems(const TMarqueeCollection &value) { fItems->Assign(value); }
    QColor Color() const;
    void SetColor(const QColor &value);

    quint32 LoopCount() const { return fLoopsEnded; }
    quint32 VisibleCount() const { return fVisibleCount; }
    QString ActiveLink() const;
    bool TimerArmed() const { return fTimerArmed; }

    void Lock() { fCS.lock(); }
    void Unlock() { fCS.unlock(); }
    void Reset();
    void Invalidate();

    // One timer period's work: advance the run by Step and repaint what moved.
    void TimerTick();
    // Paints the visible run clipped to rect (the whole client in a paint event).
    void PaintItems(QPainter &painter, const QRect &rect);
    QString LinkAtPoint(const QPoint &p);
    // Re-lays the visible run after sizes or gaps changed.
    void Recalculate();
    void ItemChanged(TMarqueeItem *item);

    // Render settings as last seen on the UI thread, readable from any thread.
    QFont RenderFont() const;
    QColor RenderColor() const;
    QColor RenderTextColor() const;
    bool RenderRightToLeft() const;
    QSize ClientSize() const;

    TMarqueeNotifyEvent OnWrap;
    TMarqueeLinkEvent OnLink;
    TMarqueeImageEvent OnImage;
    TMarqueeDrawItemEvent OnDrawItem;
    TMarqueeNotifyEvent OnMouseEnter;
    TMarqueeNotifyEvent OnMouseLeave;
    TMarqueeNotifyEvent OnClick;

protected:
    friend class TMarqueeItem;
    friend class TMarqueeCollection;

    virtual void DoMouseEnter();
    virtual void DoMouseLeave();
    virtual void DoWrap();
    virtual void DoLink(const QString &link);
    virtual void DoImage(const QString &uri, QImage &image);
    virtual void DoDrawItem(TMarqueeItem *item, TMarqueeBitmap &bitmap);

    void StartTimer();
    void StopTimer();
    void UpdateTimer();
    // The timer itself; replaced in tests that drive ticks by hand.
    virtual void ArmTimer(int milliseconds);
    virtual void DisarmTimer();

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int Extent() const;
    void RecomputeGaps();
    void CaptureRenderSettings();
    void RefreshCursor(const QPoint &pos);
    void RefreshCursorLater();
    void OnUiThread(std::function<void()> fn);
    // Walks the visible run newest first, handing each item its origin; stops
    // when the visitor returns false.
    void ForEachVisible(const std::function<bool(TMarqueeItem *item, int x, int y, int index)> &visit);

    std::unique_ptr<TMarqueeCollection> fItems;
    bool fActive = false;
    quint32 fInterval = 10;
    quint8 fStep = 1;
    quint8 fSpacing = 100;
    quint8 fLoopSpacing = 100;
    quint32 fNumLoops = 0;
    TMarqueeOrientation fOrientation = moHorizontal;
    quint32 fVisibleCount = 0;

    quint32 fResolution = 1;
    bool fTimerArmed = false;
    int fOldestIndex = 0;
    int fNewestIndex = 0;
    int fNewestOffset = 0;
    int fOldestOffset = 0;
    quint32 fLoopsStarted = 0;
    quint32 fLoopsEnded = 0;
    QString fActiveLink;
    bool fMouseIsInside = false;
    bool fPressedInside = false;
    bool fFullRepaintPending = true;
    int fGapBetweenItems = 0;
    int fGapBetweenLoops = 0;

    QFont fRenderFont;
    QColor fRenderColor;
    QColor fRenderTextColor;
    bool fRenderRightToLeft = false;
    QSize fClientSize;

    mutable QRecursiveMutex fCS;
    QTimer fTimer;
};
