#pragma once

#include <QSet>
#include <QString>
#include <QTabWidget>

class QToolButton;
class QWidget;

// Dark tab widget whose tab bar offers a list of every tab (choosing one makes it current), an add control, a
// close control on every tab (drawn by its ClosableTabBar) and a remove-all control. It only reports the
// operator's wishes; the owner decides what happens. Pages of removed tabs are released by the widget
// (deleteLater), whichever way the tab goes (removeTab, clear, also through a QTabWidget pointer), so owners
// must not keep them. A page given another parent before its tab goes is left alone.
class TableWidgetEx : public QTabWidget
{
    Q_OBJECT
public:
    enum TableWidgetType
    {
        PlainTabs = 0,
        OsdTabs = 1 // numbered tabs with add and remove-all controls
    };

    TableWidgetEx(QWidget *parent, TableWidgetType type, QString text);

    // The number of the tab that is about to be added; used for the new tab's tool tip.
    void setIndex(int number);
    int index() const { return m_nextNumber; }

    // true: the add control follows right after the last tab instead of sitting in the corner.
    void setBMovedCornerButton(bool moved);
    bool isCornerButtonMoved() const { return m_cornerButtonMoved; }

    // Many tabs in a row (an import): Qt lays the whole bar out again for every tab added, measuring
    // every visible tab. So the widget and its bar are hidden meanwhile, each new tab but the
    // current one is left out of the bar's layout until the end, and the bar is laid out, with the
    // add control, once at the end. (The close controls are drawn by the bar, ClosableTabBar, as
    // Qt's close button widgets were placed again on every tab for each tab added, even then.)
    // Calls nest.
    void beginBulkInsert();
    void endBulkInsert();
    bool isBulkInserting() const { return m_bulkDepth > 0; }

    QToolButton *addButton() const { return m_addButton; }
    QToolButton *removeAllButton() const { return m_removeAllButton; }

signals:
    void notifyAddTable(int index);
    void signals_removeTable(int index);
    void signal_removeAllTable();

protected:
    void tabInserted(int index) override;
    void tabRemoved(int index) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void placeAddButton();
    void placeAddButtonLater();
    void fillTabList();

    TableWidgetType m_type;
    QString m_text;
    int m_nextNumber = -1;
    bool m_cornerButtonMoved = false;
    int m_bulkDepth = 0;
    bool m_barHiddenForBulk = false;
    bool m_selfHiddenForBulk = false;
    QSet<QWidget *> m_pagesHiddenForBulk;
    bool m_placementPending = false;
    QWidget *m_corner = nullptr;
    QToolButton *m_listButton = nullptr;
    QToolButton *m_addButton = nullptr;
    QToolButton *m_removeAllButton = nullptr;
};
