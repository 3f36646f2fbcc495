#include "griddelegate.h"

#include "datasetmodel.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace kestro {

namespace {
constexpr int kPadX = 4;

Qt::Alignment cellAlignment(const GridColumn &c)
{
    if (c.alignment)
        return c.alignment;
    switch (c.kind) {
    case CellKind::Number:
    case CellKind::Money: return Qt::AlignRight | Qt::AlignVCenter;
    case CellKind::Icon:
    case CellKind::Check: return Qt::AlignCenter;
    case CellKind::Memo: return Qt::AlignLeft | Qt::AlignTop;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
    }
}
} // namespace

GridDelegate::GridDelegate(DataSetModel *model, const GridColors *colors, QObject *parent)
    : QStyledItemDelegate(parent), m_model(model), m_colors(colors)
{
}

void GridDelegate::setSearchMark(const QModelIndex &index, const QString &text)
{
    m_searchIndex = index;
    m_searchText = text;
}

const QPixmap &GridDelegate::checkPixmap(bool checked, const QWidget *w) const
{
    QPixmap &pm = m_check[checked ? 1 : 0];
    if (pm.isNull()) {
        QStyle *st = w ? w->style() : QApplication::style();
        const int iw = st->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w);
        const int ih = st->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, w);
        pm = QPixmap(iw, ih);
        pm.fill(Qt::transparent);
        QPainter g(&pm);
        QStyleOptionButton o;
        o.rect = QRect(0, 0, iw, ih);
        o.state = QStyle::State_Enabled | (checked ? QStyle::State_On : QStyle::State_Off);
        if (w)
            o.palette = w->palette();
        st->drawPrimitive(QStyle::PE_IndicatorCheckBox, &o, &g, w);
    }
    return pm;
}

void GridDelegate::paint(QPainter *p, const QStyleOptionViewItem &opt, const QModelIndex &index) const
{
    const int col = index.column();
    const int srow = m_model->sourceRow(index.row());
    const GridColumn &c = m_model->column(col);
    const bool selected = opt.state & QStyle::State_Selected;
    const QColor &bg = selected ? m_colors->selected : ((index.row() & 1) ? m_colors->odd : m_colors->even);
    const QColor &fg = selected ? m_colors->selectedText : m_colors->text;
    p->fillRect(opt.rect, bg);
    const QRect inner = opt.rect.adjusted(kPadX, 1, -kPadX, -1);
    const Qt::Alignment align = cellAlignment(c);

    switch (c.kind) {
    case CellKind::Custom:
        if (c.paint && m_model->dataSet()) {
            p->save();
            GridCellPaint cell;
            cell.painter = p;
            cell.rect = opt.rect;
            cell.data = m_model->dataSet();
            cell.row = srow;
            cell.visualRow = index.row();
            cell.selected = selected;
            cell.background = bg;
            cell.foreground = fg;
            p->setPen(fg);
            p->setFont(opt.font);
            c.paint(cell);
            p->restore();
        }
        break;
    case CellKind::Icon:
        if (const IconEntry *e = m_model->iconEntry(col, srow); e && !e->pixmap.isNull()) {
            const QSize s = e->pixmap.deviceIndependentSize().toSize();
            p->drawPixmap(QStyle::alignedRect(opt.direction, align, s, inner), e->pixmap);
        }
        break;
    case CellKind::Check: {
        const QPixmap &pm = checkPixmap(m_model->isChecked(col, srow), opt.widget);
        p->drawPixmap(QStyle::alignedRect(opt.direction, align, pm.deviceIndependentSize().toSize(), inner), pm);
        break;
    }
    default: {
        const QString text = m_model->cellText(col, srow);
        if (text.isEmpty())
            break;
        const bool wrap = c.kind == CellKind::Memo || c.wordWrap;
        if (!m_searchText.isEmpty() && m_searchIndex == index && !wrap) {
            // Mark the typed prefix behind the text.
            const int w = opt.fontMetrics.horizontalAdvance(text.left(m_searchText.size()));
            const int full = opt.fontMetrics.horizontalAdvance(text);
            const QRect tr = QStyle::alignedRect(opt.direction, align, QSize(qMin(full, inner.width()), opt.fontMetrics.height()), inner);
            p->fillRect(QRect(tr.left(), tr.top(), qMin(w, tr.width()), tr.height()), m_colors->searchMark);
            p->setPen(m_colors->text);
            p->drawText(QRect(tr.left(), tr.top(), qMin(w, tr.width()), tr.height()), Qt::AlignLeft | Qt::AlignVCenter,
                        text.left(m_searchText.size()));
            p->setPen(fg);
            p->drawText(tr.adjusted(w, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                        opt.fontMetrics.elidedText(text.mid(m_searchText.size()), Qt::ElideRight, tr.width() - w));
            break;
        }
        p->setPen(fg);
        p->setFont(opt.font);
        if (wrap)
            p->drawText(inner, int(align) | Qt::TextWordWrap, text);
        else if (opt.fontMetrics.horizontalAdvance(text) <= inner.width())
            p->drawText(inner, int(align), text); // most cells fit: skip building an elided copy
        else
            p->drawText(inner, int(align), opt.fontMetrics.elidedText(text, Qt::ElideRight, inner.width()));
        break;
    }
    }

    if (m_focusCell && (opt.state & QStyle::State_HasFocus)) {
        QPen pen(selected ? m_colors->selectedText : m_colors->selected);
        pen.setStyle(Qt::DotLine);
        p->setPen(pen);
        p->setBrush(Qt::NoBrush);
        p->drawRect(opt.rect.adjusted(0, 0, -1, -1));
    }
}

int GridDelegate::contentWidth(const QFontMetrics &fm, int column, int srow) const
{
    const GridColumn &c = m_model->column(column);
    switch (c.kind) {
    case CellKind::Icon: {
        const IconEntry *e = m_model->iconEntry(column, srow);
        return (e && !e->pixmap.isNull() ? int(e->pixmap.deviceIndependentSize().width()) : 0) + 2 * kPadX;
    }
    case CellKind::Check: return checkPixmap(false, nullptr).width() + 2 * kPadX;
    case CellKind::Memo: {
        int w = 0;
        for (const QString &line : m_model->cellText(column, srow).split(QLatin1Char('\n')))
            w = qMax(w, fm.horizontalAdvance(line));
        return w + 2 * kPadX;
    }
    default: return fm.horizontalAdvance(m_model->cellText(column, srow)) + 2 * kPadX + 2;
    }
}

QSize GridDelegate::sizeHint(const QStyleOptionViewItem &opt, const QModelIndex &index) const
{
    return {contentWidth(opt.fontMetrics, index.column(), m_model->sourceRow(index.row())), opt.fontMetrics.height() + 4};
}

} // namespace kestro
