// Byte stream results: read in 1024-byte blocks, kept only when complete.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QJsonValue>

namespace kestro {

inline constexpr int StreamBlockSize = 1024;

// Reads `source` in blocks of 1024 bytes until a read returns fewer; the
// bytes are returned only when their total equals `announcedSize`, else
// (and for a size of 0) the result is empty.
QByteArray readStreamBlocks(QIODevice &source, qint64 announcedSize);

// A stream as it travels: a JSON array of byte values 0-255. Raises Error
// when the array holds anything else.
QByteArray streamFromJson(const QJsonValue &v);
QJsonValue streamToJson(const QByteArray &bytes);

} // namespace kestro
