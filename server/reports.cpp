#include "reports.h"

#include "account.h"
#include "core.h"
#include "database.h"
#include "session.h"

#include <QBuffer>
#include <QDate>
#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>

namespace kestro::server {

DateRange dateRange(double tarih1, double tarih2)
{
    const QDate base(1899, 12, 30);
    // 1 Jan 1990 .. 31 Dec 2099: anything else is no date a report can mean.
    auto toDate = [&](double d) {
        if (!std::isfinite(d) || d < 32874 || d > 73415)
            badRequest(QStringLiteral("Geçersiz tarih değeri: %1").arg(d));
        return base.addDays(qint64(std::floor(d)));
    };
    const QDate a = toDate(tarih1), b = toDate(tarih2);
    if (b < a)
        badRequest(QStringLiteral("Bitiş tarihi başlangıç tarihinden önce"));
    return {a.toString(Qt::ISODate), b.toString(Qt::ISODate)};
}

QByteArray renderPdf(const PdfDocument &doc)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setResolution(96);
        pdf.setTitle(doc.title);
        pdf.setCreator(QStringLiteral("Kestro B2B Sunucusu"));
        QPainter p(&pdf);
        const QRect page = p.viewport().adjusted(40, 40, -40, -40);
        int y = page.top();
        QFont titleFont(QStringLiteral("DejaVu Sans"), 14, QFont::Bold);
        QFont body(QStringLiteral("DejaVu Sans"), 8);
        QFont bold(QStringLiteral("DejaVu Sans"), 8, QFont::Bold);
        const int lh = 16;
        auto newPage = [&] {
            pdf.newPage();
            y = page.top();
        };
        auto need = [&](int h) {
            if (y + h > page.bottom())
                newPage();
        };
        p.setFont(titleFont);
        p.drawText(QRect(page.left(), y, page.width(), 28), Qt::AlignLeft | Qt::AlignVCenter, doc.title);
        y += 34;
        p.setFont(body);
        for (const QString &l : doc.lines) {
            need(lh);
            p.drawText(QRect(page.left(), y, page.width(), lh), Qt::AlignLeft | Qt::AlignVCenter, l);
            y += lh;
        }
        for (const auto &[caption, t] : doc.tables) {
            y += 10;
            need(3 * lh);
            p.setFont(bold);
            p.drawText(QRect(page.left(), y, page.width(), lh), Qt::AlignLeft | Qt::AlignVCenter, caption);
            y += lh + 2;
            const int n = std::max<int>(1, int(t.headers.size()));
            const int w = page.width() / n;
            auto drawRow = [&](const QStringList &cells, bool header) {
                need(lh);
                p.setFont(header ? bold : body);
                for (int i = 0; i < cells.size() && i < n; ++i) {
                    const bool right = std::find(t.rightAligned.begin(), t.rightAligned.end(), i) != t.rightAligned.end();
                    p.drawText(QRect(page.left() + i * w + 2, y, w - 4, lh),
                               (right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                               p.fontMetrics().elidedText(cells.at(i), Qt::ElideRight, w - 4));
                }
                y += lh;
                if (header)
                    p.drawLine(page.left(), y - 1, page.right(), y - 1);
            };
            drawRow(t.headers, true);
            for (const QStringList &r : t.rows)
                drawRow(r, false);
            if (!t.footer.isEmpty()) {
                p.drawLine(page.left(), y, page.right(), y);
                drawRow(t.footer, true);
            }
        }
        p.end();
    }
    return bytes;
}

