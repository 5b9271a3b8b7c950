#include "app/applicationstylesheet.h"
#include "app/languageoption.h"
#include "mainwindow/quillmere.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    QApplication app(argc, argv);
    // Before any window: each takes its texts when it is built.
    if (const int refused = LanguageOption::install(&app, QCoreApplication::applicationDirPath()))
        return refused;
    Quillmere window;
    // settings.ini beside the executable, as the text window keeps it.
    window.setSettingsFolder(QCoreApplication::applicationDirPath());
    ApplicationStyleSheet::apply(app);
    window.show();
    return app.exec();
}
