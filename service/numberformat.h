// Number display patterns and two-decimal rounding under Turkish number settings.
#pragma once

#include <QLocale>
#include <QString>

namespace kestro {

inline constexpr const char *ParaBicimi = "#,###,##0.00";        // money in grids
inline constexpr const char *GenelToplamBicimi = "#,###,##00.00"; // grand totals of order dialogs

// The program's number settings: Turkish (decimal comma, thousands point).
const QLocale &turkishLocale();

// Formats like a picture pattern: "0" a required digit, "#" an optional one,
// "," anywhere in the integer part turns on thousands grouping, "." the
// decimal point. Rounds half away from zero on the value as stored.
QString FormatFloat(const QString &pattern, double value, const QLocale &locale = turkishLocale());

// The value rounded to two decimals, half away from zero.
double IkiHaneYuvarla(double value);

} // namespace kestro
