#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVariant>

class OSDImageCutDLL;
class OSDItem;
class QGraphicsScene;
class SpinBoxEx;

namespace TestSupport {

// The cut panel's window field 'X', 'Y', 'W' or 'H'.
SpinBoxEx *field(OSDImageCutDLL &panel, char name);

// The four window fields' values: x, y, width, height.
QList<int> fields(OSDImageCutDLL &panel);

// A field that shows its value refused, and one that shows it accepted.
bool isRed(SpinBoxEx *box);
bool isPlain(SpinBoxEx *box);

// Types into a field as the operator does: everything selected, then the digits one by one.
void typeInto(SpinBoxEx *box, const QString &digits);

// Places the window through the fields, start first, as the operator would.
void placeWindow(OSDImageCutDLL &panel, const QRect &window);

// Gives the panel the picture and shows it; true once it is exposed.
bool openPanel(OSDImageCutDLL &panel, const QSize &osdSize, const QImage &picture,
               bool selectOSDSize = false);

// What OK handed on, or an empty list.
QList<QVariant> pressOk(OSDImageCutDLL &panel);

// Opens the item's context menu as a right click would.
void openContextMenu(QGraphicsScene &scene, OSDItem *item);

} // namespace TestSupport
