// Result tables as JSON for the wire, faster than the generic encoder.
#pragma once

#include "dataset.h"

#include <QByteArray>

namespace kestro::server {

// Appends the same bytes as kestro::encodeTable(t, out), writing texts without
// a UTF-8 copy per cell: large search results spend most of their time here.
void appendTableJson(const DataSet &t, QByteArray &out);

} // namespace kestro::server
