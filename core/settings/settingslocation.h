#pragma once

#include <QString>

// Where settings.ini lives. Beside the executable first, so that a program copied with its folder
// takes its settings along; in the user's configuration folder when the executable's folder cannot
// take a file, or when the program is the installed one (the superuser could write into /usr/bin,
// but the package manager would leave the file behind there).
class SettingsLocation
{
public:
    // applicationFolder when a new file can be made there and it is not installedFolder;
    // configFolder otherwise, made when missing.
    static QString choose(const QString &applicationFolder, const QString &configFolder,
                          const QString &installedFolder = QString());
    // choose() for this process: the executable's folder, the user's configuration folder for the
    // application, and the folder the build installs its executables to.
    static QString forApplication();
    // Tried rather than read from the permissions: they do not hold back the superuser, and a
    // read-only mount ignores them.
    static bool canWriteIn(const QString &folder);
};
