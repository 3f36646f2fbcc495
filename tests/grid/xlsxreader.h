// Reads back the first sheet of an .xlsx file for the export tests: the zip
// is opened with zlib and the sheet and style XML read with Qt.
#pragma once

#include <QMap>
#include <QString>

struct XlsxCell
{
    QString type;   // "" number, "inlineStr"/"s"/"str" text, "b" boolean
    QString value;  // the number or text as stored
    QString format; // the cell's number format code, empty for General
};

// Cells by reference ("A1"); empty when the file cannot be read.
QMap<QString, XlsxCell> readXlsxSheet(const QString &path);
