#include "mainwindow/keyingcontroller.h"

#include "core/document/keyrecipe.h"
#include "core/pixels/publicbase.h"
#include "interfaces/model/videocontrolosd.h"
#include "interfaces/records/itemrecords.h"
#include "osditem/osditem.h"
#include "widgets/styled/custommegbox.h"

#include <QCoreApplication>
#include <QImage>

#include <utility>

// The texts are the window's (context "Quillmere"), translated where they always were.

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

// Whether two images hold the same colours, whatever their formats.
bool samePixels(const QImage &a, const QImage &b)
{
    if (a.cacheKey() == b.cacheKey())
        return true;
    if (a.size() != b.size())
        return false;
    if (a.format() == b.format())
        return a == b;
    return a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

KeyingController::KeyingController(QWidget *window, KeyPanelController *keys, Window hooks)
    : QObject(window), m_window(window), m_keys(keys), m_hooks(std::move(hooks))
{
    connect(m_keys, &KeyPanelController::keyEdited, this, &KeyingController::keyEdited);
}

void KeyingController::keyEdited(int id, KeyPanelController::Edit edit)
{
    Q_UNUSED(id) // always the current entry, whose items are keyed
    switch (edit) {
    case KeyPanelController::Edit::Range:
        keyCurrentItems();
        break;
    case KeyPanelController::Edit::Pick:
        // Each pick is a step of its own, never merged with a slider drag.
        m_hooks.closeGesture();
        keyCurrentItems();
        m_hooks.closeGesture();
        break;
    case KeyPanelController::Edit::Fill: {
        // A picture already keyed takes the new colour at once, so what is seen is what the file
        // holds.
        bool keyed = false;
        const QList<OSDItem *> items = m_hooks.currentItems();
        for (OSDItem *item : items)
            keyed = keyed || item->isKeyApplied();
        if (keyed) {
            m_hooks.holdSteps();
            keyCurrentItems();
            m_hooks.releaseSteps();
        }
        m_hooks.record(Step::Fill);
        break;
    }
    }
}

void KeyingController::writeKeyedRecord(OSDItem *item, const QImage &image)
{
    VideoControlOSD *record = item->videoControlOSD();
    if (!record)
        return;
    const KeyRecipe key = m_keys->key();
    int completionWidth = 0;
    QByteArray data = PublicBase::imageToOsdData(image, &completionWidth);
    ItemRecords::writeKeyed(record, image, data, completionWidth, key.fill, key.enabled);
}

void KeyingController::keyItem(OSDItem *item, const QColor &begin, const QColor &end, const QColor &fill,
                               bool fillOn, bool mayReuse)
{
    VideoControlOSD *record = item->videoControlOSD();
    const qint64 source = item->sourceImage().cacheKey();
    // A result of the source with a key of its own, worth keeping; not the source itself.
    const bool keyedNow = item->isKeyApplied() && item->image().cacheKey() != source;
    const QColor nowBegin = item->keyBegin();
    const QColor nowEnd = item->keyEnd();
    const QColor nowFill = item->keyFill();
    KeyedResult &kept = m_kept;
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
        connect(item, &QObject::destroyed, this, &KeyingController::dropKeptResult, Qt::UniqueConnection);
    }

    item->setKeyedImage(next.image, next.display);
    item->setKeyRecipe(begin, end, fill);
    if (record)
        ItemRecords::writeKeyed(record, next.image, next.osdData, next.completionWidth, fill, fillOn);
}

void KeyingController::dropKeptResult()
{
    if (!m_kept.item)
        m_kept = KeyedResult();
}

void KeyingController::keyCurrentItems()
{
    const KeyRecipe key = m_keys->key();
    const QList<OSDItem *> items = m_hooks.currentItems();
    for (OSDItem *item : items) {
        keyItem(item, key.begin, key.end, key.fill, key.enabled);
        m_hooks.record(Step::Key);
    }
}

void KeyingController::applyKey(QImage &image) const
{
    const KeyRecipe key = m_keys->key();
    ColorKeyer::apply(image, key.begin, key.end, key.fill);
}

bool KeyingController::confirmReset()
{
    // Only keyed pixels of the current tab's items are lost by a reset; without any there is
    // nothing to ask.
    bool discards = false;
    const QList<OSDItem *> items = m_hooks.currentItems();
    for (OSDItem *item : items) {
        if (item->isKeyApplied() && !samePixels(item->image(), item->sourceImage())) {
            discards = true;
            break;
        }
    }
    if (!discards)
        return true;
    const QString question =
        QCoreApplication::translate("Quillmere", "是否要复位%1 ?").arg(m_hooks.currentTitle());
    return CustomMegBox::questionMessageBox(m_window, QCoreApplication::translate("Quillmere", "提示"),
                                            question, QCoreApplication::translate("Quillmere", "是"),
                                            QCoreApplication::translate("Quillmere", "否")) != 0;
}

void KeyingController::reset()
{
    const QString tab = m_hooks.currentTitle();
    // An imported picture holds only the pixels the file had; until it is keyed here there is nothing
    // to go back to.
    const QList<OSDItem *> items = m_hooks.currentItems();
    for (OSDItem *item : items) {
        if (!item->hasOriginal() && !item->isKeyApplied()) {
            CustomMegBox::informationMessageBox(
                m_window, QCoreApplication::translate("Quillmere", "提示"),
                QCoreApplication::translate("Quillmere", "%1 是导入的图片，没有原图，无法复位。").arg(tab),
                QCoreApplication::translate("Quillmere", "OK"));
            return;
        }
    }
    if (!confirmReset())
        return;
    // The ranges going back and the pictures coming back are one step. The switch stays as the
    // operator set it.
    m_hooks.holdSteps();
    KeyRecipe key;
    key.enabled = m_keys->key().enabled;
    m_keys->setKey(key);

    // An item that was keyed shows its source picture again, in its cut window if it has one.
    for (OSDItem *item : items) {
        if (!item->isKeyApplied())
            continue;
        item->setKeyedImage(item->sourceImage());
        item->setKeyRecipe(key.begin, key.end, key.fill);
        writeKeyedRecord(item, item->image());
    }
    m_hooks.releaseSteps();
    m_hooks.record(Step::Reset);

    CustomMegBox::informationMessageBox(
        m_window, QCoreApplication::translate("Quillmere", "提示"),
        QCoreApplication::translate("Quillmere", "%1 已经复位成功。").arg(tab),
        QCoreApplication::translate("Quillmere", "OK"));
}

void KeyingController::pickAt(OSDItem *item, const QPointF &itemPos)
{
    // Only the pressed item of the tab in front, and only while keying is switched on: a stray
    // click must not change the item.
    if (!item || !m_hooks.currentItems().contains(item) || !m_keys->key().enabled)
        return;
    // The picture's own colour, not the keyed one shown: a click on a keyed area keys that colour
    // again instead of picking the fill colour.
    QRgb pixel = 0;
    if (item->sourcePixelUnder(itemPos, &pixel))
        m_keys->pick(QColor(pixel));
}
