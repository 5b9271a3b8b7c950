#pragma once

#include "core/document/osddocument.h"
#include "core/document/projectstate.h"
#include "mainwindow/editorstate.h"

#include <QColor>
#include <QDialog>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSet>
#include <QSize>
#include <QVector>
#include <memory>

class CheckBoxEx;
class Config;
class CustomToolButton;
class DoubleSlider;
class ExportTextImage;
class LabelEx;
class OSDItem;
class QAction;
class OverviewController;
class PreviewView;
class CutController;
class KeyingController;
class KeyPanelController;
class PlacementController;
class TabsController;
class ExchangeController;
class ProjectController;
class RecoveryKeeper;
class PropertyPanel;
class PushButtonEx;
class QComboBox;
class QToolButton;
class QFrame;
class QGraphicsScene;
class QGraphicsView;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QSessionManager;
class QSpacerItem;
class QUndoStack;
class HistoryCommand;
class QVBoxLayout;
class SourceData;
class TableWidgetEx;
class VideoControlOSD;
namespace Utils {
class FramelessHelper;
}

// The editor's single main window: toolbar, the tab list (one tab per OSD item) and the property
// panel. It receives every signal that items, tabs and controls send.
class Quillmere : public QDialog
{
    Q_OBJECT
public:
    explicit Quillmere(QWidget *parent = nullptr);
    ~Quillmere() override;

public slots:
    void slot_picturnButten();
    void slot_textButten();
    void on_exportTextImage(QImage *img, QColor color, QFont font, QString text);
    void on_removeTable(int index);
    void slot_removeAllTable();
    void on_notifyAddTable(int index);
    void on_currentTableChanged(int index);
    void slot_splitesetZero();
    void slot_updataAllslider();
    void slot_updateImgOfView(QImage image, QRect rect);
    void slot_deleteItem();
    void slot_loadingText();
    void slot_createButten();
    void slot_inputButten();
    void slot_outputButten();
    void on_testNum(int index);
    void slot_getIsDisPlayImg(bool show);
    void slot_displayColorFormColorDialog();
    void slot_displayColorFormColorDialogBegin();
    void slot_displayColorFormColorDialogEnd();
    void slot_applyDataForDataModel();
    void slot_Resetbutton();
    void slot_setColorOfMouse(double x, double y, double PicX, double PicY);
    void slot_setColorR(int x, int y);
    void slot_setColorG(int x, int y);
    void slot_setColorB(int x, int y);
    void slot_itemHoverLeave();
    void slot_itemHoverEnter(QPointF pos);
    void slot_mouseClicked();

public:
    // Keys image in place with the current tab's colour range and fill colour.
    void applyColorKey(QImage &image);

    // The OSD list: one entry per tab, in tab order.
    OsdDocument *document() const { return m_document; }
    // The whole list as a project file holds it.
    ProjectState projectState() const;
    // Replaces the list and its history with a saved one; the result counts as saved.
    void openProjectState(const ProjectState &project);

    // The folder of settings.ini; the application's folder unless set. Setting it reads the output
    // screen from there.
    void setSettingsFolder(const QString &folder);
    QString settingsFolder() const;

    // Imports OSD files into tabs as the import button does once the files are chosen: the files are
    // read and checked first, and a bad one leaves the tabs as they are and is named in a warning.
    // False when nothing was imported.
    bool importFiles(const QStringList &files);
    // Files named on the command line: one project file is opened, OSD files are imported.
    bool openFiles(const QStringList &files);
    ProjectController *project() const { return m_project; }
    // Keeps a recovery copy of the work from now on (see RecoveryKeeper); the editor does, tests
    // that need it do.
    RecoveryKeeper *keepRecoveryCopy();
    RecoveryKeeper *recovery() const { return m_recovery; }

    // Puts the window where it was when it was last closed (settings.ini) and remembers where it is
    // when it closes; the editor's own window does this, windows made for other purposes do not.
    void rememberPlacement();

    // The device's output screen that every preview frames; a new size is remembered in settings.ini.
    QSize outputScreenSize() const { return m_outputScreenSize; }
    void setOutputScreenSize(const QSize &size);

    // The overview: every tab's item on the output screen at once, in place of the tabs.
    void setOverviewVisible(bool visible);
    bool isOverviewVisible() const;

    // True when the OSD list differs from what was last exported or imported: undoing back to that
    // point makes it false again.
    bool hasUnexportedChanges() const;
    // Every change to the OSD list, to be undone and redone.
    QUndoStack *undoStack() const { return m_undoStack; }
    // Bytes of the pictures the undo history holds that the live list does not.
    qint64 historyBytes() const;

    // Escape, the close button, Alt+F4 and closing from code all end here: with unexported changes
    // the operator is asked first and may stay.
    void reject() override;

protected:
    void paintEvent(QPaintEvent *event) override;
    // Ends a keying gesture when a slider handle is let go.

private:
    // Guarding the operator's work (quillmere.cpp).
    // The kinds of change to the OSD list, each one step to undo.
    enum class Step
    {
        AddTab,
        CloseTab,
        RemoveAll,
        ResetKey,
        Picture,
        Text,
        Clear,
        Cut,
        CutView,
        Key,
        Fill,
        Move,
        Import
    };
    // Records a change that has just happened as one step (entryId: the entry it is about, the
    // current one unless given; title: its name in the step's text, for an entry that is gone). Key
    // changes and moves of one gesture make one step.
    void markChanged(Step step, int entryId = 0, const QString &title = QString());
    void markSaved();
    bool confirmClose();
    void commitSessionData(QSessionManager &manager);

