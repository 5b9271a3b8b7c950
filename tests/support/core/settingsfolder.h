#pragma once

#include <QString>
#include <QTemporaryDir>

namespace TestSupport {

// False for the superuser, under whom CI runs the tests: permissions do not hold it back.
bool permissionsApply();

// A temporary folder for settings.ini, so that tests neither touch the file beside their executable
// nor need to run one at a time.
class SettingsFolder
{
public:
    QString path() const { return m_dir.path(); }
    // settings.ini in the folder.
    QString file() const;
    // Removes whatever is at file(): a file (made writable first), a link or a directory.
    void clear() const;

private:
    QTemporaryDir m_dir;
};

} // namespace TestSupport
