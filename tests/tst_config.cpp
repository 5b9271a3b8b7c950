// The text editor's settings: where settings.ini lives, loading, saving and broadcasting.
#include "core/settings/config.h"
#include "support/core/settingsfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>

namespace {

void writeSettingsFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

struct Expected
{
    QString group;
    QString key;
    QVariant value;
};

// Every key the file holds after a save, with its default.
QList<Expected> defaults()
{
    const QString general = QStringLiteral("General");
    const QString editor = QStringLiteral("Editor");
    const QString search = QStringLiteral("Search&Replace");
    return {
        {general, QStringLiteral("recentFiles"), QStringList()},
        {general, QStringLiteral("maxRecentFiles"), 10},
        {general, QStringLiteral("showReadme"), false},
        {general, QStringLiteral("mainWindowGeometry"), QByteArray()},
        {general, QStringLiteral("mainWindoState"), QByteArray()},
        {general, QStringLiteral("language"), QString()},
        {editor, QStringLiteral("fontFamily"), QStringLiteral("CourierNew")},
        {editor, QStringLiteral("fontSize"), 12},
        {editor, QStringLiteral("fontStyle"), QStringLiteral("Normal")},
        {editor, QStringLiteral("showLineNumber"), true},
        {editor, QStringLiteral("tabIndents"), false},
        {editor, QStringLiteral("autoIndent"), false},
        {editor, QStringLiteral("backUnindent"), false},
        {editor, QStringLiteral("spaceTabs"), true},
        {editor, QStringLiteral("indentSize"), 4},
        {editor, QStringLiteral("tabSize"), 4},
        {editor, QStringLiteral("whitespaces"), false},
        {search, QStringLiteral("findHistory"), QStringList()},
        {search, QStringLiteral("maxHistory"), 0},
        {search, QStringLiteral("replaceHistory"), QStringList()},
        {search, QStringLiteral("matchCase"), false},
        {search, QStringLiteral("regExp"), false},
        {QStringLiteral("Screen"), QStringLiteral("width"), 1920},
        {QStringLiteral("Screen"), QStringLiteral("height"), 1080},
        {QStringLiteral("Undo"), QStringLiteral("limit"), 100},
        {QStringLiteral("Undo"), QStringLiteral("memoryMiB"), 256},
        {QStringLiteral("Window"), QStringLiteral("geometry"), QByteArray()},
    };
}

QVariant asType(const QVariant &stored, const QVariant &like)
{
    switch (like.type()) {
    case QVariant::StringList:
        return stored.toStringList();
    case QVariant::ByteArray:
        return stored.toByteArray();
    case QVariant::Int:
        return stored.toInt();
    case QVariant::Bool:
        return stored.toBool();
    default:
        return stored.toString();
    }
}

void verifyDefaults(const Config &config)
{
    QCOMPARE(config.mainWindowGeometry, QByteArray());
    QCOMPARE(config.mainWindowState, QByteArray());
    QCOMPARE(config.language, QString());
    QCOMPARE(config.maxRecentFiles, 10);
    QCOMPARE(config.recentFiles, QStringList());
    QCOMPARE(config.showReadme, false);
    QCOMPARE(config.fontFamily, QStringLiteral("CourierNew"));
    QCOMPARE(config.fontSize, 12);
    QCOMPARE(config.fontStyle, QStringLiteral("Normal"));
    QCOMPARE(config.showLineNumber, true);
    QCOMPARE(config.tabIndents, false);
    QCOMPARE(config.autoIndent, false);
    QCOMPARE(config.backUnindent, false);
    QCOMPARE(config.spaceTabs, true);
    QCOMPARE(config.indentSize, 4);
    QCOMPARE(config.tabSize, 4);
    QCOMPARE(config.whitespaces, false);
    QCOMPARE(config.maxHistory, 0);
    QCOMPARE(config.findHistory, QStringList());
    QCOMPARE(config.replaceHistory, QStringList());
    QCOMPARE(config.matchCase, false);
    QCOMPARE(config.regExp, false);
}

} // namespace

