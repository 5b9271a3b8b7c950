// Placing items on the device's output screen: the screen size, the position fields, nudging and
// alignment, and the check before export that every item is on the screen.
#include "mainwindow/overviewcontroller.h"
#include "mainwindow/quillmere.h"

#include "core/document/osddocument.h"

#include "core/geometry/outputscreen.h"
#include "core/settings/config.h"
#include "interfaces/records/itemrecords.h"
#include "mainwindow/placementcontroller.h"
#include "mainwindow/propertypanel.h"
#include "mainwindow/screensizedialog.h"
#include "mainwindow/tabscontroller.h"
#include "osditem/osditem.h"
#include "widgets/previewview.h"
#include "widgets/styled/custommegbox.h"
#include "widgets/styled/spinboxex.h"
#include "widgets/styled/tablewidgetex.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGraphicsScene>
#include <QHBoxLayout>
#include <QLabel>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>

QString Quillmere::settingsFolder() const
{
    return m_settingsFolder.isEmpty() ? QCoreApplication::applicationDirPath() : m_settingsFolder;
}

void Quillmere::setSettingsFolder(const QString &folder)
{
    m_settingsFolder = folder;
    QSize size;
    {
        const Config config(settingsFolder());
        size = QSize(config.screenWidth, config.screenHeight);
        applyUndoLimit(config.undoLimit);
        applyUndoMemory(config.undoMemoryMiB);
        warnIfSettingsReadOnly(config);
    }
    // A hand-edited size that no screen can have leaves the default.
    applyOutputScreenSize(OutputScreen::isValidSize(size) ? size : OutputScreen::defaultSize());
}

void Quillmere::setOutputScreenSize(const QSize &size)
{
    if (!OutputScreen::isValidSize(size) || size == m_outputScreenSize) {
        fillOutputChoices();
        return;
    }
    applyOutputScreenSize(size);
    Config config(settingsFolder());
    config.screenWidth = size.width();
    config.screenHeight = size.height();
    warnIfSettingsReadOnly(config, config.save());
}

void Quillmere::warnIfSettingsReadOnly(const Config &config, bool saved)
{
    if (m_settingsWarned || (saved && config.isWritable()))
        return;
    m_settingsWarned = true;
    const QString text = tr("无法写入设置文件,本次运行中更改的设置不会被保存:\n%1")
                             .arg(QDir::toNativeSeparators(config.settingsPath));
    // Shown once the event loop runs, after the window: at start-up the window is not up yet, and
    // the operator may go on working without answering.
    QTimer::singleShot(0, this, [this, text] {
        auto *box = new CustomMegBox(this, CustomMegBox::Warning, tr("提示"), text, tr("OK"));
        box->setObjectName(QStringLiteral("settingsNotWritable"));
        box->setModal(false);
        connect(box, &QDialog::finished, box, &QObject::deleteLater);
        box->show();
    });
}

void Quillmere::applyOutputScreenSize(const QSize &size)
{
    m_outputScreenSize = size;
    if (m_placement)
        m_placement->setScreenSize(size);
    for (int i = 0; i < m_tabWidget->count(); ++i) {
        if (auto *page = qobject_cast<PreviewView *>(m_tabWidget->widget(i))) {
            page->setScreenSize(size);
            TabsController::coverScreenAndItems(page, size);
        }
    }
    fillOutputChoices();
}

void Quillmere::initOutputControl()
{
    auto *caption = new QLabel(tr("输出"), this);
    caption->setStyleSheet(QStringLiteral("color:rgb(210,210,210);"));
    m_toolBarLayout->addWidget(caption);
    m_outputCombo = new QComboBox(this);
    m_outputCombo->setObjectName(QStringLiteral("outputCombo"));
    m_outputCombo->setToolTip(tr("设备输出画面的尺寸"));
    m_outputCombo->setFixedSize(104, 24);
    m_outputCombo->setStyleSheet(QStringLiteral(
        "#outputCombo{color:rgb(210,210,210);background:rgb(38,38,38);border:1px solid rgb(110,110,110);"
        "border-radius:3px;padding-left:6px;}#outputCombo:hover{border-color:rgb(222,89,15);}"
        "#outputCombo QAbstractItemView{color:rgb(210,210,210);background:rgb(38,38,38);"
        "selection-background-color:rgb(222,89,15);}"));
    m_toolBarLayout->addWidget(m_outputCombo);
    // Narrow margins here leave the toolbar's buttons room in a window 700 pixels wide.
    m_toolBarLayout->addSpacing(10);
    fillOutputChoices();
    connect(m_outputCombo, QOverload<int>::of(&QComboBox::activated), this, &Quillmere::outputScreenChosen);

    // Zoom keys act on the preview in sight, wherever the focus is in the window.
    auto *fit = new QShortcut(QKeySequence(Qt::CTRL + Qt::Key_0), this);
    connect(fit, &QShortcut::activated, this, [this] {
        if (PreviewView *preview = currentPreview())
            preview->fitScreen();
    });
    auto *actual = new QShortcut(QKeySequence(Qt::CTRL + Qt::Key_1), this);
    connect(actual, &QShortcut::activated, this, [this] {
        if (PreviewView *preview = currentPreview())
            preview->actualSize();
    });
}

