// Number formatting for grid cells: the same text as FormatFloat, built in
// one pass on the stack so painting a money cell allocates only the string it
// returns. The pattern is parsed once per column.
#pragma once

#include <QLocale>
#include <QString>

namespace kestro {

class NumberPattern
{
public:
    NumberPattern() = default;
    explicit NumberPattern(const QString &pattern, const QLocale &locale);
    bool isValid() const { return m_valid; }
    QString format(double value) const;

private:
    QString m_pattern;
    QLocale m_locale;
    bool m_valid = false;
    bool m_fast = false;
    bool m_grouping = false;
    int m_minInt = 0;
    int m_fixedDec = 0;
    int m_optDec = 0;
    QChar m_group, m_point, m_minus;
};

} // namespace kestro
