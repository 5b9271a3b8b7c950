#include "app/applicationicon.h"

#include <QDir>
#include <QGuiApplication>

QString ApplicationIcon::themeName()
{
    return QStringLiteral(BRISKLANE_ICON_NAME);
}

QIcon ApplicationIcon::packed()
{
    QIcon icon;
    const QDir folder(QStringLiteral(":/appicon"));
    const QStringList files = folder.entryList(QDir::Files);
    for (const QString &file : files)
        icon.addFile(folder.filePath(file));
    return icon;
}

QIcon ApplicationIcon::fromTheme(const QString &name)
{
    return QIcon::fromTheme(name, packed());
}

void ApplicationIcon::apply()
{
    QGuiApplication::setWindowIcon(fromTheme(themeName()));
}
