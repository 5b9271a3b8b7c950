#pragma once

#include "mainwindow/propertypanel.h"
#include "widgets/customtoolbutton.h"
#include "widgets/styled/tablewidgetex.h"

#include <QMetaObject>
#include <QObject>
#include <QString>

class QWidget;

namespace TestSupport {

// The part of a window of type T with the object name name, found through the object tree as a
// user's tools find it; with no name, the one part of that type. A part that is missing, or not the
// only one of its kind, ends the test with a message naming it.
QObject *windowPart(QObject &window, const QMetaObject &type, const QString &name);
template <typename T> T *windowPart(QObject &window, const QString &name = QString())
{
    return static_cast<T *>(windowPart(window, T::staticMetaObject, name));
}

// The main window's parts that most tests use: its tab list, its property panel, and a toolbar
// button (the picture with its caption) by the object name of the button holding it.
TableWidgetEx *tabList(QWidget &window);
PropertyPanel *propertyPanel(QWidget &window);
CustomToolButton *toolBarButton(QWidget &window, const QString &name);

} // namespace TestSupport
