// Screenshots of placing items on the output screen, for people to look at: a real main window with
// a few items, one partly off the screen, shown in a tab at several zooms and in the overview. Not a
// test: it checks nothing and is not run by CTest. scripts/screenshots.sh builds and runs it.
#include "core/pixels/highdpisetup.h"
#include "core/text/textrenderer.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "shots/shotsupport.h"
#include "support/quillmereaccess.h"
#include "support/windowparts.h"
#include "widgets/customtoolbutton.h"
#include "widgets/previewview.h"
#include "widgets/styled/spinboxex.h"
#include "widgets/styled/tablewidgetex.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <cstdio>

using A = QuillmereTestAccess;
using Shots::save;
using Shots::settle;

namespace {

// A picture with large shapes to recognise it by in the overview and a one-pixel grid in its
// top-left and bottom-right corners, so that single pixels can be told apart when zoomed in.
QImage makePicture(const QSize &size, const QColor &from, const QColor &to, const QString &name)
{
    QImage image = Shots::gradientPicture(size, from, to);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(size.width() * 0.7, size.height() * 0.35, size.height() * 0.3);
    glow.setColorAt(0, QColor(255, 255, 255, 200));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(glow);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(size.width() * 0.7, size.height() * 0.35), size.height() * 0.3,
                  size.height() * 0.3);
    p.setBrush(QColor(20, 20, 30, 180));
    const QRectF caption(size.width() * 0.08, size.height() * 0.55, size.width() * 0.6, size.height() * 0.3);
    p.drawRoundedRect(caption, 12, 12);
    p.setPen(Qt::white);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qMax(14, size.height() / 10));
    font.setBold(true);
    p.setFont(font);
    p.drawText(caption, Qt::AlignCenter,
               QStringLiteral("%1  %2×%3").arg(name).arg(size.width()).arg(size.height()));
    p.setRenderHint(QPainter::Antialiasing, false);
    const int cell = 48;
    for (const QPoint &corner : {QPoint(0, 0), QPoint(size.width() - cell, size.height() - cell)}) {
        p.fillRect(QRect(corner, QSize(cell, cell)), Qt::black);
        for (int y = 0; y < cell; ++y) {
            for (int x = 0; x < cell; ++x) {
                if ((x + y) % 2 == 0 || x % 8 == 0 || y % 8 == 0)
                    image.setPixelColor(corner + QPoint(x, y),
                                        (x / 8 + y / 8) % 2 ? from.lighter(160) : Qt::white);
            }
        }
    }
    p.setPen(QColor(255, 255, 255));
    p.setBrush(Qt::NoBrush);
    p.drawRect(image.rect().adjusted(0, 0, -1, -1));
    return image;
}

// Puts a new item into a new tab (the first item into the first tab) and places it with the
// position fields, as the operator would.
void addPictureAt(Quillmere &w, const QImage &image, const QPoint &at, bool newTab)
{
    if (newTab)
        w.on_notifyAddTable(0);
    settle(0);
    if (!A::addPictureItem(w, image))
        std::fprintf(stderr, "layoutshots: a picture found no tab to go into\n");
    TestSupport::propertyPanel(w)->xSpin()->setValue(at.x());
    TestSupport::propertyPanel(w)->ySpin()->setValue(at.y());
}

void mouseOnViewport(QWidget *viewport, QEvent::Type type, const QPoint &at, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
}

} // namespace

