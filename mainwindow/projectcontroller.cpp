#include "mainwindow/projectcontroller.h"

#include "core/settings/config.h"
#include "interfaces/project/projectfile.h"
#include "mainwindow/windowlogging.h"
#include "widgets/styled/custommegbox.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QUndoStack>
#include <QWidget>

namespace {
bool isProject(const QString &fileName)
{
    return fileName.endsWith(QLatin1Char('.') + ProjectFile::suffix(), Qt::CaseInsensitive);
}
} // namespace

ProjectController::ProjectController(QWidget *window, QUndoStack *history, Capture capture, Open open,
                                     std::function<QString()> settingsFolder, QObject *parent)
    : QObject(parent), m_window(window), m_history(history), m_capture(std::move(capture)),
      m_open(std::move(open)), m_settingsFolder(std::move(settingsFolder)), m_file(new ProjectFile),
      m_menu(new QMenu(window))
{
    m_menu->setObjectName(QStringLiteral("projectMenu"));
    m_menu->setStyleSheet(QStringLiteral(
        "QMenu{background:rgb(38,38,38);color:rgb(210,210,210);border:1px solid rgb(110,110,110);}"
        "QMenu::item{padding:4px 18px;}QMenu::item:selected{background:rgb(222,89,15);color:white;}"
        "QMenu::item:disabled{color:rgb(110,110,110);}"));
    const struct
    {
        QString text;
        QString icon;
        QKeySequence keys;
        std::function<void()> run;
    } commands[] = {
        {tr("打开工程…"), QStringLiteral("open"), QKeySequence(Qt::CTRL + Qt::Key_O),
         [this] { this->open(); }},
        {tr("保存工程"), QStringLiteral("save"), QKeySequence(Qt::CTRL + Qt::Key_S),
         [this] { this->save(); }},
        {tr("工程另存为…"), QStringLiteral("saveas"), QKeySequence(Qt::CTRL + Qt::SHIFT + Qt::Key_S),
         [this] { this->saveAs(); }},
    };
    for (const auto &command : commands) {
        QAction *action = m_menu->addAction(
            QIcon(QStringLiteral(":/osdimage/res/osdimage/btn_toolbar_%1.png").arg(command.icon)),
            command.text);
        action->setShortcut(command.keys);
        // The shortcut works wherever the focus is in the window that holds the action.
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, command.run);
    }
    m_recentSeparator = m_menu->addSeparator();
    connect(m_menu, &QMenu::aboutToShow, this, &ProjectController::fillRecentMenu);
}

ProjectController::~ProjectController() = default;

bool ProjectController::save()
{
    return m_fileName.isEmpty() ? saveAs() : saveTo(m_fileName);
}

bool ProjectController::saveAs()
{
    const QString fileName = askFileName(true);
    return !fileName.isEmpty() && saveTo(fileName);
}

bool ProjectController::saveTo(const QString &fileName)
{
    ProjectFile::Error error;
    if (!m_file->save(fileName, m_capture(), &error)) {
        // The file under that name, if any, is as it was.
        CustomMegBox::waringMessageBox(m_window, tr("错误提示"), tr("工程未保存。\n%1").arg(error.message()),
                                       tr("OK"));
        return false;
    }
    qCDebug(lcWindow) << "project saved" << fileName << m_file->lastSave().blobBytesWritten
                      << "picture bytes";
    m_history->setClean();
    remember(fileName);
    setFileName(fileName);
    return true;
}

void ProjectController::open()
{
    if (!settleUnsavedWork())
        return;
    const QString fileName = askFileName(false);
    if (fileName.isEmpty())
        return;
    QString error;
    if (!load(fileName, &error))
        CustomMegBox::waringMessageBox(m_window, tr("错误提示"),
                                       tr("无法打开工程,当前的OSD内容未作改动。\n%1").arg(error), tr("OK"));
}

