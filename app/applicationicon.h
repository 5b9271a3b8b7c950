#pragma once

#include <QIcon>
#include <QString>

// The editor's icon for its windows and the task switcher: the installed icon theme's, which the
// desktop entry names too, else the one packed into the executable (a build run from its folder, a
// theme without the icon).
class ApplicationIcon
{
public:
    // The name the icon is installed under (share/icons/hicolor/SIZE/apps/NAME.png).
    static QString themeName();
    // Every size of the packed icon.
    static QIcon packed();
    // The theme's icon called name, else packed().
    static QIcon fromTheme(const QString &name);
    // Sets fromTheme(themeName()) as the icon of every window of the application.
    static void apply();
};
