#include "core/pixels/colorkeyer.h"

#include "core/pixels/colorkeykernels.h"
#include "core/pixels/cpufeatures.h"
#include "core/pixels/publicbase.h"

#include <QColorSpace>
#include <QStringList>

#include <algorithm>
#include <cstring>

namespace {

using namespace ColorKeyKernels;

struct Bounds
{
    int redLow, redHigh, greenLow, greenHigh, blueLow, blueHigh;
};

// The first row with a pixel in range; the height when there is none.
template <int R, int G, int B> int firstMatchingRow(const QImage &image, const Spans &s)
{
    const auto hasMatch = lineKernels<R, G, B>().hasMatch;
    int y = 0;
    while (y < image.height() &&
           !hasMatch(reinterpret_cast<const quint32 *>(image.constScanLine(y)), image.width(), s))
        ++y;
    return y;
}

// ---- Images

// An image like source (size, format and everything QImage::copy keeps besides the pixels), with
// its pixels not yet written.
QImage blankLike(const QImage &source)
{
    QImage image(source.size(), source.format());
    if (image.isNull())
        return image;
    image.setColorTable(source.colorTable());
    image.setDotsPerMeterX(source.dotsPerMeterX());
    image.setDotsPerMeterY(source.dotsPerMeterY());
    image.setOffset(source.offset());
    image.setDevicePixelRatio(source.devicePixelRatio());
    image.setColorSpace(source.colorSpace());
    const QStringList keys = source.textKeys();
    for (const QString &key : keys)
        image.setText(key, source.text(key));
    return image;
}

void releaseImage(void *image)
{
    delete static_cast<QImage *>(image);
}

// image's own bytes read as Format_RGB32, without a copy: the result keeps a handle on them.
QImage sameBytesAsRgb32(const QImage &image)
{
    auto *holder = new QImage(image);
    return QImage(holder->constBits(), holder->width(), holder->height(), holder->bytesPerLine(),
                  QImage::Format_RGB32, releaseImage, holder);
}

bool hasAlphaChannelBytes(QImage::Format format)
{
    switch (format) {
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        return true;
    default:
        return false;
    }
}

// Every alpha byte is 255 (formats with alpha in the top byte of a 32-bit pixel).
bool isOpaque(const QImage &image)
{
    const int w = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const uchar *line = image.constScanLine(y);
        uchar all = 0xFF;
        for (int x = 0; x < w; ++x)
            all &= line[4 * x + 3];
        if (all != 0xFF)
            return false;
    }
    return true;
}

// What Keyed::display holds for image, given whether it is opaque: what QPixmap::fromImage would
// convert it to, without a copy where the bytes stay the same.
QImage displayFor(const QImage &image, bool opaque)
{
    if (image.isNull())
        return QImage();
    switch (image.format()) {
    case QImage::Format_ARGB32:
        if (!opaque)
            return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        Q_FALLTHROUGH();
    case QImage::Format_ARGB32_Premultiplied:
        // A wrapper could take another device pixel ratio only with a copy.
        return opaque && image.devicePixelRatio() == 1.0 ? sameBytesAsRgb32(image) : QImage();
    case QImage::Format_RGBX8888:
        return image.convertToFormat(QImage::Format_RGB32);
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        return opaque ? image.convertToFormat(QImage::Format_RGB32) : QImage();
    default:
        return QImage();
    }
}

// keyed() for the formats without a one-pass road (and for nothing to key): apply() on a handle,
// then the OSD pixel data, then the image to show.
ColorKeyer::Keyed keyedStepByStep(const QImage &source, const QColor &begin, const QColor &end,
                                  const QColor &fill, bool withOsdData, ColorKeyer::Keyed &spare)
{
    ColorKeyer::Keyed result;
    result.image = source;
    ColorKeyer::apply(result.image, begin, end, fill);
    if (withOsdData) {
        result.osdData = std::move(spare.osdData);
        PublicBase::imageToOsdData(result.image, &result.completionWidth, &result.osdData);
    }
    const bool opaque = hasAlphaChannelBytes(result.image.format()) && isOpaque(result.image);
    result.display = displayFor(result.image, opaque);
    return result;
}

