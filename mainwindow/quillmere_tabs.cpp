// The tab list: every tab shows one entry of the document, titled with its number ("OSD3").
#include "mainwindow/quillmere.h"

#include "core/document/osddocument.h"

#include "interfaces/model/datamode.h"
#include "mainwindow/tabscontroller.h"
#include "mainwindow/windowlogging.h"
#include "osditem/osditem.h"
#include "widgets/previewview.h"
#include "widgets/styled/custommegbox.h"
#include "widgets/styled/tablewidgetex.h"

#include <QFrame>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>

namespace {
const int kMaxInteractiveTabs = 50;
}

int Quillmere::entryIdOf(int tabIndex) const
{
    return m_tabs->entryOf(tabIndex);
}

int Quillmere::tabOfEntry(int id) const
{
    return m_tabs->tabOf(id);
}

int Quillmere::currentEntryId() const
{
    return m_tabs->currentEntry();
}

QString Quillmere::currentTitle() const
{
    const OsdEntry *entry = m_document->entry(currentEntryId());
    return entry ? entry->title() : QString();
}

QGraphicsView *Quillmere::addEntryPage(const OsdEntry &entry, bool first)
{
    return m_tabs->addPage(entry, first, m_outputScreenSize);
}

QGraphicsView *Quillmere::currentView() const
{
    return m_tabs->currentView();
}

QList<OSDItem *> Quillmere::currentItems() const
{
    QList<OSDItem *> result;
    QGraphicsView *view = currentView();
    if (!view || !view->scene())
        return result;
    const QList<QGraphicsItem *> items = view->scene()->items();
    for (QGraphicsItem *item : items) {
        if (auto *osdItem = qgraphicsitem_cast<OSDItem *>(item))
            result.append(osdItem);
    }
    return result;
}

void Quillmere::createColorTip()
{
    // The window owns the tip: it serves every tab's item and outlives any tab.
    m_colorTip = new QFrame(this);
    m_colorTip->setObjectName(QStringLiteral("colorTip"));
    // A window of its own that floats over the preview, but a tip: it never takes the activation
    // or the keyboard from the main window (the next Ctrl+Z would go to it), nor the mouse.
    m_colorTip->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    m_colorTip->setAttribute(Qt::WA_ShowWithoutActivating);
    m_colorTip->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_colorTip->setFocusPolicy(Qt::NoFocus);
    m_colorTip->setWindowOpacity(0.8);
    m_colorTip->setFixedSize(101, 24);
    m_colorTip->hide();
    auto *tipLayout = new QHBoxLayout(m_colorTip);
    tipLayout->setSpacing(0);
    tipLayout->setContentsMargins(1, 0, 0, 0);
    m_colorTipSwatch = new QLabel(m_colorTip);
    m_colorTipSwatch->setObjectName(QStringLiteral("colorTipSwatch"));
    m_colorTipSwatch->setFixedSize(18, 18);
    m_colorTipSwatch->setStyleSheet(QStringLiteral("background-color:rgb(0,0,0);"));
    m_colorTipLabel = new QLabel(m_colorTip);
    m_colorTipLabel->setObjectName(QStringLiteral("colorTipLabel"));
    m_colorTipLabel->setFixedSize(80, 24);
    // Light on the window's dark ground, which the tip takes over.
    m_colorTipLabel->setStyleSheet(QStringLiteral("color:rgb(235,235,235);"));
    m_colorTipLabel->setText(QStringLiteral("(--,--,--)"));
    tipLayout->addWidget(m_colorTipSwatch);
    tipLayout->addSpacing(2);
    tipLayout->addWidget(m_colorTipLabel);
}

void Quillmere::createFirstTab()
{
    const int id = m_document->insert();
    addEntryPage(*m_document->entry(id), true);

    if (!m_colorTip)
        createColorTip();

    m_tabWidget->setCurrentIndex(m_tabWidget->count() - 1);
    showCurrentEntry();
}

