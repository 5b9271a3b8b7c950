// Adding picture and text items to the current tab, showing each entry's place and cut on its item,
// and the cut view of picture items.
#include "mainwindow/quillmere.h"

#include "core/document/osddocument.h"
#include "core/pixels/pictureloader.h"
#include "core/pixels/publicbase.h"
#include "core/pixels/rasterform.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"
#include "interfaces/records/itemrecords.h"
#include "mainwindow/cutcontroller.h"
#include "mainwindow/tabscontroller.h"
#include "mainwindow/windowlogging.h"
#include "osditem/osditem.h"
#include "widgets/styled/custommegbox.h"
#include "widgets/styled/tablewidgetex.h"

#include <QDir>
#include <QFileDialog>
#include <QGraphicsScene>
#include <QGraphicsView>

OSDItem *Quillmere::newItem(const QImage &image, bool isPicture)
{
    auto *item = new OSDItem;
    item->setFlag(QGraphicsItem::ItemIsMovable, false);
    item->setOsdImage(image, isPicture);
    return item;
}

void Quillmere::connectItem(OSDItem *item)
{
    // A picture can be cut and switched to its cut view; a text can be loaded back into the text
    // window. The rows keep the order in which each kind has always been connected.
    const bool picture = item->isPicture();
    if (picture)
        connect(item, &OSDItem::signal_changeImgbyCut, this, &Quillmere::slot_updateImgOfView);
    connect(item, &OSDItem::signal_closeAllOsdItem, this, &Quillmere::slot_deleteItem);
    if (picture)
        connect(item, &OSDItem::signal_displayCutImg, this, &Quillmere::slot_getIsDisPlayImg);
    else
        connect(item, &OSDItem::signal_readBackOsdInfo, this, &Quillmere::slot_loadingText);
    connect(item, &OSDItem::signal_imgLocateOnIterm, this, &Quillmere::slot_setColorOfMouse);
    connect(item, &OSDItem::signal_itemHoverLeave, this, &Quillmere::slot_itemHoverLeave);
    connect(item, &OSDItem::signal_itemHoverEnter, this, &Quillmere::slot_itemHoverEnter);
    connect(item, &OSDItem::signal_mouseClicked, this, &Quillmere::slot_mouseClicked);
    item->setPositionListener([this, item] { itemMoved(item); });
}

int Quillmere::entryOfItem(const OSDItem *item) const
{
    if (!item)
        return 0;
    for (int i = 0; i < m_tabWidget->count(); ++i) {
        if (itemOfPage(m_tabWidget->widget(i)) == item)
            return entryIdOf(i);
    }
    return 0;
}

OSDItem *Quillmere::itemOfEntry(int id) const
{
    const int tab = tabOfEntry(id);
    return tab >= 0 ? itemOfPage(m_tabWidget->widget(tab)) : nullptr;
}

void Quillmere::adoptItem(int id, const OSDItem *item)
{
    m_adopting = true;
    OsdEntry::Text text;
    if (const SourceData *source = item->sourceData())
        text = {source->getContent(), source->getTextFont(), source->getTextColor()};
    m_document->setSource(id, item->isPicture() ? OsdEntry::Kind::Picture : OsdEntry::Kind::Text,
                          item->sourceImage(), item->hasOriginal(), text);
    m_document->setPosition(id, ItemRecords::location(item->pos()));
    m_document->setCut(id, item->hasCut() ? item->cutRect() : QRect());
    m_document->setCutView(id, item->isShowCutArea());
    m_adopting = false;
}

void Quillmere::itemMoved(OSDItem *item)
{
    const int id = entryOfItem(item);
    if (id == 0 || m_restoring)
        return;
    m_itemMoving = true;
    m_document->setPosition(id, ItemRecords::location(item->pos()));
    m_itemMoving = false;
}

void Quillmere::showEntryChange(int id, OsdDocument::Aspect aspect)
{
    // The key panel follows the recipe itself and the cut controller the cut; the keying controller
    // keys the picture where the operator edits the key, and the window makes items for their
    // entries' pictures where those change (adding, undo, import). Undo puts the items back itself,
    // and a new item already shows what its entry takes from it.
    if (aspect != OsdDocument::Aspect::Position || !itemsFollowEntries())
        return;
    const OsdEntry *entry = m_document->entry(id);
    OSDItem *item = itemOfEntry(id);
    if (!entry || !item)
        return;
    if (!m_itemMoving)
        item->setPos(entry->position);
    if (QGraphicsScene *scene = item->scene()) {
        const QList<QGraphicsView *> views = scene->views();
        for (QGraphicsView *view : views)
            TabsController::coverScreenAndItems(view, m_outputScreenSize);
    }
}

