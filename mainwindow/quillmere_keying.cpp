// Colour keying of the current tab's item and colour picking from it.
#include "mainwindow/quillmere.h"

#include "core/pixels/colorkeyer.h"
#include "core/records/itemrecords.h"
#include "interfaces/model/videocontrolosd.h"
#include "interfaces/styled/checkboxex.h"
#include "interfaces/styled/custommegbox.h"
#include "interfaces/styled/labelex.h"
#include "interfaces/styled/tablewidgetex.h"
#include "osditem/osditem.h"
#include "osditem/publicbase.h"
#include "widgets/doubleslider.h"

#include <QColorDialog>
#include <QFrame>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QLabel>
#include <QPixmap>

#include <utility>

namespace {

const char *const kSwatchBorder =
    ";border-width: 1px;border-color: rgb(22,22,22);border-style: solid;border-radius: 3px;";

QString colourText(const QColor &c)
{
    return QStringLiteral("(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

QString swatchFromChannels(const QColor &c)
{
    return QStringLiteral("background-color:rgb") + colourText(c) + QLatin1String(kSwatchBorder);
}

QString swatchFromName(const QColor &c)
{
    return QStringLiteral("background-color:") + c.name() + QLatin1String(kSwatchBorder);
}

QString noColourText()
{
    return QStringLiteral("(--,--,--)");
}

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

void Quillmere::slot_displayColorFormColorDialog()
{
    const QColor color =
        QColorDialog::getColor(m_selectColor, this, QString(), QColorDialog::ColorDialogOptions());
    if (!color.isValid())
        return;
    m_selectColor = color;
    m_fillColorSwatch->setStyleSheet(swatchFromName(color));
    markChanged(Step::Fill);
}

void Quillmere::slot_displayColorFormColorDialogBegin()
{
    const QColor color =
        QColorDialog::getColor(m_beginColor, this, QString(), QColorDialog::ColorDialogOptions());
    if (color.isValid())
        m_beginColor = color;
}

void Quillmere::slot_displayColorFormColorDialogEnd()
{
    const QColor color =
        QColorDialog::getColor(m_endColor, this, QString(), QColorDialog::ColorDialogOptions());
    if (color.isValid())
        m_endColor = color;
}

void Quillmere::writeKeyedRecord(OSDItem *item, const QImage &image)
{
    VideoControlOSD *record = item->videoControlOSD();
    if (!record)
        return;
    int completionWidth = 0;
    QByteArray data = PublicBase::imageToOsdData(image, &completionWidth);
    ItemRecords::writeKeyed(record, image, data, completionWidth, m_selectColor,
                            m_selectColorCheck->isChecked());
}

void Quillmere::slot_applyDataForDataModel()
{
    const QList<OSDItem *> items = currentItems();
    for (OSDItem *item : items) {
        // Keying always starts from the item's source picture, so a narrower range gives back what a
        // wider one replaced, and a cut window keeps referring to the same whole picture. One pass
        // keys it and, for the record, converts it; the image to show comes in a form the pixmap
        // takes without another conversion or copy, written into the previous result's memory where
        // nothing else holds it.
        VideoControlOSD *record = item->videoControlOSD();
        ColorKeyer::Keyed keyed = ColorKeyer::keyed(item->sourceImage(), m_beginColor, m_endColor,
                                                    m_selectColor, record, takeShownResult(item, record));
        item->setKeyedImage(keyed.image, keyed.display);
        item->setKeyRecipe(m_beginColor, m_endColor, m_selectColor);
        if (record)
            ItemRecords::writeKeyed(record, keyed.image, keyed.osdData, keyed.completionWidth, m_selectColor,
                                    m_selectColorCheck->isChecked());
        markChanged(Step::Key);
    }
}

void Quillmere::applyColorKey(QImage &image)
{
    ColorKeyer::apply(image, m_beginColor, m_endColor, m_selectColor);
}

void Quillmere::slot_Resetbutton()
{
    if (!confirmKeyingReset())
        return;
    // The sliders going back and the pictures coming back are one step.
    ++m_stepsHeld;
    const struct
    {
        DoubleSlider *slider;
        QLabel *minLabel;
        QLabel *maxLabel;
    } channels[] = {{m_sliderR, m_minLabelR, m_maxLabelR},
                    {m_sliderG, m_minLabelG, m_maxLabelG},
                    {m_sliderB, m_minLabelB, m_maxLabelB}};
    for (const auto &channel : channels) {
        channel.slider->moveMaxHandle(255);
        channel.minLabel->setText(QStringLiteral("0"));
        channel.slider->moveMinHandle(0);
        channel.maxLabel->setText(QStringLiteral("255"));
    }

    m_pickedColorSwatch->setStyleSheet(swatchFromChannels(QColor(0, 0, 0)));
    m_pickedColorLabel->setText(noColourText());
    m_fillColorSwatch->setStyleSheet(swatchFromName(QColor(0, 0, 0)));
    m_selectColor = QColor(0, 0, 0, 255);
    m_beginColor = QColor(0, 0, 0, 255);
    m_endColor = QColor(255, 255, 255, 255);

    // An item that was keyed shows its source picture again, in its cut window if it has one.
    const QList<OSDItem *> items = currentItems();
    for (OSDItem *item : items) {
        if (!item->isKeyApplied())
            continue;
        item->setKeyedImage(item->sourceImage());
        writeKeyedRecord(item, item->image());
    }
    --m_stepsHeld;
    markChanged(Step::ResetKey);

    // The tab is named by its title, which keeps its number when other tabs close.
    const QString tab = m_tabWidget->tabText(m_tabWidget->currentIndex());
    CustomMegBox::informationMessageBox(this, tr("提示"), tr("%1 已经复位成功。").arg(tab), tr("OK"));
}

void Quillmere::slot_setColorOfMouse(double x, double y, double PicX, double PicY)
{
    const QList<OSDItem *> items = currentItems();
    for (OSDItem *item : items) {
        // The pixel on screen under the cursor, in whichever cut view the item shows.
        QRgb pixel = 0;
        const bool inside = item->pixelUnder(QPointF(PicX, PicY), &pixel);
        QString text = noColourText();
        QString swatch = QStringLiteral("background-color:rgb(0,0,0);");
        if (inside) {
            const QColor c(pixel);
            text = colourText(c);
            swatch = swatchFromChannels(c);
            // A click picks and keys only while keying is switched on: a stray click must not
            // change the item.
            if (m_mouseClicked && m_selectColorCheck->isChecked()) {
                m_pickedColorSwatch->setStyleSheet(swatch);
                m_pickedColorLabel->setText(text);
                const struct
                {
                    DoubleSlider *slider;
                    QLabel *minLabel;
                    QLabel *maxLabel;
                    int value;
                } channels[] = {{m_sliderR, m_minLabelR, m_maxLabelR, c.red()},
                                {m_sliderG, m_minLabelG, m_maxLabelG, c.green()},
                                {m_sliderB, m_minLabelB, m_maxLabelB, c.blue()}};
                for (const auto &channel : channels) {
                    channel.slider->moveMaxHandleNosignal(channel.value);
                    channel.minLabel->setText(QString::number(channel.value));
                    channel.slider->moveMinHandleNosignal(channel.value);
                    channel.maxLabel->setText(QString::number(channel.value));
                }
                m_beginColor = c;
                m_endColor = c;
                // Each pick is a step of its own, never merged with a slider drag.
                closeGesture();
                slot_applyDataForDataModel();
                closeGesture();
            }
        }
        // A click is taken up by this report, also where it picks nothing.
        m_mouseClicked = false;

        if (m_colorTip) {
            // Whole pixels, truncated toward zero as a location is.
            const QPoint at = mapToParent(ItemRecords::location(QPointF(x, y)));
            m_colorTip->move(at + QPoint(0, 122));
            m_colorTipLabel->setText(text);
            m_colorTipSwatch->setStyleSheet(swatch);
        }
    }
}

void Quillmere::showKeyRanges()
{
    DoubleSlider *sliders[] = {m_sliderR, m_sliderG, m_sliderB};
    QLabel *minLabels[] = {m_minLabelR, m_minLabelG, m_minLabelB};
    QLabel *maxLabels[] = {m_maxLabelR, m_maxLabelG, m_maxLabelB};
    const int begins[] = {m_beginColor.red(), m_beginColor.green(), m_beginColor.blue()};
    const int ends[] = {m_endColor.red(), m_endColor.green(), m_endColor.blue()};
    for (int channel = 0; channel < 3; ++channel) {
        // The upper handle first: the lower one may not pass it.
        sliders[channel]->moveMaxHandleNosignal(255);
        sliders[channel]->moveMinHandleNosignal(begins[channel]);
        sliders[channel]->moveMaxHandleNosignal(ends[channel]);
        minLabels[channel]->setText(QString::number(begins[channel]));
        maxLabels[channel]->setText(QString::number(ends[channel]));
    }
    m_fillColorSwatch->setStyleSheet(swatchFromName(m_selectColor));
}

void Quillmere::slot_setColorR(int x, int y)
{
    m_minLabelR->setText(QString::number(x));
    m_maxLabelR->setText(QString::number(y));
    m_beginColor.setRed(x);
    m_endColor.setRed(y);
    slot_applyDataForDataModel();
}

void Quillmere::slot_setColorG(int x, int y)
{
    m_minLabelG->setText(QString::number(x));
    m_maxLabelG->setText(QString::number(y));
    m_beginColor.setGreen(x);
    m_endColor.setGreen(y);
    slot_applyDataForDataModel();
}

void Quillmere::slot_setColorB(int x, int y)
{
    m_minLabelB->setText(QString::number(x));
    m_maxLabelB->setText(QString::number(y));
    m_beginColor.setBlue(x);
    m_endColor.setBlue(y);
    slot_applyDataForDataModel();
}