class TestConfig : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void pathFor_data();
    void pathFor();
    void settingsFileIsInTheGivenFolder();
    void missingFileIsCreatedWithDefaults();
    void savingWritesEveryKeyWithItsDefault();
    void valuesSurviveSaveAndLoad();
    void historiesAreSortedCaseSensitively();
    void storedValuesAreConverted();
    void unwritableSettingsFileKeepsDefaults();
    void reconfigBroadcastsTheReceiver();

private:
    QString settingsFile() const { return m_folder.file(); }

    TestSupport::SettingsFolder m_folder;
};

void TestConfig::init()
{
    m_folder.clear();
}

void TestConfig::pathFor_data()
{
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("path");

    QTest::newRow("plain") << "/opt/brisklane"
                           << "/opt/brisklane/settings.ini";
    QTest::newRow("trailing separator") << "/opt/brisklane/"
                                        << "/opt/brisklane/settings.ini";
    QTest::newRow("root") << "/"
                          << "/settings.ini";
    QTest::newRow("drive") << "C:/Program Files/Brisklane"
                           << "C:/Program Files/Brisklane/settings.ini";
}

void TestConfig::pathFor()
{
    QFETCH(QString, dir);
    QFETCH(QString, path);
    QCOMPARE(Config::settingsPathFor(dir), path);
}

void TestConfig::settingsFileIsInTheGivenFolder()
{
    Config config(m_folder.path());
    QCOMPARE(config.settingsPath, QDir(m_folder.path()).filePath(QStringLiteral("settings.ini")));
}

void TestConfig::missingFileIsCreatedWithDefaults()
{
    QVERIFY(!QFileInfo::exists(settingsFile()));
    Config config(m_folder.path());
    QVERIFY(QFileInfo(settingsFile()).isFile());
    verifyDefaults(config);
}

void TestConfig::savingWritesEveryKeyWithItsDefault()
{
    {
        Config config(m_folder.path());
    }

    QSettings settings(settingsFile(), QSettings::IniFormat);
    QCOMPARE(settings.status(), QSettings::NoError);
    QStringList expectedGroups;
    const QList<Expected> expected = defaults();
    for (const Expected &entry : expected) {
        if (!expectedGroups.contains(entry.group))
            expectedGroups << entry.group;
        const QString key = entry.group + QLatin1Char('/') + entry.key;
        QVERIFY2(settings.contains(key), qPrintable(key));
        QCOMPARE(asType(settings.value(key), entry.value), entry.value);
    }
    QCOMPARE(settings.allKeys().size(), expected.size());

    // The window-state key keeps its stored spelling.
    QFile file(settingsFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("mainWindoState="));
}

