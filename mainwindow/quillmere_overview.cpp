// The overview: every tab's item composed on the output screen, where items are dragged into place
// and picked to make their tab current.
#include "mainwindow/quillmere.h"

#include "interfaces/records/itemrecords.h"
#include "mainwindow/overviewscene.h"
#include "osditem/osditem.h"
#include "widgets/customtoolbutton.h"
#include "widgets/previewview.h"
#include "widgets/styled/tablewidgetex.h"

#include <QGraphicsScene>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>

void Quillmere::initOverview(QHBoxLayout *workArea)
{
    m_overviewScene = new OverviewScene(this);
    m_overviewView = new PreviewView(this);
    m_overviewView->setObjectName(QStringLiteral("overviewView"));
    m_overviewView->setStyleSheet(QStringLiteral("#overviewView{background:rgb(38,38,38);border:0px;}"));
    // Items paint only their uncovered parts, each clipped to one rectangle; repainting the whole
    // viewport keeps every clip a single rectangle, and a frame of 50 pictures stays cheap.
    m_overviewView->setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    m_overviewView->setScene(m_overviewScene);
    m_overviewView->hide();
    workArea->addWidget(m_overviewView);
    connect(m_overviewView, &PreviewView::nudgeRequested, this, &Quillmere::nudgeCurrentItem);
    connect(m_overviewView, &PreviewView::nudgeFinished, this, &Quillmere::closeGesture);
    connect(m_overviewScene, &OverviewScene::entryDragFinished, this, &Quillmere::closeGesture);
    connect(m_overviewScene, &OverviewScene::entryMoved, this, &Quillmere::overviewEntryMoved);
    connect(m_overviewScene, &OverviewScene::entryPicked, this, &Quillmere::overviewEntryPicked);
    connect(m_tabWidget, &QTabWidget::currentChanged, this, [this](int tab) {
        if (m_overviewVisible)
            m_overviewScene->setCurrentEntry(m_overviewTabs.indexOf(tab));
    });
}

void Quillmere::setOverviewVisible(bool visible)
{
    if (visible == m_overviewVisible)
        return;
    m_overviewVisible = visible;
    // The switch shows its state in its caption: accent while the overview is up.
    m_overviewToolButton->captionLabel()->setStyleSheet(visible ? QStringLiteral("color:rgb(222,89,15);")
                                                                : QString());
    if (visible) {
        m_overviewScene->setScreenSize(m_outputScreenSize);
        m_overviewView->setScreenSize(m_outputScreenSize);
        refreshOverview();
        m_tabWidget->hide();
        m_overviewView->show();
        // Fitting needs the view's final size, which the layout gives it only now.
        layout()->activate();
        m_overviewView->fitScreen();
        m_overviewView->setFocus();
    } else {
        m_overviewView->hide();
        m_tabWidget->show();
        // Nothing is kept that the next showing would not rebuild anyway.
        m_overviewScene->setEntries({});
        m_overviewTabs.clear();
        m_overviewPixmapKeys.clear();
    }
}

void Quillmere::refreshOverview()
{
    QList<OverviewScene::Entry> entries;
    QVector<int> tabs;
    for (int tab = 0; tab < m_tabWidget->count(); ++tab) {
        const OsdEntry *entry = m_document->entry(entryIdOf(tab));
        OSDItem *item = itemOfPage(m_tabWidget->widget(tab));
        if (item && entry) {
            entries.append({item->pixmap(), entry->position, m_tabWidget->tabText(tab)});
            tabs.append(tab);
        }
    }
    m_overviewScene->setScreenSize(m_outputScreenSize);
    m_overviewView->setScreenSize(m_outputScreenSize);
    if (tabs != m_overviewTabs) {
        m_overviewScene->setEntries(entries);
        m_overviewTabs = tabs;
        m_overviewPixmapKeys.clear();
        for (const OverviewScene::Entry &entry : entries)
            m_overviewPixmapKeys.append(entry.pixmap.cacheKey());
    } else {
        // Only what changed: a full rebuild would drop the pictures' scaled copies and a running drag.
        for (int i = 0; i < entries.size(); ++i) {
            if (m_overviewScene->entryPos(i) != entries[i].pos)
                m_overviewScene->setEntryPos(i, entries[i].pos);
            if (m_overviewPixmapKeys[i] != entries[i].pixmap.cacheKey()) {
                m_overviewScene->setEntryPixmap(i, entries[i].pixmap);
                m_overviewPixmapKeys[i] = entries[i].pixmap.cacheKey();
            }
        }
    }
    m_overviewScene->setCurrentEntry(m_overviewTabs.indexOf(m_tabWidget->currentIndex()));
}

void Quillmere::overviewEntryMoved(int entry, const QPoint &pos)
{
    if (entry < 0 || entry >= m_overviewTabs.size())
        return;
    moveItem(itemOfPage(m_tabWidget->widget(m_overviewTabs[entry])), pos);
}

void Quillmere::overviewEntryPicked(int entry)
{
    if (entry < 0 || entry >= m_overviewTabs.size())
        return;
    m_tabWidget->setCurrentIndex(m_overviewTabs[entry]);
    m_overviewScene->setCurrentEntry(entry);
}
