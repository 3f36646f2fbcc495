#include "cellformat.h"
#include "datagrid.h"
#include "excelexport.h"
#include "filedialogseam.h"
#include "messages.h"
#include "numberformat.h"
#include "xlsxreader.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kestro;

namespace {

// Stock-like rows: number, code, name, status, money, selection flag, date, note.
DataSet makeStock()
{
    DataSet d;
    d.addField(QStringLiteral("STOK_STOKNO"), FieldType::Int32);
    d.addField(QStringLiteral("BARKOD"), FieldType::WideString);
    d.addField(QStringLiteral("ADI"), FieldType::WideString);
    d.addField(QStringLiteral("DURUM"), FieldType::Int32);
    d.addField(QStringLiteral("NETFIYAT"), FieldType::Float);
    d.addField(QStringLiteral("SEC"), FieldType::Int32);
    d.addField(QStringLiteral("TARIH"), FieldType::Date);
    d.addField(QStringLiteral("NOTU"), FieldType::WideString);
    struct Row { int no; const char *barkod; const char *adi; int durum; double fiyat; int sec; const char *tarih; const char *notu; };
    const Row rows[] = {
        {10, "BA-100", "Çay bardağı", 1, 1234.5, 1, "2026-12-11", "ilk satır\nikinci satır"},
        {11, "CA-200", "Cam silecek", 0, 10.0, 0, "2026-01-02", ""},
        {12, "BB-300", "Dal makas", 1, 0.125, 1, "2025-06-30", ""},
        {13, nullptr, "Ayna", 3, -1, 0, nullptr, ""},
    };
    for (const Row &r : rows) {
        const int row = d.appendRow();
        d.setValue(row, 0, r.no);
        if (r.barkod)
            d.setValue(row, 1, QString::fromUtf8(r.barkod));
        d.setValue(row, 2, QString::fromUtf8(r.adi));
        d.setValue(row, 3, r.durum);
        if (r.fiyat >= 0)
            d.setValue(row, 4, r.fiyat);
        d.setValue(row, 5, r.sec);
        if (r.tarih)
            d.setValue(row, 6, QString::fromLatin1(r.tarih));
        d.setValue(row, 7, QString::fromUtf8(r.notu));
    }
    d.first();
    return d;
}

std::vector<GridColumn> stockColumns()
{
    GridColumn fiyatBilgisi = GridColumn::make({}, QStringLiteral("Fiyat Bilgisi"), 2, false, CellKind::Custom);
    fiyatBilgisi.name = QStringLiteral("FiyatBilgisi");
    fiyatBilgisi.text = [](const DataSet &d, int row) {
        return QStringLiteral("Net: ") + d.displayText(row, d.fieldIndex(QStringLiteral("NETFIYAT")));
    };
    return {
        GridColumn::make(QStringLiteral("DURUM"), QStringLiteral("Durum"), 1, true).withIcons(StokDurumIkonlari()),
        GridColumn::make(QStringLiteral("BARKOD"), QStringLiteral("Barkod"), 2, true),
        GridColumn::make(QStringLiteral("ADI"), QStringLiteral("Açıklama"), 3, true),
        GridColumn::make(QStringLiteral("STOK_STOKNO"), {}, 1, false).hiddenFromChooser(),
        GridColumn::make(QStringLiteral("NETFIYAT"), QStringLiteral("Net Fiyatı"), 2, true, CellKind::Money),
        GridColumn::make(QStringLiteral("SEC"), QStringLiteral("Seç"), 1, true, CellKind::Check).hiddenFromChooser(),
        GridColumn::make(QStringLiteral("TARIH"), QStringLiteral("Tarih"), 2, false),
        GridColumn::make(QStringLiteral("NOTU"), QStringLiteral("Not"), 2, false, CellKind::Memo),
        fiyatBilgisi,
    };
}

class ScriptedSaveDialog : public FileDialogSeam
{
public:
    QString answer;
    QString caption, filter;
    int calls = 0;
    QString saveFileName(QWidget *, const QString &c, const QString &f) override
    {
        ++calls;
        caption = c;
        filter = f;
        return answer;
    }
};

class RecordingMessages : public DialogSeam
{
public:
    QList<MessageRequest> shown;
    int showMessage(const MessageRequest &r) override
    {
        shown << r;
        return mrOk;
    }
};

QString cell(const DataSetModel *m, int viewRow, const QString &key)
{
    return m->index(viewRow, m->columnOf(key)).data().toString();
}

} // namespace