// The plain road of the one pass, an output at a time: the rows of source keyed into target.
template <int R, int G, int B>
void keyRowsInto(const QImage &source, QImage &target, const Spans &s, quint32 fill)
{
    for (int y = 0; y < source.height(); ++y) {
        keyLineInto<R, G, B>(reinterpret_cast<const quint32 *>(source.constScanLine(y)),
                             reinterpret_cast<quint32 *>(target.scanLine(y)), source.width(), s, fill);
    }
}

// The image to show from the keyed image: ARGB32 premultiplied, or RGBA8888 bytes as RGB32.
void showRowsInto(const QImage &keyed, QImage &display, bool premultiply)
{
    const int width = keyed.width();
    for (int y = 0; y < keyed.height(); ++y) {
        const auto *source = reinterpret_cast<const quint32 *>(keyed.constScanLine(y));
        auto *target = reinterpret_cast<quint32 *>(display.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const quint32 p = source[x];
            target[x] = premultiply ? qPremultiply(p)
                                    : 0xFF000000u | ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
        }
    }
}

// The AND of all pixels of a 32-bit image.
quint32 andOfPixels(const QImage &image)
{
    const int width = image.width();
    quint32 all = ~0u;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const quint32 *>(image.constScanLine(y));
        for (int x = 0; x < width; ++x)
            all &= line[x];
    }
    return all;
}

// What setPixelColor stores for the fill colour depends only on the format: take it from a
// one-pixel image, so every keyed pixel holds exactly those bytes.
void storedFill(QImage::Format format, const QColor &fill, uchar bytes[8])
{
    QImage probe(1, 1, format);
    probe.fill(0);
    probe.setPixelColor(0, 0, fill);
    std::memset(bytes, 0, 8);
    std::memcpy(bytes, probe.constScanLine(0), size_t(probe.depth() / 8));
}

// 32-bit formats whose QImage::pixel is a fixed rearrangement of the stored word.
template <int R, int G, int B> void keyWords(QImage &image, const Spans &s, quint32 fill, const ByteKey &key)
{
    const int width = image.width();
    const int height = image.height();
    // Rows without a match are only read: an image that matches nothing stays shared.
    const int first = firstMatchingRow<R, G, B>(image, s);
    if (first == height)
        return;

    if (!image.isDetached()) {
        // Shared pixels must not change; rather than copying them all and keying the copy, key
        // straight into new pixels in one pass.
        QImage keyed = blankLike(image);
        if (!keyed.isNull()) {
            if (CpuFeatures::level() != CpuFeatures::Level::Portable) {
                keyRows(image, {keyed.bits(), nullptr, nullptr}, key);
            } else {
                for (int y = 0; y < height; ++y) {
                    keyLineInto<R, G, B>(reinterpret_cast<const quint32 *>(image.constScanLine(y)),
                                         reinterpret_cast<quint32 *>(keyed.scanLine(y)), width, s, fill);
                }
            }
            image = keyed;
            return;
        }
    }
    const auto inPlace = lineKernels<R, G, B>().inPlace;
    for (int y = first; y < height; ++y)
        inPlace(reinterpret_cast<quint32 *>(image.scanLine(y)), width, s, fill);
}

// ---- Three bytes a pixel (imported pictures are BGR888)

// The first row with a pixel in range; the height when there is none.
int firstMatchingPackedRow(const QImage &image, const ByteKey &k)
{
    int y = 0;
    while (y < image.height() && !keyPackedRun({image.constScanLine(y), nullptr, nullptr, image.width()}, k))
        ++y;
    return y;
}

// source keyed into rows keyedStride bytes apart and, where bgr is given, into OSD bytes; rows
// without padding between them make one run.
void keyPackedRows(const QImage &source, uchar *keyed, qint64 keyedStride, uchar *bgr, const ByteKey &k)
{
    const int w = source.width();
    const int h = source.height();
    const qint64 packed = qint64(w) * 3;
    if (source.bytesPerLine() == packed && (!keyed || keyedStride == packed)) {
        keyPackedRun({source.constBits(), keyed, bgr, qint64(w) * h}, k);
        return;
    }
    for (int y = 0; y < h; ++y) {
        keyPackedRun({source.constScanLine(y), keyed ? keyed + y * keyedStride : nullptr,
                      bgr ? bgr + y * packed : nullptr, w},
                     k);
    }
}

