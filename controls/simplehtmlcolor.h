#pragma once

#include <QColor>
#include <QString>

namespace SimpleHTMLColor {

// "#RRGGBB", "#RGB" or a colour name (black, navy, btnface, ...); anything else
// gives the fallback.
QColor ParseColor(const QString &text, const QColor &fallback);

// A colour name, compared without case; std::nullopt-like: invalid QColor when unknown.
QColor NamedColor(const QString &name);

}
