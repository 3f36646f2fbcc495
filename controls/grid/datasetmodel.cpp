#include "datasetmodel.h"

#include "numberformat.h"

#include <QCollator>

#include <algorithm>
#include <numeric>

namespace kestro {

DataSetModel::DataSetModel(QObject *parent) : QAbstractTableModel(parent) {}

DataSetModel::~DataSetModel()
{
    if (m_ds && m_ds->observer() == this)
        m_ds->setObserver(nullptr);
}

void DataSetModel::setColumns(std::vector<GridColumn> columns)
{
    beginResetModel();
    m_columns = std::move(columns);
    m_filters.assign(m_columns.size(), {});
    m_sortColumn = -1;
    bindFields();
    rebuildRows();
    endResetModel();
    emit contentChanged();
}

int DataSetModel::columnOf(const QString &key) const
{
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].key().compare(key, Qt::CaseInsensitive) == 0)
            return int(i);
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].field.compare(key, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

void DataSetModel::setDataSet(DataSet *ds)
{
    if (ds == m_ds)
        return;
    if (m_ds && m_ds->observer() == this)
        m_ds->setObserver(nullptr);
    m_ds = ds;
    if (m_ds)
        m_ds->setObserver(this);
    m_dirty = false;
    fullReset();
}

void DataSetModel::beginUpdate()
{
    ++m_updateDepth;
}

void DataSetModel::endUpdate()
{
    if (m_updateDepth == 0)
        return;
    if (--m_updateDepth == 0 && m_dirty) {
        m_dirty = false;
        fullReset();
    }
}

void DataSetModel::bindFields()
{
    m_fieldIndex.assign(m_columns.size(), -1);
    m_patterns.assign(m_columns.size(), NumberPattern());
    m_patternSource.assign(m_columns.size(), QString());
    m_patternReady.assign(m_columns.size(), 0);
    for (size_t i = 0; i < m_columns.size(); ++i) {
        const GridColumn &c = m_columns[i];
        const int f = (m_ds && !c.field.isEmpty()) ? m_ds->fieldIndex(c.field) : -1;
        m_fieldIndex[i] = f;
        if (f >= 0)
            patternFor(int(i), f);
    }
}

const NumberPattern &DataSetModel::patternFor(int column, int f) const
{
    const DataSet::Column &dc = m_ds->column(f);
    QString &source = m_patternSource[size_t(column)];
    NumberPattern &p = m_patterns[size_t(column)];
    if (m_patternReady[size_t(column)] && dc.displayFormat == source)
        return p;
    m_patternReady[size_t(column)] = 1;
    source = dc.displayFormat;
    p = NumberPattern();
    if (dc.storage() == DataSet::Storage::Text || dc.storage() == DataSet::Storage::Bytes)
        return p;
    QString pattern = dc.displayFormat;
    if (pattern.isEmpty() && m_columns[size_t(column)].kind == CellKind::Money)
        pattern = QString::fromLatin1(ParaBicimi);
    if (!pattern.isEmpty())
        p = NumberPattern(pattern, turkishLocale());
    return p;
}

void DataSetModel::fullReset()
{
    beginResetModel();
    bindFields();
    m_rows = (m_ds && m_ds->isOpen()) ? m_ds->rowCount() : 0;
    rebuildRows();
    endResetModel();
    emit contentChanged();
    if (m_ds)
        emit dataSetCursorMoved(m_ds->currentRow());
}

void DataSetModel::dataSetReset()
{
    if (m_updateDepth > 0) {
        m_dirty = true;
        return;
    }
    fullReset();
}

void DataSetModel::dataSetRowChanged(int row)
{
    if (m_updateDepth > 0) {
        m_dirty = true;
        return;
    }
    const int v = viewRow(row);
    if (v >= 0 && !m_columns.empty())
        emit dataChanged(index(v, 0), index(v, int(m_columns.size()) - 1));
    emit contentChanged();
}

void DataSetModel::dataSetCurrentRowChanged(int row)
{
    if (m_updateDepth == 0)
        emit dataSetCursorMoved(row);
}

int DataSetModel::viewRow(int srow) const
{
    if (srow < 0 || srow >= m_rows)
        return -1;
    return m_identity ? srow : m_inverse[size_t(srow)];
}

// ---- filter and sort -------------------------------------------------------

void DataSetModel::rebuildRows()
{
    const bool filtered = std::any_of(m_filters.begin(), m_filters.end(), [](const auto &s) { return !s.isEmpty(); });
    const bool sorted = m_sortColumn >= 0 && m_sortColumn < int(m_columns.size());
    m_identity = !filtered && !sorted;
    m_map.clear();
    m_inverse.clear();
    if (m_identity || !m_ds)
        return;
    m_map.reserve(size_t(m_rows));
    for (int r = 0; r < m_rows; ++r) {
        bool keep = true;
        for (size_t c = 0; keep && c < m_filters.size(); ++c)
            if (!m_filters[c].isEmpty())
                keep = m_filters[c].contains(filterKey(int(c), r));
        if (keep)
            m_map.push_back(r);
    }
    if (sorted) {
        const int c = m_sortColumn;
        const int f = m_fieldIndex[size_t(c)];
        const bool desc = m_sortOrder == Qt::DescendingOrder;
        auto nullsFirst = [&](int a, int b, auto &&less) {
            const bool na = f >= 0 ? m_ds->isNull(a, f) : false, nb = f >= 0 ? m_ds->isNull(b, f) : false;
            if (na || nb)
                return desc ? (nb && !na) : (na && !nb);
            return desc ? less(b, a) : less(a, b);
        };
        const DataSet::Column *col = f >= 0 ? &m_ds->column(f) : nullptr;
        const auto storage = col ? col->storage() : DataSet::Storage::Text;
        if (col && storage == DataSet::Storage::Int) {
            std::stable_sort(m_map.begin(), m_map.end(), [&](int a, int b) {
                return nullsFirst(a, b, [&](int x, int y) { return col->ints[size_t(x)] < col->ints[size_t(y)]; });
            });
        } else if (col && storage == DataSet::Storage::Real) {
            std::stable_sort(m_map.begin(), m_map.end(), [&](int a, int b) {
                return nullsFirst(a, b, [&](int x, int y) { return col->reals[size_t(x)] < col->reals[size_t(y)]; });
            });
        } else if (col && (col->type == FieldType::Date || col->type == FieldType::DateTime
                           || col->type == FieldType::Timestamp)) {
            // ISO text sorts in time order.
            std::stable_sort(m_map.begin(), m_map.end(), [&](int a, int b) {
                return nullsFirst(a, b, [&](int x, int y) { return col->texts[size_t(x)] < col->texts[size_t(y)]; });
            });
        } else {
            // Text: Turkish collation through precomputed keys.
            QCollator coll(turkishLocale());
            coll.setCaseSensitivity(Qt::CaseInsensitive);
            std::vector<QCollatorSortKey> keys;
            keys.reserve(size_t(m_rows));
            std::vector<int> slot(size_t(m_rows), -1);
            for (int r : m_map) {
                slot[size_t(r)] = int(keys.size());
                keys.push_back(coll.sortKey(col ? cellText(c, r) : filterKey(c, r)));
            }
            std::stable_sort(m_map.begin(), m_map.end(), [&](int a, int b) {
                return nullsFirst(a, b, [&](int x, int y) {
                    return keys[size_t(slot[size_t(x)])].compare(keys[size_t(slot[size_t(y)])]) < 0;
                });
            });
        }
    }
    m_inverse.assign(size_t(m_rows), -1);
    for (size_t v = 0; v < m_map.size(); ++v)
        m_inverse[size_t(m_map[v])] = int(v);
}

void DataSetModel::setFilter(int column, const QSet<QString> &values)
{
    if (column < 0 || column >= int(m_filters.size()))
        return;
    beginResetModel();
    m_filters[size_t(column)] = values;
    rebuildRows();
    endResetModel();
    emit contentChanged();
    if (m_ds)
        emit dataSetCursorMoved(m_ds->currentRow());
}

void DataSetModel::clearFilter(int column)
{
    setFilter(column, {});
}

void DataSetModel::clearFilters()
{
    if (!std::any_of(m_filters.begin(), m_filters.end(), [](const auto &s) { return !s.isEmpty(); }))
        return;
    beginResetModel();
    for (auto &f : m_filters)
        f.clear();
    rebuildRows();
    endResetModel();
    emit contentChanged();
    if (m_ds)
        emit dataSetCursorMoved(m_ds->currentRow());
}

bool DataSetModel::hasFilter(int column) const
{
    return column >= 0 && column < int(m_filters.size()) && !m_filters[size_t(column)].isEmpty();
}

QSet<QString> DataSetModel::filterValues(int column) const
{
    return hasFilter(column) ? m_filters[size_t(column)] : QSet<QString>();
}

QStringList DataSetModel::distinctValues(int column, int limit) const
{
    QSet<QString> seen;
    for (int r = 0; r < m_rows && seen.size() < limit; ++r)
        seen.insert(filterKey(column, r));
    QStringList out(seen.begin(), seen.end());
    QCollator coll(turkishLocale());
    coll.setNumericMode(true);
    std::sort(out.begin(), out.end(), [&](const QString &a, const QString &b) { return coll.compare(a, b) < 0; });
    return out;
}

void DataSetModel::sort(int column, Qt::SortOrder order)
{
    if (column >= int(m_columns.size()))
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> sources;
    sources.reserve(size_t(before.size()));
    for (const QModelIndex &i : before)
        sources.push_back(sourceRow(i.row()));
    m_sortColumn = column;
    m_sortOrder = order;
    rebuildRows();
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        const int v = viewRow(sources[size_t(i)]);
        after.push_back(v >= 0 ? index(v, before[i].column()) : QModelIndex());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

// ---- cells -----------------------------------------------------------------

QString DataSetModel::cellText(int column, int srow) const
{
    const GridColumn &c = m_columns[size_t(column)];
    const int f = m_fieldIndex[size_t(column)];
    if (f < 0)
        return (c.text && m_ds) ? c.text(*m_ds, srow) : QString();
    if (m_ds->isNull(srow, f))
        return {};
    const NumberPattern &p = patternFor(column, f);
    if (p.isValid())
        return p.format(m_ds->asDouble(srow, f));
    return m_ds->displayText(srow, f);
}

const IconEntry *DataSetModel::iconEntry(int column, int srow) const
{
    const int f = m_fieldIndex[size_t(column)];
    if (f < 0 || m_ds->isNull(srow, f))
        return nullptr;
    const IconMap &m = m_columns[size_t(column)].icons;
    const auto it = m.find(m_ds->asInt(srow, f));
    return it == m.end() ? nullptr : &it->second;
}

bool DataSetModel::isChecked(int column, int srow) const
{
    const int f = m_fieldIndex[size_t(column)];
    return f >= 0 && m_ds->asInt(srow, f) != 0;
}

QString DataSetModel::filterKey(int column, int srow) const
{
    const GridColumn &c = m_columns[size_t(column)];
    if (c.text)
        return m_ds ? c.text(*m_ds, srow) : QString();
    switch (c.kind) {
    case CellKind::Icon: {
        if (const IconEntry *e = iconEntry(column, srow); e && !e->name.isEmpty())
            return e->name;
        break;
    }
    case CellKind::Check:
        return isChecked(column, srow) ? QStringLiteral("Evet") : QStringLiteral("Hayır");
    default: break;
    }
    return cellText(column, srow);
}

int DataSetModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return m_identity ? m_rows : int(m_map.size());
}

int DataSetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

static Qt::Alignment defaultAlignment(CellKind k)
{
    switch (k) {
    case CellKind::Number:
    case CellKind::Money: return Qt::AlignRight | Qt::AlignVCenter;
    case CellKind::Icon:
    case CellKind::Check: return Qt::AlignCenter;
    case CellKind::Memo: return Qt::AlignLeft | Qt::AlignTop;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

QVariant DataSetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !m_ds || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const int col = index.column();
    const int srow = sourceRow(index.row());
    const GridColumn &c = m_columns[size_t(col)];
    switch (role) {
    case Qt::DisplayRole:
        if (c.kind == CellKind::Icon || c.kind == CellKind::Check)
            return {};
        return cellText(col, srow);
    case Qt::DecorationRole:
        if (c.kind == CellKind::Icon)
            if (const IconEntry *e = iconEntry(col, srow); e && !e->pixmap.isNull())
                return e->pixmap;
        return {};
    case Qt::ToolTipRole:
        if (c.kind == CellKind::Icon)
            if (const IconEntry *e = iconEntry(col, srow))
                return e->name;
        return {};
    case Qt::CheckStateRole:
        if (c.kind == CellKind::Check)
            return isChecked(col, srow) ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::TextAlignmentRole:
        return int(c.alignment ? c.alignment : defaultAlignment(c.kind));
    case RawValueRole: {
        const int f = m_fieldIndex[size_t(col)];
        return f >= 0 ? m_ds->value(srow, f) : QVariant();
    }
    case SourceRowRole: return srow;
    case FilterKeyRole: return filterKey(col, srow);
    default: return {};
    }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o == Qt::Horizontal && section >= 0 && section < int(m_columns.size())) {
        if (role == Qt::DisplayRole)
            return m_columns[size_t(section)].caption;
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
    }
    if (o == Qt::Vertical && role == Qt::DisplayRole)
        return section + 1;
    return {};
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace kestro
