#include "widgets/styled/tablewidgetex.h"

#include "widgets/styled/closabletabbar.h"
#include "widgets/styled/stylesheet.h"

#include <QActionGroup>
#include <QHBoxLayout>
#include <QMenu>
#include <QStackedWidget>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

TableWidgetEx::TableWidgetEx(QWidget *parent, TableWidgetType type, QString text)
    : QTabWidget(parent), m_type(type), m_text(std::move(text))
{
    setObjectName(QStringLiteral("TableWidgetEx"));
    // Close controls drawn by the bar: Qt's close button widgets made adding many tabs quadratic.
    auto *bar = new ClosableTabBar(this);
    setTabBar(bar);
    bar->setCloseControls(m_type == OsdTabs);
    setStyleSheet(StyleSheet::load("tabs"));
    setDocumentMode(true);
    setMovable(false);
    setUsesScrollButtons(true);
    tabBar()->setDrawBase(false);
    setElideMode(Qt::ElideNone);
    // QTabWidget passes on its bar's close requests only when Qt's own close buttons are on.
    connect(bar, &QTabBar::tabCloseRequested, this, &QTabWidget::tabCloseRequested);
    connect(this, &QTabWidget::tabCloseRequested, this, &TableWidgetEx::signals_removeTable);

    m_corner = new QWidget(this);
    auto *cornerLayout = new QHBoxLayout(m_corner);
    cornerLayout->setContentsMargins(0, 0, 0, 0);
    cornerLayout->setSpacing(0);

    // With many tabs most are scrolled away; the list reaches any of them with one click.
    m_listButton = new QToolButton(m_corner);
    m_listButton->setObjectName(QStringLiteral("tabListButton"));
    m_listButton->setIcon(ClosableTabBar::arrowIcon(Qt::DownArrow));
    m_listButton->setIconSize(QSize(16, 16));
    m_listButton->setToolTip(tr("全部标签页"));
    m_listButton->setFixedSize(28, 28);
    m_listButton->setAutoRaise(true);
    m_listButton->setPopupMode(QToolButton::InstantPopup);
    auto *listMenu = new QMenu(m_listButton);
    listMenu->setObjectName(QStringLiteral("tabListMenu"));
    m_listButton->setMenu(listMenu);
    connect(listMenu, &QMenu::aboutToShow, this, &TableWidgetEx::fillTabList);
    cornerLayout->addWidget(m_listButton);

    m_addButton = new QToolButton(m_corner);
    m_addButton->setObjectName(QStringLiteral("tabAddButton"));
    m_addButton->setIcon(QIcon(QStringLiteral(":/osdimage/res/osdimage/tab_add.png")));
    m_addButton->setIconSize(QSize(16, 16));
    m_addButton->setToolTip(tr("添加%1").arg(m_text));
    m_addButton->setFixedSize(28, 28);
    m_addButton->setAutoRaise(true);
    connect(m_addButton, &QToolButton::clicked, this, [this] { emit notifyAddTable(count()); });
    cornerLayout->addWidget(m_addButton);

    m_removeAllButton = new QToolButton(m_corner);
    m_removeAllButton->setObjectName(QStringLiteral("tabRemoveAllButton"));
    m_removeAllButton->setIcon(QIcon(QStringLiteral(":/osdimage/res/osdimage/tab_removeall.png")));
    m_removeAllButton->setIconSize(QSize(16, 16));
    m_removeAllButton->setToolTip(tr("全部清除"));
    m_removeAllButton->setFixedSize(28, 28);
    m_removeAllButton->setAutoRaise(true);
    connect(m_removeAllButton, &QToolButton::clicked, this, &TableWidgetEx::signal_removeAllTable);
    cornerLayout->addWidget(m_removeAllButton);

    m_addButton->setVisible(m_type == OsdTabs);
    m_removeAllButton->setVisible(m_type == OsdTabs);
    setCornerWidget(m_corner, Qt::TopRightCorner);
}

void TableWidgetEx::fillTabList()
{
    QMenu *menu = m_listButton->menu();
    menu->clear();
    qDeleteAll(menu->findChildren<QActionGroup *>(QString(), Qt::FindDirectChildrenOnly));
    auto *group = new QActionGroup(menu);
    for (int i = 0; i < count(); ++i) {
        QAction *action = menu->addAction(tabText(i));
        action->setCheckable(true);
        action->setChecked(i == currentIndex());
        action->setActionGroup(group);
        // The page, not the position: the tabs may change while the menu is open.
        QWidget *page = widget(i);
        connect(action, &QAction::triggered, this, [this, page] {
            if (indexOf(page) >= 0)
                setCurrentWidget(page);
        });
    }
}

