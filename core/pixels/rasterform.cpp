#include "core/pixels/rasterform.h"

#include <QtEndian>
#include <QtGlobal>

#include <utility>

namespace {

// True when every 32-bit word of every row has all the bits of mask set.
bool allWordsHave(const QImage &image, quint32 mask)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const quint32 *>(image.constScanLine(y));
        quint32 all = mask;
        for (int x = 0; x < image.width(); ++x)
            all &= row[x];
        if (all != mask)
            return false;
    }
    return true;
}

bool allOpaqueRgba64(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const quint64 *>(image.constScanLine(y));
        quint64 all = ~quint64(0);
        for (int x = 0; x < image.width(); ++x)
            all &= row[x];
        if ((all >> 48) != 0xFFFF)
            return false;
    }
    return true;
}

// The alpha of the remaining formats, each read as its own bits: full alpha in these formats is
// exactly an alpha of 255 in QImage::pixel.
bool allOpaqueByPixel(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 255)
                return false;
    return true;
}

} // namespace

bool RasterForm::hasAlphaPixels(const QImage &image)
{
    if (image.isNull() || !image.hasAlphaChannel())
        return false;
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8:
        // hasAlphaChannel() of these says whether the colour table has a translucent entry.
    case QImage::Format_Alpha8:
        return true;
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return !allWordsHave(image, 0xFF000000u);
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        return !allWordsHave(image, qToLittleEndian(0xFF000000u));
    case QImage::Format_RGBA64:
    case QImage::Format_RGBA64_Premultiplied:
        return !allOpaqueRgba64(image);
    default:
        return !allOpaqueByPixel(image);
    }
}

QImage RasterForm::convert(QImage image)
{
    if (image.isNull())
        return image;
    const bool alpha = image.depth() == 1 ? image.hasAlphaChannel() : hasAlphaPixels(image);
    if (alpha)
        return std::move(image).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (image.format() == QImage::Format_ARGB32 || image.format() == QImage::Format_ARGB32_Premultiplied) {
        // Fully opaque: the same bytes are already valid RGB32.
        image.reinterpretAsFormat(QImage::Format_RGB32);
        return image;
    }
    return std::move(image).convertToFormat(QImage::Format_RGB32);
}

QImage RasterForm::flattened(QImage image)
{
    if (image.format() != QImage::Format_ARGB32 && image.format() != QImage::Format_ARGB32_Premultiplied)
        return image;
    // In place where nothing else holds the pixels; bits() detaches otherwise.
    const int w = image.width();
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] |= 0xFF000000u;
    }
    image.reinterpretAsFormat(QImage::Format_RGB32);
    return image;
}
