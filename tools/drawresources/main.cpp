// Writes the editor's own icons and arrows as PNG files below app/res, the application's and the
// OSD files' icons for the desktop below packaging/icons, and both as .ico files for Windows below
// packaging/windows. The output depends only on this code and the Qt version,
// so rerunning it reproduces the committed files.

#include "appicon.h"
#include "contactsheet.h"
#include "icofile.h"
#include "resourceimage.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    // Needs no display: the sheet's captions only need the font database.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Draws the Brisklane resource images."));
    parser.addHelpOption();
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("Resource folder (app/res)."),
                                       QStringLiteral("dir"), QStringLiteral(DRAWRESOURCES_DEFAULT_OUT));
    const QCommandLineOption sheetOption(QStringLiteral("sheet"),
                                         QStringLiteral("Also write a contact sheet of all images."),
                                         QStringLiteral("png"));
    const QCommandLineOption iconsOption(QStringLiteral("icons"),
                                         QStringLiteral("Icon theme folder of the application icon."),
                                         QStringLiteral("dir"), QStringLiteral(DRAWRESOURCES_ICONS_OUT));
    parser.addOption(outOption);
    parser.addOption(sheetOption);
    parser.addOption(iconsOption);
    parser.process(app);

    QTextStream err(stderr);
    const QString root = QDir::cleanPath(parser.value(outOption));
    const QVector<ResourceImage> resources = resourceImages();
    for (const ResourceImage &resource : resources) {
        const QString path = root + QLatin1Char('/') + resource.path;
        if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !renderResource(resource).save(path, "PNG")) {
            err << "cannot write " << path << '\n';
            return 1;
        }
    }
    err << "wrote " << resources.size() << " images below " << root << '\n';

    // The hicolor theme's layout: one folder per size, and scalable/ for the SVG.
    const QString icons = QDir::cleanPath(parser.value(iconsOption));
    QStringList iconPaths;
    for (int size : AppIcon::pngSizes())
        iconPaths << QStringLiteral("%1/%2x%2/apps/brisklane.png").arg(icons).arg(size);
    const QString svgPath = icons + QStringLiteral("/scalable/apps/brisklane.svg");
    for (const QString &path : iconPaths + QStringList{svgPath})
        QDir().mkpath(QFileInfo(path).absolutePath());
    for (int i = 0; i < iconPaths.size(); ++i) {
        if (!AppIcon::render(AppIcon::pngSizes().at(i)).save(iconPaths.at(i), "PNG")) {
            err << "cannot write " << iconPaths.at(i) << '\n';
            return 1;
        }
    }
    if (!AppIcon::writeSvg(svgPath)) {
        err << "cannot write " << svgPath << '\n';
        return 1;
    }
    err << "wrote the application icon below " << icons << '\n';

    // The OSD files' icon, once per MIME type, in the theme's mimetypes folders.
    for (const QString &name : FileIcon::names()) {
        for (int size : AppIcon::pngSizes()) {
            const QString path = QStringLiteral("%1/%2x%2/mimetypes/%3.png").arg(icons).arg(size).arg(name);
            if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !FileIcon::render(size).save(path, "PNG")) {
                err << "cannot write " << path << '\n';
                return 1;
            }
        }
        const QString path = QStringLiteral("%1/scalable/mimetypes/%2.svg").arg(icons, name);
        if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !FileIcon::writeSvg(path)) {
            err << "cannot write " << path << '\n';
            return 1;
        }
    }
    err << "wrote the OSD files' icon below " << icons << '\n';

    // The Windows icons: the executables' (and the installer's), and the OSD files'.
    const QString windows = QDir::cleanPath(QStringLiteral(DRAWRESOURCES_WINDOWS_OUT));
    QVector<QImage> appImages;
    QVector<QImage> fileImages;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        appImages << AppIcon::render(size);
        fileImages << FileIcon::render(size);
    }
    QDir().mkpath(windows);
    for (const auto &ico : {qMakePair(QStringLiteral("brisklane.ico"), appImages),
                            qMakePair(QStringLiteral("brisklane-file.ico"), fileImages)}) {
        if (!IcoFile::write(windows + QLatin1Char('/') + ico.first, ico.second)) {
            err << "cannot write " << windows << '/' << ico.first << '\n';
            return 1;
        }
    }
    err << "wrote the Windows icons below " << windows << '\n';

    if (parser.isSet(sheetOption)) {
        const QString sheetPath = parser.value(sheetOption);
        if (!renderContactSheet(resources, root).save(sheetPath, "PNG")) {
            err << "cannot write " << sheetPath << '\n';
            return 1;
        }
        err << "contact sheet " << sheetPath << '\n';
    }
    return 0;
}
