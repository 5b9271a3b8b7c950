#include "app/applicationstylesheet.h"
#include "core/settings/settingslocation.h"
#include "mainwindow/quillmere.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    QApplication app(argc, argv);
    Quillmere window;
    // settings.ini beside the executable where it can be written, else in the user's configuration folder.
    window.setSettingsFolder(SettingsLocation::forApplication());
    ApplicationStyleSheet::apply(app);
    window.show();
    // Files named on the command line (as the desktop entry passes them) are imported at once.
    window.importFiles(QCoreApplication::arguments().mid(1));
    return app.exec();
}
