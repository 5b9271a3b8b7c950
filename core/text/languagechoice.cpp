#include "core/text/languagechoice.h"

#include <QLocale>
#include <QtGlobal>

LanguageChoice::Language LanguageChoice::fromCode(const QString &code, bool *ok)
{
    *ok = code == QLatin1String("zh") || code == QLatin1String("en");
    return code == QLatin1String("en") ? English : Chinese;
}

QString LanguageChoice::code(Language language)
{
    return language == English ? QStringLiteral("en") : QStringLiteral("zh");
}

LanguageChoice::Language LanguageChoice::forLocaleName(const QString &name)
{
    // "en_US.UTF-8@euro" -> "en"; Windows writes "zh-CN".
    const QString language = name.section(QLatin1Char('.'), 0, 0)
                                 .section(QLatin1Char('@'), 0, 0)
                                 .section(QLatin1Char('_'), 0, 0)
                                 .section(QLatin1Char('-'), 0, 0)
                                 .toLower();
    // The C and POSIX locales (and no locale at all) are what a bare system, a service or a build
    // machine runs under, not a reader's choice: they keep the product's own language.
    if (language.isEmpty() || language == QLatin1String("c") || language == QLatin1String("posix") ||
        language == QLatin1String("zh"))
        return Chinese;
    // Every other language has no translation of its own; a reader of German or French is far more
    // likely to read English than Chinese.
    return English;
}

QString LanguageChoice::systemLocaleName()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return value;
    }
    return QStringLiteral("C");
#else
    return QLocale::system().name();
#endif
}

LanguageChoice::Language LanguageChoice::choose(const QString &option, const QString &setting,
                                                const QString &localeName)
{
    for (const QString &request : {option, setting}) {
        bool ok = false;
        const Language language = fromCode(request.trimmed(), &ok);
        if (ok)
            return language;
    }
    return forLocaleName(localeName);
}
