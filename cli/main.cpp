// brisklane-cli: makes, inspects, checks and unpacks OSD files without the editor's window.
#include "cli/checkcommand.h"
#include "cli/clicommand.h"
#include "cli/extractcommand.h"
#include "cli/infocommand.h"
#include "cli/packcommand.h"
#include "core/settings/runtimefoldernotice.h"
#include "core/text/languagechoice.h"
#include "core/text/translationinstaller.h"

#include <QGuiApplication>
#include <QLoggingCategory>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <memory>
#include <vector>

Q_LOGGING_CATEGORY(lcCli, "brisklane.cli", QtInfoMsg)

namespace {

QString usage(const std::vector<std::unique_ptr<CliCommand>> &commands)
{
    QString text = QStringLiteral("Usage: brisklane-cli COMMAND [options] ARGUMENTS...\n"
                                  "Makes, inspects, checks and unpacks OSD files (.pic, .logo).\n\n"
                                  "Commands:\n");
    for (const auto &command : commands)
        text += QStringLiteral("  %1  %2\n").arg(command->name().leftJustified(8), command->summary());
    text += QStringLiteral(
        "\nOptions:\n"
        "  -h, --help  Displays this help; 'brisklane-cli COMMAND --help' for a command.\n"
        "  --version   Displays the version.\n"
        "  --lang zh|en  The language of the refusals (before COMMAND; default: the locale).\n\n"
        "Exit codes: 0 success, 1 an input refused or an output not written, 2 usage error.");
    return text;
}

// Takes "--lang VALUE" or "--lang=VALUE" from the front of arguments (after the program name).
// Returns false when the option is there without a value.
bool takeLanguage(QStringList *arguments, QString *value, bool *given)
{
    const QString first = arguments->value(1);
    *given = first == QLatin1String("--lang") || first.startsWith(QLatin1String("--lang="));
    if (!*given)
        return true;
    if (first == QLatin1String("--lang")) {
        if (arguments->size() < 3)
            return false;
        *value = arguments->at(2);
        arguments->erase(arguments->begin() + 1, arguments->begin() + 3);
    } else {
        *value = first.mid(int(qstrlen("--lang=")));
        arguments->removeAt(1);
    }
    return true;
}

// stderr carries the tool's own messages. Qt's start-up notice that XDG_RUNTIME_DIR is not set
// (as in most pipelines and containers) is not one of them: the shared filter below this handler
// drops it; everything else goes on.
QtMessageHandler g_qtHandler = nullptr;

void withoutLibraryRemarks(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    // The PNG library's own words on a picture being written: the tool says what failed and why
    // with the file's name; theirs are diagnostics.
    if (type == QtWarningMsg && message.startsWith(QLatin1String("libpng "))) {
        qCDebug(lcCli).noquote() << message;
        return;
    }
    // The shared filter, installed first, is always there to pass the rest on.
    g_qtHandler(type, context, message);
}

} // namespace

int main(int argc, char **argv)
{
#ifdef __GLIBC__
    // Pictures of several megabytes are decoded one after the other: keep their memory for the
    // next one instead of giving it back to the system and faulting it in again, page by page.
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
#endif
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // Text is rendered without a display too: a build machine or a pipeline has none.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    // Text is measured at 96 dots per inch, a desktop's at 100 % scale, whatever display (or none)
    // the tool runs on: a pipeline gets the same pictures on every machine.
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    RuntimeFolderNotice::filterOut();
    g_qtHandler = qInstallMessageHandler(withoutLibraryRemarks);
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("brisklane-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BRISKLANE_VERSION));

    std::vector<std::unique_ptr<CliCommand>> commands;
    commands.emplace_back(new InfoCommand);
    commands.emplace_back(new CheckCommand);
    commands.emplace_back(new PackCommand);
    commands.emplace_back(new ExtractCommand);

    QStringList arguments = QCoreApplication::arguments();
    QString language;
    bool languageGiven = false;
    bool languageKnown = takeLanguage(&arguments, &language, &languageGiven);
    if (languageGiven && languageKnown)
        LanguageChoice::fromCode(language, &languageKnown);
    if (!languageKnown) {
        CliCommand::err(QStringLiteral("brisklane-cli: --lang takes zh or en"));
        return CliCommand::UsageError;
    }
    // Only the reasons the file reader and the picture loader give are translated; the tool's own
    // lines are English, the form scripts read.
    TranslationInstaller::install(
        &app, LanguageChoice::choose(language, QString(), LanguageChoice::systemLocaleName()),
        TranslationInstaller::OwnTextsOnly);
    const QString first = arguments.value(1);
    if (first == QLatin1String("-h") || first == QLatin1String("--help") || first == QLatin1String("help")) {
        CliCommand::out(usage(commands));
        return CliCommand::Success;
    }
    if (first == QLatin1String("-v") || first == QLatin1String("--version")) {
        CliCommand::out(QStringLiteral("brisklane-cli ") + QCoreApplication::applicationVersion());
        return CliCommand::Success;
    }
    for (const auto &command : commands) {
        if (command->name() == first)
            return command->run(arguments);
    }
    CliCommand::err(first.isEmpty() ? QStringLiteral("brisklane-cli: no command given")
                                    : QStringLiteral("brisklane-cli: unknown command \"%1\"").arg(first));
    CliCommand::err(usage(commands));
    return CliCommand::UsageError;
}
