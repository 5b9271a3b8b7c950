#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class OSDItem;
class Quillmere;

namespace TestSupport {

// Picture i: a colour of its own, and its number drawn as a bar code in the first rows, so that a
// picture that lands in the wrong tab shows.
QImage recordPicture(int i, const QSize &size);

// An OSD file of count small records, every seventh a text item; record i shows recordPicture(i)
// at (i, -i).
void writeSmallRecords(const QString &path, int count);

// Pages of closed tabs go with deferred deletion, and their scenes follow them the same way.
void flushDeferredDeletes();

// What the import button does once the operator has chosen path.
void importFile(Quillmere &w, const QString &path);

// Presses the import button, whose file dialog the caller answers; unsaved work, which the window
// offers for saving first, is given up.
void pressImportButton(Quillmere &w);

// The one item of tab's scene, or null when it holds none or several.
OSDItem *onlyItem(Quillmere &w, int tab);

} // namespace TestSupport
