#pragma once

#include <QList>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>
#include <Qt>

// The device's output area: the screen the overlays are shown on, with the arithmetic of placing
// items on it (where an item lies, aligning it, snapping it to edges and centre lines). Positions
// are in screen pixels with the screen's top-left at (0, 0); items may lie partly or wholly
// outside, as the file format stores any location.
class OutputScreen
{
public:
    // The sizes offered by name; the first custom size is the operator's own.
    static QList<QSize> presets();
    static QSize defaultSize() { return QSize(1920, 1080); }
    // Custom sizes are kept to what a device's output can be and what the previews can draw.
    static QSize minimumSize() { return QSize(16, 16); }
    static QSize maximumSize() { return QSize(16384, 16384); }
    static bool isValidSize(const QSize &size);
    // "1920×1080", as the controls show a size.
    static QString sizeText(const QSize &size);

    // An invalid size gives the default screen.
    explicit OutputScreen(const QSize &size = defaultSize());

    QSize size() const { return m_size; }
    QRect rect() const { return QRect(QPoint(0, 0), m_size); }

    enum class Placement
    {
        Inside,  // every pixel is on the screen
        Partly,  // some pixels are off the screen
        Outside, // no pixel is on the screen
    };
    Placement placement(const QRect &itemRect) const;

    // The top-left that aligns itemRect on the screen along the axes that alignment names
    // (Qt::AlignLeft, AlignHCenter, AlignRight, AlignTop, AlignVCenter, AlignBottom); an axis it does
    // not name keeps its coordinate. Centring rounds toward the top-left.
    QPoint aligned(const QRect &itemRect, Qt::Alignment alignment) const;

    // The top-left for an item dragged to itemRect: along each axis, the item's nearest edge or
    // centre within threshold of a screen edge or centre line moves onto it.
    QPointF snapped(const QRectF &itemRect, qreal threshold) const;

private:
    QSize m_size;
};
