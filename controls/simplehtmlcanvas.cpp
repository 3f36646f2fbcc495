#include "simplehtmlcanvas.h"

TCanvasRecall::TCanvasRecall(TCanvas *reference) : fReference(reference)
{
    Store();
}

TCanvasRecall::~TCanvasRecall()
{
    Retrieve();
}

void TCanvasRecall::Store()
{
    if (!fReference)
        return;
    QPainter &p = fReference->Painter;
    fPen = p.pen();
    fFont = p.font();
    fBrush = p.brush();
    fCopyMode = int(p.compositionMode());
    fTextFlags = fReference->TextFlags;
}

void TCanvasRecall::Retrieve()
{
    if (!fReference)
        return;
    QPainter &p = fReference->Painter;
    p.setPen(fPen);
    p.setFont(fFont);
    p.setBrush(fBrush);
    p.setCompositionMode(QPainter::CompositionMode(fCopyMode));
    fReference->TextFlags = fTextFlags;
}

void TCanvasRecall::SetReference(TCanvas *value)
{
    if (value == fReference)
        return;
    Retrieve();
    fReference = value;
    Store();
}

int TSimpleLinks::IndexOfLinkAt(int x, int y) const
{
    for (int i = 0; i < fItems.size(); ++i)
        if (fItems.at(i).second.contains(QPoint(x, y)))
            return i;
    return -1;
}
