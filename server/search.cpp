#include "search.h"

namespace kestro::server {

QString foldTurkish(const QString &s)
{
    QString out;
    out.reserve(s.size());
    for (QChar c : s) {
        switch (c.unicode()) {
        case 0x0131: case 0x0130: case 'i': out += QLatin1Char('I'); break; // ı İ i
        case 0x011F: case 0x011E: out += QLatin1Char('G'); break;
        case 0x00FC: case 0x00DC: out += QLatin1Char('U'); break;
        case 0x015F: case 0x015E: out += QLatin1Char('S'); break;
        case 0x00F6: case 0x00D6: out += QLatin1Char('O'); break;
        case 0x00E7: case 0x00C7: out += QLatin1Char('C'); break;
        case 0x00E2: case 0x00C2: out += QLatin1Char('A'); break;
        case 0x00EE: case 0x00CE: out += QLatin1Char('I'); break;
        case 0x00FB: case 0x00DB: out += QLatin1Char('U'); break;
        default: out += c.toUpper(); break;
        }
    }
    return out;
}

namespace {

QString lettersAndDigits(const QString &w)
{
    QString out;
    for (QChar c : w)
        if (c.isLetterOrNumber())
            out += c;
    return out;
}

} // namespace

QString searchText(const QStringList &fields)
{
    QStringList words;
    for (const QString &f : fields) {
        for (const QString &w : foldTurkish(f).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString bare = lettersAndDigits(w);
            if (bare.isEmpty())
                continue;
            QString spaced = w;
            for (QChar &c : spaced)
                if (!c.isLetterOrNumber())
                    c = QLatin1Char(' ');
            words << spaced.simplified();
            if (bare != w)
                words << bare;
        }
    }
    return words.join(QLatin1Char(' '));
}

QStringList searchWords(const QString &text)
{
    QStringList out;
    for (const QString &w : foldTurkish(text).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString bare = lettersAndDigits(w);
        if (!bare.isEmpty() && !out.contains(bare))
            out << bare;
    }
    return out;
}

QString ftsExpression(const QStringList &words)
{
    QStringList terms;
    for (const QString &w : words)
        terms << QLatin1Char('"') + w + QStringLiteral("\"*"); // words hold only letters and digits
    return terms.join(QStringLiteral(" AND "));
}

} // namespace kestro::server
