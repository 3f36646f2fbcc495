#include "excelexport.h"

#include "datagrid.h"
#include "filedialogseam.h"
#include "messages.h"

#include <QDir>
#include <QFileInfo>

#include <xlsxwriter.h>

namespace kestro {

QString ExcelDosyaAdi(const QString &chosen)
{
    const QFileInfo fi(chosen);
    const QString name = fi.fileName();
    const int dot = int(name.lastIndexOf(QLatin1Char('.')));
    const QString base = dot > 0 ? name.left(dot) : name;
    const QString dir = chosen.left(chosen.size() - name.size());
    return dir + base + QStringLiteral(".xlsx");
}

namespace {

bool toLxw(const QDateTime &dt, lxw_datetime &out)
{
    if (!dt.isValid() || dt.date().year() < 1900)
        return false;
    out.year = dt.date().year();
    out.month = dt.date().month();
    out.day = dt.date().day();
    out.hour = dt.time().hour();
    out.min = dt.time().minute();
    out.sec = dt.time().second() + dt.time().msec() / 1000.0;
    return true;
}

} // namespace

bool ExcelYaz(const DataGrid &grid, const QString &path, QString *error)
{
    const DataSetModel *m = grid.model();
    const DataSet *ds = m->dataSet();
    const QByteArray file = QFile::encodeName(path);

    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE; // rows go straight to disk, memory stays flat
    const QByteArray tmp = QFile::encodeName(QDir::tempPath());
    options.tmpdir = const_cast<char *>(tmp.constData());
    lxw_workbook *wb = workbook_new_opt(file.constData(), &options);
    if (!wb) {
        if (error)
            *error = QStringLiteral("Dosya oluşturulamadı");
        return false;
    }
    lxw_worksheet *ws = workbook_add_worksheet(wb, nullptr);
    lxw_format *head = workbook_add_format(wb);
    format_set_bold(head);
    lxw_format *money = workbook_add_format(wb);
    format_set_num_format(money, "#,##0.00");
    lxw_format *date = workbook_add_format(wb);
    format_set_num_format(date, "dd.mm.yyyy");
    lxw_format *dateTime = workbook_add_format(wb);
    format_set_num_format(dateTime, "dd.mm.yyyy hh:mm:ss");

    std::vector<int> cols;
    for (const QString &key : grid.visibleColumns())
        cols.push_back(m->columnOf(key));

    for (size_t i = 0; i < cols.size(); ++i) {
        const GridColumn &c = m->column(cols[i]);
        const lxw_col_t xc = lxw_col_t(i);
        worksheet_set_column(ws, xc, xc, qBound(4.0, grid.columnWidth(c.key()) / 7.0, 80.0), nullptr);
        worksheet_write_string(ws, 0, xc, c.caption.toUtf8().constData(), head);
    }

    const int rows = ds ? m->rowCount() : 0;
    for (int r = 0; r < rows; ++r) {
        const int srow = m->sourceRow(r);
        const lxw_row_t xr = lxw_row_t(r + 1);
        for (size_t i = 0; i < cols.size(); ++i) {
            const int gc = cols[i];
            const GridColumn &c = m->column(gc);
            const lxw_col_t xc = lxw_col_t(i);
            const int f = m->fieldOf(gc);
            if (c.kind == CellKind::Custom || f < 0) {
                if (c.text) {
                    const QString t = c.text(*ds, srow);
                    if (!t.isEmpty())
                        worksheet_write_string(ws, xr, xc, t.toUtf8().constData(), nullptr);
                }
                continue;
            }
            if (ds->isNull(srow, f))
                continue;
            if (c.kind == CellKind::Check) {
                worksheet_write_boolean(ws, xr, xc, m->isChecked(gc, srow), nullptr);
                continue;
            }
            if (c.kind == CellKind::Icon) {
                const IconEntry *e = m->iconEntry(gc, srow);
                if (e && !e->name.isEmpty())
                    worksheet_write_string(ws, xr, xc, e->name.toUtf8().constData(), nullptr);
                else
                    worksheet_write_number(ws, xr, xc, double(ds->asInt(srow, f)), nullptr);
                continue;
            }
            const FieldType t = ds->fieldType(f);
            switch (ds->column(f).storage()) {
            case DataSet::Storage::Int:
                if (t == FieldType::Boolean)
                    worksheet_write_boolean(ws, xr, xc, ds->asInt(srow, f) != 0, nullptr);
                else
                    worksheet_write_number(ws, xr, xc, double(ds->asInt(srow, f)),
                                           c.kind == CellKind::Money ? money : nullptr);
                break;
            case DataSet::Storage::Real: {
                const bool isMoney = c.kind == CellKind::Money || !ds->displayFormat(f).isEmpty();
                worksheet_write_number(ws, xr, xc, ds->asDouble(srow, f), isMoney ? money : nullptr);
                break;
            }
            case DataSet::Storage::Text: {
                if (t == FieldType::Date || t == FieldType::DateTime || t == FieldType::Timestamp) {
                    const QVariant v = ds->value(srow, f);
                    lxw_datetime dt{};
                    const QDateTime when = t == FieldType::Date ? v.toDate().startOfDay() : v.toDateTime();
                    if (toLxw(when, dt)) {
                        worksheet_write_datetime(ws, xr, xc, &dt, t == FieldType::Date ? date : dateTime);
                        break;
                    }
                }
                const QByteArray s = ds->column(f).texts[size_t(srow)].toUtf8();
                worksheet_write_string(ws, xr, xc, s.constData(), nullptr);
                break;
            }
            case DataSet::Storage::Bytes: break; // pictures and blobs stay out of the sheet
            }
        }
    }
    const lxw_error rc = workbook_close(wb);
    if (rc != LXW_NO_ERROR) {
        if (error)
            *error = QString::fromUtf8(lxw_strerror(rc));
        return false;
    }
    return true;
}

QString ExcelKaydet(DataGrid &grid, QWidget *parent)
{
    const QString chosen = fileDialogSeam().saveFileName(parent ? parent : &grid, QStringLiteral("Excel Kaydet"),
                                                         QString::fromLatin1(ExcelFiltresi));
    if (chosen.isEmpty())
        return {};
    const QString path = ExcelDosyaAdi(chosen);
    QString error;
    if (!ExcelYaz(grid, path, &error)) {
        HataVer(QStringLiteral("Dosya kaydedilemedi: %1\n%2").arg(QDir::toNativeSeparators(path), error));
        return {};
    }
    return path;
}

} // namespace kestro
