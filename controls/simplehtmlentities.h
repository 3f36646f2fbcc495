#pragma once

#include <QString>
#include <optional>

namespace SimpleHTMLEntities {

// The character a reference name (the text between '&' and ';') stands for:
// one of the known names, compared with case, or '#' and decimal digits.
std::optional<QChar> Decode(QStringView name);

// An attribute value with its known references decoded and unknown ones, from
// the '&' to the ';', removed.
QString DecodeAttribute(const QString &value);

// Every character that has a named entity written as that entity.
QString Encode(const QString &text);

}
