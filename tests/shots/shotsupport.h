#pragma once

#include <QColor>
#include <QCommandLineOption>
#include <QDir>
#include <QImage>
#include <QSize>

class QApplication;
class QCommandLineParser;
class QWidget;
class Quillmere;

// What the screenshot programs share: their folder option, a shown main window, saving a shot.
// Messages name the program by its application name.
namespace Shots {

// "-o/--out DIR", default "screenshots".
QCommandLineOption outOption();

// The folder the parser's --out names, made if missing; false (said on stderr) when it cannot be.
bool outputFolder(const QCommandLineParser &parser, QDir *out);

// The main window at the shots' size on a 1920×1080 output screen, styled as the application is,
// with its settings in settingsFolder (away from the build folder), shown and, when asked, active
// (window shortcuts such as Ctrl+0 reach only the active window). False (said) when it never showed.
bool showMainWindow(QApplication &app, Quillmere &window, const QString &settingsFolder, bool active);

// Lets the event loop run for ms milliseconds and whatever is posted.
void settle(int ms = 100);

// Grabs window into out/name after the window has settled; false (said) when it cannot be written.
bool save(QWidget *window, const QDir &out, const QString &name);

// A diagonal gradient from one colour to another, the ground of every shot's pictures.
QImage gradientPicture(const QSize &size, const QColor &from, const QColor &to);

} // namespace Shots
