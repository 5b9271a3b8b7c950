// The keying adapters: the key panel's and the keying controller's slots, and the colour tip that
// follows the pointer over an item.
#include "mainwindow/quillmere.h"

#include "interfaces/records/itemrecords.h"
#include "mainwindow/keyingcontroller.h"
#include "mainwindow/keypanelcontroller.h"
#include "mainwindow/propertypanel.h"
#include "osditem/osditem.h"

#include <QFrame>
#include <QLabel>

void Quillmere::showCurrentEntry()
{
    // Called while the window is being built too, before the panel exists.
    if (m_keyPanel)
        m_keyPanel->showCurrent();
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

void Quillmere::slot_applyDataForDataModel()
{
    m_keying->keyCurrentItems();
}

void Quillmere::applyColorKey(QImage &image)
{
    m_keying->applyKey(image);
}

void Quillmere::slot_Resetbutton()
{
    m_keying->reset();
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
