#include "mainwindow/overviewcontroller.h"

#include "mainwindow/overviewscene.h"
#include "widgets/previewview.h"

OverviewController::OverviewController(QWidget *parent, Entries entries)
    : QObject(parent), m_entries(std::move(entries)), m_view(new PreviewView(parent)),
      m_scene(new OverviewScene(this))
{
    m_view->setObjectName(QStringLiteral("overviewView"));
    m_view->setStyleSheet(QStringLiteral("#overviewView{background:rgb(38,38,38);border:0px;}"));
    // Items paint only their uncovered parts, each clipped to one rectangle; repainting the whole
    // viewport keeps every clip a single rectangle, and a frame of 50 pictures stays cheap.
    m_view->setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    m_view->setScene(m_scene);
    m_view->hide();
    connect(m_view, &PreviewView::nudgeRequested, this, &OverviewController::nudgeRequested);
    connect(m_view, &PreviewView::nudgeFinished, this, &OverviewController::gestureEnded);
    connect(m_scene, &OverviewScene::entryDragFinished, this, &OverviewController::gestureEnded);
    connect(m_scene, &OverviewScene::entryMoved, this, [this](int index, const QPoint &pos) {
        if (index >= 0 && index < m_ids.size())
            emit moved(m_ids[index], pos);
    });
    connect(m_scene, &OverviewScene::entryPicked, this, [this](int index) {
        if (index < 0 || index >= m_ids.size())
            return;
        m_scene->setCurrentEntry(index);
        emit picked(m_ids[index]);
    });
}

void OverviewController::show(const QSize &screen, int current)
{
    m_shown = true;
    refresh(screen, current);
    m_view->show();
}

void OverviewController::fit()
{
    m_view->fitScreen();
    m_view->setFocus();
}

void OverviewController::hide()
{
    m_shown = false;
    m_view->hide();
    m_scene->setEntries({});
    m_ids.clear();
    m_pixmapKeys.clear();
}

void OverviewController::refresh(const QSize &screen, int current)
{
    if (!m_shown)
        return;
    const QVector<Shown> shown = m_entries();
    QList<OverviewScene::Entry> entries;
    QVector<int> ids;
    for (const Shown &s : shown) {
        entries.append({s.pixmap, s.position, s.title});
        ids.append(s.entry);
    }
    m_scene->setScreenSize(screen);
    m_view->setScreenSize(screen);
    if (ids != m_ids) {
        m_scene->setEntries(entries);
        m_ids = ids;
        m_pixmapKeys.clear();
        for (const OverviewScene::Entry &entry : entries)
            m_pixmapKeys.append(entry.pixmap.cacheKey());
    } else {
        // Only what changed: a full rebuild would drop the pictures' scaled copies and a running drag.
        for (int i = 0; i < entries.size(); ++i) {
            if (m_scene->entryPos(i) != entries[i].pos)
                m_scene->setEntryPos(i, entries[i].pos);
            if (m_pixmapKeys[i] != entries[i].pixmap.cacheKey()) {
                m_scene->setEntryPixmap(i, entries[i].pixmap);
                m_pixmapKeys[i] = entries[i].pixmap.cacheKey();
            }
        }
    }
    m_scene->setCurrentEntry(m_ids.indexOf(current));
}

void OverviewController::setCurrentEntry(int id)
{
    if (m_shown)
        m_scene->setCurrentEntry(m_ids.indexOf(id));
}
