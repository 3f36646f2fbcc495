// Column definitions of the data grid.
#pragma once

#include <QPixmap>
#include <QRect>
#include <QColor>
#include <QString>

#include <functional>
#include <map>

class QPainter;

namespace kestro {

class DataSet;

enum class CellKind {
    Text,   // the dataset's display text
    Number, // right-aligned number as the dataset shows it
    Money,  // right-aligned, "#,###,##0.00" under Turkish settings
    Icon,   // a picture chosen by the integer value (IconMap)
    Check,  // check box: checked for a non-zero value
    Memo,   // multi-line, word-wrapped text, top-aligned
    Custom, // drawn by the column's paint callback
};

// One entry of an icon column: the picture and the name used by the header
// filter list, tooltips and the Excel export. A null pixmap draws nothing.
struct IconEntry
{
    QPixmap pixmap;
    QString name;
};
using IconMap = std::map<qint64, IconEntry>;

// What a custom-drawn cell gets. `background` is the colour the grid would
// fill the cell with (selection, odd or even row), so the callback can paint
// the same background before its own content.
struct GridCellPaint
{
    QPainter *painter = nullptr;
    QRect rect;
    const DataSet *data = nullptr;
    int row = -1;        // dataset row
    int visualRow = -1;  // row as shown (after filter and sort)
    bool selected = false;
    QColor background;
    QColor foreground;
};

struct GridColumn
{
    QString field;   // dataset field; empty for an unbound (custom) column
    QString caption;
    QString name;    // key for summaries and lookups; defaults to field
    int tag = 1;     // width weight for SutunGenislikAyarla
    bool visible = true;     // shown at start
    bool chooser = true;     // offered in the column chooser
    CellKind kind = CellKind::Text;
    Qt::Alignment alignment = {}; // empty: by kind (numbers right, icons centred, text left)
    bool wordWrap = false;   // wrap text cells (memo cells always wrap)
    int width = 80;          // initial width in pixels
    IconMap icons;           // for CellKind::Icon
    std::function<void(const GridCellPaint &)> paint; // for CellKind::Custom
    // Text of the cell for export, header filters and incremental search when
    // the cell is not a plain dataset value (custom cells); optional.
    std::function<QString(const DataSet &, int row)> text;

    QString key() const { return name.isEmpty() ? field : name; }

    // Builders, so column tables read as one line per column.
    static GridColumn make(const QString &field, const QString &caption, int tag, bool visible,
                           CellKind kind = CellKind::Text)
    {
        GridColumn c;
        c.field = field;
        c.caption = caption;
        c.tag = tag;
        c.visible = visible;
        c.kind = kind;
        return c;
    }
    GridColumn &hiddenFromChooser() { chooser = false; return *this; }
    GridColumn &align(Qt::Alignment a) { alignment = a; return *this; }
    GridColumn &wrap() { wordWrap = true; return *this; }
    GridColumn &withIcons(IconMap m) { kind = CellKind::Icon; icons = std::move(m); return *this; }
    GridColumn &withWidth(int w) { width = w; return *this; }
};

} // namespace kestro
