#include "core/settings/settingslocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {
bool sameFolder(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    // Canonical paths, so /bin and /usr/bin on a merged /usr are one folder.
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    const QString canonicalB = QFileInfo(b).canonicalFilePath();
    return !canonicalA.isEmpty() && canonicalA == canonicalB;
}
} // namespace

bool SettingsLocation::canWriteIn(const QString &folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".settings-probe-XXXXXX")));
    return probe.open();
}

QString SettingsLocation::portableMarker()
{
    return QStringLiteral("portable");
}

QString SettingsLocation::choose(const QString &applicationFolder, const QString &configFolder,
                                 const QString &installedFolder)
{
    const bool portable = !applicationFolder.isEmpty() &&
                          QFileInfo(QDir(applicationFolder).filePath(portableMarker())).isFile();
    if (portable && !sameFolder(applicationFolder, installedFolder) && canWriteIn(applicationFolder))
        return applicationFolder;
    QDir().mkpath(configFolder);
    return configFolder;
}

QString SettingsLocation::forApplication()
{
    return choose(QCoreApplication::applicationDirPath(),
                  QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
                  QStringLiteral(BRISKLANE_INSTALLED_BINDIR));
}
