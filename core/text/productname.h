#pragma once

#include <QString>

// The product's name and version as the window and the command line show them. The version is
// the project's (CMake's PROJECT_VERSION), so a release changes it in one place.
class ProductName
{
public:
    static QString name();
    static QString version();
    // "Brisklane 1.0.0", or "name.pic — Brisklane 1.0.0" with the OSD file last opened or saved.
    // With marked, "[*]" follows the file's name: the window shows its unsaved mark there.
    static QString windowTitle(const QString &filePath = QString(), bool marked = false);
};
