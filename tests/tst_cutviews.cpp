// The picture frame with its cover and selection rectangle, on their own: what they show and
// what they report.
#include "imagecut/cutdialog.h"
#include "imagecut/photoshotdialog.h"
#include "imagecut/pictureedit.h"
#include "support/testsupport.h"

#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

namespace {

QPixmap flatPicture(const QSize &size, const QColor &color)
{
    QPixmap pixmap(size);
    pixmap.fill(color);
    return pixmap;
}

bool isWhite(QRgb pixel)
{
    return qRed(pixel) > 240 && qGreen(pixel) > 240 && qBlue(pixel) > 240;
}

} // namespace

class TestCutViews : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void coverMatchesThePicture();
    void zoomedPictureHasNoRectangle();
    void reportsTravelUpTheChain();
    void pureMoveFromCodeReportsNothing();
    void newPictureReplacesTheRectangle();
    void shadingFrameAndThirds();
    void frameStylesGoToTheirWidgets();

private:
    static QLabel *pictureLabel(pictureedit &view)
    {
        return view.findChild<QLabel *>(QStringLiteral("label"));
    }
};

void TestCutViews::initTestCase()
{
    TestSupport::failOnQtWarnings();
}

void TestCutViews::coverMatchesThePicture()
{
    pictureedit view;
    view.resize(622, 432);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setPicture(flatPicture(QSize(300, 200), Qt::gray), false);

    PhotoShotDialog *cover = view.overlay();
    QVERIFY(cover);
    QCOMPARE(cover->parentWidget(), pictureLabel(view));
    QCOMPARE(cover->geometry(), QRect(0, 0, 300, 200));
    QVERIFY(cover->isVisible());
    QCOMPARE(cover->cutDialog()->geometry(), QRect(0, 0, 100, 100));
    QVERIFY(cover->cutDialog()->isVisible());
}

void TestCutViews::zoomedPictureHasNoRectangle()
{
    pictureedit view;
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setPicture(flatPicture(QSize(300, 200), Qt::gray), false);
    QPointer<PhotoShotDialog> earlier = view.overlay();

    QSignalSpy reports(&view, &pictureedit::CutWindowsChangedEvent);
    view.setPicture(flatPicture(QSize(300, 200), Qt::gray), true);
    QVERIFY(earlier.isNull());
    QVERIFY(!view.overlay());
    QVERIFY(view.findChildren<CutDialog *>().isEmpty());

    view.setCutWindow(10, 10, 109, 109);
    QCOMPARE(reports.count(), 0);

    // Without a cover nothing is darkened.
    const QImage shown = pictureLabel(view)->grab().toImage();
    QCOMPARE(QColor(shown.pixel(5, 5)), QColor(Qt::gray));
    QCOMPARE(QColor(shown.pixel(150, 100)), QColor(Qt::gray));
}

void TestCutViews::reportsTravelUpTheChain()
{
    pictureedit view;
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setPicture(flatPicture(QSize(300, 200), Qt::gray), false);
    CutDialog *rect = view.overlay()->cutDialog();

    QSignalSpy fromRect(rect, &CutDialog::windowsRemoveAndChangeSize);
    QSignalSpy fromCover(view.overlay(), &PhotoShotDialog::CutWindowsChanged);
    QSignalSpy fromView(&view, &pictureedit::CutWindowsChangedEvent);
    view.setCutWindow(20, 30, 139, 89);

    const QRect expected(QPoint(20, 30), QPoint(139, 89));
    QCOMPARE(rect->geometry(), expected);
    for (QSignalSpy *spy : {&fromRect, &fromCover, &fromView}) {
        QCOMPARE(spy->count(), 1);
        QCOMPARE(spy->first().first().toRect(), expected);
    }
}

void TestCutViews::pureMoveFromCodeReportsNothing()
{
    pictureedit view;
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setPicture(flatPicture(QSize(300, 200), Qt::gray), false);

    QSignalSpy reports(&view, &pictureedit::CutWindowsChangedEvent);
    view.setCutWindow(40, 50, 139, 149);
    QCOMPARE(view.overlay()->cutDialog()->geometry(), QRect(40, 50, 100, 100));
    QCOMPARE(reports.count(), 0);
}

