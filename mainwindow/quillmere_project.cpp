// The whole list as one value, for project files and the recovery copy, and back.
#include "mainwindow/quillmere.h"

#include "core/pixels/publicbase.h"
#include "core/text/productname.h"
#include "interfaces/model/sharedrecord.h"
#include "interfaces/project/projectfile.h"
#include "interfaces/records/itemrecords.h"
#include "mainwindow/projectcontroller.h"
#include "mainwindow/recoverykeeper.h"
#include "widgets/customtoolbutton.h"
#include "widgets/styled/custommegbox.h"
#include "widgets/styled/tablewidgetex.h"

#include <QAction>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QUndoStack>

ProjectState Quillmere::projectState() const
{
    const std::shared_ptr<const EditorState> state = captureState();
    ProjectState project;
    project.screen = m_outputScreenSize;
    project.current = state->current;
    project.entries.reserve(state->tabs.size());
    for (const EditorState::Tab &tab : state->tabs) {
        ProjectState::Entry saved;
        saved.entry = tab.entry;
        if (tab.item) {
            saved.output = tab.item->output;
            // A picture's record data are made again from its file; an imported record's and a
            // text's are kept as they are (the text's come from a rendering no font can repeat).
            if (!saved.output.keyed && saved.output.hasRecord &&
                !(tab.entry.kind == OsdEntry::Kind::Picture && tab.entry.hasOriginal))
                saved.recordData = tab.item->recordData;
        }
        project.entries.append(saved);
    }
    return project;
}

void Quillmere::openProjectState(const ProjectState &project)
{
    auto state = std::make_shared<EditorState>();
    state->current = project.current;
    for (const ProjectState::Entry &saved : project.entries) {
        EditorState::Tab tab;
        tab.entry = saved.entry;
        if (saved.entry.kind != OsdEntry::Kind::Empty) {
            QByteArray data = saved.recordData;
            if (data.isNull() && saved.output.hasRecord && !saved.output.keyed)
                data = PublicBase::imageToOsdData(saved.entry.source, nullptr);
            SourceData *text = nullptr;
            if (saved.entry.kind == OsdEntry::Kind::Text)
                text = ItemRecords::textSource(saved.entry.text.colour, saved.entry.text.font,
                                               saved.entry.text.content);
            tab.item = std::make_shared<const EditorState::Item>(saved.entry.source.cacheKey(), saved.output,
                                                                 data, text);
        }
        state->tabs.append(tab);
    }
    // Whatever was on screen goes, and with it its history: the project is a new start.
    m_undoStack->clear();
    m_droppedSteps = 0;
    showUndoTip();
    m_lastState.reset();
    applyOutputScreenSize(project.screen);
    const int current = qBound(0, project.current, qMax(0, state->tabs.size() - 1));
    restoreState(state, state->tabs.isEmpty() ? 0 : state->tabs[current].entry.id);
    markSaved();
}

void Quillmere::initProject()
{
    m_project = new ProjectController(
        this, m_undoStack, [this] { return projectState(); },
        [this](const ProjectState &project) { openProjectState(project); },
        [this] { return settingsFolder(); }, this);
    connect(m_project, &ProjectController::fileNameChanged, this, &Quillmere::showProjectTitle);
    connect(m_undoStack, &QUndoStack::cleanChanged, this, [this](bool clean) {
        // Only a project's title has the place for the mark.
        if (!m_project->fileName().isEmpty())
            setWindowModified(!clean);
    });

    // One toolbar button for the project, as a file menu: the window keeps its width.
    QPushButton *button = nullptr;
    CustomToolButton *projectButton =
        addToolBarButton(button, tr("工程", "toolbar"),
                         QStringLiteral(":/osdimage/res/osdimage/btn_toolbar_open.png"), nullptr);
    button->setObjectName(QStringLiteral("projectButton"));
    connect(projectButton, &CustomToolButton::clicked, this,
            [this, button] { m_project->menu()->popup(button->mapToGlobal(QPoint(0, button->height()))); });
    m_toolBarLayout->removeWidget(button);
    m_toolBarLayout->insertWidget(1, button);

    // The shortcuts work wherever the focus is in the window.
    addActions(m_project->menu()->actions());
}

void Quillmere::showProjectTitle()
{
    const QString project = m_project->fileName();
    if (project.isEmpty())
        return;
    // "[*]" is where the window shows its unsaved mark.
    setWindowTitle(ProductName::windowTitle(project, true));
    setWindowModified(!m_undoStack->isClean());
}

bool Quillmere::openFiles(const QStringList &files)
{
    QStringList projects;
    for (const QString &file : files) {
        if (file.endsWith(QLatin1Char('.') + ProjectFile::suffix(), Qt::CaseInsensitive))
            projects << file;
    }
    if (projects.isEmpty())
        return importFiles(files);
    // A project is the whole work: one is opened, and nothing is mixed into it.
    if (files.size() > 1) {
        QStringList others = files;
        others.removeOne(projects.first());
        CustomMegBox::waringMessageBox(
            this, tr("错误提示"),
            tr("一次只能打开一个工程,其余文件未打开:\n%1").arg(others.join(QLatin1Char('\n'))), tr("OK"));
    }
    return m_project->openFile(projects.first());
}

RecoveryKeeper *Quillmere::keepRecoveryCopy()
{
    if (m_recovery)
        return m_recovery;
    m_recovery = new RecoveryKeeper(
        this, [this] { return projectState(); },
        [this](const ProjectState &project) {
            openProjectState(project);
            // Restored work is saved nowhere yet.
            m_undoStack->resetClean();
        },
        this);
    // Steps that merge into the last one leave the index as it is; markChanged tells those.
    connect(m_undoStack, &QUndoStack::indexChanged, m_recovery, &RecoveryKeeper::changed);
    return m_recovery;
}
