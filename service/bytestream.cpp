#include "bytestream.h"

#include "errors.h"

#include <QBuffer>
#include <QJsonArray>

namespace kestro {

QByteArray readStreamBlocks(QIODevice &source, qint64 announcedSize)
{
    if (announcedSize <= 0)
        return {};
    QByteArray total;
    char block[StreamBlockSize];
    for (;;) {
        const qint64 n = source.read(block, StreamBlockSize);
        if (n > 0)
            total.append(block, qsizetype(n));
        if (n < StreamBlockSize)
            break;
        if (total.size() > announcedSize)
            break; // already more than announced: it will be dropped anyway
    }
    if (total.size() != announcedSize)
        return {};
    return total;
}

QByteArray streamFromJson(const QJsonValue &v)
{
    if (v.isNull())
        return {};
    if (!v.isArray())
        throw Error(QStringLiteral("Sunucudan gelen veri akışı bozuk"));
    const QJsonArray a = v.toArray();
    QByteArray bytes;
    bytes.reserve(a.size());
    for (const QJsonValue &b : a) {
        const double d = b.toDouble(-1);
        if (!b.isDouble() || d < 0 || d > 255 || d != int(d))
            throw Error(QStringLiteral("Sunucudan gelen veri akışı bozuk"));
        bytes.append(char(int(d)));
    }
    return bytes;
}

QJsonValue streamToJson(const QByteArray &bytes)
{
    QJsonArray a;
    for (char c : bytes)
        a.append(int(static_cast<unsigned char>(c)));
    return a;
}

} // namespace kestro
