#pragma once

#include "core/text/languagechoice.h"

#include <QString>
#include <QStringList>

class QCoreApplication;

// The editor's command line, brisklane [--lang zh|en] [FILE…], and its choice of language at
// start-up: "--lang zh|en", else the "language" key of settings.ini, else the system locale
// (LanguageChoice), never a Chinese that the installed fonts cannot draw.
class LanguageOption
{
public:
    struct Parsed
    {
        bool ok = true;
        QString value;     // "zh", "en" or empty when --lang is not given
        QString error;     // what is wrong, for ok == false
        QStringList files; // the files named on the command line
        bool help = false;
        bool version = false;
        // Options the editor does not know: Qt's own (-style, -platform) until the application
        // object has taken them out of the arguments.
        bool unknownOptions = false;
    };

    // arguments as QCoreApplication::arguments() gives them (the program name first).
    static Parsed parse(const QStringList &arguments);

    static QString helpText();
    static QString versionText();

    // What the command line settles before the application object exists (it needs no display and
    // makes no settings folder): prints the help or the version on stdout (returns 0), or a usage
    // error on stderr (returns 2). -1 when the editor is to start.
    static int answerBeforeStart(const Parsed &parsed);

    // Writes the error and the usage line on stderr; returns 2, the exit code of a usage error.
    static int usageError(const QString &error);

    // --lang when given, else the "language" key of settings.ini in settingsFolder, else the system
    // locale. parsed must be ok.
    static LanguageChoice::Language choose(const Parsed &parsed, const QString &settingsFolder);

    struct Legible
    {
        LanguageChoice::Language language;
        QString notice; // one line for stderr, empty when there is nothing to say
    };
    // The language to show when chosen is the choice and missing the Chinese characters that the
    // fonts cannot draw (CaptionCoverage): English instead of a window of empty boxes, unless Chinese
    // was asked for on the command line (optionGiven), which is kept with a warning.
    static Legible legible(LanguageChoice::Language chosen, bool optionGiven, const QString &missing);

    // Chooses the language for a command line that parsed well and installs its translations;
    // says once on stderr when the fonts changed the choice.
    static void install(QCoreApplication *application, const Parsed &parsed, const QString &settingsFolder);
};
