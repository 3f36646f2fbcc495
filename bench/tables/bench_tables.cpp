// Decoding a result table into the dataset versus the bare QJsonDocument
// parse of the same bytes.
#include "dataset.h"
#include "tablecodec.h"

#include <QElapsedTimer>
#include <QJsonDocument>

#include <algorithm>
#include <cstdio>

using namespace kestro;

namespace {

QByteArray makeTable(int rows)
{
    static const char *names[] = {"YAĞ FİLTRESİ", "FREN BALATASI ÖN", "DEBRİYAJ SETİ", "ŞANZIMAN YAĞI",
                                  "AMORTİSÖR ARKA", "SİLECEK SÜPÜRGESİ", "HAVA FİLTRESİ", "BUJİ IRIDIUM"};
    static const char *brands[] = {"BOSCH", "MANN", "VALEO", "SACHS", "FEBİ", "MAHLE"};
    DataSet t;
    // 40 columns: 12 integer, 14 float, 14 Turkish text.
    for (int c = 0; c < 40; ++c) {
        const FieldType type = c < 12 ? FieldType::Int32 : c < 26 ? FieldType::Float : FieldType::WideString;
        t.addField(QStringLiteral("ALAN%1").arg(c), type);
    }
    for (int r = 0; r < rows; ++r) {
        const int row = t.appendRow();
        for (int c = 0; c < 40; ++c) {
            if (c < 12)
                t.setValue(row, c, r * 7 + c);
            else if (c < 26)
                t.setValue(row, c, (r % 997) * 1.37 + c * 0.01);
            else
                t.setValue(row, c, QStringLiteral("%1 %2 %3").arg(QString::fromUtf8(names[(r + c) % 8]),
                                                               QString::fromUtf8(brands[r % 6]))
                                        .arg(r));
        }
    }
    return encodeTable(t);
}

template <typename F>
double bestMs(int repeats, F &&f)
{
    double best = 1e18;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main()
{
    std::printf("%8s %9s %12s %10s %12s %10s %7s\n", "rows", "MB", "decode ms", "MB/s", "QJson ms", "MB/s", "ratio");
    for (int rows : {50000, 5000, 500}) {
        QByteArray json = makeTable(rows);
        json.reserve(json.size() + 64); // as the connection reserves an answer from its length
        const double mb = json.size() / 1e6;
        const int repeats = rows >= 50000 ? 5 : 20;
        DataSet d;
        const double decode = bestMs(repeats, [&] { decodeTable(json, d); });
        if (d.rowCount() != rows) {
            std::fprintf(stderr, "decoded %d rows, expected %d\n", d.rowCount(), rows);
            return 1;
        }
        const double bare = bestMs(repeats, [&] {
            const QJsonDocument doc = QJsonDocument::fromJson(json);
            if (doc.isNull())
                std::abort();
        });
        std::printf("%8d %9.1f %12.2f %10.0f %12.2f %10.0f %7.2f\n", rows, mb, decode, mb / decode * 1e3, bare,
                    mb / bare * 1e3, decode / bare);
    }
    return 0;
}
