#pragma once

#include "simplehtmlcanvas.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>

class TRealTimeMarquee;
class TMarqueeCollection;

enum TMarqueeOrientation { moHorizontal, moVertical };
enum TMarqueeStyle { msText, msHTML, msOwnerDraw };
using TMarqueeTextStyle = TMarqueeStyle; // msText or msHTML
enum TMarqueeAlignment { maCenter, maLeftOrTop, maRightOrBottom };

// The rendered picture of one item. An owner-drawn item's handler sizes and
// paints Image; Color and Font carry the control's colour and font to it.
struct TMarqueeBitmap
{
    QImage Image;
    QColor Color;
    QFont Font;

    // A fresh image of the given size filled with Color.
    void SetSize(int width, int height);
};

class TMarqueeItem
{
public:
    explicit TMarqueeItem(TMarqueeCollection *collection);
    virtual ~TMarqueeItem();
    TMarqueeItem(const TMarqueeItem &) = delete;
    TMarqueeItem &operator=(const TMarqueeItem &) = delete;

    QString Text() const { return fText; }
    void SetText(const QString &value);
    TMarqueeStyle Style() const { return fStyle; }
    void SetStyle(TMarqueeStyle value);
    TMarqueeAlignment Alignment() const { return fAlignment; }
    void SetAlignment(TMarqueeAlignment value);
    int Tag() const { return fTag; }
    void SetTag(int value) { fTag = value; }

    TRealTimeMarquee *Marquee() const;
    TMarqueeCollection *Collection() const { return fCollection; }
    int Index() const;
    bool Showing() const;
    bool Prepared() const { return fPrepared; }
    QString DisplayName() const;

    // Rendered size; each renders the item first when needed.
    int Size();   // along the scrolling direction
    int Width();
    int Height();

    const TMarqueeBitmap &Bitmap() const { return fBitmap; }
    const TSimpleLinks *Links() const { return fLinks.get(); }

    // Copies Text and Style (not Alignment, not Tag).
    virtual void Assign(const TMarqueeItem &source);

    // Copies the part of the item's picture at (x, y) that falls in clip.
    virtual void DrawAt(QPainter &painter, int x, int y, const QRect &clip);
    // Link under a point in item coordinates, or empty.
    virtual QString LinkAt(int x, int y) const;
    virtual void Unprepare();
    virtual void Prepare();

protected:
    virtual void PrepareText();
    virtual void PrepareHTML();
    virtual void PrepareOwnerDraw();
    void Changed();

private:
    void SetBitmapSize(int width, int height);

    TMarqueeCollection *fCollection;
    QString fText;
    TMarqueeAlignment fAlignment = maCenter;
    TMarqueeStyle fStyle = msText;
    bool fPrepared = false;
    TMarqueeBitmap fBitmap;
    std::unique_ptr<TSimpleLinks> fLinks;
    QSize fSize{0, 0};
    int fTag = 0;
};

class TMarqueeCollection
{
public:
    explicit TMarqueeCollection(TRealTimeMarquee *owner);
    virtual ~TMarqueeCollection();
    TMarqueeCollection(const TMarqueeCollection &) = delete;
    TMarqueeCollection &operator=(const TMarqueeCollection &) = delete;

    TRealTimeMarquee *Marquee() const { return fOwner; }
    int Count() const { return int(fItems.size()); }
    TMarqueeItem *Items(int index) const { return fItems.at(index); }
    TMarqueeItem *operator[](int index) const { return fItems.at(index); }
    int IndexOf(const TMarqueeItem *item) const { return int(fItems.indexOf(item)); }

    TMarqueeItem *Add();
    TMarqueeItem *Insert(int index);
    void Delete(int index);
    void Clear();
    void Assign(const TMarqueeCollection &source);

    // Holds the control's lock for the whole bracket.
    void BeginUpdate();
    void EndUpdate();

    void LoadFromStrings(const QStringList &strings, TMarqueeTextStyle textStyle);
    void SaveToStrings(QStringList &strings) const;

    virtual void UnprepareAll();

protected:
    virtual void Update(TMarqueeItem *item);

private:
    friend class TMarqueeItem;
    void Changed(TMarqueeItem *item);

    TRealTimeMarquee *fOwner;
    QList<TMarqueeItem *> fItems;
    int fUpdateCount = 0;
};
