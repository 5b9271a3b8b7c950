#pragma once

#include <QObject>
#include <QPixmap>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QVector>

#include <functional>

class OverviewScene;
class PreviewView;
class QWidget;

// The overview: every entry's item composed on the output screen, where items are dragged into
// place and picked to make their tab current. It owns its view and scene and knows entries by id;
// what it shows comes from the window, each time it is refreshed.
class OverviewController : public QObject
{
    Q_OBJECT
public:
    // One entry with an item, as the overview shows it.
    struct Shown
    {
        int entry = 0;
        QPixmap pixmap;
        QPoint position;
        QString title;
    };
    using Entries = std::function<QVector<Shown>()>;

    OverviewController(QWidget *parent, Entries entries);

    PreviewView *view() const { return m_view; }
    bool isShown() const { return m_shown; }
    // Shows the overview up to date, current marked (the window hides the tabs and lays itself
    // out, then fit()).
    void show(const QSize &screen, int current);
    // Frames the whole screen and takes the keyboard.
    void fit();
    // Hides it and lets go of everything the next showing rebuilds anyway.
    void hide();
    // Brings the pictures and positions up to date, rebuilding only when entries came or went, and
    // marks the entry current (0 for none). Nothing while hidden.
    void refresh(const QSize &screen, int current);
    // The entry to mark as current (0 for none).
    void setCurrentEntry(int id);

signals:
    void moved(int entry, const QPoint &pos);
    void picked(int entry);
    // A drag or a run of arrow keys ended: the next move is a step of its own.
    void gestureEnded();
    void nudgeRequested(const QPoint &delta);

private:
    Entries m_entries;
    PreviewView *m_view;
    OverviewScene *m_scene;
    bool m_shown = false;
    // The entry of each of the scene's items, and the pixels each was given.
    QVector<int> m_ids;
    QVector<qint64> m_pixmapKeys;
};
