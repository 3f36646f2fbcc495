// In-memory dataset: typed columns, rows, a current row, field access by name.
//
// Values are stored column by column in typed vectors, so a decoded table
// costs one allocation per column rather than one QVariant per cell.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

#include "textstore.h"

#include <cstdint>
#include <vector>

namespace kestro {

// Column type codes as they travel on the wire.
enum class FieldType : int {
    String = 1,
    Date = 2,
    Blob = 3,
    Boolean = 4,
    Int16 = 5,
    Int32 = 6,
    Float = 7,
    Bcd = 8,
    DateTime = 11,
    Int64 = 18,
    Timestamp = 24,
    Currency = 25,
    WideString = 26,
};

bool isKnownFieldType(int code);
bool isIntegerType(FieldType t);
bool isNumericType(FieldType t);
bool isTextType(FieldType t);

// Observer of a dataset, registered by a model while the dataset is attached.
class DataSetObserver
{
public:
    virtual ~DataSetObserver() = default;
    virtual void dataSetReset() = 0;
    virtual void dataSetRowChanged(int row) = 0;
    virtual void dataSetCurrentRowChanged(int row) { Q_UNUSED(row); }
};

class DataSet
{
public:
    enum class Storage { Int, Real, Text, Bytes };

    struct Column
    {
        QString name;
        FieldType type = FieldType::WideString;
        QString displayFormat;
        std::vector<qint64> ints;
        std::vector<double> reals;
        TextStore texts;
        std::vector<QByteArray> bytes;
        std::vector<uint8_t> nulls; // 1 = null
        Storage storage() const;
        size_t size() const { return nulls.size(); }
    };

    DataSet() = default;
    DataSet(DataSet &&) noexcept;
    DataSet &operator=(DataSet &&) noexcept;
    DataSet(const DataSet &);
    DataSet &operator=(const DataSet &);

    // Structure.
    void clear(); // no columns, no rows, closed
    void emptyRows(); // keeps the columns
    int addField(const QString &name, FieldType type);
    int fieldCount() const { return int(m_columns.size()); }
    int fieldIndex(const QString &name) const; // -1 when absent (case-insensitive)
    bool hasField(const QString &name) const { return fieldIndex(name) >= 0; }
    const QString &fieldName(int col) const { return m_columns[size_t(col)].name; }
    FieldType fieldType(int col) const { return m_columns[size_t(col)].type; }
    QString displayFormat(int col) const { return m_columns[size_t(col)].displayFormat; }
    void setDisplayFormat(int col, const QString &format);

    bool isOpen() const { return m_open; }
    void setOpen(bool open);
    int rowCount() const { return m_rows; }
    bool isEmpty() const { return m_rows == 0; }

    // Cells.
    bool isNull(int row, int col) const;
    QVariant value(int row, int col) const;
    double asDouble(int row, int col) const; // null and text that is no number give 0
    qint64 asInt(int row, int col) const;
    QString asString(int row, int col) const;
    void setValue(int row, int col, const QVariant &v);
    // The cell as shown: money columns by their display format under Turkish settings.
    QString displayText(int row, int col) const;

    int appendRow(); // all cells null; becomes the current row
    void removeRow(int row);

    // Cursor.
    int currentRow() const { return m_current; }
    void setCurrentRow(int row);
    void first() { setCurrentRow(m_rows > 0 ? 0 : -1); }
    void next();
    bool eof() const { return m_eof; }
    bool locate(const QString &field, const QVariant &value); // moves the cursor when found

    // Current-row access by field name; an unknown field gives an invalid QVariant.
    QVariant field(const QString &name) const;
    double fieldDouble(const QString &name) const;
    qint64 fieldInt(const QString &name) const;
    QString fieldString(const QString &name) const;

    // Edit buffer on the current row: edit, set fields, then post or cancel.
    void edit();
    void setField(const QString &name, const QVariant &v);
    void post();
    void cancel();
    bool editing() const { return m_editing; }

    void setObserver(DataSetObserver *o) { m_observer = o; }
    DataSetObserver *observer() const { return m_observer; }

    // Direct column access for codecs that fill or read whole columns.
    Column &column(int col) { return m_columns[size_t(col)]; }
    const Column &column(int col) const { return m_columns[size_t(col)]; }
    // After a codec filled the columns: all columns must have `rows` entries.
    void finishBulkLoad(int rows);

private:
    void notifyReset();
    std::vector<Column> m_columns;
    int m_rows = 0;
    int m_current = -1;
    bool m_eof = true;
    bool m_open = false;
    bool m_editing = false;
    std::vector<std::pair<int, QVariant>> m_editBuffer;
    DataSetObserver *m_observer = nullptr;
};

} // namespace kestro
