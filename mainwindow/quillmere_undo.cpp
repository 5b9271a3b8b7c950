// Undo and redo of every change to the OSD list. Each change is recorded after it happened as one
// step of its kind (see HistoryCommand): a change of one entry keeps that entry's tab before and
// after it, a change of the list keeps the lists (see EditorState); undo and redo bring back one of
// the two, rebuilding only what differs.
#include "mainwindow/quillmere.h"

#include "core/document/osddocument.h"
#include "core/pixels/colorkeyer.h"
#include "core/settings/config.h"
#include "interfaces/model/videocontrolosd.h"
#include "interfaces/records/itemrecords.h"
#include "mainwindow/addcommand.h"
#include "mainwindow/clearcommand.h"
#include "mainwindow/cutcommand.h"
#include "mainwindow/cutviewcommand.h"
#include "mainwindow/fillcommand.h"
#include "mainwindow/importcommand.h"
#include "mainwindow/keycommand.h"
#include "mainwindow/keyingcontroller.h"
#include "mainwindow/movecommand.h"
#include "mainwindow/picturecommand.h"
#include "mainwindow/recoverykeeper.h"
#include "mainwindow/removeallcommand.h"
#include "mainwindow/removecommand.h"
#include "mainwindow/resetcommand.h"
#include "mainwindow/tabscontroller.h"
#include "mainwindow/textcommand.h"
#include "osditem/osditem.h"
#include "widgets/previewview.h"
#include "widgets/styled/checkboxex.h"
#include "widgets/styled/labelex.h"
#include "widgets/styled/tablewidgetex.h"

#include <QAction>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QLabel>
#include <QSet>
#include <QToolButton>
#include <QUndoStack>

namespace {
const int kDefaultUndoLimit = 100;
const int kMaxUndoLimit = 10000;
const int kDefaultUndoMiB = 256;
// The undo button's line about dropped steps, kept on the button for its tip.
const char *const kDroppedNote = "droppedNote";
const int kMinUndoMiB = 16;
const int kMaxUndoMiB = 16384;

QToolButton *makeHistoryButton(QWidget *parent, const QString &caption)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QStringLiteral("historyButton"));
    button->setText(caption);
    // 44 pixels hold the Chinese captions; a longer translation widens the button to fit.
    button->setFixedSize(qMax(44, button->fontMetrics().horizontalAdvance(caption) + 12), 24);
    button->setStyleSheet(QStringLiteral(
        "#historyButton{color:rgb(210,210,210);background:rgb(38,38,38);border:1px solid rgb(110,110,110);"
        "border-radius:3px;}#historyButton:hover{border-color:rgb(222,89,15);}"
        "#historyButton:pressed{background:rgb(26,26,26);}"
        "#historyButton:disabled{color:rgb(110,110,110);border-color:rgb(70,70,70);}"));
    return button;
}
} // namespace

OSDItem *Quillmere::itemOfPage(QWidget *page)
{
    return TabsController::itemOfPage(page);
}

void Quillmere::initUndo()
{
    m_undoStack = new QUndoStack(this);
    m_undoStack->setUndoLimit(kDefaultUndoLimit);

    // The shortcuts work wherever the focus is in the window; the buttons name the step in their tips.
    QAction *undo = m_undoStack->createUndoAction(this, tr("撤销"));
    m_undoAction = undo;
    undo->setShortcuts({QKeySequence(Qt::CTRL + Qt::Key_Z)});
    QAction *redo = m_undoStack->createRedoAction(this, tr("重做"));
    redo->setShortcuts({QKeySequence(Qt::CTRL + Qt::SHIFT + Qt::Key_Z), QKeySequence(Qt::CTRL + Qt::Key_Y)});
    addAction(undo);
    addAction(redo);

    m_undoButton = makeHistoryButton(this, tr("撤销"));
    m_redoButton = makeHistoryButton(this, tr("重做"));
    const struct
    {
        QToolButton *button;
        QAction *action;
    } pairs[] = {{m_undoButton, undo}, {m_redoButton, redo}};
    for (const auto &pair : pairs) {
        QToolButton *button = pair.button;
        QAction *action = pair.action;
        button->setEnabled(action->isEnabled());
        button->setToolTip(action->text());
        // Only the button and the action: the stack may change them while the window goes.
        connect(action, &QAction::changed, button, [button, action] {
            button->setEnabled(action->isEnabled());
            button->setToolTip(action->text() + button->property(kDroppedNote).toString());
        });
        connect(button, &QToolButton::clicked, action, &QAction::trigger);
        m_toolBarLayout->addWidget(button);
    }
    m_toolBarLayout->addSpacing(10);
}