namespace {

QString trDate(const QString &iso) { return QDate::fromString(iso.left(10), Qt::ISODate).toString(QStringLiteral("dd.MM.yyyy")); }

// Account summary as of a date: card, statement, open balances.
PdfDocument accountSummary(int carino, const QString &asOf)
{
    QSqlQuery q = run(QStringLiteral("SELECT c.carikod, c.cariadi, c.adres1, c.ilce, c.il, c.tel1, c.vergidairesi, "
                                     "c.vergino, sa.adi FROM cariler c LEFT JOIN saticilar sa ON sa.satici_no = c.satici_no "
                                     "WHERE c.carino = ?"), {carino});
    if (!q.next())
        notFound(QStringLiteral("Cari hesap bulunamadı: %1").arg(carino));
    PdfDocument d;
    d.title = QStringLiteral("Cari Özeti — %1").arg(q.value(1).toString());
    d.lines << QStringLiteral("Cari Kod: %1").arg(q.value(0).toString())
            << QStringLiteral("Adres: %1 %2/%3").arg(q.value(2).toString(), q.value(3).toString(), q.value(4).toString())
            << QStringLiteral("Telefon: %1   Vergi D./No: %2/%3").arg(q.value(5).toString(), q.value(6).toString(), q.value(7).toString())
            << QStringLiteral("Temsilci: %1").arg(q.value(8).toString())
            << QStringLiteral("Tarih: %1").arg(trDate(asOf));
    PdfTable st;
    st.headers = {QStringLiteral("Tarih"), QStringLiteral("Tür"), QStringLiteral("Evrak No"), QStringLiteral("Borç"),
                  QStringLiteral("Alacak"), QStringLiteral("Bakiye")};
    st.rightAligned = {3, 4, 5};
    QSqlQuery e = run(QStringLiteral("SELECT tarih, turadi, evrakno, borc, alacak FROM evraklar WHERE carino = ? AND tarih <= ? "
                                     "ORDER BY tarih, idno"), {carino, asOf});
    double bakiye = 0, borc = 0, alacak = 0;
    while (e.next()) {
        borc += e.value(3).toDouble();
        alacak += e.value(4).toDouble();
        bakiye += e.value(3).toDouble() - e.value(4).toDouble();
        st.rows.push_back({trDate(e.value(0).toString()), e.value(1).toString(), e.value(2).toString(),
                           paraYazi(e.value(3).toDouble()), paraYazi(e.value(4).toDouble()), paraYazi(bakiye)});
    }
    st.footer = {QStringLiteral("Toplam"), {}, {}, paraYazi(borc), paraYazi(alacak), paraYazi(bakiye)};
    d.tables.push_back({QStringLiteral("Hesap Ekstresi"), st});
    PdfTable bt;
    bt.headers = {QStringLiteral("Sipariş"), QStringLiteral("Tarih"), QStringLiteral("Barkod"), QStringLiteral("Stok"),
                  QStringLiteral("Miktar"), QStringLiteral("Kalan")};
    bt.rightAligned = {4, 5};
    QSqlQuery b = run(QStringLiteral("SELECT l.idno, o.tarih, l.barkod, l.stokadi, l.miktar, l.kalan FROM siparis_satirlari l "
                                     "JOIN siparisler o ON o.idno = l.idno WHERE l.carino = ? AND l.kalan > 0 AND o.tarih <= ? "
                                     "ORDER BY l.idno"), {carino, asOf});
    while (b.next())
        bt.rows.push_back({b.value(0).toString(), trDate(b.value(1).toString()), b.value(2).toString(),
                           b.value(3).toString(), b.value(4).toString(), b.value(5).toString()});
    d.tables.push_back({QStringLiteral("Açık Sipariş Bakiyeleri"), bt});
    return d;
}

// Receivables of all served accounts with what is overdue at a date.
PdfDocument receivables(const SessionUser &u, const QString &saticiAdi, const QString &asOf)
{
    PdfDocument d;
    d.title = QStringLiteral("Cari Toplu Alacak Vadeleri");
    d.lines << QStringLiteral("Tarih: %1").arg(trDate(asOf));
    QVariantList binds{asOf, asOf};
    QString where = QStringLiteral("WHERE ") + customerScope(u, binds);
    if (saticiAdi != QLatin1String(".") && !saticiAdi.trimmed().isEmpty()) {
        where += QStringLiteral(" AND sa.adi = ?");
        binds << saticiAdi;
        d.lines << QStringLiteral("Temsilci: %1").arg(saticiAdi);
    }
    QSqlQuery q = run(QStringLiteral(
        "SELECT c.carikod, c.cariadi, sa.adi, (SELECT COALESCE(SUM(e.borc - e.alacak), 0) FROM evraklar e WHERE "
        "e.carino = c.carino AND e.tarih <= ?), (SELECT COALESCE(SUM(e.borc), 0) FROM evraklar e WHERE e.carino = c.carino "
        "AND e.vade < ?) - (SELECT COALESCE(SUM(e.alacak), 0) FROM evraklar e WHERE e.carino = c.carino) "
        "FROM cariler c LEFT JOIN saticilar sa ON sa.satici_no = c.satici_no ") + where + QStringLiteral(" ORDER BY c.cariadi"),
        binds);
    PdfTable t;
    t.headers = {QStringLiteral("Cari Kod"), QStringLiteral("Cari Adı"), QStringLiteral("Temsilci"),
                 QStringLiteral("Bakiye"), QStringLiteral("Vadesi Geçen")};
    t.rightAligned = {3, 4};
    double sum = 0, sumOver = 0;
    while (q.next()) {
        const double bal = q.value(3).toDouble(), over = std::max(0.0, q.value(4).toDouble());
        if (std::fabs(bal) < 0.005 && over < 0.005)
            continue;
        sum += bal;
        sumOver += over;
        t.rows.push_back({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), paraYazi(bal), paraYazi(over)});
    }
    t.footer = {QStringLiteral("Toplam"), {}, {}, paraYazi(sum), paraYazi(sumOver)};
    d.tables.push_back({QStringLiteral("Alacaklar"), t});
    return d;
}