class TstGrid : public QObject
{
    Q_OBJECT
private slots:
    void numberPatternMatchesFormatFloat_data();
    void numberPatternMatchesFormatFloat();
    void modelShowsCellsByKind();
    void modelPassesItemModelChecks();
    void modelFollowsDataSetAndUpdates();
    void detachedModelLeavesDataSetAlone();
    void headerFilterByValueName();
    void sortKeepsDataSetCursor_data();
    void sortKeepsDataSetCursor();
    void sutunGenislikAyarla_data();
    void sutunGenislikAyarla();
    void footerSummaries();
    void focusFollowsCursorBothWays();
    void activationByEnterAndDoubleClick();
    void incrementalSearch();
    void columnChooserOffersOnlyOfferedColumns();
    void layoutOptions();
    void paintsEveryKindAndCustomCallbackGetsRowColours();
    void excelFileName_data();
    void excelFileName();
    void excelExportWritesTypedCells();
    void excelCancelWritesNothing();
    void excelWriteFailureIsReported();
};

void TstGrid::numberPatternMatchesFormatFloat_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<double>("value");
    const QStringList patterns = {QString::fromLatin1(ParaBicimi), QString::fromLatin1(GenelToplamBicimi),
                                  QStringLiteral("#,###,##0.##"), QStringLiteral("0.00"), QStringLiteral("#,###,##.00"),
                                  QStringLiteral("0")};
    const double values[] = {0.0, 0.004, -0.004, 0.005, 0.125, 1.005, 2.675, 12.5, -1234.5, 999.995, 999999.995,
                             1234567.891, -98765432.1, 1e15, 0.1 + 0.2, 7.0};
    for (const QString &p : patterns)
        for (double v : values)
            QTest::addRow("%s %.17g", qPrintable(p), v) << p << v;
}

void TstGrid::numberPatternMatchesFormatFloat()
{
    QFETCH(QString, pattern);
    QFETCH(double, value);
    QCOMPARE(NumberPattern(pattern, turkishLocale()).format(value), FormatFloat(pattern, value));
}

void TstGrid::modelShowsCellsByKind()
{
    DataSet d = makeStock();
    DataSetModel m;
    m.setColumns(stockColumns());
    m.setDataSet(&d);
    QCOMPARE(m.rowCount(), 4);
    QCOMPARE(cell(&m, 0, QStringLiteral("ADI")), QStringLiteral("Çay bardağı"));
    QCOMPARE(cell(&m, 0, QStringLiteral("NETFIYAT")), QStringLiteral("1.234,50"));
    QCOMPARE(cell(&m, 2, QStringLiteral("NETFIYAT")), QStringLiteral("0,13"));
    QCOMPARE(cell(&m, 3, QStringLiteral("NETFIYAT")), QString()); // null stays empty
    QCOMPARE(cell(&m, 3, QStringLiteral("BARKOD")), QString());
    QCOMPARE(cell(&m, 0, QStringLiteral("TARIH")), QStringLiteral("11.12.2026"));
    QCOMPARE(cell(&m, 0, QStringLiteral("FiyatBilgisi")), QStringLiteral("Net: 1.234,5"));

    const int durum = m.columnOf(QStringLiteral("durum")); // keys are case-insensitive
    QVERIFY(durum >= 0);
    QCOMPARE(m.index(0, durum).data(Qt::ToolTipRole).toString(), QStringLiteral("Var"));
    QCOMPARE(m.index(3, durum).data(Qt::ToolTipRole).toString(), QStringLiteral("Yolda"));
    QVERIFY(!m.index(0, durum).data(Qt::DecorationRole).value<QPixmap>().isNull());
    QVERIFY(m.index(0, durum).data().isNull()); // icons only, no text

    const int sec = m.columnOf(QStringLiteral("SEC"));
    QCOMPARE(m.index(0, sec).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QCOMPARE(m.index(1, sec).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));

    const int fiyat = m.columnOf(QStringLiteral("NETFIYAT"));
    QCOMPARE(Qt::Alignment(m.index(0, fiyat).data(Qt::TextAlignmentRole).toInt()), Qt::AlignRight | Qt::AlignVCenter);
    QVERIFY(!(m.flags(m.index(0, 0)) & Qt::ItemIsEditable));
    QCOMPARE(m.headerData(fiyat, Qt::Horizontal).toString(), QStringLiteral("Net Fiyatı"));

    // A float field with the dataset's own display format uses that format.
    d.setDisplayFormat(d.fieldIndex(QStringLiteral("NETFIYAT")), QString::fromLatin1(GenelToplamBicimi));
    QCOMPARE(cell(&m, 2, QStringLiteral("NETFIYAT")), QStringLiteral("00,13"));
}

