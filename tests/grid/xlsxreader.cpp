#include "xlsxreader.h"

#include <QFile>
#include <QHash>
#include <QXmlStreamReader>

#include <zlib.h>

namespace {

quint32 u32(const QByteArray &b, qsizetype at)
{
    const auto *p = reinterpret_cast<const uchar *>(b.constData() + at);
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}
quint16 u16(const QByteArray &b, qsizetype at)
{
    const auto *p = reinterpret_cast<const uchar *>(b.constData() + at);
    return quint16(p[0] | p[1] << 8);
}

QHash<QString, QByteArray> unzip(const QByteArray &zip)
{
    QHash<QString, QByteArray> out;
    qsizetype eocd = zip.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (eocd < 0)
        return out;
    const int entries = u16(zip, eocd + 10);
    qsizetype p = u32(zip, eocd + 16);
    for (int i = 0; i < entries && p + 46 <= zip.size(); ++i) {
        const int method = u16(zip, p + 10);
        const quint32 csize = u32(zip, p + 20), usize = u32(zip, p + 24);
        const int nlen = u16(zip, p + 28), xlen = u16(zip, p + 30), clen = u16(zip, p + 32);
        const quint32 local = u32(zip, p + 42);
        const QString name = QString::fromUtf8(zip.mid(p + 46, nlen));
        const qsizetype data = local + 30 + u16(zip, local + 26) + u16(zip, local + 28);
        QByteArray raw = zip.mid(data, csize);
        if (method == 8) {
            QByteArray inflated(qsizetype(usize), '\0');
            z_stream z{};
            inflateInit2(&z, -15);
            z.next_in = reinterpret_cast<Bytef *>(raw.data());
            z.avail_in = uInt(raw.size());
            z.next_out = reinterpret_cast<Bytef *>(inflated.data());
            z.avail_out = uInt(inflated.size());
            inflate(&z, Z_FINISH);
            inflateEnd(&z);
            raw = inflated;
        }
        out.insert(name, raw);
        p += 46 + nlen + xlen + clen;
    }
    return out;
}

} // namespace

QMap<QString, XlsxCell> readXlsxSheet(const QString &path)
{
    QMap<QString, XlsxCell> cells;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return cells;
    const auto files = unzip(f.readAll());

    // Styles: custom number formats by id, then the cell formats' ids in order.
    // Built-in ids that writers use without declaring them.
    QHash<int, QString> numFmts = {{0, QString()},
                                   {2, QStringLiteral("0.00")},
                                   {3, QStringLiteral("#,##0")},
                                   {4, QStringLiteral("#,##0.00")},
                                   {14, QStringLiteral("m/d/yyyy")}};
    QList<int> xfFormat;
    {
        QXmlStreamReader x(files.value(QStringLiteral("xl/styles.xml")));
        bool inXfs = false;
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement() && x.name() == u"numFmt")
                numFmts[x.attributes().value("numFmtId").toInt()] = x.attributes().value("formatCode").toString();
            if (x.isStartElement() && x.name() == u"cellXfs")
                inXfs = true;
            if (x.isEndElement() && x.name() == u"cellXfs")
                inXfs = false;
            if (inXfs && x.isStartElement() && x.name() == u"xf")
                xfFormat << x.attributes().value("numFmtId").toInt();
        }
    }
    QStringList shared;
    {
        QXmlStreamReader x(files.value(QStringLiteral("xl/sharedStrings.xml")));
        while (!x.atEnd())
            if (x.readNext() == QXmlStreamReader::StartElement && x.name() == u"t")
                shared << x.readElementText();
    }
    QXmlStreamReader x(files.value(QStringLiteral("xl/worksheets/sheet1.xml")));
    QString ref;
    XlsxCell cell;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement() && x.name() == u"c") {
            ref = x.attributes().value("r").toString();
            cell = {};
            cell.type = x.attributes().value("t").toString();
            const int s = x.attributes().value("s").toInt();
            cell.format = numFmts.value(s < xfFormat.size() ? xfFormat[s] : 0);
        } else if (x.isStartElement() && (x.name() == u"v" || x.name() == u"t")) {
            cell.value = x.readElementText();
            if (cell.type == u"s")
                cell.value = shared.value(cell.value.toInt());
        } else if (x.isEndElement() && x.name() == u"c") {
            cells.insert(ref, cell);
        }
    }
    return cells;
}
