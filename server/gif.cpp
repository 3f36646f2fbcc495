#include "gif.h"

#include <unordered_map>

namespace kestro::server {

namespace {

class BitWriter
{
public:
    explicit BitWriter(QByteArray &out) : m_out(out) {}
    void write(int code, int bits)
    {
        m_acc |= quint32(code) << m_n;
        m_n += bits;
        while (m_n >= 8) {
            put(char(m_acc & 0xFF));
            m_acc >>= 8;
            m_n -= 8;
        }
    }
    void finish()
    {
        if (m_n > 0)
            put(char(m_acc & 0xFF));
        flushBlock();
        m_out.append('\0'); // block terminator
    }

private:
    void put(char c)
    {
        m_block.append(c);
        if (m_block.size() == 255)
            flushBlock();
    }
    void flushBlock()
    {
        if (m_block.isEmpty())
            return;
        m_out.append(char(m_block.size()));
        m_out.append(m_block);
        m_block.clear();
    }
    QByteArray &m_out;
    QByteArray m_block;
    quint32 m_acc = 0;
    int m_n = 0;
};

void le16(QByteArray &o, int v)
{
    o.append(char(v & 0xFF));
    o.append(char((v >> 8) & 0xFF));
}

uchar paletteIndex(QRgb c)
{
    auto q = [](int v) { return (v * 5 + 127) / 255; };
    return uchar(q(qRed(c)) * 36 + q(qGreen(c)) * 6 + q(qBlue(c)));
}

void lzw(QByteArray &out, const std::vector<uchar> &pixels)
{
    const int minCode = 8, clear = 256, eoi = 257;
    out.append(char(minCode));
    BitWriter w(out);
    std::unordered_map<quint32, int> dict;
    int codeSize = minCode + 1, next = eoi + 1;
    w.write(clear, codeSize);
    if (pixels.empty()) {
        w.write(eoi, codeSize);
        w.finish();
        return;
    }
    int prefix = pixels[0];
    for (size_t i = 1; i < pixels.size(); ++i) {
        const uchar k = pixels[i];
        const quint32 key = (quint32(prefix) << 8) | k;
        auto it = dict.find(key);
        if (it != dict.end()) {
            prefix = it->second;
            continue;
        }
        w.write(prefix, codeSize);
        dict.emplace(key, next);
        if (next == (1 << codeSize) && codeSize < 12)
            ++codeSize;
        if (++next == 4096) {
            // Table full: start over rather than rely on decoders accepting a deferred clear.
            w.write(clear, codeSize);
            dict.clear();
            codeSize = minCode + 1;
            next = eoi + 1;
        }
        prefix = k;
    }
    w.write(prefix, codeSize);
    w.write(eoi, codeSize);
    w.finish();
}

} // namespace

QByteArray encodeGif(const QList<QImage> &frames, int delayCs)
{
    QByteArray o;
    if (frames.isEmpty())
        return o;
    const int width = frames.first().width(), height = frames.first().height();
    o.append("GIF89a");
    le16(o, width);
    le16(o, height);
    o.append(char(0xF7)); // global colour table of 256 entries
    o.append('\0');
    o.append('\0');
    for (int i = 0; i < 256; ++i) {
        const int r = i / 36, g = (i / 6) % 6, b = i % 6;
        const bool cube = i < 216;
        o.append(char(cube ? r * 51 : 0));
        o.append(char(cube ? g * 51 : 0));
        o.append(char(cube ? b * 51 : 0));
    }
    o.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01", 16);
    le16(o, 0); // loop forever
    o.append('\0');
    for (const QImage &frame : frames) {
        const QImage img = frame.convertToFormat(QImage::Format_RGB32).scaled(width, height);
        o.append("\x21\xF9\x04", 3);
        o.append('\0');
        le16(o, delayCs);
        o.append('\0');
        o.append('\0');
        o.append(',');
        le16(o, 0);
        le16(o, 0);
        le16(o, width);
        le16(o, height);
        o.append('\0');
        std::vector<uchar> px;
        px.reserve(size_t(width) * size_t(height));
        for (int y = 0; y < height; ++y) {
            const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
            for (int x = 0; x < width; ++x)
                px.push_back(paletteIndex(line[x]));
        }
        lzw(o, px);
    }
    o.append(';');
    return o;
}

} // namespace kestro::server
