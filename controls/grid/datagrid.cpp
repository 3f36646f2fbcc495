#include "datagrid.h"

#include "datagrid_p.h"
#include "numberformat.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace kestro {

namespace {
constexpr int kFilterButton = 14;
constexpr int kBestFitRows = 5000; // beyond this, best fit measures an even sample
const QString kAll = QStringLiteral("(Tümü)");
} // namespace

// ---- header ----------------------------------------------------------------

GridHeader::GridHeader(DataGrid *grid, QWidget *parent) : QHeaderView(Qt::Horizontal, parent), m_grid(grid)
{
    setSectionsClickable(true);
    setSectionsMovable(true);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignCenter | Qt::Alignment(Qt::TextWordWrap)); // long captions wrap in tall headers
    setMinimumSectionSize(0);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

QRect GridHeader::filterButtonRect(int logical) const
{
    if (!m_grid->headerFilters() || logical < 0 || isSectionHidden(logical))
        return {};
    const int x = sectionViewportPosition(logical);
    const int w = sectionSize(logical);
    if (w < kFilterButton + 6)
        return {};
    return QRect(x + w - kFilterButton - 3, (height() - kFilterButton) / 2, kFilterButton, kFilterButton);
}

void GridHeader::paintSection(QPainter *p, const QRect &rect, int logical) const
{
    QHeaderView::paintSection(p, rect, logical);
    if (!m_grid->headerFilters() || rect.width() < kFilterButton + 6)
        return;
    const QRect b(rect.right() - kFilterButton - 2, rect.top() + (rect.height() - kFilterButton) / 2, kFilterButton,
                  kFilterButton);
    const bool active = m_grid->model()->hasFilter(logical);
    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    p->setPen(active ? m_grid->colors().selected : palette().color(QPalette::Mid));
    p->setBrush(active ? m_grid->colors().selected : palette().color(QPalette::Button));
    p->drawRoundedRect(QRectF(b).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    p->setPen(Qt::NoPen);
    p->setBrush(active ? m_grid->colors().selectedText : palette().color(QPalette::ButtonText));
    const QPointF c = QRectF(b).center();
    const QPointF tri[3] = {{c.x() - 3.5, c.y() - 1.5}, {c.x() + 3.5, c.y() - 1.5}, {c.x(), c.y() + 2.5}};
    p->drawPolygon(tri, 3);
    p->restore();
}

void GridHeader::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton) {
        const int logical = logicalIndexAt(e->position().toPoint());
        if (filterButtonRect(logical).contains(e->position().toPoint())) {
            m_swallowRelease = true;
            emit filterButtonClicked(logical, mapToGlobal(filterButtonRect(logical).bottomLeft()));
            return;
        }
    }
    QHeaderView::mousePressEvent(e);
}

void GridHeader::mouseReleaseEvent(QMouseEvent *e)
{
    if (m_swallowRelease) {
        m_swallowRelease = false;
        return;
    }
    QHeaderView::mouseReleaseEvent(e);
}

// ---- view ------------------------------------------------------------------

GridView::GridView(DataGrid *grid, QWidget *parent) : QTableView(parent), m_grid(grid) {}

int GridView::searchColumn() const
{
    auto searchable = [&](int c) {
        const CellKind k = m_grid->model()->column(c).kind;
        return !isColumnHidden(c) && k != CellKind::Icon && k != CellKind::Check
            && (k != CellKind::Custom || bool(m_grid->model()->column(c).text));
    };
    const int cur = currentIndex().column();
    if (cur >= 0 && searchable(cur))
        return cur;
    for (int v = 0; v < horizontalHeader()->count(); ++v) {
        const int c = horizontalHeader()->logicalIndex(v);
        if (searchable(c))
            return c;
    }
    return -1;
}

