// Colour keying of the current tab's item and colour picking from it.
#include "mainwindow/quillmere.h"

#include "core/document/osddocument.h"
#include "core/pixels/colorkeyer.h"
#include "core/pixels/publicbase.h"
#include "interfaces/model/videocontrolosd.h"
#include "interfaces/records/itemrecords.h"
#include "mainwindow/propertypanel.h"
#include "osditem/osditem.h"
#include "widgets/doubleslider.h"
#include "widgets/styled/checkboxex.h"
#include "widgets/styled/custommegbox.h"
#include "widgets/styled/labelex.h"
#include "widgets/styled/tablewidgetex.h"

#include <QFrame>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QLabel>
#include <QPixmap>
#include <QSignalBlocker>

#include <utility>

namespace {

// The memory of the item's keyed picture, the pixels its pixmap shows and its record's OSD pixel
// data, taken out of the item and the record, which get the next result right after.
ColorKeyer::Keyed takeShownResult(OSDItem *item, VideoControlOSD *record)
{
    ColorKeyer::Keyed spare;
    item->takeKeyedImage(&spare.image, &spare.display);
    if (record) {
        spare.osdData = record->image();
        record->setImage(QByteArray());
        record->setPImageValue(nullptr);
    }
    return spare;
}

} // namespace

KeyRecipe Quillmere::currentKey() const
{
    return m_keyPanel ? m_keyPanel->key() : KeyRecipe();
}

void Quillmere::setCurrentKey(const KeyRecipe &key)
{
    if (m_keyPanel)
        m_keyPanel->setKey(key);
}

void Quillmere::showCurrentEntry()
{
    // Called while the window is being built too, before the panel exists.
    if (m_keyPanel)
        m_keyPanel->showCurrent();
}

void Quillmere::keyEdited(int id, KeyPanelController::Edit edit)
{
    Q_UNUSED(id) // always the current entry, whose item is keyed
    switch (edit) {
    case KeyPanelController::Edit::Range:
        keyCurrentItem();
        break;
    case KeyPanelController::Edit::Pick:
        // Each pick is a step of its own, never merged with a slider drag.
        closeGesture();
        keyCurrentItem();
        closeGesture();
        break;
    case KeyPanelController::Edit::Fill: {
        // A picture already keyed takes the new colour at once, so what is seen is what the file
        // holds.
        bool keyed = false;
        const QList<OSDItem *> items = currentItems();
        for (OSDItem *item : items)
            keyed = keyed || item->isKeyApplied();
        if (keyed) {
            ++m_stepsHeld;
            keyCurrentItem();
            --m_stepsHeld;
        }
        markChanged(Step::Fill);
        break;
    }
    }
}

void Quillmere::slot_displayColorFormColorDialog()
{
    m_keyPanel->chooseFill(this);
}

void Quillmere::slot_displayColorFormColorDialogBegin()
{
    m_keyPanel->chooseBegin(this);
}

void Quillmere::slot_displayColorFormColorDialogEnd()
{
    m_keyPanel->chooseEnd(this);
}

void Quillmere::writeKeyedRecord(OSDItem *item, const QImage &image)
{
    VideoControlOSD *record = item->videoControlOSD();
    if (!record)
        return;
    const KeyRecipe key = currentKey();
    int completionWidth = 0;
    QByteArray data = PublicBase::imageToOsdData(image, &completionWidth);
    ItemRecords::writeKeyed(record, image, data, completionWidth, key.fill, key.enabled);
}

void Quillmere::keyItem(OSDItem *item, const QColor &begin, const QColor &end, const QColor &fill,
                        bool fillOn, bool mayReuse)
{
    VideoControlOSD *record = item->videoControlOSD();
    const qint64 source = item->sourceImage().cacheKey();
    // A result of the source with a key of its own, worth keeping; not the source itself.
    const bool keyedNow = item->isKeyApplied() && item->image().cacheKey() != source;
    const QColor nowBegin = item->keyBegin();
    const QColor nowEnd = item->keyEnd();
    const QColor nowFill = item->keyFill();
    KeyedResult &kept = m_keptResult;
    const bool reuse = mayReuse && kept.item == item && kept.source == source && kept.begin == begin &&
                       kept.end == end && kept.fill == fill && kept.withRecord == (record != nullptr);

    ColorKeyer::Keyed shown = takeShownResult(item, record);
    shown.completionWidth = record ? record->completionImageWidth() : 0;
    ColorKeyer::Keyed next;
    if (reuse) {
        // Undo or redo of the last keying step: its other result is still here.
        next = std::move(kept.keyed);
    } else {
        // Keying always starts from the item's source picture, so a narrower range gives back what
        // a wider one replaced, and a cut window keeps referring to the same whole picture. One pass
        // keys it and, for the record, converts it; the image to show comes in a form the pixmap
        // takes without another conversion or copy, written into the memory of the result before
        // the one shown (where nothing else holds it), which the step no longer needs.
        ColorKeyer::Keyed memory;
        if (kept.item == item)
            memory = std::move(kept.keyed);
        next = ColorKeyer::keyed(item->sourceImage(), begin, end, fill, record, std::move(memory));
    }
    // The result now replaced stays for one item, so that undoing this step shows it again at once.
    kept = KeyedResult();
    if (keyedNow) {
        kept = {item, source, nowBegin, nowEnd, nowFill, record != nullptr, std::move(shown)};
        // Its memory goes with the item (a closed tab, a replaced picture).
        connect(item, &QObject::destroyed, this, &Quillmere::dropKeptResult, Qt::UniqueConnection);
    }

    item->setKeyedImage(next.image, next.display);
    item->setKeyRecipe(begin, end, fill);
    if (record)
        ItemRecords::writeKeyed(record, next.image, next.osdData, next.completionWidth, fill, fillOn);
}