void keyPacked(QImage &image, const ByteKey &k)
{
    // Rows without a match are only read: an image that matches nothing stays shared.
    const int first = firstMatchingPackedRow(image, k);
    if (first == image.height())
        return;
    if (!image.isDetached()) {
        // Shared pixels must not change: key straight into new pixels in one pass.
        QImage keyed = blankLike(image);
        if (!keyed.isNull()) {
            keyPackedRows(image, keyed.bits(), keyed.bytesPerLine(), nullptr, k);
            image = keyed;
            return;
        }
    }
    // In place: stretches without a match are read, not written.
    for (int y = first; y < image.height(); ++y) {
        uchar *row = image.scanLine(y);
        keyPackedRun({row, row, nullptr, image.width()}, k);
    }
}

// Every other format: QImage::pixel reads, the stored fill is copied in.
void keyPixels(QImage &image, const Bounds &b, const uchar *fill, int bytesPerPixel)
{
    const int width = image.width();
    const int height = image.height();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb p = image.pixel(x, y);
            const int red = qRed(p);
            const int green = qGreen(p);
            const int blue = qBlue(p);
            if (red >= b.redLow && red <= b.redHigh && green >= b.greenLow && green <= b.greenHigh &&
                blue >= b.blueLow && blue <= b.blueHigh)
                std::memcpy(image.scanLine(y) + x * bytesPerPixel, fill, size_t(bytesPerPixel));
        }
    }
}

// The formats with a fixed byte layout: their bytes in memory are B, G, R, A (QRgb words),
// R, G, B, A (RGBA8888 formats), or three bytes a pixel (BGR888, RGB888).
enum class Layout
{
    Other,
    Words,
    RedFirst,
    Packed
};

Layout layoutOf(QImage::Format format)
{
    // Byte formats: the same order in memory on every processor.
    if (format == QImage::Format_BGR888 || format == QImage::Format_RGB888)
        return Layout::Packed;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    switch (format) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return Layout::Words;
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        return Layout::RedFirst;
    default:
        return Layout::Other;
    }
#else
    Q_UNUSED(format);
    return Layout::Other;
#endif
}

// redFirst: red is byte 0 in memory (RGBA8888 formats, RGB888), else byte 2.
ByteKey byteKeyFor(bool redFirst, const Bounds &b, quint32 fill)
{
    const quint32 redShift = redFirst ? 0 : 16;
    const quint32 blueShift = redFirst ? 16 : 0;
    const quint32 low =
        (quint32(b.redLow) << redShift) | (quint32(b.greenLow) << 8) | (quint32(b.blueLow) << blueShift);
    const quint32 span = (quint32(b.redHigh - b.redLow) << redShift) |
                         (quint32(b.greenHigh - b.greenLow) << 8) |
                         (quint32(b.blueHigh - b.blueLow) << blueShift) | 0xFF000000u;
    return {low, span, fill, redFirst, false};
}

Bounds boundsOf(const QColor &begin, const QColor &end)
{
    return {begin.red(), end.red(), begin.green(), end.green(), begin.blue(), end.blue()};
}

Spans spansOf(const Bounds &b)
{
    return {quint32(b.redLow),   quint32(b.redHigh - b.redLow),
            quint32(b.greenLow), quint32(b.greenHigh - b.greenLow),
            quint32(b.blueLow),  quint32(b.blueHigh - b.blueLow)};
}

// image may take new pixels in place: it has that size and format, and no other handle (nor a
// pixmap) shares its pixels.
bool canRewrite(const QImage &image, const QSize &size, QImage::Format format)
{
    return !image.isNull() && image.size() == size && image.format() == format && image.isDetached();
}

// Everything blankLike() takes over from source is already the same in image.
bool sameDescription(const QImage &image, const QImage &source)
{
    return image.dotsPerMeterX() == source.dotsPerMeterX() &&
           image.dotsPerMeterY() == source.dotsPerMeterY() && image.offset() == source.offset() &&
           image.devicePixelRatio() == source.devicePixelRatio() &&
           image.colorSpace() == source.colorSpace() && image.textKeys() == source.textKeys() &&
           image.text() == source.text() && image.colorTable() == source.colorTable();
}

