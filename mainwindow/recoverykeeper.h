#pragma once

#include "core/document/projectstate.h"

#include <QFuture>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

class ProjectFile;
class QLockFile;
class QWidget;

// Keeps a copy of the work in a recovery file (a project file in the application's data folder), so
// that a crash, a kill or a lost session loses at most the last second. Every change is written in
// the background, within a second; pictures already in the file are not written again. Each editor
// has a file of its own, locked while it runs; a clean exit removes it, and a file whose editor is
// gone is offered for restoring at the next start.
class RecoveryKeeper : public QObject
{
    Q_OBJECT
public:
    using Capture = std::function<ProjectState()>;
    using Open = std::function<void(const ProjectState &)>;

    RecoveryKeeper(QWidget *window, Capture capture, Open open, QObject *parent = nullptr);
    ~RecoveryKeeper() override;

    // The folder of the recovery files.
    static QString folder();
    // Recovery files whose editor is no longer running, newest first.
    static QStringList orphans();

    // The work changed: it is written within a second.
    void changed();
    // Writes what is pending now and waits for it (tests, and before the file goes).
    void flush();
    // A clean exit: the file goes.
    void finish();
    QString fileName() const { return m_fileName; }

    // Offers the work an editor left behind: restore, discard or decide later. True when work was
    // restored.
    bool offerRecovery();

private:
    void writeNow();

    QWidget *m_window;
    Capture m_capture;
    Open m_open;
    QString m_fileName;
    std::unique_ptr<QLockFile> m_lock;
    // Used by one background write at a time; remembers the pictures the file holds.
    std::unique_ptr<ProjectFile> m_file;
    QTimer m_timer;
    QFuture<void> m_writing;
    bool m_pending = false;
    bool m_finished = false;
};
