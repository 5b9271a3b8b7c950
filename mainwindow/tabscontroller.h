#pragma once

#include <QObject>
#include <QPoint>
#include <QSize>

class OSDItem;
class QGraphicsView;
class QWidget;
class TableWidgetEx;
struct OsdEntry;

// The tab list: one tab per entry of the document, known by the entry's id (a page carries it),
// titled with its number ("OSD3"). It makes the pages, finds the item a tab shows and scrolls them.
class TabsController : public QObject
{
    Q_OBJECT
public:
    // The scene of the first page and of every other page, in scene pixels.
    static const QSize kFirstSceneSize;
    static const QSize kSceneSize;

    // Pages and their scenes belong to window until the tab bar takes them.
    TabsController(TableWidgetEx *tabs, QWidget *window);

    TableWidgetEx *tabs() const { return m_tabs; }
    // 0 when there is no such tab.
    int entryOf(int tab) const;
    // -1 when no tab shows the entry.
    int tabOf(int entry) const;
    int currentEntry() const;
    QGraphicsView *currentView() const;
    QGraphicsView *viewOf(int tab) const;
    // The item a page holds, or null.
    static OSDItem *itemOfPage(QWidget *page);
    OSDItem *itemOfTab(int tab) const { return itemOfPage(pageOf(tab)); }

    // A page for entry at the end of the bar, framing screen; the first page is antialiased and larger.
    QGraphicsView *addPage(const OsdEntry &entry, bool first, const QSize &screen);
    // Makes page's scene cover the output screen and every item with a margin, growing only.
    static void coverScreenAndItems(QGraphicsView *page, const QSize &screen);
    // Pages start at their scene's top-left corner.
    void scrollToTopLeft(int tab);
    void scrollAllToTopLeft();

signals:
    // The arrow keys on a page.
    void nudgeRequested(const QPoint &delta);
    void nudgeFinished();

private:
    QWidget *pageOf(int tab) const;

    TableWidgetEx *m_tabs;
    QWidget *m_window;
};