// Purchases and sales of one account between two dates.
PdfDocument tradeTable(int carino, const QString &saticiAdi, const DateRange &r)
{
    const QString name = scalar(QStringLiteral("SELECT cariadi FROM cariler WHERE carino = ?"), {carino}).toString();
    PdfDocument d;
    d.title = QStringLiteral("Cari Alış Satış Tablosu — %1").arg(name);
    d.lines << QStringLiteral("Dönem: %1 – %2").arg(trDate(r.from), trDate(r.to))
            << QStringLiteral("Temsilci: %1").arg(saticiAdi);
    PdfTable t;
    t.headers = {QStringLiteral("Tarih"), QStringLiteral("Tür"), QStringLiteral("Evrak No"), QStringLiteral("Borç"),
                 QStringLiteral("Alacak")};
    t.rightAligned = {3, 4};
    QSqlQuery q = run(QStringLiteral("SELECT tarih, turadi, evrakno, borc, alacak FROM evraklar WHERE carino = ? AND "
                                     "tarih >= ? AND tarih <= ? ORDER BY tarih, idno"), {carino, r.from, r.to});
    double borc = 0, alacak = 0;
    while (q.next()) {
        borc += q.value(3).toDouble();
        alacak += q.value(4).toDouble();
        t.rows.push_back({trDate(q.value(0).toString()), q.value(1).toString(), q.value(2).toString(),
                          paraYazi(q.value(3).toDouble()), paraYazi(q.value(4).toDouble())});
    }
    t.footer = {QStringLiteral("Toplam"), {}, {}, paraYazi(borc), paraYazi(alacak)};
    d.tables.push_back({QStringLiteral("Hareketler"), t});
    PdfTable s;
    s.headers = {QStringLiteral("Barkod"), QStringLiteral("Stok"), QStringLiteral("Miktar"), QStringLiteral("Net Tutar")};
    s.rightAligned = {2, 3};
    QSqlQuery sq = run(QStringLiteral("SELECT st.barkod, st.adi, SUM(f.miktar), SUM(f.nettutar) FROM fatura_satirlari f "
                                      "JOIN evraklar e ON e.idno = f.idno JOIN stoklar st ON st.stokno = f.stokno "
                                      "WHERE e.carino = ? AND e.tarih >= ? AND e.tarih <= ? GROUP BY st.stokno, st.barkod, "
                                      "st.adi ORDER BY SUM(f.nettutar) DESC"), {carino, r.from, r.to});
    while (sq.next())
        s.rows.push_back({sq.value(0).toString(), sq.value(1).toString(), sq.value(2).toString(), paraYazi(sq.value(3).toDouble())});
    d.tables.push_back({QStringLiteral("Satılan Stoklar"), s});
    return d;
}

} // namespace

