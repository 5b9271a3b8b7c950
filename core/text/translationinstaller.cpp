#include "core/text/translationinstaller.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

QString TranslationInstaller::resourceFor(LanguageChoice::Language language)
{
    // The Chinese translation holds only the few texts the sources write in English.
    return language == LanguageChoice::English ? QStringLiteral(":/translations/brisklane_en.qm")
                                               : QStringLiteral(":/translations/brisklane_zh.qm");
}

bool TranslationInstaller::install(QCoreApplication *application, LanguageChoice::Language language,
                                   QtTexts qtTexts)
{
    // Qt's own texts (the file, colour and font dialogs, standard buttons) in the same language;
    // "qt_zh_CN" gathers qtbase and the other modules' catalogues.
    if (qtTexts == WithQtTexts) {
        auto *qt = new QTranslator(application);
        const QString qtName =
            language == LanguageChoice::English ? QStringLiteral("qt_en") : QStringLiteral("qt_zh_CN");
        if (qt->load(qtName, QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(qt);
        else
            delete qt;
    }

    const QString own = resourceFor(language);
    if (own.isEmpty())
        return true;
    auto *translator = new QTranslator(application);
    if (!translator->load(own)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}
