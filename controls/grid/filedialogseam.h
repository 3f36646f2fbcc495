// The save-file dialog behind one seam, so tests answer it with a path.
#pragma once

#include <QString>

class QWidget;

namespace kestro {

class FileDialogSeam
{
public:
    virtual ~FileDialogSeam() = default;
    // `filter` in the program's "Description|*.ext;*.ext2|..." form. Returns
    // the chosen path, or an empty text when the user cancels.
    virtual QString saveFileName(QWidget *parent, const QString &caption, const QString &filter);
};

FileDialogSeam &fileDialogSeam();
void setFileDialogSeam(FileDialogSeam *seam); // nullptr restores the real dialog

// "Excel|*.xls*" -> "Excel (*.xls*)": the filter as QFileDialog writes it.
QString qtFileFilter(const QString &filter);

} // namespace kestro
