#include "simplehtmlcolor.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

struct FixedColor
{
    const char *name;
    QRgb rgb;
};

constexpr FixedColor kFixed[] = {
    {"black", 0x000000},   {"maroon", 0x800000},     {"green", 0x008000},   {"olive", 0x808000},
    {"navy", 0x000080},    {"purple", 0x800080},     {"teal", 0x008080},    {"gray", 0x808080},
    {"silver", 0xC0C0C0},  {"red", 0xFF0000},        {"lime", 0x00FF00},    {"yellow", 0xFFFF00},
    {"blue", 0x0000FF},    {"fuchsia", 0xFF00FF},    {"aqua", 0x00FFFF},    {"white", 0xFFFFFF},
    {"moneygreen", 0xC0DCC0}, {"skyblue", 0xA6CAF0}, {"cream", 0xFFFBF0},   {"medgray", 0xA0A0A4},
    // Old aliases still found in markup.
    {"ltgray", 0xC0C0C0},  {"dkgray", 0x808080},
};

// Desktop "system" colours follow the application palette, so markup written
// against them matches the rest of the window.
struct SystemColor
{
    const char *name;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr SystemColor kSystem[] = {
    {"scrollbar", QPalette::Active, QPalette::Button},
    {"background", QPalette::Active, QPalette::Window},
    {"activecaption", QPalette::Active, QPalette::Highlight},
    {"inactivecaption", QPalette::Inactive, QPalette::Highlight},
    {"menu", QPalette::Active, QPalette::Window},
    {"menubar", QPalette::Active, QPalette::Window},
    {"menuhighlight", QPalette::Active, QPalette::Highlight},
    {"window", QPalette::Active, QPalette::Base},
    {"windowframe", QPalette::Active, QPalette::Shadow},
    {"menutext", QPalette::Active, QPalette::WindowText},
    {"windowtext", QPalette::Active, QPalette::Text},
    {"captiontext", QPalette::Active, QPalette::HighlightedText},
    {"activeborder", QPalette::Active, QPalette::Window},
    {"inactiveborder", QPalette::Inactive, QPalette::Window},
    {"appworkspace", QPalette::Active, QPalette::Dark},
    {"highlight", QPalette::Active, QPalette::Highlight},
    {"highlighttext", QPalette::Active, QPalette::HighlightedText},
    {"btnface", QPalette::Active, QPalette::Button},
    {"btnshadow", QPalette::Active, QPalette::Dark},
    {"graytext", QPalette::Disabled, QPalette::Text},
    {"btntext", QPalette::Active, QPalette::ButtonText},
    {"inactivecaptiontext", QPalette::Inactive, QPalette::HighlightedText},
    {"btnhighlight", QPalette::Active, QPalette::Light},
    {"3ddkshadow", QPalette::Active, QPalette::Shadow},
    {"3dlight", QPalette::Active, QPalette::Midlight},
    {"infotext", QPalette::Active, QPalette::ToolTipText},
    {"infobk", QPalette::Active, QPalette::ToolTipBase},
    {"hotlight", QPalette::Active, QPalette::Link},
    {"gradientactivecaption", QPalette::Active, QPalette::Highlight},
    {"gradientinactivecaption", QPalette::Inactive, QPalette::Highlight},
};

int HexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

}

namespace SimpleHTMLColor {

QColor NamedColor(const QString &name)
{
    for (const FixedColor &c : kFixed)
        if (name.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
            return QColor::fromRgb(c.rgb);
    for (const SystemColor &c : kSystem)
        if (name.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0) {
            const QPalette pal = qGuiApp ? QGuiApplication::palette() : QPalette();
            return pal.color(c.group, c.role);
        }
    return {};
}

QColor ParseColor(const QString &text, const QColor &fallback)
{
    if (text.startsWith(u'#')) {
        int digits[6];
        const qsizetype n = text.size() - 1;
        if (n != 6 && n != 3)
            return fallback;
        for (qsizetype i = 0; i < n; ++i) {
            digits[i] = HexDigit(text.at(i + 1));
            if (digits[i] < 0)
                return fallback;
        }
        if (n == 6)
            return QColor(digits[0] * 16 + digits[1], digits[2] * 16 + digits[3], digits[4] * 16 + digits[5]);
        return QColor(digits[0] * 17, digits[1] * 17, digits[2] * 17);
    }
    const QColor named = NamedColor(text);
    return named.isValid() ? named : fallback;
}

}
