#include "app/applicationstylesheet.h"

#include <QApplication>
#include <QFile>

QString ApplicationStyleSheet::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray bytes = file.readAll();
    file.close();
    const int zero = bytes.indexOf('\0');
    return QString::fromLatin1(zero < 0 ? bytes : bytes.left(zero));
}

bool ApplicationStyleSheet::apply(QApplication &app, const QString &path)
{
    const QString styleSheet = read(path);
    if (styleSheet.isNull())
        return false;
    app.setStyleSheet(styleSheet);
    return true;
}
