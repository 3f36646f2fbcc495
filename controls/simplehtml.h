#pragma once

#include "simplehtmlcanvas.h"

#include <QImage>
#include <QList>
#include <QMap>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class TSimpleHTML;

// One node of a parsed snippet: an element (upper-case tag name) or a text run
// (empty tag name). Laid out on one line, children side by side.
class TSimpleHTMLNode
{
public:
    TSimpleHTMLNode(TSimpleHTMLNode *parent, const QString &tagName);
    virtual ~TSimpleHTMLNode();
    TSimpleHTMLNode(const TSimpleHTMLNode &) = delete;
    TSimpleHTMLNode &operator=(const TSimpleHTMLNode &) = delete;

    TSimpleHTMLNode *Parent() const { return fParent; }
    const QString &TagName() const { return fTagName; }
    const QString &Text() const { return fText; }
    void SetText(const QString &text) { fText = text; }
    virtual TSimpleHTML *Document() const;
    int Index() const;

    int ChildCount() const { return int(fChildren.size()); }
    bool HasChildren() const { return !fChildren.empty(); }
    TSimpleHTMLNode *Children(int index) const { return fChildren.at(size_t(index)).get(); }
    TSimpleHTMLNode *AddChild(const QString &tagName);
    void RemoveChild(int index);
    void RemoveAllChildren();

    // Attributes keep their stored order; names compare without case.
    int AttributeCount() const { return int(fAttributes.size()); }
    QString AttributeName(int index) const { return fAttributes.at(index).first; }
    QString Attributes(const QString &name) const;
    bool HasAttribute(const QString &name) const;
    void SetAttribute(const QString &name, const QString &value); // empty value removes

    QString InnerText() const;
    QString InnerHTML() const;
    QString OuterHTML() const;

    // Style of this node applied to the canvas (callers keep a TCanvasRecall).
    void ApplyStyle(TCanvas &canvas) const;
    QSize Extend(TCanvas &canvas) const;
    void Draw(TCanvas &canvas, const QRect &rect) const;

protected:
    void CollectLinksInto(TCanvas &canvas, const QRect &rect, TSimpleLinks &links, int &added) const;

private:
    struct ImageBox
    {
        const QImage *image;
        int width, height, hspace, vspace;
    };
    ImageBox ImageBoxOf() const;
    QSize MeasureStyled(TCanvas &canvas) const;

    TSimpleHTMLNode *fParent;
    QString fTagName;
    QString fText;
    std::vector<std::unique_ptr<TSimpleHTMLNode>> fChildren;
    QList<QPair<QString, QString>> fAttributes;
};

using TGetImageEvent = std::function<void(TSimpleHTML *sender, const QString &uri, QImage &image)>;

// The document (tag "HTML"): parses its text once, on construction.
class TSimpleHTML : public TSimpleHTMLNode
{
public:
    explicit TSimpleHTML(const QString &html);
    ~TSimpleHTML() override;

    TSimpleHTML *Document() const override;
    bool IsValid() const { return fParsed; }

    // Links of the laid-out document over rect; returns how many were added.
    int CollectLinks(TCanvas &canvas, const QRect &rect, TSimpleLinks &links);

    // Cached picture for a source; asks OnGetImage (or the file system) once.
    const QImage &GetImage(const QString &source);
    TGetImageEvent OnGetImage;

    // Deepest nesting the parser accepts; deeper markup fails the parse.
    static constexpr int MaxDepth = 200;

protected:
    virtual void DoGetImage(const QString &uri, QImage &image);

private:
    bool Parse(const QString &html);

    bool fParsed = false;
    QMap<QString, QImage> fImages; // node-based: references stay valid while it grows
};

// Numbers in IMG attributes and sizes are kept in this range so a hostile
// snippet cannot ask for giant pictures or overflow the layout sums.
namespace SimpleHTMLLimits {
constexpr int MaxImageSide = 8192;
constexpr int MaxExtent = 1 << 22;
constexpr int MinPointSize = 1;
constexpr int MaxPointSize = 400;
constexpr qint64 MaxImageFileBytes = 16 * 1024 * 1024;
}

// Loads a picture named by a markup source from a plain file of picture size;
// leaves `image` as it was otherwise.
void LoadImageFile(const QString &uri, QImage &image);
