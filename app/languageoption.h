#pragma once

#include "core/text/languagechoice.h"

#include <QString>
#include <QStringList>

class QCoreApplication;

// The editor's choice of language at start-up: "--lang zh|en" on the command line, else the
// "language" key of settings.ini, else the system locale (LanguageChoice).
class LanguageOption
{
public:
    struct Parsed
    {
        bool ok = true;
        QString value;     // "zh", "en" or empty when --lang is not given
        QString error;     // what is wrong, for ok == false
        QStringList files; // the files named on the command line
    };

    // arguments as QCoreApplication::arguments() gives them (the program name first).
    static Parsed parse(const QStringList &arguments);

    // --lang when given, else the "language" key of settings.ini in settingsFolder, else the system
    // locale. parsed must be ok.
    static LanguageChoice::Language choose(const Parsed &parsed, const QString &settingsFolder);

    // Chooses the language for the application's command line and installs its translations. Returns 0, or 2
    // (a usage error) after writing the reason on stderr.
    static int install(QCoreApplication *application, const QString &settingsFolder);
};
