#include "interfaces/osdfile.h"

#include "interfaces/sourcedata.h"
#include "interfaces/videocontrolosd.h"

#include <QColor>
#include <QDataStream>
#include <QFont>
#include <QStringList>
#include <QtEndian>

#include <cmath>
#include <cstring>
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
    case QColor::ExtendedRgb:
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

class Writer
{
public:
    explicit Writer(QByteArray *out) : m_out(out) {}

    void u8(quint8 v) { m_out->append(char(v)); }
    void u16(quint16 v)
    {
        char b[2];
        qToLittleEndian(v, b);
        m_out->append(b, 2);
    }
    void u32(quint32 v)
    {
        char b[4];
        qToLittleEndian(v, b);
        m_out->append(b, 4);
    }
    void i32(qint32 v) { u32(quint32(v)); }
    void f64(double v)
    {
        quint64 bits;
        std::memcpy(&bits, &v, sizeof bits);
        char b[8];
        qToLittleEndian(bits, b);
        m_out->append(b, 8);
    }
    void bytes(const QByteArray &b)
    {
        u32(quint32(b.size()));
        m_out->append(b);
    }
    void color(const RawColor &c)
    {
        u8(c.spec);
        for (quint16 v : c.value)
            u16(v);
    }

private:
    QByteArray *m_out;
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

// ---------------------------------------------------------------------------------------------
// Reading

class Reader
{
public:
    Reader(const QByteArray &bytes, qint64 begin, qint64 end)
        : m_data(bytes.constData()), m_pos(begin), m_end(end)
    {}

    qint64 remaining() const { return m_end - m_pos; }
    qint64 pos() const { return m_pos; }