// keyed() of a packed picture with some pixel in range. Three-byte pictures are shown as they are
// (the pixmap takes them without a conversion), so there is no image to show. A null image when
// there is no memory for it.
ColorKeyer::Keyed keyedPacked(const QImage &source, const ByteKey &key, bool withOsdData,
                              ColorKeyer::Keyed &spare)
{
    ColorKeyer::Keyed result;
    const int w = source.width();
    const int h = source.height();
    uchar *bgr = nullptr;
    if (withOsdData) {
        // An earlier keyed image that reads its OSD bytes holds them; they are free once it goes.
        if (spare.image.constBits() == reinterpret_cast<const uchar *>(spare.osdData.constData()))
            spare.image = QImage();
        const int size = int(qint64(w) * h * 3);
        if (spare.osdData.size() == size && spare.osdData.isDetached())
            result.osdData = std::move(spare.osdData);
        else
            result.osdData = QByteArray(size, Qt::Uninitialized);
        if (result.osdData.size() != size)
            return ColorKeyer::Keyed();
        result.completionWidth = w;
        bgr = reinterpret_cast<uchar *>(result.osdData.data());
        if (source.format() == QImage::Format_BGR888) {
            // The keyed pixels are the OSD bytes: written once, and the keyed image reads them, as an
            // imported picture reads its record's bytes.
            keyPackedRows(source, bgr, qint64(w) * 3, nullptr, key);
            const QImage view = PublicBase::osdDataView(result.osdData, w, h, w);
            if (!view.isNull() && sameDescription(view, source)) {
                result.image = view;
                return result;
            }
            // A picture carrying more than its pixels: an image of its own, as for RGB888.
        }
    }
    if (canRewrite(spare.image, source.size(), source.format()) && sameDescription(spare.image, source))
        result.image = std::move(spare.image);
    else
        result.image = blankLike(source);
    if (result.image.isNull())
        return ColorKeyer::Keyed();
    keyPackedRows(source, result.image.bits(), result.image.bytesPerLine(), bgr, key);
    return result;
}

} // namespace

bool ColorKeyer::isEmptyRange(const QColor &begin, const QColor &end)
{
    return begin.red() > end.red() || begin.green() > end.green() || begin.blue() > end.blue();
}

bool ColorKeyer::canKey(QImage::Format format)
{
    switch (format) {
    case QImage::Format_Invalid:
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8:
    case QImage::NImageFormats:
        return false;
    default:
        return true;
    }
}

void ColorKeyer::apply(QImage &image, const QColor &begin, const QColor &end, const QColor &fill)
{
    // setPixelColor ignores an invalid colour, so nothing would change.
    if (image.isNull() || !canKey(image.format()) || !fill.isValid() || isEmptyRange(begin, end))
        return;

    uchar fillBytes[8];
    storedFill(image.format(), fill, fillBytes);
    quint32 fillWord = 0;
    std::memcpy(&fillWord, fillBytes, sizeof(fillWord));
    const Bounds bounds = boundsOf(begin, end);
    const Spans spans = spansOf(bounds);

    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        // 0xAARRGGBB in a native word.
        keyWords<16, 8, 0>(image, spans, fillWord, byteKeyFor(false, bounds, fillWord));
        return;
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        // Bytes R, G, B, A in memory.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
        keyWords<0, 8, 16>(image, spans, fillWord, byteKeyFor(true, bounds, fillWord));
#else
        keyWords<24, 16, 8>(image, spans, fillWord, ByteKey{});
#endif
        return;
    case QImage::Format_BGR888:
    case QImage::Format_RGB888:
        keyPacked(image, byteKeyFor(image.format() == QImage::Format_RGB888, bounds, fillWord));
        return;
    default:
        keyPixels(image, bounds, fillBytes, image.depth() / 8);
        return;
    }
}

ColorKeyer::Keyed ColorKeyer::keyed(const QImage &source, const QColor &begin, const QColor &end,
                                    const QColor &fill, bool withOsdData)
{
    return keyed(source, begin, end, fill, withOsdData, Keyed());
}

