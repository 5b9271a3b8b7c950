#pragma once

#include "core/document/osddocument.h"
#include "mainwindow/keypanelcontroller.h"
#include "mainwindow/quillmere.h"
#include "widgets/styled/tablewidgetex.h"

#include <QGraphicsScene>
#include <QGraphicsView>
#include <QList>

// Reaches the main window's private state that no widget shows and no controller drives yet
// (Quillmere befriends this class). Widgets are found as the operator sees them, through the
// object tree (support/windowparts.h).
class QuillmereTestAccess
{
public:
    // Tab list and pages.
    static QGraphicsView *currentView(Quillmere &w) { return w.currentView(); }
    static QList<OSDItem *> currentItems(Quillmere &w) { return w.currentItems(); }
    static QGraphicsView *view(Quillmere &w, int index)
    {
        return qobject_cast<QGraphicsView *>(w.m_tabWidget->widget(index));
    }
    static QGraphicsScene *scene(Quillmere &w, int index)
    {
        QGraphicsView *v = view(w, index);
        return v ? v->scene() : nullptr;
    }
    static void resetTabs(Quillmere &w) { w.resetTabs(); }
    // A tab added past the interactive limit, as an import adds them.
    static void appendTab(Quillmere &w) { w.appendTab(); }
    // A picture item put into the current tab as the picture button puts it.
    static OSDItem *addPictureItem(Quillmere &w, const QImage &image) { return w.addPictureItem(image); }

    // The undo history's memory budget in bytes.
    static qint64 undoBudget(Quillmere &w) { return w.m_undoBudget; }

    // Items, keying and picking state.
    // The current tab's keying recipe, read and arranged.
    static KeyRecipe key(Quillmere &w) { return w.m_keyPanel->key(); }
    static void setKey(Quillmere &w, const KeyRecipe &key) { w.m_keyPanel->setKey(key); }
    // The current tab's fill colour and range bounds, to read or to arrange without telling the
    // panel (setSelectColor and the like tell it).
    static QColor &selectColor(Quillmere &w) { return currentKeyField(w, &KeyRecipe::fill); }
    static QColor &beginColor(Quillmere &w) { return currentKeyField(w, &KeyRecipe::begin); }
    static QColor &endColor(Quillmere &w) { return currentKeyField(w, &KeyRecipe::end); }
    static void setSelectColor(Quillmere &w, const QColor &c) { arrange(w, &KeyRecipe::fill, c); }
    static void setBeginColor(Quillmere &w, const QColor &c) { arrange(w, &KeyRecipe::begin, c); }
    static void setEndColor(Quillmere &w, const QColor &c) { arrange(w, &KeyRecipe::end, c); }
    static ExportTextImage *&textWindow(Quillmere &w) { return w.m_textWindow; }

    // Export and import steps.
    static void fillDataModelFromTabs(Quillmere &w) { w.fillDataModelFromTabs(); }
    static void rebuildFromDataModel(Quillmere &w) { w.rebuildFromDataModel(); }

private:
    static QColor &currentKeyField(Quillmere &w, QColor KeyRecipe::*field)
    {
        OsdEntry *entry = w.m_document->find(w.currentEntryId());
        static KeyRecipe none;
        return entry ? entry->key.*field : none.*field;
    }
    static void arrange(Quillmere &w, QColor KeyRecipe::*field, const QColor &c)
    {
        KeyRecipe key = w.m_keyPanel->key();
        key.*field = c;
        w.m_keyPanel->setKey(key);
    }
};