void registerReports(Methods &m)
{
    using A = ArgKind;
    // raporno, bolum, idno (the caller's user number), carino, saticiadi, tarih1, tarih2; out size
    m.add(QStringLiteral("RaporGetir"), {A::Int32, A::Int32, A::Int32, A::Int32, A::Text, A::Double, A::Double},
          [](Call &c) {
              const int raporno = c.int32(0), carino = c.int32(3);
              QSqlQuery q = run(QStringLiteral("SELECT sirano, adi, tip, aktif, carino, satici_no FROM kullanicilar "
                                               "WHERE sirano = ?"), {c.int32(2)});
              if (!q.next() || q.value(3).toInt() != 1 || (q.value(2).toInt() != 1 && q.value(2).toInt() != 2))
                  forbidden(QStringLiteral("Raporlar yalnızca aktif satış temsilcileri içindir"));
              SessionUser u;
              u.sirano = q.value(0).toInt();
              u.adi = q.value(1).toString();
              u.tip = q.value(2).toInt();
              u.saticiNo = q.value(5).toInt();
              if (carino != 0 && !mayActFor(u, carino))
                  forbidden(QStringLiteral("Bu cari hesap için işlem yetkiniz yok"));
              const DateRange r = dateRange(c.dbl(5), c.dbl(6));
              PdfDocument doc;
              if (raporno == 6 && carino > 0)
                  doc = accountSummary(carino, r.from);
              else if (raporno == 6)
                  doc = receivables(u, c.text(4), r.from);
              else if (raporno == 7 && carino > 0)
                  doc = tradeTable(carino, c.text(4), r);
              else
                  badRequest(QStringLiteral("Bilinmeyen rapor: %1").arg(raporno));
              c.addStream(renderPdf(doc));
          });
    m.add(QStringLiteral("SAnalPosPdfVer"), {A::Int32}, [](Call &c) {
        QSqlQuery q = run(QStringLiteral("SELECT p.sirano, p.tarih, p.saat, p.tutar, p.kart, p.banka, p.onaykodu, c.carikod, "
                                         "c.cariadi, e.evrakno FROM sanalpos p JOIN cariler c ON c.carino = p.carino "
                                         "JOIN evraklar e ON e.idno = p.idno WHERE p.sirano = ?"), {c.int32(0)});
        if (!q.next())
            notFound(QStringLiteral("Sanal POS makbuzu bulunamadı: %1").arg(c.int32(0)));
        PdfDocument d;
        d.title = QStringLiteral("Sanal POS Tahsilat Makbuzu");
        d.lines << QStringLiteral("Makbuz No: %1").arg(q.value(0).toInt())
                << QStringLiteral("Tarih: %1 %2").arg(trDate(q.value(1).toString()), q.value(2).toString())
                << QStringLiteral("Cari: %1 — %2").arg(q.value(7).toString(), q.value(8).toString())
                << QStringLiteral("Evrak No: %1").arg(q.value(9).toString())
                << QStringLiteral("Kart: %1   Banka: %2").arg(q.value(4).toString(), q.value(5).toString())
                << QStringLiteral("Onay Kodu: %1").arg(q.value(6).toString())
                << QStringLiteral("Tutar: %1 TL").arg(paraYazi(q.value(3).toDouble()))
                << QString()
                << QStringLiteral("Bu makbuz sanal POS ile yapılan ödemenin kaydıdır.");
        c.addStream(renderPdf(d));
    });
}

} // namespace kestro::server
