#include "core/pixels/publicbase.h"

#include "core/pixels/conversionkernels.h"

#include <QPixelFormat>
#include <QVector>
#include <QtGlobal>

#include <algorithm>
#include <climits>
#include <cstring>
#include <limits>

namespace {

using ConversionKernels::RunKernel;

// ---- Formats without a fixed byte layout

// QImage::pixel of an indexed image reads the colour table and gives 0 for an index beyond it.
QVector<quint32> paddedColorTable(const QImage &image)
{
    QVector<quint32> lut(256, 0);
    const QVector<QRgb> table = image.colorTable();
    std::copy_n(table.constBegin(), std::min(table.size(), 256), lut.begin());
    return lut;
}

Q_ALWAYS_INLINE void putRgb(uchar *dst, quint32 p)
{
    dst[0] = uchar(p);
    dst[1] = uchar(p >> 8);
    dst[2] = uchar(p >> 16);
}

// Colours are looked up into a line of QRgb words, which the word kernel then packs.
void indexed8Rows(const QImage &image, uchar *out)
{
    const QVector<quint32> lut = paddedColorTable(image);
    const quint32 *table = lut.constData();
    const int w = image.width();
    QVector<quint32> line(w);
    quint32 *words = line.data();
    const RunKernel kernel = ConversionKernels::packKernels(false).rgbWords;
    for (int y = 0; y < image.height(); ++y) {
        const uchar *src = image.constScanLine(y);
        for (int x = 0; x < w; ++x)
            words[x] = table[src[x]];
        kernel(reinterpret_cast<const uchar *>(words), out + qint64(y) * w * 3, w);
    }
}

void monoRows(const QImage &image, uchar *out)
{
    const QVector<quint32> lut = paddedColorTable(image);
    const quint32 colors[2] = {lut.at(0), lut.at(1)};
    const bool lsbFirst = image.format() == QImage::Format_MonoLSB;
    const int w = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const uchar *src = image.constScanLine(y);
        uchar *dst = out + qint64(y) * w * 3;
        for (int x = 0; x < w; ++x) {
            const uchar byte = src[x >> 3];
            const int bit = lsbFirst ? (byte >> (x & 7)) & 1 : (byte >> (~x & 7)) & 1;
            putRgb(dst + 3 * x, colors[bit]);
        }
    }
}

// Every other format: QImage::pixel gives the pixel as ARGB32 (unpremultiplied formats) or as
// ARGB32_Premultiplied (premultiplied ones), which is what Qt's converter produces too. Bands of
// rows are converted through a small buffer, so no second full-size image is made.
void convertedRows(const QImage &image, uchar *out)
{
    const QImage::Format target = image.pixelFormat().premultiplied() == QPixelFormat::Premultiplied
                                      ? QImage::Format_ARGB32_Premultiplied
                                      : QImage::Format_ARGB32;
    const int w = image.width();
    const int h = image.height();
    const int bandRows = std::max(1, (256 * 1024) / (w * 4));
    const RunKernel kernel = ConversionKernels::packKernels(false).rgbWords;
    for (int y = 0; y < h; y += bandRows) {
        const int rows = std::min(bandRows, h - y);
        const QImage band(image.constScanLine(y), w, rows, int(image.bytesPerLine()), image.format());
        const QImage converted = band.convertToFormat(target);
        for (int r = 0; r < rows; ++r)
            kernel(converted.constScanLine(r), out + (qint64(y) + r) * w * 3, w);
    }
}

// Largest byte count a QByteArray can take.
constexpr qint64 MaxByteArraySize = INT_MAX - 32;

// osdDataToImage through Qt's converter: the data is an image in Qt's BGR888 layout with a stride
// of completionWidth pixels.
QImage *osdDataToImageByQt(const uchar *bytes, int width, int height, qint64 stride, int shown, int wholeRows)
{
    QImage converted;
    if (wholeRows > 0) {
        // With more than one row the stride lies within the data and so fits an int.
        const int lineBytes = int(wholeRows > 1 ? stride : qint64(shown) * 3);
        const QImage wrapped(bytes, shown, wholeRows, lineBytes, QImage::Format_BGR888);
        converted = wrapped.convertToFormat(QImage::Format_RGBA8888);
        if (converted.isNull())
            return nullptr;
        if (shown == width && wholeRows == height)
            return new QImage(converted);
    }

    auto *image = new QImage(width, height, QImage::Format_RGBA8888);
    if (image->isNull()) {
        delete image;
        return nullptr;
    }
    image->fill(QColor(0, 0, 0, 255));
    for (int y = 0; y < converted.height(); ++y)
        std::memcpy(image->scanLine(y), converted.constScanLine(y), size_t(shown) * 4);
    return image;
}

} // namespace

QByteArray PublicBase::imageToOsdData(const QImage &image, int *completionWidth)
{
    QByteArray data;
    imageToOsdData(image, completionWidth, &data);
    return data;
}

