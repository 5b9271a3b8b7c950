#include "app/applicationstylesheet.h"
#include "mainwindow/quillmere.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    QApplication app(argc, argv);
    Quillmere window;
    ApplicationStyleSheet::apply(app);
    window.show();
    return app.exec();
}
