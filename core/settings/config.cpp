#include "core/settings/config.h"

#include "core/files/inifile.h"
#include "core/files/safefile.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QSettings>

#include <variant>

Q_LOGGING_CATEGORY(lcSettings, "brisklane.settings", QtWarningMsg)

namespace {

using Member = std::variant<QByteArray Config::*, int Config::*, bool Config::*, QString Config::*,
                            QStringList Config::*>;

struct Setting
{
    const char *group;
    const char *key;
    Member member;
    QVariant fallback;
};

// Every key of settings.ini, in the order it is saved. "mainWindoState" is the key's name in the file.
const QList<Setting> &settings()
{
    static const QList<Setting> table{
        {"General", "recentFiles", &Config::recentFiles, QStringList()},
        {"General", "maxRecentFiles", &Config::maxRecentFiles, 10},
        {"General", "showReadme", &Config::showReadme, false},
        {"General", "mainWindowGeometry", &Config::mainWindowGeometry, QByteArray()},
        {"General", "mainWindoState", &Config::mainWindowState, QByteArray()},
        {"General", "language", &Config::language, QString()},
        {"Editor", "fontFamily", &Config::fontFamily, QStringLiteral("CourierNew")},
        {"Editor", "fontSize", &Config::fontSize, 12},
        {"Editor", "fontStyle", &Config::fontStyle, QStringLiteral("Normal")},
        {"Editor", "showLineNumber", &Config::showLineNumber, true},
        {"Editor", "tabIndents", &Config::tabIndents, false},
        {"Editor", "autoIndent", &Config::autoIndent, false},
        {"Editor", "backUnindent", &Config::backUnindent, false},
        {"Editor", "spaceTabs", &Config::spaceTabs, true},
        {"Editor", "indentSize", &Config::indentSize, 4},
        {"Editor", "tabSize", &Config::tabSize, 4},
        {"Editor", "whitespaces", &Config::whitespaces, false},
        {"Search&Replace", "findHistory", &Config::findHistory, QStringList()},
        {"Search&Replace", "maxHistory", &Config::maxHistory, 0},
        {"Search&Replace", "replaceHistory", &Config::replaceHistory, QStringList()},
        {"Search&Replace", "matchCase", &Config::matchCase, false},
        {"Search&Replace", "regExp", &Config::regExp, false},
        {"Screen", "width", &Config::screenWidth, 1920},
        {"Screen", "height", &Config::screenHeight, 1080},
        {"Undo", "limit", &Config::undoLimit, 100},
        {"Undo", "memoryMiB", &Config::undoMemoryMiB, 256},
        {"Window", "geometry", &Config::windowGeometry, QByteArray()},
    };
    return table;
}

// Converts as QVariant's toInt(), toBool() and the like do: a failed integer conversion gives 0.
void assign(Config &config, const Member &member, const QVariant &value)
{
    std::visit(
        [&](auto field) {
            using T = std::decay_t<decltype(config.*field)>;
            config.*field = value.value<T>();
        },
        member);
}

QVariant valueOf(const Config &config, const Member &member)
{
    return std::visit([&](auto field) { return QVariant::fromValue(config.*field); }, member);
}

// Walks the table group by group, as the settings store expects.
template <typename Visit> void forEachSetting(QSettings &store, Visit visit)
{
    QString group;
    for (const Setting &setting : settings()) {
        const QString name = QString::fromLatin1(setting.group);
        if (name != group) {
            if (!group.isEmpty())
                store.endGroup();
            store.beginGroup(name);
            group = name;
        }
        visit(setting, QString::fromLatin1(setting.key));
    }
    if (!group.isEmpty())
        store.endGroup();
}

} // namespace

QString Config::settingsPathFor(const QString &dir)
{
    return dir.endsWith(QLatin1Char('/')) ? dir + QStringLiteral("settings.ini")
                                          : dir + QStringLiteral("/settings.ini");
}

Config::Config(const QString &folder, QObject *parent) : QObject(parent), m_folder(folder)
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
    settingsPath = settingsPathFor(m_folder);
    // Made empty when missing, so that whether it can be written is known from the start; a
    // dangling link is not written through.
    if (!SafeFile::nameTaken(settingsPath))
        SafeFile::write(settingsPath, QByteArray(), nullptr);
}

bool Config::fileUsable(bool forWriting) const
{
    const QFileInfo info(settingsPath);
    return info.isFile() && (forWriting ? info.isWritable() : info.isReadable());
}

void Config::applyDefaults()
{
    for (const Setting &setting : settings())
        assign(*this, setting.member, setting.fallback);
}

void Config::load()
{
    applyDefaults();
    preparePath();
    if (!fileUsable(false))
        return;
    QSettings store(settingsPath, QSettings::IniFormat);
    forEachSetting(store, [&](const Setting &setting, const QString &key) {
        assign(*this, setting.member, store.value(key, setting.fallback));
    });
}

bool Config::save()
{
    preparePath();
    // The settings store keeps unsaved values for the whole process; they must not reach the next
    // Config when the file cannot take them.
    if (!fileUsable(true))
        return false;
    findHistory.sort(Qt::CaseSensitive);
    replaceHistory.sort(Qt::CaseSensitive);
    IniFile::Values values;
    QStringList ours;
    for (const Setting &setting : settings()) {
        const QString key =
            QString::fromLatin1(setting.group) + QLatin1Char('/') + QLatin1String(setting.key);
        values.append({key, valueOf(*this, setting.member)});
        ours.append(key);
    }
    {
        // Keys of other versions are kept as they are.
        QSettings store(settingsPath, QSettings::IniFormat);
        for (const QString &key : store.allKeys()) {
            if (!ours.contains(key))
                values.append({key, store.value(key)});
        }
    }
    // Written whole or not at all: a failed write leaves the earlier file as it was.
    QString reason;
    if (!SafeFile::write(settingsPath, IniFile::encode(values), &reason)) {
        qCWarning(lcSettings) << "settings not saved:" << settingsPath << reason;
        return false;
    }
    return true;
}
