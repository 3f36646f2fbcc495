#include "helpers.h"

#include "dataset.h"
#include "identity.h"
#include "numberformat.h"

#include "deploymentsettings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kestro {

QString SunucuAdi;
QString WebAdresi;
QString ResimAdresi;

void SunucuAdresleriniAyarla()
{
    const DeploymentSettings &d = DeploymentSettings::current();
    SunucuAdi = d.serverHost;
    WebAdresi = d.webAddress;
    if (!WebAdresi.endsWith(QLatin1Char('/')))
        WebAdresi += QLatin1Char('/');
    ResimAdresi = WebAdresi + QStringLiteral("resimgoster.ashx?id=");
}

bool SeciliVarmi(DataSet &cart)
{
    if (!cart.isOpen() || cart.isEmpty())
        return false;
    const int col = cart.fieldIndex(QStringLiteral("SEC"));
    cart.first();
    while (!cart.eof()) {
        if (col >= 0 && cart.asInt(cart.currentRow(), col) == 1)
            return true;
        cart.next();
    }
    return false;
}

void FloatAlanlariBicimle(DataSet &data)
{
    for (int c = 0; c < data.fieldCount(); ++c)
        if (data.fieldType(c) == FieldType::Float)
            data.setDisplayFormat(c, QString::fromLatin1(ParaBicimi));
}

namespace {

bool mustEncode(char32_t ch, bool inQuery)
{
    if (ch <= 32 || ch >= 128)
        return true;
    switch (ch) {
    case '*': case '<': case '>': case '#': case '%': case '"': case '{': case '}':
    case '|': case '\\': case '^': case '[': case ']': case '`':
        return true;
    case '+':
        return !inQuery;
    default:
        return false;
    }
}

QString encodePart(const QString &part, bool inQuery)
{
    QString out;
    for (char32_t ch : part.toUcs4()) {
        if (!mustEncode(ch, inQuery)) {
            out += QChar(char16_t(ch));
            continue;
        }
        const QByteArray utf8 = QString::fromUcs4(&ch, 1).toUtf8();
        for (char b : utf8)
            out += QStringLiteral("%%1").arg(uint(static_cast<unsigned char>(b)), 2, 16, QLatin1Char('0')).toUpper();
    }
    return out;
}

} // namespace

QString UrlKodla(const QString &url)
{
    // scheme://host:port stays as it is; the path (with its document) and the query are encoded.
    const int schemeEnd = url.indexOf(QStringLiteral("://"));
    const int authorityStart = schemeEnd < 0 ? 0 : schemeEnd + 3;
    int pathStart = url.indexOf(QLatin1Char('/'), authorityStart);
    const int queryMark = url.indexOf(QLatin1Char('?'), authorityStart);
    if (pathStart < 0 || (queryMark >= 0 && queryMark < pathStart))
        pathStart = queryMark < 0 ? int(url.size()) : queryMark;
    const QString head = url.left(pathStart);
    const QString path = queryMark < 0 ? url.mid(pathStart) : url.mid(pathStart, queryMark - pathStart);
    QString out = head + encodePart(path, false);
    if (queryMark >= 0)
        out += QLatin1Char('?') + encodePart(url.mid(queryMark + 1), true);
    return out;
}

QString BelgelerKlasoruAl()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (dir.isEmpty())
        dir = QDir::homePath();
    QDir().mkpath(dir);
    return QDir::cleanPath(dir);
}

QString ChromeYoluBul()
{
    const QStringList candidates = {
        QStringLiteral("/usr/bin/google-chrome"),
        QStringLiteral("/usr/bin/google-chrome-stable"),
        QStringLiteral("/opt/google/chrome/chrome"),
        QStringLiteral("/usr/bin/chromium"),
        QStringLiteral("/usr/bin/chromium-browser"),
        QStringLiteral("/snap/bin/chromium"),
        QDir::homePath() + QStringLiteral("/.local/bin/google-chrome"),
    };
    for (const QString &c : candidates) {
        const QFileInfo fi(c);
        if (fi.exists() && fi.isExecutable())
            return c;
    }
    return {};
}

int IESurumAl() { return 0; }

} // namespace kestro