void TableWidgetEx::setIndex(int number)
{
    m_nextNumber = number;
}

void TableWidgetEx::setBMovedCornerButton(bool moved)
{
    m_cornerButtonMoved = moved;
    placeAddButton();
}

void TableWidgetEx::beginBulkInsert()
{
    if (m_bulkDepth++ > 0)
        return;
    m_barHiddenForBulk = !tabBar()->isHidden();
    if (m_barHiddenForBulk)
        tabBar()->hide();
    m_selfHiddenForBulk = !isWindow() && !isHidden();
    if (m_selfHiddenForBulk)
        hide();
}

void TableWidgetEx::endBulkInsert()
{
    if (m_bulkDepth == 0 || --m_bulkDepth > 0)
        return;
    if (!m_pagesHiddenForBulk.isEmpty()) {
        for (int i = 0; i < count(); ++i) {
            if (m_pagesHiddenForBulk.contains(widget(i)))
                tabBar()->setTabVisible(i, true);
        }
        m_pagesHiddenForBulk.clear();
    }
    if (m_barHiddenForBulk)
        tabBar()->show();
    m_barHiddenForBulk = false;
    if (m_selfHiddenForBulk)
        show();
    m_selfHiddenForBulk = false;
    placeAddButton();
    placeAddButtonLater();
}

void TableWidgetEx::tabInserted(int index)
{
    QTabWidget::tabInserted(index);
    if (m_nextNumber >= 0)
        setTabToolTip(index, m_text + QString::number(m_nextNumber));
    // Placing measures the whole bar: once per run of inserts, after the tab bar has settled its
    // geometry (when the event loop runs once more), and not at all while a bulk insert lasts.
    if (m_bulkDepth == 0)
        placeAddButtonLater();
    else if (index != currentIndex()) {
        tabBar()->setTabVisible(index, false);
        m_pagesHiddenForBulk.insert(widget(index));
    }
}

void TableWidgetEx::tabRemoved(int index)
{
    QTabWidget::tabRemoved(index);
    // QTabWidget keeps a removed page as a child of its page stack (the first stacked widget it
    // makes) and tells only the index. Whatever child of the stack is no longer one of its pages
    // belonged to the tab that went.
    if (auto *stack = findChild<QStackedWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        const QList<QWidget *> children =
            stack->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
        for (QWidget *child : children) {
            if (stack->indexOf(child) < 0)
                child->deleteLater();
        }
    }
    QTimer::singleShot(0, this, &TableWidgetEx::placeAddButton);
    placeAddButton();
}

void TableWidgetEx::resizeEvent(QResizeEvent *event)
{
    QTabWidget::resizeEvent(event);
    placeAddButton();
}

void TableWidgetEx::showEvent(QShowEvent *event)
{
    QTabWidget::showEvent(event);
    placeAddButton();
}

void TableWidgetEx::placeAddButtonLater()
{
    if (m_placementPending)
        return;
    m_placementPending = true;
    QTimer::singleShot(0, this, [this] {
        m_placementPending = false;
        placeAddButton();
    });
}

void TableWidgetEx::placeAddButton()
{
    auto *cornerLayout = static_cast<QHBoxLayout *>(m_corner->layout());
    const int last = count() - 1;
    bool floatAfterTabs = m_cornerButtonMoved && last >= 0;
    QPoint floatPos;
    if (floatAfterTabs) {
        const QRect lastRect = tabBar()->tabRect(last);
        const QPoint barOrigin = tabBar()->mapTo(this, QPoint(0, 0));
        floatPos = QPoint(barOrigin.x() + lastRect.right() + 1, barOrigin.y() + lastRect.top());
        // Once the tabs need scroll buttons there is no room after the last tab.
        const int limit = m_corner->isVisible() ? m_corner->mapTo(this, QPoint(0, 0)).x() : width();
        if (floatPos.x() + m_addButton->width() > limit - m_removeAllButton->width() ||
            tabBar()->sizeHint().width() > tabBar()->width())
            floatAfterTabs = false;
    }

    if (floatAfterTabs) {
        if (m_addButton->parentWidget() != this) {
            cornerLayout->removeWidget(m_addButton);
            m_addButton->setParent(this);
        }
        m_addButton->move(floatPos);
        m_addButton->setVisible(m_type == OsdTabs);
        m_addButton->raise();
    } else if (m_addButton->parentWidget() != m_corner) {
        m_addButton->setParent(m_corner);
        cornerLayout->insertWidget(0, m_addButton);
        m_addButton->setVisible(m_type == OsdTabs);
    }
}
