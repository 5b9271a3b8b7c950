#include "widgets/styled/stylesheet.h"

#include <QFile>

QString StyleSheet::load(const char *name)
{
    QFile file(QStringLiteral(":/qss/%1.qss").arg(QLatin1String(name)));
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("style sheet %s is missing from the resources", name);
        return QString();
    }
    return QString::fromUtf8(file.readAll()).remove(QLatin1Char('\n'));
}
