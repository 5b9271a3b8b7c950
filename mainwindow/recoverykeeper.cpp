#include "mainwindow/recoverykeeper.h"

#include "interfaces/project/projectfile.h"
#include "mainwindow/windowlogging.h"
#include "widgets/styled/custommegbox.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QUuid>
#include <QtConcurrent>

namespace {
const int kDelayMs = 500;

QString lockName(const QString &fileName)
{
    return fileName + QStringLiteral(".lock");
}

// A lock that is never taken for stale by its age: only when its editor is gone.
std::unique_ptr<QLockFile> takeLock(const QString &fileName)
{
    auto lock = std::make_unique<QLockFile>(lockName(fileName));
    lock->setStaleLockTime(0);
    return lock->tryLock(0) ? std::move(lock) : nullptr;
}
} // namespace

RecoveryKeeper::RecoveryKeeper(QWidget *window, Capture capture, Open open, QObject *parent)
    : QObject(parent), m_window(window), m_capture(std::move(capture)), m_open(std::move(open)),
      m_file(new ProjectFile)
{
    QDir().mkpath(folder());
    // A name of its own, locked while this editor runs, so two editors never share a file.
    m_fileName = QDir(folder()).filePath(
        QStringLiteral("work-%1.%2")
            .arg(QUuid::createUuid().toString(QUuid::WithoutBraces), ProjectFile::suffix()));
    m_lock = takeLock(m_fileName);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryKeeper::writeNow);
}

RecoveryKeeper::~RecoveryKeeper()
{
    // Whatever is being written is finished; the file stays unless the exit was a clean one.
    m_writing.waitForFinished();
}

QString RecoveryKeeper::folder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("recovery"));
}

QStringList RecoveryKeeper::orphans()
{
    const QFileInfoList files = QDir(folder()).entryInfoList(
        {QStringLiteral("work-*.") + ProjectFile::suffix()}, QDir::Files, QDir::Time);
    QStringList found;
    for (const QFileInfo &file : files) {
        // A file whose lock can be taken has no editor any more.
        if (std::unique_ptr<QLockFile> lock = takeLock(file.absoluteFilePath()))
            found << file.absoluteFilePath();
    }
    return found;
}

void RecoveryKeeper::changed()
{
    // Not restarted by each change, so a long drag is written while it goes on.
    if (!m_finished && m_lock && !m_timer.isActive())
        m_timer.start(kDelayMs);
}

void RecoveryKeeper::writeNow()
{
    if (m_finished || !m_lock)
        return;
    if (m_writing.isRunning()) {
        // Written again once the write under way is done, with what the work is then.
        m_pending = true;
        m_timer.start(kDelayMs);
        return;
    }
    m_pending = false;
    // Taking the state is quick (it shares the pixels); the writing goes to another thread.
    const ProjectState state = m_capture();
    ProjectFile *file = m_file.get();
    const QString name = m_fileName;
    m_writing = QtConcurrent::run([file, name, state] {
        ProjectFile::Error error;
        if (!file->save(name, state, &error))
            qCWarning(lcWindow) << "recovery copy not written:" << error.message();
    });
}

void RecoveryKeeper::flush()
{
    m_writing.waitForFinished();
    if (m_timer.isActive() || m_pending) {
        m_timer.stop();
        writeNow();
        m_writing.waitForFinished();
    }
}

void RecoveryKeeper::finish()
{
    m_finished = true;
    m_timer.stop();
    m_writing.waitForFinished();
    if (!m_lock)
        return;
    QFile::remove(m_fileName);
    QFile::remove(m_fileName + QStringLiteral("-journal"));
    m_lock->unlock();
    m_lock.reset();
}

bool RecoveryKeeper::offerRecovery()
{
    const QStringList found = orphans();
    if (found.isEmpty())
        return false;
    const QString orphan = found.first();
    const QString when = QFileInfo(orphan).lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    CustomMegBox box(m_window, CustomMegBox::Question, tr("提示"),
                     tr("上次的工作没有正常结束(最后保存于 %1)。是否恢复?").arg(when), tr("恢复"),
                     tr("以后再说"), tr("丢弃"));
    box.setObjectName(QStringLiteral("recoveryQuestion"));
    const int answer = box.exec();
    if (answer == CustomMegBox::No) {
        QFile::remove(orphan);
        return false;
    }
    if (answer != QDialog::Accepted)
        return false;
    ProjectFile file;
    ProjectState state;
    ProjectFile::Error error;
    if (!file.load(orphan, &state, &error)) {
        // The file stays where it is, for another try or for someone to look at.
        CustomMegBox::waringMessageBox(m_window, tr("错误提示"), tr("无法恢复。\n%1").arg(error.message()),
                                       tr("OK"));
        return false;
    }
    m_open(state);
    // The work now lives in this editor's own copy; the old one goes once that is written.
    changed();
    flush();
    QFile::remove(orphan);
    return true;
}
