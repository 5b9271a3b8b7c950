#include "interfaces/device/osdfile.h"

#include "interfaces/device/crc32.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"

#include <QBuffer>
#include <QColor>
#include <QDataStream>
#include <QFont>
#include <QStringList>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <utility>
#include <vector>

const char OsdFile::Magic[8] = {'B', 'L', 'O', 'S', 'D', '\r', '\n', '\x1A'};

namespace {

// Bits of a record's flag byte.
enum RecordFlag : quint8
{
    EnableCutImageFlag = 0x01,
    CanEnableCutFlag = 0x02,
    AvailableFlag = 0x04,
    SelectColorFlag = 0x08,
    HasSourceFlag = 0x10,
    KnownRecordFlags = 0x1F
};

// Bits of a font's flag byte.
enum FontFlag : quint8
{
    UnderlineFlag = 0x01,
    OverlineFlag = 0x02,
    StrikeOutFlag = 0x04,
    FixedPitchFlag = 0x08,
    KerningFlag = 0x10,
    KnownFontFlags = 0x1F
};

// Bytes of a record without its pixel data and its text source, and the least a text source can
// take (all strings empty, no family list).
constexpr int RecordFixedSize = 68;
constexpr int ColorSize = 11;
constexpr int SourceMinSize =
    4 + 4 + 4 + 4 + 4 + 8 + 4 + 1 + 1 + 1 + 2 + 2 + 1 + 1 + 8 + 8 + 1 + 1 + ColorSize;

constexpr quint32 KnownResolveBits = QFont::AllPropertiesResolved;
constexpr quint16 KnownStyleStrategyBits = 0x9FFF;

QString tr(const char *text)
{
    return QString::fromUtf8(text);
}

QString recordError(int index, const QString &what)
{
    return tr("第 %1 条记录：%2").arg(index + 1).arg(what);
}

// ---------------------------------------------------------------------------------------------
// Checks shared by the writer and the reader, so that nothing is written that could not be read.

bool validDimension(qint64 v, bool allowUnset)
{
    return (allowUnset && v == -1) || (v >= 0 && v <= OsdFile::MaxDimension);
}

bool validKeyValue(qint64 v)
{
    return v >= -1 && v <= 255;
}

// The pixel data holds completion-width pixels of 3 bytes for every row; no rows, no data.
qint64 expectedPixelBytes(qint64 height, qint64 completionWidth)
{
    return height > 0 ? height * completionWidth * 3 : 0;
}

// A QColor as Qt itself streams it: spec, alpha and four 16-bit components, kept bit for bit.
struct RawColor
{
    quint8 spec = 0;
    quint16 value[5] = {0xFFFF, 0, 0, 0, 0};
};

RawColor rawColor(const QColor &color)
{
    QByteArray bytes;
    {
        QDataStream s(&bytes, QIODevice::WriteOnly);
        s.setVersion(QDataStream::Qt_5_15);
        s << color;
    }
    RawColor raw;
    QDataStream s(bytes);
    s.setVersion(QDataStream::Qt_5_15);
    qint8 spec = 0;
    s >> spec;
    raw.spec = quint8(spec);
    for (quint16 &v : raw.value)
        s >> v;
    return raw;
}

bool validRawColor(const RawColor &raw)
{
    switch (raw.spec) {
    case QColor::Invalid:
        return raw.value[0] == 0xFFFF && raw.value[1] == 0 && raw.value[2] == 0 && raw.value[3] == 0 &&
               raw.value[4] == 0;
    case QColor::Hsv:
    case QColor::Hsl:
        // The hue is kept in hundredths of a degree; 0xFFFF marks an achromatic colour.
        return raw.value[1] < 36000 || raw.value[1] == 0xFFFF;
    case QColor::Rgb:
    case QColor::Cmyk:
        return true;
    case QColor::ExtendedRgb:
        // Alpha, red, green and blue are half-precision floats; a NaN or an infinity (all exponent
        // bits set) would make the colour unequal to itself and meaningless to the device.
        for (int k = 0; k < 4; ++k) {
            if ((raw.value[k] & 0x7C00) == 0x7C00)
                return false;
        }
        return true;
    default:
        return false;
    }
}

QColor colorFromRaw(const RawColor &raw)
{
    QByteArray bytes;
    {
        QDataStream s(&bytes, QIODevice::WriteOnly);
        s.setVersion(QDataStream::Qt_5_15);
        s << qint8(raw.spec);
        for (quint16 v : raw.value)
            s << v;
    }
    QDataStream s(bytes);
    s.setVersion(QDataStream::Qt_5_15);
    QColor color;
    s >> color;
    return color;
}

// Everything a QFont keeps that makes two fonts compare equal, plus the mask of the attributes
// that were set explicitly.
struct FontFields
{
    quint32 resolveMask = 0;
    QString family;
    QString styleName;
    QStringList families;
    double pointSize = -1;
    qint32 pixelSize = -1;
    quint8 weight = QFont::Normal;
    quint8 style = QFont::StyleNormal;
    quint8 styleHint = QFont::AnyStyle;
    quint16 styleStrategy = QFont::PreferDefault;
    quint16 stretch = 0;
    quint8 capitalization = QFont::MixedCase;
    quint8 letterSpacingType = QFont::PercentageSpacing;
    double letterSpacing = 0;
    double wordSpacing = 0;
    quint8 hintingPreference = QFont::PreferDefaultHinting;
    quint8 flags = 0;
};

FontFields fontFields(const QFont &font)
{
    FontFields f;
    f.resolveMask = font.resolve();
    f.family = font.family();
    f.styleName = font.styleName();
    f.families = font.families();
    f.pointSize = font.pointSizeF();
    f.pixelSize = font.pixelSize();
    f.weight = quint8(qBound(0, font.weight(), 255));
    f.style = quint8(font.style());
    f.styleHint = quint8(font.styleHint());
    f.styleStrategy = quint16(font.styleStrategy());
    f.stretch = quint16(qBound(0, font.stretch(), 65535));
    f.capitalization = quint8(font.capitalization());
    f.letterSpacingType = quint8(font.letterSpacingType());
    f.letterSpacing = font.letterSpacing();
    f.wordSpacing = font.wordSpacing();
    f.hintingPreference = quint8(font.hintingPreference());
    f.flags = (font.underline() ? UnderlineFlag : 0) | (font.overline() ? OverlineFlag : 0) |
              (font.strikeOut() ? StrikeOutFlag : 0) | (font.fixedPitch() ? FixedPitchFlag : 0) |
              (font.kerning() ? KerningFlag : 0);
    return f;
}

// Returns a reason, or an empty string for fields that a QFont can take.
QString fontFieldsProblem(const FontFields &f)
{
    if (f.resolveMask & ~KnownResolveBits)
        return tr("字体设置位无效");
    const bool pointSized = f.pointSize > 0 && std::isfinite(f.pointSize) && f.pointSize <= 1e6;
    const bool pixelSized = f.pixelSize > 0 && f.pixelSize <= 1000000;
    const bool pointUnset = f.pointSize == -1;
    const bool pixelUnset = f.pixelSize == -1;
    if (!((pointSized && pixelUnset) || (pixelSized && pointUnset) || (pointUnset && pixelUnset)))
        return tr("字号无效");
    if (f.weight > 99)
        return tr("字重 %1 无效").arg(f.weight);
    if (f.style > QFont::StyleOblique)
        return tr("字形 %1 无效").arg(f.style);
    if (f.styleHint > QFont::Fantasy)
        return tr("字体类别 %1 无效").arg(f.styleHint);
    if (f.styleStrategy & ~KnownStyleStrategyBits)
        return tr("字体匹配方式无效");
    if (f.stretch > 4000)
        return tr("字体拉伸 %1 无效").arg(f.stretch);
    if (f.capitalization > QFont::Capitalize)
        return tr("大小写方式 %1 无效").arg(f.capitalization);
    if (f.letterSpacingType > QFont::AbsoluteSpacing || !std::isfinite(f.letterSpacing) ||
        std::fabs(f.letterSpacing) > 1e6 || !std::isfinite(f.wordSpacing) || std::fabs(f.wordSpacing) > 1e6)
        return tr("字距无效");
    if (f.hintingPreference > QFont::PreferFullHinting)
        return tr("字体微调方式 %1 无效").arg(f.hintingPreference);
    if (f.flags & ~KnownFontFlags)
        return tr("字体标志位无效");
    return QString();
}

QFont fontFromFields(const FontFields &f)
{
    QFont font;
    font.setFamily(f.family);
    font.setFamilies(f.families);
    font.setStyleName(f.styleName);
    if (f.pixelSize > 0)
        font.setPixelSize(f.pixelSize);
    else if (f.pointSize > 0)
        font.setPointSizeF(f.pointSize);
    font.setWeight(f.weight);
    font.setStyle(QFont::Style(f.style));
    font.setStyleHint(QFont::StyleHint(f.styleHint), QFont::StyleStrategy(f.styleStrategy));
    font.setStretch(f.stretch);
    font.setCapitalization(QFont::Capitalization(f.capitalization));
    font.setLetterSpacing(QFont::SpacingType(f.letterSpacingType), f.letterSpacing);
    font.setWordSpacing(f.wordSpacing);
    font.setHintingPreference(QFont::HintingPreference(f.hintingPreference));
    font.setUnderline(f.flags & UnderlineFlag);
    font.setOverline(f.flags & OverlineFlag);
    font.setStrikeOut(f.flags & StrikeOutFlag);
    font.setKerning(f.flags & KerningFlag);
    // Setting the pitch also stops the font from ignoring it, so only a font that had it set
    // explicitly gets it.
    if (f.resolveMask & QFont::FixedPitchResolved)
        font.setFixedPitch(f.flags & FixedPitchFlag);
    font.resolve(f.resolveMask);
    return font;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(const char *data, qint64 size)
{
    const auto *p = reinterpret_cast<const uchar *>(data);
    const uchar *end = p + size;
    while (p < end) {
        const uchar c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int extra;
        uint lowest;
        uint cp;
        if ((c & 0xE0) == 0xC0) {
            extra = 1;
            lowest = 0x80;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            lowest = 0x800;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            lowest = 0x10000;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (end - p <= extra)
            return false;
        for (int k = 1; k <= extra; ++k) {
            if ((p[k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[k] & 0x3F);
        }
        if (cp < lowest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        p += extra + 1;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Writing

// Every byte of a file goes out through this: small fields are gathered in a buffer, pixel data
// goes to the device in one piece, and the checksum follows both.
class Output
{
public:
    explicit Output(QIODevice *device) : m_device(device) { m_buffer.reserve(BufferSize); }

    bool failed() const { return m_failed; }
    qint64 written() const { return m_written; }

    void u8(quint8 v) { raw(reinterpret_cast<const char *>(&v), 1); }
    void u16(quint16 v)
    {
        char b[2];
        qToLittleEndian(v, b);
        raw(b, 2);
    }
    void u32(quint32 v)
    {
        char b[4];
        qToLittleEndian(v, b);
        raw(b, 4);
    }
    void i32(qint32 v) { u32(quint32(v)); }
    void f64(double v)
    {
        quint64 bits;
        std::memcpy(&bits, &v, sizeof bits);
        char b[8];
        qToLittleEndian(bits, b);
        raw(b, 8);
    }
    void bytes(const QByteArray &b)
    {
        u32(quint32(b.size()));
        raw(b.constData(), b.size());
    }
    void color(const RawColor &c)
    {
        u8(c.spec);
        for (quint16 v : c.value)
            u16(v);
    }
    void raw(const char *data, qint64 size)
    {
        m_written += size;
        if (size >= BufferSize) {
            flush();
            send(data, size);
            return;
        }
        if (m_buffer.size() + size > BufferSize)
            flush();
        m_buffer.append(data, int(size));
    }
    // The checksum of everything written so far.
    quint32 crc()
    {
        flush();
        return m_crc;
    }
    void flush()
    {
        send(m_buffer.constData(), m_buffer.size());
        m_buffer.resize(0);
    }

private:
    static constexpr int BufferSize = 64 * 1024;
    static constexpr qint64 PieceSize = 1024 * 1024;

    // Piece by piece, so that each piece is still in the cache when the device copies it.
    void send(const char *data, qint64 size)
    {
        while (size > 0 && !m_failed) {
            const qint64 piece = qMin<qint64>(size, PieceSize);
            m_crc = OsdFile::crc32(data, piece, m_crc);
            for (qint64 done = 0; done < piece;) {
                const qint64 n = m_device->write(data + done, piece - done);
                if (n <= 0) {
                    m_failed = true;
                    return;
                }
                done += n;
            }
            data += piece;
            size -= piece;
        }
    }

    QIODevice *m_device;
    QByteArray m_buffer;
    quint32 m_crc = 0;
    qint64 m_written = 0;
    bool m_failed = false;
};

qint64 stringSize(const QByteArray &utf8)
{
    return 4 + utf8.size();
}

struct EncodedSource
{
    QByteArray content;
    FontFields font;
    QByteArray family;
    QByteArray styleName;
    QList<QByteArray> families;
    RawColor color;

    qint64 size() const
    {
        qint64 n = SourceMinSize + content.size() + family.size() + styleName.size();
        for (const QByteArray &f : families)
            n += stringSize(f);
        return n;
    }
};

QString recordProblem(const VideoControlOSD *r)
{
    const QSize size = r->size();
    if (!validDimension(size.width(), true) || !validDimension(size.height(), true))
        return tr("尺寸 %1×%2 无效").arg(size.width()).arg(size.height());
    if (!validDimension(r->completionImageWidth(), false))
        return tr("补齐宽度 %1 无效").arg(r->completionImageWidth());
    const qint64 expected = expectedPixelBytes(size.height(), r->completionImageWidth());
    if (r->image().size() != expected)
        return tr("像素数据长度 %1 与尺寸不符（应为 %2）").arg(r->image().size()).arg(expected);
    if (!validKeyValue(r->red()) || !validKeyValue(r->green()) || !validKeyValue(r->blue()))
        return tr("颜色值 (%1,%2,%3) 无效").arg(r->red()).arg(r->green()).arg(r->blue());
    if (!validRawColor(rawColor(r->selectColor())))
        return tr("填充色无效");
    return QString();
}

QString encodeSource(const SourceData *s, EncodedSource *e)
{
    e->content = s->getContent().toUtf8();
    if (e->content.size() > OsdFile::MaxTextSize)
        return tr("文字内容过长（%1 字节，上限 %2 字节）").arg(e->content.size()).arg(OsdFile::MaxTextSize);
    e->font = fontFields(s->getTextFont());
    const QString fontProblem = fontFieldsProblem(e->font);
    if (!fontProblem.isEmpty())
        return fontProblem;
    e->family = e->font.family.toUtf8();
    e->styleName = e->font.styleName.toUtf8();
    for (const QString &f : qAsConst(e->font.families))
        e->families.append(f.toUtf8());
    bool namesFit = e->family.size() <= OsdFile::MaxTextSize && e->styleName.size() <= OsdFile::MaxTextSize;
    for (const QByteArray &f : qAsConst(e->families))
        namesFit = namesFit && f.size() <= OsdFile::MaxTextSize;
    if (!namesFit)
        return tr("字体名称过长（上限 %1 字节）").arg(OsdFile::MaxTextSize);
    e->color = rawColor(s->getTextColor());
    if (!validRawColor(e->color))
        return tr("文字颜色无效");
    return QString();
}

// The record's fields up to and including the length of its pixel data.
void writeRecordFields(Output &w, const VideoControlOSD *r, const EncodedSource *e)
{
    const quint8 flags = (r->IsEnableCutImage() ? EnableCutImageFlag : 0) |
                         (r->IsCanEnableCut() ? CanEnableCutFlag : 0) |
                         (r->IsAvailable() ? AvailableFlag : 0) | (r->IsSelectColor() ? SelectColorFlag : 0) |
                         (e ? HasSourceFlag : 0);
    w.u8(flags);
    w.i32(r->size().width());
    w.i32(r->size().height());
    w.i32(r->completionImageWidth());
    w.i32(r->OSDFileLength());
    w.i32(r->location().x());
    w.i32(r->location().y());
    const QRect cut = r->CutImageSize();
    w.i32(cut.left());
    w.i32(cut.top());
    w.i32(cut.right());
    w.i32(cut.bottom());
    w.i32(r->red());
    w.i32(r->green());
    w.i32(r->blue());
    w.color(rawColor(r->selectColor()));
    w.u32(quint32(r->image().size()));
}

void writeSource(Output &w, const EncodedSource *e)
{
    w.bytes(e->content);
    w.u32(e->font.resolveMask);
    w.bytes(e->family);
    w.bytes(e->styleName);
    w.u32(quint32(e->families.size()));
    for (const QByteArray &f : e->families)
        w.bytes(f);
    w.f64(e->font.pointSize);
    w.i32(e->font.pixelSize);
    w.u8(e->font.weight);
    w.u8(e->font.style);
    w.u8(e->font.styleHint);
    w.u16(e->font.styleStrategy);
    w.u16(e->font.stretch);
    w.u8(e->font.capitalization);
    w.u8(e->font.letterSpacingType);
    w.f64(e->font.letterSpacing);
    w.f64(e->font.wordSpacing);
    w.u8(e->font.hintingPreference);
    w.u8(e->font.flags);
    w.color(e->color);
}

// ---------------------------------------------------------------------------------------------
// Reading

// Every byte of a file comes in through this, at most size bytes in all, through a buffer of fixed
// size; pixel data is read straight into its own array. The checksum follows every byte taken
// before the checksum field.
class Input
{
public:
    Input(QIODevice *device, qint64 size) : m_device(device), m_size(size), m_end(size) {}

    // Bytes left before the end of what is checked: the checksum field once the header has been
    // read, the end of the file before that.
    qint64 remaining() const { return m_end - m_pos; }
    // From now on the last trailerSize bytes are the checksum field.
    void reserveTrailer(qint64 trailerSize) { m_end = m_size - trailerSize; }

    // A read or device failure: the file changed under the reader or could not be read.
    bool failed() const { return !m_failure.isEmpty(); }
    QString failure() const { return m_failure; }
    quint32 crc() const { return m_crc; }

    // Exactly size bytes, or nothing is taken and false comes back.
    bool read(char *data, qint64 size)
    {
        if (size > remaining() || failed())
            return false;
        take(data, size, true);
        return !failed();
    }
    bool u8(quint8 *v) { return read(reinterpret_cast<char *>(v), 1); }
    bool u16(quint16 *v)
    {
        char b[2];
        if (!read(b, 2))
            return false;
        *v = qFromLittleEndian<quint16>(b);
        return true;
    }
    bool u32(quint32 *v)
    {
        char b[4];
        if (!read(b, 4))
            return false;
        *v = qFromLittleEndian<quint32>(b);
        return true;
    }
    bool i32(qint32 *v)
    {
        quint32 u;
        if (!u32(&u))
            return false;
        *v = qint32(u);
        return true;
    }
    bool f64(double *v)
    {
        char b[8];
        if (!read(b, 8))
            return false;
        const quint64 bits = qFromLittleEndian<quint64>(b);
        std::memcpy(v, &bits, sizeof bits);
        return true;
    }
    bool color(RawColor *c)
    {
        if (!u8(&c->spec))
            return false;
        for (quint16 &v : c->value) {
            if (!u16(&v))
                return false;
        }
        return true;
    }

    // Takes everything up to the checksum field into the checksum, a buffer at a time.
    bool skipRest()
    {
        while (remaining() > 0 && !failed()) {
            const int n = int(qMin<qint64>(remaining(), BufferSize));
            if (m_bufferPos == m_buffer.size() && !refill())
                return false;
            const int available = qMin(n, m_buffer.size() - m_bufferPos);
            m_crc = OsdFile::crc32(m_buffer.constData() + m_bufferPos, available, m_crc);
            m_bufferPos += available;
            m_pos += available;
        }
        return !failed();
    }

    // The checksum field, which the checksum does not cover.
    bool trailer(quint32 *v)
    {
        if (m_pos != m_end || m_size - m_pos != 4 || failed())
            return false;
        char b[4];
        take(b, 4, false);
        if (failed())
            return false;
        *v = qFromLittleEndian<quint32>(b);
        return true;
    }

private:
    static constexpr int BufferSize = 64 * 1024;
    static constexpr qint64 PieceSize = 1024 * 1024;

    // Large pieces go from the device straight into data, a piece at a time, and are added to the
    // checksum while they are still in the cache.
    void take(char *data, qint64 size, bool checked)
    {
        m_pos += size;
        const int fromBuffer = int(qMin<qint64>(size, m_buffer.size() - m_bufferPos));
        if (fromBuffer > 0) {
            std::memcpy(data, m_buffer.constData() + m_bufferPos, size_t(fromBuffer));
            if (checked)
                m_crc = OsdFile::crc32(data, fromBuffer, m_crc);
            m_bufferPos += fromBuffer;
            data += fromBuffer;
            size -= fromBuffer;
        }
        while (size >= BufferSize) {
            const qint64 piece = qMin<qint64>(size, PieceSize);
            if (!pull(data, piece))
                return;
            if (checked)
                m_crc = OsdFile::crc32(data, piece, m_crc);
            data += piece;
            size -= piece;
        }
        if (size > 0 && refill()) {
            std::memcpy(data, m_buffer.constData(), size_t(size));
            if (checked)
                m_crc = OsdFile::crc32(data, size, m_crc);
            m_bufferPos = int(size);
        }
    }

    bool refill()
    {
        const int n = int(qMin<qint64>(BufferSize, m_size - m_pulled));
        m_buffer.resize(n);
        m_bufferPos = 0;
        return pull(m_buffer.data(), n);
    }

    // Reads exactly size bytes from the device; never more than the file held when it was opened.
    bool pull(char *data, qint64 size)
    {
        if (size > m_size - m_pulled) {
            m_failure = tr("文件在读取时变短");
            return false;
        }
        while (size > 0) {
            const qint64 n = m_device->read(data, size);
            if (n < 0) {
                m_failure = tr("读取失败（%1）").arg(m_device->errorString());
                return false;
            }
            if (n == 0) {
                m_failure = tr("文件在读取时变短");
                return false;
            }
            data += n;
            size -= n;
            m_pulled += n;
        }
        return true;
    }

    QIODevice *m_device;
    const qint64 m_size;
    qint64 m_end;
    qint64 m_pos = 0;
    qint64 m_pulled = 0;
    QByteArray m_buffer;
    int m_bufferPos = 0;
    quint32 m_crc = 0;
    QString m_failure;
};

enum class TextResult
{
    Ok,
    Truncated,
    TooLong,
    BadUtf8
};

// A length-prefixed string; the length is checked against the limit and the bytes that are left
// before anything is allocated.
TextResult readText(Input &in, QString *text)
{
    quint32 length = 0;
    if (!in.u32(&length))
        return TextResult::Truncated;
    if (length > in.remaining())
        return TextResult::Truncated;
    if (length > OsdFile::MaxTextSize)
        return TextResult::TooLong;
    QByteArray utf8(int(length), Qt::Uninitialized);
    if (!in.read(utf8.data(), length))
        return TextResult::Truncated;
    if (!isValidUtf8(utf8.constData(), length))
        return TextResult::BadUtf8;
    *text = QString::fromUtf8(utf8);
    return TextResult::Ok;
}

QString textProblem(TextResult result, const QString &truncated, const QString &what)
{
    switch (result) {
    case TextResult::Truncated:
        return truncated;
    case TextResult::TooLong:
        return tr("%1过长（上限 %2 字节）").arg(what).arg(OsdFile::MaxTextSize);
    case TextResult::BadUtf8:
        return tr("%1不是有效的UTF-8").arg(what);
    case TextResult::Ok:
        break;
    }
    return QString();
}

// Decodes one text source; returns a reason on failure.
QString readSource(Input &in, std::unique_ptr<SourceData> *out)
{
    const QString truncated = tr("文字数据超出文件末尾");
    QString content;
    QString problem = textProblem(readText(in, &content), truncated, tr("文字内容"));
    if (!problem.isEmpty())
        return problem;

    FontFields f;
    if (!in.u32(&f.resolveMask))
        return truncated;
    for (QString *s : {&f.family, &f.styleName}) {
        problem = textProblem(readText(in, s), truncated, tr("字体名称"));
        if (!problem.isEmpty())
            return problem;
    }
    quint32 familyCount = 0;
    if (!in.u32(&familyCount))
        return truncated;
    // Each name takes at least its 4-byte length.
    if (familyCount > in.remaining() / 4)
        return tr("字体名称个数 %1 与文件大小不符").arg(familyCount);
    for (quint32 k = 0; k < familyCount; ++k) {
        QString name;
        problem = textProblem(readText(in, &name), truncated, tr("字体名称"));
        if (!problem.isEmpty())
            return problem;
        f.families.append(name);
    }
    if (!in.f64(&f.pointSize) || !in.i32(&f.pixelSize) || !in.u8(&f.weight) || !in.u8(&f.style) ||
        !in.u8(&f.styleHint) || !in.u16(&f.styleStrategy) || !in.u16(&f.stretch) ||
        !in.u8(&f.capitalization) || !in.u8(&f.letterSpacingType) || !in.f64(&f.letterSpacing) ||
        !in.f64(&f.wordSpacing) || !in.u8(&f.hintingPreference) || !in.u8(&f.flags))
        return truncated;
    const QString fontProblem = fontFieldsProblem(f);
    if (!fontProblem.isEmpty())
        return fontProblem;

    RawColor color;
    if (!in.color(&color))
        return truncated;
    if (!validRawColor(color))
        return tr("文字颜色无效");

    auto source = std::make_unique<SourceData>();
    source->setContent(content);
    source->setTextFont(fontFromFields(f));
    source->setTextColor(colorFromRaw(color));
    *out = std::move(source);
    return QString();
}

// Decodes one record with its source; returns a reason on failure. Nothing is allocated for the
// pixel data before its length has been checked against the limit and the bytes that are left.
QString readRecord(Input &in, std::unique_ptr<VideoControlOSD> *recordOut,
                   std::unique_ptr<SourceData> *sourceOut)
{
    const QString truncated = tr("数据超出文件末尾");
    quint8 flags = 0;
    qint32 width = 0, height = 0, completionWidth = 0, fileLength = 0, x = 0, y = 0;
    qint32 left = 0, top = 0, right = 0, bottom = 0, red = 0, green = 0, blue = 0;
    RawColor fill;
    if (!in.u8(&flags) || !in.i32(&width) || !in.i32(&height) || !in.i32(&completionWidth) ||
        !in.i32(&fileLength) || !in.i32(&x) || !in.i32(&y) || !in.i32(&left) || !in.i32(&top) ||
        !in.i32(&right) || !in.i32(&bottom) || !in.i32(&red) || !in.i32(&green) || !in.i32(&blue) ||
        !in.color(&fill))
        return truncated;
    if (flags & ~KnownRecordFlags)
        return tr("标志位 0x%1 无效").arg(flags, 2, 16, QLatin1Char('0'));
    if (!validDimension(width, true) || !validDimension(height, true))
        return tr("尺寸 %1×%2 无效").arg(width).arg(height);
    if (!validDimension(completionWidth, false))
        return tr("补齐宽度 %1 无效").arg(completionWidth);
    if (!validKeyValue(red) || !validKeyValue(green) || !validKeyValue(blue))
        return tr("颜色值 (%1,%2,%3) 无效").arg(red).arg(green).arg(blue);
    if (!validRawColor(fill))
        return tr("填充色无效");

    quint32 pixelLength = 0;
    if (!in.u32(&pixelLength))
        return truncated;
    const qint64 expected = expectedPixelBytes(height, completionWidth);
    if (pixelLength != expected)
        return tr("像素数据长度 %1 与尺寸不符（应为 %2）").arg(pixelLength).arg(expected);
    if (pixelLength > in.remaining())
        return tr("像素数据超出文件末尾");
    if (pixelLength > OsdFile::MaxPixelDataSize)
        return tr("像素数据过大（%1 字节，上限 %2 字节）").arg(pixelLength).arg(OsdFile::MaxPixelDataSize);
    QByteArray pixels(int(pixelLength), Qt::Uninitialized);
    if (!in.read(pixels.data(), pixelLength))
        return tr("像素数据超出文件末尾");

    std::unique_ptr<SourceData> source;
    if (flags & HasSourceFlag) {
        const QString problem = readSource(in, &source);
        if (!problem.isEmpty())
            return problem;
    }

    auto record = std::make_unique<VideoControlOSD>();
    record->setImage(pixels);
    record->setSize(QSize(width, height));
    record->setCompletionImageWidth(completionWidth);
    record->setOSDFileLength(fileLength);
    record->setLocation(QPoint(x, y));
    record->setCutImageSize(QRect(QPoint(left, top), QPoint(right, bottom)));
    record->setIsEnableCutImage(flags & EnableCutImageFlag);
    record->setIsCanEnableCut(flags & CanEnableCutFlag);
    record->setIsAvailable(flags & AvailableFlag);
    record->setRed(red);
    record->setGreen(green);
    record->setBlue(blue);
    record->setSelectColor(colorFromRaw(fill));
    record->setIsSelectColor(flags & SelectColorFlag);
    *recordOut = std::move(record);
    *sourceOut = std::move(source);
    return QString();
}

// The records after the header; returns a reason on failure.
QString readRecords(Input &in, qint64 count, OsdFile::Contents *out)
{
    if (count > in.remaining() / RecordFixedSize)
        return tr("记录数 %1 与文件大小不符").arg(count);
    for (qint64 i = 0; i < count; ++i) {
        std::unique_ptr<VideoControlOSD> record;
        std::unique_ptr<SourceData> source;
        const QString problem = readRecord(in, &record, &source);
        if (!problem.isEmpty())
            return recordError(int(i), problem);
        out->append(record.get(), source.get());
        // The contents hold them now.
        record.release();
        source.release();
    }
    if (in.remaining() != 0)
        return tr("记录之后有 %1 字节多余数据").arg(in.remaining());
    return QString();
}

} // namespace

// -------------------------------------------------------------------------------------------------
// Contents

OsdFile::Contents::~Contents()
{
    clear();
}

OsdFile::Contents::Contents(Contents &&other) noexcept
    : m_records(std::move(other.m_records)), m_sources(std::move(other.m_sources))
{
    other.m_records.clear();
    other.m_sources.clear();
}

OsdFile::Contents &OsdFile::Contents::operator=(Contents &&other) noexcept
{
    if (this != &other) {
        clear();
        m_records = std::move(other.m_records);
        m_sources = std::move(other.m_sources);
        other.m_records.clear();
        other.m_sources.clear();
    }
    return *this;
}

void OsdFile::Contents::append(VideoControlOSD *record, SourceData *source)
{
    // Both lists grow or neither does, and references are taken only once both hold the entries.
    m_records.append(record);
    try {
        m_sources.append(source);
    } catch (...) {
        m_records.removeLast();
        throw;
    }
    SharedRecord::retain(record);
    SharedRecord::retain(source);
}

void OsdFile::Contents::clear()
{
    const QList<VideoControlOSD *> records = std::exchange(m_records, {});
    const QList<SourceData *> sources = std::exchange(m_sources, {});
    for (VideoControlOSD *r : records)
        SharedRecord::release(r);
    for (SourceData *s : sources)
        SharedRecord::release(s);
}

// -------------------------------------------------------------------------------------------------
// Writing and reading

bool OsdFile::encode(const QList<VideoControlOSD *> &records, const QList<SourceData *> &sources,
                     QByteArray *out, QString *error)
{
    out->clear();
    QBuffer buffer(out);
    if (writeTo(&buffer, records, sources, MaxInMemorySize, error))
        return true;
    out->clear();
    return false;
}

bool OsdFile::decode(const QByteArray &bytes, Contents *out, QString *error)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readFrom(&buffer, bytes.size(), MaxInMemorySize, out, error);
}

bool OsdFile::readFrom(QIODevice *device, qint64 size, qint64 limit, Contents *out, QString *error)
{
    out->clear();
    auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };

    try {
        if (size <= 0)
            return fail(tr("文件为空"));
        Input in(device, size);
        char header[HeaderSize];
        const qint64 magicSize = qMin<qint64>(size, sizeof Magic);
        if (!in.read(header, magicSize))
            return fail(in.failure());
        if (std::memcmp(header, Magic, size_t(magicSize)) != 0)
            return fail(tr("不是OSD文件（文件标识不符）"));
        if (size < HeaderSize + TrailerSize)
            return fail(tr("文件已截断（只有 %1 字节）").arg(size));
        if (!in.read(header + sizeof Magic, HeaderSize - sizeof Magic))
            return fail(in.failure());
        const quint16 version = qFromLittleEndian<quint16>(header + 8);
        if (version != FormatVersion)
            return fail(tr("文件格式版本 %1 不受支持（支持版本 %2）").arg(version).arg(FormatVersion));
        if (qFromLittleEndian<quint16>(header + 10) != 0)
            return fail(tr("文件头标志位无效"));
        const qint64 declared = qFromLittleEndian<quint32>(header + 12);
        if (declared > limit)
            return fail(tr("文件过大（%1 字节，上限 %2 字节）").arg(declared).arg(limit));
        if (size < declared)
            return fail(tr("文件已截断（应为 %1 字节，实际 %2 字节）").arg(declared).arg(size));
        if (size > declared)
            return fail(tr("文件末尾有多余数据（应为 %1 字节，实际 %2 字节）").arg(declared).arg(size));
        in.reserveTrailer(TrailerSize);

        Contents result;
        const QString problem = readRecords(in, qFromLittleEndian<quint32>(header + 16), &result);
        if (in.failed())
            return fail(in.failure());
        // A damaged file is reported as damaged, whichever field the damage happened to hit first:
        // the checksum decides between a damaged file and one written wrong.
        if (!problem.isEmpty()) {
            result.clear();
            if (!in.skipRest())
                return fail(in.failure());
        }
        quint32 stored = 0;
        if (!in.trailer(&stored))
            return fail(in.failed() ? in.failure() : tr("数据超出文件末尾"));
        if (stored != in.crc())
            return fail(tr("文件已损坏（校验和不符）"));
        if (!problem.isEmpty())
            return fail(problem);
        *out = std::move(result);
        return true;
    } catch (const std::bad_alloc &) {
        out->clear();
        return fail(tr("内存不足，无法读取文件"));
    }
}

qint64 OsdFile::pictureRecordSize(int height, int completionWidth)
{
    return RecordFixedSize + expectedPixelBytes(height, completionWidth);
}

bool OsdFile::encodeRecordFrame(int index, const VideoControlOSD *record, const SourceData *source,
                                QByteArray *fields, QByteArray *sourceBytes, QString *error)
{
    auto fail = [error, index](const QString &reason) {
        if (error)
            *error = recordError(index, reason);
        return false;
    };
    if (!record)
        return fail(tr("记录为空"));
    const QString problem = recordProblem(record);
    if (!problem.isEmpty())
        return fail(problem);
    EncodedSource encoded;
    if (source) {
        const QString sourceProblem = encodeSource(source, &encoded);
        if (!sourceProblem.isEmpty())
            return fail(sourceProblem);
    }
    const EncodedSource *e = source ? &encoded : nullptr;
    fields->clear();
    sourceBytes->clear();
    QBuffer fieldBuffer(fields);
    fieldBuffer.open(QIODevice::WriteOnly);
    Output f(&fieldBuffer);
    writeRecordFields(f, record, e);
    f.flush();
    if (e) {
        QBuffer sourceBuffer(sourceBytes);
        sourceBuffer.open(QIODevice::WriteOnly);
        Output w(&sourceBuffer);
        writeSource(w, e);
        w.flush();
    }
    return true;
}

// -------------------------------------------------------------------------------------------------
// CRC-32: the checksum runs over every byte of a file on both ways, so its speed bounds that of
// large exports and imports.

quint32 OsdFile::crc32(const char *data, qint64 size, quint32 crc)
{
    return Crc32::compute(data, size, crc);
}