int main(int argc, char *argv[])
{
    HighDpiSetup::prepare();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("layoutshots"));
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes screenshots of placing items on the output screen into a folder."));
    parser.addHelpOption();
    parser.addOption(Shots::outOption());
    parser.process(app);
    QDir out;
    if (!Shots::outputFolder(parser, &out))
        return 1;

    // The window remembers the screen size in settings.ini: keep that away from the build folder.
    QTemporaryDir settings;
    Quillmere w;
    if (!Shots::showMainWindow(app, w, settings.path(), true))
        return 1;

    // Five items on a 1920×1080 screen: top-left, centred, top-right, partly off the bottom-right
    // corner, and a text near the bottom-left.
    addPictureAt(w,
                 makePicture(QSize(640, 360), QColor(30, 90, 200), QColor(20, 180, 160), QStringLiteral("A")),
                 QPoint(48, 40), false);
    addPictureAt(
        w, makePicture(QSize(800, 450), QColor(150, 40, 160), QColor(240, 120, 60), QStringLiteral("B")),
        QPoint(0, 0), true);
    TestSupport::propertyPanel(w)->alignButton(1)->click(); // centre
    TestSupport::propertyPanel(w)->alignButton(4)->click(); // middle
    addPictureAt(w,
                 makePicture(QSize(400, 300), QColor(20, 120, 40), QColor(200, 220, 60), QStringLiteral("C")),
                 QPoint(0, 40), true);
    TestSupport::propertyPanel(w)->alignButton(2)->click(); // right
    addPictureAt(w,
                 makePicture(QSize(480, 270), QColor(180, 30, 40), QColor(250, 190, 40), QStringLiteral("D")),
                 QPoint(1600, 880), true);

    // The text goes through the renderer the text window uses.
    w.on_notifyAddTable(0);
    settle(0);
    const QString text = QStringLiteral("Live from Hall 3 · 三号厅直播");
    const QFont font =
        TextRenderer::makeFont(QStringLiteral("Noto Sans CJK SC"), QStringLiteral("36"), true, false, false);
    const TextRenderer::Result rendered = TextRenderer::render(text, font, Qt::white, QSize(1200, 300));
    QImage textImage = rendered.image;
    w.on_exportTextImage(&textImage, Qt::white, font, rendered.text);
    TestSupport::propertyPanel(w)->xSpin()->setValue(48);
    TestSupport::propertyPanel(w)->ySpin()->setValue(1080 - 40 - textImage.height());

    bool ok = true;
    TableWidgetEx *tabs = TestSupport::tabList(w);

    // The tab of the item partly off the screen: 100 %, around the screen's bottom-right corner.
    tabs->setCurrentIndex(3);
    settle();
    auto *preview = qobject_cast<PreviewView *>(A::currentView(w));
    if (!preview) {
        std::fprintf(stderr, "layoutshots: the tab shows no preview\n");
        return 1;
    }
    preview->setFocus();
    preview->setZoom(0.5);
    QTest::keyClick(preview, Qt::Key_1, Qt::ControlModifier);
    if (!qFuzzyCompare(preview->zoom(), 1.0))
        std::fprintf(stderr, "layoutshots: Ctrl+1 left the zoom at %g\n", preview->zoom());
    preview->centerOn(1920, 1080);
    ok &= save(&w, out, QStringLiteral("tab-100.png"));

    QTest::keyClick(preview, Qt::Key_0, Qt::ControlModifier);
    if (qFuzzyCompare(preview->zoom(), 1.0))
        std::fprintf(stderr, "layoutshots: Ctrl+0 left the zoom at 100 %%\n");
    ok &= save(&w, out, QStringLiteral("tab-fit.png"));

    // The item's top-left corner, where its one-pixel pattern is.
    preview->setZoom(4);
    preview->centerOn(1640, 900);
    ok &= save(&w, out, QStringLiteral("tab-400.png"));

    // The overview, with the centred item's tab current.
    tabs->setCurrentIndex(1);
    settle();
    QTest::mouseClick(TestSupport::toolBarButton(w, QStringLiteral("overviewButton")), Qt::LeftButton);
    PreviewView *overview = TestSupport::windowPart<PreviewView>(w, QStringLiteral("overviewView"));
    if (!w.isOverviewVisible() || !overview) {
        std::fprintf(stderr, "layoutshots: the overview did not open\n");
        return 1;
    }
    ok &= save(&w, out, QStringLiteral("overview-fit.png"));

    overview->setZoom(0.25);
    overview->centerOn(960, 540);
    ok &= save(&w, out, QStringLiteral("overview-zoomed-out.png"));

    // Ctrl+0 from there should fit the screen again, as it does in a tab.
    QTest::keyClick(overview, Qt::Key_0, Qt::ControlModifier);
    if (qFuzzyCompare(overview->zoom(), 0.25))
        std::fprintf(stderr, "layoutshots: Ctrl+0 left the overview at 25 %%\n");
    ok &= save(&w, out, QStringLiteral("overview-ctrl0.png"));

    // Around the top-left item's bottom-right corner, over the centred item.
    overview->setZoom(2);
    overview->centerOn(688, 400);
    ok &= save(&w, out, QStringLiteral("overview-zoomed-in.png"));

    // Dragging the top-right item down until its bottom edge snaps to the screen's; the mouse is
    // still down when grabbed.
    overview->fitScreen();
    settle();
    QWidget *viewport = overview->viewport();
    const QPoint from = overview->mapFromScene(QPointF(1720, 190));
    const QPoint to = overview->mapFromScene(QPointF(1720, 190 + 736));
    mouseOnViewport(viewport, QEvent::MouseButtonPress, from, Qt::LeftButton);
    for (int step = 1; step <= 8; ++step)
        mouseOnViewport(viewport, QEvent::MouseMove, from + (to - from) * step / 8, Qt::LeftButton);
    ok &= save(&w, out, QStringLiteral("overview-dragging.png"));
    mouseOnViewport(viewport, QEvent::MouseButtonRelease, to, Qt::NoButton);
    settle();

    // Nothing here is to be kept; without this the window would ask about unexported changes.
    w.hide();
    return ok ? 0 : 1;
}