bool Quillmere::addItem(OSDItem *item, ItemTab tab)
{
    QGraphicsScene *scene = nullptr;
    if (tab == ItemTab::New) {
        scene = appendTab();
    } else if (QGraphicsView *view = currentView()) {
        scene = view->scene();
    }
    if (!scene) {
        delete item;
        return false;
    }
    connectItem(item);
    placeItem(scene, item);
    adoptItem(tab == ItemTab::New ? entryIdOf(m_tabWidget->count() - 1) : currentEntryId(), item);
    updatePositionControls();
    return true;
}

OSDItem *Quillmere::addPictureItem(const QImage &image, const QByteArray &original)
{
    QGraphicsView *view = currentView();
    if (!view || !view->scene())
        return nullptr;
    OSDItem *item = newItem(image, true);
    item->showImages();
    item->setVideoControlOSD(ItemRecords::pictureRecord(image));
    if (!addItem(item, ItemTab::Current))
        return nullptr;
    if (!original.isEmpty()) {
        // The file's bytes go with the entry, so a project keeps the picture as it was given.
        const int id = currentEntryId();
        if (const OsdEntry *entry = m_document->entry(id)) {
            m_adopting = true;
            m_document->setSource(id, entry->kind, entry->source, entry->hasOriginal, entry->text, original);
            m_adopting = false;
        }
    }
    markChanged(Step::Picture);
    return item;
}

void Quillmere::slot_picturnButten()
{
    const QString fileName = QFileDialog::getOpenFileName(this, tr("Open File"), QString(),
                                                          tr("Images (*.png *.bmp *.jpg *.jpeg)"));
    if (fileName.isNull())
        return;
    QGraphicsView *view = currentView();
    if (!view || !view->scene())
        return;

    // An unreadable, damaged or oversized file would become an empty or broken item, or exhaust
    // memory; keep the tab as it is.
    QString reason;
    QByteArray original;
    QImage decoded = PictureLoader::load(fileName, &reason, &original);
    if (decoded.isNull()) {
        CustomMegBox::waringMessageBox(
            this, tr("错误提示"),
            tr("无法读取图片文件:%1\n%2").arg(QDir::toNativeSeparators(fileName), reason), tr("OK"));
        return;
    }
    // The picture as the screen takes it; for common pictures this shares the decoded pixels.
    addPictureItem(RasterForm::convert(std::move(decoded)), original);
}

void Quillmere::on_exportTextImage(QImage *img, QColor color, QFont font, QString text)
{
    qCDebug(lcWindow) << "OSD文本内容" << text;
    qCDebug(lcWindow) << "OSD字体信息" << font;
    qCDebug(lcWindow) << "OSD字体颜色" << color;
    // An empty image would give an item that shows nothing and a record without pixels.
    if (!img || img->isNull() || !m_tabWidget)
        return;
    QGraphicsView *view = currentView();
    if (!view || !view->scene())
        return;

    OSDItem *item = newItem(*img, false);
    item->showImages();
    item->setVideoControlOSD(ItemRecords::textRecord(*img, color));
    item->setSourceData(ItemRecords::textSource(color, font, text));
    if (addItem(item, ItemTab::Current))
        markChanged(Step::Text);
}

void Quillmere::slot_updateImgOfView(QImage image, QRect rect)
{
    Q_UNUSED(image)
    Q_UNUSED(rect)
    // The item's cut panel has set the window on the item; its entry takes it from there.
    auto *item = qobject_cast<OSDItem *>(sender());
    const int id = entryOfItem(item ? item : currentItem());
    m_cut->cutEdited(id);
    markChanged(Step::Cut, id);
}

void Quillmere::slot_getIsDisPlayImg(bool show)
{
    auto *item = qobject_cast<OSDItem *>(sender());
    const int id = entryOfItem(item ? item : currentItem());
    m_cut->cutViewEdited(id, show);
    markChanged(Step::CutView, id);
}
