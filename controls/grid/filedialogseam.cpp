#include "filedialogseam.h"

#include <QFileDialog>
#include <QStringList>

namespace kestro {

namespace {
FileDialogSeam realSeam;
FileDialogSeam *current = &realSeam;
} // namespace

QString qtFileFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << QStringLiteral("%1 (%2)").arg(parts[i], QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')));
    return out.join(QStringLiteral(";;"));
}

QString FileDialogSeam::saveFileName(QWidget *parent, const QString &caption, const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, caption, QString(), qtFileFilter(filter));
}

FileDialogSeam &fileDialogSeam() { return *current; }

void setFileDialogSeam(FileDialogSeam *seam) { current = seam ? seam : &realSeam; }

} // namespace kestro
