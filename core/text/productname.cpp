#include "core/text/productname.h"

#include <QFileInfo>

QString ProductName::name()
{
    return QStringLiteral("Brisklane");
}

QString ProductName::version()
{
    return QStringLiteral(BRISKLANE_VERSION);
}

QString ProductName::windowTitle(const QString &filePath, bool marked)
{
    const QString product = name() + QLatin1Char(' ') + version();
    // The file first: a task bar that cuts the title short still shows which file it is.
    const QString file = QFileInfo(filePath).fileName();
    if (file.isEmpty())
        return product;
    return file + (marked ? QStringLiteral("[*]") : QString()) + QStringLiteral(" \u2014 ") + product;
}
