// A GIF89a writer for the animated banners (Qt reads GIF but cannot write it).
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

namespace kestro::server {

// Frames of equal size on a fixed 6x6x6 colour cube, looping forever; `delayCs`
// is the frame delay in hundredths of a second.
QByteArray encodeGif(const QList<QImage> &frames, int delayCs);

} // namespace kestro::server