ColorKeyer::Keyed ColorKeyer::keyed(const QImage &source, const QColor &begin, const QColor &end,
                                    const QColor &fill, bool withOsdData, Keyed &&spare)
{
    // An image to show that reads the keyed image's own bytes holds them; it has none to give.
    if (spare.display.constBits() == spare.image.constBits())
        spare.display = QImage();
    const Layout layout = layoutOf(source.format());
    if (layout == Layout::Other || source.isNull() || !fill.isValid() || isEmptyRange(begin, end))
        return keyedStepByStep(source, begin, end, fill, withOsdData, spare);

    uchar fillBytes[8];
    storedFill(source.format(), fill, fillBytes);
    quint32 fillWord = 0;
    std::memcpy(&fillWord, fillBytes, sizeof(fillWord));
    const Bounds bounds = boundsOf(begin, end);
    const Spans spans = spansOf(bounds);
    ByteKey key =
        byteKeyFor(layout == Layout::RedFirst || source.format() == QImage::Format_RGB888, bounds, fillWord);
    if (layout == Layout::Packed) {
        if (firstMatchingPackedRow(source, key) == source.height())
            return keyedStepByStep(source, begin, end, fill, withOsdData, spare);
        Keyed result = keyedPacked(source, key, withOsdData, spare);
        if (result.image.isNull())
            return keyedStepByStep(source, begin, end, fill, withOsdData, spare);
        return result;
    }
    const int first = layout == Layout::Words ? firstMatchingRow<16, 8, 0>(source, spans)
                                              : firstMatchingRow<0, 8, 16>(source, spans);

    Keyed result;
    Outputs out{nullptr, nullptr, nullptr};
    // Nothing in range: the keyed image is the source itself.
    if (first == source.height())
        result.image = source;
    else if (canRewrite(spare.image, source.size(), source.format()) && sameDescription(spare.image, source))
        result.image = std::move(spare.image);
    else
        result.image = blankLike(source);
    if (result.image.isNull())
        return keyedStepByStep(source, begin, end, fill, withOsdData, spare);
    if (first < source.height())
        out.keyed = result.image.bits();
    if (withOsdData) {
        const int size = int(qint64(source.width()) * source.height() * 3);
        if (spare.osdData.size() == size && spare.osdData.isDetached())
            result.osdData = std::move(spare.osdData);
        else
            result.osdData = QByteArray(size, Qt::Uninitialized);
        result.completionWidth = source.width();
        out.bgr = reinterpret_cast<uchar *>(result.osdData.data());
    }
    // The image to show, where it needs pixels of its own: RGB32 bytes for the RGBA8888 formats
    // (their opaque pictures come from imports), premultiplied pixels for translucent ARGB32.
    // Opaque ARGB32 and ARGB32_Premultiplied pictures are shown through their own bytes.
    QImage::Format displayFormat = QImage::Format_Invalid;
    if (layout == Layout::RedFirst) {
        displayFormat = QImage::Format_RGB32;
    } else if (source.format() == QImage::Format_ARGB32 && !(qAlpha(fillWord) == 255 && isOpaque(source))) {
        displayFormat = QImage::Format_ARGB32_Premultiplied;
        key.premultiply = true;
    }
    QImage display;
    if (displayFormat != QImage::Format_Invalid) {
        if (canRewrite(spare.display, source.size(), displayFormat))
            display = std::move(spare.display);
        else
            display = QImage(source.size(), displayFormat);
        display.setDevicePixelRatio(source.devicePixelRatio());
        if (!display.isNull())
            out.display = display.bits();
    }
    quint32 all = ~0u;
    if (CpuFeatures::level() != CpuFeatures::Level::Portable) {
        all = keyRows(source, out, key);
    } else {
        if (out.keyed && layout == Layout::Words)
            keyRowsInto<16, 8, 0>(source, result.image, spans, fillWord);
        else if (out.keyed)
            keyRowsInto<0, 8, 16>(source, result.image, spans, fillWord);
        if (withOsdData)
            PublicBase::imageToOsdData(result.image, &result.completionWidth, &result.osdData);
        if (out.display)
            showRowsInto(result.image, display, key.premultiply);
        // Only the formats with alpha ask whether the result is opaque.
        if (hasAlphaChannelBytes(source.format()))
            all = andOfPixels(result.image);
    }

    const bool opaque = (all >> 24) == 0xFF;
    if (key.premultiply) {
        result.display = display;
    } else if (layout == Layout::RedFirst) {
        // RGBX8888 ignores its fourth byte: always opaque.
        if (opaque || source.format() == QImage::Format_RGBX8888)
            result.display = display;
    } else {
        result.display = displayFor(result.image, opaque);
    }
    return result;
}