void Quillmere::applyUndoLimit(int limit)
{
    // Qt takes a new limit only while the stack is empty; a limit of 0 would keep every step.
    if (m_undoStack->count() == 0)
        m_undoStack->setUndoLimit(limit > 0 && limit <= kMaxUndoLimit ? limit : kDefaultUndoLimit);
}

void Quillmere::applyUndoMemory(int mebibytes)
{
    // A hand-edited value out of reason leaves the default.
    const int mib = mebibytes >= kMinUndoMiB && mebibytes <= kMaxUndoMiB ? mebibytes : kDefaultUndoMiB;
    m_undoBudget = qint64(mib) * 1024 * 1024;
}

void Quillmere::showUndoTip()
{
    const QString note = m_droppedSteps > 0 ? QLatin1Char('\n') + tr("为节省内存，已丢弃最早的 %n 步。",
                                                                     nullptr, m_droppedSteps)
                                            : QString();
    m_undoButton->setProperty(kDroppedNote, note);
    m_undoButton->setToolTip(m_undoAction->text() + note);
}

namespace {
// The distinct picture buffers of a step that the live list does not hold, added to seen.
qint64 newBytes(const HistoryCommand &step, const QSet<const void *> &live, QSet<const void *> &seen)
{
    qint64 bytes = 0;
    step.visitBuffers([&](const void *buffer, qint64 size) {
        if (buffer && size > 0 && !live.contains(buffer) && !seen.contains(buffer)) {
            seen.insert(buffer);
            bytes += size;
        }
    });
    return bytes;
}

const HistoryCommand &stepAt(const QUndoStack &stack, int index)
{
    return *static_cast<const HistoryCommand *>(stack.command(index));
}
} // namespace

QSet<const void *> Quillmere::liveBuffers() const
{
    QSet<const void *> live;
    // A picture file's bytes, kept with its entry for projects.
    for (const OsdEntry &entry : m_document->entries())
        live.insert(entry.original.constData());
    for (int i = 0; i < m_tabWidget->count(); ++i) {
        if (const OSDItem *item = itemOfPage(m_tabWidget->widget(i))) {
            live.insert(item->sourceImage().constBits());
            live.insert(item->image().constBits());
            if (const VideoControlOSD *record = item->videoControlOSD())
                live.insert(record->image().constData());
        }
    }
    return live;
}

qint64 Quillmere::historyBytes() const
{
    const QSet<const void *> live = liveBuffers();
    QSet<const void *> seen;
    qint64 bytes = 0;
    for (int i = m_undoStack->count() - 1; i >= 0; --i)
        bytes += newBytes(stepAt(*m_undoStack, i), live, seen);
    return bytes;
}

void Quillmere::trimHistory()
{
    const int count = m_undoStack->count();
    // Steps are pushed only with nothing to redo, so every step is an undo step here.
    if (count < 2 || m_undoStack->index() != count)
        return;
    const QSet<const void *> live = liveBuffers();
    // The oldest step that can stay: from the newest backwards while the budget holds.
    QSet<const void *> seen;
    qint64 bytes = 0;
    int first = count - 1;
    for (int i = count - 1; i >= 0; --i) {
        bytes += newBytes(stepAt(*m_undoStack, i), live, seen);
        if (bytes > m_undoBudget && i < count - 1)
            break;
        first = i;
    }
    if (first == 0)
        return;
    // Qt's stack drops old steps only by count: it is filled again with the newest steps, each
    // taken as already done, and the export or import point kept where it was.
    const int clean = m_undoStack->cleanIndex();
    QVector<HistoryCommand *> kept;
    for (int i = first; i < count; ++i)
        kept << stepAt(*m_undoStack, i).clone();
    m_undoStack->clear();
    for (int i = 0; i < kept.size(); ++i) {
        if (clean - first == i)
            m_undoStack->setClean();
        m_undoStack->push(kept[i]);
    }
    if (clean - first == kept.size())
        m_undoStack->setClean();
    else if (clean < first)
        m_undoStack->resetClean();
    m_droppedSteps += first;
    showUndoTip();
}