bool GridView::findFrom(int startRow, int column, const QString &text)
{
    const DataSetModel *m = m_grid->model();
    const int n = m->rowCount();
    if (n == 0 || column < 0)
        return false;
    const QString needle = turkishLocale().toLower(text);
    for (int i = 0; i < n; ++i) {
        const int r = (startRow + i) % n;
        const QString cell = m->cellText(column, m->sourceRow(r));
        if (cell.size() >= needle.size() && turkishLocale().toLower(cell.left(needle.size())) == needle) {
            m_searching = true;
            setCurrentIndex(m->index(r, column));
            scrollTo(m->index(r, column));
            m_searching = false;
            return true;
        }
    }
    return false;
}

void GridView::setSearch(const QString &text)
{
    searchText = text;
    m_grid->delegate()->setSearchMark(currentIndex(), text);
    viewport()->update();
}

void GridView::keyboardSearch(const QString &search)
{
    if (!incrementalSearch || search.isEmpty() || !search.at(0).isPrint())
        return;
    const int col = searchColumn();
    const int start = qMax(0, currentIndex().row());
    const QString text = searchText + search;
    // A character that matches no row is not taken, so the text typed so far
    // always names a row.
    if (findFrom(start, col, text))
        setSearch(text);
    else
        QApplication::beep();
}

void GridView::keyPressEvent(QKeyEvent *e)
{
    if (!searchText.isEmpty()) {
        if (e->key() == Qt::Key_Escape) {
            setSearch({});
            return;
        }
        if (e->key() == Qt::Key_Backspace) {
            QString t = searchText;
            t.chop(1);
            if (!t.isEmpty())
                findFrom(0, searchColumn(), t);
            setSearch(t);
            return;
        }
    }
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && e->modifiers() == Qt::NoModifier) {
        const int row = m_grid->focusedRow();
        if (row >= 0)
            emit m_grid->rowActivated(row);
        return;
    }
    QTableView::keyPressEvent(e);
}

void GridView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (!m_searching && !searchText.isEmpty())
        setSearch({});
    else
        m_grid->delegate()->setSearchMark(current, searchText);
    m_grid->onCurrentChanged(current);
}

void GridView::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    if (dx != 0)
        m_grid->m_footer->update();
}

// ---- footer ----------------------------------------------------------------

GridFooter::GridFooter(DataGrid *grid, QWidget *parent) : QWidget(parent), m_grid(grid)
{
    setAutoFillBackground(false);
}

int GridFooter::lines() const
{
    std::map<QString, int> per;
    int most = 0;
    for (const GridSummary &s : m_grid->m_summaries)
        most = qMax(most, ++per[s.under.toUpper()]);
    return most;
}

void GridFooter::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(rect().topLeft(), rect().topRight());
    const GridView *v = m_grid->m_view;
    const QHeaderView *h = v->horizontalHeader();
    const int x0 = v->viewport()->geometry().left();
    const int lineH = fontMetrics().height() + 6;
    std::map<int, int> used;
    p.setClipRect(QRect(x0, 0, v->viewport()->width(), height()));
    for (int i = 0; i < m_grid->summaryCount(); ++i) {
        const int c = m_grid->colIndex(m_grid->m_summaries[size_t(i)].under);
        if (c < 0 || h->isSectionHidden(c))
            continue;
        const int line = used[c]++;
        const QRect cell(x0 + h->sectionViewportPosition(c), 2 + line * lineH, h->sectionSize(c), lineH - 2);
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(cell.adjusted(1, 1, -2, -1));
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(cell.adjusted(4, 0, -5, 0), Qt::AlignRight | Qt::AlignVCenter,
                   fontMetrics().elidedText(m_grid->summaryText(i), Qt::ElideLeft, cell.width() - 9));
    }
}

// ---- grid ------------------------------------------------------------------

