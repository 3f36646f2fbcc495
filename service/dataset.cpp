#include "dataset.h"

#include "numberformat.h"

namespace kestro {

bool isKnownFieldType(int code)
{
    switch (code) {
    case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 8:
    case 11: case 18: case 24: case 25: case 26:
        return true;
    default:
        return false;
    }
}

bool isIntegerType(FieldType t)
{
    return t == FieldType::Int16 || t == FieldType::Int32 || t == FieldType::Int64
        || t == FieldType::Boolean;
}

bool isNumericType(FieldType t)
{
    return isIntegerType(t) || t == FieldType::Float || t == FieldType::Bcd
        || t == FieldType::Currency;
}

bool isTextType(FieldType t)
{
    return t == FieldType::String || t == FieldType::WideString;
}

DataSet::Storage DataSet::Column::storage() const
{
    if (isIntegerType(type))
        return Storage::Int;
    if (isNumericType(type))
        return Storage::Real;
    if (type == FieldType::Blob)
        return Storage::Bytes;
    return Storage::Text; // texts, and dates as ISO-8601 text
}

DataSet::DataSet(DataSet &&o) noexcept { *this = std::move(o); }

DataSet &DataSet::operator=(DataSet &&o) noexcept
{
    // The observer belongs to this object's model; the data is what moves.
    m_columns = std::move(o.m_columns);
    m_rows = o.m_rows;
    m_current = o.m_current;
    m_eof = o.m_eof;
    m_open = o.m_open;
    m_editing = false;
    m_editBuffer.clear();
    o.m_rows = 0;
    o.m_current = -1;
    o.m_open = false;
    o.m_columns.clear();
    notifyReset();
    return *this;
}

DataSet::DataSet(const DataSet &o) { *this = o; }

DataSet &DataSet::operator=(const DataSet &o)
{
    if (this == &o)
        return *this;
    m_columns = o.m_columns;
    m_rows = o.m_rows;
    m_current = o.m_current;
    m_eof = o.m_eof;
    m_open = o.m_open;
    m_editing = false;
    m_editBuffer.clear();
    notifyReset();
    return *this;
}

void DataSet::notifyReset()
{
    if (m_observer)
        m_observer->dataSetReset();
}

void DataSet::clear()
{
    m_columns.clear();
    m_rows = 0;
    m_current = -1;
    m_eof = true;
    m_open = false;
    m_editing = false;
    m_editBuffer.clear();
    notifyReset();
}

void DataSet::emptyRows()
{
    for (Column &c : m_columns) {
        c.ints.clear();
        c.reals.clear();
        c.texts.clear();
        c.bytes.clear();
        c.nulls.clear();
    }
    m_rows = 0;
    m_current = -1;
    m_eof = true;
    m_editing = false;
    notifyReset();
}

int DataSet::addField(const QString &name, FieldType type)
{
    Column c;
    c.name = name;
    c.type = type;
    c.nulls.assign(size_t(m_rows), 1);
    switch (c.storage()) {
    case Storage::Int: c.ints.assign(size_t(m_rows), 0); break;
    case Storage::Real: c.reals.assign(size_t(m_rows), 0.0); break;
    case Storage::Text:
        for (int i = 0; i < m_rows; ++i)
            c.texts.emplace_back();
        break;
    case Storage::Bytes: c.bytes.resize(size_t(m_rows)); break;
    }
    m_columns.push_back(std::move(c));
    m_open = true;
    return int(m_columns.size()) - 1;
}

int DataSet::fieldIndex(const QString &name) const
{
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

void DataSet::setDisplayFormat(int col, const QString &format)
{
    m_columns[size_t(col)].displayFormat = format;
}

void DataSet::setOpen(bool open)
{
    m_open = open;
    notifyReset();
}

static bool validCell(const DataSet &d, int row, int col)
{
    return row >= 0 && row < d.rowCount() && col >= 0 && col < d.fieldCount();
}

bool DataSet::isNull(int row, int col) const
{
    return !validCell(*this, row, col) || m_columns[size_t(col)].nulls[size_t(row)] != 0;
}

QVariant DataSet::value(int row, int col) const
{
    if (isNull(row, col))
        return {};
    const Column &c = m_columns[size_t(col)];
    const size_t r = size_t(row);
    switch (c.type) {
    case FieldType::Boolean: return c.ints[r] != 0;
    case FieldType::Int16:
    case FieldType::Int32: return int(c.ints[r]);
    case FieldType::Int64: return c.ints[r];
    case FieldType::Float:
    case FieldType::Bcd:
    case FieldType::Currency: return c.reals[r];
    case FieldType::Date: return QDate::fromString(c.texts[r], Qt::ISODate);
    case FieldType::DateTime:
    case FieldType::Timestamp: return QDateTime::fromString(c.texts[r], Qt::ISODate);
    case FieldType::Blob: return c.bytes[r];
    case FieldType::String:
    case FieldType::WideString: return c.texts[r];
    }
    return {};
}

double DataSet::asDouble(int row, int col) const
{
    if (isNull(row, col))
        return 0.0;
    const Column &c = m_columns[size_t(col)];
    switch (c.storage()) {
    case Storage::Int: return double(c.ints[size_t(row)]);
    case Storage::Real: return c.reals[size_t(row)];
    case Storage::Text: return c.texts[size_t(row)].toDouble();
    case Storage::Bytes: return 0.0;
    }
    return 0.0;
}

qint64 DataSet::asInt(int row, int col) const
{
    if (isNull(row, col))
        return 0;
    const Column &c = m_columns[size_t(col)];
    switch (c.storage()) {
    case Storage::Int: return c.ints[size_t(row)];
    case Storage::Real: return qint64(c.reals[size_t(row)]);
    case Storage::Text: return c.texts[size_t(row)].toLongLong();
    case Storage::Bytes: return 0;
    }
    return 0;
}

QString DataSet::asString(int row, int col) const
{
    if (isNull(row, col))
        return {};
    const Column &c = m_columns[size_t(col)];
    switch (c.storage()) {
    case Storage::Int:
        if (c.type == FieldType::Boolean)
            return c.ints[size_t(row)] ? QStringLiteral("True") : QStringLiteral("False");
        return QString::number(c.ints[size_t(row)]);
    case Storage::Real: return QString::number(c.reals[size_t(row)], 'g', 15);
    case Storage::Text: return c.texts[size_t(row)];
    case Storage::Bytes: return QString::fromUtf8(c.bytes[size_t(row)]);
    }
    return {};
}

QString DataSet::displayText(int row, int col) const
{
    if (isNull(row, col))
        return {};
    const Column &c = m_columns[size_t(col)];
    if (!c.displayFormat.isEmpty() && c.storage() != Storage::Text)
        return FormatFloat(c.displayFormat, asDouble(row, col));
    switch (c.type) {
    case FieldType::Float:
    case FieldType::Bcd:
    case FieldType::Currency: return turkishLocale().toString(c.reals[size_t(row)], 'g', 15);
    case FieldType::Date: return turkishLocale().toString(value(row, col).toDate(), QStringLiteral("dd.MM.yyyy"));
    case FieldType::DateTime:
    case FieldType::Timestamp:
        return turkishLocale().toString(value(row, col).toDateTime(), QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    default: return asString(row, col);
    }
}

void DataSet::setValue(int row, int col, const QVariant &v)
{
    if (!validCell(*this, row, col))
        return;
    Column &c = m_columns[size_t(col)];
    const size_t r = size_t(row);
    const bool null = !v.isValid() || v.isNull();
    c.nulls[r] = null ? 1 : 0;
    switch (c.storage()) {
    case Storage::Int: c.ints[r] = null ? 0 : v.toLongLong(); break;
    case Storage::Real: c.reals[r] = null ? 0.0 : v.toDouble(); break;
    case Storage::Bytes: c.bytes[r] = null ? QByteArray() : v.toByteArray(); break;
    case Storage::Text:
        if (null)
            c.texts.set(r, QStringView());
        else if (c.type == FieldType::Date && v.metaType().id() == QMetaType::QDate)
            c.texts.set(r, v.toDate().toString(Qt::ISODate));
        else if (v.metaType().id() == QMetaType::QDateTime)
            c.texts.set(r, v.toDateTime().toString(Qt::ISODate));
        else
            c.texts.set(r, v.toString());
        break;
    }
    if (m_observer)
        m_observer->dataSetRowChanged(row);
}

int DataSet::appendRow()
{
    for (Column &c : m_columns) {
        c.nulls.push_back(1);
        switch (c.storage()) {
        case Storage::Int: c.ints.push_back(0); break;
        case Storage::Real: c.reals.push_back(0.0); break;
        case Storage::Text: c.texts.emplace_back(); break;
        case Storage::Bytes: c.bytes.emplace_back(); break;
        }
    }
    m_open = true;
    ++m_rows;
    m_current = m_rows - 1;
    m_eof = false;
    notifyReset();
    return m_current;
}

void DataSet::removeRow(int row)
{
    if (row < 0 || row >= m_rows)
        return;
    for (Column &c : m_columns) {
        c.nulls.erase(c.nulls.begin() + row);
        switch (c.storage()) {
        case Storage::Int: c.ints.erase(c.ints.begin() + row); break;
        case Storage::Real: c.reals.erase(c.reals.begin() + row); break;
        case Storage::Text: c.texts.erase(size_t(row)); break;
        case Storage::Bytes: c.bytes.erase(c.bytes.begin() + row); break;
        }
    }
    --m_rows;
    if (m_current >= m_rows)
        m_current = m_rows - 1;
    m_eof = m_rows == 0;
    notifyReset();
}

void DataSet::setCurrentRow(int row)
{
    m_current = (row >= 0 && row < m_rows) ? row : -1;
    m_eof = m_current < 0;
    if (m_observer)
        m_observer->dataSetCurrentRowChanged(m_current);
}

void DataSet::next()
{
    if (m_current + 1 < m_rows) {
        setCurrentRow(m_current + 1);
    } else {
        m_eof = true;
    }
}

bool DataSet::locate(const QString &fieldName, const QVariant &v)
{
    const int col = fieldIndex(fieldName);
    if (col < 0)
        return false;
    const Column &c = m_columns[size_t(col)];
    const QByteArray text = c.storage() == Storage::Text ? v.toString().toUtf8() : QByteArray();
    for (int r = 0; r < m_rows; ++r) {
        if (c.nulls[size_t(r)])
            continue;
        bool match = false;
        switch (c.storage()) {
        case Storage::Int: match = c.ints[size_t(r)] == v.toLongLong(); break;
        case Storage::Real: match = c.reals[size_t(r)] == v.toDouble(); break;
        case Storage::Text: match = c.texts.utf8(size_t(r)) == text; break;
        case Storage::Bytes: match = c.bytes[size_t(r)] == v.toByteArray(); break;
        }
        if (match) {
            setCurrentRow(r);
            return true;
        }
    }
    return false;
}

QVariant DataSet::field(const QString &name) const
{
    const int col = fieldIndex(name);
    if (col < 0)
        return {};
    if (m_editing)
        for (const auto &[c, val] : m_editBuffer)
            if (c == col)
                return val;
    return value(m_current, col);
}

double DataSet::fieldDouble(const QString &name) const { return field(name).toDouble(); }
qint64 DataSet::fieldInt(const QString &name) const { return field(name).toLongLong(); }
QString DataSet::fieldString(const QString &name) const { return field(name).toString(); }

void DataSet::edit()
{
    if (m_current < 0)
        return;
    m_editing = true;
    m_editBuffer.clear();
}

void DataSet::setField(const QString &name, const QVariant &v)
{
    const int col = fieldIndex(name);
    if (col < 0 || m_current < 0)
        return;
    if (!m_editing) {
        setValue(m_current, col, v);
        return;
    }
    for (auto &entry : m_editBuffer)
        if (entry.first == col) {
            entry.second = v;
            return;
        }
    m_editBuffer.emplace_back(col, v);
}

void DataSet::post()
{
    if (!m_editing)
        return;
    m_editing = false;
    for (const auto &[col, v] : m_editBuffer)
        setValue(m_current, col, v);
    m_editBuffer.clear();
}

void DataSet::cancel()
{
    m_editing = false;
    m_editBuffer.clear();
}

void DataSet::finishBulkLoad(int rows)
{
    m_rows = rows;
    m_open = true;
    m_current = rows > 0 ? 0 : -1;
    m_eof = rows == 0;
    m_editing = false;
    notifyReset();
}

} // namespace kestro
