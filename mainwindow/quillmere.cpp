#include "mainwindow/quillmere.h"

#include "core/document/osddocument.h"
#include "core/settings/config.h"
#include "core/text/productname.h"
#include "mainwindow/cutcontroller.h"
#include "mainwindow/keyingcontroller.h"
#include "mainwindow/keypanelcontroller.h"
#include "mainwindow/projectcontroller.h"
#include "mainwindow/propertypanel.h"
#include "mainwindow/recoverykeeper.h"
#include "mainwindow/tabscontroller.h"
#include "osditem/osditem.h"
#include "widgets/customtoolbutton.h"
#include "widgets/doubleslider.h"
#include "widgets/framelesshelper.h"
#include "widgets/styled/checkboxex.h"
#include "widgets/styled/custommegbox.h"
#include "widgets/styled/labelex.h"
#include "widgets/styled/pushbuttonex.h"
#include "widgets/styled/tablewidgetex.h"

#include <QFrame>
#include <QGraphicsScene>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSessionManager>
#include <QSpacerItem>
#include <QTimer>
#include <QUndoStack>
#include <QVBoxLayout>

Quillmere::Quillmere(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(ProductName::windowTitle());
    setWindowFlags(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    m_document = new OsdDocument(this);
    connect(m_document, &OsdDocument::changed, this, &Quillmere::showEntryChange);
    m_cut = new CutController(
        m_document, [this](int id) { return itemOfEntry(id); }, [this] { return itemsFollowEntries(); },
        this);
    initUi();
    m_lastState = captureState();
    QTimer::singleShot(0, this, SLOT(slot_splitesetZero()));
#if QT_CONFIG(sessionmanager)
    // Logging out must not lose unexported work silently either.
    if (qGuiApp)
        connect(qGuiApp, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager &manager) { commitSessionData(manager); });
#endif
}

Quillmere::~Quillmere()
{
    // The pages and everything else on the window are deleted by ~QWidget, after this class is
    // gone (also pages of closed tabs whose deferred deletion has not run yet); none of their
    // signals, such as a colour tip's destroyed, may reach it then.
    const QList<QObject *> descendants = findChildren<QObject *>();
    for (QObject *object : descendants) {
        disconnect(object, nullptr, this, nullptr);
        // The items are no children of the window but live in its scenes; hiding the window on
        // the way out sends a hover leave to the one under the pointer.
        if (auto *scene = qobject_cast<QGraphicsScene *>(object)) {
            const QList<QGraphicsItem *> items = scene->items();
            for (QGraphicsItem *item : items) {
                if (auto *osdItem = qgraphicsitem_cast<OSDItem *>(item))
                    disconnect(osdItem, nullptr, this, nullptr);
            }
        }
    }
}

void Quillmere::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
}

static QLabel *makeLine(QWidget *parent, const QSize &minimum, const QSize &maximum)
{
    auto *line = new QLabel(parent);
    line->setMinimumSize(minimum);
    line->setMaximumSize(maximum);
    line->setStyleSheet(QStringLiteral("background-color: rgb(8,7,12);"));
    return line;
}

CustomToolButton *Quillmere::addToolBarButton(QPushButton *&pushButton, const QString &caption,
                                              const QString &icon, const char *slot)
{
    pushButton = new QPushButton(this);
    pushButton->setToolTip(caption);
    // As wide as the caption needs (English words are longer than the Chinese the toolbar was
    // drawn for), so no caption is set smaller than its neighbours.
    const int captionWidth = pushButton->fontMetrics().horizontalAdvance(caption) + 8;
    pushButton->setFixedSize(qMax(50, captionWidth), 68);
    pushButton->setFlat(true);
    auto *toolButton = new CustomToolButton(pushButton);
    if (slot)
        connect(toolButton, SIGNAL(clicked()), this, slot);
    toolButton->setImageAndText(icon, caption);
    m_toolBarLayout->addWidget(pushButton);
    return toolButton;
}

