#include "textexport/config.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

QString Config::settingsPathFor(const QString &dir)
{
    return dir.endsWith(QLatin1Char('/')) ? dir + QStringLiteral("settings.ini")
                                          : dir + QStringLiteral("/settings.ini");
}

Config::Config(QObject *parent) : QObject(parent)
{
    load();
}

Config::~Config()
{
    save();
}

void Config::reconfig(int receiver)
{
    emit reread(receiver);
}

void Config::preparePath()
{
    settingsPath = settingsPathFor(QCoreApplication::applicationDirPath());
    if (!QFileInfo::exists(settingsPath)) {
        QFile file(settingsPath);
        if (file.open(QIODevice::ReadWrite | QIODevice::Truncate | QIODevice::Text))
            file.close();
    }
}

bool Config::fileUsable(bool forWriting) const
{
    const QFileInfo info(settingsPath);
    return info.isFile() && (forWriting ? info.isWritable() : info.isReadable());
}

void Config::load()
{
    preparePath();
    if (!fileUsable(false))
        return;
    QSettings settings(settingsPath, QSettings::IniFormat);

    settings.beginGroup(QStringLiteral("General"));
    recentFiles = settings.value(QStringLiteral("recentFiles"), QStringList()).toStringList();
    maxRecentFiles = settings.value(QStringLiteral("maxRecentFiles"), 10).toInt();
    showReadme = settings.value(QStringLiteral("showReadme"), false).toBool();
    mainWindowGeometry = settings.value(QStringLiteral("mainWindowGeometry"), QByteArray()).toByteArray();
    mainWindowState = settings.value(QStringLiteral("mainWindoState"), QByteArray()).toByteArray();
    settings.endGroup();

    settings.beginGroup(QStringLiteral("Editor"));
    fontFamily = settings.value(QStringLiteral("fontFamily"), QStringLiteral("CourierNew")).toString();
    fontSize = settings.value(QStringLiteral("fontSize"), 12).toInt();
    fontStyle = settings.value(QStringLiteral("fontStyle"), QStringLiteral("Normal")).toString();
    showLineNumber = settings.value(QStringLiteral("showLineNumber"), true).toBool();
    tabIndents = settings.value(QStringLiteral("tabIndents"), false).toBool();
    autoIndent = settings.value(QStringLiteral("autoIndent"), false).toBool();
    backUnindent = settings.value(QStringLiteral("backUnindent"), false).toBool();
    spaceTabs = settings.value(QStringLiteral("spaceTabs"), true).toBool();
    indentSize = settings.value(QStringLiteral("indentSize"), 4).toInt();
    tabSize = settings.value(QStringLiteral("tabSize"), 4).toInt();
    whitespaces = settings.value(QStringLiteral("whitespaces"), false).toBool();
    settings.endGroup();

    settings.beginGroup(QStringLiteral("Search&Replace"));
    findHistory = settings.value(QStringLiteral("findHistory"), QStringList()).toStringList();
    replaceHistory = settings.value(QStringLiteral("replaceHistory"), QStringList()).toStringList();
    maxHistory = settings.value(QStringLiteral("maxHistory"), 0).toInt();
    matchCase = settings.value(QStringLiteral("matchCase"), false).toBool();
    regExp = settings.value(QStringLiteral("regExp"), false).toBool();
    settings.endGroup();
}

void Config::save()
{
    preparePath();
    // The settings store keeps unsaved values for the whole process; they must not reach the next
    // Config when the file cannot take them.
    if (!fileUsable(true))
        return;
    QSettings settings(settingsPath, QSettings::IniFormat);

    settings.beginGroup(QStringLiteral("General"));
    settings.setValue(QStringLiteral("recentFiles"), recentFiles);
    settings.setValue(QStringLiteral("maxRecentFiles"), maxRecentFiles);
    settings.setValue(QStringLiteral("showReadme"), showReadme);
    settings.setValue(QStringLiteral("mainWindowGeometry"), mainWindowGeometry);
    settings.setValue(QStringLiteral("mainWindoState"), mainWindowState);
    settings.endGroup();

    settings.beginGroup(QStringLiteral("Editor"));
    settings.setValue(QStringLiteral("fontFamily"), fontFamily);
    settings.setValue(QStringLiteral("fontSize"), fontSize);
    settings.setValue(QStringLiteral("fontStyle"), fontStyle);
    settings.setValue(QStringLiteral("showLineNumber"), showLineNumber);
    settings.setValue(QStringLiteral("tabIndents"), tabIndents);
    settings.setValue(QStringLiteral("autoIndent"), autoIndent);
    settings.setValue(QStringLiteral("backUnindent"), backUnindent);
    settings.setValue(QStringLiteral("spaceTabs"), spaceTabs);
    settings.setValue(QStringLiteral("indentSize"), indentSize);
    settings.setValue(QStringLiteral("tabSize"), tabSize);
    settings.setValue(QStringLiteral("whitespaces"), whitespaces);
    settings.endGroup();

    settings.beginGroup(QStringLiteral("Search&Replace"));
    findHistory.sort(Qt::CaseSensitive);
    replaceHistory.sort(Qt::CaseSensitive);
    settings.setValue(QStringLiteral("findHistory"), findHistory);
    settings.setValue(QStringLiteral("maxHistory"), maxHistory);
    settings.setValue(QStringLiteral("replaceHistory"), replaceHistory);
    settings.setValue(QStringLiteral("matchCase"), matchCase);
    settings.setValue(QStringLiteral("regExp"), regExp);
    settings.endGroup();
    settings.sync();
}
