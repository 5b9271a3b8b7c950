#pragma once

#include "core/text/languagechoice.h"

#include <QString>

class QCoreApplication;

// Installs the translations of a language into the application: the product's own (compiled into
// the executable under :/translations) and Qt's for its dialogs and buttons, when Qt's are installed
// on the machine. The texts are written in Chinese; the Chinese translation holds only the few the
// sources write in English (file dialog titles and filters, "OK").
class TranslationInstaller
{
public:
    // The resource that holds the product's translation into language.
    static QString resourceFor(LanguageChoice::Language language);

    enum QtTexts
    {
        WithQtTexts,  // a window's: Qt's dialogs and buttons speak the same language
        OwnTextsOnly, // the command-line tool's: Qt's help and option errors stay in English like the tool's
    };

    // Returns false when the product's translation could not be loaded; Qt's are optional.
    static bool install(QCoreApplication *application, LanguageChoice::Language language,
                        QtTexts qtTexts = WithQtTexts);
};