void Quillmere::dropKeptResult()
{
    if (!m_keptResult.item)
        m_keptResult = KeyedResult();
}

void Quillmere::keyCurrentItem()
{
    const KeyRecipe key = currentKey();
    const QList<OSDItem *> items = currentItems();
    for (OSDItem *item : items) {
        keyItem(item, key.begin, key.end, key.fill, key.enabled);
        markChanged(Step::Key);
    }
}

void Quillmere::slot_applyDataForDataModel()
{
    keyCurrentItem();
}

void Quillmere::applyColorKey(QImage &image)
{
    const KeyRecipe key = currentKey();
    ColorKeyer::apply(image, key.begin, key.end, key.fill);
}

void Quillmere::slot_Resetbutton()
{
    const QString tab = currentTitle();
    // An imported picture holds only the pixels the file had; until it is keyed here there is nothing
    // to go back to.
    const QList<OSDItem *> items = currentItems();
    for (OSDItem *item : items) {
        if (!item->hasOriginal() && !item->isKeyApplied()) {
            CustomMegBox::informationMessageBox(
                this, tr("提示"), tr("%1 是导入的图片，没有原图，无法复位。").arg(tab), tr("OK"));
            return;
        }
    }
    if (!confirmKeyingReset())
        return;
    // The ranges going back and the pictures coming back are one step. The switch stays as the
    // operator set it.
    ++m_stepsHeld;
    KeyRecipe key;
    key.enabled = currentKey().enabled;
    setCurrentKey(key);

    // An item that was keyed shows its source picture again, in its cut window if it has one.
    for (OSDItem *item : items) {
        if (!item->isKeyApplied())
            continue;
        item->setKeyedImage(item->sourceImage());
        item->setKeyRecipe(key.begin, key.end, key.fill);
        writeKeyedRecord(item, item->image());
    }
    --m_stepsHeld;
    markChanged(Step::ResetKey);

    CustomMegBox::informationMessageBox(this, tr("提示"), tr("%1 已经复位成功。").arg(tab), tr("OK"));
}

void Quillmere::slot_setColorOfMouse(double x, double y, double PicX, double PicY)
{
    // Only the tip follows the pointer; hovering never picks or keys.
    auto *item = qobject_cast<OSDItem *>(sender());
    const QList<OSDItem *> items = item ? QList<OSDItem *>{item} : currentItems();
    for (OSDItem *shown : items) {
        // The pixel under the cursor, in whichever cut view the item shows, in the picture's own
        // colour: what a click there would pick.
        QRgb pixel = 0;
        const bool inside = shown->sourcePixelUnder(QPointF(PicX, PicY), &pixel);
        const QString text =
            inside ? PropertyPanel::colourText(QColor(pixel)) : PropertyPanel::noColourText();
        const QString swatch = inside ? PropertyPanel::swatchFromChannels(QColor(pixel))
                                      : QStringLiteral("background-color:rgb(0,0,0);");
        if (m_colorTip) {
            // Whole pixels, truncated toward zero as a location is.
            const QPoint at = mapToParent(ItemRecords::location(QPointF(x, y)));
            m_colorTip->move(at + QPoint(0, 122));
            m_colorTipLabel->setText(text);
            m_colorTipSwatch->setStyleSheet(swatch);
        }
    }
}

void Quillmere::pickAt(OSDItem *item, const QPointF &itemPos)
{
    // Only the pressed item of the tab in front, and only while keying is switched on: a stray
    // click must not change the item.
    if (!item || !currentItems().contains(item) || !currentKey().enabled)
        return;
    // The picture's own colour, not the keyed one shown: a click on a keyed area keys that colour
    // again instead of picking the fill colour.
    QRgb pixel = 0;
    if (item->sourcePixelUnder(itemPos, &pixel))
        m_keyPanel->pick(QColor(pixel));
}

void Quillmere::slot_setColorR(int x, int y)
{
    m_keyPanel->setChannel(0, x, y);
}

void Quillmere::slot_setColorG(int x, int y)
{
    m_keyPanel->setChannel(1, x, y);
}

void Quillmere::slot_setColorB(int x, int y)
{
    m_keyPanel->setChannel(2, x, y);
}
