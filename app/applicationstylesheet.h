#pragma once

#include <QString>

class QApplication;

// The application-wide style sheet (scroll bars and the standard dialogs), read from the application's
// resources.
class ApplicationStyleSheet
{
public:
    static constexpr const char *resourcePath = ":/qss/quillmere.qss";

    // The file's bytes up to the first zero byte, as Latin-1; a null string when it cannot be opened.
    static QString read(const QString &path);

    // Installs the style sheet when it can be read; a missing file is silently skipped.
    static bool apply(QApplication &app, const QString &path = QString::fromLatin1(resourcePath));
};