std::shared_ptr<const EditorState> Quillmere::captureState() const
{
    auto state = std::make_shared<EditorState>();
    state->current = m_tabWidget->currentIndex();
    for (int i = 0; i < m_tabWidget->count(); ++i) {
        EditorState::Tab tab;
        if (const OsdEntry *entry = m_document->entry(entryIdOf(i)))
            tab.entry = *entry;
        if (OSDItem *item = itemOfPage(m_tabWidget->widget(i))) {
            // An item that did not change since the last step is shared with it.
            std::shared_ptr<const EditorState::Item> previous =
                m_lastState ? m_lastState->itemOfEntry(tab.entry.id) : nullptr;
            tab.item = previous && previous->sameAs(*item) ? std::move(previous)
                                                           : std::make_shared<const EditorState::Item>(*item);
        }
        state->tabs.append(tab);
    }
    return state;
}

QString Quillmere::stepText(Step step, const QString &tab) const
{
    switch (step) {
    case Step::AddTab:
        return tr("添加 %1").arg(tab);
    case Step::CloseTab:
        return tr("删除 %1").arg(tab);
    case Step::RemoveAll:
        return tr("删除全部OSD");
    case Step::ResetKey:
        return tr("复位 %1").arg(tab);
    case Step::Picture:
        return tr("图片 %1").arg(tab);
    case Step::Text:
        return tr("文字 %1").arg(tab);
    case Step::Clear:
        return tr("清空 %1").arg(tab);
    case Step::Cut:
        return tr("截取 %1").arg(tab);
    case Step::CutView:
        return tr("截取显示 %1").arg(tab);
    case Step::Key:
        return tr("扣色 %1").arg(tab);
    case Step::Fill:
        return tr("填充色 %1").arg(tab);
    case Step::Move:
        return tr("移动 %1").arg(tab);
    case Step::Import:
        return tr("导入");
    }
    return QString();
}

HistoryCommand *Quillmere::makeStep(Step step, const QString &text, int entry,
                                    const std::shared_ptr<const EditorState> &now)
{
    // A change of one entry keeps that entry's tab alone; a change of the list keeps the lists.
    const EditorState::Tab *before = m_lastState ? m_lastState->tabOfEntry(entry) : nullptr;
    const EditorState::Tab *after = now->tabOfEntry(entry);
    const bool oneEntry = before && after && m_lastState->tabs.size() == now->tabs.size() &&
                          now->sameAs(*m_lastState->withTab(*after));
    const int gesture = m_gesture;
    const EntryCommand::Restore restoreTab = [this](const EditorState::Tab &tab) { restoreEntry(tab); };
    const ListCommand::Restore restoreList = [this](const std::shared_ptr<const EditorState> &state, int id) {
        restoreState(state, id);
    };
    if (oneEntry) {
        switch (step) {
        case Step::Picture:
            return new PictureCommand(text, *before, *after, gesture, restoreTab);
        case Step::Text:
            return new TextCommand(text, *before, *after, gesture, restoreTab);
        case Step::Clear:
            return new ClearCommand(text, *before, *after, gesture, restoreTab);
        case Step::ResetKey:
            return new ResetCommand(text, *before, *after, gesture, restoreTab);
        case Step::Key:
            return new KeyCommand(text, *before, *after, gesture, restoreTab);
        case Step::Fill:
            return new FillCommand(text, *before, *after, gesture, restoreTab);
        case Step::Cut:
            return new CutCommand(text, *before, *after, gesture, restoreTab);
        case Step::CutView:
            return new CutViewCommand(text, *before, *after, gesture, restoreTab);
        case Step::Move:
            return new MoveCommand(text, *before, *after, gesture, restoreTab);
        default:
            break;
        }
    }
    switch (step) {
    case Step::AddTab:
        return new AddCommand(text, m_lastState, now, entry, restoreList);
    case Step::CloseTab:
        return new RemoveCommand(text, m_lastState, now, entry, restoreList);
    case Step::RemoveAll:
        return new RemoveAllCommand(text, m_lastState, now, entry, restoreList);
    default:
        // An import; or a change that reached more than its entry (a text put into a tab the
        // history has not seen yet), kept as the lists as an import is.
        return new ImportCommand(text, m_lastState, now, entry, restoreList);
    }
}