void Quillmere::initUi()
{
    resize(850, 620);
    setObjectName(QStringLiteral("Quillmere"));
    setStyleSheet(QStringLiteral("background:rgb(69,69,69);"));

    m_mainLayout = new QHBoxLayout(this);
    m_mainLayout->setSpacing(6);
    m_mainLayout->setContentsMargins(0, 0, 0, 0);

    m_contentLayout = new QVBoxLayout;
    m_contentLayout->setSpacing(0);
    m_contentLayout->setContentsMargins(0, 0, 0, 0);

    m_contentLayout->addWidget(makeLine(this, QSize(0, 2), QSize(16777215, 2)));

    m_toolBarLayout = new QHBoxLayout;
    m_toolBarLayout->setSpacing(12);
    m_toolBarLayout->setContentsMargins(0, 0, 0, 0);
    m_toolBarLayout->addSpacing(22);

    m_createToolButton = addToolBarButton(m_createButton, tr("清除", "toolbar"),
                                          QStringLiteral(":/osdimage/res/osdimage/btn_toolbar_new.png"),
                                          SLOT(slot_createButten()));
    m_createButton->setObjectName(QStringLiteral("clearButton"));
    m_createButton->setVisible(false);
    m_inputToolButton = addToolBarButton(m_inputButton, tr("导入", "toolbar"),
                                         QStringLiteral(":/osdimage/res/osdimage/btn_toolbar_leadingin.png"),
                                         SLOT(slot_inputButten()));
    m_inputButton->setObjectName(QStringLiteral("importButton"));
    m_outputToolButton = addToolBarButton(
        m_outputButton, tr("导出", "toolbar"),
        QStringLiteral(":/osdimage/res/osdimage/btn_toolbar_leadingout.png"), SLOT(slot_outputButten()));
    m_outputButton->setObjectName(QStringLiteral("exportButton"));
    auto *separator = new QLabel(this);
    separator->setFixedWidth(2);
    separator->setStyleSheet(QStringLiteral("background:rgb(8,7,12);"));
    m_toolBarLayout->addWidget(separator);
    m_pictureToolButton = addToolBarButton(m_pictureButton, tr("图片", "toolbar"),
                                           QStringLiteral(":/osdimage/res/osdimage/btn_toolbar_image.png"),
                                           SLOT(slot_picturnButten()));
    m_pictureButton->setObjectName(QStringLiteral("pictureButton"));
    m_textToolButton = addToolBarButton(m_textButton, tr("文字", "toolbar"),
                                        QStringLiteral(":/osdimage/res/osdimage/btn_toolbar_text.png"),
                                        SLOT(slot_textButten()));
    m_textButton->setObjectName(QStringLiteral("textButton"));
    m_overviewToolButton =
        addToolBarButton(m_overviewButton, tr("总览", "toolbar"),
                         QStringLiteral(":/osdimage/res/osdimage/btn_toolbar_overview.png"), nullptr);
    m_overviewButton->setObjectName(QStringLiteral("overviewButton"));
    connect(m_overviewToolButton, &CustomToolButton::clicked, this,
            [this] { setOverviewVisible(!isOverviewVisible()); });
    m_toolBarSpacer = new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
    m_toolBarLayout->addItem(m_toolBarSpacer);
    initUndo();
    initProject();
    initExchange();
    initOutputControl();
    m_contentLayout->addLayout(m_toolBarLayout);

    m_toolBarLine = makeLine(this, QSize(0, 2), QSize(16777215, 2));
    m_contentLayout->addWidget(m_toolBarLine);

    m_tabWidget = new TableWidgetEx(this, TableWidgetEx::OsdTabs, tr("OSD"));
    m_tabs = new TabsController(m_tabWidget, this);
    connect(m_tabs, &TabsController::nudgeRequested, this, &Quillmere::nudgeCurrentItem);
    connect(m_tabs, &TabsController::nudgeFinished, this, &Quillmere::closeGesture);
    connect(m_tabWidget, SIGNAL(signals_removeTable(int)), this, SLOT(on_removeTable(int)));
    connect(m_tabWidget, SIGNAL(notifyAddTable(int)), this, SLOT(on_notifyAddTable(int)));
    connect(m_tabWidget, SIGNAL(tabBarClicked(int)), this, SLOT(on_currentTableChanged(int)));
    connect(m_tabWidget, SIGNAL(tabBarClicked(int)), this, SLOT(on_testNum(int)));
    connect(m_tabWidget, SIGNAL(signal_removeAllTable()), this, SLOT(slot_removeAllTable()));
    createFirstTab();
    m_tabWidget->setBMovedCornerButton(true);
    // The key panel shows the recipe of the tab in front, whichever way it came there.
    connect(m_tabWidget, &QTabWidget::currentChanged, this, &Quillmere::showCurrentEntry);

    auto *workArea = new QHBoxLayout;
    workArea->setContentsMargins(0, 0, 0, 0);
    workArea->setSpacing(0);
    workArea->addWidget(m_tabWidget);
    initOverview(workArea);
    workArea->addWidget(makeLine(this, QSize(2, 0), QSize(2, 9999)));
    initPropertyPanel();
    workArea->addWidget(m_panel);

    m_contentLayout->addLayout(workArea);
    m_mainLayout->addLayout(m_contentLayout);

    m_framelessHelper = new Utils::FramelessHelper(this);
    m_framelessHelper->attachWidget(this);
    m_framelessHelper->setTitleAreaHeight(30);
    m_framelessHelper->setMoveEnabled(true);
    m_framelessHelper->setResizeEnabled(true);
    m_framelessHelper->setMoveRubberBand(false);
    m_framelessHelper->setResizeRubberBand(true);
}

