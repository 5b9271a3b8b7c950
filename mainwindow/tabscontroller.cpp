#include "mainwindow/tabscontroller.h"

#include "core/document/osdentry.h"
#include "osditem/osditem.h"
#include "widgets/previewview.h"
#include "widgets/styled/tablewidgetex.h"

#include <QGraphicsScene>
#include <QScrollBar>

namespace {
const char *const kEntryId = "entryId";
// Room around the screen, so an item moved a little off it can still be seen and moved back.
const int kScreenMargin = 200;
} // namespace

const QSize TabsController::kFirstSceneSize(5000, 3000);
const QSize TabsController::kSceneSize(3000, 3000);

TabsController::TabsController(TableWidgetEx *tabs, QWidget *window)
    : QObject(window), m_tabs(tabs), m_window(window)
{}

QWidget *TabsController::pageOf(int tab) const
{
    return m_tabs->widget(tab);
}

int TabsController::entryOf(int tab) const
{
    const QWidget *page = pageOf(tab);
    return page ? page->property(kEntryId).toInt() : 0;
}

int TabsController::tabOf(int entry) const
{
    for (int i = 0; i < m_tabs->count(); ++i) {
        if (entryOf(i) == entry)
            return i;
    }
    return -1;
}

int TabsController::currentEntry() const
{
    return entryOf(m_tabs->currentIndex());
}

QGraphicsView *TabsController::currentView() const
{
    return qobject_cast<QGraphicsView *>(m_tabs->currentWidget());
}

QGraphicsView *TabsController::viewOf(int tab) const
{
    return qobject_cast<QGraphicsView *>(pageOf(tab));
}

OSDItem *TabsController::itemOfPage(QWidget *page)
{
    auto *view = qobject_cast<QGraphicsView *>(page);
    if (!view || !view->scene())
        return nullptr;
    const QList<QGraphicsItem *> items = view->scene()->items();
    for (QGraphicsItem *item : items) {
        if (auto *osdItem = qgraphicsitem_cast<OSDItem *>(item))
            return osdItem;
    }
    return nullptr;
}

QGraphicsView *TabsController::addPage(const OsdEntry &entry, bool first, const QSize &screen)
{
    auto *scene = new QGraphicsScene(m_window);
    scene->setSceneRect(QRectF(QPointF(0, 0), first ? kFirstSceneSize : kSceneSize));
    auto *view = new PreviewView(m_window);
    view->setObjectName(QStringLiteral("pView"));
    view->setStyleSheet(QStringLiteral("#pView{background:rgb(38,38,38);border:0px;}"));
    if (first)
        view->setRenderHint(QPainter::Antialiasing);
    view->setScene(scene);
    view->setScreenSize(screen);
    coverScreenAndItems(view, screen);
    connect(view, &PreviewView::nudgeRequested, this, &TabsController::nudgeRequested);
    connect(view, &PreviewView::nudgeFinished, this, &TabsController::nudgeFinished);
    // The tab widget releases a closed tab's page; its scene, and with it the item, go along.
    connect(view, &QObject::destroyed, scene, &QObject::deleteLater);
    view->setProperty(kEntryId, entry.id);
    m_tabs->setIndex(entry.number);
    m_tabs->addTab(view, entry.title());
    return view;
}

void TabsController::scrollToTopLeft(int tab)
{
    QGraphicsView *view = viewOf(tab);
    if (!view)
        return;
    view->verticalScrollBar()->setSliderPosition(0);
    view->horizontalScrollBar()->setSliderPosition(0);
}

void TabsController::scrollAllToTopLeft()
{
    for (int i = 0; i < m_tabs->count(); ++i)
        scrollToTopLeft(i);
}

void TabsController::coverScreenAndItems(QGraphicsView *page, const QSize &screen)
{
    QGraphicsScene *scene = page ? page->scene() : nullptr;
    if (!scene)
        return;
    // Only ever grows: a scene that shrank under the operator's scroll position would jump.
    QRectF cover = scene->sceneRect().united(
        QRectF(0, 0, screen.width() + kScreenMargin, screen.height() + kScreenMargin));
    const QRectF items = scene->itemsBoundingRect();
    if (!items.isEmpty())
        cover = cover.united(items.adjusted(-kScreenMargin, -kScreenMargin, kScreenMargin, kScreenMargin));
    if (cover != scene->sceneRect())
        scene->setSceneRect(cover);
}