void TestCutViews::newPictureReplacesTheRectangle()
{
    pictureedit view;
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setPicture(flatPicture(QSize(300, 200), Qt::gray), false);
    view.setCutWindow(20, 30, 219, 129);
    QPointer<PhotoShotDialog> oldCover = view.overlay();

    view.setPicture(flatPicture(QSize(150, 120), Qt::darkGray), false);
    QVERIFY(oldCover.isNull());
    QCOMPARE(view.findChildren<CutDialog *>().size(), 1);
    QCOMPARE(view.overlay()->geometry(), QRect(0, 0, 150, 120));
    QCOMPARE(view.overlay()->cutDialog()->geometry(), QRect(0, 0, 100, 100));
}

void TestCutViews::shadingFrameAndThirds()
{
    pictureedit view;
    view.resize(622, 432);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QColor grey(128, 128, 128);
    view.setPicture(flatPicture(QSize(400, 300), grey), false);
    // (100, 50)–(249, 149): 150 × 100, so the thirds fall at x = 150, 200 and y = 83, 116.
    view.setCutWindow(100, 50, 249, 149);

    const QImage shown = pictureLabel(view)->grab().toImage();

    // Outside the window the picture is darkened to 30 %.
    for (const QPoint &p : {QPoint(20, 20), QPoint(300, 250), QPoint(98, 100), QPoint(175, 151)}) {
        const QColor c = shown.pixel(p);
        QVERIFY2(qAbs(c.red() - 38) <= 2 && c.red() == c.blue(),
                 qPrintable(QStringLiteral("at %1,%2: %3").arg(p.x()).arg(p.y()).arg(c.name())));
    }
    // Inside, away from the frame and the grid, the picture shows unchanged.
    QCOMPARE(QColor(shown.pixel(120, 70)), grey);
    QCOMPARE(QColor(shown.pixel(230, 140)), grey);

    // The frame is a half-transparent blue, two pixels wide on every side.
    for (const QPoint &p : {QPoint(100, 100), QPoint(101, 100), QPoint(249, 100), QPoint(248, 100),
                            QPoint(175, 50), QPoint(175, 149)}) {
        const QColor c = shown.pixel(p);
        QVERIFY2(c.blue() > c.red() + 60 && c.red() < grey.red() && c.blue() > grey.blue(),
                 qPrintable(QStringLiteral("frame at %1,%2: %3").arg(p.x()).arg(p.y()).arg(c.name())));
    }
    QCOMPARE(QColor(shown.pixel(102, 100)), grey);

    // The thirds are dashed white lines: some pixels of each line are white, some are not.
    auto whiteShare = [&](QPoint from, QPoint step, int count) {
        int white = 0;
        for (int i = 0; i < count; ++i)
            white += isWhite(shown.pixel(from + step * i)) ? 1 : 0;
        return double(white) / count;
    };
    for (int x : {150, 200}) {
        const double share = whiteShare(QPoint(x, 60), QPoint(0, 1), 80);
        QVERIFY2(share > 0.4 && share < 0.8, qPrintable(QString::number(share)));
    }
    for (int y : {83, 116}) {
        const double share = whiteShare(QPoint(110, y), QPoint(1, 0), 120);
        QVERIFY2(share > 0.4 && share < 0.8, qPrintable(QString::number(share)));
    }
    // Between the horizontal thirds, the column next to a vertical one has no white at all.
    QCOMPARE(whiteShare(QPoint(151, 85), QPoint(0, 1), 30), 0.0);
}

void TestCutViews::frameStylesGoToTheirWidgets()
{
    pictureedit view;
    view.setFrameStyles(QStringLiteral("{border:1px solid red;}"),
                        QStringLiteral("QScrollBar:vertical{width:7px;}"), QString(),
                        QStringLiteral("{background:blue;}"));
    QCOMPARE(view.styleSheet(), QStringLiteral("QFrame#pictureedit{border:1px solid red;}"));
    auto *area = view.findChild<QScrollArea *>(QStringLiteral("scrollArea"));
    QVERIFY(area);
    QCOMPARE(area->verticalScrollBar()->styleSheet(), QStringLiteral("QScrollBar:vertical{width:7px;}"));
    QVERIFY(area->horizontalScrollBar()->styleSheet().isEmpty());
    QCOMPARE(area->styleSheet(), QStringLiteral("QScrollArea#scrollArea{background:blue;}"));
    QCOMPARE(area->widget()->styleSheet(),
             QStringLiteral("QWidget#scrollAreaWidgetContents{background:blue;}"));
}

QTEST_MAIN(TestCutViews)
#include "tst_cutviews.moc"