void Quillmere::slot_itemHoverLeave()
{
    if (m_colorTip)
        m_colorTip->hide();
}

void Quillmere::slot_itemHoverEnter(QPointF pos)
{
    Q_UNUSED(pos)
    if (m_colorTip)
        m_colorTip->show();
}

void Quillmere::slot_mouseClicked()
{
    // The press picks at once, on the pressed item at the pressed pixel; nothing is left waiting
    // for a later report, which may come from another item.
    if (auto *item = qobject_cast<OSDItem *>(sender()))
        m_keying->pickAt(item, item->pressPos());
}

void Quillmere::initPropertyPanel()
{
    m_panel = new PropertyPanel(this);

    connect(m_panel->resetButton(), SIGNAL(clicked()), this, SLOT(slot_Resetbutton()));
    // The sliders, the fill swatch and the switch edit the current entry's recipe through the key
    // panel's controller; the keying controller keys the picture.
    m_keyPanel = new KeyPanelController(
        m_document, m_panel, [this] { return currentEntryId(); }, this);
    KeyingController::Window hooks;
    hooks.currentItems = [this] { return currentItems(); };
    hooks.currentTitle = [this] { return currentTitle(); };
    hooks.record = [this](KeyingController::Step step) {
        switch (step) {
        case KeyingController::Step::Key:
            markChanged(Step::Key);
            break;
        case KeyingController::Step::Fill:
            markChanged(Step::Fill);
            break;
        case KeyingController::Step::Reset:
            markChanged(Step::ResetKey);
            break;
        }
    };
    hooks.closeGesture = [this] { closeGesture(); };
    hooks.holdSteps = [this] { ++m_stepsHeld; };
    hooks.releaseSteps = [this] { --m_stepsHeld; };
    m_keying = new KeyingController(this, m_keyPanel, std::move(hooks));
    connect(m_keyPanel, &KeyPanelController::gestureEnded, this, &Quillmere::closeGesture);
    connectPositionControls(m_panel);
}

bool Quillmere::hasUnexportedChanges() const
{
    return !m_undoStack->isClean();
}

void Quillmere::markSaved()
{
    m_undoStack->setClean();
    closeGesture();
}

bool Quillmere::confirmClose()
{
    if (m_sessionAnswer != SessionAnswer::None)
        return m_sessionAnswer == SessionAnswer::Close;
    if (!hasUnexportedChanges())
        return true;
    // Work kept in a project is saved there; other work is offered for export as before.
    if (!m_project->fileName().isEmpty())
        return m_project->settleBeforeClose();
    switch (CustomMegBox::choiceMessageBox(this, tr("提示"), tr("OSD内容已修改但尚未导出,是否先导出?"),
                                           tr("导出"), tr("不导出"), tr("取消"))) {
    case CustomMegBox::Yes:
        // A cancelled or failed export leaves the changes unexported: stay.
        slot_outputButten();
        return !hasUnexportedChanges();
    case CustomMegBox::No:
        return true;
    case CustomMegBox::Cancelled:
        break;
    }
    return false;
}

void Quillmere::reject()
{
    // QDialog's close event comes here too, and ignores itself when the window stays visible.
    if (!confirmClose())
        return;
    // A clean exit: nothing is left to recover.
    if (m_recovery)
        m_recovery->finish();
    if (m_remembersPlacement) {
        Config config(settingsFolder());
        config.windowGeometry = saveGeometry();
        config.save();
    }
    QDialog::reject();
}

void Quillmere::rememberPlacement()
{
    m_remembersPlacement = true;
    const Config config(settingsFolder());
    // Qt brings a place that no screen shows any more back onto one.
    if (!config.windowGeometry.isEmpty())
        restoreGeometry(config.windowGeometry);
}

#if QT_CONFIG(sessionmanager)
void Quillmere::commitSessionData(QSessionManager &manager)
{
    // Without leave to interact there is nobody to ask for a file name.
    if (!hasUnexportedChanges() || !isVisible() || !manager.allowsInteraction())
        return;
    const bool agreed = confirmClose();
    manager.release();
    if (!agreed)
        manager.cancel();
    m_sessionAnswer = agreed ? SessionAnswer::Close : SessionAnswer::Stay;
    QTimer::singleShot(0, this, [this] { m_sessionAnswer = SessionAnswer::None; });
}
#endif
