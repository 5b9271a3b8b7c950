#pragma once

#include "core/pixels/colorkeyer.h"
#include "mainwindow/keypanelcontroller.h"

#include <QColor>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QString>

#include <functional>

class OSDItem;
class QImage;
class QWidget;

// Keying the pictures: an entry's item keyed from a key into its pixmap and record, the current
// entry's items keyed again after each edit of its recipe, the reset of the recipe and pictures,
// and the pick of a colour on the pressed item. The recipe itself is the key panel's; the window
// says which items the tab in front shows and records the steps.
class KeyingController : public QObject
{
    Q_OBJECT
public:
    // The kinds of step keying makes.
    enum class Step
    {
        Key,
        Fill,
        Reset
    };

    // What keying needs of the window.
    struct Window
    {
        // The items the tab in front shows.
        std::function<QList<OSDItem *>()> currentItems;
        // Its name in the messages ("OSD3").
        std::function<QString()> currentTitle;
        // Records the change just made to the current entry as one step of that kind.
        std::function<void(Step)> record;
        // Ends the gesture in which keying steps merge.
        std::function<void()> closeGesture;
        // While held, changes are not recorded; the operation that holds them records one step.
        std::function<void()> holdSteps;
        std::function<void()> releaseSteps;
    };

    // Hears the key panel's edits; its messages and questions come over window.
    KeyingController(QWidget *window, KeyPanelController *keys, Window hooks);

    // Keys item's source picture into its pixmap and record. mayReuse (undo and redo): when the
    // result kept from the last keying step is the one asked for, it is shown without keying.
    void keyItem(OSDItem *item, const QColor &begin, const QColor &end, const QColor &fill, bool fillOn,
                 bool mayReuse = false);
    // Keys the current tab's items again with the current entry's recipe, a step for each.
    void keyCurrentItems();
    // Keys image in place with the current entry's range and fill colour.
    void applyKey(QImage &image) const;
    // The operator's reset of the current entry: the ranges go back and keyed pictures show their
    // source again, after asking where keyed pixels would be lost.
    void reset();
    // A press on an item's picture: picks the picture's own colour there while keying is on.
    void pickAt(OSDItem *item, const QPointF &itemPos);

private:
    void keyEdited(int id, KeyPanelController::Edit edit);
    void writeKeyedRecord(OSDItem *item, const QImage &image);
    // True when the reset may go on: asks first when it would give back keyed pixels.
    bool confirmReset();
    void dropKeptResult();

    QWidget *m_window;
    KeyPanelController *m_keys;
    Window m_hooks;
    // The result the last keying step replaced, with its key, for one item only: undoing the step
    // shows it again without keying, and the next step writes into its memory.
    struct KeyedResult
    {
        QPointer<OSDItem> item;
        qint64 source = 0;
        QColor begin;
        QColor end;
        QColor fill;
        bool withRecord = false;
        ColorKeyer::Keyed keyed;
    };
    KeyedResult m_kept;
};
