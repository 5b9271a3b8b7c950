#include "support/importing.h"

#include "interfaces/device/control.h"
#include "interfaces/device/osdfile.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "support/quillmereaccess.h"
#include "support/records.h"
#include "support/testsupport.h"

#include <QCoreApplication>
#include <QGraphicsScene>
#include <QtTest>

namespace TestSupport {

QImage recordPicture(int i, const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(qRgb((i * 53) & 0xFF, (i * 101) & 0xFF, (i * 29 + 7) & 0xFF));
    for (int bit = 0; bit < 8; ++bit) {
        const QRgb mark = (i >> bit) & 1 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
        for (int y = 0; y < qMin(4, size.height()); ++y) {
            for (int x = bit * 4; x < qMin(bit * 4 + 4, size.width()); ++x)
                image.setPixel(x, y, mark);
        }
    }
    return image;
}

void writeSmallRecords(const QString &path, int count)
{
    Records made;
    for (int i = 0; i < count; ++i) {
        const QImage image = recordPicture(i, QSize(32, 8));
        if (i % 7 == 3)
            made.addText(image, QPoint(i, -i), QString::number(i));
        else
            made.addPicture(image, QPoint(i, -i));
    }
    OsdFileError error;
    QVERIFY2(OsdFile::write(path, made.records, made.sources, &error), qPrintable(error.message()));
}

void flushDeferredDeletes()
{
    for (int pass = 0; pass < 3; ++pass)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void importFile(Quillmere &w, const QString &path)
{
    Control *control = Control::getInstance();
    QVERIFY2(control->prepareOSDfiles({path}), qPrintable(control->errorString()));
    QuillmereTestAccess::resetTabs(w);
    QVERIFY2(control->loadOSDfile(path), qPrintable(control->errorString()));
    control->discardPrepared();
    QuillmereTestAccess::rebuildFromDataModel(w);
    QCoreApplication::processEvents();
    flushDeferredDeletes();
}

void pressImportButton(Quillmere &w)
{
    if (w.hasUnexportedChanges())
        answerNextModal(QStringLiteral("不保存"));
    w.slot_inputButten();
}

OSDItem *onlyItem(Quillmere &w, int tab)
{
    QGraphicsScene *scene = QuillmereTestAccess::scene(w, tab);
    if (!scene || scene->items().size() != 1)
        return nullptr;
    return dynamic_cast<OSDItem *>(scene->items().first());
}

} // namespace TestSupport