void TstGrid::modelPassesItemModelChecks()
{
    DataSet d = makeStock();
    DataSetModel m;
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    m.setColumns(stockColumns());
    m.setDataSet(&d);
    m.setFilter(m.columnOf(QStringLiteral("DURUM")), {QStringLiteral("Var")});
    m.sort(m.columnOf(QStringLiteral("ADI")), Qt::DescendingOrder);
    d.setValue(1, 2, QStringLiteral("Değişti"));
    m.clearFilters();
    m.setDataSet(nullptr);
}

void TstGrid::modelFollowsDataSetAndUpdates()
{
    DataSet d = makeStock();
    DataSetModel m;
    m.setColumns(stockColumns());
    m.setDataSet(&d);
    QSignalSpy changed(&m, &QAbstractItemModel::dataChanged);
    d.setValue(1, d.fieldIndex(QStringLiteral("ADI")), QStringLiteral("Yeni ad"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().at(0).toModelIndex().row(), 1);
    QCOMPARE(cell(&m, 1, QStringLiteral("ADI")), QStringLiteral("Yeni ad"));

    // Inside an update nothing reaches the view; one reset at the end.
    QSignalSpy resets(&m, &QAbstractItemModel::modelReset);
    m.beginUpdate();
    for (int i = 0; i < 50; ++i)
        d.setValue(d.appendRow(), 0, 100 + i);
    QCOMPARE(m.rowCount(), 4);
    QCOMPARE(resets.count(), 0);
    m.endUpdate();
    QCOMPARE(resets.count(), 1);
    QCOMPARE(m.rowCount(), 54);

    d.emptyRows();
    QCOMPARE(m.rowCount(), 0);
    d.clear();
    QCOMPARE(m.rowCount(), 0);
    QVERIFY(m.index(0, 0).data().isNull());
}

void TstGrid::detachedModelLeavesDataSetAlone()
{
    DataSet d = makeStock();
    DataGrid g;
    g.setColumns(stockColumns());
    g.setDataSet(&d);
    QCOMPARE(d.observer(), static_cast<DataSetObserver *>(g.model()));
    g.setDataSet(nullptr);
    QCOMPARE(d.observer(), nullptr);
    QCOMPARE(g.model()->rowCount(), 0);
    // A background load replaces the content while detached; re-attaching shows it.
    DataSet loaded = makeStock();
    loaded.removeRow(0);
    d = loaded;
    g.setDataSet(&d);
    QCOMPARE(g.model()->rowCount(), 3);
    QCOMPARE(g.focusedValue(QStringLiteral("STOK_STOKNO")).toInt(), 11);
    {
        DataGrid other;
        other.setColumns(stockColumns());
        other.setDataSet(&loaded);
    } // destroying a grid unregisters it
    QCOMPARE(loaded.observer(), nullptr);
}

void TstGrid::headerFilterByValueName()
{
    DataSet d = makeStock();
    DataGrid g;
    g.setColumns(stockColumns());
    g.setDataSet(&d);
    const int count = g.addSummary(QStringLiteral("BARKOD"), SummaryKind::Count);
    QCOMPARE(g.filterValues(QStringLiteral("DURUM")), (QStringList{QStringLiteral("Var"), QStringLiteral("Yok"), QStringLiteral("Yolda")}));

    std::unique_ptr<QMenu> menu(g.filterMenu(QStringLiteral("DURUM")));
    QCOMPARE(menu->actions().first()->text(), QStringLiteral("(Tümü)"));
    QAction *var = nullptr;
    for (QAction *a : menu->actions())
        if (a->text() == QStringLiteral("Var"))
            var = a;
    QVERIFY(var);
    var->trigger();
    QCOMPARE(g.visibleRowCount(), 2);
    QCOMPARE(g.summaryText(count), QStringLiteral("2"));
    QCOMPARE(cell(g.model(), 1, QStringLiteral("ADI")), QStringLiteral("Dal makas"));
    QVERIFY(g.model()->hasFilter(g.model()->columnOf(QStringLiteral("DURUM"))));

    // Filters of two columns combine; the check box filters by Evet/Hayır.
    g.setFilter(QStringLiteral("SEC"), {QStringLiteral("Evet")});
    g.setFilter(QStringLiteral("ADI"), {QStringLiteral("Dal makas"), QStringLiteral("Ayna")});
    QCOMPARE(g.visibleRowCount(), 1);
    QCOMPARE(g.focusedValue(QStringLiteral("STOK_STOKNO")).toInt(), 12); // focus moved to a row shown
    QCOMPARE(d.fieldInt(QStringLiteral("STOK_STOKNO")), 12);

    menu.reset(g.filterMenu(QStringLiteral("DURUM")));
    menu->actions().first()->trigger(); // (Tümü) clears this column only
    QCOMPARE(g.visibleRowCount(), 1);
    g.clearFilters();
    QCOMPARE(g.visibleRowCount(), 4);
    QCOMPARE(g.summaryText(count), QStringLiteral("4"));
}

void TstGrid::sortKeepsDataSetCursor_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("order");
    QTest::addColumn<QList<int>>("stockNumbers");
    // Turkish collation: C < Ç; nulls first ascending, last descending.
    QTest::newRow("text asc") << "ADI" << int(Qt::AscendingOrder) << QList<int>{13, 11, 10, 12};
    QTest::newRow("text desc") << "ADI" << int(Qt::DescendingOrder) << QList<int>{12, 10, 11, 13};
    QTest::newRow("money asc") << "NETFIYAT" << int(Qt::AscendingOrder) << QList<int>{13, 12, 11, 10};
    QTest::newRow("money desc") << "NETFIYAT" << int(Qt::DescendingOrder) << QList<int>{10, 11, 12, 13};
    QTest::newRow("date asc") << "TARIH" << int(Qt::AscendingOrder) << QList<int>{13, 12, 11, 10};
    QTest::newRow("icon asc, stable") << "DURUM" << int(Qt::AscendingOrder) << QList<int>{11, 10, 12, 13};
    QTest::newRow("custom text") << "FiyatBilgisi" << int(Qt::AscendingOrder) << QList<int>{13, 12, 10, 11};
}

