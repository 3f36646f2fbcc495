#include "simplehtmlentities.h"

#include <array>

namespace {

struct Entity
{
    const char16_t *name;
    char16_t ch;
};

// Table order matters: output uses the first entity for a character.
constexpr std::array<Entity, 60> kEntities{{
    {u"nbsp", 160},    {u"copy", 169},    {u"reg", 174},     {u"trade", 8482},  {u"sup1", 185},
    {u"sup2", 178},    {u"sup3", 179},    {u"quot", 34},     {u"amp", 38},      {u"lt", 60},
    {u"gt", 62},       {u"ndash", 8211},  {u"mdash", 8212},  {u"lsquo", 8216},  {u"rsquo", 8217},
    {u"ldquo", 8220},  {u"rdquo", 8221},  {u"bull", 8226},   {u"dagger", 8224}, {u"Dagger", 8225},
    {u"prime", 8242},  {u"Prime", 8243},  {u"lsaquo", 8249}, {u"rsaquo", 8250}, {u"tilde", 732},
    {u"circ", 710},    {u"spades", 9824}, {u"clubs", 9827},  {u"hearts", 9829}, {u"diams", 9830},
    {u"loz", 9674},    {u"larr", 8592},   {u"rarr", 8594},   {u"uarr", 8593},   {u"darr", 8595},
    {u"harr", 8596},   {u"not", 172},     {u"frac14", 188},  {u"frac12", 189},  {u"frac34", 190},
    {u"plusmn", 177},  {u"laquo", 171},   {u"raquo", 187},   {u"deg", 176},     {u"ordf", 170},
    {u"ordm", 186},    {u"iexcl", 161},   {u"iquest", 191},  {u"euro", 8364},   {u"cent", 162},
    {u"pound", 163},   {u"yen", 165},     {u"curren", 164},  {u"sect", 167},    {u"para", 182},
    {u"macr", 175},    {u"middot", 183},  {u"micro", 181},   {u"times", 215},   {u"divide", 247},
}};

const Entity *EntityFor(QChar c)
{
    for (const Entity &e : kEntities)
        if (e.ch == c.unicode())
            return &e;
    return nullptr;
}

}

namespace SimpleHTMLEntities {

QString DecodeAttribute(const QString &text)
{
    if (!text.contains(u'&'))
        return text;
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    qsizetype semi = -1; // next ';' at or after the current '&', found once per run of '&'
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text.at(i);
        if (c == u'&') {
            if (semi <= i) {
                semi = text.indexOf(u';', i + 1);
                if (semi < 0)
                    semi = n; // none left: later '&' need not search again
            }
            if (semi < n) {
                if (auto ch = SimpleHTMLEntities::Decode(QStringView(text).mid(i + 1, semi - i - 1))) {
                    out += *ch;
                    i = semi + 1;
                    continue;
                }
                i = semi + 1; // an unknown reference is dropped from a value
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}

std::optional<QChar> Decode(QStringView name)
{
    if (name.startsWith(u'#')) {
        if (name.size() < 2)
            return std::nullopt;
        quint32 code = 0;
        for (qsizetype i = 1; i < name.size(); ++i) {
            const char16_t d = name.at(i).unicode();
            if (d < u'0' || d > u'9')
                return std::nullopt;
            code = (code * 10 + (d - u'0')) % 65536;
        }
        if (code == 0)
            return std::nullopt;
        return QChar(char16_t(code));
    }
    for (const Entity &e : kEntities)
        if (name == QStringView(e.name))
            return QChar(e.ch);
    return std::nullopt;
}

QString Encode(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        // Only a handful of code points have entities; skip the table walk for plain ASCII.
        const bool candidate = c.unicode() >= 128 || c == u'"' || c == u'&' || c == u'<' || c == u'>';
        const Entity *e = candidate ? EntityFor(c) : nullptr;
        if (e) {
            out += u'&';
            out += QStringView(e->name);
            out += u';';
        } else {
            out += c;
        }
    }
    return out;
}

}
