// DataGrid: the program's read-only grid over a kestro::DataSet.
//
// A QTableView (view()) with a summary footer below it, painted by one
// delegate straight from the dataset's typed columns; no widget per cell and
// uniform row heights, so 50,000 rows scroll as fast as 50.
//
// Typical use in a tab:
//
//     using kestro::GridColumn; using kestro::CellKind;
//     grid = new kestro::DataGrid(this);
//     grid->setColumns({
//         GridColumn::make("DURUM", "Durum", 1, true).withIcons(kestro::StokDurumIkonlari()),
//         GridColumn::make("BARKOD", "Barkod", 2, true),
//         GridColumn::make("ADI", "Açıklama", 3, true),
//         GridColumn::make("STOK_STOKNO", {}, 1, false).hiddenFromChooser(),
//         GridColumn::make("NETFIYAT", "Net Fiyatı", 2, true, CellKind::Money),
//     });
//     grid->setHeaderHeight(40);
//     grid->addSummary("BARKOD", kestro::SummaryKind::Count);
//     grid->addSummary("NETFIYAT", kestro::SummaryKind::Sum);
//     connect(grid, &kestro::DataGrid::rowActivated, this, &Tab::satirAc); // double click, Enter
//
//     // Background load: detach, update, fill the dataset on a worker, re-attach.
//     grid->setDataSet(nullptr); grid->beginUpdate(); grid->clearFilters();
//     ... worker fills `stok` ...
//     grid->setDataSet(&stok); grid->endUpdate();
//
//     // The focused row's key (the dataset's cursor follows the focused row too):
//     const qint64 stokNo = grid->focusedValue("STOK_STOKNO").toLongLong();
//
// Columns are addressed by key: GridColumn::name, or the field when no name
// is given. The dataset holds one observer, so a dataset is shown by one grid
// at a time.
#pragma once

#include "datasetmodel.h"
#include "griddelegate.h"
#include "gridcolumn.h"
#include "gridicons.h"

#include <QTableView>
#include <QWidget>

class QMenu;

namespace kestro {

class GridView;
class GridFooter;

enum class SummaryKind { Count, Sum, Average, Min, Max };

struct GridSummary
{
    QString under;  // key of the column the summary is shown under
    SummaryKind kind = SummaryKind::Count;
    QString of;     // field summed / averaged; empty: the field of `under`
    QString format; // number pattern; empty: money columns "#,###,##0.00", others "#,###,##0.##"
};

class DataGrid : public QWidget
{
    Q_OBJECT
public:
    explicit DataGrid(QWidget *parent = nullptr);
    ~DataGrid() override;

    // ---- columns
    void setColumns(std::vector<GridColumn> columns);
    int columnCount() const;
    const GridColumn &column(const QString &key) const; // key must exist
    bool hasColumn(const QString &key) const;
    void setColumnVisible(const QString &key, bool visible);
    bool isColumnVisible(const QString &key) const;
    void setColumnWidth(const QString &key, int width);
    int columnWidth(const QString &key) const;
    void setColumnOffered(const QString &key, bool offered); // listed in the column chooser
    bool isColumnOffered(const QString &key) const;
    QStringList visibleColumns() const; // keys in display order

    // ---- data source
    void setDataSet(DataSet *ds); // nullptr detaches
    DataSet *dataSet() const;
    void beginUpdate(); // no repaint, dataset notifications deferred
    void endUpdate();

    // ---- look and behaviour
    void setRowSelect(bool wholeRow); // whole-row (default) or single-cell focus
    bool rowSelect() const { return m_rowSelect; }
    void setHeaderHeight(int h);
    int headerHeight() const;
    void setRowHeight(int h); // all rows the same height
    int rowHeight() const;
    void setColors(const GridColors &c);
    const GridColors &colors() const { return m_colors; }
    void setHeaderFilters(bool on); // filter buttons in the header (default on)
    bool headerFilters() const { return m_headerFilters; }
    void setIncrementalSearch(bool on); // default on
    void setSortingEnabled(bool on);    // header click sorts (default on)
    void setPopupMenu(QMenu *menu);     // shown on right click over the rows

    // ---- widths
    // Weighted widths: unit U = trunc((gridWidth - 30) / sum of the visible
    // columns' tags), each visible column gets tag * U. A visible column of
    // weight 0 keeps its own width (best fit when it has none) and that width
    // is taken off before the unit is computed.
    void SutunGenislikAyarla(int gridWidth);
    void SutunGenislikAyarla() { SutunGenislikAyarla(width()); }
    void bestFit();                   // all visible columns to their content
    void bestFit(const QString &key);

    // ---- footer
    int addSummary(const GridSummary &s); // returns the summary's number
    int addSummary(const QString &under, SummaryKind kind, const QString &of = {}, const QString &format = {})
    {
        return addSummary(GridSummary{under, kind, of, format});
    }
    void clearSummaries();
    int summaryCount() const { return int(m_summaries.size()); }
    double summaryValue(int i) const;
    QString summaryText(int i) const;
    bool footerVisible() const;

    // ---- header filters
    void setFilter(const QString &key, const QStringList &values); // empty list clears
    void clearFilter(const QString &key);
    void clearFilters();
    QStringList filterValues(const QString &key) const; // the list a filter button offers
    // Menus as the header shows them, built for one use (caller owns).
    QMenu *filterMenu(const QString &key, QWidget *parent = nullptr);
    QMenu *columnChooserMenu(QWidget *parent = nullptr);

    // ---- focus
    int focusedRow() const;        // dataset row, -1 when none
    void setFocusedRow(int row);   // dataset row
    QVariant focusedValue(const QString &field) const;
    QString focusedColumn() const; // key of the focused column (cell focus)
    int visibleRowCount() const;   // rows shown after filtering
    QString searchText() const;    // incremental search typed so far

    QTableView *view() const;
    DataSetModel *model() const { return m_model; }
    GridDelegate *delegate() const { return m_delegate; }

signals:
    void rowActivated(int row);     // double click on a row, or Enter (dataset row)
    void rowDoubleClicked(int row); // double click only
    void focusedRowChanged(int row);
    void resized();

protected:
    void resizeEvent(QResizeEvent *e) override;

private:
    friend class GridFooter;
    friend class GridView;
    int colIndex(const QString &key) const;
    void syncCurrentFromDataSet(int row);
    void onCurrentChanged(const QModelIndex &cur);
    void showFilterPopup(int column, const QPoint &global);
    void showChooserPopup(const QPoint &global);
    void updateFooter();
    void computeSummaries() const;

    DataSetModel *m_model;
    GridView *m_view;
    GridFooter *m_footer;
    GridDelegate *m_delegate;
    GridColors m_colors;
    QMenu *m_popup = nullptr;
    std::vector<GridSummary> m_summaries;
    mutable std::vector<double> m_summaryValues;
    mutable std::vector<bool> m_summaryEmpty;
    mutable bool m_summariesDirty = true;
    bool m_rowSelect = true;
    bool m_headerFilters = true;
    bool m_syncing = false;
    int m_updateDepth = 0;
};

} // namespace kestro
