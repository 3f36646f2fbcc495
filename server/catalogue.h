// The stock tables: search, new and campaign lists.
#pragma once

#include "core.h"

namespace kestro::server {

// Columns of every stock list table.
const std::vector<Col> &stockColumns();

// Rows of stoklar selected by `where` (bound `binds`), priced for `carino` and `userType`.
DataSet stockTable(const QString &where, const QVariantList &binds, int carino, int userType,
                   const QString &orderLimit);

// StokAraGetirVosk: every word of `text` as a prefix, ordered by code, at most SearchRowCap() rows.
DataSet searchStocks(const QString &text, int carino, int userType);

// Largest number of rows one search answers.
inline constexpr int DefaultSearchRowCap = 10000;
// The largest answer of a search; the command line may raise it.
int SearchRowCap();
void setSearchRowCap(int rows);
inline constexpr int EmptySearchRows = 100;

} // namespace kestro::server