void PublicBase::imageToOsdData(const QImage &image, int *completionWidth, QByteArray *data)
{
    const int w = image.width();
    const int h = image.height();
    const qint64 total = qint64(w) * h * 3;
    // A null image, or one too large for a single byte array (possible for 1-bit images), gives no
    // data and a completion width of 0, so the record stays consistent.
    if (image.isNull() || total > MaxByteArraySize) {
        if (completionWidth)
            *completionWidth = 0;
        *data = QByteArray();
        return;
    }
    if (completionWidth)
        *completionWidth = w;

    // The bytes are all written below: memory that nothing else shares can take them as it is.
    if (data->size() != total || !data->isDetached())
        *data = QByteArray(int(total), Qt::Uninitialized);
    auto *out = reinterpret_cast<uchar *>(data->data());
    const ConversionKernels::PackKernels kernels =
        ConversionKernels::packKernels(ConversionKernels::streamingFor(total));
    RunKernel kernel = nullptr;
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        kernel = kernels.rgbWords;
        break;
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        kernel = kernels.rgbaBytes;
        break;
    case QImage::Format_RGB888:
        kernel = kernels.rgbBytes;
        break;
    case QImage::Format_BGR888:
        kernel = ConversionKernels::bgrBytesCopy;
        break;
    case QImage::Format_Indexed8:
        indexed8Rows(image, out);
        return;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        monoRows(image, out);
        return;
    default:
        convertedRows(image, out);
        return;
    }
    // Rows without padding between them are one run of pixels.
    if (image.bytesPerLine() * 8 == qint64(w) * image.depth()) {
        kernel(image.constBits(), out, qint64(w) * h);
        return;
    }
    for (int y = 0; y < h; ++y)
        kernel(image.constScanLine(y), out + qint64(y) * w * 3, w);
}

QImage PublicBase::osdDataView(const QByteArray &data, int width, int height, int completionWidth)
{
    if (width <= 0 || height <= 0 || completionWidth < width)
        return QImage();
    const qint64 stride = qint64(completionWidth) * 3;
    if (stride > std::numeric_limits<int>::max() ||
        qint64(data.size()) < stride * (height - 1) + qint64(width) * 3)
        return QImage();
    // The image holds a handle on the bytes for as long as it (or a pixmap sharing it) lives.
    auto *holder = new QByteArray(data);
    QImage view(
        reinterpret_cast<const uchar *>(holder->constData()), width, height, int(stride),
        QImage::Format_BGR888, [](void *info) { delete static_cast<QByteArray *>(info); }, holder);
    if (view.isNull())
        delete holder;
    return view;
}

QImage *PublicBase::osdDataToImage(const QByteArray &data, int width, int height, int completionWidth)
{
    if (data.isEmpty())
        return nullptr;
    // No image for sizes a QImage cannot have (instead of a null image or an overflow).
    if (width <= 0 || height <= 0 || qint64(width) * height > MaxByteArraySize / 4)
        return nullptr;
    const qint64 stride = qint64(std::max(completionWidth, 0)) * 3;
    const int shown = std::min(width, std::max(completionWidth, 0));
    const qint64 size = data.size();
    const auto *bytes = reinterpret_cast<const uchar *>(data.constData());

    // Rows whose shown pixels all lie inside the data.
    int wholeRows = 0;
    if (shown > 0 && size >= qint64(shown) * 3)
        wholeRows = int(std::min<qint64>(height, (size - qint64(shown) * 3) / stride + 1));

    QImage *image = nullptr;
    const RunKernel unpack =
        ConversionKernels::unpackKernel(ConversionKernels::streamingFor(qint64(width) * height * 4));
    if (!unpack) {
        image = osdDataToImageByQt(bytes, width, height, stride, shown, wholeRows);
        if (!image || (shown == width && wholeRows == height))
            return image;
    } else {
        image = new QImage(width, height, QImage::Format_RGBA8888);
        if (image->isNull()) {
            delete image;
            return nullptr;
        }
        // Short data or a completion width below the width: everything not taken from the data
        // is opaque black.
        if (shown < width || wholeRows < height)
            image->fill(QColor(0, 0, 0, 255));
        uchar *pixels = image->bits();
        if (shown == width && stride == qint64(width) * 3 && image->bytesPerLine() == qint64(width) * 4) {
            unpack(bytes, pixels, qint64(width) * wholeRows);
        } else {
            for (int y = 0; y < wholeRows; ++y)
                unpack(bytes + y * stride, pixels + y * image->bytesPerLine(), shown);
        }
    }

    if (wholeRows < height && shown > 0) {
        // The row in which the data ends: bytes past the end read as 0.
        const qint64 rowStart = qint64(wholeRows) * stride;
        uchar *dst = image->scanLine(wholeRows);
        for (int x = 0; x < shown; ++x) {
            const qint64 p = rowStart + qint64(x) * 3;
            dst[4 * x] = p + 2 < size ? bytes[p + 2] : 0;
            dst[4 * x + 1] = p + 1 < size ? bytes[p + 1] : 0;
            dst[4 * x + 2] = p < size ? bytes[p] : 0;
        }
    }
    return image;
}

int PublicBase::readBytes(const QByteArray &data, int pos, int count, int *nextPos)
{
    // The next position saturates instead of overflowing.
    if (nextPos)
        *nextPos = int(qBound<qint64>(INT_MIN, qint64(pos) + count, INT_MAX));
    if (count <= 0 || pos < 0 || qint64(pos) + count > data.size())
        return 0;
    // Bytes from the fifth on weigh 256^4 and more and vanish in a 32-bit result.
    const auto *p = reinterpret_cast<const uchar *>(data.constData()) + pos;
    quint32 value = 0;
    for (int k = std::min(count, 4) - 1; k >= 0; --k)
        value = (value << 8) | p[k];
    return int(value);
}