void TstGrid::sortKeepsDataSetCursor()
{
    QFETCH(QString, key);
    QFETCH(int, order);
    QFETCH(QList<int>, stockNumbers);
    DataSet d = makeStock();
    DataGrid g;
    g.setColumns(stockColumns());
    g.setDataSet(&d);
    g.setFocusedRow(1);
    g.view()->sortByColumn(g.model()->columnOf(key), Qt::SortOrder(order));
    QList<int> got;
    for (int r = 0; r < g.visibleRowCount(); ++r)
        got << d.asInt(g.model()->sourceRow(r), 0);
    QCOMPARE(got, stockNumbers);
    QCOMPARE(g.focusedRow(), 1);
    QCOMPARE(d.currentRow(), 1);
    QCOMPARE(g.view()->currentIndex().row(), g.model()->viewRow(1));
    g.setSortingEnabled(false); // back to the dataset's order
    QCOMPARE(g.model()->sourceRow(0), 0);
}

void TstGrid::sutunGenislikAyarla_data()
{
    QTest::addColumn<QList<int>>("tags");
    QTest::addColumn<QList<bool>>("visible");
    QTest::addColumn<int>("gridWidth");
    QTest::addColumn<QList<int>>("widths"); // -1: unchanged
    // Weights summing to 20 in a 1030 px grid: unit 50.
    QTest::newRow("sum 20") << QList<int>{1, 2, 3, 2, 2, 3, 3, 2, 2} << QList<bool>(9, true) << 1030
                            << QList<int>{50, 100, 150, 100, 100, 150, 150, 100, 100};
    // Hidden columns count for nothing and keep their width; the unit truncates.
    QTest::newRow("hidden, truncation") << QList<int>{1, 2, 3, 2} << QList<bool>{true, false, true, true} << 200
                                        << QList<int>{28, -1, 84, 56};
    QTest::newRow("narrower than 30") << QList<int>{1, 2} << QList<bool>{true, true} << 20 << QList<int>{0, 0};
    // A shown weight-0 column keeps its width, which is taken off first.
    QTest::newRow("weight 0 shown") << QList<int>{1, 0, 2} << QList<bool>{true, true, true} << 330
                                    << QList<int>{80, 60, 160};
}