void Quillmere::fillOutputChoices()
{
    if (!m_outputCombo)
        return;
    const QSignalBlocker blocker(m_outputCombo);
    m_outputCombo->clear();
    QList<QSize> sizes = OutputScreen::presets();
    if (!sizes.contains(m_outputScreenSize))
        sizes.append(m_outputScreenSize);
    for (const QSize &size : sizes)
        m_outputCombo->addItem(OutputScreen::sizeText(size), size);
    m_outputCombo->addItem(tr("自定义..."));
    m_outputCombo->setCurrentIndex(sizes.indexOf(m_outputScreenSize));
}

void Quillmere::outputScreenChosen(int index)
{
    const QVariant chosen = m_outputCombo->itemData(index);
    if (chosen.isValid()) {
        setOutputScreenSize(chosen.toSize());
        return;
    }
    ScreenSizeDialog dialog(m_outputScreenSize, this);
    if (dialog.exec() == QDialog::Accepted)
        setOutputScreenSize(dialog.size());
    else
        fillOutputChoices();
}

void Quillmere::connectPositionControls(PropertyPanel *panel)
{
    // What the device shows of an item: its cut window while the cut view is on.
    m_placement = new PlacementController(
        m_document, panel,
        [this](int id) {
            const OSDItem *item = itemOfEntry(id);
            return item ? item->pixmap().size() : QSize();
        },
        this);
    m_placement->setScreenSize(m_outputScreenSize);
    connect(m_placement, &PlacementController::moved, this, [this](int id) { markChanged(Step::Move, id); });
    connect(m_placement, &PlacementController::gestureEnded, this, &Quillmere::closeGesture);
    connect(m_tabWidget, &QTabWidget::currentChanged, this, &Quillmere::updatePositionControls);
    updatePositionControls();
}

OSDItem *Quillmere::currentItem() const
{
    const QList<OSDItem *> items = currentItems();
    return items.isEmpty() ? nullptr : items.first();
}

PreviewView *Quillmere::currentPreview() const
{
    return isOverviewVisible() ? m_overview->view() : qobject_cast<PreviewView *>(currentView());
}

void Quillmere::moveItem(OSDItem *item, const QPoint &pos)
{
    if (!item || item->pos() == QPointF(pos))
        return;
    const int entry = entryOfItem(item);
    if (entry == 0 || !m_placement)
        return;
    // An item between two pixels (moved on the item itself) is put on the pixel it is taken for.
    if (!m_placement->moveTo(entry, pos))
        showEntryChange(entry, OsdDocument::Aspect::Position);
    markChanged(Step::Move, entry);
}

void Quillmere::updatePositionControls()
{
    // Called while the window is being built too, before the placement exists.
    if (m_placement)
        m_placement->setCurrent(currentEntryId());
}

void Quillmere::nudgeCurrentItem(const QPoint &delta)
{
    if (m_placement)
        m_placement->nudge(delta);
}

QStringList Quillmere::itemsOffScreen() const
{
    QStringList titles;
    const OutputScreen screen(m_outputScreenSize);
    for (int i = 0; i < m_tabWidget->count(); ++i) {
        OSDItem *item = itemOfPage(m_tabWidget->widget(i));
        if (!item || !item->videoControlOSD())
            continue;
        // What the tab shows is what the device shows: the cut window while the cut view is on.
        const QRect shown(ItemRecords::location(item->scenePos()), item->pixmap().size());
        if (screen.placement(shown) != OutputScreen::Placement::Inside)
            titles.append(m_tabWidget->tabText(i));
    }
    return titles;
}
