// Cart and order line tables: one column set for the cart, order details and balances.
#pragma once

#include "core.h"

namespace kestro::server {

// Cart lines of an account.
DataSet cartTable(int carino);
// Order lines selected by `where` over siparis_satirlari l / siparisler o.
DataSet orderLineTable(const QString &where, const QVariantList &binds);
// Order state names by code (2..7).
QString orderStateName(int durum);

// Quantity accepted on a line: positive, whole, at most this many.
inline constexpr double MaxLineQuantity = 100000;
void checkQuantity(double miktar);

} // namespace kestro::server
