#include "app/applicationicon.h"
#include "app/applicationstylesheet.h"
#include "app/commandlinefiles.h"
#include "app/languageoption.h"
#include "core/pixels/highdpisetup.h"
#include "core/settings/runtimefoldernotice.h"
#include "core/settings/settingslocation.h"
#include "mainwindow/quillmere.h"
#include "mainwindow/recoverykeeper.h"
#include "widgets/styled/custommegbox.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // --help, --version and a wrong --lang are answered before the application object exists:
    // they need no display and make no settings folder.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const int answered = LanguageOption::answerBeforeStart(LanguageOption::parse(arguments));
    if (answered >= 0)
        return answered;

    RuntimeFolderNotice::filterOut();
    HighDpiSetup::prepare();
    QApplication app(argc, argv);
    // Qt has taken its own options out of the arguments: what is still unknown is a mistake.
    const LanguageOption::Parsed parsed = LanguageOption::parse(QCoreApplication::arguments());
    if (!parsed.ok)
        return LanguageOption::usageError(parsed.error);
    // Lets the desktop match the window to its entry (icon, name) on Wayland and in task switchers.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.brisklane.Brisklane"));
    // settings.ini in the user's configuration folder; beside the executable only when a file named
    // "portable" asks for it there.
    const QString settingsFolder = SettingsLocation::forApplication();
    // Before any window: each takes its texts when it is built.
    LanguageOption::install(&app, parsed, settingsFolder);
    ApplicationIcon::apply();
    Quillmere window;
    window.setSettingsFolder(settingsFolder);
    window.rememberPlacement();
    ApplicationStyleSheet::apply(app);
    window.show();
    // Work an editor left behind (a crash, a kill) is offered first; from now on this one's is kept.
    window.keepRecoveryCopy()->offerRecovery();
    // Files named on the command line (as the desktop entry passes them) are opened at once; those
    // that cannot be opened are named together, after the others are in.
    const CommandLineFiles::Checked files = CommandLineFiles::check(parsed.files);
    if (!files.readable.isEmpty())
        window.openFiles(files.readable);
    if (!files.refusals.isEmpty())
        CustomMegBox::waringMessageBox(&window, CommandLineFiles::tr("错误提示"),
                                       CommandLineFiles::report(files.refusals),
                                       CommandLineFiles::tr("确定"));
    return app.exec();
}