DataGrid::DataGrid(QWidget *parent) : QWidget(parent), m_model(new DataSetModel(this))
{
    m_view = new GridView(this, this);
    m_footer = new GridFooter(this, this);
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    lay->addWidget(m_view);
    lay->addWidget(m_footer);
    m_footer->hide();

    auto *header = new GridHeader(this, m_view);
    m_view->setHorizontalHeader(header);
    // The delegate first: setting the model reports a current change to it.
    m_delegate = new GridDelegate(m_model, &m_colors, this);
    m_view->setItemDelegate(m_delegate);
    m_view->setModel(m_model);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setWordWrap(false);
    m_view->setShowGrid(true);
    m_view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setMinimumSectionSize(1);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 8);
    // Indicator first: enabling sorting sorts by the indicator's section.
    m_view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_view->horizontalHeader()->setSortIndicatorShown(true);
    m_view->setSortingEnabled(true);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);

    connect(header, &GridHeader::filterButtonClicked, this, &DataGrid::showFilterPopup);
    connect(header, &QWidget::customContextMenuRequested, this,
            [this, header](const QPoint &pos) { showChooserPopup(header->mapToGlobal(pos)); });
    connect(header, &QHeaderView::sectionResized, m_footer, qOverload<>(&QWidget::update));
    connect(header, &QHeaderView::sectionMoved, m_footer, qOverload<>(&QWidget::update));
    connect(m_view, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &i) {
        const int row = m_model->sourceRow(i.row());
        emit rowDoubleClicked(row);
        emit rowActivated(row);
    });
    connect(m_view, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        if (!m_popup)
            return;
        const QModelIndex i = m_view->indexAt(pos);
        if (i.isValid())
            m_view->setCurrentIndex(i);
        m_popup->popup(m_view->viewport()->mapToGlobal(pos));
    });
    connect(m_model, &DataSetModel::dataSetCursorMoved, this, &DataGrid::syncCurrentFromDataSet);
    connect(m_model, &DataSetModel::contentChanged, this, [this] {
        m_summariesDirty = true;
        m_footer->update();
    });
}

DataGrid::~DataGrid()
{
    m_model->setDataSet(nullptr);
}

QTableView *DataGrid::view() const { return m_view; }

int DataGrid::colIndex(const QString &key) const { return m_model->columnOf(key); }

// ---- columns

void DataGrid::setColumns(std::vector<GridColumn> columns)
{
    m_model->setColumns(std::move(columns));
    QHeaderView *h = m_view->horizontalHeader();
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const GridColumn &col = m_model->column(c);
        h->resizeSection(c, col.width);
        h->setSectionHidden(c, !col.visible);
    }
    updateFooter();
}

int DataGrid::columnCount() const { return m_model->columnCount(); }

const GridColumn &DataGrid::column(const QString &key) const
{
    const int c = colIndex(key);
    Q_ASSERT_X(c >= 0, "DataGrid::column", "unknown column key");
    return m_model->column(c);
}

bool DataGrid::hasColumn(const QString &key) const { return colIndex(key) >= 0; }

void DataGrid::setColumnVisible(const QString &key, bool visible)
{
    const int c = colIndex(key);
    if (c >= 0)
        m_view->horizontalHeader()->setSectionHidden(c, !visible);
    m_footer->update();
}

bool DataGrid::isColumnVisible(const QString &key) const
{
    const int c = colIndex(key);
    return c >= 0 && !m_view->horizontalHeader()->isSectionHidden(c);
}

void DataGrid::setColumnWidth(const QString &key, int width)
{
    const int c = colIndex(key);
    if (c >= 0)
        m_view->horizontalHeader()->resizeSection(c, qMax(0, width));
}

int DataGrid::columnWidth(const QString &key) const
{
    const int c = colIndex(key);
    return c >= 0 ? m_view->horizontalHeader()->sectionSize(c) : 0;
}

void DataGrid::setColumnOffered(const QString &key, bool offered)
{
    const int c = colIndex(key);
    if (c < 0)
        return;
    // Column definitions are the model's; only this flag changes after setup.
    const_cast<GridColumn &>(m_model->column(c)).chooser = offered;
}

bool DataGrid::isColumnOffered(const QString &key) const
{
    const int c = colIndex(key);
    return c >= 0 && m_model->column(c).chooser;
}

QStringList DataGrid::visibleColumns() const
{
    QStringList out;
    const QHeaderView *h = m_view->horizontalHeader();
    for (int v = 0; v < h->count(); ++v) {
        const int c = h->logicalIndex(v);
        if (!h->isSectionHidden(c))
            out << m_model->column(c).key();
    }
    return out;
}

