#include "core/pixels/pictureloader.h"

#include "core/pixels/plainpngdecoder.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLoggingCategory>
#include <QMutex>
#include <QMutexLocker>
#include <QStringList>
#include <QtEndian>

Q_LOGGING_CATEGORY(lcPictures, "brisklane.pictures", QtInfoMsg)

namespace {

// The JPEG decoder makes up the missing or broken part of a damaged file (grey rows) and only warns
// about it; these warnings are collected while a picture is decoded and turn the picture down.
// Pictures may be decoded on several threads at once (the command-line tool does): the handler is
// installed while any picture is being decoded, and a warning goes to the collector of the thread
// that decodes.
class DecoderWarnings
{
public:
    explicit DecoderWarnings(const QString &fileName) : m_fileName(fileName)
    {
        t_current = this;
        const QMutexLocker lock(&s_mutex);
        if (s_active++ == 0)
            s_previous = qInstallMessageHandler(&DecoderWarnings::handle);
    }
    ~DecoderWarnings()
    {
        {
            const QMutexLocker lock(&s_mutex);
            if (--s_active == 0) {
                qInstallMessageHandler(s_previous);
                s_previous = nullptr;
            }
        }
        t_current = nullptr;
    }
    DecoderWarnings(const DecoderWarnings &) = delete;
    DecoderWarnings &operator=(const DecoderWarnings &) = delete;

    const QStringList &damage() const { return m_damage; }

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        DecoderWarnings *self = t_current;
        if (self && type == QtWarningMsg &&
            (message.startsWith(QLatin1String("Corrupt JPEG data")) ||
             message.startsWith(QLatin1String("Premature end of JPEG file")))) {
            self->m_damage.append(message);
            return;
        }
        // libpng's remarks on ancillary chunks (a bad checksum of a text chunk, an unknown
        // colour profile) change nothing in the pixels: diagnostics, with the file they concern.
        if (self && type == QtWarningMsg && message.startsWith(QLatin1String("libpng warning:"))) {
            qCDebug(lcPictures).noquote() << self->m_fileName << message;
            return;
        }
        QtMessageHandler previous = nullptr;
        {
            const QMutexLocker lock(&s_mutex);
            previous = s_previous;
        }
        if (previous)
            previous(type, context, message);
    }

    static thread_local DecoderWarnings *t_current;
    static QMutex s_mutex;
    static int s_active;
    static QtMessageHandler s_previous;
    QString m_fileName;
    QStringList m_damage;
};

thread_local DecoderWarnings *DecoderWarnings::t_current = nullptr;
QMutex DecoderWarnings::s_mutex;
int DecoderWarnings::s_active = 0;
QtMessageHandler DecoderWarnings::s_previous = nullptr;

// Qt reads a BMP whose pixel rows stop early without complaint and leaves the missing rows
// undefined. The header says how far the pixel data reach; the file must be that long.
bool bmpIsCutShort(QIODevice *device, qint64 fileSize)
{
    // File header (14 bytes), then the info header up to its image size field.
    const qint64 at = device->pos();
    device->seek(0);
    const QByteArray h = device->read(38);
    device->seek(at);
    if (h.size() < 26 || !h.startsWith("BM"))
        return false;
    const auto *p = reinterpret_cast<const uchar *>(h.constData());
    const qint64 dataOffset = qFromLittleEndian<quint32>(p + 10);
    const quint32 infoSize = qFromLittleEndian<quint32>(p + 14);
    qint64 width = 0, height = 0, bitsPerPixel = 0, compression = 0, dataSize = 0;
    if (infoSize == 12) {
        // OS/2 header: 16-bit sizes, never compressed.
        width = qFromLittleEndian<quint16>(p + 18);
        height = qFromLittleEndian<quint16>(p + 20);
        bitsPerPixel = qFromLittleEndian<quint16>(p + 24);
    } else if (infoSize >= 40 && h.size() == 38) {
        width = qFromLittleEndian<qint32>(p + 18);
        height = qAbs(qint64(qFromLittleEndian<qint32>(p + 22)));
        bitsPerPixel = qFromLittleEndian<quint16>(p + 28);
        compression = qFromLittleEndian<quint32>(p + 30);
        dataSize = qFromLittleEndian<quint32>(p + 34);
    } else {
        return false;
    }
    // Uncompressed rows (plain, or with bit-field masks) are padded to four bytes; for compressed
    // data the header's own byte count is all there is to go by.
    const bool uncompressed = compression == 0 || compression == 3 || compression == 6;
    const qint64 needed = uncompressed ? (width * bitsPerPixel + 31) / 32 * 4 * height : dataSize;
    return width > 0 && dataOffset + needed > fileSize;
}

// A plain PNG file decoded on the quicker road, or a null image to leave the file to Qt's reader.
QImage plainPng(QIODevice *device, const QByteArray *bytes, qint64 width, qint64 height)
{
    // More than the pixels' own bytes and a generous margin is not a plain file: not read whole.
    if (device->size() > width * height * 4 + (qint64(1) << 20))
        return QImage();
    const qint64 at = device->pos();
    QByteArray read;
    if (!bytes) {
        device->seek(0);
        read = device->readAll();
        device->seek(at);
    }
    const QImage image = PlainPngDecoder::decode(bytes ? *bytes : read);
    return image.size() == QSize(int(width), int(height)) ? image : QImage();
}

