#include "numberformat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kestro {

const QLocale &turkishLocale()
{
    static const QLocale tr(QLocale::Turkish, QLocale::Turkey);
    return tr;
}

namespace {

struct Pattern
{
    bool grouping = false;
    int minInt = 0;
    int fixedDec = 0;
    int optDec = 0;
};

Pattern parsePattern(const QString &p)
{
    Pattern r;
    const int dot = p.indexOf(QLatin1Char('.'));
    const QString intPart = dot < 0 ? p : p.left(dot);
    const QString decPart = dot < 0 ? QString() : p.mid(dot + 1);
    r.grouping = intPart.contains(QLatin1Char(','));
    r.minInt = int(intPart.count(QLatin1Char('0')));
    // Required digits are counted up to the last "0"; "#" after it are optional.
    const int lastZero = int(decPart.lastIndexOf(QLatin1Char('0')));
    r.fixedDec = lastZero + 1;
    for (int i = lastZero + 1; i < decPart.size(); ++i)
        if (decPart[i] == QLatin1Char('#'))
            ++r.optDec;
    return r;
}

// Decimal digits of |value| rounded half away from zero at `decimals`, read
// off the exact binary value, so 0.125 gives 0.13 and 1.005 (stored as
// 1.00499...) gives 1.00.
QString roundedDigits(double value, int decimals)
{
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", decimals + 25, std::fabs(value));
    QString s = QString::fromLatin1(buf);
    const int dot = s.indexOf(QLatin1Char('.'));
    QString intDigits = s.left(dot);
    QString dec = s.mid(dot + 1);
    const bool up = dec.size() > decimals && dec[decimals] >= QLatin1Char('5');
    QString digits = intDigits + dec.left(decimals);
    if (up) {
        int i = int(digits.size()) - 1;
        while (i >= 0) {
            if (digits[i] == QLatin1Char('9')) {
                digits[i] = QLatin1Char('0');
                --i;
            } else {
                digits[i] = QChar(digits[i].unicode() + 1);
                break;
            }
        }
        if (i < 0)
            digits.prepend(QLatin1Char('1'));
    }
    // Re-insert the decimal point.
    return digits.left(digits.size() - decimals) + QLatin1Char('.') + digits.right(decimals);
}

} // namespace

QString FormatFloat(const QString &pattern, double value, const QLocale &locale)
{
    if (std::isnan(value) || std::isinf(value))
        return locale.toString(value);
    const Pattern p = parsePattern(pattern);
    const int decimals = p.fixedDec + p.optDec;
    const QString r = roundedDigits(value, decimals);
    const int dot = r.indexOf(QLatin1Char('.'));
    QString intDigits = r.left(dot);
    QString dec = r.mid(dot + 1);
    while (dec.size() > p.fixedDec && dec.endsWith(QLatin1Char('0')))
        dec.chop(1);
    // Drop leading zeros, then pad to the pattern's required integer digits.
    while (intDigits.size() > 1 && intDigits.startsWith(QLatin1Char('0')))
        intDigits.remove(0, 1);
    if (intDigits == QLatin1String("0") && p.minInt == 0)
        intDigits.clear();
    while (intDigits.size() < p.minInt)
        intDigits.prepend(QLatin1Char('0'));
    auto nonZero = [](const QString &digits) {
        return std::any_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'1' && c <= u'9'; });
    };
    const bool zero = !nonZero(intDigits) && !nonZero(dec);
    if (p.grouping && intDigits.size() > 3) {
        const QString sep = locale.groupSeparator();
        for (int i = int(intDigits.size()) - 3; i > 0; i -= 3)
            intDigits.insert(i, sep);
    }
    QString out = intDigits;
    if (!dec.isEmpty())
        out += locale.decimalPoint() + dec;
    if (value < 0 && !zero)
        out.prepend(locale.negativeSign());
    return out;
}

double IkiHaneYuvarla(double value)
{
    if (std::isnan(value) || std::isinf(value))
        return value;
    // Format with "#,###,##.00", drop the thousands separators, parse back.
    const QLocale &loc = turkishLocale();
    QString text = FormatFloat(QStringLiteral("#,###,##.00"), value, loc);
    text.remove(loc.groupSeparator());
    if (text.startsWith(loc.decimalPoint()))
        text.prepend(QLatin1Char('0'));
    else if (text.startsWith(loc.negativeSign() + loc.decimalPoint()))
        text.insert(loc.negativeSign().size(), QLatin1Char('0'));
    bool ok = false;
    const double r = loc.toDouble(text, &ok);
    return ok ? r : value;
}

} // namespace kestro
