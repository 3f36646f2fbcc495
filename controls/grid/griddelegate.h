// Paints the grid's cells straight from the model's typed accessors: no
// QVariant round trip, pictures from the columns' cached icon maps.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QStyledItemDelegate>

namespace kestro {

class DataSetModel;

struct GridColors
{
    QColor even{255, 255, 255};
    QColor odd{0xf2, 0xf5, 0xfa};
    QColor selected{0x3d, 0x7e, 0xc6};
    QColor text{0x20, 0x20, 0x20};
    QColor selectedText{255, 255, 255};
    QColor searchMark{0xff, 0xe0, 0x82};
};

class GridDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    GridDelegate(DataSetModel *model, const GridColors *colors, QObject *parent = nullptr);

    void paint(QPainter *p, const QStyleOptionViewItem &opt, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &opt, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *, const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        return nullptr; // read-only grid
    }

    // Incremental search: the prefix typed so far, marked in the current cell.
    void setSearchMark(const QModelIndex &index, const QString &text);
    void setShowFocusCell(bool on) { m_focusCell = on; }

    // Width the content of one cell needs, for best fit.
    int contentWidth(const QFontMetrics &fm, int column, int sourceRow) const;

private:
    const QPixmap &checkPixmap(bool checked, const QWidget *w) const;

    DataSetModel *m_model;
    const GridColors *m_colors;
    mutable QPixmap m_check[2];
    QPersistentModelIndex m_searchIndex;
    QString m_searchText;
    bool m_focusCell = false;
};

} // namespace kestro
