#include "support/keyingsupport.h"

#include "core/pixels/publicbase.h"
#include "interfaces/model/videocontrolosd.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "support/core/pictures.h"
#include "support/quillmereaccess.h"

#include <QApplication>
#include <QColorDialog>
#include <QGraphicsView>
#include <QMouseEvent>
#include <QTimer>
#include <QtTest>

namespace TestSupport {

const QString kSwatchBorder =
    QStringLiteral(";border-width: 1px;border-color: rgb(22,22,22);border-style: solid;border-radius: 3px;");

void verifyItemShows(OSDItem *item, VideoControlOSD *record, const QImage &image, const QColor &fill,
                     bool keyingOn)
{
    QVERIFY(TestSupport::identicalPixels(item->image(), image));
    QVERIFY(TestSupport::identicalPixels(item->loadedImage(), image));
    QVERIFY(TestSupport::identicalPixels(item->displayImage(), image));
    QVERIFY(TestSupport::identicalPixels(item->pixmap().toImage(), image));
    QCOMPARE(item->videoControlOSD(), record);
    QVERIFY(record->pImageValue());
    QVERIFY(TestSupport::identicalPixels(*record->pImageValue(), image));
    int completionWidth = 0;
    QCOMPARE(record->image(), PublicBase::imageToOsdData(image, &completionWidth));
    QCOMPARE(record->OSDFileLength(), image.width() * image.height() * 3);
    QCOMPARE(record->completionImageWidth(), image.width());
    QCOMPARE(record->size(), image.size());
    QCOMPARE(record->selectColor(), fill);
    QCOMPARE(record->IsSelectColor(), keyingOn);
}

void hoverAt(Quillmere &w, const QPoint &p)
{
    QGraphicsView *view = QuillmereTestAccess::currentView(w);
    const QPoint pos = view->mapFromScene(QPointF(p));
    QMouseEvent move(QEvent::MouseMove, pos, view->viewport()->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &move);
}

void clickAt(Quillmere &w, const QPoint &p)
{
    QGraphicsView *view = QuillmereTestAccess::currentView(w);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->mapFromScene(QPointF(p)));
}

void answerColourDialog(const QColor &color)
{
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, color] {
        auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        timer->stop();
        timer->deleteLater();
        if (color.isValid()) {
            dialog->setCurrentColor(color);
            dialog->accept();
        } else {
            dialog->reject();
        }
    });
    timer->start();
}

void showWindow(Quillmere &w)
{
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::qWait(0);
}

} // namespace TestSupport