    bool u8(quint8 *v)
    {
        if (remaining() < 1)
            return false;
        *v = quint8(m_data[m_pos++]);
        return true;
    }
    bool u16(quint16 *v)
    {
        if (remaining() < 2)
            return false;
        *v = qFromLittleEndian<quint16>(m_data + m_pos);
        m_pos += 2;
        return true;
    }
    bool u32(quint32 *v)
    {
        if (remaining() < 4)
            return false;
        *v = qFromLittleEndian<quint32>(m_data + m_pos);
        m_pos += 4;
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
        if (remaining() < 8)
            return false;
        const quint64 bits = qFromLittleEndian<quint64>(m_data + m_pos);
        std::memcpy(v, &bits, sizeof bits);
        m_pos += 8;
        return true;
    }
    bool raw(qint64 length, const char **data)
    {
        if (length > remaining())
            return false;
        *data = m_data + m_pos;
        m_pos += length;
        return true;
    }
    // A length-prefixed block; the length is checked against what is left before anything is
    // allocated.
    bool block(const char **data, quint32 *length)
    {
        if (!u32(length) || *length > remaining())
            return false;
        *data = m_data + m_pos;
        m_pos += *length;
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

private:
    const char *m_data;
    qint64 m_pos;
    qint64 m_end;
};

enum class TextResult
{
    Ok,
    Truncated,
    BadUtf8
};

TextResult readText(Reader &in, QString *text)
{
    const char *data = nullptr;
    quint32 length = 0;
    if (!in.block(&data, &length))
        return TextResult::Truncated;
    if (!isValidUtf8(data, length))
        return TextResult::BadUtf8;
    *text = QString::fromUtf8(data, int(length));
    return TextResult::Ok;
}

// Decodes one text source; returns a reason on failure.
QString readSource(Reader &in, SourceData **out)
{
    const QString truncated = tr("文字数据超出文件末尾");
    QString content;
    switch (readText(in, &content)) {
    case TextResult::Truncated:
        return truncated;
    case TextResult::BadUtf8:
        return tr("文字内容不是有效的UTF-8");
    case TextResult::Ok:
        break;
    }

    FontFields f;
    if (!in.u32(&f.resolveMask))
        return truncated;
    for (QString *s : {&f.family, &f.styleName}) {
        switch (readText(in, s)) {
        case TextResult::Truncated:
            return truncated;
        case TextResult::BadUtf8:
            return tr("字体名称不是有效的UTF-8");
        case TextResult::Ok:
            break;
        }
    }
    quint32 familyCount = 0;
    if (!in.u32(&familyCount))
        return truncated;
    // Each name takes at least its 4-byte length.
    if (familyCount > in.remaining() / 4)
        return tr("字体名称个数 %1 与文件大小不符").arg(familyCount);
    for (quint32 k = 0; k < familyCount; ++k) {
        QString name;
        switch (readText(in, &name)) {
        case TextResult::Truncated:
            return truncated;
        case TextResult::BadUtf8:
            return tr("字体名称不是有效的UTF-8");
        case TextResult::Ok:
            break;
        }
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

    auto *source = new SourceData;
    source->setContent(content);
    source->setTextFont(fontFromFields(f));
    source->setTextColor(colorFromRaw(color));
    *out = source;
    return QString();
}

// Decodes one record with its source; returns a reason on failure. Nothing is allocated for the
// pixel data before its length has been checked against the bytes that are left.
QString readRecord(Reader &in, VideoControlOSD **recordOut, SourceData **sourceOut)
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
    const char *pixels = nullptr;
    if (!in.raw(pixelLength, &pixels))
        return tr("像素数据超出文件末尾");

    SourceData *source = nullptr;
    if (flags & HasSourceFlag) {
        const QString problem = readSource(in, &source);
        if (!problem.isEmpty())
            return problem;
    }

    auto *record = new VideoControlOSD;
    record->setImage(QByteArray(pixels, int(pixelLength)));
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
    *recordOut = record;
    *sourceOut = source;
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
    SharedRecord::retain(record);
    SharedRecord::retain(source);
    m_records.append(record);
    m_sources.append(source);
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
// Encoding

bool OsdFile::encode(const QList<VideoControlOSD *> &records, const QList<SourceData *> &sources,
                     QByteArray *out, QString *error)
{
    out->clear();
    auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (records.size() != sources.size())
        return fail(tr("记录数 %1 与文字数据数 %2 不一致").arg(records.size()).arg(sources.size()));

    // Check everything and add up the exact size first, so the bytes are allocated once.
    std::vector<EncodedSource> encodedSources;
    qint64 total = HeaderSize + TrailerSize;
    for (int i = 0; i < records.size(); ++i) {
        const VideoControlOSD *r = records.at(i);
        if (!r)
            return fail(recordError(i, tr("记录为空")));
        const QString problem = recordProblem(r);
        if (!problem.isEmpty())
            return fail(recordError(i, problem));
        total += RecordFixedSize + r->image().size();
        if (const SourceData *s = sources.at(i)) {
            EncodedSource e;
            e.content = s->getContent().toUtf8();
            e.font = fontFields(s->getTextFont());
            const QString fontProblem = fontFieldsProblem(e.font);
            if (!fontProblem.isEmpty())
                return fail(recordError(i, fontProblem));
            e.family = e.font.family.toUtf8();
            e.styleName = e.font.styleName.toUtf8();
            for (const QString &f : qAsConst(e.font.families))
                e.families.append(f.toUtf8());
            e.color = rawColor(s->getTextColor());
            if (!validRawColor(e.color))
                return fail(recordError(i, tr("文字颜色无效")));
            total += e.size();
            encodedSources.push_back(std::move(e));
        }
        if (total > MaxFileSize)
            return fail(tr("文件过大（超过 %1 字节的上限）").arg(MaxFileSize));
    }

    QByteArray bytes;
    bytes.reserve(int(total));
    Writer w(&bytes);
    bytes.append(Magic, sizeof Magic);
    w.u16(FormatVersion);
    w.u16(0);
    w.u32(quint32(total));
    w.u32(quint32(records.size()));

    size_t sourceIndex = 0;
    for (int i = 0; i < records.size(); ++i) {
        const VideoControlOSD *r = records.at(i);
        const bool hasSource = sources.at(i) != nullptr;
        const quint8 flags = (r->IsEnableCutImage() ? EnableCutImageFlag : 0) |
                             (r->IsCanEnableCut() ? CanEnableCutFlag : 0) |
                             (r->IsAvailable() ? AvailableFlag : 0) |
                             (r->IsSelectColor() ? SelectColorFlag : 0) | (hasSource ? HasSourceFlag : 0);
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
        w.bytes(r->image());
        if (!hasSource)
            continue;

        const EncodedSource &e = encodedSources[sourceIndex++];
        w.bytes(e.content);
        w.u32(e.font.resolveMask);
        w.bytes(e.family);
        w.bytes(e.styleName);
        w.u32(quint32(e.families.size()));
        for (const QByteArray &f : e.families)
            w.bytes(f);
        w.f64(e.font.pointSize);
        w.i32(e.font.pixelSize);
        w.u8(e.font.weight);
        w.u8(e.font.style);
        w.u8(e.font.styleHint);
        w.u16(e.font.styleStrategy);
        w.u16(e.font.stretch);
        w.u8(e.font.capitalization);
        w.u8(e.font.letterSpacingType);
        w.f64(e.font.letterSpacing);
        w.f64(e.font.wordSpacing);
        w.u8(e.font.hintingPreference);
        w.u8(e.font.flags);
        w.color(e.color);
    }
    w.u32(crc32(bytes.constData(), bytes.size()));
    Q_ASSERT(bytes.size() == total);
    *out = std::move(bytes);
    return true;
}

// -------------------------------------------------------------------------------------------------
// Decoding

bool OsdFile::decode(const QByteArray &bytes, Contents *out, QString *error)
{
    out->clear();
    auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    const qint64 size = bytes.size();
    const char *data = bytes.constData();

    if (size == 0)
        return fail(tr("文件为空"));
    if (std::memcmp(data, Magic, size_t(qMin<qint64>(size, sizeof Magic))) != 0)
        return fail(tr("不是OSD文件（文件标识不符）"));
    if (size < HeaderSize + TrailerSize)
        return fail(tr("文件已截断（只有 %1 字节）").arg(size));
    const quint16 version = qFromLittleEndian<quint16>(data + 8);
    if (version != FormatVersion)
        return fail(tr("文件格式版本 %1 不受支持（支持版本 %2）").arg(version).arg(FormatVersion));
    if (qFromLittleEndian<quint16>(data + 10) != 0)
        return fail(tr("文件头标志位无效"));
    const qint64 declared = qFromLittleEndian<quint32>(data + 12);
    if (declared > MaxFileSize)
        return fail(tr("文件过大（%1 字节，上限 %2 字节）").arg(declared).arg(MaxFileSize));
    if (size < declared)
        return fail(tr("文件已截断（应为 %1 字节，实际 %2 字节）").arg(declared).arg(size));
    if (size > declared)
        return fail(tr("文件末尾有多余数据（应为 %1 字节，实际 %2 字节）").arg(declared).arg(size));
    if (qFromLittleEndian<quint32>(data + size - TrailerSize) != crc32(data, size - TrailerSize))
        return fail(tr("文件已损坏（校验和不符）"));

    const qint64 count = qFromLittleEndian<quint32>(data + 16);
    if (count > (size - HeaderSize - TrailerSize) / RecordFixedSize)
        return fail(tr("记录数 %1 与文件大小不符").arg(count));

    Reader in(bytes, HeaderSize, size - TrailerSize);
    Contents result;
    for (qint64 i = 0; i < count; ++i) {
        VideoControlOSD *record = nullptr;
        SourceData *source = nullptr;
        const QString problem = readRecord(in, &record, &source);
        if (!problem.isEmpty())
            return fail(recordError(int(i), problem));
        result.append(record, source);
    }
    if (in.remaining() != 0)
        return fail(tr("记录之后有 %1 字节多余数据").arg(in.remaining()));
    *out = std::move(result);
    return true;
}

// -------------------------------------------------------------------------------------------------
// CRC-32, eight bytes at a time (slicing-by-8).

namespace {
struct CrcTables
{
    quint32 t[8][256];
};

constexpr CrcTables makeCrcTables()
{
    CrcTables c{};
    for (quint32 i = 0; i < 256; ++i) {
        quint32 r = i;
        for (int k = 0; k < 8; ++k)
            r = (r >> 1) ^ (0xEDB88320u & (0u - (r & 1u)));
        c.t[0][i] = r;
    }
    for (int i = 0; i < 256; ++i) {
        for (int s = 1; s < 8; ++s)
            c.t[s][i] = (c.t[s - 1][i] >> 8) ^ c.t[0][c.t[s - 1][i] & 0xFF];
    }
    return c;
}

constexpr CrcTables kCrc = makeCrcTables();
} // namespace

quint32 OsdFile::crc32(const char *data, qint64 size, quint32 crc)
{
    const auto *p = reinterpret_cast<const uchar *>(data);
    crc = ~crc;
    while (size >= 8) {
        const quint32 one = qFromLittleEndian<quint32>(p) ^ crc;
        const quint32 two = qFromLittleEndian<quint32>(p + 4);
        crc = kCrc.t[7][one & 0xFF] ^ kCrc.t[6][(one >> 8) & 0xFF] ^ kCrc.t[5][(one >> 16) & 0xFF] ^
              kCrc.t[4][one >> 24] ^ kCrc.t[3][two & 0xFF] ^ kCrc.t[2][(two >> 8) & 0xFF] ^
              kCrc.t[1][(two >> 16) & 0xFF] ^ kCrc.t[0][two >> 24];
        p += 8;
        size -= 8;
    }
    while (size-- > 0)
        crc = (crc >> 8) ^ kCrc.t[0][(crc ^ *p++) & 0xFF];
    return ~crc;
}