// ---- data source

void DataGrid::setDataSet(DataSet *ds)
{
    m_model->setDataSet(ds);
}

DataSet *DataGrid::dataSet() const { return m_model->dataSet(); }

void DataGrid::beginUpdate()
{
    if (m_updateDepth++ == 0)
        setUpdatesEnabled(false);
    m_model->beginUpdate();
}

void DataGrid::endUpdate()
{
    if (m_updateDepth == 0)
        return;
    m_model->endUpdate();
    if (--m_updateDepth == 0)
        setUpdatesEnabled(true);
}

// ---- look

void DataGrid::setRowSelect(bool wholeRow)
{
    m_rowSelect = wholeRow;
    m_view->setSelectionBehavior(wholeRow ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    m_delegate->setShowFocusCell(!wholeRow);
    m_view->viewport()->update();
}

void DataGrid::setHeaderHeight(int h) { m_view->horizontalHeader()->setFixedHeight(h); }
int DataGrid::headerHeight() const { return m_view->horizontalHeader()->height(); }

void DataGrid::setRowHeight(int h) { m_view->verticalHeader()->setDefaultSectionSize(qMax(1, h)); }
int DataGrid::rowHeight() const { return m_view->verticalHeader()->defaultSectionSize(); }

void DataGrid::setColors(const GridColors &c)
{
    m_colors = c;
    m_view->viewport()->update();
}

void DataGrid::setHeaderFilters(bool on)
{
    m_headerFilters = on;
    m_view->horizontalHeader()->viewport()->update();
}

void DataGrid::setIncrementalSearch(bool on) { m_view->incrementalSearch = on; }

void DataGrid::setSortingEnabled(bool on)
{
    m_view->setSortingEnabled(on);
    if (!on) {
        m_view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
        m_model->sort(-1);
    }
}

void DataGrid::setPopupMenu(QMenu *menu) { m_popup = menu; }

void DataGrid::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    emit resized();
}

// ---- widths

void DataGrid::SutunGenislikAyarla(int gridWidth)
{
    QHeaderView *h = m_view->horizontalHeader();
    int sum = 0;
    int fixed = 0;
    for (int c = 0; c < m_model->columnCount(); ++c) {
        if (h->isSectionHidden(c))
            continue;
        const int tag = m_model->column(c).tag;
        if (tag > 0) {
            sum += tag;
        } else {
            if (h->sectionSize(c) <= 0)
                bestFit(m_model->column(c).key());
            fixed += h->sectionSize(c);
        }
    }
    if (sum <= 0)
        return;
    const int unit = qMax(0, (gridWidth - 30 - fixed) / sum);
    const bool wasEnabled = updatesEnabled();
    setUpdatesEnabled(false);
    for (int c = 0; c < m_model->columnCount(); ++c)
        if (!h->isSectionHidden(c) && m_model->column(c).tag > 0)
            h->resizeSection(c, m_model->column(c).tag * unit);
    setUpdatesEnabled(wasEnabled);
}

void DataGrid::bestFit(const QString &key)
{
    const int c = colIndex(key);
    if (c < 0)
        return;
    const QFontMetrics fm = m_view->fontMetrics();
    const QFontMetrics hfm = m_view->horizontalHeader()->fontMetrics();
    int w = hfm.horizontalAdvance(m_model->column(c).caption) + 12 + (m_headerFilters ? kFilterButton + 4 : 0);
    const int n = m_model->rowCount();
    const int step = n > kBestFitRows ? (n + kBestFitRows - 1) / kBestFitRows : 1;
    if (m_model->dataSet())
        for (int r = 0; r < n; r += step)
            w = qMax(w, m_delegate->contentWidth(fm, c, m_model->sourceRow(r)));
    m_view->horizontalHeader()->resizeSection(c, w);
}

void DataGrid::bestFit()
{
    const bool wasEnabled = updatesEnabled();
    setUpdatesEnabled(false);
    for (int c = 0; c < m_model->columnCount(); ++c)
        if (!m_view->horizontalHeader()->isSectionHidden(c))
            bestFit(m_model->column(c).key());
    setUpdatesEnabled(wasEnabled);
}

