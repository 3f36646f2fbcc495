// kestro-b2b: the Kestro spare-parts ordering client.
#include "mainwindow.h"
#include "sekmeler.h"

#include <QApplication>
#include <QStyleFactory>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("kestro"));
    QApplication::setApplicationName(QStringLiteral("Kestro Yedek Parça B2B"));

    // The embedded style, applied by name; without it the default look stays.
    if (QStyle *style = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(style);
    else
        std::fprintf(stderr, "kestro-b2b: the Fusion style cannot be applied\n");

    kestro::TForm1 Form1;
    // Feature tabs, layout hooks and start-up steps are installed here, before FormCreate.
    kestro::Sekmeler::Kur(Form1);
    if (!Form1.FormCreate())
        return 0;
    Form1.showMaximized();
    return app.exec();
}
