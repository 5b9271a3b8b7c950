#include "support/cutpanelsupport.h"

#include "imagecut/osdimagecutdll.h"
#include "osditem/osditem.h"
#include "widgets/styled/spinboxex.h"
#include "widgets/styled/toolbuttonex.h"

#include <QGraphicsScene>
#include <QGraphicsSceneContextMenuEvent>
#include <QPixmap>
#include <QSignalSpy>
#include <QtTest>

namespace TestSupport {

SpinBoxEx *field(OSDImageCutDLL &panel, char name)
{
    return panel.findChild<SpinBoxEx *>(QStringLiteral("spinBox_contrast_") + QLatin1Char(name));
}

QList<int> fields(OSDImageCutDLL &panel)
{
    return {field(panel, 'X')->value(), field(panel, 'Y')->value(), field(panel, 'W')->value(),
            field(panel, 'H')->value()};
}

bool isRed(SpinBoxEx *box)
{
    return box->fontColor() == QColor(255, 0, 0) && box->hasBorderError();
}

bool isPlain(SpinBoxEx *box)
{
    return box->fontColor() == QColor(210, 210, 210) && !box->hasBorderError();
}

void typeInto(SpinBoxEx *box, const QString &digits)
{
    box->selectAll();
    QTest::keyClicks(box, digits);
    QTest::keyClick(box, Qt::Key_Tab);
}

void placeWindow(OSDImageCutDLL &panel, const QRect &window)
{
    field(panel, 'X')->setValue(window.x());
    field(panel, 'Y')->setValue(window.y());
    field(panel, 'W')->setValue(window.width());
    field(panel, 'H')->setValue(window.height());
}

bool openPanel(OSDImageCutDLL &panel, const QSize &osdSize, const QImage &picture, bool selectOSDSize)
{
    panel.setCutImage(osdSize, QPixmap::fromImage(picture), selectOSDSize);
    panel.show();
    return QTest::qWaitForWindowExposed(&panel);
}

QList<QVariant> pressOk(OSDImageCutDLL &panel)
{
    QSignalSpy applied(&panel, &OSDImageCutDLL::applyCutImage);
    QTest::mouseClick(panel.findChild<ToolButtonEx *>(QStringLiteral("pushButton_ok")), Qt::LeftButton);
    return applied.isEmpty() ? QList<QVariant>() : applied.takeFirst();
}

void openContextMenu(QGraphicsScene &scene, OSDItem *item)
{
    QGraphicsSceneContextMenuEvent event(QEvent::GraphicsSceneContextMenu);
    event.setScenePos(item->sceneBoundingRect().center());
    event.setReason(QGraphicsSceneContextMenuEvent::Mouse);
    scene.sendEvent(item, &event);
}

} // namespace TestSupport
