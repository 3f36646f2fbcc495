#pragma once

#include <QBrush>
#include <QFont>
#include <QPainter>
#include <QPen>
#include <QRect>
#include <QRegion>
#include <QStringList>
#include <QList>

// Layout bits carried in TCanvas::TextFlags while a document is measured or drawn.
namespace TextFlag {
constexpr quint32 RtlReading = 128;
constexpr quint32 Superscript = 1u << 31;
constexpr quint32 Subscript = 1u << 30;
}

// A painter plus the text flags the renderer threads through the tree. The font
// colour is the pen colour; the text background is the brush.
class TCanvas
{
public:
    explicit TCanvas(QPainter &painter) : Painter(painter) {}
    QPainter &Painter;
    quint32 TextFlags = 0;

    bool RightToLeft() const { return TextFlags & TextFlag::RtlReading; }
    bool Superscript() const { return TextFlags & TextFlag::Superscript; }
    bool Subscript() const { return TextFlags & TextFlag::Subscript; }
    void SetFlag(quint32 flag, bool on) { TextFlags = on ? (TextFlags | flag) : (TextFlags & ~flag); }
};

// Saves the canvas state on construction and puts it back on destruction, so a
// node's style never leaks to its siblings.
class TCanvasRecall
{
public:
    explicit TCanvasRecall(TCanvas *reference);
    ~TCanvasRecall();
    TCanvasRecall(const TCanvasRecall &) = delete;
    TCanvasRecall &operator=(const TCanvasRecall &) = delete;

    void Store();
    void Retrieve();
    TCanvas *Reference() const { return fReference; }
    void SetReference(TCanvas *value);

private:
    QPen fPen;
    QFont fFont;
    QBrush fBrush;
    int fCopyMode = 0;
    quint32 fTextFlags = 0;
    TCanvas *fReference = nullptr;
};

// Link targets with the screen region each occupies, in the coordinates the
// links were collected in.
class TSimpleLinks
{
public:
    int Count() const { return int(fItems.size()); }
    QString Links(int index) const { return fItems.at(index).first; }
    QRegion Regions(int index) const { return fItems.at(index).second; }
    QRect Bounds(int index) const { return fItems.at(index).second.boundingRect(); }

    void Add(const QString &link, const QRect &rect) { fItems.append({link, QRegion(rect)}); }
    void Add(const QString &link, const QRegion &region) { fItems.append({link, region}); }
    void Clear() { fItems.clear(); }
    int IndexOfLinkAt(int x, int y) const;

private:
    QList<QPair<QString, QRegion>> fItems;
};
