#include "app/languageoption.h"

#include "core/text/translationinstaller.h"
#include "textexport/config.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

LanguageOption::Parsed LanguageOption::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption lang(QStringLiteral("lang"), QStringLiteral("The language: zh or en."),
                                  QStringLiteral("zh|en"));
    parser.addOption(lang);
    Parsed parsed;
    // The command line is read before any language is chosen, so its complaints stay in English.
    if (!parser.parse(arguments)) {
        parsed.ok = false;
        parsed.error = parser.errorText();
        return parsed;
    }
    parsed.value = parser.value(lang);
    parsed.files = parser.positionalArguments();
    bool known = false;
    LanguageChoice::fromCode(parsed.value, &known);
    if (parser.isSet(lang) && !known) {
        parsed.ok = false;
        parsed.error = QStringLiteral("Unknown language \"%1\" for --lang: use zh or en.").arg(parsed.value);
    }
    return parsed;
}

LanguageChoice::Language LanguageOption::choose(const Parsed &parsed, const QString &settingsFolder)
{
    QString setting;
    // The settings are read only when they decide: reading them writes settings.ini back.
    if (parsed.value.isEmpty()) {
        const Config config(settingsFolder);
        setting = config.language;
    }
    return LanguageChoice::choose(parsed.value, setting, LanguageChoice::systemLocaleName());
}

int LanguageOption::install(QCoreApplication *application, const QString &settingsFolder)
{
    const Parsed parsed = parse(QCoreApplication::arguments());
    if (!parsed.ok) {
        const QByteArray text = (QCoreApplication::applicationName() + QStringLiteral(": ") + parsed.error +
                                 QStringLiteral("\nUsage: brisklane [--lang zh|en]\n"))
                                    .toUtf8();
        std::fputs(text.constData(), stderr);
        return 2;
    }
    TranslationInstaller::install(application, choose(parsed, settingsFolder));
    return 0;
}
