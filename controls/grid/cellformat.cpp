#include "cellformat.h"

#include "numberformat.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace kestro {

NumberPattern::NumberPattern(const QString &pattern, const QLocale &locale)
    : m_pattern(pattern), m_locale(locale), m_valid(!pattern.isEmpty())
{
    const int dot = int(pattern.indexOf(QLatin1Char('.')));
    const QString intPart = dot < 0 ? pattern : pattern.left(dot);
    const QString decPart = dot < 0 ? QString() : pattern.mid(dot + 1);
    m_grouping = intPart.contains(QLatin1Char(','));
    m_minInt = int(intPart.count(QLatin1Char('0')));
    const int lastZero = int(decPart.lastIndexOf(QLatin1Char('0')));
    m_fixedDec = lastZero + 1;
    for (int i = lastZero + 1; i < decPart.size(); ++i)
        if (decPart[i] == QLatin1Char('#'))
            ++m_optDec;
    const QString g = locale.groupSeparator(), p = locale.decimalPoint(), m = locale.negativeSign();
    // The one-pass path needs single-character separators and a sane width;
    // anything else goes through FormatFloat.
    m_fast = g.size() == 1 && p.size() == 1 && m.size() == 1 && m_fixedDec + m_optDec <= 12 && m_minInt <= 20;
    if (m_fast) {
        m_group = g[0];
        m_point = p[0];
        m_minus = m[0];
    }
}

QString NumberPattern::format(double value) const
{
    if (!m_valid)
        return {};
    if (!m_fast || std::isnan(value) || std::isinf(value) || std::fabs(value) >= 1e18)
        return FormatFloat(m_pattern, value, m_locale);

    const int decimals = m_fixedDec + m_optDec;
    // Exact binary digits with 25 spare places, rounded half away from zero at
    // `decimals`, as FormatFloat does.
    char buf[96];
    const int n = std::snprintf(buf, sizeof buf, "%.*f", decimals + 25, std::fabs(value));
    if (n <= 0 || n >= int(sizeof buf))
        return FormatFloat(m_pattern, value, m_locale);
    const char *dotp = static_cast<const char *>(std::memchr(buf, '.', size_t(n)));
    const int intLen = int(dotp - buf);
    char digits[64];
    int len = 0;
    digits[len++] = '0'; // room for a carry
    std::memcpy(digits + len, buf, size_t(intLen));
    len += intLen;
    std::memcpy(digits + len, dotp + 1, size_t(decimals));
    len += decimals;
    if (dotp[1 + decimals] >= '5') {
        int i = len - 1;
        while (digits[i] == '9')
            digits[i--] = '0';
        ++digits[i];
    }
    // Split: integer digits [intStart, intEnd), decimals [intEnd, decEnd).
    int intStart = 0;
    const int intEnd = len - decimals;
    int decEnd = len;
    while (decEnd - intEnd > m_fixedDec && digits[decEnd - 1] == '0')
        --decEnd;
    while (intStart < intEnd - 1 && digits[intStart] == '0')
        ++intStart;
    int intCount = intEnd - intStart;
    if (intCount == 1 && digits[intStart] == '0' && m_minInt == 0)
        intCount = 0;
    bool zero = true;
    for (int i = intEnd - intCount; i < decEnd; ++i)
        if (digits[i] != '0')
            zero = false;

    char16_t out[96];
    int o = 0;
    if (value < 0 && !zero)
        out[o++] = m_minus.unicode();
    const int pad = m_minInt > intCount ? m_minInt - intCount : 0;
    const int shown = intCount + pad;
    for (int k = 0; k < shown; ++k) {
        const char ch = k < pad ? '0' : digits[intEnd - intCount + (k - pad)];
        if (m_grouping && k > 0 && (shown - k) % 3 == 0)
            out[o++] = m_group.unicode();
        out[o++] = char16_t(ch);
    }
    if (decEnd > intEnd) {
        out[o++] = m_point.unicode();
        for (int i = intEnd; i < decEnd; ++i)
            out[o++] = char16_t(digits[i]);
    }
    return QString(reinterpret_cast<const QChar *>(out), o);
}

} // namespace kestro