void TstGrid::sutunGenislikAyarla()
{
    QFETCH(QList<int>, tags);
    QFETCH(QList<bool>, visible);
    QFETCH(int, gridWidth);
    QFETCH(QList<int>, widths);
    std::vector<GridColumn> cols;
    for (int i = 0; i < tags.size(); ++i)
        cols.push_back(GridColumn::make(QStringLiteral("F%1").arg(i), QStringLiteral("C%1").arg(i), tags[i], visible[i])
                           .withWidth(60));
    DataGrid g;
    g.setColumns(cols);
    g.SutunGenislikAyarla(gridWidth);
    for (int i = 0; i < tags.size(); ++i) // a hidden column shows again with its old width
        g.setColumnVisible(QStringLiteral("F%1").arg(i), true);
    for (int i = 0; i < tags.size(); ++i)
        QCOMPARE(g.columnWidth(QStringLiteral("F%1").arg(i)), widths[i] < 0 ? 60 : widths[i]);
}

void TstGrid::footerSummaries()
{
    DataSet d = makeStock();
    DataGrid g;
    g.setColumns(stockColumns());
    QVERIFY(!g.footerVisible());
    const int count = g.addSummary(QStringLiteral("TARIH"), SummaryKind::Count); // under a hidden column
    const int sum = g.addSummary(QStringLiteral("NETFIYAT"), SummaryKind::Sum);
    const int avg = g.addSummary(QStringLiteral("NETFIYAT"), SummaryKind::Average);
    const int sumOf = g.addSummary(QStringLiteral("ADI"), SummaryKind::Sum, QStringLiteral("SEC"));
    QVERIFY(g.footerVisible());
    QCOMPARE(g.summaryText(count), QStringLiteral("0"));
    QCOMPARE(g.summaryText(sum), QString()); // nothing attached
    g.setDataSet(&d);
    QCOMPARE(g.summaryValue(count), 4.0);
    QCOMPARE(g.summaryText(sum), QStringLiteral("1.244,63")); // 1234.5 + 10 + 0.125, null skipped
    QCOMPARE(g.summaryText(avg), QStringLiteral("414,88"));   // over the three non-null values
    QCOMPARE(g.summaryText(sumOf), QStringLiteral("2"));
    d.setValue(1, d.fieldIndex(QStringLiteral("NETFIYAT")), 20.0);
    QCOMPARE(g.summaryText(sum), QStringLiteral("1.254,63"));
    g.setFilter(QStringLiteral("DURUM"), {QStringLiteral("Yok")});
    QCOMPARE(g.summaryText(count), QStringLiteral("1"));
    QCOMPARE(g.summaryText(sum), QStringLiteral("20,00"));
    g.setFilter(QStringLiteral("DURUM"), {QStringLiteral("Yolda")});
    QCOMPARE(g.summaryText(avg), QString()); // only a null left: no average
    g.clearSummaries();
    QVERIFY(!g.footerVisible());
}

void TstGrid::focusFollowsCursorBothWays()
{
    DataSet d = makeStock();
    DataGrid g;
    g.setColumns(stockColumns());
    QSignalSpy focus(&g, &DataGrid::focusedRowChanged);
    g.setDataSet(&d);
    QCOMPARE(g.focusedRow(), 0); // the dataset's cursor after a load
    d.locate(QStringLiteral("STOK_STOKNO"), 12);
    QCOMPARE(g.focusedRow(), 2);
    QCOMPARE(g.focusedValue(QStringLiteral("BARKOD")).toString(), QStringLiteral("BB-300"));
    g.view()->setCurrentIndex(g.model()->index(3, 2));
    QCOMPARE(d.currentRow(), 3);
    QCOMPARE(d.fieldString(QStringLiteral("ADI")), QStringLiteral("Ayna"));
    QCOMPARE(focus.last().at(0).toInt(), 3);
    QCOMPARE(g.focusedColumn(), QStringLiteral("ADI"));
}

