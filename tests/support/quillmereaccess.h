#pragma once

#include "core/document/osddocument.h"
#include "mainwindow/overviewcontroller.h"
#include "mainwindow/propertypanel.h"
#include "mainwindow/quillmere.h"
#include "widgets/styled/tablewidgetex.h"

#include <QGraphicsScene>
#include <QGraphicsView>
#include <QList>

// Reaches the main window's private state from tests (Quillmere befriends this class).
// Widgets come back as pointers, so a test can also arrange state before driving a slot.
class QuillmereTestAccess
{
public:
    // Tab list and pages.
    static TableWidgetEx *tabWidget(Quillmere &w) { return w.m_tabWidget; }
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

    // The undo history's memory budget in bytes and its undo button.
    static qint64 undoBudget(Quillmere &w) { return w.m_undoBudget; }
    static QToolButton *undoButton(Quillmere &w) { return w.m_undoButton; }

    // Items, keying and picking state.
    // The current tab's keying recipe, read and arranged.
    static KeyRecipe key(Quillmere &w) { return w.currentKey(); }
    static void setKey(Quillmere &w, const KeyRecipe &key) { w.setCurrentKey(key); }
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

    // Toolbar.
    static CustomToolButton *createToolButton(Quillmere &w) { return w.m_createToolButton; }
    static CustomToolButton *inputToolButton(Quillmere &w) { return w.m_inputToolButton; }
    static CustomToolButton *outputToolButton(Quillmere &w) { return w.m_outputToolButton; }
    static CustomToolButton *pictureToolButton(Quillmere &w) { return w.m_pictureToolButton; }
    static CustomToolButton *textToolButton(Quillmere &w) { return w.m_textToolButton; }
    static QPushButton *createButton(Quillmere &w) { return w.m_createButton; }
    static QPushButton *inputButton(Quillmere &w) { return w.m_inputButton; }
    static QPushButton *outputButton(Quillmere &w) { return w.m_outputButton; }
    static QPushButton *pictureButton(Quillmere &w) { return w.m_pictureButton; }
    static QPushButton *textButton(Quillmere &w) { return w.m_textButton; }

    // Property panel.
    static QFrame *propertyFrame(Quillmere &w) { return w.m_panel; }
    static PushButtonEx *resetButton(Quillmere &w) { return w.m_panel->resetButton(); }
    static LabelEx *fillColorSwatch(Quillmere &w) { return w.m_panel->fillColorSwatch(); }
    static CheckBoxEx *selectColorCheck(Quillmere &w) { return w.m_panel->selectColorCheck(); }
    static QLabel *pickedColorLabel(Quillmere &w) { return w.m_panel->pickedColorLabel(); }
    static QLabel *pickedColorSwatch(Quillmere &w) { return w.m_panel->pickedColorSwatch(); }
    static DoubleSlider *sliderR(Quillmere &w) { return w.m_panel->slider(0); }
    static DoubleSlider *sliderG(Quillmere &w) { return w.m_panel->slider(1); }
    static DoubleSlider *sliderB(Quillmere &w) { return w.m_panel->slider(2); }
    static QLabel *minLabelR(Quillmere &w) { return w.m_panel->minLabel(0); }
    static QLabel *minLabelG(Quillmere &w) { return w.m_panel->minLabel(1); }
    static QLabel *minLabelB(Quillmere &w) { return w.m_panel->minLabel(2); }
    static QLabel *maxLabelR(Quillmere &w) { return w.m_panel->maxLabel(0); }
    static QLabel *maxLabelG(Quillmere &w) { return w.m_panel->maxLabel(1); }
    static QLabel *maxLabelB(Quillmere &w) { return w.m_panel->maxLabel(2); }
    // The three channels by number: 0 red, 1 green, 2 blue.
    static DoubleSlider *slider(Quillmere &w, int channel) { return w.m_panel->slider(channel); }
    static QLabel *minLabel(Quillmere &w, int channel) { return w.m_panel->minLabel(channel); }
    static QLabel *maxLabel(Quillmere &w, int channel) { return w.m_panel->maxLabel(channel); }
    static QLabel *propertyTitle(Quillmere &w) { return w.m_panel->title(); }
    static QLabel *currentColorTitle(Quillmere &w) { return w.m_panel->currentColorTitle(); }
    static QLabel *fillColorTitle(Quillmere &w) { return w.m_panel->fillColorTitle(); }

    // The frameless window's resizing and moving.
    static Utils::FramelessHelper *framelessHelper(Quillmere &w) { return w.m_framelessHelper; }

    // The colour tip built with the first tab.
    static QFrame *colorTip(Quillmere &w) { return w.m_colorTip; }
    static QLabel *colorTipLabel(Quillmere &w) { return w.m_colorTipLabel; }
    static QLabel *colorTipSwatch(Quillmere &w) { return w.m_colorTipSwatch; }

    // Placing items on the output screen.
    static SpinBoxEx *xSpin(Quillmere &w) { return w.m_panel->xSpin(); }
    static SpinBoxEx *ySpin(Quillmere &w) { return w.m_panel->ySpin(); }
    static QToolButton *alignButton(Quillmere &w, int index) { return w.m_panel->alignButton(index); }
    static QComboBox *outputCombo(Quillmere &w) { return w.m_outputCombo; }
    static CustomToolButton *overviewToolButton(Quillmere &w) { return w.m_overviewToolButton; }
    static PreviewView *overviewView(Quillmere &w) { return w.m_overview->view(); }

private:
    static QColor &currentKeyField(Quillmere &w, QColor KeyRecipe::*field)
    {
        OsdEntry *entry = w.m_document->find(w.currentEntryId());
        static KeyRecipe none;
        return entry ? entry->key.*field : none.*field;
    }
    static void arrange(Quillmere &w, QColor KeyRecipe::*field, const QColor &c)
    {
        KeyRecipe key = w.currentKey();
        key.*field = c;
        w.setCurrentKey(key);
    }
};
