// "Excel Kaydet": the grid's rows written to a native .xlsx workbook.
#pragma once

#include <QString>

class QWidget;

namespace kestro {

class DataGrid;

inline constexpr const char *ExcelFiltresi = "Excel|*.xls*";

// The chosen name with the extension ".xlsx" (replacing any other extension).
QString ExcelDosyaAdi(const QString &chosen);

// Writes every row the grid shows (its filter and sort applied), the visible
// columns in display order with their captions as the first row. Numbers are
// written as numbers, money with the number format "#,##0.00", dates as dates,
// check boxes as TRUE/FALSE, icon columns as their value's name.
// Returns false with a reason in `error` when the file cannot be written.
bool ExcelYaz(const DataGrid &grid, const QString &path, QString *error = nullptr);

// The save dialog (filter "Excel|*.xls*"), then ExcelYaz; a write failure is
// reported with MesajVer. Returns the path written, empty when cancelled or failed.
QString ExcelKaydet(DataGrid &grid, QWidget *parent = nullptr);

} // namespace kestro