void TestConfig::valuesSurviveSaveAndLoad()
{
    {
        Config config(m_folder.path());
        config.mainWindowGeometry = QByteArray("\x01\x02geometry\x00", 11);
        config.mainWindowState = QByteArray("state");
        config.language = QStringLiteral("en");
        config.maxRecentFiles = 3;
        config.recentFiles = QStringList{QStringLiteral("文本编辑"), QStringLiteral("with, comma")};
        config.showReadme = true;
        config.fontFamily = QStringLiteral("DejaVu Sans");
        config.fontSize = 36;
        config.fontStyle = QStringLiteral("Bold Italic");
        config.showLineNumber = false;
        config.tabIndents = true;
        config.autoIndent = true;
        config.backUnindent = true;
        config.spaceTabs = false;
        config.indentSize = 2;
        config.tabSize = 8;
        config.whitespaces = true;
        config.maxHistory = 7;
        config.findHistory = QStringList{QStringLiteral("find")};
        config.replaceHistory = QStringList{QStringLiteral("replace")};
        config.matchCase = true;
        config.regExp = true;
    }
    Config config(m_folder.path());
    QCOMPARE(config.mainWindowGeometry, QByteArray("\x01\x02geometry\x00", 11));
    QCOMPARE(config.mainWindowState, QByteArray("state"));
    QCOMPARE(config.language, QStringLiteral("en"));
    QCOMPARE(config.maxRecentFiles, 3);
    QCOMPARE(config.recentFiles, (QStringList{QStringLiteral("文本编辑"), QStringLiteral("with, comma")}));
    QCOMPARE(config.showReadme, true);
    QCOMPARE(config.fontFamily, QStringLiteral("DejaVu Sans"));
    QCOMPARE(config.fontSize, 36);
    QCOMPARE(config.fontStyle, QStringLiteral("Bold Italic"));
    QCOMPARE(config.showLineNumber, false);
    QCOMPARE(config.tabIndents, true);
    QCOMPARE(config.autoIndent, true);
    QCOMPARE(config.backUnindent, true);
    QCOMPARE(config.spaceTabs, false);
    QCOMPARE(config.indentSize, 2);
    QCOMPARE(config.tabSize, 8);
    QCOMPARE(config.whitespaces, true);
    QCOMPARE(config.maxHistory, 7);
    QCOMPARE(config.findHistory, QStringList{QStringLiteral("find")});
    QCOMPARE(config.replaceHistory, QStringList{QStringLiteral("replace")});
    QCOMPARE(config.matchCase, true);
    QCOMPARE(config.regExp, true);
}

void TestConfig::historiesAreSortedCaseSensitively()
{
    const QStringList entered{QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("B")};
    const QStringList sorted{QStringLiteral("B"), QStringLiteral("a"), QStringLiteral("b")};
    {
        Config config(m_folder.path());
        config.findHistory = entered;
        config.replaceHistory = entered;
    }
    QSettings settings(settingsFile(), QSettings::IniFormat);
    QCOMPARE(settings.value(QStringLiteral("Search&Replace/findHistory")).toStringList(), sorted);
    QCOMPARE(settings.value(QStringLiteral("Search&Replace/replaceHistory")).toStringList(), sorted);
    Config config(m_folder.path());
    QCOMPARE(config.findHistory, sorted);
    QCOMPARE(config.replaceHistory, sorted);
}

void TestConfig::storedValuesAreConverted()
{
    // The settings store spells its "General" group [%General] in the file.
    writeSettingsFile(settingsFile(), "[%General]\nmaxRecentFiles=many\nshowReadme=true\n"
                                      "[Editor]\nfontSize=12pt\nshowLineNumber=false\nindentSize=\" 6\"\n");
    Config config(m_folder.path());
    QCOMPARE(config.maxRecentFiles, 0);
    QCOMPARE(config.fontSize, 0);
    QCOMPARE(config.indentSize, 6);
    QCOMPARE(config.showReadme, true);
    QCOMPARE(config.showLineNumber, false);
    // Keys that are missing keep their defaults.
    QCOMPARE(config.tabSize, 4);
    QCOMPARE(config.fontFamily, QStringLiteral("CourierNew"));
}

void TestConfig::unwritableSettingsFileKeepsDefaults()
{
    // A directory in the file's place can be neither read nor written, whoever runs the test.
    QVERIFY(QDir().mkpath(settingsFile()));
    {
        Config config(m_folder.path());
        verifyDefaults(config);
        config.fontSize = 99;
        config.findHistory = QStringList{QStringLiteral("z"), QStringLiteral("y")};
    }
    QVERIFY(QFileInfo(settingsFile()).isDir());
    Config config(m_folder.path());
    verifyDefaults(config);
}

void TestConfig::reconfigBroadcastsTheReceiver()
{
    Config config(m_folder.path());
    QSignalSpy spy(&config, &Config::reread);
    config.reconfig(5);
    config.reconfig(0);
    QCOMPARE(spy.size(), 2);
    QCOMPARE(spy.at(0).at(0).toInt(), 5);
    QCOMPARE(spy.at(1).at(0).toInt(), 0);
}

QTEST_GUILESS_MAIN(TestConfig)
#include "tst_config.moc"