void TstGrid::activationByEnterAndDoubleClick()
{
    DataSet d = makeStock();
    DataGrid g;
    g.setColumns(stockColumns());
    g.setDataSet(&d);
    g.resize(600, 300);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    QSignalSpy activated(&g, &DataGrid::rowActivated);
    QSignalSpy dbl(&g, &DataGrid::rowDoubleClicked);
    g.setFocusedRow(2);
    QTest::keyClick(g.view(), Qt::Key_Return);
    QCOMPARE(activated.count(), 1);
    QCOMPARE(activated.last().at(0).toInt(), 2);
    QCOMPARE(dbl.count(), 0);

    const QRect r = g.view()->visualRect(g.model()->index(1, g.model()->columnOf(QStringLiteral("ADI"))));
    QTest::mouseClick(g.view()->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(g.view()->viewport(), Qt::LeftButton, {}, r.center());
    QCOMPARE(dbl.count(), 1);
    QCOMPARE(dbl.last().at(0).toInt(), 1);
    QCOMPARE(activated.last().at(0).toInt(), 1);
    // A double click below the last row names no row.
    const QPoint below(r.center().x(), g.view()->viewport()->height() - 3);
    QTest::mouseClick(g.view()->viewport(), Qt::LeftButton, {}, below);
    QTest::mouseDClick(g.view()->viewport(), Qt::LeftButton, {}, below);
    QCOMPARE(dbl.count(), 1);
}

void TstGrid::incrementalSearch()
{
    DataSet d = makeStock();
    DataGrid g;
    g.setColumns(stockColumns());
    g.setDataSet(&d);
    g.resize(600, 300);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    g.view()->setFocus();
    g.view()->setCurrentIndex(g.model()->index(0, g.model()->columnOf(QStringLiteral("ADI"))));
    QTest::keyClicks(g.view(), QStringLiteral("d"));
    QCOMPARE(g.focusedRow(), 2); // "Dal makas"
    QCOMPARE(g.searchText(), QStringLiteral("d"));
    QTest::keyClicks(g.view(), QStringLiteral("x")); // no row starts "dx": not taken
    QCOMPARE(g.searchText(), QStringLiteral("d"));
    QCOMPARE(g.focusedRow(), 2);
    QTest::keyClick(g.view(), Qt::Key_Backspace);
    QCOMPARE(g.searchText(), QString());
    QTest::keyClicks(g.view(), QStringLiteral("ÇA")); // Turkish letters, any case
    QCOMPARE(g.focusedRow(), 0);
    QCOMPARE(g.searchText(), QStringLiteral("ÇA"));
    QTest::keyClick(g.view(), Qt::Key_Escape);
    QCOMPARE(g.searchText(), QString());
    // On an icon column the search falls back to the first text column.
    g.view()->setCurrentIndex(g.model()->index(0, g.model()->columnOf(QStringLiteral("DURUM"))));
    QTest::keyClicks(g.view(), QStringLiteral("CA-"));
    QCOMPARE(g.focusedRow(), 1);
    // Moving the focus by other means ends the search.
    QTest::keyClick(g.view(), Qt::Key_Down);
    QCOMPARE(g.searchText(), QString());
    g.setIncrementalSearch(false);
    g.setFocusedRow(0);
    QTest::keyClicks(g.view(), QStringLiteral("d"));
    QCOMPARE(g.focusedRow(), 0);
}

void TstGrid::columnChooserOffersOnlyOfferedColumns()
{
    DataGrid g;
    g.setColumns(stockColumns());
    std::unique_ptr<QMenu> menu(g.columnChooserMenu());
    QStringList offered;
    QAction *tarih = nullptr;
    for (QAction *a : menu->actions()) {
        offered << a->text();
        if (a->text() == QStringLiteral("Tarih"))
            tarih = a;
    }
    QCOMPARE(offered, (QStringList{QStringLiteral("Durum"), QStringLiteral("Barkod"), QStringLiteral("Açıklama"),
                                   QStringLiteral("Net Fiyatı"), QStringLiteral("Tarih"), QStringLiteral("Not"),
                                   QStringLiteral("Fiyat Bilgisi")}));
    QVERIFY(tarih && !tarih->isChecked());
    tarih->toggle();
    QVERIFY(g.isColumnVisible(QStringLiteral("TARIH")));
    QVERIFY(!g.isColumnVisible(QStringLiteral("STOK_STOKNO")));
    g.setColumnOffered(QStringLiteral("STOK_STOKNO"), true); // offered later, by user type
    menu.reset(g.columnChooserMenu());
    QCOMPARE(menu->actions().size(), 8);
    QCOMPARE(g.visibleColumns(), (QStringList{QStringLiteral("DURUM"), QStringLiteral("BARKOD"), QStringLiteral("ADI"),
                                              QStringLiteral("NETFIYAT"), QStringLiteral("SEC"), QStringLiteral("TARIH")}));
}

void TstGrid::layoutOptions()
{
    DataSet d = makeStock();
    DataGrid g;
    g.setColumns(stockColumns());
    g.setDataSet(&d);
    g.resize(700, 400);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    g.setHeaderHeight(40);
    g.setRowHeight(100);
    QCOMPARE(g.view()->horizontalHeader()->height(), 40);
    QCOMPARE(g.view()->rowHeight(3), 100);
    QCOMPARE(g.view()->selectionBehavior(), QAbstractItemView::SelectRows);
    g.setRowSelect(false);
    QCOMPARE(g.view()->selectionBehavior(), QAbstractItemView::SelectItems);
    QCOMPARE(g.view()->editTriggers(), QAbstractItemView::NoEditTriggers);
    // Best fit sizes a column to its widest cell, not below its caption.
    g.setColumnVisible(QStringLiteral("NOTU"), true);
    g.bestFit();
    const QFontMetrics fm = g.view()->fontMetrics();
    int widest = 0;
    for (const char *t : {"Çay bardağı", "Cam silecek", "Dal makas", "Ayna"})
        widest = qMax(widest, fm.horizontalAdvance(QString::fromUtf8(t)));
    QVERIFY(g.columnWidth(QStringLiteral("ADI")) >= widest);
    QVERIFY(g.columnWidth(QStringLiteral("ADI")) < widest + 60);
    QVERIFY(g.columnWidth(QStringLiteral("NOTU")) >= fm.horizontalAdvance(QStringLiteral("ikinci satır")));
    QVERIFY(g.columnWidth(QStringLiteral("NOTU")) < fm.horizontalAdvance(QStringLiteral("ilk satır ikinci satır")));
    QSignalSpy resized(&g, &DataGrid::resized);
    g.resize(800, 400);
    QCOMPARE(resized.count(), 1);
}

void TstGrid::paintsEveryKindAndCustomCallbackGetsRowColours()
{
    DataSet d = makeStock();
    std::vector<GridColumn> cols = stockColumns();
    struct Call { int row; int visualRow; bool selected; QColor bg; };
    QList<Call> calls;
    GridColumn custom = GridColumn::make({}, QStringLiteral("Özel"), 2, true, CellKind::Custom);
    custom.name = QStringLiteral("OZEL");
    custom.paint = [&calls](const GridCellPaint &c) {
        calls << Call{c.row, c.visualRow, c.selected, c.background};
        c.painter->fillRect(c.rect, Qt::magenta);
    };
    cols.push_back(custom);
    DataGrid g;
    g.setColumns(cols);
    for (const QString &k : {QStringLiteral("TARIH"), QStringLiteral("NOTU"), QStringLiteral("FiyatBilgisi")})
        g.setColumnVisible(k, true);
    g.setDataSet(&d);
    g.setRowHeight(40);
    g.resize(1400, 300);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    g.view()->sortByColumn(g.model()->columnOf(QStringLiteral("STOK_STOKNO")), Qt::DescendingOrder);
    g.setFocusedRow(3);
    calls.clear();
    const QImage shot = g.view()->viewport()->grab().toImage();
    QCOMPARE(calls.size(), 4);
    for (const Call &c : calls) {
        QCOMPARE(c.row, g.model()->sourceRow(c.visualRow));
        QCOMPARE(c.selected, c.row == 3);
        const QColor want = c.selected ? g.colors().selected : (c.visualRow % 2 ? g.colors().odd : g.colors().even);
        QCOMPARE(c.bg, want);
    }
    const QRect r = g.view()->visualRect(g.model()->index(1, g.model()->columnOf(QStringLiteral("OZEL"))));
    QCOMPARE(shot.pixelColor(r.center() * shot.devicePixelRatio()), QColor(Qt::magenta));
    // The status icon is drawn in its cell (the "Var" icon is green).
    const QRect icon = g.view()->visualRect(g.model()->index(1, g.model()->columnOf(QStringLiteral("DURUM"))));
    const QColor mid = shot.pixelColor(icon.center() * shot.devicePixelRatio());
    QVERIFY2(mid.green() > mid.red() + 50, qPrintable(mid.name()));
}

void TstGrid::excelFileName_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::newRow("xls") << "/tmp/a/sepet.xls" << "/tmp/a/sepet.xlsx";
    QTest::newRow("none") << "/tmp/a/sepet" << "/tmp/a/sepet.xlsx";
    QTest::newRow("xlsx") << "/tmp/a/sepet.xlsx" << "/tmp/a/sepet.xlsx";
    QTest::newRow("other") << "/tmp/a/sepet.2026.csv" << "/tmp/a/sepet.2026.xlsx";
    QTest::newRow("dotted dir") << "/tmp/v1.2/sepet" << "/tmp/v1.2/sepet.xlsx";
    QTest::newRow("hidden name") << "/tmp/a/.sepet" << "/tmp/a/.sepet.xlsx";
}

