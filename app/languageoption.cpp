#include "app/languageoption.h"

#include "core/settings/config.h"
#include "core/text/captioncoverage.h"
#include "core/text/productname.h"
#include "core/text/translationinstaller.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {
void print(FILE *stream, const QString &text)
{
    std::fputs(text.toUtf8().constData(), stream);
}
} // namespace

int LanguageOption::usageError(const QString &error)
{
    print(stderr, QStringLiteral("brisklane: %1\nUsage: brisklane [--lang zh|en] [FILE\u2026]\n").arg(error));
    return 2;
}

LanguageOption::Parsed LanguageOption::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption lang(QStringLiteral("lang"), QStringLiteral("The language: zh or en."),
                                  QStringLiteral("zh|en"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Version."));
    parser.addOptions({lang, help, version});
    Parsed parsed;
    // The command line is read before any language is chosen, so its complaints stay in English.
    const bool parsedWell = parser.parse(arguments);
    parsed.help = parser.isSet(help);
    parsed.version = parser.isSet(version);
    if (!parsedWell) {
        parsed.ok = false;
        parsed.error = parser.errorText();
        parsed.unknownOptions = !parser.unknownOptionNames().isEmpty();
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

QString LanguageOption::helpText()
{
    // Kept to the layout help2man reads: usage, description, options.
    return QStringLiteral(
        "Usage: brisklane [--lang zh|en] [FILE\u2026]\n"
        "Edits the on-screen-display overlays of a video controller: pictures and texts, placed, cut\n"
        "and colour-keyed, exported into .pic or .logo files for the device.\n"
        "Each FILE (an OSD file, .pic or .logo) is imported at start-up, as the import button does.\n"
        "\n"
        "Options:\n"
        "  --lang zh|en   The language of the window: Chinese or English (default: the \"language\"\n"
        "                 key of settings.ini, else the system locale; English when no installed\n"
        "                 font can show Chinese).\n"
        "  -h, --help     Displays this help.\n"
        "  -v, --version  Displays the version.\n");
}

QString LanguageOption::versionText()
{
    return QStringLiteral("brisklane %1\n").arg(ProductName::version());
}

int LanguageOption::answerBeforeStart(const Parsed &parsed)
{
    // Asked for help, the operator gets it even beside a mistake.
    if (parsed.help) {
        print(stdout, helpText());
        return 0;
    }
    if (parsed.version) {
        print(stdout, versionText());
        return 0;
    }
    // An unknown option may be Qt's own, which only the application object takes.
    if (!parsed.ok && !parsed.unknownOptions)
        return usageError(parsed.error);
    return -1;
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

LanguageOption::Legible LanguageOption::legible(LanguageChoice::Language chosen, bool optionGiven,
                                                const QString &missing)
{
    if (chosen != LanguageChoice::Chinese || missing.isEmpty())
        return {chosen, QString()};
    // Asked for by name it is kept: the operator may be about to install the fonts, or know
    // better than the check. A setting may come from another machine (settings.ini travels with a
    // copied folder), and a locale says nothing about the fonts.
    if (optionGiven)
        return {chosen,
                QStringLiteral("brisklane: the installed fonts cannot show Chinese, so the window will show "
                               "empty boxes; install fonts-noto-cjk")};
    return {LanguageChoice::English,
            QStringLiteral("brisklane: the installed fonts cannot show Chinese, so the "
                           "window speaks English; install fonts-noto-cjk, or choose "
                           "with --lang zh|en")};
}

void LanguageOption::install(QCoreApplication *application, const Parsed &parsed,
                             const QString &settingsFolder)
{
    LanguageChoice::Language language = choose(parsed, settingsFolder);
    // The fonts are looked at only when they could change the choice.
    if (language == LanguageChoice::Chinese) {
        const Legible shown =
            legible(language, !parsed.value.isEmpty(), CaptionCoverage::missingForApplication());
        if (!shown.notice.isEmpty())
            print(stderr, shown.notice + QLatin1Char('\n'));
        language = shown.language;
    }
    TranslationInstaller::install(application, language);
}
