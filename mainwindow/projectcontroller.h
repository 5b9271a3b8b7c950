#pragma once

#include "core/document/projectstate.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class ProjectFile;
class QAction;
class QMenu;
class QUndoStack;
class QWidget;

// The project file the operator's work is kept in: Open, Save, Save As and the recent projects.
// The window gives it the whole list and takes one back; the history's clean state means "saved or
// exported", so the unsaved mark and the questions follow it.
class ProjectController : public QObject
{
    Q_OBJECT
public:
    using Capture = std::function<ProjectState()>;
    using Open = std::function<void(const ProjectState &)>;

    ProjectController(QWidget *window, QUndoStack *history, Capture capture, Open open,
                      std::function<QString()> settingsFolder, QObject *parent = nullptr);
    ~ProjectController() override;

    // The project the work was last opened from or saved to; empty while there is none.
    QString fileName() const { return m_fileName; }

    // Saves into the project's file, or asks for one when there is none. False when nothing was
    // saved (cancelled or failed, the reason shown).
    bool save();
    bool saveAs();
    bool saveTo(const QString &fileName);
    // Asks for a project file and opens it, after asking about unsaved work.
    void open();
    // Opens fileName in place of the work, after asking about unsaved work; false when the work
    // stays as it was (cancelled, or the file refused with its reason shown).
    bool openFile(const QString &fileName);
    // Opens fileName without asking; the work stays as it was when it is refused (reason in *error).
    bool load(const QString &fileName, QString *error);

    // With unsaved work: asks whether to save it first. False when the operator cancelled or the
    // save failed, so whatever was about to replace the work must not.
    bool settleUnsavedWork();
    // The question for closing the window while a project is open: save, do not save, cancel.
    bool settleBeforeClose();

    // Project files opened or saved, newest first; only those that still exist.
    QStringList recentProjects() const;
    // Open, Save and Save As with their shortcuts, then the recent projects (filled each time the
    // menu is shown).
    QMenu *menu() const { return m_menu; }

    // The work has been written to an OSD file or replaced by one: it is no longer the project's.
    void forgetFile();

signals:
    // The project's file changed (opened, saved under a new name, forgotten).
    void fileNameChanged(const QString &fileName);

private:
    // Save, do not save or cancel; false when cancelled or the save failed.
    bool askToSave(const QString &question);
    void remember(const QString &fileName);
    void setFileName(const QString &fileName);
    void fillRecentMenu();
    QString askFileName(bool forSaving);

    QWidget *m_window;
    QUndoStack *m_history;
    Capture m_capture;
    Open m_open;
    std::function<QString()> m_settingsFolder;
    // Remembers the pictures the file holds, so a save after one change writes only that change.
    std::unique_ptr<ProjectFile> m_file;
    QString m_fileName;
    QMenu *m_menu;
    // Where the recent projects begin in the menu.
    QAction *m_recentSeparator;
};