void TstGrid::excelFileName()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QCOMPARE(ExcelDosyaAdi(chosen), written);
}

void TstGrid::excelExportWritesTypedCells()
{
    QTemporaryDir dir;
    DataSet d = makeStock();
    DataGrid g;
    g.setColumns(stockColumns());
    g.setColumnVisible(QStringLiteral("TARIH"), true);
    g.setColumnVisible(QStringLiteral("BARKOD"), false);
    g.setDataSet(&d);
    g.view()->sortByColumn(g.model()->columnOf(QStringLiteral("STOK_STOKNO")), Qt::DescendingOrder);
    ScriptedSaveDialog dlg;
    dlg.answer = dir.filePath(QStringLiteral("liste.xls"));
    setFileDialogSeam(&dlg);
    const QString path = ExcelKaydet(g);
    setFileDialogSeam(nullptr);
    QCOMPARE(dlg.filter, QStringLiteral("Excel|*.xls*"));
    QCOMPARE(dlg.caption, QStringLiteral("Excel Kaydet"));
    QCOMPARE(path, dir.filePath(QStringLiteral("liste.xlsx")));

    const auto cells = readXlsxSheet(path);
    // Visible columns in display order: Durum, Açıklama, Net Fiyatı, Seç, Tarih.
    QCOMPARE(cells.value("A1").value, QStringLiteral("Durum"));
    QCOMPARE(cells.value("B1").value, QStringLiteral("Açıklama"));
    QCOMPARE(cells.value("C1").value, QStringLiteral("Net Fiyatı"));
    QCOMPARE(cells.value("D1").value, QStringLiteral("Seç"));
    QCOMPARE(cells.value("E1").value, QStringLiteral("Tarih"));
    QVERIFY(!cells.contains("F1"));
    // Rows in the grid's order: 13, 12, 11, 10.
    QCOMPARE(cells.value("A2").value, QStringLiteral("Yolda"));
    QCOMPARE(cells.value("B2").value, QStringLiteral("Ayna"));
    QVERIFY(!cells.contains("C2")); // null price: empty cell
    QCOMPARE(cells.value("B5").value, QStringLiteral("Çay bardağı"));
    const XlsxCell price = cells.value("C5");
    QCOMPARE(price.type, QString());
    QCOMPARE(price.value.toDouble(), 1234.5);
    QCOMPARE(price.format, QStringLiteral("#,##0.00"));
    QCOMPARE(cells.value("D5").type, QStringLiteral("b"));
    QCOMPARE(cells.value("D5").value, QStringLiteral("1"));
    QCOMPARE(cells.value("D4").value, QStringLiteral("0"));
    const XlsxCell date = cells.value("E5");
    QCOMPARE(date.type, QString());
    QCOMPARE(date.value.toDouble(), double(QDate(1899, 12, 30).daysTo(QDate(2026, 12, 11))));
    QCOMPARE(date.format, QStringLiteral("dd.mm.yyyy"));
    QVERIFY(!cells.contains("A6"));
}

