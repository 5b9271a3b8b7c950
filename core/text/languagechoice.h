#pragma once

#include <QString>

// Which language the product speaks: Chinese (the language its texts are written in) or English
// (brisklane_en.qm). The choice is made once, at start-up, from an explicit request (the command
// line's --lang, then the "language" setting) and otherwise from the system locale.
class LanguageChoice
{
public:
    enum Language
    {
        Chinese,
        English
    };

    // "zh" or "en" to its language; ok is false for anything else (case matters, as on the command line).
    static Language fromCode(const QString &code, bool *ok);
    static QString code(Language language);

    // The language for a POSIX or Windows locale name ("en_US.UTF-8", "zh-CN", "C").
    static Language forLocaleName(const QString &name);

    // The locale the system asks messages in: on Unix LC_ALL, LC_MESSAGES, LANG in that order (the C
    // library's order for messages), "C" when none is set; elsewhere QLocale::system().
    static QString systemLocaleName();

    // option before setting before the locale; an empty or unusable option or setting is passed over
    // (the command line refuses a bad --lang before this is asked).
    static Language choose(const QString &option, const QString &setting, const QString &localeName);
};