bool ProjectController::openFile(const QString &fileName)
{
    if (!settleUnsavedWork())
        return false;
    QString error;
    if (load(fileName, &error))
        return true;
    CustomMegBox::waringMessageBox(m_window, tr("错误提示"),
                                   tr("无法打开工程,当前的OSD内容未作改动。\n%1").arg(error), tr("OK"));
    return false;
}

bool ProjectController::load(const QString &fileName, QString *error)
{
    // A fresh reader: what it learns about the file's pictures is what the next save can skip.
    auto file = std::make_unique<ProjectFile>();
    ProjectState state;
    ProjectFile::Error why;
    if (!file->load(fileName, &state, &why)) {
        if (error)
            *error = why.message();
        return false;
    }
    m_file = std::move(file);
    m_open(state);
    remember(fileName);
    setFileName(fileName);
    return true;
}

bool ProjectController::settleUnsavedWork()
{
    return m_history->isClean() || askToSave(tr("当前的OSD内容已修改但尚未保存,是否先保存工程?"));
}

bool ProjectController::settleBeforeClose()
{
    return m_history->isClean() ||
           askToSave(tr("工程 %1 已修改但尚未保存,是否先保存?").arg(QFileInfo(m_fileName).fileName()));
}

bool ProjectController::askToSave(const QString &question)
{
    switch (CustomMegBox::choiceMessageBox(m_window, tr("提示"), question, tr("保存"), tr("不保存"),
                                           tr("取消"))) {
    case CustomMegBox::Yes:
        return save();
    case CustomMegBox::No:
        return true;
    case CustomMegBox::Cancelled:
        break;
    }
    return false;
}

QStringList ProjectController::recentProjects() const
{
    // The text window keeps its own names in the same list; only project files are ours.
    const Config config(m_settingsFolder());
    QStringList projects;
    for (const QString &name : config.recentFiles) {
        if (isProject(name) && QFileInfo(name).isFile())
            projects << name;
    }
    return projects;
}

void ProjectController::remember(const QString &fileName)
{
    Config config(m_settingsFolder());
    const QString path = QFileInfo(fileName).absoluteFilePath();
    config.recentFiles.removeAll(path);
    config.recentFiles.prepend(path);
    // Only the newest projects stay; the text window's names are left as they are.
    int projects = 0;
    for (int i = 0; i < config.recentFiles.size();) {
        if (isProject(config.recentFiles[i]) && ++projects > qMax(1, config.maxRecentFiles))
            config.recentFiles.removeAt(i);
        else
            ++i;
    }
    config.save();
}

void ProjectController::setFileName(const QString &fileName)
{
    if (fileName == m_fileName)
        return;
    m_fileName = fileName;
    emit fileNameChanged(fileName);
}

void ProjectController::forgetFile()
{
    setFileName(QString());
}

void ProjectController::fillRecentMenu()
{
    const QList<QAction *> actions = m_menu->actions();
    for (int i = actions.indexOf(m_recentSeparator) + 1; i < actions.size(); ++i) {
        m_menu->removeAction(actions[i]);
        actions[i]->deleteLater();
    }
    const QStringList projects = recentProjects();
    const QIcon icon(QStringLiteral(":/osdimage/res/osdimage/btn_toolbar_recent.png"));
    for (const QString &project : projects) {
        QAction *action = m_menu->addAction(icon, QDir::toNativeSeparators(project));
        connect(action, &QAction::triggered, this, [this, project] { openFile(project); });
    }
    if (projects.isEmpty())
        m_menu->addAction(tr("(没有最近的工程)"))->setEnabled(false);
}

QString ProjectController::askFileName(bool forSaving)
{
    const QString filter = tr("工程文件 (*.%1)").arg(ProjectFile::suffix());
    const QString start = m_fileName.isEmpty() ? QString() : QFileInfo(m_fileName).absolutePath();
    QFileDialog dialog(m_window, forSaving ? tr("保存工程") : tr("打开工程"), start, filter);
    if (forSaving) {
        // The suffix is added before the dialog asks whether to replace a file of that name.
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(ProjectFile::suffix());
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}