void TstGrid::excelCancelWritesNothing()
{
    QTemporaryDir dir;
    DataSet d = makeStock();
    DataGrid g;
    g.setColumns(stockColumns());
    g.setDataSet(&d);
    ScriptedSaveDialog dlg; // answers with an empty name: cancelled
    setFileDialogSeam(&dlg);
    QCOMPARE(ExcelKaydet(g), QString());
    setFileDialogSeam(nullptr);
    QCOMPARE(dlg.calls, 1);
    QVERIFY(QDir(dir.path()).isEmpty());
}

void TstGrid::excelWriteFailureIsReported()
{
    DataSet d = makeStock();
    DataGrid g;
    g.setColumns(stockColumns());
    g.setDataSet(&d);
    ScriptedSaveDialog dlg;
    dlg.answer = QStringLiteral("/nonexistent-dir-kestro/liste.xls");
    RecordingMessages msgs;
    setFileDialogSeam(&dlg);
    setDialogSeam(&msgs);
    QCOMPARE(ExcelKaydet(g), QString());
    setDialogSeam(nullptr);
    setFileDialogSeam(nullptr);
    QCOMPARE(msgs.shown.size(), 1);
    QCOMPARE(msgs.shown.first().type, MsgType::Error);
    QVERIFY(msgs.shown.first().text.contains(QStringLiteral("liste.xlsx")));
}

QTEST_MAIN(TstGrid)
#include "tst_grid.moc"