    // Construction (quillmere.cpp).
    void initUi();
    CustomToolButton *addToolBarButton(QPushButton *&pushButton, const QString &caption, const QString &icon,
                                       const char *slot);
    // Makes the property panel and connects its controls.
    void initPropertyPanel();

    // Tab list (quillmere_tabs.cpp).
    void createFirstTab();
    void createColorTip();
    void resetTabs();
    // The operator's remove-all: asks first when tabs or items would go.
    void resetTabsAsked();
    // The entry a tab shows (0 when there is no such tab), and the tab showing an entry (-1).
    int entryIdOf(int tabIndex) const;
    int tabOfEntry(int id) const;
    int currentEntryId() const;
    QString currentTitle() const;
    // A page for entry at the end of the tab list.
    QGraphicsView *addEntryPage(const OsdEntry &entry, bool first);
    QGraphicsView *currentView() const;
    QList<OSDItem *> currentItems() const;

    // Adds an empty tab at the end, numbered like an interactive add, and makes it current.
    QGraphicsScene *appendTab();

    // Items (quillmere_items.cpp). Every item, new, imported or replacing another, is made by
    // newItem, then connected and put into its tab by addItem.
    enum class ItemTab
    {
        Current, // in place of whatever the current tab held
        New      // into a new tab at the end, which becomes current
    };
    // A new item holding image as its source picture; the caller sets what it shows and its records.
    static OSDItem *newItem(const QImage &image, bool isPicture);
    // Connects the item's signals to the window as its kind needs them.
    void connectItem(OSDItem *item);
    // Connects the item and puts it into a tab. Without a current tab the item is freed and this
    // returns false.
    bool addItem(OSDItem *item, ItemTab tab);
    // Puts a new picture item showing image, with its record, into the current tab in place of
    // what the tab held. Null when there is no tab to take it.
    OSDItem *addPictureItem(const QImage &image, const QByteArray &original = QByteArray());

    // Export and import (quillmere_exchange.cpp).
    void initExchange();
    void fillDataModelFromTabs();
    void rebuildFromDataModel();
    void rebuildFirstItem(bool isPicture, const QByteArray &data, const QSize &size, int completionWidth,
                          VideoControlOSD *record, SourceData *source, const QPointF &pos);
    void rebuildNextItem(bool isPicture, const QByteArray &data, const QSize &size, int completionWidth,
                         VideoControlOSD *record, SourceData *source, const QPointF &pos);
    OSDItem *makeImportedItem(bool isPicture, const QByteArray &data, const QSize &size, int completionWidth,
                              VideoControlOSD *record, SourceData *source, const QPointF &pos);

    // Placing items on the output screen (quillmere_layout.cpp).
    void initOutputControl();
    void connectPositionControls(PropertyPanel *panel);
    void outputScreenChosen(int index);
    // Tells the placement which entry is current.
    void updatePositionControls();
    void nudgeCurrentItem(const QPoint &delta);
    void fillOutputChoices();
    // Says once per window, without stopping the work, that settings.ini cannot be written (or was
    // not, when saved is false).
    void warnIfSettingsReadOnly(const Config &config, bool saved = true);
    // Shows the screen in every preview, without remembering it.
    void applyOutputScreenSize(const QSize &size);
    // The item of the current tab, or null when it has none.
    OSDItem *currentItem() const;
    // Every change of an item's position comes here: nudges, alignment, the position fields and
    // drags in the overview.
    void moveItem(OSDItem *item, const QPoint &pos);
    PreviewView *currentPreview() const;
    // "OSD3" and the like for every item lying partly or wholly off the output screen.
    QStringList itemsOffScreen() const;

    // The overview (quillmere_overview.cpp).
    void initOverview(QHBoxLayout *workArea);
    // Brings the overview up to date with the tabs while it is shown.
    void refreshOverview();