void Quillmere::markChanged(Step step, int entryId, const QString &title)
{
    if (m_restoring || m_stepsHeld > 0)
        return;
    const int entry = entryId > 0 ? entryId : currentEntryId();
    const OsdEntry *known = m_document->entry(entry);
    const QString tab = !title.isNull() ? title : known ? known->title() : QString();
    std::shared_ptr<const EditorState> now = captureState();
    if (m_lastState && now->sameAs(*m_lastState)) {
        m_lastState = now;
        return;
    }
    const bool merges = step == Step::Key || step == Step::Move;
    if (!merges)
        closeGesture();
    HistoryCommand *command = makeStep(step, stepText(step, tab), entry, now);
    m_lastState = now;
    const int before = m_undoStack->count();
    m_undoStack->push(command);
    // A step that did not merge but left the count as it was pushed the oldest one out.
    if (m_undoStack->count() == before && m_undoStack->command(before - 1) == command) {
        ++m_droppedSteps;
        showUndoTip();
    }
    trimHistory();
    if (!merges)
        closeGesture();
    if (m_recovery)
        m_recovery->changed();
    refreshOverview();
}

void Quillmere::closeGesture()
{
    ++m_gesture;
}

OSDItem *Quillmere::buildItem(const OsdEntry &entry, const EditorState::Item &state)
{
    const EntryOutput &output = state.output;
    OSDItem *item = newItem(entry.source, entry.kind == OsdEntry::Kind::Picture);
    item->setHasOriginal(entry.hasOriginal);
    VideoControlOSD *record = nullptr;
    if (output.keyed) {
        // The keyed picture is made again, exactly as the keying step made it.
        ColorKeyer::Keyed keyed =
            ColorKeyer::keyed(entry.source, output.keyBegin, output.keyEnd, output.keyFill, output.hasRecord);
        item->setKeyedImage(keyed.image, keyed.display);
        record = ItemRecords::entryRecord(output, keyed.image, keyed.osdData);
    } else {
        if (output.keyFlag)
            item->setKeyedImage(entry.source);
        record = ItemRecords::entryRecord(output, entry.source, state.recordData);
    }
    item->setKeyRecipe(output.keyBegin, output.keyEnd, output.keyFill);
    item->setCut(entry.cut);
    item->setShowCutArea(entry.cutView);
    item->showImages();
    item->setVideoControlOSD(record);
    item->setSourceData(state.text);
    item->setPos(entry.position);
    connectItem(item);
    return item;
}

void Quillmere::placeItem(QGraphicsScene *scene, OSDItem *item)
{
    const QList<QGraphicsItem *> previous = scene->items();
    for (QGraphicsItem *old : previous) {
        scene->removeItem(old);
        if (auto *oldOsdItem = qgraphicsitem_cast<OSDItem *>(old))
            oldOsdItem->deleteLater();
        else
            delete old;
    }
    if (item)
        scene->addItem(item);
    const QList<QGraphicsView *> views = scene->views();
    for (QGraphicsView *view : views)
        TabsController::coverScreenAndItems(view, m_outputScreenSize);
}

