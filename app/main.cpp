#include "app/applicationstylesheet.h"
#include "core/pixels/highdpisetup.h"
#include "mainwindow/quillmere.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    HighDpiSetup::prepare();
    QApplication app(argc, argv);
    Quillmere window;
    // settings.ini beside the executable, as the text window keeps it.
    window.setSettingsFolder(QCoreApplication::applicationDirPath());
    ApplicationStyleSheet::apply(app);
    window.show();
    return app.exec();
}