    // Undo and redo (quillmere_undo.cpp).
    void initUndo();
    // Open, save and the recent projects on the toolbar, with their shortcuts.
    void initProject();
    // The title names the project, marked while it has unsaved changes, or the last OSD file.
    void showProjectTitle();
    void applyUndoLimit(int limit);
    // The picture memory the history may hold beyond the live list, in MiB.
    void applyUndoMemory(int mebibytes);
    // Drops the oldest steps while the history holds more than its memory budget (the newest step
    // always stays), and says in the undo button's tip that steps were dropped.
    void trimHistory();
    void showUndoTip();
    // The pixel buffers the live list holds: pictures, keyed pictures, records' pixel data.
    QSet<const void *> liveBuffers() const;
    // Ends the gesture that key changes and moves merge in.
    void closeGesture();
    std::shared_ptr<const EditorState> captureState() const;
    QString stepText(Step step, const QString &tab) const;
    OSDItem *buildItem(const OsdEntry &entry, const EditorState::Item &state);
    // Puts item (or nothing) into scene in place of what it held.
    void placeItem(QGraphicsScene *scene, OSDItem *item);
    void restoreTab(int index, const OsdEntry &entry, const EditorState::Item *state);
    void restoreState(const std::shared_ptr<const EditorState> &state, int entry);
    // Puts one entry's tab back as a step of that entry keeps it.
    void restoreEntry(const EditorState::Tab &tab);
    // After undo or redo: the panel, the position boxes and the overview show the list.
    void showRestored();
    // The step of the history that records a change of this kind from the last state to now.
    HistoryCommand *makeStep(Step step, const QString &text, int entry,
                             const std::shared_ptr<const EditorState> &now);
    // The item a tab's page holds, or null.
    static OSDItem *itemOfPage(QWidget *page);

    // Text window (quillmere_text.cpp).
    void openTextWindow(bool reedit);

    // Colour keying (quillmere_keying.cpp).
    // The key panel as the current entry's recipe is: switch, sliders, numbers, picked and fill colour.
    void showCurrentEntry();
    // Shows what changed of an entry on its tab's item and derives its record from it.
    void showEntryChange(int id, OsdDocument::Aspect aspect);
    // Takes the place and cut of an item just put into a tab into the tab's entry.
    void adoptItem(int id, const OSDItem *item);
    // A move, cut or cut-view switch made on the item itself, told to its entry.
    void itemMoved(OSDItem *item);
    int entryOfItem(const OSDItem *item) const;
    // False while undo or an import puts items back: they show their entries themselves.
    bool itemsFollowEntries() const { return !m_restoring && !m_adopting; }
    OSDItem *itemOfEntry(int id) const;

    QSize m_outputScreenSize = QSize(1920, 1080);
    QPushButton *m_overviewButton = nullptr;
    CustomToolButton *m_overviewToolButton = nullptr;
    OverviewController *m_overview = nullptr;
    QComboBox *m_outputCombo = nullptr;
    PlacementController *m_placement = nullptr;
    KeyPanelController *m_keyPanel = nullptr;
    KeyingController *m_keying = nullptr;
    CutController *m_cut = nullptr;
    ProjectController *m_project = nullptr;
    RecoveryKeeper *m_recovery = nullptr;
    OsdDocument *m_document = nullptr;
    ExportTextImage *m_textWindow = nullptr;
    // Text left unsent in the last fresh text window, offered again at the next one.
    QString m_textDraft;
    QString m_settingsFolder;
    bool m_settingsWarned = false;
    bool m_remembersPlacement = false;
    QHBoxLayout *m_mainLayout = nullptr;
    QVBoxLayout *m_contentLayout = nullptr;
    QHBoxLayout *m_toolBarLayout = nullptr;
    QPushButton *m_createButton = nullptr;
    CustomToolButton *m_createToolButton = nullptr;
    QPushButton *m_inputButton = nullptr;
    CustomToolButton *m_inputToolButton = nullptr;
    QPushButton *m_outputButton = nullptr;
    CustomToolButton *m_outputToolButton = nullptr;
    QPushButton *m_pictureButton = nullptr;
    CustomToolButton *m_pictureToolButton = nullptr;
    QPushButton *m_textButton = nullptr;
    CustomToolButton *m_textToolButton = nullptr;
    QSpacerItem *m_toolBarSpacer = nullptr;
    QLabel *m_toolBarLine = nullptr;
    TableWidgetEx *m_tabWidget = nullptr;
    TabsController *m_tabs = nullptr;
    ExchangeController *m_exchange = nullptr;
    Utils::FramelessHelper *m_framelessHelper = nullptr;
    PropertyPanel *m_panel = nullptr;
    QFrame *m_colorTip = nullptr;
    QLabel *m_colorTipLabel = nullptr;
    QLabel *m_colorTipSwatch = nullptr;
    QUndoStack *m_undoStack = nullptr;
    QToolButton *m_undoButton = nullptr;
    QAction *m_undoAction = nullptr;
    QToolButton *m_redoButton = nullptr;
    // The list as the last step left it; the next step's "before".
    std::shared_ptr<const EditorState> m_lastState;
    int m_gesture = 0;
    qint64 m_undoBudget = 256 * qint64(1024 * 1024);
    // Steps dropped from the oldest end of the history, by the step limit or the memory budget.
    int m_droppedSteps = 0;
    bool m_restoring = false;
    // While an item's own state is being taken into its entry, the item is not told it back.
    bool m_adopting = false;
    bool m_itemMoving = false;
    // Above 0 while one operation makes several changes that are to be one step.
    int m_stepsHeld = 0;
    // The answer to the close question asked as the session ends. The session closes the windows
    // right after asking; that close takes this answer instead of asking again.
    enum class SessionAnswer
    {
        None,
        Close,
        Stay
    };
    SessionAnswer m_sessionAnswer = SessionAnswer::None;

    friend class QuillmereTestAccess;
};