// ---- footer

int DataGrid::addSummary(const GridSummary &s)
{
    m_summaries.push_back(s);
    m_summariesDirty = true;
    updateFooter();
    return int(m_summaries.size()) - 1;
}

void DataGrid::clearSummaries()
{
    m_summaries.clear();
    m_summariesDirty = true;
    updateFooter();
}

bool DataGrid::footerVisible() const { return !m_footer->isHidden(); }

void DataGrid::updateFooter()
{
    const int lines = m_footer->lines();
    m_footer->setVisible(lines > 0);
    m_footer->setFixedHeight(lines * (m_footer->fontMetrics().height() + 6) + 4);
    m_footer->update();
}

void DataGrid::computeSummaries() const
{
    if (!m_summariesDirty)
        return;
    m_summariesDirty = false;
    m_summaryValues.assign(m_summaries.size(), 0.0);
    m_summaryEmpty.assign(m_summaries.size(), true);
    const DataSet *ds = m_model->dataSet();
    const int n = m_model->rowCount();
    for (size_t i = 0; i < m_summaries.size(); ++i) {
        const GridSummary &s = m_summaries[i];
        if (s.kind == SummaryKind::Count) {
            m_summaryValues[i] = n;
            m_summaryEmpty[i] = false;
            continue;
        }
        if (!ds)
            continue;
        QString field = s.of;
        if (field.isEmpty()) {
            const int c = colIndex(s.under);
            field = c >= 0 ? m_model->column(c).field : QString();
        }
        const int f = ds->fieldIndex(field);
        if (f < 0)
            continue;
        double acc = 0;
        int count = 0;
        double lo = std::numeric_limits<double>::infinity(), hi = -lo;
        for (int r = 0; r < n; ++r) {
            const int sr = m_model->sourceRow(r);
            if (ds->isNull(sr, f))
                continue;
            const double v = ds->asDouble(sr, f);
            acc += v;
            lo = qMin(lo, v);
            hi = qMax(hi, v);
            ++count;
        }
        if (count == 0)
            continue;
        m_summaryEmpty[i] = false;
        switch (s.kind) {
        case SummaryKind::Sum: m_summaryValues[i] = acc; break;
        case SummaryKind::Average: m_summaryValues[i] = acc / count; break;
        case SummaryKind::Min: m_summaryValues[i] = lo; break;
        case SummaryKind::Max: m_summaryValues[i] = hi; break;
        case SummaryKind::Count: break;
        }
    }
}

double DataGrid::summaryValue(int i) const
{
    computeSummaries();
    return (i >= 0 && i < int(m_summaryValues.size())) ? m_summaryValues[size_t(i)] : 0.0;
}

QString DataGrid::summaryText(int i) const
{
    computeSummaries();
    if (i < 0 || i >= int(m_summaries.size()) || m_summaryEmpty[size_t(i)])
        return {};
    const GridSummary &s = m_summaries[size_t(i)];
    const double v = m_summaryValues[size_t(i)];
    if (s.kind == SummaryKind::Count)
        return QString::number(qint64(v));
    QString format = s.format;
    if (format.isEmpty()) {
        const int c = colIndex(s.under);
        const bool money = c >= 0 && m_model->column(c).kind == CellKind::Money && s.of.isEmpty();
        format = QString::fromLatin1(money ? ParaBicimi : "#,###,##0.##");
    }
    return FormatFloat(format, v);
}

// ---- filters

void DataGrid::setFilter(const QString &key, const QStringList &values)
{
    const int c = colIndex(key);
    if (c >= 0)
        m_model->setFilter(c, QSet<QString>(values.begin(), values.end()));
    m_view->horizontalHeader()->viewport()->update();
}

void DataGrid::clearFilter(const QString &key) { setFilter(key, {}); }

void DataGrid::clearFilters()
{
    m_model->clearFilters();
    m_view->horizontalHeader()->viewport()->update();
}