// The checks and the decoding of load() and decode() on a picture's bytes: a file (whose name gives
// the reader a hint at the format, as before) or bytes in memory (when bytes is set).
QImage decodeDevice(QIODevice *device, const QByteArray *bytes, const QString &name, QString *reason)
{
    auto fail = [reason](const QString &why) {
        if (reason)
            *reason = why;
        return QImage();
    };

    // The decoder's complaints count from the first look at the header.
    DecoderWarnings warnings(name);
    QImageReader reader(device);
    if (!reader.canRead())
        return fail(PictureLoader::tr("无法识别的图片格式（%1）").arg(reader.errorString()));

    // The header's size, before a single pixel is decoded. Qt states the height of a top-down BMP
    // as a negative number.
    const QSize stated = reader.size();
    const qint64 width = qAbs(qint64(stated.width()));
    const qint64 height = qAbs(qint64(stated.height()));
    if (stated == QSize(-1, -1) || width == 0 || height == 0)
        return fail(
            PictureLoader::tr("图片数据已损坏或不完整（读不出图片尺寸：%1）").arg(reader.errorString()));
    if (width > PictureLoader::MaxSide || height > PictureLoader::MaxSide ||
        width * height > PictureLoader::MaxPixels)
        return fail(PictureLoader::tr("图片尺寸 %1×%2 超过上限（宽、高各不超过 %3 像素，共不超过 %4 像素）")
                        .arg(width)
                        .arg(height)
                        .arg(PictureLoader::MaxSide)
                        .arg(PictureLoader::MaxPixels));

    if (reader.format() == "bmp" && bmpIsCutShort(device, device->size()))
        return fail(PictureLoader::tr("图片数据已损坏或不完整（文件比图片数据短）"));

    QImage image;
    if (reader.format() == "png")
        image = plainPng(device, bytes, width, height);
    if (image.isNull())
        image = reader.read();
    if (image.isNull())
        return fail(PictureLoader::tr("图片数据已损坏或不完整（%1）").arg(reader.errorString()));
    if (!warnings.damage().isEmpty())
        return fail(PictureLoader::tr("图片数据已损坏或不完整（%1）").arg(warnings.damage().first()));
    // A decoder that reported one size and delivered another is not trusted either.
    if (image.size() != QSize(int(width), int(height)))
        return fail(PictureLoader::tr("图片数据已损坏或不完整（尺寸不符）"));
    return image;
}

} // namespace

QSize PictureLoader::statedSize(const QString &fileName)
{
    // A pipe would keep the reader waiting for a header that may never come.
    if (!QFileInfo(fileName).isFile())
        return QSize();
    // Complaints about a damaged file are kept quiet here; load() reports them.
    DecoderWarnings warnings(fileName);
    QImageReader reader(fileName);
    if (!reader.canRead())
        return QSize();
    const QSize stated = reader.size();
    const QSize size(qAbs(stated.width()), qAbs(stated.height()));
    if (stated == QSize(-1, -1) || size.isEmpty())
        return QSize();
    return size;
}

QImage PictureLoader::load(const QString &fileName, QString *reason, QByteArray *original)
{
    auto fail = [reason](const QString &why) {
        if (reason)
            *reason = why;
        return QImage();
    };

    const QFileInfo info(fileName);
    if (!info.exists())
        return fail(tr("文件不存在"));
    if (!info.isFile())
        return fail(tr("不是普通文件"));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return fail(tr("无法打开文件（%1）").arg(file.errorString()));
    if (file.size() > MaxFileSize)
        return fail(tr("文件过大（%1 字节，上限 %2 字节）").arg(file.size()).arg(MaxFileSize));
    if (!original)
        return decodeDevice(&file, nullptr, fileName, reason);

    // The bytes are kept as they are: read whole, then decoded from memory on the same road. A file
    // that is no picture at all is turned down before it is read whole.
    {
        const QImageReader header(&file);
        if (!header.canRead())
            return fail(tr("无法识别的图片格式（%1）").arg(header.errorString()));
    }
    file.seek(0);
    QByteArray bytes = file.readAll();
    if (bytes.size() != file.size())
        return fail(tr("无法读取文件（%1）").arg(file.errorString()));
    QImage image = decode(bytes, reason, fileName);
    if (!image.isNull())
        *original = std::move(bytes);
    return image;
}

QImage PictureLoader::decode(const QByteArray &bytes, QString *reason, const QString &name)
{
    if (bytes.size() > MaxFileSize) {
        if (reason)
            *reason = tr("文件过大（%1 字节，上限 %2 字节）").arg(bytes.size()).arg(MaxFileSize);
        return QImage();
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return decodeDevice(&buffer, &bytes, name, reason);
}
