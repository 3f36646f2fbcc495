// Item model over a kestro::DataSet for the data grid.
//
// The model's columns are the grid's column definitions, bound to dataset
// fields by name each time the dataset is reset. Rows can be filtered (header
// filters) and sorted; both work on a vector of dataset row numbers, so the
// dataset itself is never reordered and its cursor keeps meaning a dataset row.
#pragma once

#include "cellformat.h"
#include "gridcolumn.h"

#include <QAbstractTableModel>
#include <QSet>

#include "dataset.h"

#include <vector>

namespace kestro {

class DataSetModel : public QAbstractTableModel, public DataSetObserver
{
    Q_OBJECT
public:
    enum Roles {
        RawValueRole = Qt::UserRole + 1, // the dataset value (QVariant of its type)
        SourceRowRole,                   // the dataset row of a model row
        FilterKeyRole,                   // the text the header filter and the export use
    };

    explicit DataSetModel(QObject *parent = nullptr);
    ~DataSetModel() override;

    // Columns.
    void setColumns(std::vector<GridColumn> columns);
    const std::vector<GridColumn> &columns() const { return m_columns; }
    const GridColumn &column(int c) const { return m_columns[size_t(c)]; }
    int columnOf(const QString &key) const; // by name/field, -1 when absent
    int fieldOf(int c) const { return m_fieldIndex[size_t(c)]; } // dataset column, -1 unbound

    // Data source. The dataset holds one observer: attaching registers this
    // model, detaching (nullptr) unregisters it and shows no rows. While
    // detached the model never reads the dataset, so a worker may fill it.
    void setDataSet(DataSet *ds);
    DataSet *dataSet() const { return m_ds; }

    // Between begin and end the model ignores dataset notifications and
    // resets once at the end if anything changed.
    void beginUpdate();
    void endUpdate();
    bool inUpdate() const { return m_updateDepth > 0; }

    // Rows as shown: index into the filtered, sorted view.
    int sourceRow(int viewRow) const
    {
        return m_identity ? viewRow : m_map[size_t(viewRow)];
    }
    int viewRow(int sourceRow) const; // -1 when filtered out

    // Header filters: keep rows whose filter key in that column is one of `values`.
    void setFilter(int column, const QSet<QString> &values);
    void clearFilter(int column);
    void clearFilters();
    bool hasFilter(int column) const;
    QSet<QString> filterValues(int column) const;
    // The distinct filter keys of a column over all rows, sorted, for the filter list.
    QStringList distinctValues(int column, int limit = 5000) const;

    // Sorting by one column; -1 restores the dataset's order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    int sortColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }

    // Cell access without QVariant, for the delegate and the export.
    QString cellText(int column, int srow) const;
    const IconEntry *iconEntry(int column, int srow) const;
    bool isChecked(int column, int srow) const;
    QString filterKey(int column, int srow) const;

    // QAbstractItemModel
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

signals:
    // The dataset's cursor moved (dataset row, -1 none).
    void dataSetCursorMoved(int row);
    // Rows, values or filters changed: summaries must be recomputed.
    void contentChanged();

private:
    // DataSetObserver
    void dataSetReset() override;
    void dataSetRowChanged(int row) override;
    void dataSetCurrentRowChanged(int row) override;

    void bindFields();
    void rebuildRows(); // filter + sort into m_map
    void fullReset();

    std::vector<GridColumn> m_columns;
    std::vector<int> m_fieldIndex;
    // Number pattern per grid column, re-read when the dataset's display
    // format changes (formats are set after a load without a notification).
    const NumberPattern &patternFor(int column, int field) const;
    mutable std::vector<NumberPattern> m_patterns;
    mutable std::vector<QString> m_patternSource;
    mutable std::vector<uint8_t> m_patternReady;
    DataSet *m_ds = nullptr;
    int m_rows = 0;
    bool m_identity = true;
    std::vector<int> m_map;
    std::vector<int> m_inverse; // source row -> view row when not identity
    std::vector<QSet<QString>> m_filters;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    int m_updateDepth = 0;
    bool m_dirty = false;
};

} // namespace kestro