QStringList DataGrid::filterValues(const QString &key) const
{
    const int c = colIndex(key);
    if (c < 0 || !m_model->dataSet())
        return {};
    QStringList v = m_model->distinctValues(c);
    v.removeAll(QString());
    return v;
}

QMenu *DataGrid::filterMenu(const QString &key, QWidget *parent)
{
    auto *menu = new QMenu(parent ? parent : this);
    const int c = colIndex(key);
    if (c < 0)
        return menu;
    const QSet<QString> active = m_model->filterValues(c);
    QAction *all = menu->addAction(kAll);
    connect(all, &QAction::triggered, this, [this, key] { clearFilter(key); });
    menu->addSeparator();
    for (const QString &v : filterValues(key)) {
        QAction *a = menu->addAction(v);
        a->setCheckable(true);
        a->setChecked(active.contains(v));
        connect(a, &QAction::triggered, this, [this, key, v] { setFilter(key, {v}); });
    }
    return menu;
}

QMenu *DataGrid::columnChooserMenu(QWidget *parent)
{
    auto *menu = new QMenu(parent ? parent : this);
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const GridColumn &col = m_model->column(c);
        if (!col.chooser)
            continue;
        QAction *a = menu->addAction(col.caption.isEmpty() ? col.key() : col.caption);
        a->setCheckable(true);
        a->setChecked(isColumnVisible(col.key()));
        const QString key = col.key();
        connect(a, &QAction::toggled, this, [this, key](bool on) { setColumnVisible(key, on); });
    }
    return menu;
}

void DataGrid::showFilterPopup(int column, const QPoint &global)
{
    QMenu *menu = filterMenu(m_model->column(column).key());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(global);
}

void DataGrid::showChooserPopup(const QPoint &global)
{
    QMenu *menu = columnChooserMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(global);
}

// ---- focus

int DataGrid::focusedRow() const
{
    const QModelIndex i = m_view->currentIndex();
    return i.isValid() ? m_model->sourceRow(i.row()) : -1;
}

void DataGrid::setFocusedRow(int row)
{
    const int v = m_model->viewRow(row);
    if (v < 0)
        return;
    int col = m_view->currentIndex().column();
    if (col < 0 || m_view->isColumnHidden(col)) {
        const QStringList vis = visibleColumns();
        col = vis.isEmpty() ? 0 : colIndex(vis.first());
    }
    m_view->setCurrentIndex(m_model->index(v, col));
}

QVariant DataGrid::focusedValue(const QString &field) const
{
    const DataSet *ds = m_model->dataSet();
    const int row = focusedRow();
    if (!ds || row < 0)
        return {};
    const int f = ds->fieldIndex(field);
    return f >= 0 ? ds->value(row, f) : QVariant();
}

QString DataGrid::focusedColumn() const
{
    const int c = m_view->currentIndex().column();
    return c >= 0 ? m_model->column(c).key() : QString();
}

int DataGrid::visibleRowCount() const { return m_model->rowCount(); }

QString DataGrid::searchText() const { return m_view->searchText; }

void DataGrid::onCurrentChanged(const QModelIndex &cur)
{
    const int row = cur.isValid() ? m_model->sourceRow(cur.row()) : -1;
    if (!m_syncing) {
        m_syncing = true;
        if (DataSet *ds = m_model->dataSet(); ds && row >= 0 && ds->currentRow() != row)
            ds->setCurrentRow(row);
        m_syncing = false;
    }
    emit focusedRowChanged(row);
}

void DataGrid::syncCurrentFromDataSet(int row)
{
    if (m_syncing)
        return;
    m_syncing = true;
    int v = m_model->viewRow(row);
    if (v < 0 && m_model->rowCount() > 0)
        v = 0; // the cursor's row is filtered out: focus the first row shown
    if (v >= 0) {
        setFocusedRow(m_model->sourceRow(v));
        if (DataSet *ds = m_model->dataSet(); ds && ds->currentRow() != m_model->sourceRow(v))
            ds->setCurrentRow(m_model->sourceRow(v));
    }
    m_syncing = false;
}

} // namespace kestro
