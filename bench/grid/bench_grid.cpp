// Grid speed with 50,000 rows x 20 columns: attach, scroll through every page
// (the viewport rendered offscreen per page), sort, filter, best fit, export.
// Prints the times; run with QT_QPA_PLATFORM=offscreen.
#include "datagrid.h"
#include "excelexport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>

#include <cstdio>

using namespace kestro;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 50000;

    QElapsedTimer t;
    t.start();
    DataSet d;
    const char *texts[] = {"BARKOD", "ADI", "MARKA", "MODEL", "OEM1", "OEM2", "OZELKOD", "INDIRIMYAZI", "ANAGRUP"};
    const char *money[] = {"FIYAT", "NETFIYAT", "KDVDAHIL", "LISTEFIYAT1", "KAMPFIYAT", "IND1"};
    d.addField(QStringLiteral("STOK_STOKNO"), FieldType::Int32);
    d.addField(QStringLiteral("DURUM"), FieldType::Int32);
    d.addField(QStringLiteral("Y"), FieldType::Int32);
    d.addField(QStringLiteral("SEC"), FieldType::Int32);
    d.addField(QStringLiteral("TARIH"), FieldType::Date);
    for (const char *n : texts)
        d.addField(QString::fromLatin1(n), FieldType::WideString);
    for (const char *n : money)
        d.addField(QString::fromLatin1(n), FieldType::Float);
    // Fill column-wise as the table codec does.
    for (int c = 0; c < d.fieldCount(); ++c) {
        DataSet::Column &col = d.column(c);
        col.nulls.assign(size_t(rows), 0);
        for (int r = 0; r < rows; ++r) {
            switch (col.storage()) {
            case DataSet::Storage::Int: col.ints.push_back(c == 0 ? r : (c == 1 ? r % 6 : r % 2)); break;
            case DataSet::Storage::Real: col.reals.push_back((r * 37 % 100000) / 7.0); break;
            case DataSet::Storage::Text:
                col.texts.push_back(c == 4 ? QStringLiteral("2026-%1-%2").arg(1 + r % 12, 2, 10, QLatin1Char('0')).arg(1 + r % 28, 2, 10, QLatin1Char('0'))
                                           : QStringLiteral("%1 %2 parça").arg(col.name).arg((r * 7919) % rows));
                break;
            case DataSet::Storage::Bytes: col.bytes.emplace_back(); break;
            }
        }
        if (col.storage() == DataSet::Storage::Real)
            col.displayFormat = QStringLiteral("#,###,##0.00");
    }
    d.finishBulkLoad(rows);
    const double fillMs = t.nsecsElapsed() / 1e6;

    std::vector<GridColumn> cols = {
        GridColumn::make(QStringLiteral("DURUM"), QStringLiteral("Durum"), 1, true).withIcons(StokDurumIkonlari()),
        GridColumn::make(QStringLiteral("Y"), QStringLiteral("Yeni"), 1, true).withIcons(EvetHayirIkonlari(true)),
        GridColumn::make(QStringLiteral("SEC"), QStringLiteral("Seç"), 1, true, CellKind::Check),
        GridColumn::make(QStringLiteral("STOK_STOKNO"), QStringLiteral("No"), 1, true, CellKind::Number),
        GridColumn::make(QStringLiteral("TARIH"), QStringLiteral("Tarih"), 2, true),
    };
    for (const char *n : texts)
        cols.push_back(GridColumn::make(QString::fromLatin1(n), QString::fromLatin1(n), 2, true));
    for (const char *n : money)
        cols.push_back(GridColumn::make(QString::fromLatin1(n), QString::fromLatin1(n), 2, true, CellKind::Money));

    DataGrid grid;
    grid.setColumns(cols);
    grid.addSummary(QStringLiteral("BARKOD"), SummaryKind::Count);
    grid.addSummary(QStringLiteral("NETFIYAT"), SummaryKind::Sum);
    grid.resize(1600, 900);
    grid.show();
    QCoreApplication::processEvents();

    t.restart();
    grid.setDataSet(&d);
    grid.summaryText(1);
    QCoreApplication::processEvents();
    const double attachMs = t.nsecsElapsed() / 1e6;

    QWidget *vp = grid.view()->viewport();
    QImage canvas(vp->size(), QImage::Format_ARGB32_Premultiplied);
    QScrollBar *sb = grid.view()->verticalScrollBar();
    auto scrollAll = [&] {
        int pages = 0;
        QElapsedTimer s;
        s.start();
        for (int v = 0; v <= sb->maximum(); v += vp->height()) {
            sb->setValue(v);
            QPainter p(&canvas);
            vp->render(&p);
            ++pages;
        }
        return std::pair<double, int>(s.nsecsElapsed() / 1e6, pages);
    };
    const auto [scrollMs, pages] = scrollAll();

    t.restart();
    grid.view()->sortByColumn(grid.model()->columnOf(QStringLiteral("ADI")), Qt::AscendingOrder);
    const double sortTextMs = t.nsecsElapsed() / 1e6;
    t.restart();
    grid.view()->sortByColumn(grid.model()->columnOf(QStringLiteral("NETFIYAT")), Qt::DescendingOrder);
    const double sortMoneyMs = t.nsecsElapsed() / 1e6;
    const auto [scrollSortedMs, pages2] = scrollAll();
    t.restart();
    grid.setFilter(QStringLiteral("DURUM"), {QStringLiteral("Var")});
    grid.summaryText(1);
    const double filterMs = t.nsecsElapsed() / 1e6;
    t.restart();
    const QStringList values = grid.filterValues(QStringLiteral("ADI"));
    const double valuesMs = t.nsecsElapsed() / 1e6;
    grid.clearFilters();
    t.restart();
    grid.bestFit();
    const double bestFitMs = t.nsecsElapsed() / 1e6;
    t.restart();
    grid.SutunGenislikAyarla();
    const double widthsMs = t.nsecsElapsed() / 1e6;

    QTemporaryDir dir;
    t.restart();
    const bool ok = ExcelYaz(grid, dir.filePath(QStringLiteral("bench.xlsx")));
    const double excelMs = t.nsecsElapsed() / 1e6;

    std::printf("rows %d, columns %d\n", rows, int(cols.size()));
    std::printf("fill dataset          %8.1f ms\n", fillMs);
    std::printf("attach + summaries    %8.1f ms\n", attachMs);
    std::printf("scroll all (%5d pages) %7.1f ms  (%.2f ms/page)\n", pages, scrollMs, scrollMs / pages);
    std::printf("sort text (collated)  %8.1f ms\n", sortTextMs);
    std::printf("sort money            %8.1f ms\n", sortMoneyMs);
    std::printf("scroll sorted (%5d)  %8.1f ms  (%.2f ms/page)\n", pages2, scrollSortedMs, scrollSortedMs / pages2);
    std::printf("filter by icon value  %8.1f ms\n", filterMs);
    std::printf("filter value list     %8.1f ms  (%lld values)\n", valuesMs, qlonglong(values.size()));
    std::printf("best fit (sampled)    %8.1f ms\n", bestFitMs);
    std::printf("SutunGenislikAyarla   %8.1f ms\n", widthsMs);
    std::printf("Excel export          %8.1f ms  (%s)\n", excelMs, ok ? "ok" : "failed");
    return 0;
}