namespace {
bool showsEntryGeometry(const OSDItem &item, const OsdEntry &entry)
{
    return ItemRecords::location(item.pos()) == entry.position && item.hasCut() == entry.hasCut() &&
           (!entry.hasCut() || item.cutRect() == entry.cut) && item.isShowCutArea() == entry.cutView;
}

void showEntryGeometry(OSDItem *item, const OsdEntry &entry)
{
    if (showsEntryGeometry(*item, entry))
        return;
    item->setCut(entry.cut);
    item->setShowCutArea(entry.cutView);
    item->showImages();
    item->setPos(entry.position);
}
} // namespace

void Quillmere::restoreTab(int index, const OsdEntry &entry, const EditorState::Item *state)
{
    auto *view = qobject_cast<QGraphicsView *>(m_tabWidget->widget(index));
    if (!view || !view->scene())
        return;
    OSDItem *live = itemOfPage(view);
    if (!state) {
        if (live)
            placeItem(view->scene(), nullptr);
        return;
    }
    if (live && state->sameAs(*live)) {
        showEntryGeometry(live, entry);
        return;
    }
    if (live && state->samePictures(*live)) {
        // Only the place, the cut or the record's fields differ: no picture is made again.
        showEntryGeometry(live, entry);
        if (VideoControlOSD *record = live->videoControlOSD()) {
            ItemRecords::writeFields(record, state->output.record);
            if (!state->output.keyed)
                record->setImage(state->recordData);
        }
        return;
    }
    const EntryOutput &output = state->output;
    if (live && output.keyed && state->sameSource(*live)) {
        // Another key of the same picture: the live item is keyed again into the memory of its
        // current result, as a keying step does, instead of building a new item.
        VideoControlOSD *record = live->videoControlOSD();
        m_keying->keyItem(live, output.keyBegin, output.keyEnd, output.keyFill, output.record.fillOn, true);
        if (record)
            ItemRecords::writeFields(record, output.record);
        showEntryGeometry(live, entry);
        return;
    }
    placeItem(view->scene(), buildItem(entry, *state));
}

void Quillmere::restoreEntry(const EditorState::Tab &tab)
{
    const int index = m_document->indexOf(tab.entry.id);
    if (index < 0 || !m_lastState)
        return;
    m_restoring = true;
    m_document->restore(index, tab.entry);
    restoreTab(index, tab.entry, tab.item.get());
    m_tabWidget->setCurrentIndex(index);
    m_lastState = m_lastState->withTab(tab);
    m_restoring = false;
    showRestored();
}

void Quillmere::restoreState(const std::shared_ptr<const EditorState> &state, int entry)
{
    m_restoring = true;
    QVector<int> liveIds;
    for (int i = 0; i < m_tabWidget->count(); ++i)
        liveIds << entryIdOf(i);
    QVector<int> ids;
    for (const EditorState::Tab &t : state->tabs)
        ids << t.entry.id;

    if (liveIds != ids) {
        // Tabs came or went: the list is laid out again, reusing the pages of tabs that stay would
        // not save the rebuild of the tab bar.
        m_tabWidget->beginBulkInsert();
        m_tabWidget->clear();
        m_document->clear();
        for (int i = 0; i < state->tabs.size(); ++i) {
            const EditorState::Tab &t = state->tabs[i];
            m_document->restore(i, t.entry);
            QGraphicsView *view = addEntryPage(t.entry, i == 0);
            if (t.item)
                placeItem(view->scene(), buildItem(t.entry, *t.item));
        }
        m_tabWidget->endBulkInsert();
    } else {
        for (int i = 0; i < state->tabs.size(); ++i) {
            m_document->restore(i, state->tabs[i].entry);
            restoreTab(i, state->tabs[i].entry, state->tabs[i].item.get());
        }
    }

    // The tab the step was about is the one to look at.
    const int current = ids.indexOf(entry);
    m_tabWidget->setCurrentIndex(current >= 0 ? current
                                              : qBound(0, state->current, m_tabWidget->count() - 1));
    m_lastState = state;
    m_restoring = false;
    showRestored();
}

void Quillmere::showRestored()
{
    closeGesture();
    showCurrentEntry();
    updatePositionControls();
    // The item the step brought back may lie outside the part of the page in sight.
    if (PreviewView *preview = currentPreview())
        preview->bringItemsIntoView();
    refreshOverview();
}
