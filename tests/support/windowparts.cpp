#include "support/windowparts.h"

#include <QList>
#include <QPushButton>
#include <QtGlobal>

namespace TestSupport {

QObject *windowPart(QObject &window, const QMetaObject &type, const QString &name)
{
    QList<QObject *> found;
    const QList<QObject *> named = window.findChildren<QObject *>(name);
    for (QObject *object : named) {
        if (type.cast(object))
            found.append(object);
    }
    // A qFatal names the running test function, where a null pointer would only crash it later.
    if (found.size() != 1) {
        const QString part = name.isNull()
                                 ? QString::fromLatin1(type.className())
                                 : QStringLiteral("%1 \"%2\"").arg(QLatin1String(type.className()), name);
        qFatal("%s: %d found in %s, the test needs exactly one", qPrintable(part), int(found.size()),
               qPrintable(window.objectName()));
    }
    return found.first();
}

TableWidgetEx *tabList(QWidget &window)
{
    return windowPart<TableWidgetEx>(window);
}

PropertyPanel *propertyPanel(QWidget &window)
{
    return windowPart<PropertyPanel>(window);
}

CustomToolButton *toolBarButton(QWidget &window, const QString &name)
{
    return windowPart<CustomToolButton>(*windowPart<QPushButton>(window, name));
}

} // namespace TestSupport
