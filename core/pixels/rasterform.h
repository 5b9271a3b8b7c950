#pragma once

#include <QImage>

// A picture in the form the editor keeps it: what QPixmap::fromImage(image).toImage() gives on the
// raster paint engine of a 32-bit screen, made without a pixmap so that code without a GUI
// application (the command-line tool, worker threads) keeps exactly the editor's pixels.
// Pictures that have an alpha channel and use it (at least one pixel not fully opaque, or a colour
// table with a translucent entry) become Format_ARGB32_Premultiplied; every other picture becomes
// Format_RGB32. Opaque ARGB32 pictures keep their bytes and are only relabelled.
class RasterForm
{
public:
    static QImage convert(QImage image);

    // The picture as the device shows it: the device has no transparency and takes the colour bytes
    // of each pixel as they are held, so a premultiplied picture shows on black and an
    // unpremultiplied one in its own colours. ARGB32 and ARGB32_Premultiplied pictures become
    // Format_RGB32 with those colour bytes and every pixel opaque; other pictures stay as they are.
    static QImage flattened(QImage image);

    // True when image has an alpha channel and at least one pixel that is not fully opaque; for
    // mono and indexed pictures, when the colour table has a translucent entry.
    static bool hasAlphaPixels(const QImage &image);
};
