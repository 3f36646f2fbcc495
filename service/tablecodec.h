// The column-wise JSON table form:
// {"table":[[NAME,TYPE,...],...], "NAME1":[v0,v1,...], "NAME2":[...]}.
#pragma once

#include "dataset.h"

#include <QByteArray>

#include "errors.h"

namespace kestro {

class TableError : public Error
{
public:
    using Error::Error;
};

// Decodes a table given as JSON text into `out` (replacing its content).
// Raises TableError on malformed JSON, unknown column types, values of the
// wrong kind or columns of unequal length; `out` is then left empty.
void decodeTable(const QByteArray &json, DataSet &out);

// Decodes the table result of a call answer {"result":[TABLE]}.
void decodeTableAnswer(const QByteArray &answer, DataSet &out);

// Appends the JSON form of `table` to `out`.
void encodeTable(const DataSet &table, QByteArray &out);
QByteArray encodeTable(const DataSet &table);

// Appends a JSON string literal (with quotes) to `out`.
void appendJsonString(QByteArray &out, QStringView s);
void appendJsonNumber(QByteArray &out, double v);

} // namespace kestro
