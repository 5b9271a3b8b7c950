#include "support/core/settingsfolder.h"

#include "core/settings/config.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace TestSupport {

bool permissionsApply()
{
    QTemporaryFile probe;
    if (!probe.open())
        return false;
    probe.setPermissions(QFileDevice::ReadOwner);
    QFile again(probe.fileName());
    const bool writable = again.open(QIODevice::WriteOnly | QIODevice::Append);
    probe.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return !writable;
}

QString SettingsFolder::file() const
{
    return Config::settingsPathFor(m_dir.path());
}

void SettingsFolder::clear() const
{
    const QString path = file();
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink()) {
        QDir(path).removeRecursively();
        return;
    }
    if (info.isFile() && !info.isSymLink())
        QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile::remove(path);
}

} // namespace TestSupport
