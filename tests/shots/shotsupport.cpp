#include "shots/shotsupport.h"

#include "app/applicationstylesheet.h"
#include "mainwindow/quillmere.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLinearGradient>
#include <QPainter>
#include <QTest>
#include <QTextStream>

#include <cstdio>

namespace Shots {

namespace {

void say(const QString &what)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), qPrintable(what));
}

} // namespace

QCommandLineOption outOption()
{
    return QCommandLineOption(QStringList{QStringLiteral("o"), QStringLiteral("out")},
                              QStringLiteral("Folder for the PNG files (made if missing)."),
                              QStringLiteral("DIR"), QStringLiteral("screenshots"));
}

bool outputFolder(const QCommandLineParser &parser, QDir *out)
{
    *out = QDir(parser.value(QStringLiteral("out")));
    if (out->mkpath(QStringLiteral(".")))
        return true;
    say(QStringLiteral("could not make ") + out->path());
    return false;
}

bool showMainWindow(QApplication &app, Quillmere &window, const QString &settingsFolder, bool active)
{
    window.setSettingsFolder(settingsFolder);
    window.setOutputScreenSize(QSize(1920, 1080));
    ApplicationStyleSheet::apply(app);
    window.resize(1100, 700);
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowExposed(&window) || (active && !QTest::qWaitForWindowActive(&window))) {
        say(QStringLiteral("the window was never shown"));
        return false;
    }
    settle();
    return true;
}

void settle(int ms)
{
    QTest::qWait(ms);
    QCoreApplication::processEvents();
}

bool save(QWidget *window, const QDir &out, const QString &name)
{
    settle();
    const QString path = out.filePath(name);
    if (!window || !window->grab().save(path)) {
        say(QStringLiteral("could not write ") + path);
        return false;
    }
    QTextStream(stdout) << path << '\n';
    return true;
}

QImage gradientPicture(const QSize &size, const QColor &from, const QColor &to)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient gradient(0, 0, size.width(), size.height());
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    p.fillRect(image.rect(), gradient);
    return image;
}

} // namespace Shots
