#include "app/applicationstylesheet.h"
#include "app/languageoption.h"
#include "core/pixels/highdpisetup.h"
#include "core/settings/runtimefoldernotice.h"
#include "core/settings/settingslocation.h"
#include "mainwindow/quillmere.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    RuntimeFolderNotice::filterOut();
    HighDpiSetup::prepare();
    QApplication app(argc, argv);
    // settings.ini beside the executable where it can be written, else in the user's configuration
    // folder.
    const QString settingsFolder = SettingsLocation::forApplication();
    // Before any window: each takes its texts when it is built.
    if (const int refused = LanguageOption::install(&app, settingsFolder))
        return refused;
    Quillmere window;
    window.setSettingsFolder(settingsFolder);
    window.rememberPlacement();
    ApplicationStyleSheet::apply(app);
    window.show();
    // Files named on the command line (as the desktop entry passes them) are imported at once.
    const QStringList files = LanguageOption::parse(QCoreApplication::arguments()).files;
    if (!files.isEmpty())
        window.importFiles(files);
    return app.exec();
}
