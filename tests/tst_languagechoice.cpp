// The choice of language: locale names, the order of the requests, the environment the system
// locale is read from, and what installing a language does to the texts.
#include "core/text/languagechoice.h"
#include "core/text/translationinstaller.h"

#include <QCoreApplication>
#include <QtTest>

Q_DECLARE_METATYPE(LanguageChoice::Language)

namespace {

// Sets (or, for a null value, unsets) an environment variable for the life of the object.
class ScopedVariable
{
public:
    ScopedVariable(const char *name, const QByteArray &value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedVariable()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

} // namespace

class TestLanguageChoice : public QObject
{
    Q_OBJECT
private slots:
    void forLocaleName_data();
    void forLocaleName();
    void codes_data();
    void codes();
    void requestsComeBeforeTheLocale_data();
    void requestsComeBeforeTheLocale();
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    void systemLocaleFollowsTheMessagesOrder_data();
    void systemLocaleFollowsTheMessagesOrder();
#endif
    void installingSetsTheTexts();
};

void TestLanguageChoice::forLocaleName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<LanguageChoice::Language>("expected");
    const auto en = LanguageChoice::English;
    const auto zh = LanguageChoice::Chinese;
    QTest::newRow("en") << "en" << en;
    QTest::newRow("en_US") << "en_US" << en;
    QTest::newRow("en_GB.UTF-8") << "en_GB.UTF-8" << en;
    QTest::newRow("en_IE@euro") << "en_IE@euro" << en;
    QTest::newRow("zh_CN") << "zh_CN" << zh;
    QTest::newRow("zh_TW.UTF-8") << "zh_TW.UTF-8" << zh;
    QTest::newRow("Windows zh-CN") << "zh-CN" << zh;
    QTest::newRow("C") << "C" << zh;
    QTest::newRow("C.UTF-8") << "C.UTF-8" << zh;
    QTest::newRow("POSIX") << "POSIX" << zh;
    QTest::newRow("none") << "" << zh;
    // No translation of its own: English is the likelier language of a non-Chinese reader.
    QTest::newRow("de_DE") << "de_DE.UTF-8" << en;
    QTest::newRow("fr_FR") << "fr_FR" << en;
    QTest::newRow("ja_JP") << "ja_JP.UTF-8" << en;
}

void TestLanguageChoice::forLocaleName()
{
    QFETCH(QString, name);
    QFETCH(LanguageChoice::Language, expected);
    QCOMPARE(LanguageChoice::forLocaleName(name), expected);
}

void TestLanguageChoice::codes_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("known");
    QTest::addColumn<LanguageChoice::Language>("language");
    QTest::newRow("zh") << "zh" << true << LanguageChoice::Chinese;
    QTest::newRow("en") << "en" << true << LanguageChoice::English;
    QTest::newRow("upper case") << "EN" << false << LanguageChoice::Chinese;
    QTest::newRow("a locale is not a code") << "en_US" << false << LanguageChoice::Chinese;
    QTest::newRow("empty") << "" << false << LanguageChoice::Chinese;
}

void TestLanguageChoice::codes()
{
    QFETCH(QString, code);
    QFETCH(bool, known);
    QFETCH(LanguageChoice::Language, language);
    bool ok = !known;
    const LanguageChoice::Language found = LanguageChoice::fromCode(code, &ok);
    QCOMPARE(ok, known);
    if (known) {
        QCOMPARE(found, language);
        QCOMPARE(LanguageChoice::code(found), code);
    }
}

void TestLanguageChoice::requestsComeBeforeTheLocale_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<LanguageChoice::Language>("expected");
    const auto en = LanguageChoice::English;
    const auto zh = LanguageChoice::Chinese;
    QTest::newRow("the option beats the setting") << "zh"
                                                  << "en"
                                                  << "en_US" << zh;
    QTest::newRow("the option beats the locale") << "en"
                                                 << ""
                                                 << "C" << en;
    QTest::newRow("the setting beats the locale") << ""
                                                  << "en"
                                                  << "zh_CN" << en;
    QTest::newRow("a setting with spaces around") << ""
                                                  << " zh "
                                                  << "en_US" << zh;
    QTest::newRow("an unusable setting is passed over") << ""
                                                        << "english"
                                                        << "C" << zh;
    QTest::newRow("nothing asked: the locale") << ""
                                               << ""
                                               << "en_US.UTF-8" << en;
}

void TestLanguageChoice::requestsComeBeforeTheLocale()
{
    QFETCH(QString, option);
    QFETCH(QString, setting);
    QFETCH(QString, locale);
    QFETCH(LanguageChoice::Language, expected);
    QCOMPARE(LanguageChoice::choose(option, setting, locale), expected);
}

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
void TestLanguageChoice::systemLocaleFollowsTheMessagesOrder_data()
{
    QTest::addColumn<QByteArray>("all");
    QTest::addColumn<QByteArray>("messages");
    QTest::addColumn<QByteArray>("lang");
    QTest::addColumn<QString>("expected");
    QTest::newRow("LC_ALL first") << QByteArray("C") << QByteArray("en_US") << QByteArray("en_GB") << "C";
    QTest::newRow("then LC_MESSAGES")
        << QByteArray() << QByteArray("en_US") << QByteArray("zh_CN") << "en_US";
    QTest::newRow("then LANG") << QByteArray() << QByteArray() << QByteArray("zh_CN.UTF-8") << "zh_CN.UTF-8";
    QTest::newRow("an empty variable counts as unset")
        << QByteArray("") << QByteArray() << QByteArray("en_US") << "en_US";
    QTest::newRow("none: C") << QByteArray() << QByteArray() << QByteArray() << "C";
}

void TestLanguageChoice::systemLocaleFollowsTheMessagesOrder()
{
    QFETCH(QByteArray, all);
    QFETCH(QByteArray, messages);
    QFETCH(QByteArray, lang);
    QFETCH(QString, expected);
    const ScopedVariable a("LC_ALL", all);
    const ScopedVariable m("LC_MESSAGES", messages);
    const ScopedVariable l("LANG", lang);
    QCOMPARE(LanguageChoice::systemLocaleName(), expected);
}
#endif

void TestLanguageChoice::installingSetsTheTexts()
{
    const auto caption = [] { return QCoreApplication::translate("Quillmere", "导入", "toolbar"); };
    const auto reason = [] { return QCoreApplication::translate("OsdFileError", "文件为空"); };
    QCOMPARE(caption(), QStringLiteral("导入"));
    // Chinese is the texts' own language: nothing of the product's is loaded.
    QVERIFY(TranslationInstaller::install(QCoreApplication::instance(), LanguageChoice::Chinese));
    QCOMPARE(caption(), QStringLiteral("导入"));
    QCOMPARE(reason(), QStringLiteral("文件为空"));
    QVERIFY(TranslationInstaller::install(QCoreApplication::instance(), LanguageChoice::English));
    QCOMPARE(caption(), QStringLiteral("Import"));
    QCOMPARE(reason(), QStringLiteral("the file is empty"));
}

QTEST_GUILESS_MAIN(TestLanguageChoice)
#include "tst_languagechoice.moc"
