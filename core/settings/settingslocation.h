#pragma once

#include <QString>

// Where settings.ini lives: in the user's configuration folder, wherever the program was installed
// (a user's prefix such as ~/.local/bin too: settings beside an executable are lost with the next
// install and left behind by an uninstall). Only a folder that asks for it with a file named
// "portable" beside the executable keeps settings.ini there, so that a copied folder takes its
// settings along; never the folder the build installs to (the superuser could write into /usr/bin,
// but the package manager would leave the file behind there).
class SettingsLocation
{
public:
    // The marker's name: a file of this name beside the executable asks for a portable folder.
    static QString portableMarker();
    // applicationFolder when it holds the portable marker, a new file can be made there and it is
    // not installedFolder; configFolder otherwise, made when missing.
    static QString choose(const QString &applicationFolder, const QString &configFolder,
                          const QString &installedFolder = QString());
    // choose() for this process: the executable's folder, the user's configuration folder for the
    // application, and the folder the build installs its executables to.
    static QString forApplication();
    // Tried rather than read from the permissions: they do not hold back the superuser, and a
    // read-only mount ignores them.
    static bool canWriteIn(const QString &folder);
};