void Quillmere::resetTabs()
{
    DataMode::getInstance()->clearDataModel();
    m_tabWidget->clear();
    m_document->clear();
    QTimer::singleShot(0, this, SLOT(slot_splitesetZero()));
    createFirstTab();
}

void Quillmere::on_notifyAddTable(int index)
{
    Q_UNUSED(index)
    if (m_tabWidget->count() >= kMaxInteractiveTabs) {
        CustomMegBox::informationMessageBox(this, tr("提示"), tr("限制OSD数量为50,不能再添加."), tr("OK"));
        return;
    }
    appendTab();
    QTimer::singleShot(0, this, SLOT(slot_splitesetZero()));
    markChanged(Step::AddTab);
}

QGraphicsScene *Quillmere::appendTab()
{
    const int id = m_document->insert();
    QGraphicsView *view = addEntryPage(*m_document->entry(id), false);
    // Each change of the current tab lays the whole bar out; a bulk insert picks its tab at the end.
    if (!m_tabWidget->isBulkInserting()) {
        m_tabWidget->setCurrentIndex(m_tabWidget->count() - 1);
        showCurrentEntry();
    }
    return view->scene();
}

void Quillmere::on_removeTable(int index)
{
    if (m_tabWidget->count() < 2)
        return;
    const QString question = tr("是否要删除%1 ?").arg(m_tabWidget->tabText(index));
    if (CustomMegBox::questionMessageBox(this, tr("提示"), question, tr("是"), tr("否")) == 0)
        return;
    const QString closed = m_tabWidget->tabText(index);
    const int id = entryIdOf(index);
    m_tabWidget->removeTab(index);
    m_document->remove(id);
    showCurrentEntry();
    markChanged(Step::CloseTab, id, closed);
}

void Quillmere::resetTabsAsked()
{
    bool discards = m_tabWidget->count() > 1;
    for (int i = 0; i < m_tabWidget->count() && !discards; ++i) {
        auto *view = qobject_cast<QGraphicsView *>(m_tabWidget->widget(i));
        discards = view && view->scene() && !view->scene()->items().isEmpty();
    }
    if (discards && CustomMegBox::questionMessageBox(this, tr("提示"), tr("是否要删除全部OSD ?"), tr("是"),
                                                     tr("否")) == 0)
        return;
    resetTabs();
    if (discards)
        markChanged(Step::RemoveAll);
}

void Quillmere::slot_removeAllTable()
{
    resetTabsAsked();
}

void Quillmere::slot_createButten()
{
    resetTabsAsked();
}

void Quillmere::slot_deleteItem()
{
    QGraphicsView *view = currentView();
    if (!view || !view->scene())
        return;
    const QList<QGraphicsItem *> items = view->scene()->items();
    for (QGraphicsItem *item : items) {
        view->scene()->removeItem(item);
        // The item may be the sender of the signal that brought us here: free it later.
        if (auto *osdItem = qgraphicsitem_cast<OSDItem *>(item))
            osdItem->deleteLater();
        else
            delete item;
    }
    m_document->setSource(currentEntryId(), OsdEntry::Kind::Empty, QImage());
    if (!items.isEmpty())
        markChanged(Step::Clear);
    updatePositionControls();
}

void Quillmere::on_currentTableChanged(int index)
{
    Q_UNUSED(index)
}

void Quillmere::on_testNum(int index)
{
    qCDebug(lcWindow) << "当前的序号是:currentIndex" << m_tabWidget->currentIndex();
    qCDebug(lcWindow) << "  当前的序号id是:" << index;
    qCDebug(lcWindow) << "  当前的序号 标题 是:" << m_tabWidget->tabText(m_tabWidget->currentIndex());
}

void Quillmere::slot_splitesetZero()
{
    m_tabs->scrollToTopLeft(m_tabWidget->currentIndex());
}

void Quillmere::slot_updataAllslider()
{
    m_tabs->scrollAllToTopLeft();
}
